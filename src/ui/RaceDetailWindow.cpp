#include "RaceDetailWindow.h"

#include "Fonts.h"
#include "QtFormWindow.h"
#include "control/DayController.h"
#include "views/RaceDetail.h"

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QResizeEvent>

#include <algorithm>

namespace {
constexpr qint32 kMarginTwips = 30;  // between the text and the window's right and bottom edges
constexpr qint32 kOriginTwips = 120; // the text's top and left
constexpr int kDesignCells = 34;     // the widest line: a bet with its odds, and some air
constexpr int kDesignLinesMax = 30;  // more lines than this scroll
} // namespace

RaceDetailWindow::RaceDetailWindow(DayController& control, QWidget* owner, const ShownRace& race)
    : ChildWindow(control, Settings::Detail, owner) {
    m_text = new QPlainTextEdit(this);
    m_text->setObjectName(QStringLiteral("textView"));
    m_text->setReadOnly(true);
    m_text->setFont(Fonts::fixed(10));
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    const int origin = QtFormWindow::twipsToPixels(kOriginTwips, logicalDpiX());
    m_text->move(origin, origin);
    fill(race);
}

void RaceDetailWindow::refill(const ShownRace* race) {
    if (race) {
        showRace(*race);
    }
}

void RaceDetailWindow::showRace(const ShownRace& race) {
    if (const std::optional<RaceDetail> d = buildRaceDetail(race.race, race.odds)) {
        setWindowTitle(d->caption);
        m_text->setPlainText(d->text);
    }
}

void RaceDetailWindow::fill(const ShownRace& race) {
    showRace(race);
    // Sized to the text at first: the widest line across, every line down up to a screenful.
    const QFontMetrics fm(m_text->font());
    const int lines = std::min<int>(m_text->document()->blockCount(), kDesignLinesMax);
    const int frame = 2 * m_text->frameWidth() + 2 * int(m_text->document()->documentMargin());
    const int margin = QtFormWindow::twipsToPixels(kMarginTwips, logicalDpiX());
    resize(m_text->x() + frame + fm.horizontalAdvance(QString(kDesignCells, QLatin1Char('0'))) + margin,
           m_text->y() + frame + (lines + 1) * fm.lineSpacing() + margin);
    restorePlace(true, true, true, true);
}

void RaceDetailWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (isMinimized()) {
        return;
    }
    // The text fills the window but for a small margin on the right and at the bottom.
    const int marginX = QtFormWindow::twipsToPixels(kMarginTwips, logicalDpiX());
    const int marginY = QtFormWindow::twipsToPixels(kMarginTwips, logicalDpiY());
    m_text->resize(std::max(0, width() - m_text->x() - marginX), std::max(0, height() - m_text->y() - marginY));
}
