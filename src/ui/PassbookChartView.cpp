#include "PassbookChartView.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QStackedBarSeries>
#include <QVBoxLayout>

#include <QValueAxis>
#include <algorithm>

namespace {
constexpr qsizetype kMinSlots = 7;
constexpr qsizetype kMarkedPoints = 62; // two months of days: more markers would hide the line

QColor colour(Rgb::Value v) {
    return QColor::fromRgb(v);
}

// A bar set that draws its bars in one colour; the hairline border keeps a bar of under a pixel (a book of
// years) visible.
QBarSet* barSet(const QString& label, Rgb::Value rgb, QObject* parent) {
    auto* set = new QBarSet(label, parent);
    set->setColor(colour(rgb));
    set->setBorderColor(colour(rgb));
    set->setPen(QPen(colour(rgb), 0));
    return set;
}
} // namespace

PassbookChartView::PassbookChartView(const ProfitBook& book, QWidget* parent) : QWidget(parent), m_book(book) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 4, 6, 6);
    column->setSpacing(4);

    auto* top = new QHBoxLayout;
    auto* spanLabel = new QLabel(QStringLiteral("期間(&S)"), this);
    m_spanBox = new QComboBox(this);
    m_spanBox->setObjectName(QStringLiteral("spanBox"));
    for (const PassbookSpan span : kPassbookSpans) {
        m_spanBox->addItem(passbookSpanName(span), static_cast<int>(span));
    }
    spanLabel->setBuddy(m_spanBox);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("spanCaption"));
    top->addWidget(spanLabel);
    top->addWidget(m_spanBox);
    top->addSpacing(12);
    top->addWidget(m_caption, 1);
    column->addLayout(top);

    m_chart = new QChart;
    m_chart->setLocalizeNumbers(true); // "-12,345": the separators the lists show
    m_chart->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->legend()->setFont(font());

    // Each day is one bar: its profit goes to one set, zero to the other, so a loss is red and a gain is not.
    auto* bars = new QStackedBarSeries(m_chart);
    m_gain = barSet(QStringLiteral("勝ち"), kPassbookGainColour, bars);
    m_loss = barSet(QStringLiteral("負け"), kPassbookLossColour, bars);
    bars->append(m_gain);
    bars->append(m_loss);
    bars->setBarWidth(0.7);
    m_line = new QLineSeries(m_chart);
    m_line->setName(QStringLiteral("累計"));
    m_line->setPen(QPen(colour(kPassbookLineColour), 2));
    m_chart->addSeries(bars);
    m_chart->addSeries(m_line);

    // Day i of the span sits at x = i; the day axis labels only a few of them, so thousands of days stay
    // readable and cheap to lay out.
    m_days = new QCategoryAxis(m_chart);
    m_days->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_days->setLabelsFont(font());
    m_days->setGridLineVisible(false);
    m_yen = new QValueAxis(m_chart);
    m_yen->setLabelFormat(QStringLiteral("%.0f"));
    m_yen->setLabelsFont(font());
    m_chart->addAxis(m_days, Qt::AlignBottom);
    m_chart->addAxis(m_yen, Qt::AlignLeft);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(bars), static_cast<QAbstractSeries*>(m_line)}) {
        s->attachAxis(m_days);
        s->attachAxis(m_yen);
    }

    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("chartView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setFocusPolicy(Qt::NoFocus);
    const QFontMetrics fm(font());
    m_design = QSize(fm.horizontalAdvance(QString(64, QLatin1Char('0'))), fm.height() * 20);
    m_view->setMinimumSize(m_design / 2); // still a readable chart of a month
    column->addWidget(m_view, 1);

    connect(m_spanBox, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    refresh();
}

QSize PassbookChartView::sizeHint() const {
    // The layout's own hint takes the view's, which follows whatever size it was last given.
    const QMargins m = layout()->contentsMargins();
    const QSize top = m_spanBox->sizeHint().expandedTo(m_caption->sizeHint());
    return {m.left() + m.right() + m_design.width(),
            m.top() + top.height() + layout()->spacing() + m_design.height() + m.bottom()};
}

PassbookSpan PassbookChartView::span() const {
    return static_cast<PassbookSpan>(m_spanBox->currentData().toInt());
}

void PassbookChartView::setSpan(PassbookSpan span) {
    m_spanBox->setCurrentIndex(m_spanBox->findData(static_cast<int>(span)));
}

void PassbookChartView::refresh() {
    m_shown = buildPassbookChart(m_book, span());
    m_caption->setText(m_shown.caption);

    // Every series gets its values in one call: a point at a time redraws the chart each time, which
    // freezes the window on a book of years.
    const qsizetype n = m_shown.points.size();
    QList<qreal> gains;
    QList<qreal> losses;
    QList<QPointF> line;
    gains.reserve(n);
    losses.reserve(n);
    line.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const PassbookChartPoint& p = m_shown.points[i];
        gains.append(p.profit > 0 ? p.profit : 0);
        losses.append(p.profit < 0 ? p.profit : 0);
        line.append(QPointF(qreal(i), qreal(p.cumulative)));
    }
    m_gain->remove(0, m_gain->count());
    m_loss->remove(0, m_loss->count());
    m_gain->append(gains);
    m_loss->append(losses);
    m_line->replace(line);

    for (const QString& label : m_days->categoriesLabels()) {
        m_days->remove(label);
    }
    // A span of a few days keeps a week's room, centred, so a single day is not one wall of colour.
    const qreal pad = std::max(qreal(kMinSlots - n), qreal(0)) / 2;
    m_days->setStartValue(-0.5 - pad);
    for (const PassbookChartTick& t : m_shown.ticks) {
        m_days->append(t.label, qreal(t.index));
    }
    m_days->setRange(-0.5 - pad, qreal(n) - 0.5 + pad);
    // Both ends are multiples of the step, so evenly spread ticks fall on the steps, zero among them.
    // The count first: the axis lays its labels out when the range changes.
    m_yen->setTickCount(static_cast<int>((m_shown.high - m_shown.low) / m_shown.step) + 1);
    m_yen->setRange(qreal(m_shown.low), qreal(m_shown.high));
    m_line->setPointsVisible(n <= kMarkedPoints);
}
