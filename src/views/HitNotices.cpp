#include "HitNotices.h"

#include "BetText.h"
#include "core/Codes.h"
#include "core/Formats.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

#include <algorithm>

namespace HitNotices {
namespace {
// "馬連 1-2 3,450円": the bet type without its padding, the combination without its blanks, what it pays.
QString hitText(const BetLine& bet) {
    QString type = BetText::typeLabel(bet.betType);
    while (type.endsWith(QChar(0x3000))) {
        type.chop(1);
    }
    const QString numbers = BetText::combination(bet).remove(QLatin1Char(' '));
    return type + QLatin1Char(' ') + numbers + QLatin1Char(' ') + Fmt::thousands(qint64(bet.payout) * bet.units) +
           QStringLiteral("円");
}
} // namespace

Hits hitsOf(const std::vector<std::unique_ptr<Meeting>>& meetings) {
    Hits hits;
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->races()) {
            if (std::vector<BetLine> won = race->wonBets(); !won.empty()) {
                hits[{race->sale(), meeting->kaisaiNum(), race->raceNum()}] = std::move(won);
            }
        }
    }
    return hits;
}

QStringList newlySettled(const Hits& before, const Hits& now) {
    QStringList notices;
    for (const auto& [race, bets] : now) {
        if (before.contains(race)) {
            continue;
        }
        std::vector<BetLine> won = bets;
        std::stable_sort(won.begin(), won.end(), [](const BetLine& a, const BetLine& b) {
            return qint64(a.payout) * a.units > qint64(b.payout) * b.units;
        });
        QStringList parts;
        for (const BetLine& bet : won) {
            parts << hitText(bet);
        }
        const auto [sale, venue, raceNum] = race;
        notices << QStringLiteral("的中 %1%2R ").arg(kaisaiName(venue)).arg(raceNum) + parts.join(QStringLiteral("、"));
    }
    return notices;
}
} // namespace HitNotices
