#pragma once

#include <QString>

#include <memory>
#include <vector>

class clsKaisai;

// Everything the main window shows after a load or a refresh, built from the meetings of the day:
// the date line, the status line, the five figures, the tooltip, and the day totals stored in the
// controller. The command-line summary prints the same figures.
struct MainDisplay {
    bool HasMeetings = false; // false: "投票要綱なし", figures 0, the profit and log buttons disabled
    QString Date;             // label 0
    QString Status;           // label 1
    QString Bets;             // label 12
    QString Payouts;          // label 13
    QString Profit;           // label 14
    QString Recovery;         // label 15
    QString Balance;          // label 16
    QString Tooltip;

    // The day totals (sums over every race of every meeting); all 0 without meetings.
    qint32 AmtBuy = 0;
    qint32 AmtPay = 0;
    qint32 AmtYet = 0;
    qint32 AmtBuyTomorrow = 0;
    qint32 AmtBuyYesterday = 0;
    qsizetype LogCount = 0;
};

// Sums are checked: an amount that does not fit 32 bits raises the overflow error.
MainDisplay BuildMainDisplay(const std::vector<std::unique_ptr<clsKaisai>>& meetings, const QString& curDate,
                             qint32 amtZandaka);

// The title of the minimised main window: "残高 " + balance text + "円".
QString MinimizedTitle(const QString& balanceText);
