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

Header raceHeader(int tosu) {
    Header h;
    h.date = kDate;
    h.raceNum = 11;
    h.tosu = static_cast<qint16>(tosu);
    return h;
}

// Win odds "n.0" for every runner, bracket odds "i-j" as i*10+j, except where scratched.
ZoFile zo(int tosu, const QList<int>& scratched = {}) {
    ZoFile z;
    z.header = raceHeader(tosu);
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

UoFile uo(int tosu) {
    UoFile u;
    u.header = raceHeader(tosu);
    for (int i = 1; i <= tosu; ++i) {
        for (int j = i + 1; j <= tosu; ++j) {
            u.pairs[{i, j}] = {QStringLiteral("%1.0").arg(i * 100 + j), QStringLiteral("1.5"), QStringLiteral("3.5")};
        }
    }
    return u;
}

class AggregateTest : public ::testing::Test {
protected:
    void day(int kenshu) {
        AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
        a.date = kDate;
        a.kenshu.fill(kenshu);
        a.kenshu[0] = 0; // race 1 not on sale
        AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
        pat.emplace(SaleDayReader::read(dir.path()));
    }
    TempFolder dir;
    std::optional<SaleDayReader> pat;
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
    day(127);
    for (const auto& c : cases) {
        ASSERT_TRUE(writeZo(dir.path(), kRaceId, zo(c.tosu)));
        ASSERT_TRUE(writeUo(dir.path(), kRaceId, uo(c.tosu)));
        ASSERT_TRUE(pat->readRaceOdds(1, 11)) << c.tosu;
        const RaceOdds* f = pat->raceOdds();
        EXPECT_EQ(f->entryTosu(), c.tosu);
        for (int h = 1; h <= 18; ++h) {
            const int expected = h <= c.tosu ? c.brackets[static_cast<size_t>(h - 1)] : 0;
            EXPECT_EQ(f->wakuNum(h), expected) << c.tosu << " runners, horse " << h;
        }
        EXPECT_THROW(f->wakuNum(19), AppError);
        EXPECT_THROW(f->wakuNum(0), AppError);
    }
}

TEST_F(AggregateTest, EveryFileOnSaleIsRead) {
    day(127);
    writeZo(dir.path(), kRaceId, zo(12));
    writeUo(dir.path(), kRaceId, uo(12));
    SoFile so;
    so.header = raceHeader(12);
    so.exacta[{2, 5}] = QStringLiteral("45.1");
    writeSo(dir.path(), kRaceId, so);
    YoFile yo;
    yo.header = raceHeader(12);
    yo.trio[{1, 2, 3}] = QStringLiteral("123.4");
    writeYo(dir.path(), kRaceId, yo);
    ASSERT_TRUE(pat->readRaceOdds(1, 11));
    const RaceOdds* f = pat->raceOdds();
    EXPECT_TRUE(f->existZo() && f->existUo() && f->existSo() && f->existYo());
    EXPECT_EQ(f->race(), pat->meeting(1)->race(11));
    EXPECT_EQ(f->winOdds()->odds(3), QStringLiteral("3.0"));
    EXPECT_EQ(f->quinellaOdds()->odds(2, 7), QStringLiteral("207.0"));
    EXPECT_EQ(f->exactaOdds()->odds(2, 5), QStringLiteral("45.1"));
    EXPECT_EQ(f->trioOdds(2)->odds(3, 1), QStringLiteral("123.4"));
    EXPECT_FALSE(f->quinellaFromBrackets());
}

TEST_F(AggregateTest, WithoutQuinellaSaleTheBracketOddsStandIn) {
    day(1 | 2 | 4); // win, place, bracket quinella
    // 10 runners: brackets 7 = {7, 8}, 8 = {9, 10}; horse 8 scratched, both horses of bracket 8 too.
    writeZo(dir.path(), kRaceId, zo(10, {8, 9, 10}));
    ASSERT_TRUE(pat->readRaceOdds(1, 11));
    const RaceOdds* f = pat->raceOdds();
    EXPECT_TRUE(f->existUo());
    EXPECT_FALSE(f->existSo());
    EXPECT_FALSE(f->existYo());
    EXPECT_TRUE(f->quinellaFromBrackets());
    EXPECT_EQ(f->representativeHorse(7), 7); // the second horse is scratched
    EXPECT_EQ(f->representativeHorse(8), 0); // all scratched
    const auto q = f->quinellaOdds();
    EXPECT_EQ(q->tosu(), 10);
    EXPECT_EQ(q->odds(1, 7), QStringLiteral("17.5")); // bracket pair (1, 7)
    EXPECT_EQ(q->odds(7, 1), QStringLiteral("17.5"));
    EXPECT_EQ(q->odds(3, 6), QStringLiteral("36.5"));
    EXPECT_EQ(q->odds(1, 8), QString()); // horse 8 represents nothing
    EXPECT_EQ(q->odds(1, 9), QString()); // bracket 8 has no representative
    EXPECT_EQ(f->wideOdds()->tosu(), 0); // wide comes only with a quinella file
}

TEST_F(AggregateTest, MissingFiles) {
    day(127);
    // No win/place/bracket file: nothing available.
    EXPECT_FALSE(pat->readRaceOdds(1, 11));
    ASSERT_NE(pat->raceOdds(), nullptr);
    EXPECT_FALSE(pat->raceOdds()->existZo());
    EXPECT_EQ(pat->raceOdds()->entryTosu(), 0);
    EXPECT_THROW(pat->raceOdds()->winOdds(), AppError);

    // Quinella on sale but its file missing: the single-runner tables stay, nothing else is read.
    writeZo(dir.path(), kRaceId, zo(12));
    SoFile so;
    so.header = raceHeader(12);
    writeSo(dir.path(), kRaceId, so);
    EXPECT_FALSE(pat->readRaceOdds(1, 11));
    const RaceOdds* f = pat->raceOdds();
    EXPECT_TRUE(f->existZo());
    EXPECT_FALSE(f->existUo() || f->existSo() || f->existYo());
    EXPECT_EQ(f->winOdds()->odds(12), QStringLiteral("12.0"));

    // Exacta and trio files missing: only those readers are absent.
    writeUo(dir.path(), kRaceId, uo(12));
    QFile::remove(dir.file(QStringLiteral("SO-58B.JRA")));
    EXPECT_TRUE(pat->readRaceOdds(1, 11));
    EXPECT_TRUE(pat->raceOdds()->existUo());
    EXPECT_FALSE(pat->raceOdds()->existSo());
    EXPECT_FALSE(pat->raceOdds()->existYo());
    EXPECT_THROW(pat->raceOdds()->trioOdds(1), AppError);
}

TEST_F(AggregateTest, ARaceNotOnSaleKeepsThePreviousAggregate) {
    day(127);
    writeZo(dir.path(), kRaceId, zo(12));
    writeUo(dir.path(), kRaceId, uo(12));
    ASSERT_TRUE(pat->readRaceOdds(1, 11));
    const RaceOdds* before = pat->raceOdds();
    EXPECT_FALSE(pat->readRaceOdds(1, 1));
    EXPECT_EQ(pat->raceOdds(), before);
    EXPECT_THROW(pat->readRaceOdds(1, 13), AppError);
    EXPECT_THROW(pat->readRaceOdds(2, 1), AppError);
}

TEST_F(AggregateTest, AnOddsFileOfAnotherDayIsNotRead) {
    day(127);
    ZoFile z = zo(12);
    z.header.date = QStringLiteral("20260404");
    writeZo(dir.path(), kRaceId, z);
    EXPECT_FALSE(pat->readRaceOdds(1, 11));
    EXPECT_FALSE(pat->raceOdds()->existZo());
}
