#include "PassbookChart.h"

#include "core/Dates.h"
#include "core/Formats.h"
#include "profit/ProfitBook.h"

#include <algorithm>

namespace {
constexpr qsizetype kMaxTicks = 12;
constexpr qint64 kMaxSteps = 8;

// Months since year 0: equal for two days of one month, consecutive for neighbouring months.
int MonthKey(const QDate& d) {
    return d.year() * 12 + d.month() - 1;
}

// Labels at the first day of each month when the span has a few months, of each year (every few years) when
// it has many, and at every few days inside a single month.
QList<PassbookChartTick> Ticks(const QList<PassbookChartPoint>& points) {
    QList<PassbookChartTick> ticks;
    if (points.isEmpty()) {
        return ticks;
    }
    const QDate& first = points.front().Date;
    const QDate& last = points.back().Date;
    const int months = MonthKey(last) - MonthKey(first) + 1;
    const int years = last.year() - first.year() + 1;
    const auto step = [](qsizetype count) { return (count + kMaxTicks - 1) / kMaxTicks; };
    if (months == 1) {
        const qsizetype stride = step(points.size());
        for (qsizetype i = 0; i < points.size(); i += stride) {
            ticks.append({i, points[i].Date.toString(QStringLiteral("MM/dd"))});
        }
    } else if (months <= kMaxTicks) {
        const QString format = years == 1 ? QStringLiteral("M月") : QStringLiteral("yyyy/MM");
        for (qsizetype i = 0; i < points.size(); ++i) {
            if (i == 0 || MonthKey(points[i].Date) != MonthKey(points[i - 1].Date)) {
                ticks.append({i, points[i].Date.toString(format)});
            }
        }
    } else {
        const int stride = static_cast<int>(step(years));
        for (qsizetype i = 0; i < points.size(); ++i) {
            const int year = points[i].Date.year();
            if ((i == 0 || year != points[i - 1].Date.year()) && (year - first.year()) % stride == 0) {
                ticks.append({i, QString::number(year) + QStringLiteral("年")});
            }
        }
    }
    return ticks;
}
// The smallest step of 1, 2 or 5 times a power of ten that covers low..high (low <= 0 <= high) in at most
// kMaxSteps steps from multiples of it.
void NiceAxis(qint64 low, qint64 high, PassbookChart& chart) {
    if (low == high) {
        high = low + 1000; // a span of days with nothing won or lost still gets an axis
    }
    for (qint64 power = 1;; power *= 10) {
        for (const qint64 step : {power, 2 * power, 5 * power}) {
            // Division truncates towards zero: a remainder takes the end one step further out.
            const qint64 from = low / step - (low % step != 0 ? 1 : 0);
            const qint64 to = high / step + (high % step != 0 ? 1 : 0);
            if (to - from <= kMaxSteps) {
                chart.Low = from * step;
                chart.High = to * step;
                chart.Step = step;
                return;
            }
        }
    }
}
} // namespace

QString PassbookSpanName(PassbookSpan span) {
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

PassbookChart BuildPassbookChart(const ProfitBook& book, PassbookSpan span) {
    PassbookChart chart;
    // The book is newest first: read from its end, a sound book comes out in order.
    QList<PassbookChartPoint> days;
    days.reserve(book.PastCount());
    for (qsizetype i = book.PastCount(); i >= 1; --i) {
        const QString& ymd = book.PastDate(i);
        if (ymd == ProfitBook::SentinelDate()) {
            continue;
        }
        if (const std::optional<QDate> date = Dates::FromYmd(ymd)) {
            days.append({*date, book.PastProfit(i), 0});
        }
    }
    const auto earlier = [](const PassbookChartPoint& a, const PassbookChartPoint& b) { return a.Date < b.Date; };
    if (!std::is_sorted(days.begin(), days.end(), earlier)) {
        std::stable_sort(days.begin(), days.end(), earlier);
    }
    if (days.isEmpty()) {
        chart.Caption = QStringLiteral("記録がありません");
        NiceAxis(0, 0, chart);
        return chart;
    }

    const QDate latest = days.back().Date;
    const auto inSpan = [span, latest](const PassbookChartPoint& p) {
        switch (span) {
        case PassbookSpan::Month:
            return MonthKey(p.Date) == MonthKey(latest);
        case PassbookSpan::Year:
            return p.Date.year() == latest.year();
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
    chart.Points = QList<PassbookChartPoint>(begin, days.end());

    qint64 running = 0;
    qint64 low = 0;
    qint64 high = 0;
    for (PassbookChartPoint& p : chart.Points) {
        running += p.Profit;
        p.Cumulative = running;
        low = std::min({low, qint64(p.Profit), running});
        high = std::max({high, qint64(p.Profit), running});
    }
    NiceAxis(low, high, chart);
    chart.Ticks = Ticks(chart.Points);

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
    chart.Caption = title + QStringLiteral("  ") + QString::number(chart.Points.size()) +
                    QStringLiteral("日間  収支 ") + Fmt::Thousands(running) + QStringLiteral("円");
    return chart;
}
