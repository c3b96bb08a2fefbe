#include "core/Settings.h"
#include "core/AppError.h"
#include "core/IniFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
struct FakeWindow : IFormWindow {
    int tag = 1;
    bool minimized = false;
    qint32 top = -1, left = -1, height = -1, width = -1;
    int formTag() const override { return tag; }
    bool isMinimized() const override { return minimized; }
    qint32 topTwips() const override { return top; }
    qint32 leftTwips() const override { return left; }
    qint32 heightTwips() const override { return height; }
    qint32 widthTwips() const override { return width; }
    void setTopTwips(qint32 v) override { top = v; }
    void setLeftTwips(qint32 v) override { left = v; }
    void setHeightTwips(qint32 v) override { height = v; }
    void setWidthTwips(qint32 v) override { width = v; }
};

Settings loadFrom(const TempFolder& dir, const QByteArray& ini) {
    dir.write(QStringLiteral("VQV50.INI"), ini);
    Settings s;
    s.setFolder(dir.path());
    s.loadSettings();
    return s;
}

// The button setting has no use in the program, but it is written back as it was read.
QString savedButton(const Settings& s, const TempFolder& dir) {
    s.saveSettings();
    IniFile ini;
    ini.setPathName(dir.path());
    ini.setFileName(QStringLiteral("VQV50.INI"));
    return ini.value(QStringLiteral("OPTION"), QStringLiteral("button"));
}
} // namespace

TEST(Settings, FirstRunDefaults) {
    TempFolder dir;
    Settings s;
    s.setFolder(dir.path());
    s.loadSettings();
    for (int slot = 1; slot <= 7; ++slot) {
        EXPECT_EQ(s.posTop(slot), 0);
        EXPECT_EQ(s.posLeft(slot), 0);
        EXPECT_EQ(s.height(slot), 0);
        EXPECT_EQ(s.width(slot), 0);
    }
    EXPECT_EQ(s.position(), 0);
    EXPECT_EQ(s.backColor(), 16777215);
    EXPECT_EQ(s.foreColor(), 0);
    EXPECT_EQ(s.dispMode(), 2);
    EXPECT_FALSE(dir.exists(QStringLiteral("VQV50.INI"))); // loading writes nothing
    EXPECT_EQ(savedButton(s, dir), QStringLiteral("1"));
}

TEST(Settings, ReadRules) {
    TempFolder dir;
    const Settings s = loadFrom(dir, "[WINDOW]\r\n"
                                     "top03=-200\r\nheight03=-200\r\nleft03=150.5\r\nwidth03=abc\r\n"
                                     "top04=2.5\r\nleft04= 3000 \r\nheight04=4800\r\nwidth04=7200.6\r\n"
                                     "[OPTION]\r\nposition=abc\r\nbackcolor=255\r\nforecolor=\r\ndfltdisp=7\r\n");
    EXPECT_EQ(s.posTop(3), 0);
    EXPECT_EQ(s.height(3), -200);
    EXPECT_EQ(s.posLeft(3), 150);
    EXPECT_EQ(s.width(3), 0);
    EXPECT_EQ(s.posTop(4), 2);
    EXPECT_EQ(s.posLeft(4), 3000);
    EXPECT_EQ(s.height(4), 4800);
    EXPECT_EQ(s.width(4), 7201);
    EXPECT_EQ(s.position(), 0);
    EXPECT_EQ(s.backColor(), 255);
    EXPECT_EQ(s.foreColor(), 0);
    EXPECT_EQ(s.dispMode(), 2);
    EXPECT_EQ(savedButton(s, dir), QStringLiteral("1")); // missing key
}

TEST(Settings, OptionValueTables) {
    struct Case {
        const char* position;
        qint16 expectPosition;
        const char* disp;
        qint16 expectDisp;
        const char* button;
        qint16 expectButton;
    } cases[] = {
        {"2", 1, "0", 2, "0", 0}, {"0", 0, "3", 3, "x", 0},     {"-1", 1, "1", 1, "5", 1},
        {"", 0, "", 2, "", 1},    {"0.0", 0, "2.5", 2, "1", 1}, {"1", 1, "99999", 2, " 0", 0},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        const Settings s = loadFrom(dir, QByteArray("[OPTION]\r\nposition=") + c.position + "\r\ndfltdisp=" + c.disp +
                                             "\r\nbutton=" + c.button + "\r\n");
        SCOPED_TRACE(testing::Message() << "position=" << c.position << " dfltdisp=" << c.disp
                                        << " button=" << c.button);
        EXPECT_EQ(s.position(), c.expectPosition);
        EXPECT_EQ(s.dispMode(), c.expectDisp);
        EXPECT_EQ(savedButton(s, dir), QString::number(c.expectButton));
    }
}

TEST(Settings, SaveWritesAllKeysInOrderAndKeepsForeignLines) {
    TempFolder dir;
    Settings s = loadFrom(dir, "[MINE]\r\nkeep=1\r\n[OPTION]\r\nposition=2\r\n");
    s.setPosTop(2, 300);
    s.setHeight(5, -10);
    s.setBackColor(12632256);
    s.saveSettings();

    IniFile ini;
    ini.setPathName(dir.path());
    ini.setFileName(QStringLiteral("VQV50.INI"));
    EXPECT_EQ(ini.value(QStringLiteral("MINE"), QStringLiteral("keep")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("OPTION"), QStringLiteral("position")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("OPTION"), QStringLiteral("button")), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("OPTION"), QStringLiteral("dfltdisp")), QStringLiteral("2"));
    EXPECT_EQ(ini.value(QStringLiteral("OPTION"), QStringLiteral("backcolor")), QStringLiteral("12632256"));
    EXPECT_EQ(ini.value(QStringLiteral("WINDOW"), QStringLiteral("top02")), QStringLiteral("300"));
    EXPECT_EQ(ini.value(QStringLiteral("WINDOW"), QStringLiteral("height05")), QStringLiteral("-10"));

    const QString text = QString::fromLatin1(dir.read(QStringLiteral("VQV50.INI")));
    QStringList windowKeys;
    for (const QString& line : text.split(QStringLiteral("\r\n"))) {
        if (line.startsWith(QLatin1String("top")) || line.startsWith(QLatin1String("left")) ||
            line.startsWith(QLatin1String("height")) || line.startsWith(QLatin1String("width"))) {
            windowKeys << line.section(QLatin1Char('='), 0, 0);
        }
    }
    ASSERT_EQ(windowKeys.size(), 28);
    EXPECT_EQ(windowKeys.mid(0, 5),
              (QStringList{QStringLiteral("top01"), QStringLiteral("left01"), QStringLiteral("height01"),
                           QStringLiteral("width01"), QStringLiteral("top02")}));
    EXPECT_TRUE(text.contains(QLatin1String("[OPTION]\r\nposition=1\r\nbackcolor=12632256\r\nforecolor=0\r\n"
                                            "button=1\r\ndfltdisp=2\r\n")));
}

TEST(Settings, LoadFormAppliesOnlyUsableValuesAndFlags) {
    TempFolder dir;
    const Settings s = loadFrom(dir, "[WINDOW]\r\ntop03=-200\r\nleft03=600\r\nheight03=-200\r\nwidth03=4000\r\n"
                                     "top01=0\r\nleft01=0\r\nheight01=3000\r\nwidth01=9999\r\n");
    FakeWindow w;
    w.tag = 3;
    s.loadForm(w, true, true, true, true);
    EXPECT_EQ(w.top, 0); // -200 was read as 0, a valid position
    EXPECT_EQ(w.left, 600);
    EXPECT_EQ(w.height, -1); // not greater than 0: left alone
    EXPECT_EQ(w.width, 4000);

    FakeWindow main;
    main.tag = 1;
    s.loadForm(main, true, true, true, false);
    EXPECT_EQ(main.top, 0);
    EXPECT_EQ(main.height, 3000);
    EXPECT_EQ(main.width, -1); // flag not set
}

TEST(Settings, SaveFormSkipsMinimisedWindowsAndRejectsBadSlots) {
    Settings s;
    FakeWindow w;
    w.tag = 5;
    w.top = 10;
    w.left = 20;
    w.height = 30;
    w.width = 40;
    s.saveForm(w);
    w.minimized = true;
    w.top = 999;
    s.saveForm(w);
    EXPECT_EQ(s.posTop(5), 10);
    EXPECT_EQ(s.posLeft(5), 20);
    EXPECT_EQ(s.height(5), 30);
    EXPECT_EQ(s.width(5), 40);
    w.tag = 8;
    w.minimized = false;
    EXPECT_THROW(s.saveForm(w), AppError);
    EXPECT_THROW(s.posTop(0), AppError);
}

TEST(Settings, ResultSiteReadsTrimmedFallsBackToThePublicSiteAndRoundTrips) {
    const struct {
        const char* stored;
        const char* expect;
    } cases[] = {
        {nullptr, "https://www.jra.go.jp"},
        {"", "https://www.jra.go.jp"},
        {" http://127.0.0.1:8080 ", "http://127.0.0.1:8080"},
    };
    for (const auto& c : cases) {
        TempFolder dir;
        const QByteArray key = c.stored ? QByteArray("resultsite=") + c.stored + "\r\n" : QByteArray();
        Settings s = loadFrom(dir, "[OPTION]\r\n" + key);
        EXPECT_EQ(s.resultSite(), QString::fromLatin1(c.expect)) << c.stored;
        s.setResultSite(QStringLiteral("http://127.0.0.1:9"));
        s.saveSettings();
        Settings again;
        again.setFolder(dir.path());
        again.loadSettings();
        EXPECT_EQ(again.resultSite(), QStringLiteral("http://127.0.0.1:9"));
    }
}

TEST(Settings, LiveRefreshIsOnForANewFileOffForAnOlderOneAndRoundTrips) {
    struct Case {
        const char* name;
        const char* ini; // nullptr: no settings file yet
        bool autoRefresh;
        bool hitNotices;
    } cases[] = {
        {"new file", nullptr, true, true},
        {"file from before the option", "[OPTION]\r\nposition=1\r\n", false, true},
        {"ticked", "[OPTION]\r\nautorefresh=1\r\nhitnotice=0\r\n", true, false},
        {"any number but 0 is on", "[OPTION]\r\nautorefresh=7\r\nhitnotice=x\r\n", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        if (c.ini) {
            dir.write(QStringLiteral("VQV50.INI"), c.ini);
        }
        Settings s;
        s.setFolder(dir.path());
        s.loadSettings();
        EXPECT_EQ(s.autoRefresh(), c.autoRefresh);
        EXPECT_EQ(s.hitNotices(), c.hitNotices);
        // The user's choice is what the next start reads.
        s.setAutoRefresh(!c.autoRefresh);
        s.setHitNotices(!c.hitNotices);
        s.saveSettings();
        Settings again;
        again.setFolder(dir.path());
        again.loadSettings();
        EXPECT_EQ(again.autoRefresh(), !c.autoRefresh);
        EXPECT_EQ(again.hitNotices(), !c.hitNotices);
    }
}
