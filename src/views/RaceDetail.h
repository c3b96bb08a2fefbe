#pragma once

#include <QString>

#include <optional>

class Race;
class RaceOdds;

// The race detail window: every bet on the race as one line of fixed columns (type, combination, stake,
// then the current odds or the outcome), and the race's totals below. Columns count half-width cells, a
// full-width character filling two; stakes and totals stand in cells 17 to 24.
struct RaceDetail {
    QString caption; // "前日 中山 11R" for an advance-sale race, " 中山 11R" otherwise
    QString text;    // lines joined by CR LF, no CR LF at the end
};

// The detail of `race`, with odds from `factory` (the race's opened odds; null or without a file: no odds
// for the types of that file). None when the race has no bet line: the window does not open then. An
// amount that does not fit 32 bits raises the overflow error.
std::optional<RaceDetail> buildRaceDetail(const Race& race, const RaceOdds* factory);
