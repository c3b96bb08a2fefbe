#include "ResultsWindow.h"

#include "Colors.h"
#include "Fonts.h"
#include "ObjectNames.h"
#include "QtFormWindow.h"
#include "RaceDetailWindow.h"
#include "control/DayController.h"
#include "views/RaceResults.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr qint32 kPayoutRowTwips = 210;
} // namespace

ResultsWindow::ResultsWindow(DayController& control, QWidget* owner, const ShownRace& race)
    : ChildWindow(control, Settings::Kekka, owner) {
    buildControls();
    fill(race);
}

void ResultsWindow::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(6);

    m_hit = new QLabel(this);
    m_hit->setObjectName(QStringLiteral("hitLine"));
    QFont bold = Fonts::proportional(10);
    bold.setBold(true);
    m_hit->setFont(bold);
    m_hit->setStyleSheet(QStringLiteral("color: #C00000;"));
    m_info = new QLabel(this);
    m_info->setObjectName(QStringLiteral("infoLine"));
    outer->addWidget(m_hit);
    outer->addWidget(m_info);

    auto* finishers = new QGridLayout;
    finishers->setHorizontalSpacing(4);
    finishers->setVerticalSpacing(2);
    const int boxWidth = fontMetrics().horizontalAdvance(QStringLiteral("88")) + 8;
    for (int i = 0; i < 5; ++i) {
        m_chaku[size_t(i)] = new QLabel(this);
        m_chaku[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_waku[size_t(i)] = new QLabel(this);
        m_waku[size_t(i)]->setAlignment(Qt::AlignCenter);
        m_waku[size_t(i)]->setFixedWidth(boxWidth);
        m_uma[size_t(i)] = new QLabel(this);
        m_uma[size_t(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_uma[size_t(i)]->setMinimumWidth(boxWidth);
        m_umaName[size_t(i)] = new QLabel(this);
        m_diff[size_t(i)] = new QLabel(this);
        m_chaku[size_t(i)]->setObjectName(indexedName("chakuCell", i + 1));
        m_waku[size_t(i)]->setObjectName(indexedName("wakuCell", i + 1));
        m_uma[size_t(i)]->setObjectName(indexedName("umaCell", i + 1));
        m_umaName[size_t(i)]->setObjectName(indexedName("umaNameCell", i + 1));
        m_diff[size_t(i)]->setObjectName(indexedName("diffCell", i + 1));
        finishers->addWidget(m_chaku[size_t(i)], i, 0);
        finishers->addWidget(new QLabel(QStringLiteral("着"), this), i, 1);
        finishers->addWidget(m_waku[size_t(i)], i, 2);
        finishers->addWidget(m_uma[size_t(i)], i, 3);
        finishers->addWidget(m_umaName[size_t(i)], i, 4);
        finishers->addWidget(m_diff[size_t(i)], i, 5);
    }
    finishers->setColumnStretch(4, 1);
    outer->addLayout(finishers);

    m_payoutPanel = new QWidget;
    m_payoutPanel->setObjectName(QStringLiteral("haraiPanel"));
    m_haraiView = new QScrollArea(this);
    m_haraiView->setObjectName(QStringLiteral("haraiView"));
    m_haraiView->setWidget(m_payoutPanel);
    m_haraiView->setWidgetResizable(true);
    m_haraiView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_haraiView->setFrameShape(QFrame::NoFrame);
    outer->addWidget(m_haraiView);

    auto* refunds = new QGridLayout;
    m_henkanUma = new QLabel(this);
    m_henkanUma->setObjectName(QStringLiteral("henkanUmaLine"));
    m_henkanWaku = new QLabel(this);
    m_henkanWaku->setObjectName(QStringLiteral("henkanWakuLine"));
    refunds->addWidget(new QLabel(QStringLiteral("返還馬番"), this), 0, 0);
    refunds->addWidget(m_henkanUma, 0, 1);
    refunds->addWidget(new QLabel(QStringLiteral("返還枠番"), this), 1, 0);
    refunds->addWidget(m_henkanWaku, 1, 1);
    refunds->setColumnStretch(1, 1);
    for (QLabel* l : {m_henkanUma, m_henkanWaku}) {
        l->setFont(Fonts::fixed());
    }
    outer->addLayout(refunds);
    outer->addStretch(1);
}

void ResultsWindow::refill(const ShownRace* race) {
    if (race) {
        showResult(*race); // payouts may have come after the result
    }
}

void ResultsWindow::showResult(const ShownRace& race) {
    const std::optional<RaceResults> r = buildRaceResults(race.race, race.odds, control().wakuColors());
    if (r) {
        setWindowTitle(r->caption);
        m_hit->setText(r->hit);
        m_info->setText(r->info);
        for (size_t i = 0; i < 5; ++i) {
            const FinisherRow& f = r->finishers[i];
            m_chaku[i]->setText(f.chaku);
            m_waku[i]->setText(f.waku);
            m_waku[i]->setStyleSheet(Colors::style(f.wakuFore, f.wakuBack));
            m_uma[i]->setText(f.uma);
            m_umaName[i]->setText(f.umaName);
            m_diff[i]->setText(f.diff);
        }
        m_henkanUma->setText(r->henkanUma);
        m_henkanWaku->setText(r->henkanWaku);
    }

    // One row per payout, each as tall as the design's rows (or the font, whichever is taller).
    qDeleteAll(m_kenshu);
    qDeleteAll(m_harai);
    m_kenshu.clear();
    m_harai.clear();
    delete m_payoutPanel->layout();
    auto* grid = new QGridLayout(m_payoutPanel);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    const QFont fixed = Fonts::fixed();
    const int rowHeight =
        std::max(QtFormWindow::twipsToPixels(kPayoutRowTwips, logicalDpiY()), QFontMetrics(fixed).height() + 2);
    const QList<PayoutRow> rows = r ? r->rows : QList<PayoutRow>();
    for (int i = 0; i < rows.size(); ++i) {
        const QString back = Colors::style(std::nullopt, rows[i].back);
        auto* kenshu = new QLabel(rows[i].label, m_payoutPanel);
        auto* harai = new QLabel(rows[i].text, m_payoutPanel);
        kenshu->setObjectName(indexedName("kenshuCell", i + 1));
        harai->setObjectName(indexedName("haraiLine", i + 1));
        harai->setFont(fixed);
        for (QLabel* l : {kenshu, harai}) {
            l->setStyleSheet(back + QStringLiteral("padding: 0 4px;"));
            l->setFixedHeight(rowHeight);
        }
        grid->addWidget(kenshu, i, 0);
        grid->addWidget(harai, i, 1);
        m_kenshu << kenshu;
        m_harai << harai;
    }
    grid->setColumnStretch(1, 1);
    m_payoutPanel->setFixedHeight(static_cast<int>(rows.size()) * rowHeight);
    // The panel shows up to 22 rows; any more are reached by scrolling, never dropped.
    const int shown = static_cast<int>(std::min<qsizetype>(rows.size(), kPayoutRowsInView));
    const int scrollBar = rows.size() > kPayoutRowsInView ? m_haraiView->verticalScrollBar()->sizeHint().width() : 0;
    m_haraiView->setFixedHeight(shown * rowHeight);
    m_haraiView->setMinimumWidth(m_payoutPanel->sizeHint().width() + scrollBar);
}

void ResultsWindow::fill(const ShownRace& race) {
    showResult(race);
    resize(sizeHint());
    // Until the user has placed this window once, it opens beside the race's detail window instead of on
    // top of it.
    const RaceDetailWindow* detail = nullptr;
    if (parentWidget()) {
        for (const RaceDetailWindow* d :
             parentWidget()->findChildren<RaceDetailWindow*>(QString(), Qt::FindDirectChildrenOnly)) {
            detail = d->isVisible() ? d : detail;
        }
    }
    restorePlace(true, true, true, true, detail);
}
