#pragma once

#include <QtGlobal>

#include <memory>
#include <optional>
#include <vector>

class Meeting;

// The day's position over every race of every meeting: what the main window shows, what the
// controller keeps and what goes into the profit book.
struct DayTotals {
    qint32 AmtPay = 0;
    qint32 AmtYet = 0;
    qint32 AmtBuy = 0;
    qint32 AmtBuyTomorrow = 0;  // the races' AmtTomorrow: bought today for tomorrow
    qint32 AmtBuyYesterday = 0; // the races' AmtYesterday: bought the day before for today
    qsizetype LogCount = 0;     // bet lines (a day of large boxes can exceed 16 bits)
};

// None without meetings: a day the client has no schedule for has no totals (nothing is stored and the
// profit book is left alone). The amounts are checked sums: one that does not fit 32 bits raises the
// overflow error.
std::optional<DayTotals> SumDayTotals(const std::vector<std::unique_ptr<Meeting>>& meetings);
