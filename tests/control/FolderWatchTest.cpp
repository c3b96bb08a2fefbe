#include "control/FolderWatch.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

// The client writes in steps; the watch reports once the folder has been quiet, once per burst, and not at
// all when every file is as it was.
TEST(FolderWatch, ReportsOnceWhenTheClientHasFinishedWriting) {
    TempFolder day;
    day.write(QStringLiteral("LG001.JRA"), "first part");
    FolderWatch watch({300ms, 2000ms, 60000ms});
    watch.watch({day.path()});
    QSignalSpy settled(&watch, &FolderWatch::settled);

    // A log appended to in two parts: one report, after the second part.
    QElapsedTimer since;
    since.start();
    QFile log(day.file(QStringLiteral("LG001.JRA")));
    ASSERT_TRUE(log.open(QIODevice::Append));
    log.write(" second");
    log.flush();
    QTest::qWait(150);
    log.write(" third");
    log.close();
    const qint64 lastWrite = since.elapsed();
    ASSERT_TRUE(settled.wait(3000));
    EXPECT_GE(since.elapsed(), lastWrite + 250);
    QTest::qWait(600);
    EXPECT_EQ(settled.count(), 1);

    // Today's download folder, made during the watch, and a result file in it.
    const QString downloads = day.path() + QStringLiteral("VQDOWNLOAD/20260405/");
    watch.watch({day.path(), downloads});
    settled.clear();
    ASSERT_TRUE(QDir().mkpath(downloads));
    QFile result(downloads + QStringLiteral("KS-56281.JRA"));
    ASSERT_TRUE(result.open(QIODevice::WriteOnly) && result.write("result") == 6);
    result.close();
    EXPECT_TRUE(settled.wait(3000));
    QTest::qWait(600);

    // Rewritten with the same bytes and its time put back: nothing to say.
    settled.clear();
    QFile same(day.file(QStringLiteral("LG001.JRA")));
    const QDateTime time = QFileInfo(same).lastModified();
    ASSERT_TRUE(same.open(QIODevice::ReadWrite));
    const QByteArray bytes = same.readAll();
    same.seek(0);
    same.write(bytes);
    same.flush();
    same.setFileTime(time, QFileDevice::FileModificationTime);
    same.close();
    QTest::qWait(800);
    EXPECT_EQ(settled.count(), 0);

    // Watching the client's files only: the program's own book beside them says nothing.
    watch.watch({day.path()}, {QStringLiteral("*.JRA")});
    day.write(QStringLiteral("VQPROFIT.TXT"), "book");
    QTest::qWait(800);
    EXPECT_EQ(settled.count(), 0);
    day.write(QStringLiteral("ks-00001.jra"), "result"); // any case, as the client's system has it
    EXPECT_TRUE(settled.wait(3000));
    settled.clear();

    // Stopped: no watcher, nothing reported.
    watch.stop();
    day.write(QStringLiteral("LG002.JRA"), "x");
    QTest::qWait(600);
    EXPECT_EQ(settled.count(), 0);
}
