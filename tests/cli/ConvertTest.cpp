#include "CliRun.h"
#include "core/CodePage.h"
#include "results/SamplePage.h"
#include "support/TestSupport.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

TEST(ConvertCommand, WritesTheRaceResultFileOrNothing) {
    TempFolder dir;
    // LF lines behind a byte-order mark, as an editor on Windows saves a copied page.
    const QStringList lines = ResultPages::resultsPageLines(samplePage());
    dir.write(QStringLiteral("page.txt"), "\xEF\xBB\xBF" + lines.join(u'\n').toUtf8());
    CliRun r = runVelqora({QStringLiteral("convert"), dir.file(QStringLiteral("page.txt")), dir.path() + "out"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("KS-5628B.JRA\n"));
    const QByteArray bytes = dir.read(QStringLiteral("out/KS-5628B.JRA"));
    ASSERT_EQ(bytes.size(), 849);
    // The second finisher's margin is only found once the page's spaces became "#".
    EXPECT_EQ(bytes.mid(130, 40),
              "2  7" + CodePage::encode(u"ｶｷｸｹｺ") + QByteArray(13, ' ') + "1/2   " + QByteArray(12, ' '));

    // Without the payout heading the page makes no file: status 1, and not even the folder is made.
    dir.write(QStringLiteral("bad.txt"), lines.mid(0, 14).join(QStringLiteral("\r\n")).toUtf8());
    r = runVelqora({QStringLiteral("convert"), dir.file(QStringLiteral("bad.txt")), dir.path() + "bad"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "bad"));
}

#ifdef Q_OS_UNIX
// A result file that cannot be written (a full disk; here a file-size limit the tool inherits) is said as
// what it is, not as a page that makes no file.
TEST(ConvertCommand, AResultFileThatCannotBeWrittenIsSaid) {
    TempFolder dir;
    dir.write(QStringLiteral("page.txt"), ResultPages::joinLines(ResultPages::resultsPageLines(samplePage())).toUtf8());
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small{100, saved.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const CliRun run = runVelqora({QStringLiteral("convert"), dir.file("page.txt"), dir.path() + "save"});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.err.startsWith("velqora: the result file could not be written: ")) << run.err.data();
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "save/KS-5628B.JRA"));
}
#endif

TEST(ConvertCommand, ListsThePublishedRaces) {
    TempFolder dir;
    QList<ResultPages::RacePage> races{samplePage(), samplePage()};
    races[0].raceNum = 2;
    dir.write(QStringLiteral("list.txt"),
              ResultPages::joinLines(ResultPages::payoutListLines(ResultPages::MeetingDay(), races)).toUtf8());
    const CliRun r = runVelqora({QStringLiteral("convert"), QStringLiteral("--race-list"), dir.file("list.txt")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QByteArray("02\n11\n"));
    EXPECT_EQ(runVelqora({QStringLiteral("convert"), dir.file("list.txt")}).exitCode, 2);
}

} // namespace
