#include "odds/ExactaOddsReader.h"
#include "odds/QuinellaOddsReader.h"
#include "odds/TrioOddsReader.h"
#include "odds/WinPlaceOddsReader.h"

#include "clientfiles/OddsFiles.h"
#include "core/AppError.h"
#include "support/ReadOdds.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QRandomGenerator>

#include <array>

#include <gtest/gtest.h>

using namespace OddsFiles;

namespace {

const QString kDate = QStringLiteral("20240525");

// Every cell of every table must be readable whatever the reader made of the bytes.
void readAll(const OddsList& t) {
    for (int n = 1; n <= t.tosu(); ++n) {
        (void)t.odds(n);
    }
}
void readAll(const OddsMatrix& t) {
    for (int i = 1; i <= t.tosu(); ++i) {
        for (int j = 1; j <= t.tosu(); ++j) {
            (void)t.odds(i, j);
        }
    }
}

// The readers, each also reading back every cell of its tables (unless told not to: the cells are sized by
// the runner count alone, so a sample of the lengths is enough for that part).
bool readZo(const QByteArray& bytes, bool readBack = true) {
    WinPlaceOddsReader zo;
    const bool ok = zo.readBytes(bytes, kDate);
    EXPECT_LE(zo.keshi(), zo.tosu());
    if (readBack) {
        readAll(*zo.winOdds());
        readAll(*zo.placeOdds());
        readAll(*zo.placeMaxOdds());
        readAll(*zo.bracketOdds());
    }
    return ok;
}
bool readUo(const QByteArray& bytes, bool readBack = true) {
    QuinellaOddsReader uo;
    const bool ok = uo.readBytes(bytes, kDate);
    if (readBack) {
        readAll(*uo.quinellaOdds());
        readAll(*uo.wideOdds());
        readAll(*uo.wideMaxOdds());
    }
    return ok;
}
bool readSo(const QByteArray& bytes, bool readBack = true) {
    ExactaOddsReader so;
    const bool ok = so.readBytes(bytes, kDate);
    if (readBack) {
        readAll(*so.exactaOdds());
    }
    return ok;
}
bool readYo(const QByteArray& bytes, bool readBack = true) {
    TrioOddsReader yo;
    const bool ok = yo.readBytes(bytes, kDate);
    for (qsizetype n = 1; readBack && n <= yo.trioCount(); ++n) {
        readAll(*yo.trioOdds(static_cast<int>(n)));
    }
    return ok;
}

// Reads the bytes with all four readers; true per reader in the order ZO, UO, SO, YO.
std::array<bool, 4> readWithAll(const QByteArray& bytes) {
    return {readZo(bytes), readUo(bytes), readSo(bytes), readYo(bytes)};
}

// A file cut at any length is read as far as it goes: the date and runner count decide, and a cut inside
// the count (byte 141 only) still gives a count of its first digit.
TEST(OddsRobustnessTest, EveryLengthOfARealFile) {
    ZoFile zo;
    zo.header.date = kDate;
    UoFile uo;
    uo.header.date = kDate;
    SoFile so;
    so.header.date = kDate;
    YoFile yo;
    yo.header.date = kDate;
    for (int i = 1; i <= 18; ++i) {
        zo.runners[i] = {QStringLiteral("2.5"), QStringLiteral("1.1"), QStringLiteral("1.9")};
        for (int j = i + 1; j <= 18; ++j) {
            uo.pairs[{i, j}] = {QStringLiteral("12.5"), QStringLiteral("3.3"), QStringLiteral("0.0")};
            so.exacta[{i, j}] = QStringLiteral("123.4");
            so.exacta[{j, i}] = kScratched;
            for (int k = j + 1; k <= 18; ++k) {
                yo.trio[{i, j, k}] = QStringLiteral("1234.5");
            }
        }
    }
    const std::pair<QByteArray, bool (*)(const QByteArray&, bool)> files[] = {
        {zoBytes(zo), readZo}, {uoBytes(uo), readUo}, {soBytes(so), readSo}, {yoBytes(yo), readYo}};
    for (const auto& [file, read] : files) {
        for (qsizetype len = 0; len <= file.size(); ++len) {
            // The trio file is long and alike from record to record: every length near either end, and
            // every seventh between (seven and the record length 15 have no common factor, so the cuts still
            // fall on every byte of a record).
            const bool middle = len > 600 && len < file.size() - 600;
            if (file.size() > 10000 && middle && len % 7 != 0) {
                continue;
            }
            const bool readBack = len < 150 || len % 101 == 0;
            ASSERT_EQ(read(file.left(len), readBack), len >= 141)
                << "file of " << file.size() << " bytes cut at " << len;
        }
    }
}

// Runners whose records lie beyond the end of a cut file count as blank: no odds, counted in Keshi.
TEST(OddsRobustnessTest, RunnersBeyondTheEndOfACutFileAreBlank) {
    ZoFile f;
    f.header.date = kDate;
    f.header.tosu = 12;
    for (int n = 1; n <= 12; ++n) {
        f.runners[n] = {QStringLiteral("4.0"), QStringLiteral("1.5"), QStringLiteral("2.0")};
    }
    WinPlaceOddsReader zo;
    // Cut inside the leading blanks of runner 6's win field: runners 6 to 12 have no odds.
    ASSERT_TRUE(zo.readBytes(zoBytes(f).left(143 + 18 * 5 + 4), kDate));
    EXPECT_EQ(zo.tosu(), 12);
    EXPECT_EQ(zo.keshi(), 7);
    EXPECT_EQ(zo.winOdds()->odds(5), QStringLiteral("4.0"));
    EXPECT_EQ(zo.winOdds()->odds(6), QString());
    EXPECT_EQ(zo.bracketOdds()->tosu(), 8);
    EXPECT_EQ(zo.bracketOdds()->odds(1, 1), QString());
}

TEST(OddsRobustnessTest, GarbageNeverCrashes) {
    QRandomGenerator rng(20240525);
    for (int round = 0; round < 400; ++round) {
        const qsizetype len = rng.bounded(13000);
        QByteArray bytes(len, Qt::Uninitialized);
        for (qsizetype i = 0; i < len; ++i) {
            bytes[i] = static_cast<char>(rng.bounded(256));
        }
        if (round % 2 == 0 && len >= 142) {
            // A valid start so the records are walked through: date and a runner count 1..18.
            bytes.replace(0, 8, kDate.toLatin1());
            bytes.replace(140, 2, QByteArray::number(1 + rng.bounded(18)).rightJustified(2, '0'));
        }
        SCOPED_TRACE(round);
        const auto ok = readWithAll(bytes);
        if (round % 2 == 0 && len >= 142) {
            for (bool readerOk : ok) {
                EXPECT_TRUE(readerOk);
            }
        }
    }
}

// Double-byte lead bytes everywhere: every field cut ends in half a character.
TEST(OddsRobustnessTest, CutDoubleByteCharactersDecodeSafely) {
    QByteArray bytes(12393, '\x82');
    bytes.replace(0, 8, kDate.toLatin1());
    bytes.replace(140, 2, "18");
    const auto ok = readWithAll(bytes);
    for (bool readerOk : ok) {
        EXPECT_TRUE(readerOk);
    }
}

TEST(OddsRobustnessTest, ALockedFileRaisesTheAccessError) {
    TempFolder dir;
    ZoFile f;
    f.header.date = kDate;
    ASSERT_TRUE(writeZo(dir.path(), QStringLiteral("5BB"), f));
    QFile file(dir.file(QStringLiteral("ZO-5BB.JRA")));
    file.setPermissions(QFileDevice::Permissions());
    if (file.open(QIODevice::ReadOnly)) {
        GTEST_SKIP() << "files stay readable for this user";
    }
    try {
        readOdds<WinPlaceOddsReader>(dir.path(), QStringLiteral("5BB"), kDate);
        ADD_FAILURE() << "no error";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), 75);
        EXPECT_EQ(e.source(), QStringLiteral("clsControlZO"));
    }
}

} // namespace
