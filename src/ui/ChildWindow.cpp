#include "ChildWindow.h"

#include "Fonts.h"
#include "QtFormWindow.h"
#include "control/clsControl.h"
#include "core/AppError.h"
#include "core/ErrorReporter.h"

#include <QCloseEvent>
#include <QKeyEvent>

ChildWindow::ChildWindow(clsControl& control, Settings::Slot slot, QWidget* owner)
    : QWidget(owner, Qt::Window), m_control(control), m_slot(slot) {
    setFont(Fonts::Proportional());
}

void ChildWindow::RestorePlace(bool top, bool left, bool height, bool width) {
    QtFormWindow placement(this, m_slot);
    m_control.LoadForm(placement, top, left, height, width);
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    try {
        m_control.SaveForm(QtFormWindow(this, m_slot));
        Form_Unload();
    } catch (const AppError& e) {
        ReportError(e);
    }
    event->accept();
}

void ChildWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
