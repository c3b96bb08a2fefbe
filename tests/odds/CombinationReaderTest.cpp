#include "odds/ExactaOddsReader.h"
#include "odds/QuinellaOddsReader.h"
#include "odds/TrioOddsReader.h"

#include "clientfiles/OddsFiles.h"
#include "core/AppError.h"
#include "core/Bytes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace OddsFiles;

namespace {

const QString kDate = QStringLiteral("20240525");
const QString kRaceId = QStringLiteral("5BB");

// Odds of their own for every combination: a kind digit, then the numbers ("13.10" is quinella (3, 10)).
QString PairText(int kind, int i, int j) {
    return QStringLiteral("%1%2.%3").arg(kind).arg(i).arg(j);
}
// Trio (i, k, l) as "(i * 20 + k).l", so even (16, 17, 18) fits the six characters: "337.18".
QString TrioText(int i, int k, int l) {
    return QStringLiteral("%1.%2").arg(i * 20 + k).arg(l);
}
QString Field6(const QString& text) {
    return text.rightJustified(6, u' ');
}

Header RaceHeader(qint16 tosu) {
    Header h;
    h.date = kDate;
    h.tosu = tosu;
    return h;
}

UoFile FullUo(qint16 tosu) {
    UoFile f;
    f.header = RaceHeader(tosu);
    for (int i = 1; i <= tosu; ++i) {
        for (int j = i + 1; j <= tosu; ++j) {
            f.pairs[{i, j}] = {PairText(1, i, j), PairText(2, i, j), PairText(3, i, j)};
        }
    }
    return f;
}

SoFile FullSo(qint16 tosu) {
    SoFile f;
    f.header = RaceHeader(tosu);
    for (int i = 1; i <= tosu; ++i) {
        for (int j = 1; j <= tosu; ++j) {
            if (i != j) {
                f.exacta[{i, j}] = PairText(4, i, j);
            }
        }
    }
    return f;
}

YoFile FullYo(qint16 tosu) {
    YoFile f;
    f.header = RaceHeader(tosu);
    for (int i = 1; i <= tosu; ++i) {
        for (int k = i + 1; k <= tosu; ++k) {
            for (int l = k + 1; l <= tosu; ++l) {
                f.trio[{i, k, l}] = TrioText(i, k, l);
            }
        }
    }
    return f;
}

TEST(UoReaderTest, TenRunnersRead45RecordsFromByte145To1269) {
    const QByteArray b = UoBytes(FullUo(10));
    ASSERT_EQ(b.size(), 3991);
    EXPECT_EQ(Bytes::Text(b, 145 + 7, 18), QStringLiteral("  11.2  21.2  31.2"));
    EXPECT_EQ(Bytes::Text(b, 1269 - 17, 18), QStringLiteral(" 19.10 29.10 39.10"));
    EXPECT_EQ(Bytes::Cut(b, 1270, 3970 - 1270), QByteArray(3970 - 1270, ' '));

    QuinellaOddsReader uo;
    ASSERT_TRUE(uo.GetDataFromBytes(b, kDate));
    const std::array tables = {uo.objOddsQuinella(), uo.objOddsWide(), uo.objOddsWideMax()};
    for (int kind = 1; kind <= 3; ++kind) {
        const auto& t = tables[kind - 1];
        ASSERT_EQ(t->Tosu(), 10);
        for (int i = 1; i <= 10; ++i) {
            EXPECT_EQ(t->Odds(i, i), QString()); // the diagonal stays empty
            for (int j = i + 1; j <= 10; ++j) {
                EXPECT_EQ(t->Odds(i, j), PairText(kind, i, j));
                EXPECT_EQ(t->Odds(j, i), PairText(kind, i, j));
            }
        }
    }
}

TEST(UoReaderTest, EighteenRunnersFillTheAreaUpToThePoolTotals) {
    UoFile f = FullUo(18);
    f.quinellaVotes = 987654321;
    f.wideVotes = 5;
    const QByteArray b = UoBytes(f);
    EXPECT_EQ(Bytes::Text(b, 3970 - 6, 6), QStringLiteral("317.18"));
    EXPECT_EQ(Bytes::Text(b, 3970, 22), QStringLiteral("  987654321          5"));
    QuinellaOddsReader uo;
    ASSERT_TRUE(uo.GetDataFromBytes(b, kDate));
    EXPECT_EQ(uo.objOddsWideMax()->Odds(18, 17), PairText(3, 17, 18));
    EXPECT_EQ(uo.objOddsQuinella()->Odds(1, 18), PairText(1, 1, 18));
}

// The quinella field decides for the whole record: a void or blank quinella leaves the wide cells empty
// even where the record holds wide odds; "no odds yet" is replaced in every field.
TEST(UoReaderTest, QuinellaFieldDecidesAndNoOddsYetIsReplaced) {
    UoFile f = FullUo(6);
    f.pairs[{1, 2}].quinella = kScratched;
    f.pairs[{3, 5}].quinella = QString();
    f.pairs[{2, 4}] = {kNotYet, kNotYet, kNotYet};
    f.pairs[{4, 6}].wideMin = QString();
    f.pairs[{5, 6}].wideMax = kNotYet;
    QuinellaOddsReader uo;
    ASSERT_TRUE(uo.GetDataFromBytes(UoBytes(f), kDate));
    for (const auto& t : {uo.objOddsQuinella(), uo.objOddsWide(), uo.objOddsWideMax()}) {
        EXPECT_EQ(t->Odds(1, 2), QString());
        EXPECT_EQ(t->Odds(2, 1), QString());
        EXPECT_EQ(t->Odds(5, 3), QString());
        EXPECT_EQ(t->Odds(2, 4), QStringLiteral("9999.9"));
        EXPECT_EQ(t->Odds(4, 2), QStringLiteral("9999.9"));
    }
    EXPECT_EQ(uo.objOddsQuinella()->Odds(4, 6), PairText(1, 4, 6));
    EXPECT_EQ(uo.objOddsWide()->Odds(4, 6), QString());
    EXPECT_EQ(uo.objOddsWideMax()->Odds(6, 4), PairText(3, 4, 6));
    EXPECT_EQ(uo.objOddsWide()->Odds(5, 6), PairText(2, 5, 6));
    EXPECT_EQ(uo.objOddsWideMax()->Odds(5, 6), QStringLiteral("9999.9"));
}

// A race without quinella sale gets its quinella table filled by hand on a reader that read no file.
TEST(UoReaderTest, FreshReaderTablesCanBeSizedAndFilled) {
    QuinellaOddsReader uo;
    const auto q = uo.objOddsQuinella();
    EXPECT_EQ(q->Tosu(), 0);
    q->setTosu(7);
    q->Initialize();
    q->setOdds(2, 7, QStringLiteral(" 15.5"));
    EXPECT_EQ(uo.objOddsQuinella()->Odds(2, 7), QStringLiteral("15.5"));
    EXPECT_EQ(uo.objOddsWide()->Tosu(), 0);
}

TEST(SoReaderTest, ThreeRunnersReadSixRecordsInOrder) {
    const QByteArray b = SoBytes(FullSo(3));
    ASSERT_EQ(b.size(), 3825);
    const std::pair<int, int> order[] = {{1, 2}, {1, 3}, {2, 1}, {2, 3}, {3, 1}, {3, 2}};
    for (qsizetype r = 0; r < 6; ++r) {
        const auto [first, second] = order[r];
        EXPECT_EQ(Bytes::Text(b, 143 + 12 * r + 6, 6), Field6(PairText(4, first, second)));
    }
    EXPECT_EQ(Bytes::Cut(b, 143 + 12 * 6, 12), QByteArray(12, ' '));

    ExactaOddsReader so;
    ASSERT_TRUE(so.GetDataFromBytes(b, kDate));
    const auto t = so.objOddsExacta();
    ASSERT_EQ(t->Tosu(), 3);
    for (const auto& [first, second] : order) {
        EXPECT_EQ(t->Odds(first, second), PairText(4, first, second));
    }
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(t->Odds(n, n), QString());
    }
}

TEST(SoReaderTest, EighteenRunnersAndTheSpecialTexts) {
    SoFile f = FullSo(18);
    f.exacta[{2, 5}] = kNotYet;
    f.exacta[{5, 2}] = kScratched;
    f.exacta[{9, 1}] = QString();
    f.exactaVotes = 42;
    const QByteArray b = SoBytes(f);
    EXPECT_EQ(Bytes::Text(b, 3815 - 6, 6), QStringLiteral("418.17"));
    EXPECT_EQ(Bytes::Text(b, 3815, 11), QStringLiteral("         42"));
    ExactaOddsReader so;
    ASSERT_TRUE(so.GetDataFromBytes(b, kDate));
    const auto t = so.objOddsExacta();
    EXPECT_EQ(t->Odds(2, 5), QStringLiteral("9999.9"));
    EXPECT_EQ(t->Odds(5, 2), QString());
    EXPECT_EQ(t->Odds(9, 1), QString());
    EXPECT_EQ(t->Odds(1, 9), PairText(4, 1, 9));
    EXPECT_EQ(t->Odds(18, 17), PairText(4, 18, 17));
}

// Slice n, cell (a, b): the trio {n, a, b}, or nothing when the three are not distinct.
void ExpectSlices(const TrioOddsReader& yo, int tosu, const YoFile& f) {
    ASSERT_EQ(yo.TrioCount(), tosu);
    for (int n = 1; n <= tosu; ++n) {
        const auto slice = yo.objOddsTrio(n);
        ASSERT_EQ(slice->Tosu(), tosu);
        for (int a = 1; a <= tosu; ++a) {
            for (int b = 1; b <= tosu; ++b) {
                QString expected;
                if (n != a && n != b && a != b) {
                    std::array<int, 3> t = {n, a, b};
                    std::sort(t.begin(), t.end());
                    const auto it = f.trio.find({t[0], t[1], t[2]});
                    expected = it == f.trio.end() ? QString() : it->second;
                }
                EXPECT_EQ(slice->Odds(a, b), expected) << n << ": " << a << "," << b;
            }
        }
    }
}

TEST(YoReaderTest, FourRunnersReadFourRecordsIntoSixCellsEach) {
    const YoFile f = FullYo(4);
    const QByteArray b = YoBytes(f);
    ASSERT_EQ(b.size(), 12393);
    const QString order[] = {TrioText(1, 2, 3), TrioText(1, 2, 4), TrioText(1, 3, 4), TrioText(2, 3, 4)};
    for (qsizetype r = 0; r < 4; ++r) {
        EXPECT_EQ(Bytes::Text(b, 143 + 15 * r + 9, 6), Field6(order[r]));
    }
    TrioOddsReader yo;
    ASSERT_TRUE(yo.GetDataFromBytes(b, kDate));
    const auto slice2 = yo.objOddsTrio(2);
    EXPECT_EQ(slice2->Odds(1, 3), TrioText(1, 2, 3));
    EXPECT_EQ(slice2->Odds(3, 1), TrioText(1, 2, 3));
    EXPECT_EQ(slice2->Odds(1, 4), TrioText(1, 2, 4));
    EXPECT_EQ(slice2->Odds(4, 1), TrioText(1, 2, 4));
    EXPECT_EQ(slice2->Odds(3, 4), TrioText(2, 3, 4));
    EXPECT_EQ(slice2->Odds(4, 3), TrioText(2, 3, 4));
    ExpectSlices(yo, 4, f);
}

TEST(YoReaderTest, EighteenRunnersFillTheAreaUpToThePoolTotal) {
    YoFile f = FullYo(18);
    const QByteArray full = YoBytes(f);
    EXPECT_EQ(Bytes::Text(full, 143 + 9, 6), Field6(TrioText(1, 2, 3)));
    EXPECT_EQ(Bytes::Text(full, 12383 - 6, 6), TrioText(16, 17, 18));
    f.trio[{1, 2, 3}] = kNotYet;
    f.trio[{4, 9, 17}] = kScratched;
    f.trio[{16, 17, 18}] = QString();
    f.trioVotes = 7;
    const QByteArray b = YoBytes(f);
    EXPECT_EQ(Bytes::Text(b, 12383 - 6, 17), QStringLiteral("                7"));
    TrioOddsReader yo;
    ASSERT_TRUE(yo.GetDataFromBytes(b, kDate));
    f.trio[{1, 2, 3}] = QStringLiteral("9999.9");
    f.trio.erase({4, 9, 17});
    f.trio.erase({16, 17, 18});
    ExpectSlices(yo, 18, f);
}

TEST(YoReaderTest, FewerThanThreeRunnersGiveEmptySlices) {
    for (qint16 tosu : {1, 2}) {
        SCOPED_TRACE(tosu);
        TrioOddsReader yo;
        ASSERT_TRUE(yo.GetDataFromBytes(YoBytes(FullYo(tosu)), kDate));
        ExpectSlices(yo, tosu, YoFile());
    }
}

TEST(YoReaderTest, SecondReadStartsFromEmptySlices) {
    TrioOddsReader yo;
    ASSERT_TRUE(yo.GetDataFromBytes(YoBytes(FullYo(5)), kDate));
    const auto oldSlice = yo.objOddsTrio(5);
    YoFile second = FullYo(4);
    second.trio[{1, 2, 3}] = QStringLiteral("77.7");
    ASSERT_TRUE(yo.GetDataFromBytes(YoBytes(second), kDate));
    ExpectSlices(yo, 4, second);
    EXPECT_THROW(yo.objOddsTrio(5), AppError);
    EXPECT_EQ(oldSlice->Odds(1, 2), TrioText(1, 2, 5)); // a slice taken earlier keeps its odds
}

TEST(YoReaderTest, SliceIndexOutsideRaisesTheIndexError) {
    TrioOddsReader yo;
    for (int n : {0, 1}) {
        EXPECT_THROW(yo.objOddsTrio(n), AppError);
    }
    ASSERT_TRUE(yo.GetDataFromBytes(YoBytes(FullYo(6)), kDate));
    for (int n : {-1, 0, 7}) {
        try {
            yo.objOddsTrio(n);
            ADD_FAILURE() << n;
        } catch (const AppError& e) {
            EXPECT_EQ(e.Number(), ErrNo::SubscriptOutOfRange);
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
        UoFile uoBad = FullUo(8);
        SoFile soBad = FullSo(8);
        YoFile yoBad = FullYo(8);
        uoBad.header = soBad.header = yoBad.header = Header{.date = c.date, .tosu = c.tosu};
        QuinellaOddsReader uo;
        ExactaOddsReader so;
        TrioOddsReader yo;
        EXPECT_FALSE(uo.GetDataFromBytes(UoBytes(uoBad), kDate));
        EXPECT_FALSE(so.GetDataFromBytes(SoBytes(soBad), kDate));
        EXPECT_FALSE(yo.GetDataFromBytes(YoBytes(yoBad), kDate));
        EXPECT_EQ(uo.objOddsQuinella()->Tosu(), 0);
        EXPECT_EQ(so.objOddsExacta()->Tosu(), 0);
        EXPECT_EQ(yo.TrioCount(), 0);

        ASSERT_TRUE(uo.GetDataFromBytes(UoBytes(FullUo(5)), kDate));
        ASSERT_TRUE(so.GetDataFromBytes(SoBytes(FullSo(5)), kDate));
        ASSERT_TRUE(yo.GetDataFromBytes(YoBytes(FullYo(5)), kDate));
        EXPECT_FALSE(uo.GetDataFromBytes(UoBytes(uoBad), kDate));
        EXPECT_FALSE(so.GetDataFromBytes(SoBytes(soBad), kDate));
        EXPECT_FALSE(yo.GetDataFromBytes(YoBytes(yoBad), kDate));
        EXPECT_EQ(uo.objOddsWide()->Odds(4, 5), PairText(2, 4, 5));
        EXPECT_EQ(so.objOddsExacta()->Odds(5, 4), PairText(4, 5, 4));
        EXPECT_EQ(yo.TrioCount(), 5);
        EXPECT_EQ(yo.objOddsTrio(3)->Odds(5, 4), TrioText(3, 4, 5));
    }
}

TEST(CombinationReaderTest, ReadsFromTheFolder) {
    TempFolder dir;
    ASSERT_TRUE(WriteUo(dir.Path(), kRaceId, FullUo(9)));
    ASSERT_TRUE(WriteSo(dir.Path(), kRaceId, FullSo(9)));
    ASSERT_TRUE(WriteYo(dir.Path(), kRaceId, FullYo(9)));
    QuinellaOddsReader uo;
    ExactaOddsReader so;
    TrioOddsReader yo;
    uo.setPathName(dir.Path().chopped(1));
    so.setPathName(dir.Path());
    yo.setPathName(dir.Path());
    uo.setFileName(QStringLiteral("5BA"));
    EXPECT_FALSE(uo.GetData(kDate)); // another race's file is not there
    uo.setFileName(kRaceId);
    so.setFileName(kRaceId);
    yo.setFileName(kRaceId);
    ASSERT_TRUE(uo.GetData(kDate));
    ASSERT_TRUE(so.GetData(kDate));
    ASSERT_TRUE(yo.GetData(kDate));
    EXPECT_EQ(uo.objOddsQuinella()->Odds(9, 8), PairText(1, 8, 9));
    EXPECT_EQ(so.objOddsExacta()->Odds(9, 8), PairText(4, 9, 8));
    EXPECT_EQ(yo.objOddsTrio(9)->Odds(8, 7), TrioText(7, 8, 9));
}

} // namespace
