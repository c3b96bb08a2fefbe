#include "app/SingleInstance.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// The program as the user starts it: a copy of the executable in a program folder whose VQV50DEBUG.INI
// names the client folder (a client folder holding PAT.EXE).
class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        client.write(QStringLiteral("PAT.EXE"), "x");
        program.write(QStringLiteral("VQV50DEBUG.INI"), "[FOLDER]\r\npatpath=" + client.path().toUtf8() + "\r\n");
        m_exe = program.file(QStringLiteral("VelqoraV50"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VQ_PROGRAM), m_exe)); // permissions come along
    }
    void start(QProcess& p) const { p.start(m_exe, {}); }

    TempFolder program;
    TempFolder client;
    QString m_exe;
};
} // namespace

// A second start on the folder asks the running copy to come to the front and ends, writing nothing.
TEST_F(AppTest, ASecondStartBringsTheRunningCopyForwardAndEnds) {
    SingleInstance running(client.path());
    ASSERT_EQ(running.claim(), SingleInstance::Claim::First);
    QSignalSpy raised(&running, &SingleInstance::raiseRequested);
    QProcess second;
    start(second);
    // The event loop runs meanwhile, so the copy in this process can answer.
    ASSERT_TRUE(QTest::qWaitFor([&second] { return second.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(raised.count(), 1);
    EXPECT_FALSE(client.exists(QStringLiteral("VQDOWNLOAD")));
    EXPECT_FALSE(client.exists(SingleInstance::requestName()));

    // A folder held by a copy that cannot be reached is said to be in use.
    SingleInstance other(client.path());
    EXPECT_EQ(other.claim(), SingleInstance::Claim::Unreachable);
}

// A running program answers a later start; killed, it leaves nothing that keeps the next one out.
TEST_F(AppTest, ARunningCopyAnswersAndAKilledOneHoldsNothing) {
    QProcess first;
    start(first);
    // The download folder is made once the copy holds the folder and listens.
    ASSERT_TRUE(QTest::qWaitFor([this] { return client.exists(QStringLiteral("VQDOWNLOAD")); }, 30000));
    EXPECT_TRUE(client.exists(SingleInstance::lockName()));
    SingleInstance later(client.path());
    EXPECT_EQ(later.claim(), SingleInstance::Claim::HandedOver);

    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    SingleInstance next(client.path() + QStringLiteral("./")); // another spelling of the folder
    EXPECT_EQ(next.claim(), SingleInstance::Claim::First);
    EXPECT_FALSE(client.exists(SingleInstance::requestName()));
}
