#include "odds/OddsList.h"
#include "odds/OddsMatrix.h"

#include "core/AppError.h"

#include <gtest/gtest.h>

namespace {

template <typename F>
void expectIndexError(F&& f) {
    try {
        f();
        ADD_FAILURE() << "no index error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrNo::SubscriptOutOfRange);
    }
}

TEST(OddsListTest, StoresUntrimmedAndReadsBackTrimmed) {
    OddsList t;
    t.setTosu(3);
    t.initialize();
    t.setOdds(1, QStringLiteral("  2.5"));
    t.setOdds(3, QStringLiteral("999.9"));
    EXPECT_EQ(t.odds(1), QStringLiteral("2.5"));
    EXPECT_EQ(t.odds(2), QString()); // never written
    EXPECT_EQ(t.odds(3), QStringLiteral("999.9"));
    t.setOdds(2, QStringLiteral("     "));
    EXPECT_EQ(t.odds(2), QString()); // a blank field reads as no odds
}

TEST(OddsListTest, ReinitializeEmptiesAndResizes) {
    OddsList t;
    t.setTosu(5);
    t.initialize();
    t.setOdds(5, QStringLiteral(" 12.0"));
    t.initialize();
    EXPECT_EQ(t.odds(5), QString());

    t.setOdds(2, QStringLiteral("  3.1"));
    t.setTosu(3);
    EXPECT_EQ(t.odds(2), QStringLiteral("3.1")); // the size changes only with Initialize
    t.initialize();
    EXPECT_EQ(t.tosu(), 3);
    EXPECT_EQ(t.odds(2), QString());
    expectIndexError([&] { t.odds(4); });
}

TEST(OddsListTest, IndexOutsideOneToTosuRaisesTheIndexError) {
    OddsList fresh;
    expectIndexError([&] { fresh.odds(1); });
    OddsList t;
    t.setTosu(18);
    t.initialize();
    for (int n : {-1, 0, 19}) {
        SCOPED_TRACE(n);
        expectIndexError([&] { t.odds(n); });
        expectIndexError([&] { t.setOdds(n, QStringLiteral("  1.0")); });
    }
    EXPECT_NO_THROW(t.setOdds(18, QStringLiteral("  1.0")));
}

TEST(OddsMatrixTest, CellsAreOrderedPairs) {
    OddsMatrix t;
    t.setTosu(6);
    t.initialize();
    t.setOdds(2, 5, QStringLiteral("  12.3"));
    t.setOdds(5, 2, QStringLiteral(" 101.0"));
    t.setOdds(3, 3, QStringLiteral("  8.8"));
    EXPECT_EQ(t.odds(2, 5), QStringLiteral("12.3"));
    EXPECT_EQ(t.odds(5, 2), QStringLiteral("101.0"));
    EXPECT_EQ(t.odds(3, 3), QStringLiteral("8.8"));
    EXPECT_EQ(t.odds(2, 6), QString());
    EXPECT_EQ(t.odds(6, 2), QString());
}

TEST(OddsMatrixTest, ReinitializeWithNewSize) {
    OddsMatrix t;
    t.setTosu(18);
    t.initialize();
    t.setOdds(18, 17, QStringLiteral("9999.9"));
    t.setOdds(1, 2, QStringLiteral("   4.0"));
    t.setTosu(4);
    t.initialize();
    EXPECT_EQ(t.odds(1, 2), QString());
    expectIndexError([&] { t.odds(18, 17); });
    t.setOdds(4, 1, QStringLiteral("   5.5"));
    EXPECT_EQ(t.odds(4, 1), QStringLiteral("5.5"));
    EXPECT_EQ(t.odds(1, 4), QString());
}

TEST(OddsMatrixTest, EitherIndexOutsideRaisesTheIndexError) {
    OddsMatrix t;
    t.setTosu(8);
    t.initialize();
    const std::pair<int, int> bad[] = {{0, 1}, {1, 0}, {9, 1}, {1, 9}, {-1, -1}, {9, 9}};
    for (const auto& cell : bad) {
        const int col = cell.first;
        const int row = cell.second;
        SCOPED_TRACE(testing::Message() << col << "," << row);
        expectIndexError([&] { t.odds(col, row); });
        expectIndexError([&] { t.setOdds(col, row, QStringLiteral("  1.0")); });
    }
    OddsMatrix fresh;
    expectIndexError([&] { fresh.odds(1, 1); });
}

} // namespace
