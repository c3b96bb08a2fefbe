#include "RaceDetail.h"

#include "BetText.h"
#include "core/AppError.h"
#include "core/Formats.h"
#include "core/Money.h"
#include "odds/OddsList.h"
#include "odds/OddsMatrix.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/RaceOdds.h"

#include <functional>

namespace {
const QString kSource = QStringLiteral("frmDetail");
const QString kCrLf = QStringLiteral("\r\n");

// The odds text of a look-up, empty when the file is missing or the bet names a number the table does
// not have (an odds file with fewer runners than the bet): that line then shows no odds.
QString oddsOf(bool exists, const std::function<QString()>& lookUp) {
    if (!exists) {
        return QString();
    }
    try {
        return lookUp();
    } catch (const AppError& e) {
        if (e.number() != ErrNo::SubscriptOutOfRange) {
            throw;
        }
        return QString();
    }
}

// The current odds of a bet line's combination, empty when its type's file is missing.
QString oddsText(const BetLine& bet, const RaceOdds* f) {
    const bool zo = f && f->existZo();
    switch (bet.betType) {
    case 1:
        return oddsOf(zo, [&] { return f->winOdds()->odds(bet.num3); });
    case 2:
        return oddsOf(zo, [&] { return f->placeOdds()->odds(bet.num3); });
    case 3:
        return oddsOf(zo, [&] { return f->bracketOdds()->odds(bet.num2, bet.num3); });
    case 4:
        return oddsOf(f && f->existUo(), [&] { return f->quinellaOdds()->odds(bet.num2, bet.num3); });
    case 5:
        return oddsOf(f && f->existUo(), [&] { return f->wideOdds()->odds(bet.num2, bet.num3); });
    case 6:
        return oddsOf(f && f->existSo(), [&] { return f->exactaOdds()->odds(bet.num2, bet.num3); });
    case 7:
        return oddsOf(f && f->existYo(), [&] { return f->trioOdds(bet.num1)->odds(bet.num2, bet.num3); });
    default:
        return QString(); // bet lines carry types 1 to 7 only
    }
}

QString outcome(qint16 hit, const QString& odds) {
    return hit == 0 || hit == 9 ? Fmt::at(odds, 6) : BetText::settledMark(hit);
}
} // namespace

std::optional<RaceDetail> buildRaceDetail(const Race& race, const RaceOdds* factory) {
    if (race.logCount() <= 0) {
        return std::nullopt;
    }
    RaceDetail d;
    const QString venue = race.meeting() ? race.meeting()->kaisai() : QString();
    d.caption = (race.sale() == 2 ? QStringLiteral("前日") : QString()) + QLatin1Char(' ') + venue + QLatin1Char(' ') +
                QString::number(race.raceNum()) + QLatin1Char('R');

    QString& t = d.text;
    for (qsizetype i = 1; i <= race.logCount(); ++i) {
        const BetLine bet = race.logRecord(i);

        t += bet.buyDay == 9 ? QLatin1Char('@') : QLatin1Char(' ');
        t += BetText::typeLabel(bet.betType) + QLatin1Char(' ') + BetText::combination(bet) +
             Fmt::at(qint64(bet.units) * 100, 8);
        t += QLatin1Char(' ') + outcome(bet.hit, oddsText(bet, factory)) + kCrLf;
    }

    const qint32 stake =
        Money::add(Money::add(race.amtBuy(), race.amtYesterday(), kSource), race.amtTomorrow(), kSource);
    t += QLatin1Char(' ') + QString(23, QLatin1Char('-')) + kCrLf;
    t += QString(11, QLatin1Char(' ')) + QStringLiteral("投票 ") + Fmt::at(stake, 8);
    if (race.amtYet() > 0) {
        t += kCrLf + QString(9, QLatin1Char(' ')) + QStringLiteral("未確定(") + Fmt::at(race.amtYet(), 8) +
             QLatin1Char(')');
    }
    t += kCrLf + QString(11, QLatin1Char(' ')) + QStringLiteral("払戻 ") + Fmt::at(race.amtPay(), 8);
    const qint32 profit = Money::add(Money::sub(race.amtPay(), stake, kSource), race.amtYet(), kSource);
    t += kCrLf + QString(11, QLatin1Char(' ')) + QStringLiteral("損益 ") + Fmt::at(profit, 8);
    return d;
}
