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
    const QStringList lines = ResultPages::ResultsPageLines(SamplePage());
    dir.Write(QStringLiteral("page.txt"), "\xEF\xBB\xBF" + lines.join(u'\n').toUtf8());
    CliRun r = RunVelqora({QStringLiteral("convert"), dir.File(QStringLiteral("page.txt")), dir.Path() + "out"});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QByteArray("KS-5628B.JRA\n"));
    const QByteArray bytes = dir.Read(QStringLiteral("out/KS-5628B.JRA"));
    ASSERT_EQ(bytes.size(), 849);
    // The second finisher's margin is only found once the page's spaces became "#".
    EXPECT_EQ(bytes.mid(130, 40),
              "2  7" + CodePage::Encode(u"ｶｷｸｹｺ") + QByteArray(13, ' ') + "1/2   " + QByteArray(12, ' '));

    // Without the payout heading the page makes no file: status 1, and not even the folder is made.
    dir.Write(QStringLiteral("bad.txt"), lines.mid(0, 14).join(QStringLiteral("\r\n")).toUtf8());
    r = RunVelqora({QStringLiteral("convert"), dir.File(QStringLiteral("bad.txt")), dir.Path() + "bad"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(dir.Path() + "bad"));
}

#ifdef Q_OS_UNIX
// A result file that cannot be written (a full disk; here a file-size limit the tool inherits) is said as
// what it is, not as a page that makes no file.
TEST(ConvertCommand, AResultFileThatCannotBeWrittenIsSaid) {
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

TEST(ConvertCommand, ListsThePublishedRaces) {
    TempFolder dir;
    QList<ResultPages::RacePage> races{SamplePage(), SamplePage()};
    races[0].RaceNum = 2;
    dir.Write(QStringLiteral("list.txt"),
              ResultPages::JoinLines(ResultPages::PayoutListLines(ResultPages::MeetingDay(), races)).toUtf8());
    const CliRun r = RunVelqora({QStringLiteral("convert"), QStringLiteral("--race-list"), dir.File("list.txt")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, QByteArray("02\n11\n"));
    EXPECT_EQ(RunVelqora({QStringLiteral("convert"), dir.File("list.txt")}).exitCode, 2);
}

} // namespace
