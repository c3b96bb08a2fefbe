#include "PassbookChart.h"

#include "core/Dates.h"
#include "core/Formats.h"
#include "profit/ProfitBook.h"

#include <algorithm>

namespace {
constexpr qsizetype kMaxTicks = 12;
constexpr qint64 kMaxSteps = 8;

// Months since year 0: equal for two days of one month, consecutive for neighbouring months.
int monthKey(const QDate& d) {
    return d.year() * 12 + d.month() - 1;
}

// Labels at the first day of each month when the span has a few months, of each year (every few years) when
// it has many, and at every few days inside a single month.
QList<PassbookChartTick> ticks(const QList<PassbookChartPoint>& points) {
    QList<PassbookChartTick> ticks;
    if (points.isEmpty()) {
        return ticks;
    }
    const QDate& first = points.front().date;
    const QDate& last = points.back().date;
    const int months = monthKey(last) - monthKey(first) + 1;
    const int years = last.year() - first.year() + 1;
    const auto step = [](qsizetype count) { return (count + kMaxTicks - 1) / kMaxTicks; };
    if (months == 1) {
        const qsizetype stride = step(points.size());
        for (qsizetype i = 0; i < points.size(); i += stride) {
            ticks.append({i, points[i].date.toString(QStringLiteral("MM/dd"))});
        }
    } else if (months <= kMaxTicks) {
        const QString format = years == 1 ? QStringLiteral("M月") : QStringLiteral("yyyy/MM");
        for (qsizetype i = 0; i < points.size(); ++i) {
            if (i == 0 || monthKey(points[i].date) != monthKey(points[i - 1].date)) {
                ticks.append({i, points[i].date.toString(format)});
            }
        }
    } else {
        const int stride = static_cast<int>(step(years));
        for (qsizetype i = 0; i < points.size(); ++i) {
            const int year = points[i].date.year();
            if ((i == 0 || year != points[i - 1].date.year()) && (year - first.year()) % stride == 0) {
                ticks.append({i, QString::number(year) + QStringLiteral("年")});
            }
        }
    }
    return ticks;
}
// The smallest step of 1, 2 or 5 times a power of ten that covers low..high (low <= 0 <= high) in at most
// kMaxSteps steps from multiples of it.
void niceAxis(qint64 low, qint64 high, PassbookChart& chart) {
    if (low == high) {
        high = low + 1000; // a span of days with nothing won or lost still gets an axis
    }
    for (qint64 power = 1;; power *= 10) {
        for (const qint64 step : {power, 2 * power, 5 * power}) {
            // Division truncates towards zero: a remainder takes the end one step further out.
            const qint64 from = low / step - (low % step != 0 ? 1 : 0);
            const qint64 to = high / step + (high % step != 0 ? 1 : 0);
            if (to - from <= kMaxSteps) {
                chart.low = from * step;
                chart.high = to * step;
                chart.step = step;
                return;
            }
        }
    }
}
} // namespace

QString passbookSpanName(PassbookSpan span) {
    switch (span) {
    case PassbookSpan::Month:
        return QStringLiteral("月");
    case PassbookSpan::Year:
        return QStringLiteral("年");
    case PassbookSpan::All:
        break;
    }
    return QStringLiteral("全期間");
}

PassbookChart buildPassbookChart(const ProfitBook& book, PassbookSpan span) {
    PassbookChart chart;
    // The book is newest first: read from its end, a sound book comes out in order.
    QList<PassbookChartPoint> days;
    days.reserve(book.pastCount());
    for (qsizetype i = book.pastCount(); i >= 1; --i) {
        const QString& ymd = book.pastDate(i);
        if (ymd == ProfitBook::sentinelDate()) {
            continue;
        }
        if (const std::optional<QDate> date = Dates::fromYmd(ymd)) {
            days.append({*date, book.pastProfit(i), 0});
        }
    }
    const auto earlier = [](const PassbookChartPoint& a, const PassbookChartPoint& b) { return a.date < b.date; };
    if (!std::is_sorted(days.begin(), days.end(), earlier)) {
        std::stable_sort(days.begin(), days.end(), earlier);
    }
    if (days.isEmpty()) {
        chart.caption = QStringLiteral("記録がありません");
        niceAxis(0, 0, chart);
        return chart;
    }

    const QDate latest = days.back().date;
    const auto inSpan = [span, latest](const PassbookChartPoint& p) {
        switch (span) {
        case PassbookSpan::Month:
            return monthKey(p.date) == monthKey(latest);
        case PassbookSpan::Year:
            return p.date.year() == latest.year();
        case PassbookSpan::All:
            break;
        }
        return true;
    };
    // The span is the tail of the sorted days.
    auto begin = days.end();
    while (begin != days.begin() && inSpan(*(begin - 1))) {
        --begin;
    }
    chart.points = QList<PassbookChartPoint>(begin, days.end());

    qint64 running = 0;
    qint64 low = 0;
    qint64 high = 0;
    for (PassbookChartPoint& p : chart.points) {
        running += p.profit;
        p.cumulative = running;
        low = std::min({low, qint64(p.profit), running});
        high = std::max({high, qint64(p.profit), running});
    }
    niceAxis(low, high, chart);
    chart.ticks = ticks(chart.points);

    QString title;
    switch (span) {
    case PassbookSpan::Month:
        title = latest.toString(QStringLiteral("yyyy年M月"));
        break;
    case PassbookSpan::Year:
        title = latest.toString(QStringLiteral("yyyy年"));
        break;
    case PassbookSpan::All:
        title = QStringLiteral("全期間");
        break;
    }
    chart.caption = title + QStringLiteral("  ") + QString::number(chart.points.size()) +
                    QStringLiteral("日間  収支 ") + Fmt::thousands(running) + QStringLiteral("円");
    return chart;
}
