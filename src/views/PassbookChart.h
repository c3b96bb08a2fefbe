#pragma once

#include "Rgb.h"

#include <QDate>
#include <QList>
#include <QString>

class ProfitBook;

// The passbook's chart (グラフ): a bar per recorded day of a span, red for a loss, and the running profit
// of the span as a line over the same days.

enum class PassbookSpan { Month, Year, All };
inline constexpr PassbookSpan kPassbookSpans[] = {PassbookSpan::Month, PassbookSpan::Year, PassbookSpan::All};
// "月", "年", "全期間": the names of the span selector.
QString passbookSpanName(PassbookSpan span);

inline constexpr Rgb::Value kPassbookGainColour = 0x1E64C8; // blue: as far from the loss red as it gets
inline constexpr Rgb::Value kPassbookLossColour = Rgb::Red;
inline constexpr Rgb::Value kPassbookLineColour = 0x228B22;

struct PassbookChartPoint {
    QDate date;
    qint32 profit = 0;
    // From the first day of the span. 64 bits: years of eight-digit days pass the 32-bit range, and a
    // chart has no error to show for it.
    qint64 cumulative = 0;
};

// A label of the day axis under the bar of Points[Index].
struct PassbookChartTick {
    qsizetype index = 0;
    QString label;
};

struct PassbookChart {
    QString caption;                  // "2026年11月  8日  収支 -3,800円"; "記録がありません" for no day
    QList<PassbookChartPoint> points; // oldest first
    QList<PassbookChartTick> ticks;   // a dozen at most, indexes rising, labels distinct
    // The value axis: from Low to High in steps of Step (1, 2 or 5 times a power of ten, at most eight of
    // them); both ends are multiples of the step, so zero is always a grid line. Every bar and the line fit.
    qint64 low = 0;
    qint64 high = 0;
    qint64 step = 0;
};

// The chart of the span ending at the latest record: its month, its year or the whole book. The sentinel
// and a record whose date is no date are left out; the protected flags change nothing. Days come oldest
// first even from a book whose order was changed by hand.
PassbookChart buildPassbookChart(const ProfitBook& book, PassbookSpan span);
