#include "clientfiles/ResultFiles.h"
#include "control/DayController.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/ClickLabel.h"
#include "ui/MainWindow.h"
#include "ui/Plugins.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>

#include <gtest/gtest.h>

namespace {
using Window = IWindowHost::Window;
using Frames = std::map<QString, QRect>;

const QRect kScreen(0, 0, 1600, 1000); // the virtual screen of under-x.sh, without panels
const std::pair<Window, const char*> kChildren[] = {{Window::Profit, "profit"},   {Window::Log, "log"},
                                                    {Window::Record, "passbook"}, {Window::Browser, "download"},
                                                    {Window::Detail, "detail"},   {Window::Kekka, "results"}};

// A shell command's output; {id} stands for the window's X id.
QString sh(QString command, const QWidget* w = nullptr) {
    QProcess p;
    p.start(QStringLiteral("sh"),
            {QStringLiteral("-c"), command.replace(QStringLiteral("{id}"), QString::number(w ? w->winId() : 0))});
    p.waitForFinished();
    return p.exitCode() == 0 ? QString::fromLocal8Bit(p.readAllStandardOutput()) : QStringLiteral("failed");
}

// The frame as the X server and the window manager have it, not as the program believes it.
QRect serverFrame(const QWidget* w) {
    const QStringList v =
        sh(QStringLiteral("xwininfo -id {id} | awk '/Absolute upper-left|Width:|Height:/ {print $NF}';"
                          "xprop -id {id} _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g'"),
           w)
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return v.size() != 8 ? QRect()
                         : QRect(v[0].toInt(), v[1].toInt(), v[2].toInt(), v[3].toInt())
                               .marginsAdded(QMargins(v[4].toInt(), v[6].toInt(), v[5].toInt(), v[7].toInt()));
}

// As the close button does it: the window manager asks the program to close the window.
void closeByWindowManager(QWidget* w) {
    QPointer<QWidget> window(w);
    sh(QStringLiteral("wmctrl -i -c {id}"), w);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window || !window->isVisible(); })) << "not closed";
}

void screenShot(const QString& name) {
    QDir().mkpath(QStringLiteral(VQ_SCREENSHOT_DIR));
    sh(QStringLiteral("import -window root " VQ_SCREENSHOT_DIR "/wm-%1.png").arg(name));
}

void expectSame(const Frames& before, const Frames& after, const char* when, int round) {
    for (const auto& [name, was] : before) {
        const QRect now = after.count(name) ? after.at(name) : QRect();
        const QMargins d(now.left() - was.left(), now.top() - was.top(), now.right() - was.right(),
                         now.bottom() - was.bottom());
        EXPECT_TRUE(std::max({std::abs(d.left()), std::abs(d.top()), std::abs(d.right()), std::abs(d.bottom())}) <= 1)
            << when << ' ' << round << ": " << qPrintable(name) << " moved by " << d.left() << ',' << d.top() << ','
            << d.right() << ',' << d.bottom();
    }
}

class WindowManagerTest : public ClientFolderTest {
protected:
    void SetUp() override {
        ClientFolderTest::SetUp();
        ASSERT_TRUE(writeSampleDay(client.path()));
    }
    void TearDown() override {
        main.reset();
        ClientFolderTest::TearDown();
    }
    void start() {
        main = std::make_unique<MainWindow>(folders());
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        QTest::qWait(400); // framed by the window manager, and put in place
    }
    void quit() {
        closeByWindowManager(main.get());
        main.reset();
    }
    QWidget* loaded(Window kind) const { return main->host().loaded(kind); }
    // As a user opens them: the toolbar, then a settled race of the profit table (its detail and result).
    void openAll() {
        for (const char* b : {"profitButton", "logButton", "passbookButton", "downloadButton"}) {
            QTest::mouseClick(child<QToolButton>(main.get(), b), Qt::LeftButton);
        }
        QTest::mouseClick(child<ClickLabel>(loaded(Window::Profit), "profitCell_3_4"), Qt::LeftButton);
        QTest::qWait(400);
    }
    void closeAll() {
        for (const auto& [kind, name] : kChildren) {
            if (QWidget* w = loaded(kind)) {
                closeByWindowManager(w);
            }
        }
    }
    Frames shown() const {
        Frames f{{QStringLiteral("main"), serverFrame(main.get())}};
        for (const auto& [kind, name] : kChildren) {
            if (const QWidget* w = loaded(kind)) {
                f[QString::fromLatin1(name)] = serverFrame(w);
            }
        }
        return f;
    }
    QByteArray settingsFile() const { return program.read(QStringLiteral("VQV50.INI")); }

    std::unique_ptr<MainWindow> main;
};
} // namespace

TEST_F(WindowManagerTest, FirstStartShowsEveryTitleBarAndCoversNothingOfOurs) {
    start();
    openAll();
    screenShot(QStringLiteral("first-start"));
    const Frames f = shown();
    ASSERT_EQ(f.size(), 7u);
    const QRect mainFrame = f.at(QStringLiteral("main"));
    EXPECT_EQ(mainFrame.topRight(), kScreen.topRight());
    EXPECT_GT(main->geometry().top(), mainFrame.top() + 10) << "the main window has no title bar";
    for (const auto& [name, frame] : f) {
        EXPECT_TRUE(kScreen.contains(frame)) << qPrintable(name);
        EXPECT_TRUE(name == QStringLiteral("main") || !frame.intersects(mainFrame)) << qPrintable(name);
    }
    EXPECT_FALSE(f.at(QStringLiteral("results")).intersects(f.at(QStringLiteral("detail"))));

    // The passbook grows for its chart, still clear of the main window.
    QTest::mouseClick(child<QToolButton>(loaded(Window::Record), "chartButton"), Qt::LeftButton);
    QTest::qWait(600);
    screenShot(QStringLiteral("passbook-chart"));
    EXPECT_FALSE(serverFrame(loaded(Window::Record)).intersects(serverFrame(main.get())));
    EXPECT_TRUE(kScreen.contains(serverFrame(loaded(Window::Record))));
}

TEST_F(WindowManagerTest, PlacesAndSettingsStayThroughReopeningAndRestarting) {
    start();
    openAll();
    sh(QStringLiteral("wmctrl -i -r {id} -e 0,150,260,700,500"), loaded(Window::Log)); // moved and sized by the user
    QTest::qWait(400);
    const Frames placed = shown();
    for (int round = 1; round <= 3; ++round) {
        closeAll();
        openAll();
        expectSame(placed, shown(), "reopened", round);
    }
    screenShot(QStringLiteral("reopened"));
    quit();
    const QByteArray settings = settingsFile();
    for (int round = 1; round <= 3; ++round) {
        start();
        openAll();
        expectSame(placed, shown(), "restarted", round);
        quit();
        EXPECT_EQ(QString::fromLatin1(settingsFile()).split(QStringLiteral("\r\n")),
                  QString::fromLatin1(settings).split(QStringLiteral("\r\n")))
            << "restart " << round;
    }
}

TEST_F(WindowManagerTest, APlaceNoScreenShowsIsBroughtBack) {
    // Stored while a second monitor stood right of this one.
    program.write(QStringLiteral("VQV50.INI"), "[WINDOW]\r\ntop01=1500\r\nleft01=36000\r\nheight01=3000\r\n"
                                               "top03=9000\r\nleft03=30000\r\nheight03=6000\r\nwidth03=9000\r\n");
    start();
    QTest::mouseClick(child<QToolButton>(main.get(), "logButton"), Qt::LeftButton);
    QTest::qWait(400);
    screenShot(QStringLiteral("brought-back"));
    EXPECT_TRUE(kScreen.contains(serverFrame(main.get())));
    EXPECT_EQ(serverFrame(loaded(Window::Log)), QRect(1000, 600, 600, 400));
}

// The day in the tray (trayer stands for the desktop's tray): its tooltip, and the notice of a race won
// while the program runs.
TEST_F(WindowManagerTest, TheTrayShowsTheDayAndAnnouncesANewHit) {
    if (sh(QStringLiteral("command -v trayer")) == QStringLiteral("failed")) {
        GTEST_SKIP() << "no tray: trayer is not installed (Debian: apt-get install trayer)";
    }
    QProcess tray;
    tray.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("bottom"), QStringLiteral("--align"),
                                          QStringLiteral("right"), QStringLiteral("--widthtype"),
                                          QStringLiteral("request"), QStringLiteral("--height"), QStringLiteral("24")});
    ASSERT_TRUE(QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 5000));
    start();
    QSignalSpy notices(main.get(), &MainWindow::hitsAnnounced);
    auto* icon = main->findChild<QSystemTrayIcon*>(QStringLiteral("trayIcon"));
    ASSERT_TRUE(icon && icon->isVisible());
    EXPECT_EQ(icon->toolTip(), QStringLiteral("VelqoraV50 2026年12月5日(土)\n投票 20,300円\n払戻 50,800円\n"
                                              "損益 +30,000円\nあと8200円未確定"));
    QTest::qWait(500);
    const QPoint at = icon->geometry().center();
    sh(QStringLiteral("xdotool mousemove %1 %2").arg(at.x()).arg(at.y()));
    QTest::qWait(1500);
    screenShot(QStringLiteral("tray-tooltip"));
    sh(QStringLiteral("xdotool mousemove 10 10"));

    // The user works in the betting client (xmessage stands for it) beside the open profit table.
    QTest::mouseClick(child<QToolButton>(main.get(), "profitButton"), Qt::LeftButton);
    QWidget* table = loaded(Window::Profit);
    sh(QStringLiteral("xmessage -geometry 900x600+100+100 client >/dev/null 2>&1 & sleep 1; "
                      "xdotool search --name '^xmessage$' windowactivate"));
    QTest::qWait(500);
    ASSERT_EQ(sh(QStringLiteral("xdotool getactivewindow getwindowname")), QStringLiteral("xmessage\n"));

    // 中山 9R is run: the 1,000 yen on 7 pays 2.8 times.
    const ResultFiles::ResultFile r = SampleDay::openRaceResult();
    const QString today = folders().download + QLatin1Char('/') + SampleDay::saleDate();
    ASSERT_TRUE(QDir().mkpath(today));
    ResultFiles::saveResultFile(today, r);
    ASSERT_TRUE(notices.wait(3000));
    EXPECT_EQ(notices[0][0].toStringList(), QStringList{QStringLiteral("的中 中山9R 単勝 7 2,800円")});
    QTest::qWait(800);
    screenShot(QStringLiteral("tray-notice"));
    // The table shows the race settled in place: the client keeps the focus.
    EXPECT_EQ(loaded(Window::Profit), table);
    EXPECT_EQ(child<QLabel>(table, "profitCell_1_9")->text(), QStringLiteral("1800"));
    EXPECT_EQ(sh(QStringLiteral("xdotool getactivewindow getwindowname")), QStringLiteral("xmessage\n"));
    sh(QStringLiteral("pkill -x xmessage"));
    main.reset();
    tray.kill();
    tray.waitForFinished();
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") || sh(QStringLiteral("wmctrl -m")) == QStringLiteral("failed")) {
        std::puts("test_ui_wm: skipped: no X server with a window manager (ctest runs it under xvfb-run and openbox)");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    }
    Plugins::prepareApplication();
    QApplication app(argc, argv);
    installQtTranslations();
    QWidget probe; // the manager announces itself before it manages: wait until it has framed a window
    probe.show();
    (void)QTest::qWaitFor([&] { return probe.frameGeometry() != probe.geometry(); }, 5000);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
