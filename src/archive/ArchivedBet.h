#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

namespace Archive {

// One evaluated bet line of a sale day as the archive keeps it.
struct Bet {
    qint16 venue = 0; // venue code
    qint16 kaiJi = 0; // meeting number of the year at the venue
    qint16 hiJi = 0;  // day of that meeting
    qint16 raceNum = 0;
    qint16 betType = 0; // 1 win … 7 trio
    qint16 num1 = 0;
    qint16 num2 = 0;
    qint16 num3 = 0;
    qint16 buyDay = 0; // 1 bought on the day, 9 the day before
    qint32 stake = 0;  // yen
    qint32 payout = 0; // yen: the payout of a hit, the stake of a refund, else 0
    qint16 state = 0;  // the evaluation: 0 open, 1 hit, 2 miss, 3 refunded, 9 advance sale

    bool operator==(const Bet&) const = default;
};

// The packed numbers the archive stores a bet's race and the bet in, decimal digit fields:
// race VVKKHHRR (venue, meeting, day, race number), bet T112233BS (type, the three numbers, buy day,
// state). A field is clamped into its digits; every bet the log reader gives fits them.
qint64 packRace(const Bet& bet);
qint64 packBet(const Bet& bet);

// What a group of bets adds up to. An advance-sale bet is left out: it is for the next day's race, and
// that day's log holds it again as bought the day before, so counting it twice would double its stake.
struct Figures {
    qint64 bets = 0;
    qint64 stake = 0;
    qint64 payout = 0;
    qint64 hits = 0;
    qint64 misses = 0;
    qint64 refunds = 0;
    qint64 unsettled = 0;

    void add(const Bet& bet);
    Figures& operator+=(const Figures& other);
    bool operator==(const Figures&) const = default;
};

// A day's figures for one venue and bet type: what the archive keeps beside the bets, so that a period of
// a year is summed from a few thousand rows instead of millions of bets.
struct DayFigures {
    QString saleDate; // yyyymmdd
    qint16 venue = 0;
    qint16 betType = 0;
    Figures sum;
};

// The day's figures by venue and bet type, in that order.
std::vector<DayFigures> sumDay(const QString& saleDate, const std::vector<Bet>& bets);

} // namespace Archive
