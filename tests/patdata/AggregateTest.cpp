#include "clientfiles/AccountFiles.h"
#include "clientfiles/OddsFiles.h"
#include "core/AppError.h"
#include "odds/OddsList.h"
#include "odds/OddsMatrix.h"
#include "odds/WinPlaceOddsReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/RaceOdds.h"
#include "patdata/SaleDayReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace OddsFiles;

namespace {
const QString kDate = QStringLiteral("20260405");
const QString kRaceId = QStringLiteral("58B"); // venue 5, day 8, race 11

Header RaceHeader(int tosu) {
    Header h;
    h.date = kDate;
    h.raceNum = 11;
    h.tosu = static_cast<qint16>(tosu);
    return h;
}

// Win odds "n.0" for every runner, bracket odds "i-j" as i*10+j, except where scratched.
ZoFile Zo(int tosu, const QList<int>& scratched = {}) {
    ZoFile z;
    z.header = RaceHeader(tosu);
    for (int n = 1; n <= tosu; ++n) {
        const QString odds = scratched.contains(n) ? kScratched : QStringLiteral("%1.0").arg(n);
        z.runners[n] = {odds, QStringLiteral("1.1"), QStringLiteral("2.2")};
    }
    for (int i = 1; i <= 8; ++i) {
        for (int j = i; j <= 8; ++j) {
            z.brackets[{i, j}] = QStringLiteral("%1.5").arg(i * 10 + j);
        }
    }
    return z;
}

UoFile Uo(int tosu) {
    UoFile u;
    u.header = RaceHeader(tosu);
    for (int i = 1; i <= tosu; ++i) {
        for (int j = i + 1; j <= tosu; ++j) {
            u.pairs[{i, j}] = {QStringLiteral("%1.0").arg(i * 100 + j), QStringLiteral("1.5"), QStringLiteral("3.5")};
        }
    }
    return u;
}

class AggregateTest : public ::testing::Test {
protected:
    void Day(int kenshu) {
        AccountFiles::AccountFile a = AccountFiles::AllOnSale(5);
        a.Date = kDate;
        a.Kenshu.fill(kenshu);
        a.Kenshu[0] = 0; // race 1 not on sale
        AccountFiles::SaveAccountFile(dir.Path(), QLatin1Char('A'), a);
        pat.setPathName(dir.Path());
        pat.setDownPath(QString());
        pat.Initialize();
    }
    TempFolder dir;
    SaleDayReader pat;
};
} // namespace

TEST_F(AggregateTest, BracketsOfEveryFieldSize) {
    struct Case {
        int tosu;
        std::vector<int> brackets; // bracket of horse 1..tosu
    } cases[] = {
        {7, {1, 2, 3, 4, 5, 6, 7}},
        {8, {1, 2, 3, 4, 5, 6, 7, 8}},
        {10, {1, 2, 3, 4, 5, 6, 7, 7, 8, 8}},
        {16, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8}},
        {18, {1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 7, 8, 8, 8}},
    };
    Day(127);
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteZo(dir.Path(), kRaceId, Zo(c.tosu)));
        ASSERT_TRUE(WriteUo(dir.Path(), kRaceId, Uo(c.tosu)));
        ASSERT_TRUE(pat.GetOdds(1, 11)) << c.tosu;
        const RaceOdds* f = pat.objFactory();
        EXPECT_EQ(f->EntryTosu(), c.tosu);
        for (int h = 1; h <= 18; ++h) {
            const int expected = h <= c.tosu ? c.brackets[static_cast<size_t>(h - 1)] : 0;
            EXPECT_EQ(f->WakuNum(h), expected) << c.tosu << " runners, horse " << h;
        }
        EXPECT_THROW(f->WakuNum(19), AppError);
        EXPECT_THROW(f->WakuNum(0), AppError);
    }
}

TEST_F(AggregateTest, EveryFileOnSaleIsRead) {
    Day(127);
    WriteZo(dir.Path(), kRaceId, Zo(12));
    WriteUo(dir.Path(), kRaceId, Uo(12));
    SoFile so;
    so.header = RaceHeader(12);
    so.exacta[{2, 5}] = QStringLiteral("45.1");
    WriteSo(dir.Path(), kRaceId, so);
    YoFile yo;
    yo.header = RaceHeader(12);
    yo.trio[{1, 2, 3}] = QStringLiteral("123.4");
    WriteYo(dir.Path(), kRaceId, yo);
    ASSERT_TRUE(pat.GetOdds(1, 11));
    const RaceOdds* f = pat.objFactory();
    EXPECT_TRUE(f->ExistZO() && f->ExistUO() && f->ExistSO() && f->ExistYO());
    EXPECT_EQ(f->objRace(), pat.objKaisai(1)->objRace(11));
    EXPECT_EQ(f->objOddsWin()->Odds(3), QStringLiteral("3.0"));
    EXPECT_EQ(f->objOddsQuinella()->Odds(2, 7), QStringLiteral("207.0"));
    EXPECT_EQ(f->objOddsExacta()->Odds(2, 5), QStringLiteral("45.1"));
    EXPECT_EQ(f->objOddsTrio(2)->Odds(3, 1), QStringLiteral("123.4"));
    EXPECT_FALSE(f->QuinellaFromBrackets());
}

TEST_F(AggregateTest, WithoutQuinellaSaleTheBracketOddsStandIn) {
    Day(1 | 2 | 4); // win, place, bracket quinella
    // 10 runners: brackets 7 = {7, 8}, 8 = {9, 10}; horse 8 scratched, both horses of bracket 8 too.
    WriteZo(dir.Path(), kRaceId, Zo(10, {8, 9, 10}));
    ASSERT_TRUE(pat.GetOdds(1, 11));
    const RaceOdds* f = pat.objFactory();
    EXPECT_TRUE(f->ExistUO());
    EXPECT_FALSE(f->ExistSO());
    EXPECT_FALSE(f->ExistYO());
    EXPECT_TRUE(f->QuinellaFromBrackets());
    EXPECT_EQ(f->RepresentativeHorse(7), 7); // the second horse is scratched
    EXPECT_EQ(f->RepresentativeHorse(8), 0); // all scratched
    const auto q = f->objOddsQuinella();
    EXPECT_EQ(q->Tosu(), 10);
    EXPECT_EQ(q->Odds(1, 7), QStringLiteral("17.5")); // bracket pair (1, 7)
    EXPECT_EQ(q->Odds(7, 1), QStringLiteral("17.5"));
    EXPECT_EQ(q->Odds(3, 6), QStringLiteral("36.5"));
    EXPECT_EQ(q->Odds(1, 8), QString());    // horse 8 represents nothing
    EXPECT_EQ(q->Odds(1, 9), QString());    // bracket 8 has no representative
    EXPECT_EQ(f->objOddsWide()->Tosu(), 0); // wide comes only with a quinella file
}

TEST_F(AggregateTest, MissingFiles) {
    Day(127);
    // No win/place/bracket file: nothing available.
    EXPECT_FALSE(pat.GetOdds(1, 11));
    ASSERT_NE(pat.objFactory(), nullptr);
    EXPECT_FALSE(pat.objFactory()->ExistZO());
    EXPECT_EQ(pat.objFactory()->EntryTosu(), 0);
    EXPECT_THROW(pat.objFactory()->objOddsWin(), AppError);

    // Quinella on sale but its file missing: the single-runner tables stay, nothing else is read.
    WriteZo(dir.Path(), kRaceId, Zo(12));
    SoFile so;
    so.header = RaceHeader(12);
    WriteSo(dir.Path(), kRaceId, so);
    EXPECT_FALSE(pat.GetOdds(1, 11));
    const RaceOdds* f = pat.objFactory();
    EXPECT_TRUE(f->ExistZO());
    EXPECT_FALSE(f->ExistUO() || f->ExistSO() || f->ExistYO());
    EXPECT_EQ(f->objOddsWin()->Odds(12), QStringLiteral("12.0"));

    // Exacta and trio files missing: only those readers are absent.
    WriteUo(dir.Path(), kRaceId, Uo(12));
    QFile::remove(dir.File(QStringLiteral("SO-58B.JRA")));
    EXPECT_TRUE(pat.GetOdds(1, 11));
    EXPECT_TRUE(pat.objFactory()->ExistUO());
    EXPECT_FALSE(pat.objFactory()->ExistSO());
    EXPECT_FALSE(pat.objFactory()->ExistYO());
    EXPECT_THROW(pat.objFactory()->objOddsTrio(1), AppError);
}

TEST_F(AggregateTest, ARaceNotOnSaleKeepsThePreviousAggregate) {
    Day(127);
    WriteZo(dir.Path(), kRaceId, Zo(12));
    WriteUo(dir.Path(), kRaceId, Uo(12));
    ASSERT_TRUE(pat.GetOdds(1, 11));
    const RaceOdds* before = pat.objFactory();
    EXPECT_FALSE(pat.GetOdds(1, 1));
    EXPECT_EQ(pat.objFactory(), before);
    EXPECT_THROW(pat.GetOdds(1, 13), AppError);
    EXPECT_THROW(pat.GetOdds(2, 1), AppError);
}

TEST_F(AggregateTest, AnOddsFileOfAnotherDayIsNotRead) {
    Day(127);
    ZoFile z = Zo(12);
    z.header.date = QStringLiteral("20260404");
    WriteZo(dir.Path(), kRaceId, z);
    EXPECT_FALSE(pat.GetOdds(1, 11));
    EXPECT_FALSE(pat.objFactory()->ExistZO());
}
