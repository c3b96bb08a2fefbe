// Bet and ticket lines: any text reads as a record whose text form reads back to the same record, and
// the packed form of a bet line keeps the record and the order of the texts.
#include "FuzzSupport.h"

#include "core/BetRecords.h"

#include <cstring>

namespace {

qint16 Take(const uint8_t*& p, const uint8_t* end) {
    qint16 v = 0;
    if (end - p >= 2) {
        std::memcpy(&v, p, 2);
        p += 2;
    }
    return v;
}

// A record straight from raw values, most of them outside what the text can hold.
BetLine RawLog(const uint8_t*& p, const uint8_t* end) {
    BetLine l;
    for (qint16* f :
         {&l.Sale, &l.Venue, &l.RaceNum, &l.BetType, &l.Num1, &l.Num2, &l.Num3, &l.BuyDay, &l.Units, &l.Hit}) {
        *f = Take(p, end);
    }
    l.Payout = static_cast<qint32>(static_cast<quint16>(Take(p, end))) << 16 | static_cast<quint16>(Take(p, end));
    return l;
}

void CheckLog(const BetLine& raw) {
    const BetLine fitted = BetRecords::Fitted(raw);
    const QString text = LogToStr(raw);
    Fuzz::Check(text.size() == kLogTextLength, "bet line width", text);
    Fuzz::Check(StrToLog(text) == fitted, "bet line reads back fitted", text);
    Fuzz::Check(LogToStr(fitted) == text, "fitting keeps the text", text);
    char out[kLogTextLength];
    Fuzz::Check(BetRecords::WriteText(raw, out) == out + kLogTextLength &&
                    QLatin1StringView(out, kLogTextLength) == text,
                "fast writer agrees", text);
    Fuzz::Check(BetRecords::Unpack(BetRecords::PackBet(raw), BetRecords::PackEvaluation(raw)) == fitted,
                "packed bet line", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = QString::fromLatin1(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Texts: a short, long or non-digit text reads leniently; its record is a fixed point.
    const BetLine fromText = StrToLog(input);
    CheckLog(fromText);
    const TicketLine omit = StrToOmit(input);
    const QString omitText = OmitToStr(omit);
    Fuzz::Check(omitText.size() == kOmitTextLength, "ticket line width", omitText);
    Fuzz::Check(StrToOmit(omitText) == BetRecords::Fitted(omit), "ticket line reads back", omitText);

    // Raw records, two of them: packing orders bets as their first eighteen characters order.
    const uint8_t* p = data;
    const uint8_t* end = data + size;
    const BetLine a = RawLog(p, end);
    const BetLine b = RawLog(p, end);
    CheckLog(a);
    CheckLog(b);
    const int byText = QString::compare(LogToStr(a).first(18), LogToStr(b).first(18));
    const quint64 pa = BetRecords::PackBet(a);
    const quint64 pb = BetRecords::PackBet(b);
    Fuzz::Check((byText < 0) == (pa < pb) && (byText == 0) == (pa == pb), "packed order is text order",
                LogToStr(a) + u' ' + LogToStr(b));

    // Ticket records sort as their texts do.
    std::vector<TicketLine> tickets;
    while (end - p >= 2 * 30 && tickets.size() < 8) {
        TicketLine t;
        for (qint16* f : {&t.Sale, &t.Venue, &t.RaceNum, &t.BetType, &t.Num1, &t.Num2, &t.Num3, &t.BuyDay, &t.Units,
                          &t.Kind, &t.Reserved, &t.Field12, &t.Status, &t.LogNo}) {
            *f = Take(p, end);
        }
        for (qint16& s : t.Slots) {
            s = Take(p, end);
        }
        tickets.push_back(t);
    }
    BetRecords::SortByText(tickets);
    for (std::size_t i = 1; i < tickets.size(); ++i) {
        Fuzz::Check(OmitToStr(tickets[i - 1]) <= OmitToStr(tickets[i]), "tickets sorted by text");
    }
    return 0;
}
