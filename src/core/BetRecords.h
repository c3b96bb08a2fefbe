#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <vector>

// The two digit-only records in which bets travel through the program. Each has one field table (the
// fields in text order with their widths) that drives everything done with its text form: writing
// (exactly as many zero-padded digits as the width), reading back by position with the lenient number
// conversion (a shorter text gives 0 for the missing fields), and ordering.

// The codes the bet and ticket records carry, named once for every reader and window.
namespace BetCodes {
enum BetType : qint16 { Win = 1, Place = 2, BracketQuinella = 3, Quinella = 4, Wide = 5, Exacta = 6, Trio = 7 };
enum TicketKind : qint16 { Single = 0, Wheel = 1, Box = 2 };
enum HitFlag : qint16 { Open = 0, Hit = 1, Miss = 2, Refunded = 3, AdvanceSale = 9 };
} // namespace BetCodes

// Bet line: one bet on one combination, or one result line of a result file. 27 characters.
struct BetLine {
    qint16 sale = 0;    // 1 current day, 2 advance sale for the next day; 0 in result lines
    qint16 venue = 0;   // venue code
    qint16 raceNum = 0; // race number
    qint16 betType = 0; // 1 win … 7 trio
    qint16 num1 = 0;    // first, second and third number; unused numbers are 0, filled from the right
    qint16 num2 = 0;
    qint16 num3 = 0;
    qint16 buyDay = 0; // 1 bought on the day, 9 bought the previous day; 0 in result lines
    qint16 units = 0;  // stake in units of 100 yen per combination
    qint32 payout = 0; // yen per 100-yen unit
    qint16 hit = 0;    // 0 open, 1 hit, 2 miss, 3 refunded, 9 advance-sale race

    bool operator==(const BetLine&) const = default;
};

// Ticket line: one ticket as bought (single, wheel or box). 63 characters; the text order differs from
// the field order, and Field12 has no place in the text (it reads back as 0).
struct TicketLine {
    qint16 sale = 0; // as in the bet line
    qint16 venue = 0;
    qint16 raceNum = 0;
    qint16 betType = 0;
    qint16 num1 = 0; // by ticket kind: box size, exacta wheel axis position, first number
    qint16 num2 = 0;
    qint16 num3 = 0; // a wheel's axis
    qint16 buyDay = 0;
    qint16 units = 0;
    qint16 kind = 0;                       // 0 single, 1 wheel, 2 box
    qint16 reserved = 0;                   // always 0
    qint16 field12 = 0;                    // not part of the text form
    std::array<qint16, 18> partnerSlots{}; // wheel: 1 for each partner; box: the boxed numbers
    qint16 status = 0;                     // 1 purchased, 11 invalid, 21 same bracket, 31 closed
    qint16 logNo = 0;                      // number of the day log file the ticket came from

    bool operator==(const TicketLine&) const = default;
};

constexpr int kLogTextLength = 27;
constexpr int kOmitTextLength = 63;

QString betLineText(const BetLine& log);
BetLine betLineFromText(QStringView text);
QString ticketLineText(const TicketLine& omit);
TicketLine ticketLineFromText(QStringView text);

namespace BetRecords {
// The text form as ASCII digits into `out`, which holds kLogTextLength (kOmitTextLength) bytes; returns
// the end. For reports that write lines by the ten thousand.
inline char* writeText(const BetLine& log, char* out);
// The text of a packed bet and its evaluation, without unpacking it.
inline char* writeText(quint64 bet, quint32 evaluation, char* out);
char* writeText(const TicketLine& omit, char* out);

// The record as its text form reads back: a value its digits cannot hold (negative, or too many digits)
// is clamped into the field, and a ticket's Field12 is 0. Readers store records in this form, so a record
// and its text always agree.
BetLine fitted(BetLine log);
TicketLine fitted(TicketLine omit);

// Sorts ticket lines into the order of their text forms without making the texts (and fits them, which
// readers have done already).
void sortByText(std::vector<TicketLine>& records);

// A bet line packed into two words, the way a heavy day's tens of thousands of lines are held: the bet
// itself (sale to units, the first eighteen digits of the text) and its evaluation (payout and hit flag,
// 0 until a race evaluates it). Packing fits the line; bets compare as their texts do.
inline quint64 packBet(const BetLine& log);
// The three numbers alone, packed in their place: a bet with numbers 0 packs to PackBet | PackNumbers.
inline quint64 packNumbers(qint16 num1, qint16 num2, qint16 num3);
inline quint32 packEvaluation(const BetLine& log);
// The hit flag of a packed evaluation.
inline qint16 hitOf(quint32 evaluation);
// What a packed bet (or result line) is settled on, as one number: its venue, race, bet type and
// numbers. Within one race these order as the bets do.
inline quint64 combinationOf(quint64 bet);
// The venue, race and bet type alone.
inline quint64 kindOf(quint64 bet);
inline BetLine unpack(quint64 bet, quint32 evaluation);
} // namespace BetRecords

#include "BetLayout.h" // the inline definitions of the packing functions
