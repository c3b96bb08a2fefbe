#pragma once

#include "Rgb.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

class Race;
class RaceOdds;

// The results window: conditions, the first five finishers with their bracket colours, every declared
// payout grouped by bet type, and the refunds.

struct FinisherRow {
    QString chaku; // position; empty for a slot without a finisher
    QString waku;  // bracket; empty when none is known
    OptionalRgb wakuBack;
    OptionalRgb wakuFore; // white on brackets 2 and 4, black on the others
    QString uma;
    QString umaName; // a space, then the name
    QString diff;
};

struct PayoutRow {
    int betType = 0;
    QString label; // the bet type's name on its first row, empty below it
    QString text;  // combination and amount in fixed columns
    Rgb::Value back = 0;
};

struct RaceResults {
    QString caption;
    QString hit;
    QString info; // weather, two spaces, going
    std::array<FinisherRow, 5> finishers;
    // Every payout, refunds (amount 0) left out. There may be more rows than the panel's 22 places: the
    // window scrolls rather than dropping any.
    QList<PayoutRow> rows;
    QString henkanUma;
    QString henkanWaku;
};

// Rows the payout panel shows without scrolling.
inline constexpr int kPayoutRowsInView = 22;

// The results of `race`, with brackets from `factory` (the race's opened odds; may be null) and the
// controller's bracket colours 1..8 (stored with red in the lowest byte). None when the race has no
// result reader: the window does not open then.
std::optional<RaceResults> buildRaceResults(const Race& race, const RaceOdds* factory,
                                            const std::array<qint32, 8>& wakuColors);
