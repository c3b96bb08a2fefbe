#include "views/RaceResults.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/OddsFiles.h"
#include "clientfiles/ResultFiles.h"
#include "control/DayController.h"
#include "patdata/Meeting.h"
#include "patdata/SaleDayReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
QString finisher(const FinisherRow& f) {
    const auto colour = [](const OptionalRgb& c) { return c ? Rgb::hex(*c) : QStringLiteral("-"); };
    return QStringList{f.chaku, f.uma, f.waku, colour(f.wakuFore), colour(f.wakuBack)}.join(QLatin1Char(' '));
}
} // namespace

// Race 1 has no odds file, so its brackets come from the result file; race 2 has ten runners on its odds
// file, whose brackets (7: horses 7-8, 8: horses 9-10) come first. Race 2 also has a dead heat for first,
// a refunded horse, a dirt going and an empty fifth slot.
TEST(RaceResults, FinishersBracketColoursAndPayoutRows) {
    TempFolder dir;
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = QStringLiteral("20260405");
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
    ResultFiles::ResultFile r;
    r.raceNum = 1;
    r.raceName1 = QStringLiteral("春風賞");
    r.raceName2 = QStringLiteral("３歳");
    for (int i = 0; i < 5; ++i) {
        r.finishers[size_t(i)] = {i + 1, i + 1, QStringLiteral("ウマ"), QStringLiteral("1"), i + 1};
    }
    r.payouts[0] = {{1, 0, 0, 150}};
    ResultFiles::saveResultFile(dir.path(), r);
    r.raceNum = 2;
    r.turf.clear();
    r.dirt = QStringLiteral("稍重");
    r.finishers = {{{1, 10, QStringLiteral("ジュウ"), QStringLiteral("2:01.5"), 3},
                    {1, 6, QStringLiteral("ロク"), QStringLiteral("同着"), 6},
                    {3, 7, QStringLiteral("ナナ"), QStringLiteral("1/2"), 0},
                    {4, 12, QStringLiteral("ジュウニ"), QStringLiteral("ハナ"), 9},
                    {}}};
    r.payouts = {};
    r.payouts[0] = {{10, 0, 0, 480}, {6, 0, 0, 300}};
    r.payouts[3] = {{6, 10, 0, 1500}};
    r.refundHorses = {5};
    ResultFiles::saveResultFile(dir.path(), r);
    OddsFiles::ZoFile z;
    z.header.date = a.date;
    z.header.raceNum = 2;
    z.header.tosu = 10;
    for (int n = 1; n <= 10; ++n) {
        z.runners[n] = {QStringLiteral("9.9"), QStringLiteral("1.1"), QStringLiteral("2.2")};
    }
    OddsFiles::writeZo(dir.path(), QStringLiteral("582"), z);

    SaleDayReader pat = SaleDayReader::read(dir.path()); // false: the day has no bet log
    const auto results = [&](int race) {
        pat.readRaceOdds(1, static_cast<qint16>(race));
        return buildRaceResults(*pat.meeting(1)->race(race), pat.raceOdds(), DayController::standardWakuColors());
    };
    const std::optional<RaceResults> one = results(1);
    const std::optional<RaceResults> two = results(2);
    ASSERT_TRUE(one && two);
    EXPECT_FALSE(results(3).has_value()); // no result: no window

    EXPECT_EQ(one->caption, QStringLiteral(" 東京 1R 春風賞 ３歳"));
    EXPECT_EQ(one->info, QStringLiteral("晴  良"));
    EXPECT_EQ(two->info, QStringLiteral("晴  稍重"));
    QStringList finishers;
    for (const auto* race : {&*one, &*two}) {
        for (const FinisherRow& f : race->finishers) {
            finishers << finisher(f);
        }
    }
    // The brackets' colours (white, black, red, blue, yellow, green, orange, pink) faded halfway to white.
    const auto faded = [](Rgb::Value colour) { return Rgb::hex((colour >> 1 & 0x7F7F7F) + 0x808080); };
    EXPECT_EQ(finishers, (QStringList{
                             "1 1 1 #000000 " + faded(0xFFFFFF), "2 2 2 #FFFFFF " + faded(0x000000),
                             "3 3 3 #000000 " + faded(0xFF0000), "4 4 4 #FFFFFF " + faded(0x0000FF),
                             "5 5 5 #000000 " + faded(0xFFFF00),
                             "1 10 8 #000000 " + faded(0xFF00FF), // the odds file's bracket, not the result file's 3
                             "1 6 6 #000000 " + faded(0x00FF00),
                             "3 7 7 #000000 " + faded(0xFF8000), // bracket left blank in the result file
                             "4 12 9 - -",                       // beyond the field and the eight colours
                             "   - -",                           // no finisher: empty
                         }));

    // The refunded horse adds no row; each bet type is named on its first row only and has a colour of its own.
    QStringList rows;
    for (const PayoutRow& p : two->rows) {
        rows << p.label + QLatin1Char('|') + p.text;
    }
    ASSERT_EQ(rows, (QStringList{"単勝|      10     480", "|       6     300", "馬連|    6-10    1500"}));
    EXPECT_EQ(two->rows[0].back, two->rows[1].back);
    EXPECT_NE(two->rows[0].back, two->rows[2].back);
    EXPECT_EQ(two->henkanUma, QStringLiteral(" 5"));
}
