#pragma once

#include <QtGlobal>

#include <memory>
#include <optional>
#include <vector>

class Meeting;

// The day's position over every race of every meeting: what the main window shows, what the
// controller keeps and what goes into the profit book.
struct DayTotals {
    qint32 amtPay = 0;
    qint32 amtYet = 0;
    qint32 amtBuy = 0;
    qint32 amtBuyTomorrow = 0;  // the races' AmtTomorrow: bought today for tomorrow
    qint32 amtBuyYesterday = 0; // the races' AmtYesterday: bought the day before for today
    qsizetype logCount = 0;     // bet lines (a day of large boxes can exceed 16 bits)
};

// None without meetings: a day the client has no schedule for has no totals (nothing is stored and the
// profit book is left alone). The amounts are checked sums: one that does not fit 32 bits raises the
// overflow error.
std::optional<DayTotals> sumDayTotals(const std::vector<std::unique_ptr<Meeting>>& meetings);
