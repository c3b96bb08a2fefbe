#include "core/CodePage.h"
#include "core/IniFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

#include <gtest/gtest.h>

namespace {
IniFile open(const TempFolder& dir, const QString& name = QStringLiteral("T.INI")) {
    IniFile ini;
    ini.setPathName(dir.path());
    ini.setFileName(name);
    return ini;
}
} // namespace

TEST(ProFile, PathNameGetsASeparator) {
    IniFile ini;
    ini.setPathName(QStringLiteral("/tmp/x"));
    EXPECT_EQ(ini.pathName(), QStringLiteral("/tmp/x/"));
}

TEST(ProFile, MissingFileSectionOrKeyReadsEmpty) {
    TempFolder dir;
    IniFile ini = open(dir);
    EXPECT_EQ(ini.value(QStringLiteral("A"), QStringLiteral("b")), QString());
    dir.write(QStringLiteral("T.INI"), "[A]\r\nb=1\r\n");
    EXPECT_EQ(ini.value(QStringLiteral("B"), QStringLiteral("b")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("A"), QStringLiteral("c")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("A"), QStringLiteral("b")), QStringLiteral("1"));
}

TEST(ProFile, ReadRulesOnOddContent) {
    TempFolder dir;
    // LF-only lines, no final line end, blanks around names and "=", duplicates, a key outside any section.
    dir.write(QStringLiteral("T.INI"), "orphan=0\n"
                                       "[ Window ]\n"
                                       "  Top01 =  120  \n"
                                       "top01=999\n"
                                       "left01=\n"
                                       "junk line\n"
                                       "[OPTION]\r\n"
                                       "dup=first\r\n"
                                       "[window]\n"
                                       "height01=77\n"
                                       "[Option]\n"
                                       "dup=second\n"
                                       "last=tail");
    IniFile ini = open(dir);
    EXPECT_EQ(ini.value(QStringLiteral("WINDOW"), QStringLiteral("top01")), QStringLiteral("120  "));
    EXPECT_EQ(ini.value(QStringLiteral("window"), QStringLiteral("TOP01")), QStringLiteral("120  "));
    EXPECT_EQ(ini.value(QStringLiteral(" WINDOW "), QStringLiteral(" top01 ")), QStringLiteral("120  "));
    EXPECT_EQ(ini.value(QStringLiteral("WINDOW"), QStringLiteral("left01")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("WINDOW"), QStringLiteral("orphan")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("OPTION"), QStringLiteral("dup")), QStringLiteral("first"));
    // Only the first section of a name is read.
    EXPECT_EQ(ini.value(QStringLiteral("WINDOW"), QStringLiteral("height01")), QString());
    EXPECT_EQ(ini.value(QStringLiteral("OPTION"), QStringLiteral("last")), QString());
}

TEST(ProFile, ValuesAreCodePageTextCutTo254Characters) {
    TempFolder dir;
    QByteArray content = "[FOLDER]\r\npatpath=";
    content += CodePage::encode(QStringLiteral("D:\\競馬\\ﾃﾞｰﾀ  "));
    content += "\r\nlong=" + QByteArray(300, 'x') + "\r\n";
    dir.write(QStringLiteral("T.INI"), content);
    IniFile ini = open(dir);
    EXPECT_EQ(ini.value(QStringLiteral("FOLDER"), QStringLiteral("patpath")), QStringLiteral("D:\\競馬\\ﾃﾞｰﾀ  "));
    EXPECT_EQ(ini.value(QStringLiteral("FOLDER"), QStringLiteral("long")).size(), 254);
}

TEST(ProFile, SetDataCreatesFileAndSectionWithCrLf) {
    TempFolder dir;
    IniFile ini = open(dir);
    EXPECT_NE(ini.setValue(QStringLiteral("OPTION"), QStringLiteral("position"), QStringLiteral("1")), 0);
    EXPECT_NE(ini.setValue(QStringLiteral("OPTION"), QStringLiteral("name"), QStringLiteral("東京")), 0);
    EXPECT_NE(ini.setValue(QStringLiteral("WINDOW"), QStringLiteral("top01"), QStringLiteral("-5")), 0);
    const QByteArray expected =
        "[OPTION]\r\nposition=1\r\nname=" + CodePage::encode(QStringLiteral("東京")) + "\r\n[WINDOW]\r\ntop01=-5\r\n";
    EXPECT_EQ(dir.read(QStringLiteral("T.INI")), expected);
    EXPECT_EQ(ini.value(QStringLiteral("option"), QStringLiteral("NAME")), QStringLiteral("東京"));
}

TEST(ProFile, SetDataKeepsEveryOtherLine) {
    TempFolder dir;
    dir.write(QStringLiteral("T.INI"), "; written by hand\n"
                                       "[OPTION]\n"
                                       "Position = 0\n"
                                       "mine=keep me  \n"
                                       "\n"
                                       "[OTHER]\n"
                                       "x=1");
    IniFile ini = open(dir);
    ini.setValue(QStringLiteral("option"), QStringLiteral("position"), QStringLiteral("1"));
    ini.setValue(QStringLiteral("OPTION"), QStringLiteral("dfltdisp"), QStringLiteral("3"));
    ini.setValue(QStringLiteral("OTHER"), QStringLiteral("y"), QStringLiteral("2"));
    EXPECT_EQ(dir.read(QStringLiteral("T.INI")), QByteArray("; written by hand\r\n"
                                                            "[OPTION]\r\n"
                                                            "position=1\r\n"
                                                            "mine=keep me  \r\n"
                                                            "dfltdisp=3\r\n"
                                                            "\r\n"
                                                            "[OTHER]\r\n"
                                                            "x=1\r\n"
                                                            "y=2\r\n"));
}

TEST(ProFile, BatchWritesOnceAndAFailedWriteReportsZero) {
    TempFolder dir;
    {
        IniFile ini = open(dir);
        IniFile::Batch batch(ini);
        ini.setValue(QStringLiteral("A"), QStringLiteral("k1"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("A"), QStringLiteral("k2"), QStringLiteral("2"));
        EXPECT_FALSE(dir.exists(QStringLiteral("T.INI")));
        EXPECT_EQ(ini.value(QStringLiteral("A"), QStringLiteral("k2")), QStringLiteral("2"));
    }
    EXPECT_EQ(dir.read(QStringLiteral("T.INI")), QByteArray("[A]\r\nk1=1\r\nk2=2\r\n"));
    {
        // A key put in ahead of another section moves that section's lines; later edits still find them.
        IniFile ini = open(dir);
        IniFile::Batch batch(ini);
        ini.setValue(QStringLiteral("B"), QStringLiteral("x"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("A"), QStringLiteral("k3"), QStringLiteral("3"));
        EXPECT_EQ(ini.value(QStringLiteral("B"), QStringLiteral("x")), QStringLiteral("1"));
        ini.setValue(QStringLiteral("b"), QStringLiteral("X"), QStringLiteral("2"));
        ini.setValue(QStringLiteral("B"), QStringLiteral("y"), QStringLiteral("4"));
    }
    EXPECT_EQ(dir.read(QStringLiteral("T.INI")), QByteArray("[A]\r\nk1=1\r\nk2=2\r\nk3=3\r\n[B]\r\nX=2\r\ny=4\r\n"));

    IniFile nowhere;
    nowhere.setPathName(dir.path() + QStringLiteral("missing/folder"));
    nowhere.setFileName(QStringLiteral("T.INI"));
    EXPECT_EQ(nowhere.setValue(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v")), 0);
    EXPECT_FALSE(dir.exists(QStringLiteral("missing")));
}

TEST(ProFile, WritesReplaceTheFileWholeSoNoHalfFileIsLeft) {
    TempFolder dir;
    dir.write(QStringLiteral("T.INI"), "[A]\r\nk=old\r\n");
    IniFile ini = open(dir);
    ini.setValue(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("new"));
    EXPECT_EQ(dir.read(QStringLiteral("T.INI")), QByteArray("[A]\r\nk=new\r\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("T.INI")});
}

// Our files (settings, book, result files: one writer) are never written through a link at their name,
// nor a dangling one: the file it names stays as it was, or is not made.
TEST(ProFile, NothingIsWrittenThroughALink) {
    for (const bool dangling : {false, true}) {
        TempFolder dir;
        if (!dangling) {
            dir.write(QStringLiteral("outside"), "not ours");
        }
        ASSERT_TRUE(QFile::link(dir.file(QStringLiteral("outside")), dir.file(QStringLiteral("T.INI"))));
        EXPECT_EQ(open(dir).setValue(QStringLiteral("A"), QStringLiteral("k"), QStringLiteral("v")), 0);
        EXPECT_EQ(dir.read(QStringLiteral("outside")), dangling ? QByteArray() : QByteArray("not ours"));
        EXPECT_EQ(dir.exists(QStringLiteral("outside")), !dangling);
    }
}

#ifdef Q_OS_UNIX
TEST(ProFile, AWriteThatFailsPartWayKeepsTheOldFile) {
    TempFolder dir;
    const QByteArray old = "[A]\r\nk=old\r\n";
    dir.write(QStringLiteral("T.INI"), old);
    IniFile ini = open(dir);
    // A file size limit makes the write fail part way, as a full disk would.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(old.size() + 10);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const qint32 result = ini.setValue(QStringLiteral("A"), QStringLiteral("k"), QString(200, QLatin1Char('n')));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(dir.read(QStringLiteral("T.INI")), old);
}
#endif
