#include "odds/ExactaOddsReader.h"
#include "odds/QuinellaOddsReader.h"
#include "odds/TrioOddsReader.h"

#include "clientfiles/OddsFiles.h"
#include "core/AppError.h"
#include "core/Bytes.h"
#include "support/ReadOdds.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace OddsFiles;

namespace {

const QString kDate = QStringLiteral("20240525");
const QString kRaceId = QStringLiteral("5BB");

// Odds of their own for every combination: a kind digit, then the numbers ("13.10" is quinella (3, 10)).
QString pairText(int kind, int i, int j) {
    return QStringLiteral("%1%2.%3").arg(kind).arg(i).arg(j);
}
// Trio (i, k, l) as "(i * 20 + k).l", so even (16, 17, 18) fits the six characters: "337.18".
QString trioText(int i, int k, int l) {
    return QStringLiteral("%1.%2").arg(i * 20 + k).arg(l);
}
QString field6(const QString& text) {
    return text.rightJustified(6, u' ');
}

Header raceHeader(qint16 tosu) {
    Header h;
    h.date = kDate;
    h.tosu = tosu;
    return h;
}

UoFile fullUo(qint16 tosu) {
    UoFile f;
    f.header = raceHeader(tosu);
    for (int i = 1; i <= tosu; ++i) {
        for (int j = i + 1; j <= tosu; ++j) {
            f.pairs[{i, j}] = {pairText(1, i, j), pairText(2, i, j), pairText(3, i, j)};
        }
    }
    return f;
}

SoFile fullSo(qint16 tosu) {
    SoFile f;
    f.header = raceHeader(tosu);
    for (int i = 1; i <= tosu; ++i) {
        for (int j = 1; j <= tosu; ++j) {
            if (i != j) {
                f.exacta[{i, j}] = pairText(4, i, j);
            }
        }
    }
    return f;
}

YoFile fullYo(qint16 tosu) {
    YoFile f;
    f.header = raceHeader(tosu);
    for (int i = 1; i <= tosu; ++i) {
        for (int k = i + 1; k <= tosu; ++k) {
            for (int l = k + 1; l <= tosu; ++l) {
                f.trio[{i, k, l}] = trioText(i, k, l);
            }
        }
    }
    return f;
}

TEST(UoReaderTest, TenRunnersRead45RecordsFromByte145To1269) {
    const QByteArray b = uoBytes(fullUo(10));
    ASSERT_EQ(b.size(), 3991);
    EXPECT_EQ(Bytes::text(b, 145 + 7, 18), QStringLiteral("  11.2  21.2  31.2"));
    EXPECT_EQ(Bytes::text(b, 1269 - 17, 18), QStringLiteral(" 19.10 29.10 39.10"));
    EXPECT_EQ(Bytes::cut(b, 1270, 3970 - 1270), QByteArray(3970 - 1270, ' '));

    QuinellaOddsReader uo;
    ASSERT_TRUE(uo.readBytes(b, kDate));
    const std::array tables = {uo.quinellaOdds(), uo.wideOdds(), uo.wideMaxOdds()};
    for (int kind = 1; kind <= 3; ++kind) {
        const auto& t = tables[kind - 1];
        ASSERT_EQ(t->tosu(), 10);
        for (int i = 1; i <= 10; ++i) {
            EXPECT_EQ(t->odds(i, i), QString()); // the diagonal stays empty
            for (int j = i + 1; j <= 10; ++j) {
                EXPECT_EQ(t->odds(i, j), pairText(kind, i, j));
                EXPECT_EQ(t->odds(j, i), pairText(kind, i, j));
            }
        }
    }
}

TEST(UoReaderTest, EighteenRunnersFillTheAreaUpToThePoolTotals) {
    UoFile f = fullUo(18);
    f.quinellaVotes = 987654321;
    f.wideVotes = 5;
    const QByteArray b = uoBytes(f);
    EXPECT_EQ(Bytes::text(b, 3970 - 6, 6), QStringLiteral("317.18"));
    EXPECT_EQ(Bytes::text(b, 3970, 22), QStringLiteral("  987654321          5"));
    QuinellaOddsReader uo;
    ASSERT_TRUE(uo.readBytes(b, kDate));
    EXPECT_EQ(uo.wideMaxOdds()->odds(18, 17), pairText(3, 17, 18));
    EXPECT_EQ(uo.quinellaOdds()->odds(1, 18), pairText(1, 1, 18));
}

// The quinella field decides for the whole record: a void or blank quinella leaves the wide cells empty
// even where the record holds wide odds; "no odds yet" is replaced in every field.
TEST(UoReaderTest, QuinellaFieldDecidesAndNoOddsYetIsReplaced) {
    UoFile f = fullUo(6);
    f.pairs[{1, 2}].quinella = kScratched;
    f.pairs[{3, 5}].quinella = QString();
    f.pairs[{2, 4}] = {kNotYet, kNotYet, kNotYet};
    f.pairs[{4, 6}].wideMin = QString();
    f.pairs[{5, 6}].wideMax = kNotYet;
    QuinellaOddsReader uo;
    ASSERT_TRUE(uo.readBytes(uoBytes(f), kDate));
    for (const auto& t : {uo.quinellaOdds(), uo.wideOdds(), uo.wideMaxOdds()}) {
        EXPECT_EQ(t->odds(1, 2), QString());
        EXPECT_EQ(t->odds(2, 1), QString());
        EXPECT_EQ(t->odds(5, 3), QString());
        EXPECT_EQ(t->odds(2, 4), QStringLiteral("9999.9"));
        EXPECT_EQ(t->odds(4, 2), QStringLiteral("9999.9"));
    }
    EXPECT_EQ(uo.quinellaOdds()->odds(4, 6), pairText(1, 4, 6));
    EXPECT_EQ(uo.wideOdds()->odds(4, 6), QString());
    EXPECT_EQ(uo.wideMaxOdds()->odds(6, 4), pairText(3, 4, 6));
    EXPECT_EQ(uo.wideOdds()->odds(5, 6), pairText(2, 5, 6));
    EXPECT_EQ(uo.wideMaxOdds()->odds(5, 6), QStringLiteral("9999.9"));
}

// A race without quinella sale gets its quinella table filled by hand on a reader that read no file.
TEST(UoReaderTest, FreshReaderTablesCanBeSizedAndFilled) {
    QuinellaOddsReader uo;
    const auto q = uo.quinellaOdds();
    EXPECT_EQ(q->tosu(), 0);
    q->setTosu(7);
    q->initialize();
    q->setOdds(2, 7, QStringLiteral(" 15.5"));
    EXPECT_EQ(uo.quinellaOdds()->odds(2, 7), QStringLiteral("15.5"));
    EXPECT_EQ(uo.wideOdds()->tosu(), 0);
}

TEST(SoReaderTest, ThreeRunnersReadSixRecordsInOrder) {
    const QByteArray b = soBytes(fullSo(3));
    ASSERT_EQ(b.size(), 3825);
    const std::pair<int, int> order[] = {{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}};
    for (qsizetype r = 0; r < 6; ++r) {
        const auto [first, second] = order[r];
        EXPECT_EQ(Bytes::text(b, 143 + 12 * r + 6, 6), field6(pairText(4, first, second)));
    }
    EXPECT_EQ(Bytes::cut(b, 143 + 12 * 6, 12), QByteArray(12, ' '));

    ExactaOddsReader so;
    ASSERT_TRUE(so.readBytes(b, kDate));
    const auto t = so.exactaOdds();
    ASSERT_EQ(t->tosu(), 3);
    for (const auto& [first, second] : order) {
        EXPECT_EQ(t->odds(first, second), pairText(4, first, second));
    }
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(t->odds(n, n), QString());
    }
}

TEST(SoReaderTest, EighteenRunnersAndTheSpecialTexts) {
    SoFile f = fullSo(18);
    f.exacta[{2, 5}] = kNotYet;
    f.exacta[{5, 2}] = kScratched;
    f.exacta[{9, 1}] = QString();
    f.exactaVotes = 42;
    const QByteArray b = soBytes(f);
    EXPECT_EQ(Bytes::text(b, 3815 - 6, 6), QStringLiteral("418.17"));
    EXPECT_EQ(Bytes::text(b, 3815, 11), QStringLiteral("         42"));
    ExactaOddsReader so;
    ASSERT_TRUE(so.readBytes(b, kDate));
    const auto t = so.exactaOdds();
    EXPECT_EQ(t->odds(2, 5), QStringLiteral("9999.9"));
    EXPECT_EQ(t->odds(5, 2), QString());
    EXPECT_EQ(t->odds(9, 1), QString());
    EXPECT_EQ(t->odds(1, 9), pairText(4, 1, 9));
    EXPECT_EQ(t->odds(18, 17), pairText(4, 18, 17));
}

// Slice n, cell (a, b): the trio {n, a, b}, or nothing when the three are not distinct.
void expectSlices(const TrioOddsReader& yo, int tosu, const YoFile& f) {
    ASSERT_EQ(yo.trioCount(), tosu);
    for (int n = 1; n <= tosu; ++n) {
        const auto slice = yo.trioOdds(n);
        ASSERT_EQ(slice->tosu(), tosu);
        for (int a = 1; a <= tosu; ++a) {
            for (int b = 1; b <= tosu; ++b) {
                QString expected;
                if (n != a && n != b && a != b) {
                    std::array<int, 3> t = {n, a, b};
                    std::sort(t.begin(), t.end());
                    const auto it = f.trio.find({t[0], t[1], t[2]});
                    expected = it == f.trio.end() ? QString() : it->second;
                }
                EXPECT_EQ(slice->odds(a, b), expected) << n << ": " << a << "," << b;
            }
        }
    }
}

TEST(YoReaderTest, FourRunnersReadFourRecordsIntoSixCellsEach) {
    const YoFile f = fullYo(4);
    const QByteArray b = yoBytes(f);
    ASSERT_EQ(b.size(), 12393);
    const QString order[] = {trioText(1, 2, 3), trioText(1, 2, 4), trioText(1, 3, 4), trioText(2, 3, 4)};
    for (qsizetype r = 0; r < 4; ++r) {
        EXPECT_EQ(Bytes::text(b, 143 + 15 * r + 9, 6), field6(order[r]));
    }
    TrioOddsReader yo;
    ASSERT_TRUE(yo.readBytes(b, kDate));
    const auto slice2 = yo.trioOdds(2);
    EXPECT_EQ(slice2->odds(1, 3), trioText(1, 2, 3));
    EXPECT_EQ(slice2->odds(3, 1), trioText(1, 2, 3));
    EXPECT_EQ(slice2->odds(1, 4), trioText(1, 2, 4));
    EXPECT_EQ(slice2->odds(4, 1), trioText(1, 2, 4));
    EXPECT_EQ(slice2->odds(3, 4), trioText(2, 3, 4));
    EXPECT_EQ(slice2->odds(4, 3), trioText(2, 3, 4));
    expectSlices(yo, 4, f);
}

TEST(YoReaderTest, EighteenRunnersFillTheAreaUpToThePoolTotal) {
    YoFile f = fullYo(18);
    const QByteArray full = yoBytes(f);
    EXPECT_EQ(Bytes::text(full, 143 + 9, 6), field6(trioText(1, 2, 3)));
    EXPECT_EQ(Bytes::text(full, 12383 - 6, 6), trioText(16, 17, 18));
    f.trio[{1, 2, 3}] = kNotYet;
    f.trio[{4, 9, 17}] = kScratched;
    f.trio[{16, 17, 18}] = QString();
    f.trioVotes = 7;
    const QByteArray b = yoBytes(f);
    EXPECT_EQ(Bytes::text(b, 12383 - 6, 17), QStringLiteral("                7"));
    TrioOddsReader yo;
    ASSERT_TRUE(yo.readBytes(b, kDate));
    f.trio[{1, 2, 3}] = QStringLiteral("9999.9");
    f.trio.erase({4, 9, 17});
    f.trio.erase({16, 17, 18});
    expectSlices(yo, 18, f);
}

TEST(YoReaderTest, FewerThanThreeRunnersGiveEmptySlices) {
    for (qint16 tosu : {1, 2}) {
        SCOPED_TRACE(tosu);
        TrioOddsReader yo;
        ASSERT_TRUE(yo.readBytes(yoBytes(fullYo(tosu)), kDate));
        expectSlices(yo, tosu, YoFile());
    }
}

TEST(YoReaderTest, SecondReadStartsFromEmptySlices) {
    TrioOddsReader yo;
    ASSERT_TRUE(yo.readBytes(yoBytes(fullYo(5)), kDate));
    const auto oldSlice = yo.trioOdds(5);
    YoFile second = fullYo(4);
    second.trio[{1, 2, 3}] = QStringLiteral("77.7");
    ASSERT_TRUE(yo.readBytes(yoBytes(second), kDate));
    expectSlices(yo, 4, second);
    EXPECT_THROW(yo.trioOdds(5), AppError);
    EXPECT_EQ(oldSlice->odds(1, 2), trioText(1, 2, 5)); // a slice taken earlier keeps its odds
}

TEST(YoReaderTest, SliceIndexOutsideRaisesTheIndexError) {
    TrioOddsReader yo;
    for (int n : {0, 1}) {
        EXPECT_THROW(yo.trioOdds(n), AppError);
    }
    ASSERT_TRUE(yo.readBytes(yoBytes(fullYo(6)), kDate));
    for (int n : {-1, 0, 7}) {
        try {
            yo.trioOdds(n);
            ADD_FAILURE() << n;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), ErrNo::SubscriptOutOfRange);
        }
    }
}

// Every reader: wrong day, no runners or more than 18: false, and the tables of an earlier read stay.
TEST(CombinationReaderTest, UnreadableFilesChangeNothing) {
    struct Case {
        const char* name;
        QString date;
        qint16 tosu;
    };
    const Case cases[] = {
        {"other day", QStringLiteral("20240518"), 8},
        {"no runners", kDate, 0},
        {"19 runners", kDate, 19},
        {"99 runners", kDate, 99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UoFile uoBad = fullUo(8);
        SoFile soBad = fullSo(8);
        YoFile yoBad = fullYo(8);
        uoBad.header = soBad.header = yoBad.header = Header{.date = c.date, .tosu = c.tosu};
        QuinellaOddsReader uo;
        ExactaOddsReader so;
        TrioOddsReader yo;
        EXPECT_FALSE(uo.readBytes(uoBytes(uoBad), kDate));
        EXPECT_FALSE(so.readBytes(soBytes(soBad), kDate));
        EXPECT_FALSE(yo.readBytes(yoBytes(yoBad), kDate));
        EXPECT_EQ(uo.quinellaOdds()->tosu(), 0);
        EXPECT_EQ(so.exactaOdds()->tosu(), 0);
        EXPECT_EQ(yo.trioCount(), 0);

        ASSERT_TRUE(uo.readBytes(uoBytes(fullUo(5)), kDate));
        ASSERT_TRUE(so.readBytes(soBytes(fullSo(5)), kDate));
        ASSERT_TRUE(yo.readBytes(yoBytes(fullYo(5)), kDate));
        EXPECT_FALSE(uo.readBytes(uoBytes(uoBad), kDate));
        EXPECT_FALSE(so.readBytes(soBytes(soBad), kDate));
        EXPECT_FALSE(yo.readBytes(yoBytes(yoBad), kDate));
        EXPECT_EQ(uo.wideOdds()->odds(4, 5), pairText(2, 4, 5));
        EXPECT_EQ(so.exactaOdds()->odds(5, 4), pairText(4, 5, 4));
        EXPECT_EQ(yo.trioCount(), 5);
        EXPECT_EQ(yo.trioOdds(3)->odds(5, 4), trioText(3, 4, 5));
    }
}

TEST(CombinationReaderTest, ReadsFromTheFolder) {
    TempFolder dir;
    ASSERT_TRUE(writeUo(dir.path(), kRaceId, fullUo(9)));
    ASSERT_TRUE(writeSo(dir.path(), kRaceId, fullSo(9)));
    ASSERT_TRUE(writeYo(dir.path(), kRaceId, fullYo(9)));
    EXPECT_EQ(readOdds<QuinellaOddsReader>(dir.path(), QStringLiteral("5BA"), kDate),
              nullptr); // another race's file is not there
    const auto uo = readOdds<QuinellaOddsReader>(dir.path().chopped(1), kRaceId, kDate);
    const auto so = readOdds<ExactaOddsReader>(dir.path(), kRaceId, kDate);
    const auto yo = readOdds<TrioOddsReader>(dir.path(), kRaceId, kDate);
    ASSERT_TRUE(uo && so && yo);
    EXPECT_EQ(uo->quinellaOdds()->odds(9, 8), pairText(1, 8, 9));
    EXPECT_EQ(so->exactaOdds()->odds(9, 8), pairText(4, 9, 8));
    EXPECT_EQ(yo->trioOdds(9)->odds(8, 7), trioText(7, 8, 9));
}

} // namespace
