#include "ArchivedBet.h"

#include "core/BetRecords.h"

#include <map>
#include <utility>

namespace Archive {

void Figures::Add(const Bet& bet) {
    if (bet.State == BetCodes::AdvanceSale) {
        return;
    }
    ++Bets;
    Stake += bet.Stake;
    Payout += bet.Payout;
    switch (bet.State) {
    case BetCodes::Hit:
        ++Hits;
        break;
    case BetCodes::Miss:
        ++Misses;
        break;
    case BetCodes::Refunded:
        ++Refunds;
        break;
    default:
        ++Unsettled;
        break;
    }
}

Figures& Figures::operator+=(const Figures& other) {
    Bets += other.Bets;
    Stake += other.Stake;
    Payout += other.Payout;
    Hits += other.Hits;
    Misses += other.Misses;
    Refunds += other.Refunds;
    Unsettled += other.Unsettled;
    return *this;
}

std::vector<DayFigures> SumDay(const QString& saleDate, const std::vector<Bet>& bets) {
    std::map<std::pair<qint16, qint16>, Figures> groups;
    for (const Bet& bet : bets) {
        if (bet.State != BetCodes::AdvanceSale) {
            groups[{bet.Venue, bet.BetType}].Add(bet);
        }
    }
    std::vector<DayFigures> out;
    out.reserve(groups.size());
    for (const auto& [key, sum] : groups) {
        out.push_back({saleDate, key.first, key.second, sum});
    }
    return out;
}

} // namespace Archive
