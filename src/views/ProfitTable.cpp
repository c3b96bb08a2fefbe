#include "ProfitTable.h"

#include "core/Dates.h"
#include "core/Formats.h"
#include "core/Money.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

namespace {
const QString kSource = QStringLiteral("frmProfit");

QString amount(qint32 yen) {
    return QString::number(yen);
}

ProfitMeeting buildMeeting(const Meeting& meeting, int panel) {
    ProfitMeeting m;
    m.title = meeting.kaisai() + QLatin1Char(' ') + Fmt::hash0(meeting.kaiJi()) + QStringLiteral("回 ") +
              Fmt::hash0(meeting.hiJi()) + QStringLiteral("日");
    qint32 stakeTotal = 0;
    qint32 profitTotal = 0;
    qint32 tomorrow = 0;
    QStringList tomorrowRaces;
    // The cell sums every advance-sale race, so a click opens one that has a bet to show; the first race
    // after the day's twelve only when none has (it opens nothing then).
    m.tomorrowPick = {static_cast<qint16>(panel + 1), static_cast<qint16>(kProfitRaces + 1)};
    bool tomorrowBet = false;
    qint16 position = 0;
    for (const auto& race : meeting.races()) {
        ++position;
        if (race->kenshu() == 0) {
            continue; // not on sale: no row, nothing in the totals
        }
        const qint32 stake = Money::add(race->amtBuy(), race->amtYesterday(), kSource);
        stakeTotal = Money::add(stakeTotal, stake, kSource);
        if (race->sale() != 1) {
            const qint32 advance = Money::add(race->amtBuy(), race->amtTomorrow(), kSource);
            tomorrow = Money::add(tomorrow, advance, kSource);
            tomorrowRaces << QStringLiteral("%1R %2").arg(race->raceNum()).arg(advance);
            if (!tomorrowBet && race->logCount() > 0) {
                tomorrowBet = true;
                m.tomorrowPick.race = position;
            }
            continue;
        }
        const qint32 profit = Money::sub(race->amtPay(), stake, kSource);
        profitTotal = Money::add(profitTotal, profit, kSource);
        if (race->raceNum() < 1 || race->raceNum() > kProfitRaces) {
            continue; // the day has twelve races; any other number has no cell, but counts in the totals
        }
        ProfitRow row;
        row.index = panel * kProfitRaces + race->raceNum() - 1;
        row.stake = amount(stake);
        if (stake >= 1 && race->result()) {
            row.profitFore = Rgb::White;
            row.profitBack = profit < 0 ? Rgb::Red : Rgb::Black;
        }
        row.profit = amount(profit);
        m.rows << row;
    }
    if (!tomorrowRaces.isEmpty()) {
        m.hasTomorrow = true;
        m.tomorrow = amount(tomorrow);
        m.tomorrowTip = tomorrowRaces.join(QLatin1Char('\n'));
    }
    m.stakeTotal = amount(stakeTotal);
    m.profitTotal = amount(profitTotal);
    m.profitTotalRed = profitTotal < 0;
    return m;
}
} // namespace

ProfitTable buildProfitTable(const std::vector<std::unique_ptr<Meeting>>& meetings, const QString& saleDate) {
    ProfitTable t;
    t.caption = Dates::monthDayLine(saleDate);
    int panel = 0;
    for (const auto& meeting : meetings) {
        t.meetings << buildMeeting(*meeting, panel++);
    }
    return t;
}

RacePick pickRaceCell(int index) {
    return {static_cast<qint16>(index / kProfitRaces + 1), static_cast<qint16>(index % kProfitRaces + 1)};
}
