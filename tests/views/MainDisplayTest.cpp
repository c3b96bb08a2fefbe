#include "views/MainDisplay.h"
#include "core/AppError.h"

#include <gtest/gtest.h>

#include <limits>

// The totals are given as summed (the summing is tested with the day totals); DayTotals lists pay, open,
// bought, bought for tomorrow, bought the day before, bet lines.

TEST(MainDisplay, NoMeetingsShowsNoScheduleAndZeroes) {
    const MainDisplay d = buildMainDisplay(std::nullopt, QStringLiteral("20261207"), 123456);
    EXPECT_FALSE(d.hasMeetings);
    EXPECT_EQ(d.date, QStringLiteral("投票要綱なし"));
    EXPECT_EQ(d.status, QString());
    EXPECT_EQ(d.bets, QStringLiteral("0"));
    EXPECT_EQ(d.payouts, QStringLiteral("0"));
    EXPECT_EQ(d.profit, QStringLiteral("0"));
    EXPECT_EQ(d.recovery, QStringLiteral("0.0"));
    EXPECT_EQ(d.balance, QStringLiteral("0")); // not the account balance
}

TEST(MainDisplay, MeetingsWithoutBets) {
    const MainDisplay d = buildMainDisplay(DayTotals{}, QStringLiteral("20040516"), 50000);
    EXPECT_TRUE(d.hasMeetings);
    EXPECT_EQ(d.date, QStringLiteral("2004年5月16日(日)"));
    EXPECT_EQ(d.status, QStringLiteral("本日は未投票です"));
    EXPECT_EQ(d.profit, QStringLiteral("0"));
    EXPECT_EQ(d.recovery, QStringLiteral("0.0"));
    EXPECT_EQ(d.balance, QStringLiteral("50000"));
    EXPECT_EQ(d.tooltip, QString());
}

TEST(MainDisplay, FiguresOfTheWorkedExample) {
    // Paid 3000, bought 2000 today and 1000 the day before, nothing for tomorrow.
    const MainDisplay d = buildMainDisplay(DayTotals{3000, 0, 2000, 0, 1000}, QStringLiteral("20261207"), 10000);
    EXPECT_EQ(d.bets, QStringLiteral("2000"));
    EXPECT_EQ(d.payouts, QStringLiteral("3000"));
    EXPECT_EQ(d.profit, QStringLiteral("0"));
    EXPECT_EQ(d.recovery, QStringLiteral("150.0"));
    EXPECT_EQ(d.balance, QStringLiteral("11000"));
    EXPECT_EQ(d.amtBuy, 2000);
    EXPECT_EQ(d.amtBuyYesterday, 1000);
    EXPECT_EQ(d.tooltip, QStringLiteral("前売にて 1000円 投票済み"));
}

TEST(MainDisplay, ProfitSignsAndRecoveryRounding) {
    struct Case {
        DayTotals a;
        const char16_t* profit;
        const char16_t* recovery;
    } cases[] = {
        {{1001, 0, 1000, 0, 0}, u"+1", u"100.1"},  {{0, 500, 500, 0, 0}, u"-500", u"0.0"},
        {{100, 0, 300, 0, 0}, u"-200", u"33.3"},   {{200, 0, 300, 0, 0}, u"-100", u"66.7"},
        {{1, 0, 2000, 0, 0}, u"-1999", u"0.1"},    // 0.05 rounds up
        {{0, 0, 0, 700, 0}, u"0", u"0.0"},         // advance bets are not today's purchases
        {{5000, 0, 0, 0, 2000}, u"+3000", u"0.0"}, // recovery only against the day's own purchases
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "profit " << QString::fromUtf16(c.profit).toStdString() << ", recovery "
                                        << QString::fromUtf16(c.recovery).toStdString());
        const MainDisplay d = buildMainDisplay(c.a, QStringLiteral("20261207"), 0);
        EXPECT_EQ(d.profit, QString::fromUtf16(c.profit));
        EXPECT_EQ(d.recovery, QString::fromUtf16(c.recovery));
    }
}

TEST(MainDisplay, TooltipCases) {
    EXPECT_EQ(buildMainDisplay(DayTotals{0, 0, 1200, 800, 0}, QStringLiteral("20261207"), 0).tooltip,
              QStringLiteral("当日：1200円 前日：800円"));
    // Both apply: only the advance-bet text remains.
    EXPECT_EQ(buildMainDisplay(DayTotals{0, 0, 1200, 800, 300}, QStringLiteral("20261207"), 0).tooltip,
              QStringLiteral("前売にて 300円 投票済み"));
    const MainDisplay d = buildMainDisplay(DayTotals{0, 0, 1200, 800, 0}, QStringLiteral("20261207"), 5000);
    EXPECT_EQ(d.bets, QStringLiteral("2000"));
    EXPECT_EQ(d.balance, QStringLiteral("3000"));
}

TEST(MainDisplay, SumsThatDoNotFitRaiseOverflow) {
    const qint32 max = std::numeric_limits<qint32>::max();
    EXPECT_THROW(buildMainDisplay(DayTotals{max, 0, 1, 0, 0}, QStringLiteral("20261207"), 10), AppError);
}

TEST(MainDisplay, MinimizedTitle) {
    EXPECT_EQ(minimizedTitle(QStringLiteral("12345")), QStringLiteral("残高 12345円"));
}
