#include "RaceResults.h"

#include "BetText.h"
#include "core/Formats.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/RaceOdds.h"
#include "results/RaceResultReader.h"

namespace {
struct BetTypeLook {
    const char16_t* label;
    Rgb::Value back;
};
// Bet types 1 to 7: win, place, bracket quinella, quinella, wide, exacta, trio.
constexpr BetTypeLook kLooks[7] = {
    {u"単勝", 0xC0C0FF},   {u"複勝", 0xFFC0C0}, {u"枠連", 0xC0FFC0},   {u"馬連", 0xFFC0FF},
    {u"ワイド", 0xC0FFFF}, {u"馬単", 0xFFFFC0}, {u"３連複", 0xF080FF},
};

QString rowText(const BetLine& line) {
    return BetText::combination(line) + Fmt::at(qint64(line.payout), 8);
}

// The bracket of a finisher: the runner list's, else the one the result file gives.
qint16 bracket(const RaceOdds* factory, qint16 horse, qint16 fromResult) {
    const qint16 listed = factory && horse >= 1 && horse <= 18 ? factory->wakuNum(horse) : 0;
    return listed != 0 ? listed : fromResult;
}
} // namespace

std::optional<RaceResults> buildRaceResults(const Race& race, const RaceOdds* factory,
                                            const std::array<qint32, 8>& wakuColors) {
    const RaceResultReader* kekka = race.result();
    if (!kekka) {
        return std::nullopt;
    }
    RaceResults r;
    r.hit = race.message();
    const QString venue = race.meeting() ? race.meeting()->kaisai() : QString();
    r.caption = (race.sale() == 2 ? QStringLiteral("前日") : QString()) + QLatin1Char(' ') + venue + QLatin1Char(' ') +
                QString::number(race.raceNum()) + QStringLiteral("R ") + kekka->raceName1() + QLatin1Char(' ') +
                kekka->raceName2();
    r.info = kekka->weather() + QStringLiteral("  ") + (kekka->turf().isEmpty() ? kekka->dirt() : kekka->turf());

    for (int i = 1; i <= 5; ++i) {
        if (kekka->chaku(i) < 1) {
            continue; // no finisher in this slot: the row stays empty
        }
        FinisherRow& row = r.finishers[static_cast<size_t>(i - 1)];
        row.chaku = QString::number(kekka->chaku(i));
        row.uma = QString::number(kekka->num(i));
        const qint16 waku = bracket(factory, kekka->num(i), kekka->wakuNum(i));
        if (waku > 0) {
            row.waku = QString::number(waku);
            if (waku <= 8) { // a bracket beyond the eight has no colour of its own
                row.wakuBack = Rgb::fromStored(wakuColors[static_cast<size_t>(waku - 1)]);
                row.wakuFore = waku == 2 || waku == 4 ? Rgb::White : Rgb::Black;
            }
        }
        row.umaName = QLatin1Char(' ') + kekka->umaName(i);
        row.diff = kekka->diff(i);
    }

    int previousType = 0;
    for (qsizetype i = 1; i <= kekka->kekkaCount(); ++i) {
        const BetLine line = kekka->kekkaRecord(i);
        if (line.payout == 0 || line.betType < 1 || line.betType > 7) {
            continue; // a refund line: the refunds are listed apart
        }
        const BetTypeLook& look = kLooks[line.betType - 1];
        PayoutRow row;
        row.betType = line.betType;
        row.label = line.betType != previousType ? QString::fromUtf16(look.label) : QString();
        row.text = rowText(line);
        row.back = look.back;
        r.rows << row;
        previousType = line.betType;
    }
    r.henkanUma = kekka->henkanUmaNum();
    r.henkanWaku = kekka->henkanWakuNum();
    return r;
}
