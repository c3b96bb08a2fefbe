#include "ArchivedBet.h"

#include "core/BetRecords.h"

#include <algorithm>
#include <map>
#include <utility>

namespace Archive {

namespace {
qint64 digits(qint16 value, qint64 limit) {
    return std::clamp<qint64>(value, 0, limit - 1);
}
} // namespace

qint64 packRace(const Bet& bet) {
    return ((digits(bet.venue, 100) * 100 + digits(bet.kaiJi, 100)) * 100 + digits(bet.hiJi, 100)) * 100 +
           digits(bet.raceNum, 100);
}

qint64 packBet(const Bet& bet) {
    qint64 v = digits(bet.betType, 10);
    for (const qint16 n : {bet.num1, bet.num2, bet.num3}) {
        v = v * 100 + digits(n, 100);
    }
    return (v * 10 + digits(bet.buyDay, 10)) * 10 + digits(bet.state, 10);
}

void Figures::add(const Bet& bet) {
    if (bet.state == BetCodes::AdvanceSale) {
        return;
    }
    ++bets;
    stake += bet.stake;
    payout += bet.payout;
    switch (bet.state) {
    case BetCodes::Hit:
        ++hits;
        break;
    case BetCodes::Miss:
        ++misses;
        break;
    case BetCodes::Refunded:
        ++refunds;
        break;
    default:
        ++unsettled;
        break;
    }
}

Figures& Figures::operator+=(const Figures& other) {
    bets += other.bets;
    stake += other.stake;
    payout += other.payout;
    hits += other.hits;
    misses += other.misses;
    refunds += other.refunds;
    unsettled += other.unsettled;
    return *this;
}

std::vector<DayFigures> sumDay(const QString& saleDate, const std::vector<Bet>& bets) {
    std::map<std::pair<qint16, qint16>, Figures> groups;
    for (const Bet& bet : bets) {
        if (bet.state != BetCodes::AdvanceSale) {
            groups[{bet.venue, bet.betType}].add(bet);
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
