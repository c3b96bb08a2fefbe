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
QString InCells(QStringView text) {
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
        AccountFiles::AccountFile a = AccountFiles::AllOnSale(5);
        a.Date = kDate;
        AccountFiles::SaveAccountFile(dir.Path(), QLatin1Char('A'), a);

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
        OddsFiles::WriteZo(dir.Path(), QStringLiteral("58B"), z);
        OddsFiles::WriteUo(dir.Path(), QStringLiteral("58B"), u);
        OddsFiles::WriteYo(dir.Path(), QStringLiteral("58B"), y);

        ResultFiles::ResultFile r;
        r.RaceNum = 1;
        r.Payouts[0] = {{3, 0, 0, 350}};
        ResultFiles::SaveResultFile(dir.Path(), r);
        r.RaceNum = 2;
        r.Payouts[0] = {{3, 0, 0, 200}};
        r.RefundHorses = {9};
        ResultFiles::SaveResultFile(dir.Path(), r);

        using namespace LogFiles;
        DayLog log;
        for (const Ticket& t : {SingleBet(Win, 0, 0, 5), SingleBet(Place, 0, 0, 5), SingleBet(BracketQuinella, 0, 1, 2),
                                SingleBet(Quinella, 0, 1, 2), SingleBet(Wide, 0, 1, 2), SingleBet(Exacta, 0, 3, 1),
                                SingleBet(Trio, 1, 2, 3), SingleBet(Win, 0, 0, 15)}) {
            log.Tickets << At(t, 5, 11);
        }
        for (const Ticket& t : {SingleBet(Win, 0, 0, 3), SingleBet(Win, 0, 0, 4), SingleBet(Quinella, 0, 1, 2, 5)}) {
            log.Tickets << At(t, 5, 1);
        }
        log.Tickets << At(SingleBet(Win, 0, 0, 3), 5, 2) << At(SingleBet(Win, 0, 0, 9), 5, 2);
        SaveDayLog(dir.Path(), QStringLiteral("LG001"), log);
        SaveIndex(dir.Path(), {{QStringLiteral("LG001"), kDate}});
        pat.setPathName(dir.Path());
        ASSERT_TRUE(pat.Initialize());
    }

    std::optional<RaceDetail> Detail(int race) {
        pat.GetOdds(1, static_cast<qint16>(race));
        return BuildRaceDetail(*pat.objKaisai(1)->objRace(race), pat.objFactory());
    }
    QStringList Lines(int race) {
        const std::optional<RaceDetail> d = Detail(race);
        EXPECT_TRUE(d && !d->Text.endsWith(QLatin1Char('\n')));
        return d ? d->Text.split(QStringLiteral("\r\n")) : QStringList();
    }

    TempFolder dir;
    SaleDayReader pat;
};
} // namespace

// Every bet type's line, the odds or outcome column and the totals, race by race. Stakes and totals stand
// in cells 17 to 24 whatever the labels are made of.
TEST_F(RaceDetailTest, LinesOddsOutcomesAndTotals) {
    const QStringList live = Lines(11);
    const QStringList settled = Lines(1);
    const QStringList allSettled = Lines(2);
    EXPECT_EQ(Detail(11)->Caption, QStringLiteral(" 東京 11R"));
    EXPECT_FALSE(Detail(3).has_value()); // no bet: no window
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
                EXPECT_TRUE(QRegularExpression(QStringLiteral("^ *-?\\d+$")).match(InCells(line).mid(16, 8)).hasMatch())
                    << line.toStdString();
            }
        }
    }
}
