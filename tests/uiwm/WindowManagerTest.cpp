#include "control/clsControl.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/ClickLabel.h"
#include "ui/Translations.h"
#include "ui/frmMain.h"
#include "ui/frmProfit.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QToolButton>

#include <cstdio>
#include <map>
#include <memory>

#include <gtest/gtest.h>

namespace {
using Window = IWindowHost::Window;

// The virtual screen under-x.sh starts, without panels.
const QRect kScreen(0, 0, 1600, 1000);

const std::pair<Window, const char*> kChildren[] = {
    {Window::Profit, "profit"},    {Window::Log, "log"},       {Window::Record, "passbook"},
    {Window::Browser, "download"}, {Window::Detail, "detail"}, {Window::Kekka, "results"},
};

using Frames = std::map<QString, QRect>;

// Time for the window manager to frame new windows and for them to take their places.
void Settle() {
    QTest::qWait(400);
}

bool Tool(const QString& program, const QStringList& args) {
    return QProcess::execute(program, args) == 0;
}

QString Id(const QWidget* w) {
    return QStringLiteral("0x%1").arg(w->winId(), 0, 16);
}

QString Output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished();
    return QString::fromLocal8Bit(p.readAllStandardOutput());
}

// The window's frame as the X server and the window manager have it, not as the program believes.
QRect ServerFrame(const QWidget* w) {
    const QString info = Output(QStringLiteral("xwininfo"), {QStringLiteral("-id"), Id(w)});
    const auto field = [&](const QString& name) {
        const QRegularExpressionMatch m = QRegularExpression(name + QStringLiteral(":\\s+(-?\\d+)")).match(info);
        return m.captured(1).toInt();
    };
    const QStringList extents =
        Output(QStringLiteral("xprop"), {QStringLiteral("-id"), Id(w), QStringLiteral("_NET_FRAME_EXTENTS")})
            .section(QLatin1Char('='), 1)
            .split(QLatin1Char(','));
    if (extents.size() != 4) {
        return QRect();
    }
    const QRect client(field(QStringLiteral("Absolute upper-left X")), field(QStringLiteral("Absolute upper-left Y")),
                       field(QStringLiteral("Width")), field(QStringLiteral("Height")));
    return client.marginsAdded(QMargins(extents[0].trimmed().toInt(), extents[2].trimmed().toInt(),
                                        extents[1].trimmed().toInt(), extents[3].trimmed().toInt()));
}

// Closes the window as its close button does: the window manager asks the program to close it.
void CloseByWindowManager(QWidget* w) {
    QPointer<QWidget> window(w);
    ASSERT_TRUE(Tool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-c"), Id(w)}));
    for (int i = 0; i < 100 && window && window->isVisible(); ++i) {
        QTest::qWait(20);
    }
    ASSERT_TRUE(!window || !window->isVisible()) << "the window did not close";
}

void ScreenShot(const QString& name) {
    const QString dir = QStringLiteral(VQ_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    Tool(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), dir + "/wm-" + name + ".png"});
}

void ExpectSame(const Frames& before, const Frames& after, const QString& when) {
    ASSERT_EQ(before.size(), after.size()) << when.toStdString();
    for (const auto& [name, was] : before) {
        const QRect now = after.at(name);
        const bool same = std::abs(now.left() - was.left()) <= 1 && std::abs(now.top() - was.top()) <= 1 &&
                          std::abs(now.width() - was.width()) <= 1 && std::abs(now.height() - was.height()) <= 1;
        EXPECT_TRUE(same) << when.toStdString() << ": " << name.toStdString() << " was " << was.x() << ',' << was.y()
                          << ' ' << was.width() << 'x' << was.height() << ", now " << now.x() << ',' << now.y() << ' '
                          << now.width() << 'x' << now.height();
    }
}

class WindowManagerTest : public ClientFolderTest {
protected:
    void SetUp() override {
        ClientFolderTest::SetUp();
        ASSERT_TRUE(WriteSampleDay(client.Path()));
    }
    void TearDown() override {
        main.reset();
        ClientFolderTest::TearDown();
    }

    void Start() {
        main = std::make_unique<frmMain>();
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        Settle();
    }
    void Quit() {
        CloseByWindowManager(main.get());
        main.reset();
    }
    QWidget* Child(Window kind) const { return main->Host().Loaded(kind); }

    // Every window, opened as a user opens them: the toolbar, then a settled race of the profit table,
    // which brings its detail and its result.
    void OpenAll() {
        for (int b : {frmMain::ProfitButton, frmMain::LogButton, frmMain::RecordButton, frmMain::DownloadButton}) {
            QTest::mouseClick(main->ToolButton(b), Qt::LeftButton);
        }
        auto* profit = qobject_cast<frmProfit*>(Child(Window::Profit));
        ASSERT_NE(profit, nullptr);
        QTest::mouseClick(profit->lblProfit(27), Qt::LeftButton);
        Settle();
    }
    void CloseAll() {
        for (const auto& [kind, name] : kChildren) {
            if (QWidget* w = Child(kind)) {
                CloseByWindowManager(w);
            }
        }
    }
    Frames Shown() const {
        Frames f{{QStringLiteral("main"), ServerFrame(main.get())}};
        for (const auto& [kind, name] : kChildren) {
            if (const QWidget* w = Child(kind)) {
                f[QString::fromLatin1(name)] = ServerFrame(w);
            }
        }
        return f;
    }

    std::unique_ptr<frmMain> main;
};
} // namespace

TEST_F(WindowManagerTest, FirstStartShowsEveryTitleBarAndCoversNothingOfOurs) {
    Start();
    OpenAll();
    ScreenShot(QStringLiteral("first-start"));
    const Frames f = Shown();
    ASSERT_EQ(f.size(), 7u);
    const QRect mainFrame = f.at(QStringLiteral("main"));
    EXPECT_EQ(mainFrame.topRight(), kScreen.topRight());
    EXPECT_GT(main->geometry().top(), mainFrame.top() + 10) << "the main window has no title bar";
    for (const auto& [name, frame] : f) {
        EXPECT_TRUE(kScreen.contains(frame)) << name.toStdString();
        EXPECT_TRUE(name == QStringLiteral("main") || !frame.intersects(mainFrame)) << name.toStdString();
    }
    EXPECT_FALSE(f.at(QStringLiteral("results")).intersects(f.at(QStringLiteral("detail"))));
}

TEST_F(WindowManagerTest, PlacesAndSettingsStayThroughReopeningAndRestarting) {
    Start();
    OpenAll();
    // Moved and sized by the user, as the window manager does it.
    ASSERT_TRUE(Tool(QStringLiteral("wmctrl"), {QStringLiteral("-i"), QStringLiteral("-r"), Id(Child(Window::Log)),
                                                QStringLiteral("-e"), QStringLiteral("0,150,260,700,500")}));
    Settle();
    const Frames placed = Shown();
    for (int round = 1; round <= 3; ++round) {
        CloseAll();
        OpenAll();
        ExpectSame(placed, Shown(), QStringLiteral("reopened %1").arg(round));
    }
    ScreenShot(QStringLiteral("reopened"));
    Quit();
    const QByteArray settings = program.Read(QStringLiteral("VQV50.INI"));
    for (int round = 1; round <= 3; ++round) {
        Start();
        OpenAll();
        ExpectSame(placed, Shown(), QStringLiteral("restart %1").arg(round));
        Quit();
        EXPECT_EQ(program.Read(QStringLiteral("VQV50.INI")), settings) << "restart " << round;
    }
    Start();
    ScreenShot(QStringLiteral("restarted"));
}

TEST_F(WindowManagerTest, APlaceNoScreenShowsIsBroughtBack) {
    // Stored while a second monitor stood right of this one.
    program.Write(QStringLiteral("VQV50.INI"), "[WINDOW]\r\ntop01=1500\r\nleft01=36000\r\nheight01=3000\r\n"
                                               "top03=9000\r\nleft03=30000\r\nheight03=6000\r\nwidth03=9000\r\n");
    Start();
    QTest::mouseClick(main->ToolButton(frmMain::LogButton), Qt::LeftButton);
    Settle();
    ScreenShot(QStringLiteral("brought-back"));
    for (const auto& [name, frame] : Shown()) {
        EXPECT_TRUE(kScreen.contains(frame)) << name.toStdString();
    }
    EXPECT_EQ(ServerFrame(Child(Window::Log)).size(), QSize(600, 400));
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("wmctrl -m >/dev/null")}) != 0) {
        std::puts("test_ui_wm: skipped: no X server with a window manager (run it through ctest, which starts "
                  "xvfb-run and openbox)");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    }
    QApplication app(argc, argv);
    InstallQtTranslations();
    // The manager announces itself before it manages: wait until it has framed a window.
    {
        QWidget probe;
        probe.show();
        for (int i = 0; i < 250 && probe.frameGeometry() == probe.geometry(); ++i) {
            QTest::qWait(20);
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
