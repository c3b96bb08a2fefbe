#include "frmMain.h"

#include "QtFormWindow.h"
#include "core/AppInfo.h"

#include <QCloseEvent>

namespace {
constexpr qint32 kWidthTwips = 1965;
}

frmMain::frmMain(QWidget* parent) : QWidget(parent) {
    setWindowTitle(AppInfo::Title());
    resize(131, 180);
    Form_Load();
}

frmMain::~frmMain() = default;

void frmMain::Form_Load() {
    m_settings.LoadSettings();
    QtFormWindow placement(this, Settings::Main);
    m_settings.LoadForm(placement, true, true, true, false);
    placement.setWidthTwips(kWidthTwips);
}

void frmMain::closeEvent(QCloseEvent* event) {
    m_settings.SaveForm(QtFormWindow(this, Settings::Main));
    m_settings.SaveSettings();
    event->accept();
}
