#include "odds/WinPlaceOddsReader.h"

#include "clientfiles/OddsFiles.h"
#include "core/AppError.h"
#include "core/Bytes.h"
#include "support/ReadOdds.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace OddsFiles;

namespace {

const QString kDate = QStringLiteral("20240525");
const QString kRaceId = QStringLiteral("5BB");

QString winText(int n) {
    return QStringLiteral("%1.1").arg(n);
}
QString placeMinText(int n) {
    return QStringLiteral("%1.2").arg(n);
}
QString placeMaxText(int n) {
    return QStringLiteral("%1.3").arg(n);
}
QString bracketText(int i, int j) {
    return QStringLiteral("%1.%2").arg(i).arg(j);
}

// Every runner and every bracket pair with odds of its own, so a field read from the wrong record shows.
ZoFile fullRace(qint16 tosu) {
    ZoFile f;
    f.header.date = kDate;
    f.header.tosu = tosu;
    for (int n = 1; n <= tosu && n <= 18; ++n) {
        f.runners[n] = {winText(n), placeMinText(n), placeMaxText(n)};
    }
    for (int i = 1; i <= 8; ++i) {
        for (int j = i; j <= 8; ++j) {
            f.brackets[{i, j}] = bracketText(i, j);
        }
    }
    return f;
}

TEST(ZoLayoutTest, FieldsStandAtTheirBytePositions) {
    ZoFile f = fullRace(18);
    f.winVotes = 12345678901;
    f.placeVotes = 2;
    f.bracketVotes = 345;
    const QByteArray b = zoBytes(f);
    ASSERT_EQ(b.size(), 859);
    EXPECT_EQ(Bytes::text(b, 141, 2), QStringLiteral("18"));
    EXPECT_EQ(Bytes::text(b, 143 + 18 * 6 + 3, 15), QStringLiteral("  7.1  7.2  7.3"));
    EXPECT_EQ(Bytes::text(b, 827, 33), QStringLiteral("12345678901          2        345"));
    // The bracket pair records in file order (1,1) ... (8,8), at the offsets of the layout.
    for (int i = 1; i <= 8; ++i) {
        for (int j = i; j <= 8; ++j) {
            const qsizetype pos = 467 + 10 * ((i - 1) * (18 - i) / 2 + (j - i));
            EXPECT_EQ(Bytes::text(b, pos + 5, 5), QStringLiteral("  %1").arg(bracketText(i, j))) << i << "," << j;
        }
    }
}

TEST(ZoReaderTest, ReadsTheHeader) {
    TempFolder dir;
    ZoFile f = fullRace(16);
    f.header.kaisai = QStringLiteral("中山");
    f.header.nenJi = QStringLiteral("06");
    f.header.kaiJi = QStringLiteral("05");
    f.header.hiJi = QStringLiteral("1 ");
    f.header.raceNum = 9;
    f.header.timeFlg = QStringLiteral("T");
    f.header.hh = QStringLiteral("09");
    f.header.mm = QStringLiteral("05");
    f.header.raceName1 = QStringLiteral(" 有馬記念 ");
    f.header.raceName2 = QStringLiteral("ｻﾗ系３歳以上");
    ASSERT_TRUE(writeZo(dir.path(), kRaceId, f));

    const auto read = readOdds<WinPlaceOddsReader>(dir.path().chopped(1), kRaceId, kDate); // the separator is added
    ASSERT_NE(read, nullptr);
    const WinPlaceOddsReader& zo = *read;
    EXPECT_EQ(zo.kaisai(), QStringLiteral("中山"));
    EXPECT_EQ(zo.nenJi(), QStringLiteral("06"));
    EXPECT_EQ(zo.kaiJi(), QStringLiteral("5"));
    EXPECT_EQ(zo.hiJi(), QStringLiteral("1"));
    EXPECT_EQ(zo.raceNum(), 9);
    EXPECT_EQ(zo.timeFlg(), QStringLiteral("T"));
    EXPECT_EQ(zo.hh(), QStringLiteral("9"));
    EXPECT_EQ(zo.mm(), QStringLiteral("5"));
    EXPECT_EQ(zo.raceName1(), QStringLiteral("有馬記念"));
    EXPECT_EQ(zo.raceName2(), QStringLiteral("ｻﾗ系３歳以上"));
    EXPECT_EQ(zo.tosu(), 16);
    EXPECT_EQ(zo.keshi(), 0);
}

TEST(ZoReaderTest, RunnerOddsOfEveryRunner) {
    WinPlaceOddsReader zo;
    ASSERT_TRUE(zo.readBytes(zoBytes(fullRace(18)), kDate));
    for (const auto& t : {zo.winOdds(), zo.placeOdds(), zo.placeMaxOdds()}) {
        EXPECT_EQ(t->tosu(), 18);
    }
    for (int n = 1; n <= 18; ++n) {
        EXPECT_EQ(zo.winOdds()->odds(n), winText(n));
        EXPECT_EQ(zo.placeOdds()->odds(n), placeMinText(n));
        EXPECT_EQ(zo.placeMaxOdds()->odds(n), placeMaxText(n));
    }
}

// The bracket table is sized to the smaller of the runner count and 8; pairs above the runner count are
// stepped over although their records are in the file.
TEST(ZoReaderTest, BracketTableFollowsTheRunnerCount) {
    for (qint16 tosu : {1, 5, 8, 10, 18}) {
        SCOPED_TRACE(tosu);
        WinPlaceOddsReader zo;
        ASSERT_TRUE(zo.readBytes(zoBytes(fullRace(tosu)), kDate));
        const auto bracket = zo.bracketOdds();
        const int b = std::min<int>(tosu, 8);
        ASSERT_EQ(bracket->tosu(), b);
        for (int i = 1; i <= b; ++i) {
            for (int j = 1; j <= b; ++j) {
                EXPECT_EQ(bracket->odds(i, j), bracketText(std::min(i, j), std::max(i, j))) << i << "," << j;
            }
        }
        EXPECT_THROW(bracket->odds(b + 1, 1), AppError);
    }
}

TEST(ZoReaderTest, ScratchedAndBlankRunnersAreCountedAndLeftEmpty) {
    ZoFile f = fullRace(10);
    f.runners[3].win = kScratched; // its place fields still hold odds: they are not looked at
    f.runners[7] = {QString(), QString(), QString()};
    f.runners[9].placeMin = QString(); // a blank place field of a running horse is kept as it is
    WinPlaceOddsReader zo;
    ASSERT_TRUE(zo.readBytes(zoBytes(f), kDate));
    EXPECT_EQ(zo.keshi(), 2);
    for (int n : {3, 7}) {
        EXPECT_EQ(zo.winOdds()->odds(n), QString());
        EXPECT_EQ(zo.placeOdds()->odds(n), QString());
        EXPECT_EQ(zo.placeMaxOdds()->odds(n), QString());
    }
    EXPECT_EQ(zo.winOdds()->odds(9), winText(9));
    EXPECT_EQ(zo.placeOdds()->odds(9), QString());
    EXPECT_EQ(zo.placeMaxOdds()->odds(9), placeMaxText(9));
    EXPECT_EQ(zo.winOdds()->odds(4), winText(4));
}

TEST(ZoReaderTest, NoOddsYetIsShownAsTheLargestOdds) {
    ZoFile f = fullRace(8);
    f.runners[1] = {kNotYet, kNotYet, kNotYet};
    f.runners[2].placeMax = kNotYet;
    f.brackets[{2, 6}] = kNotYet;
    f.brackets[{4, 4}] = kScratched;
    f.brackets[{5, 7}] = QString();
    f.runners[4].win = QStringLiteral("10.0"); // "10.0" holds "0.0" but is real odds
    WinPlaceOddsReader zo;
    ASSERT_TRUE(zo.readBytes(zoBytes(f), kDate));
    EXPECT_EQ(zo.winOdds()->odds(1), QStringLiteral("999.9"));
    EXPECT_EQ(zo.placeOdds()->odds(1), QStringLiteral("999.9"));
    EXPECT_EQ(zo.placeMaxOdds()->odds(1), QStringLiteral("999.9"));
    EXPECT_EQ(zo.placeOdds()->odds(2), placeMinText(2));
    EXPECT_EQ(zo.placeMaxOdds()->odds(2), QStringLiteral("999.9"));
    EXPECT_EQ(zo.winOdds()->odds(4), QStringLiteral("10.0"));
    EXPECT_EQ(zo.keshi(), 0);
    const auto bracket = zo.bracketOdds();
    EXPECT_EQ(bracket->odds(2, 6), QStringLiteral("999.9"));
    EXPECT_EQ(bracket->odds(6, 2), QStringLiteral("999.9"));
    EXPECT_EQ(bracket->odds(4, 4), QString());
    EXPECT_EQ(bracket->odds(5, 7), QString());
    EXPECT_EQ(bracket->odds(7, 5), QString());
    EXPECT_EQ(bracket->odds(4, 5), bracketText(4, 5));
}

TEST(ZoReaderTest, UnreadableFilesChangeNothing) {
    struct Case {
        const char* name;
        QString date;
        qint16 tosu;
    };
    const Case cases[] = {
        {"other day", QStringLiteral("20240526"), 10},
        {"no runners", kDate, 0},
        {"19 runners", kDate, 19},
        {"negative", kDate, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ZoFile bad = fullRace(12);
        bad.header.date = c.date;
        bad.header.tosu = c.tosu;
        bad.header.raceName1 = QStringLiteral("別のレース");

        WinPlaceOddsReader fresh;
        EXPECT_FALSE(fresh.readBytes(zoBytes(bad), kDate));
        EXPECT_EQ(fresh.kaisai(), QString());
        EXPECT_EQ(fresh.kaiJi(), QString());
        EXPECT_EQ(fresh.raceName1(), QString());
        EXPECT_EQ(fresh.raceNum(), 0);
        EXPECT_EQ(fresh.tosu(), 0);
        EXPECT_EQ(fresh.winOdds()->tosu(), 0);
        EXPECT_EQ(fresh.bracketOdds()->tosu(), 0);

        WinPlaceOddsReader used;
        ASSERT_TRUE(used.readBytes(zoBytes(fullRace(6)), kDate));
        EXPECT_FALSE(used.readBytes(zoBytes(bad), kDate));
        EXPECT_EQ(used.tosu(), 6);
        EXPECT_EQ(used.raceName1(), QStringLiteral("東京優駿"));
        EXPECT_EQ(used.winOdds()->odds(6), winText(6));
        EXPECT_EQ(used.bracketOdds()->odds(6, 6), bracketText(6, 6));
    }
}

TEST(ZoReaderTest, MissingFileAndFileFoundInAnyCase) {
    TempFolder dir;
    EXPECT_EQ(readOdds<WinPlaceOddsReader>(dir.path(), kRaceId, kDate), nullptr);

    dir.write(QStringLiteral("zo-5bb.jra"), zoBytes(fullRace(4)));
    const auto zo = readOdds<WinPlaceOddsReader>(dir.path(), kRaceId, kDate);
    ASSERT_NE(zo, nullptr);
    EXPECT_EQ(zo->tosu(), 4);
}

TEST(ZoReaderTest, TablesOutliveTheReader) {
    std::shared_ptr<OddsList> win;
    std::shared_ptr<OddsMatrix> bracket;
    {
        WinPlaceOddsReader zo;
        win = zo.winOdds();
        bracket = zo.bracketOdds();
        ASSERT_TRUE(zo.readBytes(zoBytes(fullRace(3)), kDate));
        EXPECT_EQ(zo.winOdds(), win); // the same table before and after the read
    }
    EXPECT_EQ(win->odds(3), winText(3));
    EXPECT_EQ(bracket->odds(3, 1), bracketText(1, 3));
}

} // namespace
