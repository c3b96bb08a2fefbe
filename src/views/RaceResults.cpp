#include "RaceResults.h"

#include "BetText.h"
#include "core/Formats.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/RaceOdds.h"
#include "results/RaceResultReader.h"

namespace {
struct BetTypeLook {
    const char16_t* Label;
    Rgb::Value Back;
};
// Bet types 1 to 7: win, place, bracket quinella, quinella, wide, exacta, trio.
constexpr BetTypeLook kLooks[7] = {
    {u"単勝", 0xC0C0FF},   {u"複勝", 0xFFC0C0}, {u"枠連", 0xC0FFC0},   {u"馬連", 0xFFC0FF},
    {u"ワイド", 0xC0FFFF}, {u"馬単", 0xFFFFC0}, {u"３連複", 0xF080FF},
};

QString RowText(const BetLine& line) {
    return BetText::Combination(line) + Fmt::At(qint64(line.Payout), 8);
}

// The bracket of a finisher: the runner list's, else the one the result file gives.
qint16 Bracket(const RaceOdds* factory, qint16 horse, qint16 fromResult) {
    const qint16 listed = factory && horse >= 1 && horse <= 18 ? factory->WakuNum(horse) : 0;
    return listed != 0 ? listed : fromResult;
}
} // namespace

std::optional<RaceResults> BuildRaceResults(const Race& race, const RaceOdds* factory,
                                            const std::array<qint32, 8>& wakuColors) {
    const RaceResultReader* kekka = race.objKekka();
    if (!kekka) {
        return std::nullopt;
    }
    RaceResults r;
    r.Hit = race.strMessage();
    const QString venue = race.Pearent() ? race.Pearent()->Kaisai() : QString();
    r.Caption = (race.Sale() == 2 ? QStringLiteral("前日") : QString()) + QLatin1Char(' ') + venue + QLatin1Char(' ') +
                QString::number(race.RaceNum()) + QStringLiteral("R ") + kekka->RaceName1() + QLatin1Char(' ') +
                kekka->RaceName2();
    r.Info = kekka->Weather() + QStringLiteral("  ") + (kekka->Turf().isEmpty() ? kekka->Dirt() : kekka->Turf());

    for (int i = 1; i <= 5; ++i) {
        if (kekka->Chaku(i) < 1) {
            continue; // no finisher in this slot: the row stays empty
        }
        FinisherRow& row = r.Finishers[static_cast<size_t>(i - 1)];
        row.Chaku = QString::number(kekka->Chaku(i));
        row.Uma = QString::number(kekka->Num(i));
        const qint16 waku = Bracket(factory, kekka->Num(i), kekka->WakuNum(i));
        if (waku > 0) {
            row.Waku = QString::number(waku);
            if (waku <= 8) { // a bracket beyond the eight has no colour of its own
                row.WakuBack = Rgb::FromStored(wakuColors[static_cast<size_t>(waku - 1)]);
                row.WakuFore = waku == 2 || waku == 4 ? Rgb::White : Rgb::Black;
            }
        }
        row.UmaName = QLatin1Char(' ') + kekka->UmaName(i);
        row.Diff = kekka->Diff(i);
    }

    int previousType = 0;
    for (qsizetype i = 1; i <= kekka->KekkaCount(); ++i) {
        const BetLine line = kekka->KekkaRecord(i);
        if (line.Payout == 0 || line.BetType < 1 || line.BetType > 7) {
            continue; // a refund line: the refunds are listed apart
        }
        const BetTypeLook& look = kLooks[line.BetType - 1];
        PayoutRow row;
        row.BetType = line.BetType;
        row.Label = line.BetType != previousType ? QString::fromUtf16(look.Label) : QString();
        row.Text = RowText(line);
        row.Back = look.Back;
        r.Rows << row;
        previousType = line.BetType;
    }
    r.HenkanUma = kekka->HenkanUmaNum();
    r.HenkanWaku = kekka->HenkanWakuNum();
    return r;
}
