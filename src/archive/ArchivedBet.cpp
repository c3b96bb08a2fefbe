#include "ArchivedBet.h"

#include "core/BetRecords.h"

#include <algorithm>
#include <map>
#include <utility>

namespace Archive {

namespace {
qint64 Digits(qint16 value, qint64 limit) {
    return std::clamp<qint64>(value, 0, limit - 1);
}
} // namespace

qint64 PackRace(const Bet& bet) {
    return ((Digits(bet.Venue, 100) * 100 + Digits(bet.KaiJi, 100)) * 100 + Digits(bet.HiJi, 100)) * 100 +
           Digits(bet.RaceNum, 100);
}

qint64 PackBet(const Bet& bet) {
    qint64 v = Digits(bet.BetType, 10);
    for (const qint16 n : {bet.Num1, bet.Num2, bet.Num3}) {
        v = v * 100 + Digits(n, 100);
    }
    return (v * 10 + Digits(bet.BuyDay, 10)) * 10 + Digits(bet.State, 10);
}

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
