#include "CliRun.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "results/SamplePage.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

#include <filesystem>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {
// A day whose index names `count` logs: the first one of a 100-yen ticket padded to `size` bytes (sparse:
// quick to make), the others hard links to it or copies of it.
void WriteDay(const TempFolder& dir, int count, qint64 size, bool linked) {
    AccountFiles::AccountFile a = AccountFiles::AllOnSale(5);
    a.Date = QStringLiteral("20260405");
    AccountFiles::SaveAccountFile(dir.Path(), QLatin1Char('A'), a);
    LogFiles::SaveDayLog(dir.Path(), "L0000", {1, {LogFiles::At(LogFiles::SingleBet(LogFiles::Win, 0, 0, 4), 5, 1)}});
    QFile(dir.File("L0000.JRA")).resize(size);
    QList<LogFiles::IndexEntry> index{{QStringLiteral("L0000"), a.Date}};
    for (int i = 1; i < count; ++i) {
        index.append({QStringLiteral("L%1").arg(i, 4, 10, QLatin1Char('0')), a.Date});
        const QString path = dir.File(index.last().Name + QStringLiteral(".JRA"));
        if (linked) {
            std::filesystem::create_hard_link(dir.File("L0000.JRA").toStdString(), path.toStdString());
        } else {
            QFile::copy(dir.File("L0000.JRA"), path);
        }
    }
    LogFiles::SaveIndex(dir.Path(), index);
}
} // namespace

// A day's reading is bounded whatever the folder holds: 999 names of one 63 MB log are one file, read
// and counted once; two large logs together are refused, and said, at once.
TEST(Containment, ADaysReadingIsBoundedAndKnowsFilesByWhatTheyAre) {
    TempFolder linked, large;
    WriteDay(linked, 999, 63 << 20, true);
    WriteDay(large, 2, 40 << 20, false);
    QElapsedTimer timer;
    timer.start();
    const CliRun once = RunVelqora({QStringLiteral("summary"), QStringLiteral("--json"), linked.Path()});
    const CliRun refused = RunVelqora({QStringLiteral("summary"), large.Path()});
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(once.Json().object()[u"totals"].toObject()[u"amtBuy"].toInt(), 100);
    EXPECT_EQ(refused.exitCode, 4);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("合わせて64 MBを超えるため、読むのをやめました").toUtf8()));
}

#ifdef Q_OS_UNIX
// A result file that cannot be written (a full disk; here a file-size limit the tool inherits) is said as
// what it is, not as a page that makes no file.
TEST(Containment, AResultFileThatCannotBeWrittenIsSaid) {
    TempFolder dir;
    dir.Write(QStringLiteral("page.txt"), ResultPages::JoinLines(ResultPages::ResultsPageLines(SamplePage())).toUtf8());
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small{100, saved.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const CliRun run = RunVelqora({QStringLiteral("convert"), dir.File("page.txt"), dir.Path() + "save"});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.err.startsWith("velqora: the result file could not be written: ")) << run.err.data();
    EXPECT_FALSE(QFileInfo::exists(dir.Path() + "save/KS-5628B.JRA"));
}
#endif
