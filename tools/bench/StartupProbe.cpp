// Measures the windowed program's start: from entering main to the first paint of the main window, on
// whatever client folder start-up settles on (the program folder, or VQV50DEBUG.INI in it). The program
// folder is the executable's, or the one given:
//     vq-startup-probe [--close-after MS] [PROGRAMFOLDER]
// Prints the milliseconds and quits; run it under `/usr/bin/time -v` for the peak memory. With
// --close-after it closes the main window MS after its first paint, as the user does, and prints the moment
// it did (milliseconds since the epoch), for the parent to time the exit by.
#include "FirstPaint.h"
#include "app/SingleInstance.h"
#include "core/Folders.h"
#include "core/Paths.h"
#include "core/Startup.h"
#include "ui/MainWindow.h"
#include "ui/Plugins.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

namespace {
QElapsedTimer g_clock;
std::optional<int> g_closeAfterMs; // --close-after MS: close the main window that long after its first paint
QWidget* g_main = nullptr;

// Once the main window has painted: quit, or close it later as the user does.
void painted() {
    std::printf("main window painted after %lld ms\n", static_cast<long long>(g_clock.elapsed()));
    std::fflush(stdout);
    if (!g_closeAfterMs) {
        QApplication::quit();
        return;
    }
    // Once the day has been stored: the parent times the rest.
    QTimer::singleShot(*g_closeAfterMs, [] {
        std::printf("closing at %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
        std::fflush(stdout);
        g_main->close();
    });
}

class ProbeHost : public IStartupHost {
public:
    void showCritical(const QString& title, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    // As the program: the folder is claimed for this copy (a copy running on it ends the probe).
    bool claimClientFolder(const QString& clientFolder) override {
        instance = std::make_unique<SingleInstance>(clientFolder);
        const SingleInstance::Claim claim = instance->claim();
        return claim == SingleInstance::Claim::First || claim == SingleInstance::Claim::Unguarded;
    }
    void showMainWindow(const Folders& folders) override {
        main = std::make_unique<MainWindow>(folders);
        main->installEventFilter(&paint);
        g_main = main.get();
        main->show();
    }
    FirstPaint paint{&painted};
    std::unique_ptr<SingleInstance> instance;
    std::unique_ptr<MainWindow> main;
};
} // namespace

int main(int argc, char* argv[]) {
    g_clock.start();
    Plugins::prepareApplication();
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() >= 2 && args[0] == QLatin1String("--close-after")) {
        g_closeAfterMs = args[1].toInt();
        args = args.mid(2);
    }
    Folders folders{!args.isEmpty() ? addPathSep(args[0]) : applicationFolder(), QString(), QString()};
    ProbeHost host;
    if (startUp(host, folders) != StartupOutcome::Running) {
        return 1;
    }
    return app.exec();
}
