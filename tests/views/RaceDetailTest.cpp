#include "views/RaceDetail.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/OddsFiles.h"
#include "clientfiles/ResultFiles.h"
#include "patdata/Meeting.h"
#include "patdata/SaleDayReader.h"
#include "support/TestSupport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {
const QString kDate = QStringLiteral("20260405");

// The line in half-width cells: a full-width character becomes two cells.
QString inCells(QStringView text) {
    QString cells;
    for (const QChar c : text) {
        const bool full = c.unicode() >= 0x1100 && !(c.unicode() >= 0xFF61 && c.unicode() <= 0xFF9F);
        cells += full ? QStringLiteral("##") : QString(c);
    }
    return cells;
}

// Race 11 is open, with win/place/bracket, quinella/wide and trio odds but no exacta file. Race 1 is run
// (win 3 pays 350; no quinella payout declared yet), race 2 too (win 3 pays 200, horse 9 refunded); race 3
// has no bet.
class RaceDetailTest : public ::testing::Test {
protected:
    void SetUp() override {
        AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
        a.date = kDate;
        AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);

        OddsFiles::Header h;
        h.date = kDate;
        h.raceNum = 11;
        h.tosu = 10;
        OddsFiles::ZoFile z;
        z.header = h;
        for (int n = 1; n <= 10; ++n) {
            z.runners[n] = {QStringLiteral("%1.0").arg(n), QStringLiteral("1.1"), QStringLiteral("2.2")};
        }
        z.brackets[{1, 2}] = QStringLiteral("12.0");
        OddsFiles::UoFile u;
        u.header = h;
        u.pairs[{1, 2}] = {QStringLiteral("5.0"), QStringLiteral("1.5"), QStringLiteral("2.5")};
        OddsFiles::YoFile y;
        y.header = h;
        y.trio[{1, 2, 3}] = QStringLiteral("321.0");
        OddsFiles::writeZo(dir.path(), QStringLiteral("58B"), z);
        OddsFiles::writeUo(dir.path(), QStringLiteral("58B"), u);
        OddsFiles::writeYo(dir.path(), QStringLiteral("58B"), y);

        ResultFiles::ResultFile r;
        r.raceNum = 1;
        r.payouts[0] = {{3, 0, 0, 350}};
        ResultFiles::saveResultFile(dir.path(), r);
        r.raceNum = 2;
        r.payouts[0] = {{3, 0, 0, 200}};
        r.refundHorses = {9};
        ResultFiles::saveResultFile(dir.path(), r);

        using namespace LogFiles;
        DayLog log;
        for (const Ticket& t : {singleBet(Win, 0, 0, 5), singleBet(Place, 0, 0, 5), singleBet(BracketQuinella, 0, 1, 2),
                                singleBet(Quinella, 0, 1, 2), singleBet(Wide, 0, 1, 2), singleBet(Exacta, 0, 3, 1),
                                singleBet(Trio, 1, 2, 3), singleBet(Win, 0, 0, 15)}) {
            log.tickets << at(t, 5, 11);
        }
        for (const Ticket& t : {singleBet(Win, 0, 0, 3), singleBet(Win, 0, 0, 4), singleBet(Quinella, 0, 1, 2, 5)}) {
            log.tickets << at(t, 5, 1);
        }
        log.tickets << at(singleBet(Win, 0, 0, 3), 5, 2) << at(singleBet(Win, 0, 0, 9), 5, 2);
        saveDayLog(dir.path(), QStringLiteral("LG001"), log);
        saveIndex(dir.path(), {{QStringLiteral("LG001"), kDate}});
        pat.emplace(SaleDayReader::read(dir.path()));
        ASSERT_NE(pat->betLog(), nullptr);
    }

    std::optional<RaceDetail> detail(int race) {
        pat->readRaceOdds(1, static_cast<qint16>(race));
        return buildRaceDetail(*pat->meeting(1)->race(race), pat->raceOdds());
    }
    QStringList lines(int race) {
        const std::optional<RaceDetail> d = detail(race);
        EXPECT_TRUE(d && !d->text.endsWith(QLatin1Char('\n')));
        return d ? d->text.split(QStringLiteral("\r\n")) : QStringList();
    }

    TempFolder dir;
    std::optional<SaleDayReader> pat;
};
} // namespace

// Every bet type's line, the odds or outcome column and the totals, race by race. Stakes and totals stand
// in cells 17 to 24 whatever the labels are made of.
TEST_F(RaceDetailTest, LinesOddsOutcomesAndTotals) {
    const QStringList live = lines(11);
    const QStringList settled = lines(1);
    const QStringList allSettled = lines(2);
    EXPECT_EQ(detail(11)->caption, QStringLiteral(" 東京 11R"));
    EXPECT_FALSE(detail(3).has_value()); // no bet: no window
    const QStringList expected[] = {
        {u" 単勝　        5     100    5.0"_s, u" 単勝　       15     100       "_s, // beyond the ten runners
         u" 複勝　        5     100    1.1"_s, u" 枠連　     1- 2     100   12.0"_s,
         u" 馬連　     1- 2     100    5.0"_s, u" ワイド     1- 2     100    1.5"_s,
         u" 馬単　     3> 1     100       "_s, // no exacta file
         u" ３連複  1- 2- 3     100  321.0"_s, u" -----------------------"_s, u"           投票      800"_s,
         u"         未確定(     800)"_s, u"           払戻        0"_s, u"           損益        0"_s},
        // Win 3 hit, win 4 missed, quinella 1-2 still open.
        {u" 単勝　        3     100 ○"_s, u" 単勝　        4     100 ×"_s, u" 馬連　     1- 2     500       "_s,
         u" -----------------------"_s, u"           投票      700"_s, u"         未確定(     500)"_s,
         u"           払戻      350"_s,
         u"           損益      150"_s}, // 350 − 700 + 500: the open stake is no loss yet
        // Nothing open: no open-stake line.
        {u" 単勝　        3     100 ○"_s, u" 単勝　        9     100 返"_s, u" -----------------------"_s,
         u"           投票      200"_s, u"           払戻      300"_s, u"           損益      100"_s},
    };
    const QStringList* actual[] = {&live, &settled, &allSettled};
    for (int race = 0; race < 3; ++race) {
        EXPECT_EQ(*actual[race], expected[race]) << race;
        for (const QString& line : *actual[race]) {
            if (!line.startsWith(QStringLiteral(" -"))) {
                EXPECT_TRUE(QRegularExpression(QStringLiteral("^ *-?\\d+$")).match(inCells(line).mid(16, 8)).hasMatch())
                    << line.toStdString();
            }
        }
    }
}
