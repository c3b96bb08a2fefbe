// The windowed program. Everything it decides at start-up lives in Main (core/Startup); this file only
// wires the real message boxes and the main window to it.
#include "Platform.h"
#include "SingleInstance.h"
#include "core/AppInfo.h"
#include "core/Startup.h"
#include "ui/MainWindow.h"
#include "ui/MessageBoxReporter.h"
#include "ui/Plugins.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

namespace {
class AppStartupHost : public IStartupHost {
public:
    void showCritical(const QString& title, const QString& text) override {
        QMessageBox::critical(nullptr, title, text);
    }
    bool claimClientFolder(const QString& clientFolder) override {
        m_instance = std::make_unique<SingleInstance>(clientFolder);
        switch (m_instance->claim()) {
        case SingleInstance::Claim::First:
        case SingleInstance::Claim::Unguarded:
            return true;
        case SingleInstance::Claim::HandedOver:
            return false; // the running copy comes to the front; this one ends without a word
        case SingleInstance::Claim::Unreachable:
            QMessageBox::information(nullptr, AppInfo::title(), QStringLiteral("VelqoraV50 はすでに起動しています。"));
            return false;
        }
        return false;
    }
    void showMainWindow(const Folders& folders) override {
        m_main = std::make_unique<MainWindow>(folders);
        QObject::connect(m_instance.get(), &SingleInstance::raiseRequested, m_main.get(), &MainWindow::bringToFront);
        m_main->show();
    }

private:
    std::unique_ptr<SingleInstance> m_instance; // held for the whole run
    std::unique_ptr<MainWindow> m_main;
};
} // namespace

int main(int argc, char* argv[]) {
    // The download window's browser engine refuses to start as root with its sandbox, and there is often
    // no GPU where it runs as root (containers, kiosks). A choice the user made stays.
    if (Platform::runningAsRoot() && qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    }
    Plugins::prepareApplication();
    QApplication app(argc, argv);
    installQtTranslations();
    MessageBoxReporter reporter;
    setErrorReporter(&reporter);

    AppStartupHost host;
    Folders folders{applicationFolder(), QString(), QString()};
    const StartupOutcome outcome = startUp(host, folders);
    if (outcome != StartupOutcome::Running) {
        return exitStatusOf(outcome);
    }
    const int status = app.exec();
    setErrorReporter(nullptr);
    return status;
}
