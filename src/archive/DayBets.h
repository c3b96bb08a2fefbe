#pragma once

#include "ArchivedBet.h"

class SaleDayReader;

namespace Archive {
// Every evaluated bet line of the day as the folder was read: meeting by meeting, race by race, in the
// order of the log. Advance sales are among them, marked so.
std::vector<Bet> dayBets(const SaleDayReader& pat);
} // namespace Archive
