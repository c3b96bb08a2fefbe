#include "ChartsDrawing.h"

#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLineSeries>
#include <QStackedBarSeries>
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

std::unique_ptr<ChartDrawing> ChartsPlugin::makeDrawing(const QFont& font) {
    return std::make_unique<ChartsDrawing>(font);
}

ChartsDrawing::ChartsDrawing(const QFont& font) {
    m_chart = new QChart;
    m_chart->setLocalizeNumbers(true); // "-12,345": the separators the lists show
    m_chart->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_chart->legend()->setFont(font);

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
    m_days->setLabelsFont(font);
    m_days->setGridLineVisible(false);
    m_yen = new QValueAxis(m_chart);
    m_yen->setLabelFormat(QStringLiteral("%.0f"));
    m_yen->setLabelsFont(font);
    m_chart->addAxis(m_days, Qt::AlignBottom);
    m_chart->addAxis(m_yen, Qt::AlignLeft);
    for (QAbstractSeries* s : {static_cast<QAbstractSeries*>(bars), static_cast<QAbstractSeries*>(m_line)}) {
        s->attachAxis(m_days);
        s->attachAxis(m_yen);
    }

    m_view = new QChartView(m_chart);
    m_view->setObjectName(QStringLiteral("chartView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setFocusPolicy(Qt::NoFocus);
}

ChartsDrawing::~ChartsDrawing() {
    if (m_view && !m_view->parent()) {
        delete m_view.data();
    }
}

QWidget* ChartsDrawing::widget() {
    return m_view.data();
}

void ChartsDrawing::draw(const PassbookChart& chart) {
    // Every series gets its values in one call: a point at a time redraws the chart each time, which
    // freezes the window on a book of years.
    const qsizetype n = chart.points.size();
    QList<qreal> gains;
    QList<qreal> losses;
    QList<QPointF> line;
    gains.reserve(n);
    losses.reserve(n);
    line.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const PassbookChartPoint& p = chart.points[i];
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
    for (const PassbookChartTick& t : chart.ticks) {
        m_days->append(t.label, qreal(t.index));
    }
    m_days->setRange(-0.5 - pad, qreal(n) - 0.5 + pad);
    // Both ends are multiples of the step, so evenly spread ticks fall on the steps, zero among them.
    // The count first: the axis lays its labels out when the range changes.
    m_yen->setTickCount(static_cast<int>((chart.high - chart.low) / chart.step) + 1);
    m_yen->setRange(qreal(chart.low), qreal(chart.high));
    m_line->setPointsVisible(n <= kMarkedPoints);
}
