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
    void showCritical(const QString& title, const QString& text) override {
        titles << title;
        critical << text;
    }
    bool claimClientFolder(const QString&) override { return !folderTaken; }
    void showMainWindow(const Folders&) override { ++mainWindows; }
};

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { folders.program = program.path(); }

    QStringList entries(const QString& folder) const {
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
    program.write(QStringLiteral("PAT.EXE"), "x");
    EXPECT_EQ(startUp(host, folders), StartupOutcome::Running);
    EXPECT_EQ(folders.client, program.path());
    EXPECT_EQ(folders.download, program.path() + QStringLiteral("VQDOWNLOAD"));
    EXPECT_TRUE(QFileInfo(folders.download).isDir());
    EXPECT_EQ(host.mainWindows, 1);
    EXPECT_TRUE(host.critical.isEmpty());
}

// A second start on a folder another copy runs on ends before it writes anything, quietly.
TEST_F(StartupTest, AFolderAnotherCopyRunsOnEndsThisStart) {
    program.write(QStringLiteral("PAT.EXE"), "x");
    host.folderTaken = true;
    EXPECT_EQ(startUp(host, folders), StartupOutcome::AlreadyRunning);
    EXPECT_EQ(host.mainWindows, 0);
    EXPECT_TRUE(host.critical.isEmpty());
    EXPECT_FALSE(program.exists(QStringLiteral("VQDOWNLOAD")));
    EXPECT_EQ(exitStatusOf(StartupOutcome::AlreadyRunning), 0);
}

TEST_F(StartupTest, RefusesWithoutTheClientAndWritesNothing) {
    EXPECT_EQ(startUp(host, folders), StartupOutcome::ClientMissing);
    ASSERT_EQ(host.critical.size(), 1);
    EXPECT_EQ(host.titles[0], QStringLiteral("VelqoraV50"));
    EXPECT_EQ(host.critical[0], kRefusal);
    EXPECT_EQ(host.mainWindows, 0);
    EXPECT_TRUE(entries(program.path()).isEmpty());
    EXPECT_NE(exitStatusOf(StartupOutcome::ClientMissing), 0);
}

TEST_F(StartupTest, DebugFilePointsAtAnotherClientFolder) {
    client.write(QStringLiteral("PAT.EXE"), "x");
    program.write(QStringLiteral("VQV50DEBUG.INI"),
                  "[FOLDER]\r\npatpath=" + client.path().chopped(1).toUtf8() + "\r\n");
    EXPECT_EQ(startUp(host, folders), StartupOutcome::Running);
    EXPECT_EQ(folders.client, client.path());
    EXPECT_TRUE(QFileInfo(client.file(QStringLiteral("VQDOWNLOAD"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(program.file(QStringLiteral("VQDOWNLOAD"))));
}

TEST_F(StartupTest, EmptyDebugKeyMeansTheProgramFolder) {
    program.write(QStringLiteral("PAT.EXE"), "x");
    program.write(QStringLiteral("VQV50DEBUG.INI"), "[FOLDER]\r\npatpath=\r\n");
    EXPECT_EQ(startUp(host, folders), StartupOutcome::Running);
    EXPECT_EQ(folders.client, program.path());
}

TEST_F(StartupTest, TrailingBlanksInTheDebugPathAreKeptSoTheClientIsNotFound) {
    client.write(QStringLiteral("PAT.EXE"), "x");
    program.write(QStringLiteral("VQV50DEBUG.INI"),
                  "[FOLDER]\r\npatpath=" + client.path().chopped(1).toUtf8() + "  \r\n");
    EXPECT_EQ(startUp(host, folders), StartupOutcome::ClientMissing);
    EXPECT_EQ(folders.client, client.path().chopped(1) + QStringLiteral("  /"));
    EXPECT_FALSE(client.exists(QStringLiteral("VQDOWNLOAD")));
}

TEST_F(StartupTest, ClientFilesAreFoundInAnyCase) {
    program.write(QStringLiteral("pat.exe"), "x");
    program.sub(QStringLiteral("VqDownload"));
    EXPECT_EQ(startUp(host, folders), StartupOutcome::Running);
    EXPECT_EQ(folders.download, program.path() + QStringLiteral("VqDownload"));
    EXPECT_EQ(entries(program.path()), (QStringList{QStringLiteral("VqDownload"), QStringLiteral("pat.exe")}));
}

TEST_F(StartupTest, APlainFileNamedLikeTheDownloadFolderCountsAsPresent) {
    program.write(QStringLiteral("PAT.EXE"), "x");
    program.write(QStringLiteral("VQDOWNLOAD"), "not a folder");
    EXPECT_EQ(startUp(host, folders), StartupOutcome::Running);
    EXPECT_TRUE(QFileInfo(program.file(QStringLiteral("VQDOWNLOAD"))).isFile());
    EXPECT_EQ(program.read(QStringLiteral("VQDOWNLOAD")), QByteArray("not a folder"));
}

TEST_F(StartupTest, AFolderNamedPatExeIsNotTheClient) {
    program.sub(QStringLiteral("PAT.EXE"));
    EXPECT_EQ(startUp(host, folders), StartupOutcome::ClientMissing);
}

TEST_F(StartupTest, DownloadFolderThatCannotBeCreatedIsReportedAndEndsStartUp) {
    program.write(QStringLiteral("PAT.EXE"), "x");
    const auto refuse = [](const QString&, QString& reason) {
        reason = QStringLiteral("Permission denied");
        return false;
    };
    EXPECT_EQ(startUp(host, folders, refuse), StartupOutcome::DownloadFolderFailed);
    EXPECT_EQ(host.mainWindows, 0);
    ASSERT_EQ(host.critical.size(), 1);
    EXPECT_TRUE(host.critical[0].contains(QDir::toNativeSeparators(program.path() + QStringLiteral("VQDOWNLOAD"))));
    EXPECT_TRUE(host.critical[0].contains(QStringLiteral("Permission denied")));
    EXPECT_NE(exitStatusOf(StartupOutcome::DownloadFolderFailed), 0);
}

TEST_F(StartupTest, RealCreationFailureGivesTheSystemsReason) {
#ifdef Q_OS_UNIX
    if (geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root";
    }
#else
    GTEST_SKIP() << "folder permissions are a POSIX matter";
#endif
    program.write(QStringLiteral("PAT.EXE"), "x");
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(startUp(host, folders), StartupOutcome::DownloadFolderFailed);
    QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(host.critical.size(), 1);
    EXPECT_TRUE(host.critical[0].contains(QStringLiteral("ermission")));
}

#ifdef Q_OS_UNIX
// A FIFO by a settings file's name is no settings file (both are read alike): start-up does not wait on it.
TEST_F(StartupTest, SettingsFilesThatAreNoFilesAreNotWaitedOn) {
    program.write(QStringLiteral("PAT.EXE"), "x");
    ASSERT_EQ(::mkfifo(QFile::encodeName(program.file(QStringLiteral("VQV50DEBUG.INI"))).constData(), 0600), 0);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(startUp(host, folders), StartupOutcome::Running);
    EXPECT_LT(timer.elapsed(), 2000);
}
#endif
