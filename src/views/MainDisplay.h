#pragma once

#include "core/FileWarning.h"
#include "patdata/DayTotals.h"

#include <QString>

#include <optional>

// Everything the main window shows after a load or a refresh: the date line, the status line, the five
// figures and the tooltip, with the day totals they were built from (all 0 without meetings). The
// command-line summary prints the same figures.
struct MainDisplay : DayTotals {
    bool hasMeetings = false; // false: "投票要綱なし", figures 0, the profit and log buttons disabled
    QString date;             // label 0
    QString status;           // label 1
    QString bets;             // label 12
    QString payouts;          // label 13
    QString profit;           // label 14
    QString recovery;         // label 15
    QString balance;          // label 16
    QString tooltip;
    // The tray icon's: the program's name, then the day's bets, payouts and profit, a line each.
    QString trayTip;
    // Why the day cannot be shown, for the status line's tooltip; empty when it can.
    QString statusTip;
    // Some file could not be read whole: the tooltip names it, and the status line is drawn in red so it
    // is seen without hovering (its text stays what it would be).
    bool notReadWhole = false;
};

// The texts of a day with the given totals (none: the client has no schedule), the client's current date
// (yyyymmdd) and account balance, and the files the read could not take whole. A figure that does not fit
// 32 bits raises the overflow error.
MainDisplay buildMainDisplay(const std::optional<DayTotals>& totals, const QString& saleDate, qint32 balance,
                             const FileWarnings& warnings = {});

// The title of the minimised main window: "残高 " + balance text + "円".
QString minimizedTitle(const QString& balanceText);
