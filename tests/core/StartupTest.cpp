#include "core/Startup.h"
#include "core/Folders.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
struct RecordingHost : IStartupHost {
    QStringList critical;
    QStringList titles;
    int mainWindows = 0;
    bool folderTaken = false; // another copy runs on the folder
    void ShowCritical(const QString& title, const QString& text) override {
        titles << title;
        critical << text;
    }
    bool ClaimClientFolder(const QString&) override { return !folderTaken; }
    void ShowMainWindow(const Folders&) override { ++mainWindows; }
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { folders.Program = program.Path(); }

    QStringList Entries(const QString& folder) const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }

    TempFolder program;
    TempFolder client;
    RecordingHost host;
    Folders folders;
};

const QString kRefusal = QStringLiteral("本ｿﾌﾄを「JRA PAT for Win V50」がｲﾝｽﾄｰﾙされているﾌｫﾙﾀﾞへ移動させてください｡");
} // namespace

TEST_F(StartupTest, RunsInTheClientFolderAndCreatesTheDownloadFolder) {
    program.Write(QStringLiteral("PAT.EXE"), "x");
    EXPECT_EQ(Main(host, folders), StartupOutcome::Running);
    EXPECT_EQ(folders.Client, program.Path());
    EXPECT_EQ(folders.Download, program.Path() + QStringLiteral("VQDOWNLOAD"));
    EXPECT_TRUE(QFileInfo(folders.Download).isDir());
    EXPECT_EQ(host.mainWindows, 1);
    EXPECT_TRUE(host.critical.isEmpty());
}

// A second start on a folder another copy runs on ends before it writes anything, quietly.
TEST_F(StartupTest, AFolderAnotherCopyRunsOnEndsThisStart) {
    program.Write(QStringLiteral("PAT.EXE"), "x");
    host.folderTaken = true;
    EXPECT_EQ(Main(host, folders), StartupOutcome::AlreadyRunning);
    EXPECT_EQ(host.mainWindows, 0);
    EXPECT_TRUE(host.critical.isEmpty());
    EXPECT_FALSE(program.Exists(QStringLiteral("VQDOWNLOAD")));
    EXPECT_EQ(ExitStatusOf(StartupOutcome::AlreadyRunning), 0);
}

TEST_F(StartupTest, RefusesWithoutTheClientAndWritesNothing) {
    EXPECT_EQ(Main(host, folders), StartupOutcome::ClientMissing);
    ASSERT_EQ(host.critical.size(), 1);
    EXPECT_EQ(host.titles[0], QStringLiteral("VelqoraV50"));
    EXPECT_EQ(host.critical[0], kRefusal);
    EXPECT_EQ(host.mainWindows, 0);
    EXPECT_TRUE(Entries(program.Path()).isEmpty());
    EXPECT_NE(ExitStatusOf(StartupOutcome::ClientMissing), 0);
}

TEST_F(StartupTest, DebugFilePointsAtAnotherClientFolder) {
    client.Write(QStringLiteral("PAT.EXE"), "x");
    program.Write(QStringLiteral("VQV50DEBUG.INI"),
                  "[FOLDER]\r\npatpath=" + client.Path().chopped(1).toUtf8() + "\r\n");
    EXPECT_EQ(Main(host, folders), StartupOutcome::Running);
    EXPECT_EQ(folders.Client, client.Path());
    EXPECT_TRUE(QFileInfo(client.File(QStringLiteral("VQDOWNLOAD"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(program.File(QStringLiteral("VQDOWNLOAD"))));
}

TEST_F(StartupTest, EmptyDebugKeyMeansTheProgramFolder) {
    program.Write(QStringLiteral("PAT.EXE"), "x");
    program.Write(QStringLiteral("VQV50DEBUG.INI"), "[FOLDER]\r\npatpath=\r\n");
    EXPECT_EQ(Main(host, folders), StartupOutcome::Running);
    EXPECT_EQ(folders.Client, program.Path());
}

TEST_F(StartupTest, TrailingBlanksInTheDebugPathAreKeptSoTheClientIsNotFound) {
    client.Write(QStringLiteral("PAT.EXE"), "x");
    program.Write(QStringLiteral("VQV50DEBUG.INI"),
                  "[FOLDER]\r\npatpath=" + client.Path().chopped(1).toUtf8() + "  \r\n");
    EXPECT_EQ(Main(host, folders), StartupOutcome::ClientMissing);
    EXPECT_EQ(folders.Client, client.Path().chopped(1) + QStringLiteral("  /"));
    EXPECT_FALSE(client.Exists(QStringLiteral("VQDOWNLOAD")));
}

TEST_F(StartupTest, ClientFilesAreFoundInAnyCase) {
    program.Write(QStringLiteral("pat.exe"), "x");
    program.Sub(QStringLiteral("VqDownload"));
    EXPECT_EQ(Main(host, folders), StartupOutcome::Running);
    EXPECT_EQ(folders.Download, program.Path() + QStringLiteral("VqDownload"));
    EXPECT_EQ(Entries(program.Path()), (QStringList{QStringLiteral("VqDownload"), QStringLiteral("pat.exe")}));
}

TEST_F(StartupTest, APlainFileNamedLikeTheDownloadFolderCountsAsPresent) {
    program.Write(QStringLiteral("PAT.EXE"), "x");
    program.Write(QStringLiteral("VQDOWNLOAD"), "not a folder");
    EXPECT_EQ(Main(host, folders), StartupOutcome::Running);
    EXPECT_TRUE(QFileInfo(program.File(QStringLiteral("VQDOWNLOAD"))).isFile());
    EXPECT_EQ(program.Read(QStringLiteral("VQDOWNLOAD")), QByteArray("not a folder"));
}

TEST_F(StartupTest, AFolderNamedPatExeIsNotTheClient) {
    program.Sub(QStringLiteral("PAT.EXE"));
    EXPECT_EQ(Main(host, folders), StartupOutcome::ClientMissing);
}

TEST_F(StartupTest, DownloadFolderThatCannotBeCreatedIsReportedAndEndsStartUp) {
    program.Write(QStringLiteral("PAT.EXE"), "x");
    const auto refuse = [](const QString&, QString& reason) {
        reason = QStringLiteral("Permission denied");
        return false;
    };
    EXPECT_EQ(Main(host, folders, refuse), StartupOutcome::DownloadFolderFailed);
    EXPECT_EQ(host.mainWindows, 0);
    ASSERT_EQ(host.critical.size(), 1);
    EXPECT_TRUE(host.critical[0].contains(QDir::toNativeSeparators(program.Path() + QStringLiteral("VQDOWNLOAD"))));
    EXPECT_TRUE(host.critical[0].contains(QStringLiteral("Permission denied")));
    EXPECT_NE(ExitStatusOf(StartupOutcome::DownloadFolderFailed), 0);
}

TEST_F(StartupTest, RealCreationFailureGivesTheSystemsReason) {
#ifdef Q_OS_UNIX
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
#else
    GTEST_SKIP() << "folder permissions are a POSIX matter";
#endif
    program.Write(QStringLiteral("PAT.EXE"), "x");
    QFile::setPermissions(program.Path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(Main(host, folders), StartupOutcome::DownloadFolderFailed);
    QFile::setPermissions(program.Path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(host.critical.size(), 1);
    EXPECT_TRUE(host.critical[0].contains(QStringLiteral("ermission")));
}

#ifdef Q_OS_UNIX
// A FIFO by a settings file's name is no settings file (both are read alike): start-up does not wait on it.
TEST_F(StartupTest, SettingsFilesThatAreNoFilesAreNotWaitedOn) {
    program.Write(QStringLiteral("PAT.EXE"), "x");
    ASSERT_EQ(::mkfifo(QFile::encodeName(program.File(QStringLiteral("VQV50DEBUG.INI"))).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(Main(host, folders), StartupOutcome::Running);
    EXPECT_LT(timer.elapsed(), 2000);
}
#endif
