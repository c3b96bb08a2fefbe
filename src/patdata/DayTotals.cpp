#include "DayTotals.h"

#include "Meeting.h"
#include "Race.h"
#include "core/Money.h"

std::optional<DayTotals> SumDayTotals(const std::vector<std::unique_ptr<Meeting>>& meetings) {
    if (meetings.empty()) {
        return std::nullopt;
    }
    DayTotals t;
    for (const auto& meeting : meetings) {
        for (const auto& race : meeting->colRace()) {
            t.AmtPay = Money::Add(t.AmtPay, race->AmtPay());
            t.AmtYet = Money::Add(t.AmtYet, race->AmtYet());
            t.AmtBuy = Money::Add(t.AmtBuy, race->AmtBuy());
            t.AmtBuyTomorrow = Money::Add(t.AmtBuyTomorrow, race->AmtTomorrow());
            t.AmtBuyYesterday = Money::Add(t.AmtBuyYesterday, race->AmtYesterday());
            t.LogCount += race->LogCount();
        }
    }
    return t;
}
