#pragma once

#include "Rgb.h"

#include <QList>
#include <QString>

#include <memory>
#include <vector>

class Meeting;

// The day profit table: one panel per meeting with the stake and profit of each race of the day, the
// stake on the next day's advance sale and the meeting's totals.

// Meetings and races per meeting the table has places for.
inline constexpr int kProfitPanels = 3;
inline constexpr int kProfitRaces = 12;

// One race row of a panel. Index is panel × 12 + race number − 1: the cell the row fills.
struct ProfitRow {
    int index = 0;
    QString stake;
    QString profit;
    // White on black for a settled race that did not lose, white on red for one that lost; none while
    // the race has no result or no stake.
    OptionalRgb profitFore;
    OptionalRgb profitBack;
};

// The race a click selects: meeting and race positions, as the controller's CurKaisai and CurRace take them.
struct RacePick {
    qint16 kaisai = 0;
    qint16 race = 0;
    bool operator==(const RacePick&) const = default;
};

struct ProfitMeeting {
    QString title; // "中山 5回 1日"
    QList<ProfitRow> rows;
    // The advance-sale cell: shown when the meeting has a race of the next day on sale. It holds the sum
    // of the stakes on all of them, and its tooltip names each ("11R 500"), one per line.
    bool hasTomorrow = false;
    QString tomorrow;
    QString tomorrowTip;
    // The race the cell opens: the first of the next day's races with a bet, else the meeting's first race
    // after the day's twelve.
    RacePick tomorrowPick;
    QString stakeTotal;
    QString profitTotal;
    bool profitTotalRed = false;
};

struct ProfitTable {
    QString caption; // "12月5日(土)"
    QList<ProfitMeeting> meetings;
};

// The table of the meetings of a day whose date is `saleDate` (yyyymmdd). An amount that does not fit 32
// bits raises the overflow error.
ProfitTable buildProfitTable(const std::vector<std::unique_ptr<Meeting>>& meetings, const QString& saleDate);

// A race row's cell (stake, profit or title) at `index`.
RacePick pickRaceCell(int index);
