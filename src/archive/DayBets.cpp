#include "DayBets.h"

#include "core/Money.h"
#include "core/Numbers.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"

namespace Archive {

std::vector<Bet> DayBets(const SaleDayReader& pat) {
    std::vector<Bet> out;
    qsizetype count = 0;
    for (const auto& meeting : pat.colKaisai()) {
        for (const auto& race : meeting->colRace()) {
            count += race->LogCount();
        }
    }
    out.reserve(static_cast<std::size_t>(count));
    const QString source = QStringLiteral("Archive");
    for (const auto& meeting : pat.colKaisai()) {
        const auto kai = Num::ToInt16(meeting->KaiJi());
        const auto nichi = Num::ToInt16(meeting->HiJi());
        for (const auto& race : meeting->colRace()) {
            for (qsizetype i = 1; i <= race->LogCount(); ++i) {
                const BetLine log = race->LogRecord(i);
                Bet bet;
                bet.Venue = meeting->KaisaiNum();
                bet.KaiJi = kai;
                bet.HiJi = nichi;
                bet.RaceNum = log.RaceNum;
                bet.BetType = log.BetType;
                bet.Num1 = log.Num1;
                bet.Num2 = log.Num2;
                bet.Num3 = log.Num3;
                bet.BuyDay = log.BuyDay;
                bet.Stake = Money::Mul(log.Units, 100, source);
                // The evaluation keeps the payout per 100 yen: a refund's is 100, so it pays the stake back.
                bet.Payout = Money::Mul(log.Units, log.Payout, source);
                bet.State = log.Hit;
                out.push_back(bet);
            }
        }
    }
    return out;
}

} // namespace Archive
