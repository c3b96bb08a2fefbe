// The windowed program. Everything it decides at start-up lives in Main (core/Startup); this file only
// wires the real message boxes and the main window to it.
#include "Platform.h"
#include "core/Startup.h"
#include "ui/MessageBoxReporter.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

namespace {
class AppStartupHost : public IStartupHost {
public:
    void ShowCritical(const QString& title, const QString& text) override {
        QMessageBox::critical(nullptr, title, text);
    }
    void ShowMainWindow() override {
        m_main = std::make_unique<frmMain>();
        m_main->show();
    }

private:
    std::unique_ptr<frmMain> m_main;
};
} // namespace

int main(int argc, char* argv[]) {
    // The download window's browser engine refuses to start as root with its sandbox, and there is often
    // no GPU where it runs as root (containers, kiosks). A choice the user made stays.
    if (Platform::RunningAsRoot() && qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    }
    QApplication app(argc, argv);
    MessageBoxReporter reporter;
    SetErrorReporter(&reporter);

    AppStartupHost host;
    const StartupOutcome outcome = Main(host);
    if (outcome != StartupOutcome::Running) {
        return ExitStatusOf(outcome);
    }
    const int status = app.exec();
    SetErrorReporter(nullptr);
    return status;
}
