#include "patdata/DayTotals.h"
#include "core/AppError.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
struct Amounts {
    qint32 pay = 0, yet = 0, buy = 0, tomorrow = 0, yesterday = 0;
};

// Meetings whose races carry the given amounts (the evaluation is tested with the race model).
std::vector<std::unique_ptr<Meeting>> day(const std::vector<std::vector<Amounts>>& meetings) {
    std::vector<std::unique_ptr<Meeting>> day;
    for (size_t m = 0; m < meetings.size(); ++m) {
        auto meeting = std::make_unique<Meeting>();
        meeting->setKaisaiNum(static_cast<qint16>(5 + m));
        for (size_t i = 0; i < meetings[m].size(); ++i) {
            const Amounts& a = meetings[m][i];
            auto race = std::make_unique<Race>();
            race->setRaceNum(static_cast<qint16>(i + 1));
            race->setAmtPay(a.pay);
            race->setAmtYet(a.yet);
            race->setAmtBuy(a.buy);
            race->setAmtTomorrow(a.tomorrow);
            race->setAmtYesterday(a.yesterday);
            meeting->addRace(std::move(race));
        }
        day.push_back(std::move(meeting));
    }
    return day;
}
} // namespace

TEST(DayTotals, OnlyADayWithMeetingsHasTotals) {
    EXPECT_FALSE(sumDayTotals({}).has_value());
    const std::optional<DayTotals> t = sumDayTotals(day({{{}, {}}, {}}));
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->amtPay, 0);
    EXPECT_EQ(t->amtBuy, 0);
    EXPECT_EQ(t->logCount, 0);
}

TEST(DayTotals, EveryRaceOfEveryMeetingCounts) {
    // Each amount of its own size, so a race or an amount taken twice, dropped or crossed shows.
    const std::optional<DayTotals> t =
        sumDayTotals(day({{{3000, 0, 1500, 0, 1000}, {0, 40, 500, 7, 0}}, {{200, 300, 20, 60, 4000}}}));
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->amtPay, 3200);
    EXPECT_EQ(t->amtYet, 340);
    EXPECT_EQ(t->amtBuy, 2020);
    EXPECT_EQ(t->amtBuyTomorrow, 67);
    EXPECT_EQ(t->amtBuyYesterday, 5000);
}

TEST(DayTotals, ASumThatDoesNotFitRaisesOverflow) {
    const qint32 max = std::numeric_limits<qint32>::max();
    EXPECT_THROW(sumDayTotals(day({{{max, 0, 1, 0, 0}}, {{1, 0, 1, 0, 0}}})), AppError);
    EXPECT_THROW(sumDayTotals(day({{{0, 0, 0, max, 0}, {0, 0, 0, 1, 0}}})), AppError);
}
