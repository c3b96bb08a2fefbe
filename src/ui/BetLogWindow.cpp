#include "BetLogWindow.h"

#include "Fonts.h"
#include "Icons.h"
#include "ObjectNames.h"
#include "QtFormWindow.h"
#include "TextLines.h"
#include "control/DayController.h"
#include "core/AppError.h"
#include "core/ErrorReporter.h"

#include <QButtonGroup>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QListView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>

namespace {
constexpr qint32 kMarginTwips = 30; // between the text and the window's edges
// Design size of the text: the widest line of the all-tickets view (a wheel over a field of eighteen)
// across, and a screenful of lines down; wider lines and more lines scroll.
constexpr int kDesignCells = 48;
constexpr int kDesignLines = 30;

QIcon (*const kIcons[LogViews::kViewCount])() = {&Icons::logAll, &Icons::logAccepted, &Icons::logUnsettled,
                                                 &Icons::logHits, &Icons::logSchedule};
} // namespace

BetLogWindow::BetLogWindow(DayController& control, QWidget* owner) : ChildWindow(control, Settings::Log, owner) {
    buildControls();
    fill();
}

void BetLogWindow::buildControls() {
    m_toolbar = new QWidget(this);
    m_toolbar->setObjectName(QStringLiteral("toolbar"));
    auto* row = new QHBoxLayout(m_toolbar);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    // One button is pressed: the view on show. The schedule stands apart from the four views of bets.
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (qint16 index = 1; index <= LogViews::kViewCount; ++index) {
        auto* b = new QToolButton(m_toolbar);
        b->setObjectName(indexedName("viewButton", index));
        b->setText(LogViews::caption(index));
        b->setToolTip(LogViews::toolTip(index));
        b->setIcon(kIcons[index - 1]());
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        b->setCheckable(true);
        b->setFocusPolicy(Qt::StrongFocus);
        if (index == LogViews::Schedule) {
            auto* bar = new QFrame(m_toolbar);
            bar->setFrameShape(QFrame::VLine);
            bar->setFrameShadow(QFrame::Sunken);
            row->addWidget(bar);
        }
        row->addWidget(b);
        group->addButton(b, index);
        m_buttons[size_t(index - 1)] = b;
    }
    row->addStretch(1);
    connect(group, &QButtonGroup::idClicked, this, &BetLogWindow::toolbarClicked);
    m_toolbar->resize(m_toolbar->sizeHint());

    m_lines = new TextLines(this);
    m_text = m_lines->makeView(this, Fonts::fixed(10));
    m_text->setObjectName(QStringLiteral("textView"));
    m_text->move(QtFormWindow::twipsToPixels(kMarginTwips, logicalDpiX()), m_toolbar->height());

    // On a long day the first and the last race are one key away, wherever the focus is in the window.
    for (const bool last : {false, true}) {
        auto* key = new QShortcut(QKeySequence(Qt::CTRL | (last ? Qt::Key_End : Qt::Key_Home)), this);
        connect(key, &QShortcut::activated, this, [this, last] {
            const int rows = m_lines->rowCount();
            if (rows > 0) {
                m_text->setCurrentIndex(m_lines->index(last ? rows - 1 : 0));
            }
            last ? m_text->scrollToBottom() : m_text->scrollToTop();
            m_text->horizontalScrollBar()->setValue(0);
        });
    }
}

void BetLogWindow::fill() {
    const DayController& c = control();
    setWindowTitle(LogViews::title(c.saleDate(), c.betLog()));
    const qint16 view = c.settings().dispMode();
    if (view >= 1 && view <= LogViews::kViewCount) {
        button(view)->setChecked(true);
    }
    showView(view);

    const QFontMetrics fm(m_text->font());
    const int frame = 2 * m_text->frameWidth();
    const int bar = m_text->verticalScrollBar()->sizeHint().width();
    const int margin = QtFormWindow::twipsToPixels(kMarginTwips, logicalDpiX());
    const int width =
        m_text->x() + frame + fm.horizontalAdvance(QString(kDesignCells, QLatin1Char('0'))) + bar + margin;
    resize(std::max(width, m_toolbar->sizeHint().width()),
           m_text->y() + frame + kDesignLines * fm.lineSpacing() + bar + margin);
    restorePlace(true, true, true, true);
}

void BetLogWindow::refill(const ShownRace*) {
    const DayController& c = control();
    setWindowTitle(LogViews::title(c.saleDate(), c.betLog()));
    showView(c.settings().dispMode()); // the view pressed last
}

void BetLogWindow::showView(qint16 index) {
    // A value that names no view leaves the text as it is.
    if (const std::optional<QString> text = LogViews::text(index, control().meetings())) {
        m_lines->setText(*text, m_text->font());
    }
}

void BetLogWindow::toolbarClicked(int index) {
    try {
        showView(static_cast<qint16>(index));
        control().settings().setDispMode(static_cast<qint16>(index));
    } catch (const AppError& e) {
        reportError(e);
    }
}

void BetLogWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (isMinimized()) {
        return;
    }
    m_toolbar->resize(width(), m_toolbar->height());
    // The text fills the window but for a small margin on the right and at the bottom.
    const int marginX = QtFormWindow::twipsToPixels(kMarginTwips, logicalDpiX());
    const int marginY = QtFormWindow::twipsToPixels(kMarginTwips, logicalDpiY());
    m_text->resize(std::max(0, width() - m_text->x() - marginX), std::max(0, height() - m_text->y() - marginY));
}
