#include "core/Codes.h"
#include "core/Paths.h"
#include "core/SpecialFolder.h"
#include "support/TestSupport.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(Venues, TableAndUnknownCodes) {
    const char16_t* names[] = {u"札幌", u"函館", u"福島", u"新潟", u"東京",
                               u"中山", u"中京", u"京都", u"阪神", u"小倉"};
    for (qint16 code = 1; code <= 10; ++code) {
        EXPECT_EQ(KaisaiName(code), QString::fromUtf16(names[code - 1]));
        EXPECT_EQ(KaisaiCode(QString::fromUtf16(names[code - 1])), code);
    }
    const QString twoIdeographicSpaces = QStringLiteral("\u3000\u3000");
    EXPECT_EQ(KaisaiName(0), twoIdeographicSpaces);
    EXPECT_EQ(KaisaiName(11), twoIdeographicSpaces);
    EXPECT_EQ(KaisaiName(-1), twoIdeographicSpaces);
    EXPECT_EQ(KaisaiCode(u""), 0);
    EXPECT_EQ(KaisaiCode(u"東京 "), 0); // exact comparison
    EXPECT_EQ(KaisaiCode(u"大井"), 0);
}

TEST(Codes, CodeToNumAndHexDigits) {
    struct Case {
        const char16_t* text;
        qint16 num;
    } cases[] = {{u"1", 1}, {u"9", 9}, {u"A", 10}, {u"a", 10}, {u"b", 11}, {u"C", 12},
                 {u"D", 0}, {u"0", 0}, {u"", 0},   {u"10", 0}, {u" ", 0},  {u"１", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(CodeToNum(QString::fromUtf16(c.text)), c.num) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_EQ(HexDigit(5), QLatin1Char('5'));
    EXPECT_EQ(HexDigit(10), QLatin1Char('A'));
    EXPECT_EQ(HexDigit(12), QLatin1Char('C'));
    EXPECT_TRUE(IsBitSet(72, 8));
    EXPECT_FALSE(IsBitSet(72, 32));
    EXPECT_TRUE(IsBitSet(127, 64));
}

TEST(Paths, AddPathSep) {
    EXPECT_EQ(AddPathSep(QStringLiteral("/srv/pat")), QStringLiteral("/srv/pat/"));
    EXPECT_EQ(AddPathSep(QStringLiteral("/srv/pat/")), QStringLiteral("/srv/pat/"));
    EXPECT_EQ(AddPathSep(QStringLiteral("/")), QStringLiteral("/")); // a root gets no second separator
    EXPECT_EQ(AddPathSep(QStringLiteral("C:\\")), QStringLiteral("C:\\"));
    EXPECT_EQ(AddPathSep(QString()), QStringLiteral("/"));
    EXPECT_EQ(AddPathSep(QStringLiteral("D:\\PAT ")), QStringLiteral("D:\\PAT /")); // blanks kept
}

TEST(ClientFiles, FindsExactNameFirstThenAnyCase) {
    TempFolder dir;
    dir.Write(QStringLiteral("uy-a.jra"), "x");
    dir.Write(QStringLiteral("Lg-File.JRA"), "y");
    dir.Write(QStringLiteral("ZO-53B.JRA"), "z");
    EXPECT_EQ(ClientFiles::FindFile(dir.Path(), QStringLiteral("UY-A.JRA")), dir.File(QStringLiteral("uy-a.jra")));
    EXPECT_EQ(ClientFiles::FindFile(dir.Path(), QStringLiteral("LG-FILE.JRA")),
              dir.File(QStringLiteral("Lg-File.JRA")));
    EXPECT_EQ(ClientFiles::FindFile(dir.Path(), QStringLiteral("ZO-53B.JRA")), dir.File(QStringLiteral("ZO-53B.JRA")));
    EXPECT_TRUE(ClientFiles::FindFile(dir.Path(), QStringLiteral("UY-B.JRA")).isEmpty());
    // A name never reaches into another folder.
    EXPECT_TRUE(ClientFiles::Find(dir.Path(), QStringLiteral("../x")).isEmpty());
    // A folder is found by Find but not by FindFile.
    dir.Sub(QStringLiteral("VqDownload"));
    EXPECT_FALSE(ClientFiles::Find(dir.Path(), QStringLiteral("VQDOWNLOAD")).isEmpty());
    EXPECT_TRUE(ClientFiles::FindFile(dir.Path(), QStringLiteral("VQDOWNLOAD")).isEmpty());
    EXPECT_EQ(ClientFiles::PathForWrite(dir.Path(), QStringLiteral("NEW.TXT")), dir.File(QStringLiteral("NEW.TXT")));
}

TEST(ClientFiles, NamesWithControlCharactersSeparatorsOrDotsAreNeverThere) {
    TempFolder dir; // the tab and DEL names are on disk, so only the check keeps them unfound
    const QString bad[] = {
        "LG\t01", QStringLiteral("LG") + QChar(0x7f), QStringLiteral("LG") + QChar(0) + "1", "A/B", "A\\B", "..", "."};
    for (const QString& name : {bad[0], bad[1], QStringLiteral("LG001.JRA")})
        dir.Write(name, "x");
    for (const QString& name : bad)
        EXPECT_TRUE(ClientFiles::Find(dir.Path(), name).isEmpty()) << name.toUtf8().toHex().constData();
    EXPECT_EQ(ClientFiles::Find(dir.Path(), "lg001.jra"), dir.File("LG001.JRA"));
}

TEST(ClientFiles, ScopeKeepsOneListingAndForgetsItAfterwards) {
    TempFolder dir;
    {
        ClientFiles::Scope scope;
        EXPECT_TRUE(ClientFiles::FindFile(dir.Path(), QStringLiteral("KS-1234B.JRA")).isEmpty());
        dir.Write(QStringLiteral("ks-1234b.jra"), "x");
        // Inside the scope the folder is a snapshot; an exact name is still seen at once.
        EXPECT_TRUE(ClientFiles::FindFile(dir.Path(), QStringLiteral("KS-1234B.JRA")).isEmpty());
        EXPECT_FALSE(ClientFiles::FindFile(dir.Path(), QStringLiteral("ks-1234b.jra")).isEmpty());
    }
    EXPECT_FALSE(ClientFiles::FindFile(dir.Path(), QStringLiteral("KS-1234B.JRA")).isEmpty());
}

TEST(ReadWholeFile, MissingAndPresentFiles) {
    TempFolder dir;
    EXPECT_FALSE(ReadWholeFile(dir.File(QStringLiteral("none"))).has_value());
    dir.Write(QStringLiteral("a"), QByteArray("\x00\x01\x02", 3));
    EXPECT_EQ(ReadWholeFile(dir.File(QStringLiteral("a"))), QByteArray("\x00\x01\x02", 3));
}

namespace {
class FakeLocator : public IFolderLocator {
public:
    QString path;
    QString Locate(int) const override { return path; }
};
} // namespace

TEST(SpecialFolder, StatusCodesAndDocumentsFolder) {
    FakeLocator locator;
    SetFolderLocator(&locator);
    QString path = QStringLiteral("unchanged");
    EXPECT_EQ(GetSpecialFolder(0, 99, path), 2);
    EXPECT_EQ(path, QStringLiteral("unchanged"));
    EXPECT_EQ(GetSpecialFolder(0, kFolderPersonal, path), 1);
    EXPECT_EQ(path, QStringLiteral("unchanged"));
    EXPECT_EQ(GetMyDocuments(), QString());
    locator.path = QStringLiteral("/home/user/Documents");
    EXPECT_EQ(GetSpecialFolder(0, kFolderPersonal, path), 0);
    EXPECT_EQ(path, QStringLiteral("/home/user/Documents"));
    EXPECT_EQ(GetMyDocuments(), QStringLiteral("/home/user/Documents"));
    locator.path = QString(300, QLatin1Char('d'));
    EXPECT_EQ(GetMyDocuments().size(), 255); // the shell's buffer
    SetFolderLocator(nullptr);
    EXPECT_EQ(GetMyDocuments(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}
