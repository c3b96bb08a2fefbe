#include "ProfitTableWindow.h"

#include "ClickLabel.h"
#include "Colors.h"
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
Label* Cell(QWidget* parent, bool amount) {
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
    BuildControls();
    Form_Load();
}

void ProfitTableWindow::BuildControls() {
    setStyleSheet(kStyle);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 6, 6, 6);
    row->setSpacing(6);
    for (int m = 0; m < kProfitPanels; ++m) {
        row->addWidget(BuildPanel(m));
    }
}

QFrame* ProfitTableWindow::BuildPanel(int m) {
    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    QSizePolicy keep = panel->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    panel->setSizePolicy(keep);
    panel->hide();
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
    m_kaisai[size_t(m)] = title;
    grid->addWidget(title, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("投票"), panel), 1, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("損益"), panel), 1, 2, Qt::AlignCenter);

    const int amountWidth = fontMetrics().horizontalAdvance(QStringLiteral("-9999999")) + 10;
    for (int r = 0; r < kProfitRaces; ++r) {
        const int i = m * kProfitRaces + r;
        auto* t = Cell<ClickLabel>(panel, false);
        t->setText(QStringLiteral("%1R").arg(r + 1));
        auto* bet = Cell<ClickLabel>(panel, true);
        auto* profit = Cell<ClickLabel>(panel, true);
        bet->setMinimumWidth(amountWidth);
        profit->setMinimumWidth(amountWidth);
        for (ClickLabel* l : {t, bet, profit}) {
            connect(l, &ClickLabel::clicked, this, [this, i] { Pick(PickRaceCell(i)); });
        }
        m_titleRace[size_t(i)] = t;
        m_amtBet[size_t(i)] = bet;
        m_profit[size_t(i)] = profit;
        grid->addWidget(t, r + 2, 0);
        grid->addWidget(bet, r + 2, 1);
        grid->addWidget(profit, r + 2, 2);
    }
    auto* tomorrowTitle = Cell<QLabel>(panel, false);
    tomorrowTitle->setText(QStringLiteral("前日"));
    auto* tomorrow = Cell<ClickLabel>(panel, true);
    connect(tomorrow, &ClickLabel::clicked, this, [this, m] { Pick(m_tomorrowPick[size_t(m)]); });
    m_titleTomorrow[size_t(m)] = tomorrowTitle;
    m_amtTomorrow[size_t(m)] = tomorrow;
    grid->addWidget(tomorrowTitle, kProfitRaces + 2, 0);
    grid->addWidget(tomorrow, kProfitRaces + 2, 1);

    auto* totalTitle = new QLabel(QStringLiteral("計"), panel);
    totalTitle->setAlignment(Qt::AlignCenter);
    auto* betTotal = Cell<QLabel>(panel, true);
    auto* profitTotal = Cell<QLabel>(panel, true);
    betTotal->show();
    profitTotal->show();
    m_amtBetKei[size_t(m)] = betTotal;
    m_profitKei[size_t(m)] = profitTotal;
    grid->addWidget(totalTitle, kProfitRaces + 3, 0);
    grid->addWidget(betTotal, kProfitRaces + 3, 1);
    grid->addWidget(profitTotal, kProfitRaces + 3, 2);
    return panel;
}

void ProfitTableWindow::Form_Load() {
    const ProfitTable table = BuildProfitTable(objControl().colKaisai(), objControl().CurDate());
    setWindowTitle(table.Caption);
    for (int m = 0; m < kProfitPanels && m < table.Meetings.size(); ++m) {
        const ProfitMeeting& meeting = table.Meetings[m];
        m_kaisai[size_t(m)]->setText(meeting.Title);
        m_panel[size_t(m)]->show();
        for (const ProfitRow& row : meeting.Rows) {
            const auto i = static_cast<size_t>(row.Index);
            m_titleRace[i]->show();
            m_amtBet[i]->setText(row.Stake);
            m_amtBet[i]->show();
            m_profit[i]->setText(row.Profit);
            m_profit[i]->setStyleSheet(Colors::Style(row.ProfitFore, row.ProfitBack));
            m_profit[i]->show();
        }
        if (meeting.HasTomorrow) {
            m_titleTomorrow[size_t(m)]->show();
            m_amtTomorrow[size_t(m)]->setText(meeting.Tomorrow);
            m_amtTomorrow[size_t(m)]->setToolTip(meeting.TomorrowTip);
            m_tomorrowPick[size_t(m)] = meeting.TomorrowPick;
            m_amtTomorrow[size_t(m)]->show();
        }
        m_amtBetKei[size_t(m)]->setText(meeting.StakeTotal);
        m_profitKei[size_t(m)]->setText(meeting.ProfitTotal);
        if (meeting.ProfitTotalRed) {
            m_profitKei[size_t(m)]->setStyleSheet(Colors::Style(Rgb::Red, std::nullopt));
        }
    }
    // The height is the design's; the width may be stored wider.
    resize(sizeHint());
    setFixedHeight(sizeHint().height());
    setMinimumWidth(sizeHint().width());
    RestorePlace(true, true, false, true);
}

void ProfitTableWindow::Form_Unload() {
    objControl().UnloadWindow(IWindowHost::Window::Kekka);
    objControl().UnloadWindow(IWindowHost::Window::Detail);
}

void ProfitTableWindow::Pick(RacePick pick) {
    try {
        objControl().setCurKaisai(pick.Kaisai);
        objControl().setCurRace(pick.Race);
        objControl().ShowDetail();
    } catch (const AppError& e) {
        ReportError(e);
    }
}
