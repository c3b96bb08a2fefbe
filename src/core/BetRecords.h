#pragma once

#include <QString>
#include <QStringView>

#include <array>

// The two digit-only records in which bets travel through the program. Each field is written with
// exactly as many zero-padded digits as its width and read back by its positions with the lenient
// number conversion; a shorter text gives 0 for the missing fields.

// Bet line: one bet on one combination, or one result line of a result file. 27 characters.
struct udtLog {
    qint16 Sale = 0;    // 1 current day, 2 advance sale for the next day; 0 in result lines
    qint16 Venue = 0;   // venue code
    qint16 RaceNum = 0; // race number
    qint16 BetType = 0; // 1 win … 7 trio
    qint16 Num1 = 0;    // first, second and third number; unused numbers are 0, filled from the right
    qint16 Num2 = 0;
    qint16 Num3 = 0;
    qint16 BuyDay = 0; // 1 bought on the day, 9 bought the previous day; 0 in result lines
    qint16 Units = 0;  // stake in units of 100 yen per combination
    qint32 Payout = 0; // yen per 100-yen unit
    qint16 Hit = 0;    // 0 open, 1 hit, 2 miss, 3 refunded, 9 advance-sale race

    bool operator==(const udtLog&) const = default;
};

// Ticket line: one ticket as bought (single, wheel or box). 63 characters; the text order differs from
// the field order, and Field12 has no place in the text (it reads back as 0).
struct udtOmit {
    qint16 Sale = 0; // as in the bet line
    qint16 Venue = 0;
    qint16 RaceNum = 0;
    qint16 BetType = 0;
    qint16 Num1 = 0; // by ticket kind: box size, exacta wheel axis position, first number
    qint16 Num2 = 0;
    qint16 Num3 = 0; // a wheel's axis
    qint16 BuyDay = 0;
    qint16 Units = 0;
    qint16 Kind = 0;                // 0 single, 1 wheel, 2 box
    qint16 Reserved = 0;            // always 0
    qint16 Field12 = 0;             // not part of the text form
    std::array<qint16, 18> Slots{}; // wheel: 1 for each partner; box: the boxed numbers
    qint16 Status = 0;              // 1 purchased, 11 invalid, 21 same bracket, 31 closed
    qint16 LogNo = 0;               // number of the day log file the ticket came from

    bool operator==(const udtOmit&) const = default;
};

constexpr int kLogTextLength = 27;
constexpr int kOmitTextLength = 63;

QString LogToStr(const udtLog& log);
udtLog StrToLog(QStringView text);
QString OmitToStr(const udtOmit& omit);
udtOmit StrToOmit(QStringView text);
