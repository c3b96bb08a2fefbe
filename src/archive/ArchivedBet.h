#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

namespace Archive {

// One evaluated bet line of a sale day as the archive keeps it.
struct Bet {
    qint16 Venue = 0; // venue code
    qint16 KaiJi = 0; // meeting number of the year at the venue
    qint16 HiJi = 0;  // day of that meeting
    qint16 RaceNum = 0;
    qint16 BetType = 0; // 1 win … 7 trio
    qint16 Num1 = 0;
    qint16 Num2 = 0;
    qint16 Num3 = 0;
    qint16 BuyDay = 0; // 1 bought on the day, 9 the day before
    qint32 Stake = 0;  // yen
    qint32 Payout = 0; // yen: the payout of a hit, the stake of a refund, else 0
    qint16 State = 0;  // the evaluation: 0 open, 1 hit, 2 miss, 3 refunded, 9 advance sale

    bool operator==(const Bet&) const = default;
};

// The packed numbers the archive stores a bet's race and the bet in, decimal digit fields:
// race VVKKHHRR (venue, meeting, day, race number), bet T112233BS (type, the three numbers, buy day,
// state). A field is clamped into its digits; every bet the log reader gives fits them.
qint64 PackRace(const Bet& bet);
qint64 PackBet(const Bet& bet);

// What a group of bets adds up to. An advance-sale bet is left out: it is for the next day's race, and
// that day's log holds it again as bought the day before, so counting it twice would double its stake.
struct Figures {
    qint64 Bets = 0;
    qint64 Stake = 0;
    qint64 Payout = 0;
    qint64 Hits = 0;
    qint64 Misses = 0;
    qint64 Refunds = 0;
    qint64 Unsettled = 0;

    void Add(const Bet& bet);
    Figures& operator+=(const Figures& other);
    bool operator==(const Figures&) const = default;
};

// A day's figures for one venue and bet type: what the archive keeps beside the bets, so that a period of
// a year is summed from a few thousand rows instead of millions of bets.
struct DayFigures {
    QString SaleDate; // yyyymmdd
    qint16 Venue = 0;
    qint16 BetType = 0;
    Figures Sum;
};

// The day's figures by venue and bet type, in that order.
std::vector<DayFigures> SumDay(const QString& saleDate, const std::vector<Bet>& bets);

} // namespace Archive
