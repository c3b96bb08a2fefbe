#include "ProfitTable.h"

#include "core/Dates.h"
#include "core/Formats.h"
#include "core/Money.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

namespace {
const QString kSource = QStringLiteral("frmProfit");

QString Amount(qint32 yen) {
    return QString::number(yen);
}

ProfitMeeting BuildMeeting(const Meeting& meeting, int panel) {
    ProfitMeeting m;
    m.Title = meeting.Kaisai() + QLatin1Char(' ') + Fmt::Hash0(meeting.KaiJi()) + QStringLiteral("回 ") +
              Fmt::Hash0(meeting.HiJi()) + QStringLiteral("日");
    qint32 stakeTotal = 0;
    qint32 profitTotal = 0;
    qint32 tomorrow = 0;
    QStringList tomorrowRaces;
    // The cell sums every advance-sale race, so a click opens one that has a bet to show; the first race
    // after the day's twelve only when none has (it opens nothing then).
    m.TomorrowPick = {static_cast<qint16>(panel + 1), static_cast<qint16>(kProfitRaces + 1)};
    bool tomorrowBet = false;
    qint16 position = 0;
    for (const auto& race : meeting.colRace()) {
        ++position;
        if (race->Kenshu() == 0) {
            continue; // not on sale: no row, nothing in the totals
        }
        const qint32 stake = Money::Add(race->AmtBuy(), race->AmtYesterday(), kSource);
        stakeTotal = Money::Add(stakeTotal, stake, kSource);
        if (race->Sale() != 1) {
            const qint32 advance = Money::Add(race->AmtBuy(), race->AmtTomorrow(), kSource);
            tomorrow = Money::Add(tomorrow, advance, kSource);
            tomorrowRaces << QStringLiteral("%1R %2").arg(race->RaceNum()).arg(advance);
            if (!tomorrowBet && race->LogCount() > 0) {
                tomorrowBet = true;
                m.TomorrowPick.Race = position;
            }
            continue;
        }
        const qint32 profit = Money::Sub(race->AmtPay(), stake, kSource);
        profitTotal = Money::Add(profitTotal, profit, kSource);
        if (race->RaceNum() < 1 || race->RaceNum() > kProfitRaces) {
            continue; // the day has twelve races; any other number has no cell, but counts in the totals
        }
        ProfitRow row;
        row.Index = panel * kProfitRaces + race->RaceNum() - 1;
        row.Stake = Amount(stake);
        if (stake >= 1 && race->objKekka()) {
            row.ProfitFore = Rgb::White;
            row.ProfitBack = profit < 0 ? Rgb::Red : Rgb::Black;
        }
        row.Profit = Amount(profit);
        m.Rows << row;
    }
    if (!tomorrowRaces.isEmpty()) {
        m.HasTomorrow = true;
        m.Tomorrow = Amount(tomorrow);
        m.TomorrowTip = tomorrowRaces.join(QLatin1Char('\n'));
    }
    m.StakeTotal = Amount(stakeTotal);
    m.ProfitTotal = Amount(profitTotal);
    m.ProfitTotalRed = profitTotal < 0;
    return m;
}
} // namespace

ProfitTable BuildProfitTable(const std::vector<std::unique_ptr<Meeting>>& meetings, const QString& curDate) {
    ProfitTable t;
    t.Caption = Dates::MonthDayLine(curDate);
    int panel = 0;
    for (const auto& meeting : meetings) {
        t.Meetings << BuildMeeting(*meeting, panel++);
    }
    return t;
}

RacePick PickRaceCell(int index) {
    return {static_cast<qint16>(index / kProfitRaces + 1), static_cast<qint16>(index % kProfitRaces + 1)};
}
