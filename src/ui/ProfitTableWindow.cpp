#include "ProfitTableWindow.h"

#include "ClickLabel.h"
#include "Colors.h"
#include "ObjectNames.h"
#include "control/DayController.h"
#include "core/AppError.h"
#include "core/ErrorReporter.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

namespace {
// Cells look like the cells of a table; a cell that opens a race shows where the focus is.
const QString kStyle = QStringLiteral("QLabel[cell=\"true\"] { background: #FFFFFF; border: 1px solid #A0A0A0; "
                                      "padding: 1px 3px; }"
                                      "ClickLabel:focus { border: 1px dotted #000000; }");

// Hidden cells keep their place, so a race not on sale leaves a gap instead of moving the rows below it up.
template <class Label>
Label* cell(QWidget* parent, bool amount) {
    auto* l = new Label(parent);
    l->setProperty("cell", true);
    l->setAlignment(amount ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignCenter);
    QSizePolicy keep = l->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    l->setSizePolicy(keep);
    l->hide();
    return l;
}
} // namespace

ProfitTableWindow::ProfitTableWindow(DayController& control, QWidget* owner)
    : ChildWindow(control, Settings::Profit, owner) {
    buildControls();
    fill();
}

void ProfitTableWindow::buildControls() {
    setStyleSheet(kStyle);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(6);
    for (int m = 0; m < kProfitPanels; ++m) {
        row->addWidget(buildPanel(m));
    }
}

QFrame* ProfitTableWindow::buildPanel(int m) {
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    QSizePolicy keep = panel->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    panel->setSizePolicy(keep);
    panel->hide();
    panel->setObjectName(indexedName("meetingPanel", m + 1));
    m_panel[size_t(m)] = panel;

    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(2);
    grid->setVerticalSpacing(1);
    auto* title = new QLabel(panel);
    title->setAlignment(Qt::AlignCenter);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setObjectName(indexedName("meetingTitle", m + 1));
    m_meetingTitle[size_t(m)] = title;
    grid->addWidget(title, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("投票"), panel), 1, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("損益"), panel), 1, 2, Qt::AlignCenter);

    const int amountWidth = fontMetrics().horizontalAdvance(QStringLiteral("-9999999")) + 10;
    for (int r = 0; r < kProfitRaces; ++r) {
        const int i = m * kProfitRaces + r;
        auto* t = cell<ClickLabel>(panel, false);
        t->setText(QStringLiteral("%1R").arg(r + 1));
        auto* bet = cell<ClickLabel>(panel, true);
        auto* profit = cell<ClickLabel>(panel, true);
        bet->setMinimumWidth(amountWidth);
        profit->setMinimumWidth(amountWidth);
        for (ClickLabel* l : {t, bet, profit}) {
            connect(l, &ClickLabel::clicked, this, [this, i] { pick(pickRaceCell(i)); });
        }
        t->setObjectName(indexedName("raceTitle", m + 1, r + 1));
        bet->setObjectName(indexedName("stakeCell", m + 1, r + 1));
        profit->setObjectName(indexedName("profitCell", m + 1, r + 1));
        m_raceTitle[size_t(i)] = t;
        m_stakeCell[size_t(i)] = bet;
        m_profitCell[size_t(i)] = profit;
        grid->addWidget(t, r + 2, 0);
        grid->addWidget(bet, r + 2, 1);
        grid->addWidget(profit, r + 2, 2);
    }
    auto* tomorrowTitle = cell<QLabel>(panel, false);
    tomorrowTitle->setText(QStringLiteral("前日"));
    auto* tomorrow = cell<ClickLabel>(panel, true);
    connect(tomorrow, &ClickLabel::clicked, this, [this, m] { pick(m_tomorrowPick[size_t(m)]); });
    tomorrowTitle->setObjectName(indexedName("tomorrowTitle", m + 1));
    tomorrow->setObjectName(indexedName("tomorrowCell", m + 1));
    m_tomorrowTitle[size_t(m)] = tomorrowTitle;
    m_tomorrowCell[size_t(m)] = tomorrow;
    grid->addWidget(tomorrowTitle, kProfitRaces + 2, 0);
    grid->addWidget(tomorrow, kProfitRaces + 2, 1);

    auto* totalTitle = new QLabel(QStringLiteral("計"), panel);
    totalTitle->setAlignment(Qt::AlignCenter);
    auto* betTotal = cell<QLabel>(panel, true);
    auto* profitTotal = cell<QLabel>(panel, true);
    betTotal->show();
    profitTotal->show();
    betTotal->setObjectName(indexedName("stakeTotal", m + 1));
    profitTotal->setObjectName(indexedName("profitTotal", m + 1));
    m_stakeTotal[size_t(m)] = betTotal;
    m_profitTotal[size_t(m)] = profitTotal;
    grid->addWidget(totalTitle, kProfitRaces + 3, 0);
    grid->addWidget(betTotal, kProfitRaces + 3, 1);
    grid->addWidget(profitTotal, kProfitRaces + 3, 2);
    return panel;
}

void ProfitTableWindow::fill() {
    showTable();
    // The height is the design's; the width may be stored wider.
    resize(sizeHint());
    setFixedHeight(sizeHint().height());
    setMinimumWidth(sizeHint().width());
    restorePlace(true, true, false, true);
}

void ProfitTableWindow::refill(const ShownRace*) {
    showTable();
    // A meeting more or less changes the design's size; the width the user gave it stays when it fits.
    setFixedHeight(sizeHint().height());
    setMinimumWidth(sizeHint().width());
}

void ProfitTableWindow::showTable() {
    const ProfitTable table = buildProfitTable(control().meetings(), control().saleDate());
    setWindowTitle(table.caption);
    // Every cell is set, shown or hidden: the table may be showing an earlier read of the day.
    std::array<bool, kCells> onSale{};
    for (int m = 0; m < kProfitPanels; ++m) {
        const bool held = m < table.meetings.size();
        const ProfitMeeting meeting = held ? table.meetings[m] : ProfitMeeting{};
        m_meetingTitle[size_t(m)]->setText(meeting.title);
        m_panel[size_t(m)]->setVisible(held);
        for (const ProfitRow& row : meeting.rows) {
            const auto i = static_cast<size_t>(row.index);
            onSale[i] = true;
            m_stakeCell[i]->setText(row.stake);
            m_profitCell[i]->setText(row.profit);
            m_profitCell[i]->setStyleSheet(Colors::style(row.profitFore, row.profitBack));
        }
        m_tomorrowTitle[size_t(m)]->setVisible(meeting.hasTomorrow);
        m_tomorrowCell[size_t(m)]->setVisible(meeting.hasTomorrow);
        m_tomorrowCell[size_t(m)]->setText(meeting.tomorrow);
        m_tomorrowCell[size_t(m)]->setToolTip(meeting.tomorrowTip);
        m_tomorrowPick[size_t(m)] = meeting.tomorrowPick;
        m_stakeTotal[size_t(m)]->setText(meeting.stakeTotal);
        m_profitTotal[size_t(m)]->setText(meeting.profitTotal);
        m_profitTotal[size_t(m)]->setStyleSheet(meeting.profitTotalRed ? Colors::style(Rgb::Red, std::nullopt)
                                                                       : QString());
    }
    for (size_t i = 0; i < kCells; ++i) {
        for (QWidget* cell : {static_cast<QWidget*>(m_raceTitle[i]), static_cast<QWidget*>(m_stakeCell[i]),
                              static_cast<QWidget*>(m_profitCell[i])}) {
            cell->setVisible(onSale[i]);
        }
    }
}

void ProfitTableWindow::closing() {
    control().closeWindow(IWindowHost::Window::Kekka);
    control().closeWindow(IWindowHost::Window::Detail);
}

void ProfitTableWindow::pick(RacePick pick) {
    try {
        control().showRaceDetail(pick.kaisai, pick.race);
    } catch (const AppError& e) {
        reportError(e);
    }
}
