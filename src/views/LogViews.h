#pragma once

#include "core/BetRecords.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class Meeting;
class BetLogReader;

// The bet log window: the day's bets race by race as fixed-width text, one view per toolbar button. Lines
// end in CR LF; a full-width character fills two cells. Every race that shows up gets a header (a line of
// hyphens, 【venue race】 and an empty line) and the text closes with one more line of hyphens.
namespace LogViews {

enum View : qint16 {
    AllTickets = 1, // every ticket line of the log, with its acceptance state
    Accepted = 2,   // every accepted bet with its result mark and payout
    Unsettled = 3,  // the accepted bets without a result yet
    Hits = 4,       // the bets that hit, and their count and total payout
    Schedule = 5,   // the meetings and races on sale
};
constexpr qint16 kViewCount = 5;

// The caption and tooltip of a view's toolbar button; empty for a value that names no view.
QString caption(qint16 view);
QString toolTip(qint16 view);

// "12月5日(土)  残ﾍﾞｯﾄ数 880": how many of the 900 bets of the day remain, 0 at the least. Without a log
// reader no bet was made.
QString title(const QString& saleDate, const BetLogReader* log);

// The whole text of a view over the day's meetings; none for a value that names no view (the window then
// leaves its text as it is).
std::optional<QString> text(qint16 view, const std::vector<std::unique_ptr<Meeting>>& meetings);

// One ticket as the all-tickets view lists it: state, bet column, log number, and for a wheel or a box a
// second line with its partners or members; line break included.
QString ticketEntry(const TicketLine& ticket);
// One accepted bet as the accepted view lists it (with mark and payout) or as the unsettled view does
// (`outcome` false); line break included.
QString betEntry(const BetLine& bet, bool outcome);

} // namespace LogViews
