#include "odds/WinPlaceOddsReader.h"

#include "clientfiles/OddsFiles.h"
#include "core/AppError.h"
#include "core/Bytes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace OddsFiles;

namespace {

const QString kDate = QStringLiteral("20240525");
const QString kRaceId = QStringLiteral("5BB");

QString WinText(int n) {
    return QStringLiteral("%1.1").arg(n);
}
QString PlaceMinText(int n) {
    return QStringLiteral("%1.2").arg(n);
}
QString PlaceMaxText(int n) {
    return QStringLiteral("%1.3").arg(n);
}
QString BracketText(int i, int j) {
    return QStringLiteral("%1.%2").arg(i).arg(j);
}

// Every runner and every bracket pair with odds of its own, so a field read from the wrong record shows.
ZoFile FullRace(qint16 tosu) {
    ZoFile f;
    f.header.date = kDate;
    f.header.tosu = tosu;
    for (int n = 1; n <= tosu && n <= 18; ++n) {
        f.runners[n] = {WinText(n), PlaceMinText(n), PlaceMaxText(n)};
    }
    for (int i = 1; i <= 8; ++i) {
        for (int j = i; j <= 8; ++j) {
            f.brackets[{i, j}] = BracketText(i, j);
        }
    }
    return f;
}

TEST(ZoLayoutTest, FieldsStandAtTheirBytePositions) {
    ZoFile f = FullRace(18);
    f.winVotes = 12345678901;
    f.placeVotes = 2;
    f.bracketVotes = 345;
    const QByteArray b = ZoBytes(f);
    ASSERT_EQ(b.size(), 859);
    EXPECT_EQ(Bytes::Text(b, 141, 2), QStringLiteral("18"));
    EXPECT_EQ(Bytes::Text(b, 143 + 18 * 6 + 3, 15), QStringLiteral("  7.1  7.2  7.3"));
    EXPECT_EQ(Bytes::Text(b, 827, 33), QStringLiteral("12345678901          2        345"));
    // The bracket pair records in file order (1,1) ... (8,8), at the offsets of the layout.
    for (int i = 1; i <= 8; ++i) {
        for (int j = i; j <= 8; ++j) {
            const qsizetype pos = 467 + 10 * ((i - 1) * (18 - i) / 2 + (j - i));
            EXPECT_EQ(Bytes::Text(b, pos + 5, 5), QStringLiteral("  %1").arg(BracketText(i, j))) << i << "," << j;
        }
    }
}

TEST(ZoReaderTest, ReadsTheHeader) {
    TempFolder dir;
    ZoFile f = FullRace(16);
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
    ASSERT_TRUE(WriteZo(dir.Path(), kRaceId, f));

    WinPlaceOddsReader zo;
    zo.setPathName(dir.Path().chopped(1)); // the separator is added
    zo.setFileName(kRaceId);
    ASSERT_TRUE(zo.GetData(kDate));
    EXPECT_EQ(zo.Kaisai(), QStringLiteral("中山"));
    EXPECT_EQ(zo.NenJi(), QStringLiteral("06"));
    EXPECT_EQ(zo.KaiJi(), QStringLiteral("5"));
    EXPECT_EQ(zo.HiJi(), QStringLiteral("1"));
    EXPECT_EQ(zo.RaceNum(), 9);
    EXPECT_EQ(zo.TimeFlg(), QStringLiteral("T"));
    EXPECT_EQ(zo.HH(), QStringLiteral("9"));
    EXPECT_EQ(zo.MM(), QStringLiteral("5"));
    EXPECT_EQ(zo.RaceName1(), QStringLiteral("有馬記念"));
    EXPECT_EQ(zo.RaceName2(), QStringLiteral("ｻﾗ系３歳以上"));
    EXPECT_EQ(zo.Tosu(), 16);
    EXPECT_EQ(zo.Keshi(), 0);
}

TEST(ZoReaderTest, RunnerOddsOfEveryRunner) {
    WinPlaceOddsReader zo;
    ASSERT_TRUE(zo.GetDataFromBytes(ZoBytes(FullRace(18)), kDate));
    for (const auto& t : {zo.objOddsWin(), zo.objOddsPlace(), zo.objOddsPlaceMax()}) {
        EXPECT_EQ(t->Tosu(), 18);
    }
    for (int n = 1; n <= 18; ++n) {
        EXPECT_EQ(zo.objOddsWin()->Odds(n), WinText(n));
        EXPECT_EQ(zo.objOddsPlace()->Odds(n), PlaceMinText(n));
        EXPECT_EQ(zo.objOddsPlaceMax()->Odds(n), PlaceMaxText(n));
    }
}

// The bracket table is sized to the smaller of the runner count and 8; pairs above the runner count are
// stepped over although their records are in the file.
TEST(ZoReaderTest, BracketTableFollowsTheRunnerCount) {
    for (qint16 tosu : {1, 5, 8, 10, 18}) {
        SCOPED_TRACE(tosu);
        WinPlaceOddsReader zo;
        ASSERT_TRUE(zo.GetDataFromBytes(ZoBytes(FullRace(tosu)), kDate));
        const auto bracket = zo.objOddsBracket();
        const int b = std::min<int>(tosu, 8);
        ASSERT_EQ(bracket->Tosu(), b);
        for (int i = 1; i <= b; ++i) {
            for (int j = 1; j <= b; ++j) {
                EXPECT_EQ(bracket->Odds(i, j), BracketText(std::min(i, j), std::max(i, j))) << i << "," << j;
            }
        }
        EXPECT_THROW(bracket->Odds(b + 1, 1), AppError);
    }
}

TEST(ZoReaderTest, ScratchedAndBlankRunnersAreCountedAndLeftEmpty) {
    ZoFile f = FullRace(10);
    f.runners[3].win = kScratched; // its place fields still hold odds: they are not looked at
    f.runners[7] = {QString(), QString(), QString()};
    f.runners[9].placeMin = QString(); // a blank place field of a running horse is kept as it is
    WinPlaceOddsReader zo;
    ASSERT_TRUE(zo.GetDataFromBytes(ZoBytes(f), kDate));
    EXPECT_EQ(zo.Keshi(), 2);
    for (int n : {3, 7}) {
        EXPECT_EQ(zo.objOddsWin()->Odds(n), QString());
        EXPECT_EQ(zo.objOddsPlace()->Odds(n), QString());
        EXPECT_EQ(zo.objOddsPlaceMax()->Odds(n), QString());
    }
    EXPECT_EQ(zo.objOddsWin()->Odds(9), WinText(9));
    EXPECT_EQ(zo.objOddsPlace()->Odds(9), QString());
    EXPECT_EQ(zo.objOddsPlaceMax()->Odds(9), PlaceMaxText(9));
    EXPECT_EQ(zo.objOddsWin()->Odds(4), WinText(4));
}

TEST(ZoReaderTest, NoOddsYetIsShownAsTheLargestOdds) {
    ZoFile f = FullRace(8);
    f.runners[1] = {kNotYet, kNotYet, kNotYet};
    f.runners[2].placeMax = kNotYet;
    f.brackets[{2, 6}] = kNotYet;
    f.brackets[{4, 4}] = kScratched;
    f.brackets[{5, 7}] = QString();
    f.runners[4].win = QStringLiteral("10.0"); // "10.0" holds "0.0" but is real odds
    WinPlaceOddsReader zo;
    ASSERT_TRUE(zo.GetDataFromBytes(ZoBytes(f), kDate));
    EXPECT_EQ(zo.objOddsWin()->Odds(1), QStringLiteral("999.9"));
    EXPECT_EQ(zo.objOddsPlace()->Odds(1), QStringLiteral("999.9"));
    EXPECT_EQ(zo.objOddsPlaceMax()->Odds(1), QStringLiteral("999.9"));
    EXPECT_EQ(zo.objOddsPlace()->Odds(2), PlaceMinText(2));
    EXPECT_EQ(zo.objOddsPlaceMax()->Odds(2), QStringLiteral("999.9"));
    EXPECT_EQ(zo.objOddsWin()->Odds(4), QStringLiteral("10.0"));
    EXPECT_EQ(zo.Keshi(), 0);
    const auto bracket = zo.objOddsBracket();
    EXPECT_EQ(bracket->Odds(2, 6), QStringLiteral("999.9"));
    EXPECT_EQ(bracket->Odds(6, 2), QStringLiteral("999.9"));
    EXPECT_EQ(bracket->Odds(4, 4), QString());
    EXPECT_EQ(bracket->Odds(5, 7), QString());
    EXPECT_EQ(bracket->Odds(7, 5), QString());
    EXPECT_EQ(bracket->Odds(4, 5), BracketText(4, 5));
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
        ZoFile bad = FullRace(12);
        bad.header.date = c.date;
        bad.header.tosu = c.tosu;
        bad.header.raceName1 = QStringLiteral("別のレース");

        WinPlaceOddsReader fresh;
        EXPECT_FALSE(fresh.GetDataFromBytes(ZoBytes(bad), kDate));
        EXPECT_EQ(fresh.Kaisai(), QString());
        EXPECT_EQ(fresh.KaiJi(), QString());
        EXPECT_EQ(fresh.RaceName1(), QString());
        EXPECT_EQ(fresh.RaceNum(), 0);
        EXPECT_EQ(fresh.Tosu(), 0);
        EXPECT_EQ(fresh.objOddsWin()->Tosu(), 0);
        EXPECT_EQ(fresh.objOddsBracket()->Tosu(), 0);

        WinPlaceOddsReader used;
        ASSERT_TRUE(used.GetDataFromBytes(ZoBytes(FullRace(6)), kDate));
        EXPECT_FALSE(used.GetDataFromBytes(ZoBytes(bad), kDate));
        EXPECT_EQ(used.Tosu(), 6);
        EXPECT_EQ(used.RaceName1(), QStringLiteral("東京優駿"));
        EXPECT_EQ(used.objOddsWin()->Odds(6), WinText(6));
        EXPECT_EQ(used.objOddsBracket()->Odds(6, 6), BracketText(6, 6));
    }
}

TEST(ZoReaderTest, MissingFileAndFileFoundInAnyCase) {
    TempFolder dir;
    WinPlaceOddsReader zo;
    zo.setPathName(dir.Path());
    zo.setFileName(kRaceId);
    EXPECT_FALSE(zo.GetData(kDate));

    dir.Write(QStringLiteral("zo-5bb.jra"), ZoBytes(FullRace(4)));
    ASSERT_TRUE(zo.GetData(kDate));
    EXPECT_EQ(zo.Tosu(), 4);
}

TEST(ZoReaderTest, TablesOutliveTheReader) {
    std::shared_ptr<OddsList> win;
    std::shared_ptr<OddsMatrix> bracket;
    {
        WinPlaceOddsReader zo;
        win = zo.objOddsWin();
        bracket = zo.objOddsBracket();
        ASSERT_TRUE(zo.GetDataFromBytes(ZoBytes(FullRace(3)), kDate));
        EXPECT_EQ(zo.objOddsWin(), win); // the same table before and after the read
    }
    EXPECT_EQ(win->Odds(3), WinText(3));
    EXPECT_EQ(bracket->Odds(3, 1), BracketText(1, 3));
}

} // namespace
