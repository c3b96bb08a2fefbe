// Bet and ticket lines: any text reads as a record whose text form reads back to the same record, and
// the packed form of a bet line keeps the record and the order of the texts.
#include "FuzzSupport.h"

#include "core/BetRecords.h"

#include <cstring>

namespace {

qint16 take(const uint8_t*& p, const uint8_t* end) {
    qint16 v = 0;
    if (end - p >= 2) {
        std::memcpy(&v, p, 2);
        p += 2;
    }
    return v;
}

// A record straight from raw values, most of them outside what the text can hold.
BetLine rawLog(const uint8_t*& p, const uint8_t* end) {
    BetLine l;
    for (qint16* f :
         {&l.sale, &l.venue, &l.raceNum, &l.betType, &l.num1, &l.num2, &l.num3, &l.buyDay, &l.units, &l.hit}) {
        *f = take(p, end);
    }
    l.payout = static_cast<qint32>(static_cast<quint16>(take(p, end))) << 16 | static_cast<quint16>(take(p, end));
    return l;
}

void checkLog(const BetLine& raw) {
    const BetLine fitted = BetRecords::fitted(raw);
    const QString text = betLineText(raw);
    Fuzz::check(text.size() == kLogTextLength, "bet line width", text);
    Fuzz::check(betLineFromText(text) == fitted, "bet line reads back fitted", text);
    Fuzz::check(betLineText(fitted) == text, "fitting keeps the text", text);
    char out[kLogTextLength];
    Fuzz::check(BetRecords::writeText(raw, out) == out + kLogTextLength &&
                    QLatin1StringView(out, kLogTextLength) == text,
                "fast writer agrees", text);
    Fuzz::check(BetRecords::unpack(BetRecords::packBet(raw), BetRecords::packEvaluation(raw)) == fitted,
                "packed bet line", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Texts: a short, long or non-digit text reads leniently; its record is a fixed point.
    const BetLine fromText = betLineFromText(input);
    checkLog(fromText);
    const TicketLine omit = ticketLineFromText(input);
    const QString omitText = ticketLineText(omit);
    Fuzz::check(omitText.size() == kOmitTextLength, "ticket line width", omitText);
    Fuzz::check(ticketLineFromText(omitText) == BetRecords::fitted(omit), "ticket line reads back", omitText);

    // Raw records, two of them: packing orders bets as their first eighteen characters order.
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    const BetLine a = rawLog(p, end);
    const BetLine b = rawLog(p, end);
    checkLog(a);
    checkLog(b);
    const int byText = QString::compare(betLineText(a).first(18), betLineText(b).first(18));
    const quint64 pa = BetRecords::packBet(a);
    const quint64 pb = BetRecords::packBet(b);
    Fuzz::check((byText < 0) == (pa < pb) && (byText == 0) == (pa == pb), "packed order is text order",
                betLineText(a) + u' ' + betLineText(b));

    // Ticket records sort as their texts do.
    std::vector<TicketLine> tickets;
    while (end - p >= 2 * 30 && tickets.size() < 8) {
        TicketLine t;
        for (qint16* f : {&t.sale, &t.venue, &t.raceNum, &t.betType, &t.num1, &t.num2, &t.num3, &t.buyDay, &t.units,
                          &t.kind, &t.reserved, &t.field12, &t.status, &t.logNo}) {
            *f = take(p, end);
        }
        for (qint16& s : t.partnerSlots) {
            s = take(p, end);
        }
        tickets.push_back(t);
    }
    BetRecords::sortByText(tickets);
    for (std::size_t i = 1; i < tickets.size(); ++i) {
        Fuzz::check(ticketLineText(tickets[i - 1]) <= ticketLineText(tickets[i]), "tickets sorted by text");
    }
    return 0;
}
