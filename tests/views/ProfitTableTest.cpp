#include "views/ProfitTable.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "results/RaceResultReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
struct RaceIn {
    int raceNum;
    int kenshu;
    int sale;
    qint32 buy, yesterday, tomorrow, pay;
    bool result;
};

std::unique_ptr<Meeting> meetingOf(const QList<RaceIn>& races) {
    auto m = std::make_unique<Meeting>();
    m->setKaisaiNum(5);
    m->setKaiJi(QStringLiteral("02"));
    m->setHiJi(QStringLiteral("08"));
    for (const RaceIn& in : races) {
        auto r = std::make_unique<Race>();
        r->setRaceNum(static_cast<qint16>(in.raceNum));
        r->setKenshu(static_cast<qint16>(in.kenshu));
        r->setSale(static_cast<qint16>(in.sale));
        r->setAmtBuy(in.buy);
        r->setAmtYesterday(in.yesterday);
        r->setAmtTomorrow(in.tomorrow);
        r->setAmtPay(in.pay);
        if (in.result) {
            static const TempFolder none; // a result whose files say nothing: the race counts as run
            r->setResult(
                std::make_unique<RaceResultReader>(RaceResultReader::read(none.path(), QString(), 0, QString())));
        }
        m->addRace(std::move(r));
    }
    return m;
}

QString row(const ProfitRow& r) {
    const auto colour = [](const OptionalRgb& c) { return c ? Rgb::hex(*c) : QStringLiteral("-"); };
    return QStringLiteral("%1 %2 %3 %4/%5")
        .arg(r.index)
        .arg(r.stake, r.profit, colour(r.profitFore), colour(r.profitBack));
}
} // namespace

// Rows, colours, the advance-sale cell and the totals of two meetings.
TEST(ProfitTable, RowsColoursAdvanceSaleAndTotals) {
    std::vector<std::unique_ptr<Meeting>> day;
    day.push_back(meetingOf({
        {1, 1, 1, 1000, 0, 0, 3500, true}, // settled win: white on black
        {2, 1, 1, 500, 500, 0, 0, true},   // settled loss, half bought the day before: white on red
        {3, 1, 1, 500, 0, 0, 0, false},    // no result yet: minus the stake, no colour
        {4, 0, 1, 700, 0, 0, 0, true},     // not on sale: no row, nothing counted
        {5, 1, 1, 0, 0, 0, 0, true},       // settled without stake: no colour
        {6, 1, 1, 1000, 0, 0, 1000, true}, // break-even counts as no loss
        {13, 1, 1, 200, 0, 0, 0, false},   // a day race beyond the twelve cells: counted, not shown
        {11, 1, 2, 0, 0, 200, 0, false},   // the next day's races: one cell holding both
        {12, 1, 2, 0, 0, 300, 0, false},
    }));
    day.push_back(meetingOf({{3, 1, 1, 100, 0, 0, 0, false}}));
    const ProfitTable t = buildProfitTable(day, QStringLiteral("20260405"));
    EXPECT_EQ(t.caption, QStringLiteral("4月5日(日)"));
    ASSERT_EQ(t.meetings.size(), 2);

    const ProfitMeeting& a = t.meetings[0];
    EXPECT_EQ(a.title, QStringLiteral("東京 2回 8日"));
    QStringList rows;
    for (const ProfitRow& r : a.rows) {
        rows << row(r);
    }
    EXPECT_EQ(rows, (QStringList{"0 1000 2500 #FFFFFF/#000000", "1 1000 -1000 #FFFFFF/#FF0000", "2 500 -500 -/-",
                                 "4 0 0 -/-", "5 1000 0 #FFFFFF/#000000"}));
    EXPECT_TRUE(a.hasTomorrow);
    EXPECT_EQ(a.tomorrow, QStringLiteral("500"));
    EXPECT_EQ(a.tomorrowTip, QStringLiteral("11R 200\n12R 300"));
    EXPECT_EQ(a.tomorrowPick, (RacePick{1, 13})); // no bet line on either: the first after the day's races
    EXPECT_EQ(a.stakeTotal, QStringLiteral("3700"));
    EXPECT_EQ(a.profitTotal, QStringLiteral("800")); // 2500 − 1000 − 500 + 0 + 0 − 200
    EXPECT_FALSE(a.profitTotalRed);

    const ProfitMeeting& b = t.meetings[1];
    ASSERT_EQ(b.rows.size(), 1);
    EXPECT_EQ(b.rows[0].index, 14); // second panel, race 3
    EXPECT_FALSE(b.hasTomorrow);
    EXPECT_EQ(b.profitTotal, QStringLiteral("-100"));
    EXPECT_TRUE(b.profitTotalRed);
}

// A cell's index names the meeting and race the click selects.
TEST(ProfitTable, ClickedCellsPickTheirRace) {
    const struct {
        int index;
        RacePick pick;
    } cells[] = {{0, {1, 1}}, {11, {1, 12}}, {12, {2, 1}}, {22, {2, 11}}, {35, {3, 12}}};
    for (const auto& c : cells) {
        EXPECT_EQ(pickRaceCell(c.index), c.pick) << c.index;
    }
}
