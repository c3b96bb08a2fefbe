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

RaceDetailWindow::RaceDetailWindow(DayController& control, QWidget* owner)
    : ChildWindow(control, Settings::Detail, owner) {
    m_txtLog = new QPlainTextEdit(this);
    m_txtLog->setReadOnly(true);
    m_txtLog->setFont(Fonts::Fixed(10));
    m_txtLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    const int origin = QtFormWindow::TwipsToPixels(kOriginTwips, logicalDpiX());
    m_txtLog->move(origin, origin);
    Form_Load();
}

void RaceDetailWindow::Form_Load() {
    const DayController& c = objControl();
    const std::optional<RaceDetail> d = BuildRaceDetail(c.objCurRace(), c.objFactory());
    if (d) {
        setWindowTitle(d->Caption);
        m_txtLog->setPlainText(d->Text);
    }
    // Sized to the text at first: the widest line across, every line down up to a screenful.
    const QFontMetrics fm(m_txtLog->font());
    const int lines = std::min<int>(m_txtLog->document()->blockCount(), kDesignLinesMax);
    const int frame = 2 * m_txtLog->frameWidth() + 2 * int(m_txtLog->document()->documentMargin());
    const int margin = QtFormWindow::TwipsToPixels(kMarginTwips, logicalDpiX());
    resize(m_txtLog->x() + frame + fm.horizontalAdvance(QString(kDesignCells, QLatin1Char('0'))) + margin,
           m_txtLog->y() + frame + (lines + 1) * fm.lineSpacing() + margin);
    RestorePlace(true, true, true, true);
}

void RaceDetailWindow::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (isMinimized()) {
        return;
    }
    // The text fills the window but for a small margin on the right and at the bottom.
    const int marginX = QtFormWindow::TwipsToPixels(kMarginTwips, logicalDpiX());
    const int marginY = QtFormWindow::TwipsToPixels(kMarginTwips, logicalDpiY());
    m_txtLog->resize(std::max(0, width() - m_txtLog->x() - marginX), std::max(0, height() - m_txtLog->y() - marginY));
}
