#include "ChildWindow.h"

#include "Fonts.h"
#include "QtFormWindow.h"
#include "WindowPlace.h"
#include "control/DayController.h"
#include "core/AppError.h"
#include "core/ErrorReporter.h"

#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>

#include <vector>

namespace {
// About one title bar.
constexpr int kCascadeStep = 28;
} // namespace

ChildWindow::ChildWindow(DayController& control, Settings::Slot slot, QWidget* owner)
    : QWidget(owner, Qt::Window), m_control(control), m_slot(slot) {
    setFont(Fonts::proportional());
}

void ChildWindow::restorePlace(bool top, bool left, bool height, bool width, const QWidget* beside) {
    QtFormWindow placement(this, m_slot);
    const bool stored = m_control.settings().loadForm(placement, top, left, height, width);
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    const QRect avoid = main && main->isVisible() ? WindowPlace::outer(main) : QRect();
    if (beside && beside->isVisible()) {
        placement.place(stored, WindowPlace::outer(beside), avoid);
        return;
    }
    // Windows opened beside the main window one after another are cascaded, so each title bar shows.
    int cascaded = 0;
    if (main) {
        for (const ChildWindow* other : main->findChildren<ChildWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
            cascaded += other != this && other->isVisible() ? 1 : 0;
        }
    }
    placement.place(stored, avoid, QRect(), cascaded * kCascadeStep);
}

void ChildWindow::closeEvent(QCloseEvent* event) {
    try {
        m_control.settings().saveForm(QtFormWindow(this, m_slot));
        closing();
    } catch (const AppError& e) {
        reportError(e);
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

void ChildWindow::rebuild(const ShownRace* race) {
    // The same window filled from the same kind of data keeps its scroll areas, in the same order.
    const QList<QAbstractScrollArea*> areas = findChildren<QAbstractScrollArea*>();
    std::vector<QPoint> scroll;
    for (const QAbstractScrollArea* area : areas) {
        scroll.emplace_back(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
    }
    refill(race);
    const auto restore = [this, scroll] {
        const QList<QAbstractScrollArea*> now = findChildren<QAbstractScrollArea*>();
        for (size_t i = 0; i < scroll.size() && i < size_t(now.size()); ++i) {
            now[qsizetype(i)]->horizontalScrollBar()->setValue(scroll[i].x());
            now[qsizetype(i)]->verticalScrollBar()->setValue(scroll[i].y());
        }
    };
    restore();
    // Some views know how far they scroll only after their next layout.
    QTimer::singleShot(0, this, restore);
}
