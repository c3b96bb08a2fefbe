#include "core/Codes.h"
#include "core/Paths.h"
#include "core/Platform.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#if defined(Q_OS_LINUX)
#include <sched.h>
#endif
#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

TEST(Venues, TableAndUnknownCodes) {
    const char16_t* names[] = {u"札幌", u"函館", u"福島", u"新潟", u"東京",
                               u"中山", u"中京", u"京都", u"阪神", u"小倉"};
    for (qint16 code = 1; code <= 10; ++code) {
        EXPECT_EQ(kaisaiName(code), QString::fromUtf16(names[code - 1]));
        EXPECT_EQ(kaisaiCode(QString::fromUtf16(names[code - 1])), code);
    }
    const QString twoIdeographicSpaces = QStringLiteral("\u3000\u3000");
    EXPECT_EQ(kaisaiName(0), twoIdeographicSpaces);
    EXPECT_EQ(kaisaiName(11), twoIdeographicSpaces);
    EXPECT_EQ(kaisaiName(-1), twoIdeographicSpaces);
    EXPECT_EQ(kaisaiCode(u""), 0);
    EXPECT_EQ(kaisaiCode(u"東京 "), 0); // exact comparison
    EXPECT_EQ(kaisaiCode(u"大井"), 0);
}

TEST(Codes, CodeToNumAndHexDigits) {
    struct Case {
        const char16_t* text;
        qint16 num;
    } cases[] = {{u"1", 1}, {u"9", 9}, {u"A", 10}, {u"a", 10}, {u"b", 11}, {u"C", 12},
                 {u"D", 0}, {u"0", 0}, {u"", 0},   {u"10", 0}, {u" ", 0},  {u"１", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(codeToNum(QString::fromUtf16(c.text)), c.num) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_EQ(hexDigit(5), QLatin1Char('5'));
    EXPECT_EQ(hexDigit(10), QLatin1Char('A'));
    EXPECT_EQ(hexDigit(12), QLatin1Char('C'));
    EXPECT_TRUE(isBitSet(72, 8));
    EXPECT_FALSE(isBitSet(72, 32));
    EXPECT_TRUE(isBitSet(127, 64));
}

TEST(Paths, AddPathSep) {
    EXPECT_EQ(addPathSep(QStringLiteral("/srv/pat")), QStringLiteral("/srv/pat/"));
    EXPECT_EQ(addPathSep(QStringLiteral("/srv/pat/")), QStringLiteral("/srv/pat/"));
    EXPECT_EQ(addPathSep(QStringLiteral("/")), QStringLiteral("/")); // a root gets no second separator
    EXPECT_EQ(addPathSep(QStringLiteral("C:\\")), QStringLiteral("C:\\"));
    EXPECT_EQ(addPathSep(QString()), QStringLiteral("/"));
    EXPECT_EQ(addPathSep(QStringLiteral("D:\\PAT ")), QStringLiteral("D:\\PAT /")); // blanks kept
}

TEST(ClientFiles, FindsExactNameFirstThenAnyCase) {
    TempFolder dir;
    dir.write(QStringLiteral("uy-a.jra"), "x");
    dir.write(QStringLiteral("Lg-File.JRA"), "y");
    dir.write(QStringLiteral("ZO-53B.JRA"), "z");
    EXPECT_EQ(ClientFiles::findFile(dir.path(), QStringLiteral("UY-A.JRA")), dir.file(QStringLiteral("uy-a.jra")));
    EXPECT_EQ(ClientFiles::findFile(dir.path(), QStringLiteral("LG-FILE.JRA")),
              dir.file(QStringLiteral("Lg-File.JRA")));
    EXPECT_EQ(ClientFiles::findFile(dir.path(), QStringLiteral("ZO-53B.JRA")), dir.file(QStringLiteral("ZO-53B.JRA")));
    EXPECT_TRUE(ClientFiles::findFile(dir.path(), QStringLiteral("UY-B.JRA")).isEmpty());
    // A name never reaches into another folder.
    EXPECT_TRUE(ClientFiles::find(dir.path(), QStringLiteral("../x")).isEmpty());
    // A folder is found by Find but not by FindFile.
    dir.sub(QStringLiteral("VqDownload"));
    EXPECT_FALSE(ClientFiles::find(dir.path(), QStringLiteral("VQDOWNLOAD")).isEmpty());
    EXPECT_TRUE(ClientFiles::findFile(dir.path(), QStringLiteral("VQDOWNLOAD")).isEmpty());
    EXPECT_EQ(ClientFiles::pathForWrite(dir.path(), QStringLiteral("NEW.TXT")), dir.file(QStringLiteral("NEW.TXT")));
}

TEST(ClientFiles, NamesWithControlCharactersSeparatorsOrDotsAreNeverThere) {
    TempFolder dir; // the tab and DEL names are on disk, so only the check keeps them unfound
    const QString bad[] = {
        "LG\t01", QStringLiteral("LG") + QChar(0x7f), QStringLiteral("LG") + QChar(0) + "1", "A/B", "A\\B", "..", "."};
    for (const QString& name : {bad[0], bad[1], QStringLiteral("LG001.JRA")})
        dir.write(name, "x");
    for (const QString& name : bad)
        EXPECT_TRUE(ClientFiles::find(dir.path(), name).isEmpty()) << name.toUtf8().toHex().constData();
    EXPECT_EQ(ClientFiles::find(dir.path(), "lg001.jra"), dir.file("LG001.JRA"));
}

TEST(ClientFiles, AFolderReadListsEachFolderOnce) {
    TempFolder dir;
    ClientFiles::FolderRead read;
    EXPECT_TRUE(read.findFile(dir.path(), QStringLiteral("KS-1234B.JRA")).isEmpty());
    dir.write(QStringLiteral("ks-1234b.jra"), "x");
    // Within one reading the folder is a snapshot; an exact name is still seen at once.
    EXPECT_TRUE(read.findFile(dir.path(), QStringLiteral("KS-1234B.JRA")).isEmpty());
    EXPECT_FALSE(read.findFile(dir.path(), QStringLiteral("ks-1234b.jra")).isEmpty());
    // Outside it the folder is listed afresh.
    EXPECT_FALSE(ClientFiles::findFile(dir.path(), QStringLiteral("KS-1234B.JRA")).isEmpty());
}

// What a whole-file read gives for each kind of entry; none of them may keep the reader waiting.
TEST(ReadWholeFile, OnlyRegularFilesAreRead) {
    TempFolder dir;
    const QByteArray large(70000, 'x'); // more than one read of the system
    dir.write(QStringLiteral("bytes"), QByteArray("\x00\x01\x02", 3));
    dir.write(QStringLiteral("empty"), QByteArray());
    dir.write(QStringLiteral("large"), large);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
#if defined(Q_OS_UNIX)
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("fifo"))).constData(), 0600), 0);
#endif
    const struct {
        const char* name;
        std::optional<QByteArray> bytes;
    } rows[] = {{"none", std::nullopt},   {"bytes", QByteArray("\x00\x01\x02", 3)},
                {"empty", QByteArray()},  {"large", large},
                {"folder", std::nullopt}, {"fifo", std::nullopt}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(readWholeFile(dir.file(QString::fromLatin1(row.name))), row.bytes);
    }
}

// A reading notes every file it took whole; afterwards it names those that were rewritten (same size, a new
// time), grew or went away, each once, and nothing else.
TEST(ClientFiles, AFolderReadNamesTheFilesChangedSinceItReadThem) {
    TempFolder dir;
    for (const char* name : {"SAME.JRA", "RETIMED.JRA", "GROWN.JRA", "GONE.JRA"}) {
        dir.write(QString::fromLatin1(name), "12345");
    }
    ClientFiles::FolderRead read;
    for (const char* name : {"SAME.JRA", "RETIMED.JRA", "GROWN.JRA", "GONE.JRA", "GROWN.JRA"}) {
        ASSERT_EQ(read.readWhole(dir.file(QString::fromLatin1(name))), QByteArray("12345"));
    }
    const QByteArray before = read.fingerprint();
    EXPECT_TRUE(read.changedFiles().isEmpty());
    QFile retimed(dir.file(QStringLiteral("RETIMED.JRA")));
    ASSERT_TRUE(retimed.open(QIODevice::ReadWrite));
    ASSERT_TRUE(retimed.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    retimed.close();
    dir.write(QStringLiteral("GROWN.JRA"), "123456");
    ASSERT_TRUE(QFile::remove(dir.file(QStringLiteral("GONE.JRA"))));
    EXPECT_EQ(read.changedFiles(),
              (QStringList{QStringLiteral("RETIMED.JRA"), QStringLiteral("GROWN.JRA"), QStringLiteral("GONE.JRA")}));
    EXPECT_EQ(read.fingerprint(), before); // what was read, not what is there now
}

// A thread made to start on another core runs its work there and is then free to use every core its maker
// may: a thread left tied to the other cores would halve the program whenever that core is busy.
TEST(Threads, StartedThreadRunsAndMayUseEveryCoreOfItsMaker) {
#if defined(Q_OS_LINUX)
    cpu_set_t maker;
    ASSERT_EQ(sched_getaffinity(0, sizeof maker, &maker), 0);
    for (int round = 0; round < 20; ++round) {
        cpu_set_t inside;
        CPU_ZERO(&inside);
        Platform::startThread([&inside] { sched_getaffinity(0, sizeof inside, &inside); }).join();
        EXPECT_TRUE(CPU_EQUAL(&inside, &maker)) << "round " << round;
    }
#else
    bool ran = false;
    Platform::startThread([&ran] { ran = true; }).join();
    EXPECT_TRUE(ran);
#endif
}
