#include "DayBets.h"

#include "core/Money.h"
#include "core/Numbers.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"

namespace Archive {

std::vector<Bet> dayBets(const SaleDayReader& pat) {
    std::vector<Bet> out;
    qsizetype count = 0;
    for (const auto& meeting : pat.meetings()) {
        for (const auto& race : meeting->races()) {
            count += race->logCount();
        }
    }
    out.reserve(static_cast<std::size_t>(count));
    const QString source = QStringLiteral("Archive");
    for (const auto& meeting : pat.meetings()) {
        const auto kai = Num::toInt16(meeting->kaiJi());
        const auto nichi = Num::toInt16(meeting->hiJi());
        for (const auto& race : meeting->races()) {
            for (qsizetype i = 1; i <= race->logCount(); ++i) {
                const BetLine log = race->logRecord(i);
                Bet bet;
                bet.venue = meeting->kaisaiNum();
                bet.kaiJi = kai;
                bet.hiJi = nichi;
                bet.raceNum = log.raceNum;
                bet.betType = log.betType;
                bet.num1 = log.num1;
                bet.num2 = log.num2;
                bet.num3 = log.num3;
                bet.buyDay = log.buyDay;
                bet.stake = Money::mul(log.units, 100, source);
                // The evaluation keeps the payout per 100 yen: a refund's is 100, so it pays the stake back.
                bet.payout = Money::mul(log.units, log.payout, source);
                bet.state = log.hit;
                out.push_back(bet);
            }
        }
    }
    return out;
}

} // namespace Archive
