#include "archive/BetArchive.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <set>
#include <thread>

// Kills vq-save-loop at random moments while it saves one of our files: the file must always be one of the
// two contents it alternates between, byte for byte, and the next start clears any temporary left beside it.

namespace {
struct Mode {
    const char* name;     // what vq-save-loop is told
    QString file;         // the file it saves
    qsizetype stampBytes; // trailing bytes holding the time of writing, different on every save
    QString lock = {};    // the lock file a killed save leaves, which the next one takes over
};

int envNumber(const char* name, int fallback) {
    const int v = qEnvironmentVariableIntValue(name);
    return v > 0 ? v : fallback;
}

bool runLoop(const Mode& mode, const QString& folder, int count) {
    QProcess p;
    p.start(QStringLiteral(VQ_SAVE_LOOP), {QLatin1String(mode.name), folder, QString::number(count)});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

QByteArray unstamped(const QString& path, const Mode& mode) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    return bytes.left(bytes.size() - mode.stampBytes);
}
} // namespace

class CrashSafety : public ::testing::TestWithParam<Mode> {};

TEST_P(CrashSafety, KilledSavesLeaveOneWholeVersionAndTheNextStartClearsTheRest) {
    const Mode& mode = GetParam();
    TempFolder dir;
    const QString folder = dir.sub(QLatin1String(mode.name));
    const QString path = folder + mode.file;
    ASSERT_TRUE(runLoop(mode, folder, 1));
    const QByteArray a = unstamped(path, mode);
    ASSERT_TRUE(runLoop(mode, folder, 2));
    const QByteArray b = unstamped(path, mode);
    ASSERT_GT(a.size(), 0);
    ASSERT_NE(a, b);

    const QRegularExpression temporary(
        QStringLiteral("^%1\\.[A-Za-z0-9]{6}$").arg(QRegularExpression::escape(mode.file)));
    const int kills = envNumber("VQ_CRASH_KILLS", 200);
    const auto seed = static_cast<std::uint32_t>(envNumber("VQ_CRASH_SEED", int(std::random_device{}() >> 1)));
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> delayUs(0, 20000);
    int inSave = 0, saved = 0, strays = 0;
    QByteArray last;
    QElapsedTimer timer;
    timer.start();
    for (int k = 0; k < kills; ++k) {
        QProcess p;
        p.start(QStringLiteral(VQ_SAVE_LOOP), {QLatin1String(mode.name), folder, QStringLiteral("0")});
        // Loading a large file takes longer than the whole delay, so the delay counts from the first save.
        QByteArray marks;
        while (!marks.contains('L') && p.waitForReadyRead(10000)) {
            marks += p.readAllStandardOutput();
        }
        ASSERT_TRUE(marks.contains('L')) << "kill " << k << ": the save loop never started";
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
        p.kill(); // SIGKILL: no handler, no flush, no destructor runs
        ASSERT_TRUE(p.waitForFinished());
        marks += p.readAllStandardOutput();
        inSave += marks.endsWith('b');
        saved += int(marks.count('e'));

        const std::string context = QStringLiteral("kill %1, seed %2").arg(k).arg(seed).toStdString();
        for (const QString& name : QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            ASSERT_TRUE(name == mode.file || name == mode.lock || temporary.match(name).hasMatch())
                << context << ": " << name.toStdString();
            strays += name != mode.file && name != mode.lock;
        }
        last = unstamped(path, mode);
        ASSERT_TRUE(last == a || last == b) << context << ": " << last.size() << " bytes";
    }
    std::printf("[ %s ] %d kills in %.1f s, seed %u: %d inside a save call, %d temporaries seen, %d saves done\n",
                mode.name, kills, timer.elapsed() / 1000.0, seed, inSave, strays, saved);

    // What a kill at the worst moment leaves on a file system without unnamed temporaries, and two names
    // that only look like it.
    const QString stray = mode.file + QStringLiteral(".Ab12Cd");
    const QStringList decoys = {mode.file + QStringLiteral(".bak"), mode.file + QStringLiteral(".Ab12C")};
    for (const QString& name : decoys + QStringList{stray}) {
        dir.write(QLatin1String(mode.name) + u'/' + name, "left over");
    }
    ASSERT_TRUE(runLoop(mode, folder, 2)); // its start is the program's: GetRecord, LoadSettings, setSavePathName
    EXPECT_FALSE(QFile::exists(folder + stray));
    for (const QString& name : decoys) {
        EXPECT_TRUE(QFile::exists(folder + name)) << name.toStdString();
    }
    EXPECT_EQ(unstamped(path, mode), b);
}

INSTANTIATE_TEST_SUITE_P(OurFiles, CrashSafety,
                         ::testing::Values(Mode{"book", QStringLiteral("VQPROFIT.TXT"), 0,
                                                QStringLiteral("VQPROFIT.LCK")},
                                           Mode{"settings", QStringLiteral("VQV50.INI"), 0},
                                           Mode{"result", QStringLiteral("KS-5628B.JRA"), 14}),
                         [](const ::testing::TestParamInfo<Mode>& info) { return std::string(info.param.name); });

TEST(CrashSafety, AKilledArchiveWriteLeavesTheOldDayOrTheNewAndNoOtherChange) {
    const auto seed = static_cast<std::uint32_t>(envNumber("VQ_CRASH_SEED", int(std::random_device{}() >> 1)));
    std::mt19937 rng(seed);
    const int kills = envNumber("VQ_CRASH_KILLS", 200) / 2;
    TempFolder dir;
    const Mode mode{"archive", BetArchive::fileName(), 0};
    // The kills spread over about three stores, however long one takes in this build (a sanitizer build
    // is several times slower): one store is what a run of three costs beyond a run of one.
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(runLoop(mode, dir.path(), 1));
    const qint64 one = timer.restart();
    ASSERT_TRUE(runLoop(mode, dir.path(), 3));
    const qint64 store = std::max<qint64>(10, (timer.elapsed() - one) / 2);
    std::uniform_int_distribution<int> delayUs(0, static_cast<int>(3000 * store));
    int inSave = 0;
    std::set<std::size_t> seen;
    for (int k = 0; k < kills; ++k) {
        QProcess p;
        p.start(QStringLiteral(VQ_SAVE_LOOP), {QLatin1String(mode.name), dir.path(), QStringLiteral("0")});
        QByteArray marks;
        while (!marks.contains('L') && p.waitForReadyRead(10000)) {
            marks += p.readAllStandardOutput();
        }
        ASSERT_TRUE(marks.contains('L')) << "kill " << k << ": the save loop never started";
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(rng)));
        p.kill();
        ASSERT_TRUE(p.waitForFinished());
        inSave += p.readAllStandardOutput().endsWith('b');

        const std::string context = QStringLiteral("kill %1, seed %2").arg(k).arg(seed).toStdString();
        BetArchive archive;
        ASSERT_TRUE(archive.open(dir.path())) << context << ": " << archive.errorText().toStdString();
        const std::vector<Archive::Bet> day = archive.betsOfDay(QStringLiteral("20261206"));
        ASSERT_TRUE(day.size() == 4000 || day.size() == 6000) << context << ": " << day.size() << " bets";
        const qint32 stake = day.size() == 4000 ? 100 : 200;
        ASSERT_TRUE(std::all_of(day.begin(), day.end(), [stake](const Archive::Bet& b) { return b.stake == stake; }))
            << context;
        const auto figures = archive.figuresOf(QStringLiteral("20261206"), QStringLiteral("20261206"));
        ASSERT_EQ(figures.size(), 1u) << context;
        ASSERT_EQ(figures[0].sum.stake, static_cast<qint64>(day.size()) * stake) << context;
        ASSERT_EQ(archive.betsOfDay(QStringLiteral("20261205")).size(), 10u) << context;
        seen.insert(day.size());
    }
    std::printf("[ archive ] %d kills, seed %u, a store about %lld ms: %d inside a store, versions seen %zu\n", kills,
                seed, static_cast<long long>(store), inSave, seen.size());
    EXPECT_EQ(seen.size(), 2u); // kills landed both before and after a day was replaced
}
