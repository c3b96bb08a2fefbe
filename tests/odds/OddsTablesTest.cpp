#include "odds/OddsList.h"
#include "odds/OddsMatrix.h"

#include "core/AppError.h"

#include <gtest/gtest.h>

namespace {

template <typename F>
void ExpectIndexError(F&& f) {
    try {
        f();
        ADD_FAILURE() << "no index error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Number(), ErrNo::SubscriptOutOfRange);
    }
}

TEST(OddsListTest, StoresUntrimmedAndReadsBackTrimmed) {
    OddsList t;
    t.setTosu(3);
    t.Initialize();
    t.setOdds(1, QStringLiteral("  2.5"));
    t.setOdds(3, QStringLiteral("999.9"));
    EXPECT_EQ(t.Odds(1), QStringLiteral("2.5"));
    EXPECT_EQ(t.Odds(2), QString()); // never written
    EXPECT_EQ(t.Odds(3), QStringLiteral("999.9"));
    t.setOdds(2, QStringLiteral("     "));
    EXPECT_EQ(t.Odds(2), QString()); // a blank field reads as no odds
}

TEST(OddsListTest, ReinitializeEmptiesAndResizes) {
    OddsList t;
    t.setTosu(5);
    t.Initialize();
    t.setOdds(5, QStringLiteral(" 12.0"));
    t.Initialize();
    EXPECT_EQ(t.Odds(5), QString());

    t.setOdds(2, QStringLiteral("  3.1"));
    t.setTosu(3);
    EXPECT_EQ(t.Odds(2), QStringLiteral("3.1")); // the size changes only with Initialize
    t.Initialize();
    EXPECT_EQ(t.Tosu(), 3);
    EXPECT_EQ(t.Odds(2), QString());
    ExpectIndexError([&] { t.Odds(4); });
}

TEST(OddsListTest, IndexOutsideOneToTosuRaisesTheIndexError) {
    OddsList fresh;
    ExpectIndexError([&] { fresh.Odds(1); });
    OddsList t;
    t.setTosu(18);
    t.Initialize();
    for (int n : {-1, 0, 19}) {
        SCOPED_TRACE(n);
        ExpectIndexError([&] { t.Odds(n); });
        ExpectIndexError([&] { t.setOdds(n, QStringLiteral("  1.0")); });
    }
    EXPECT_NO_THROW(t.setOdds(18, QStringLiteral("  1.0")));
}

TEST(OddsMatrixTest, CellsAreOrderedPairs) {
    OddsMatrix t;
    t.setTosu(6);
    t.Initialize();
    t.setOdds(2, 5, QStringLiteral("  12.3"));
    t.setOdds(5, 2, QStringLiteral(" 101.0"));
    t.setOdds(3, 3, QStringLiteral("  8.8"));
    EXPECT_EQ(t.Odds(2, 5), QStringLiteral("12.3"));
    EXPECT_EQ(t.Odds(5, 2), QStringLiteral("101.0"));
    EXPECT_EQ(t.Odds(3, 3), QStringLiteral("8.8"));
    EXPECT_EQ(t.Odds(2, 6), QString());
    EXPECT_EQ(t.Odds(6, 2), QString());
}

TEST(OddsMatrixTest, ReinitializeWithNewSize) {
    OddsMatrix t;
    t.setTosu(18);
    t.Initialize();
    t.setOdds(18, 17, QStringLiteral("9999.9"));
    t.setOdds(1, 2, QStringLiteral("   4.0"));
    t.setTosu(4);
    t.Initialize();
    EXPECT_EQ(t.Odds(1, 2), QString());
    ExpectIndexError([&] { t.Odds(18, 17); });
    t.setOdds(4, 1, QStringLiteral("   5.5"));
    EXPECT_EQ(t.Odds(4, 1), QStringLiteral("5.5"));
    EXPECT_EQ(t.Odds(1, 4), QString());
}

TEST(OddsMatrixTest, EitherIndexOutsideRaisesTheIndexError) {
    OddsMatrix t;
    t.setTosu(8);
    t.Initialize();
    const std::pair<int, int> bad[] = {{0, 1}, {1, 0}, {9, 1}, {1, 9}, {-1, -1}, {9, 9}};
    for (const auto& cell : bad) {
        const int col = cell.first;
        const int row = cell.second;
        SCOPED_TRACE(testing::Message() << col << "," << row);
        ExpectIndexError([&] { t.Odds(col, row); });
        ExpectIndexError([&] { t.setOdds(col, row, QStringLiteral("  1.0")); });
    }
    OddsMatrix fresh;
    ExpectIndexError([&] { fresh.Odds(1, 1); });
}

} // namespace
