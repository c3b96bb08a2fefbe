#pragma once

#include "core/BetRecords.h"

#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <tuple>
#include <vector>

class Meeting;

// What a refresh tells the user of races whose bets have come out as hits since the refresh before.
namespace HitNotices {
// The races of the day with a hit bet, by sale, venue code and race number, each with its hit bets. The
// notices are written only for the races that are news: a heavy day has thousands of hit bets.
using Hits = std::map<std::tuple<qint16, qint16, qint16>, std::vector<BetLine>>;
Hits hitsOf(const std::vector<std::unique_ptr<Meeting>>& meetings);
// The notices of the races that are hits now but were not before, in race order: races already settled
// when the program started (their hits in `before`) say nothing. A notice reads
// "的中 中山11R 馬連 1-2 3,450円", a part per hit bet, the best paid first.
QStringList newlySettled(const Hits& before, const Hits& now);
} // namespace HitNotices
