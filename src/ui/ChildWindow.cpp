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

namespace {
// About one title bar.
constexpr int kCascadeStep = 28;
const QString kScroll = QStringLiteral("scroll");
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

QVariantMap ChildWindow::viewState() const {
    QVariantList scroll;
    for (const QAbstractScrollArea* area : findChildren<QAbstractScrollArea*>()) {
        scroll << QPoint(area->horizontalScrollBar()->value(), area->verticalScrollBar()->value());
    }
    return {{kScroll, scroll}};
}

void ChildWindow::restoreViewState(const QVariantMap& state) {
    // The same window built from the same kind of data has its scroll areas in the same order.
    const QVariantList scroll = state.value(kScroll).toList();
    const auto apply = [this, scroll] {
        const QList<QAbstractScrollArea*> areas = findChildren<QAbstractScrollArea*>();
        for (qsizetype i = 0; i < areas.size() && i < scroll.size(); ++i) {
            const QPoint at = scroll[i].toPoint();
            areas[i]->horizontalScrollBar()->setValue(at.x());
            areas[i]->verticalScrollBar()->setValue(at.y());
        }
    };
    apply();
    // Some views know how far they scroll only after their first layout.
    QTimer::singleShot(0, this, apply);
}
