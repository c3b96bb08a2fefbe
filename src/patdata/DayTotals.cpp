#include "DayTotals.h"

#include "Meeting.h"
#include "Race.h"
#include "core/Money.h"

std::optional<DayTotals> sumDayTotals(const std::vector<std::unique_ptr<Meeting>>& meetings) {
    if (meetings.empty()) {
        return std::nullopt;
    }
    DayTotals t;
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->races()) {
            t.amtPay = Money::add(t.amtPay, race->amtPay());
            t.amtYet = Money::add(t.amtYet, race->amtYet());
            t.amtBuy = Money::add(t.amtBuy, race->amtBuy());
            t.amtBuyTomorrow = Money::add(t.amtBuyTomorrow, race->amtTomorrow());
            t.amtBuyYesterday = Money::add(t.amtBuyYesterday, race->amtYesterday());
            t.logCount += race->logCount();
        }
    }
    return t;
}
