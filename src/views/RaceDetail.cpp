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
QString OddsOf(bool exists, const std::function<QString()>& lookUp) {
    if (!exists) {
        return QString();
    }
    try {
        return lookUp();
    } catch (const AppError& e) {
        if (e.Number() != ErrNo::SubscriptOutOfRange) {
            throw;
        }
        return QString();
    }
}

// The current odds of a bet line's combination, empty when its type's file is missing.
QString OddsText(const BetLine& bet, const RaceOdds* f) {
    const bool zo = f && f->ExistZO();
    switch (bet.BetType) {
    case 1:
        return OddsOf(zo, [&] { return f->objOddsWin()->Odds(bet.Num3); });
    case 2:
        return OddsOf(zo, [&] { return f->objOddsPlace()->Odds(bet.Num3); });
    case 3:
        return OddsOf(zo, [&] { return f->objOddsBracket()->Odds(bet.Num2, bet.Num3); });
    case 4:
        return OddsOf(f && f->ExistUO(), [&] { return f->objOddsQuinella()->Odds(bet.Num2, bet.Num3); });
    case 5:
        return OddsOf(f && f->ExistUO(), [&] { return f->objOddsWide()->Odds(bet.Num2, bet.Num3); });
    case 6:
        return OddsOf(f && f->ExistSO(), [&] { return f->objOddsExacta()->Odds(bet.Num2, bet.Num3); });
    case 7:
        return OddsOf(f && f->ExistYO(), [&] { return f->objOddsTrio(bet.Num1)->Odds(bet.Num2, bet.Num3); });
    default:
        return QString(); // bet lines carry types 1 to 7 only
    }
}

QString Outcome(qint16 hit, const QString& odds) {
    return hit == 0 || hit == 9 ? Fmt::At(odds, 6) : BetText::SettledMark(hit);
}
} // namespace

std::optional<RaceDetail> BuildRaceDetail(const Race& race, const RaceOdds* factory) {
    if (race.LogCount() <= 0) {
        return std::nullopt;
    }
    RaceDetail d;
    const QString venue = race.Pearent() ? race.Pearent()->Kaisai() : QString();
    d.Caption = (race.Sale() == 2 ? QStringLiteral("前日") : QString()) + QLatin1Char(' ') + venue + QLatin1Char(' ') +
                QString::number(race.RaceNum()) + QLatin1Char('R');

    QString& t = d.Text;
    for (qsizetype i = 1; i <= race.LogCount(); ++i) {
        const BetLine bet = race.LogRecord(i);

        t += bet.BuyDay == 9 ? QLatin1Char('@') : QLatin1Char(' ');
        t += BetText::TypeLabel(bet.BetType) + QLatin1Char(' ') + BetText::Combination(bet) +
             Fmt::At(qint64(bet.Units) * 100, 8);
        t += QLatin1Char(' ') + Outcome(bet.Hit, OddsText(bet, factory)) + kCrLf;
    }

    const qint32 stake =
        Money::Add(Money::Add(race.AmtBuy(), race.AmtYesterday(), kSource), race.AmtTomorrow(), kSource);
    t += QLatin1Char(' ') + QString(23, QLatin1Char('-')) + kCrLf;
    t += QString(11, QLatin1Char(' ')) + QStringLiteral("投票 ") + Fmt::At(stake, 8);
    if (race.AmtYet() > 0) {
        t += kCrLf + QString(9, QLatin1Char(' ')) + QStringLiteral("未確定(") + Fmt::At(race.AmtYet(), 8) +
             QLatin1Char(')');
    }
    t += kCrLf + QString(11, QLatin1Char(' ')) + QStringLiteral("払戻 ") + Fmt::At(race.AmtPay(), 8);
    const qint32 profit = Money::Add(Money::Sub(race.AmtPay(), stake, kSource), race.AmtYet(), kSource);
    t += kCrLf + QString(11, QLatin1Char(' ')) + QStringLiteral("損益 ") + Fmt::At(profit, 8);
    return d;
}
