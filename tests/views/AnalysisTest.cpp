#include "views/Analysis.h"
#include "archive/BetArchive.h"
#include "core/BetRecords.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
Archive::Bet b(qint16 venue, qint16 type, qint32 stake, qint32 payout, qint16 state) {
    Archive::Bet b;
    b.venue = venue;
    b.betType = type;
    b.stake = stake;
    b.payout = payout;
    b.state = state;
    return b;
}

// name, bets, stake, payout, hits, refunds, unsettled, hit rate, recovery
using Expected = std::tuple<QString, qint64, qint64, qint64, qint64, qint64, qint64, QString, QString>;
std::vector<Expected> flat(const std::vector<AnalysisRow>& rows) {
    std::vector<Expected> out;
    for (const AnalysisRow& r : rows) {
        out.emplace_back(r.name, r.sum.bets, r.sum.stake, r.sum.payout, r.sum.hits, r.sum.refunds, r.sum.unsettled,
                         r.hitRate, r.recovery);
    }
    return out;
}
} // namespace

TEST(Analysis, PeriodsOfThreeArchivedDaysAddUpByBetTypeAndVenue) {
    using namespace BetCodes;
    TempFolder dir;
    BetArchive archive;
    ASSERT_TRUE(archive.open(dir.path()));
    // 東京 (5) in November, 中山 (6) early December (with an advance sale for the next day, which counts on
    // its own day), 阪神 (9) in the next year.
    ASSERT_TRUE(archive.storeDay(QStringLiteral("20261129"),
                                 {b(5, Win, 100, 350, Hit), b(5, Win, 200, 0, Miss), b(5, Trio, 300, 0, Miss)}));
    ASSERT_TRUE(
        archive.storeDay(QStringLiteral("20261205"), {b(6, Quinella, 500, 2000, Hit), b(6, Win, 100, 100, Refunded),
                                                      b(6, Place, 200, 0, Open), b(6, Win, 1000, 0, AdvanceSale)}));
    ASSERT_TRUE(archive.storeDay(QStringLiteral("20270103"), {b(9, Wide, 400, 0, Miss)}));

    const auto analyse = [&](AnalysisPeriod period, const QString& from = {}, const QString& to = {}) {
        const AnalysisDates d = analysisPeriodDates(period, QStringLiteral("20261205"), QStringLiteral("20261129"),
                                                    QStringLiteral("20270103"), from, to);
        return buildAnalysis(archive.figuresOf(d.from, d.to), d.from, d.to);
    };

    // The whole archive. Win: 400 staked, 450 back (350 hit + 100 refund), one hit of two decided.
    const AnalysisTables all = analyse(AnalysisPeriod::All);
    EXPECT_EQ(std::pair(all.from, all.to), std::pair(QStringLiteral("20261129"), QStringLiteral("20270103")));
    EXPECT_EQ(flat(all.byBetType), (std::vector<Expected>{{"単勝", 3, 400, 450, 1, 1, 0, "50.0", "112.5"},
                                                          {"複勝", 1, 200, 0, 0, 0, 1, "-", "0.0"},
                                                          {"馬連", 1, 500, 2000, 1, 0, 0, "100.0", "400.0"},
                                                          {"ワイド", 1, 400, 0, 0, 0, 0, "0.0", "0.0"},
                                                          {"３連複", 1, 300, 0, 0, 0, 0, "0.0", "0.0"}}));
    EXPECT_EQ(flat(all.byVenue), (std::vector<Expected>{{"東京", 3, 600, 350, 1, 0, 0, "33.3", "58.3"},
                                                        {"中山", 3, 800, 2100, 1, 1, 1, "100.0", "262.5"},
                                                        {"阪神", 1, 400, 0, 0, 0, 0, "0.0", "0.0"}}));
    EXPECT_EQ(flat({all.total}), (std::vector<Expected>{{"合計", 7, 1800, 2450, 2, 1, 1, "40.0", "136.1"}}));

    // The sale day, its month (both December days only) and its year (not January).
    EXPECT_EQ(flat({analyse(AnalysisPeriod::SaleDay).total}),
              (std::vector<Expected>{{"合計", 3, 800, 2100, 1, 1, 1, "100.0", "262.5"}}));
    const AnalysisTables month = analyse(AnalysisPeriod::Month);
    EXPECT_EQ(std::pair(month.from, month.to), std::pair(QStringLiteral("20261201"), QStringLiteral("20261231")));
    EXPECT_EQ(month.total.sum.stake, 800);
    EXPECT_EQ(analyse(AnalysisPeriod::Year).total.sum.stake, 1400);
    // Two dates the wrong way round are put in order.
    EXPECT_EQ(analyse(AnalysisPeriod::Range, QStringLiteral("20270131"), QStringLiteral("20261206")).total.sum.stake,
              400);

    // A period with nothing staked divides nothing.
    const AnalysisTables empty = analyse(AnalysisPeriod::Range, QStringLiteral("20260101"), QStringLiteral("20260131"));
    EXPECT_TRUE(empty.byBetType.empty());
    EXPECT_EQ(flat({empty.total}), (std::vector<Expected>{{"合計", 0, 0, 0, 0, 0, 0, "-", "-"}}));
}
