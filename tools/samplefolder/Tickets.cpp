// The bet log's tickets: the previous day's advance tickets, the morning's and the afternoon's of the sale
// day, and a week-old log, chosen so the day has hits, misses, refunds and tickets the client turned down.
#include "SampleDayParts.h"

#include <algorithm>

namespace SampleDay::Detail {

using LogFiles::Ticket;

namespace {

int Combinations(const Ticket& t) {
    if (t.Kind == LogFiles::Wheel) {
        int n = 0;
        for (qint32 m = t.Mask; m != 0; m >>= 1) {
            n += m & 1;
        }
        return n;
    }
    if (t.Kind == LogFiles::Box) {
        const int n = static_cast<int>(t.Boxed.size());
        if (t.BetType == LogFiles::Exacta) {
            return n * (n - 1);
        }
        if (t.BetType == LogFiles::Trio) {
            return n * (n - 1) * (n - 2) / 6;
        }
        return n * (n - 1) / 2;
    }
    return 1;
}

Ticket On(const Race& r, Ticket t, int sale = 1, int status = LogFiles::Purchased) {
    t = LogFiles::At(t, r.venue, r.raceNum, sale);
    t.Status = status;
    t.TotalUnits = t.Units * Combinations(t);
    return t;
}

// n distinct horses, ascending: the wanted ones first, then the favourites, never an excluded one.
QList<int> Pick(const Race& r, const QList<int>& wanted, int n, const QList<int>& excluded = {}) {
    QList<int> picked;
    const auto take = [&](int h) {
        if (picked.size() < n && !picked.contains(h) && !excluded.contains(h) && !r.Scratched(h)) {
            picked << h;
        }
    };
    for (const int h : wanted) {
        take(h);
    }
    for (const int h : r.favourites) {
        take(h);
    }
    std::sort(picked.begin(), picked.end());
    return picked;
}

QList<int> Brackets(const Race& r, const QList<int>& horses) {
    QList<int> brackets;
    for (const int h : horses) {
        const int w = Waku(r.tosu, h);
        if (!brackets.contains(w)) {
            brackets << w;
        }
    }
    std::sort(brackets.begin(), brackets.end());
    return brackets;
}

Ticket Single(int betType, int a, int b, int units) {
    const Pair p = Sorted2(a, b);
    return LogFiles::SingleBet(betType, 0, p.first, p.second, units);
}

Ticket WinOf(int betType, int horse, int units) {
    return LogFiles::SingleBet(betType, 0, 0, horse, units);
}

bool Is(const Race& r, RaceRef ref) {
    return r.hiJi == kHiJi && r.meeting == ref.Meeting && r.raceNum == ref.Race;
}

qint32 TrioPayout(const Race& r) {
    return r.trio.at(Sorted3(r.Placed(1), r.Placed(2), r.Placed(3))) * 10;
}

// The races already run that have no part of their own in the day, the quietest results first. The
// tickets that hit are put on the first of them, so the day wins without every hit being a jackpot.
std::vector<const Race*> OrdinaryRaces(const Day& d) {
    std::vector<const Race*> races;
    for (int m = 1; m <= kMeetings; ++m) {
        for (int race = 1; race <= kRacesRun; ++race) {
            const Race& r = d.At(m, race);
            if (!Is(r, kPayoutFilesOnly) && !Is(r, kDownloadOnly) && !Is(r, kPrFile) && !Is(r, kDeadHeat) &&
                !Is(r, kRefund) && !Is(r, kLongShot)) {
                races.push_back(&r);
            }
        }
    }
    std::stable_sort(races.begin(), races.end(),
                     [](const Race* a, const Race* b) { return TrioPayout(*a) < TrioPayout(*b); });
    return races;
}

} // namespace

// The previous day's advance tickets for today's races (sold as the next day's races then).
QList<Ticket> PreviousDayTickets(const Day& d) {
    using namespace LogFiles;
    const Race& a11 = d.At(1, 11);
    const Race& b11 = d.At(2, 11);
    const Race& c11 = d.At(3, 11);
    const Race& run = *OrdinaryRaces(d)[0];
    const Pair axes = Sorted2(c11.Fav(1), c11.Fav(2));
    return {
        On(a11, WinOf(Win, a11.Fav(1), 10), 2),
        On(b11, BoxBet(Quinella, Pick(b11, {}, 4), 1), 2),
        On(c11, TrioWheel(axes.first, axes.second, Pick(c11, {}, 4, {axes.first, axes.second}), 1), 2),
        On(run, Single(Wide, run.Placed(1), run.Placed(2), 3), 2),
    };
}

// The morning's tickets, chosen knowing how races 1-8 ended so the day has hits, misses and refunds.
QList<Ticket> MorningTickets(const Day& d) {
    using namespace LogFiles;
    QList<Ticket> t;
    const std::vector<const Race*> ordinary = OrdinaryRaces(d);
    size_t next = 1; // the first one went to the previous day's ticket
    const auto race = [&]() -> const Race& { return *ordinary[std::min(next++, ordinary.size() - 1)]; };

    // Hits.
    const Race& r1 = race();
    const Triple top = Sorted3(r1.Placed(1), r1.Placed(2), r1.Placed(3));
    t << On(r1, SingleBet(Trio, std::get<0>(top), std::get<1>(top), std::get<2>(top), 1));
    const Race& r2 = race();
    t << On(r2, BoxBet(Exacta, Pick(r2, {r2.Placed(1), r2.Placed(2)}, 3), 1));
    const Race& r3 = race();
    t << On(r3, WheelBet(BracketQuinella, Waku(r3.tosu, r3.Placed(1)),
                         Brackets(r3, {r3.Placed(2), r3.Fav(1), r3.Fav(2), r3.Fav(3)}), 2));
    const Race& r4 = race();
    t << On(r4, WheelBet(Quinella, r4.Placed(1), Pick(r4, {r4.Placed(2)}, 4, {r4.Placed(1)}), 2));
    const Race& r5 = race();
    t << On(r5, ExactaWheel(r5.Placed(1), 1, Pick(r5, {r5.Placed(2)}, 4, {r5.Placed(1)}), 1));
    const Race& r6 = race();
    t << On(r6, BoxBet(Quinella, Pick(r6, {r6.Placed(1), r6.Placed(2)}, 4), 1));
    const Race& r7 = race();
    t << On(r7, WheelBet(Wide, r7.Placed(2), Pick(r7, {r7.Placed(1), r7.Placed(3)}, 4, {r7.Placed(2)}), 2));
    const Race& r8 = race();
    t << On(r8, BoxBet(Wide, Pick(r8, {r8.Placed(1), r8.Placed(3)}, 4), 1));
    const Race& r9 = race();
    t << On(r9, Single(BracketQuinella, Waku(r9.tosu, r9.Placed(1)), Waku(r9.tosu, r9.Placed(2)), 2));
    const Race& r10 = race();
    t << On(r10, Single(Wide, r10.Placed(1), r10.Placed(3), 5));
    const Race& r11 = race();
    t << On(r11, WinOf(Win, r11.Placed(1), 5)) << On(r11, WinOf(Place, r11.Fav(1), 10));

    // Misses, and bets on the favourites that go either way.
    const Race& r12 = race();
    t << On(r12, WinOf(Win, r12.Placed(4), 3)) << On(r12, Single(Quinella, r12.Fav(1), r12.Fav(2), 3));
    const Race& r13 = race();
    t << On(r13, SingleBet(Exacta, 0, r13.Placed(2), r13.Placed(1), 2)); // the right pair the wrong way round
    const Race& r14 = race();
    t << On(r14, ExactaWheel(r14.Placed(1), 2, Pick(r14, {}, 4, {r14.Placed(1)}), 1)); // the winner as second
    const Race& r15 = race();
    QList<int> outsideBrackets;
    for (int w = 1; w <= 8 && outsideBrackets.size() < 3; ++w) {
        if (w != Waku(r15.tosu, r15.Placed(1)) && w != Waku(r15.tosu, r15.Placed(2))) {
            outsideBrackets << w;
        }
    }
    t << On(r15, BoxBet(BracketQuinella, outsideBrackets, 1));
    const Race& r16 = race();
    t << On(r16, BoxBet(Trio, Pick(r16, {}, 5), 1));

    // The races with a part of their own.
    const Race& refund = d.At(kRefund);
    t << On(refund, WinOf(Win, kRefundHorse, 5)) << On(refund, Single(Quinella, refund.Placed(1), kRefundHorse, 2));
    const Race& big = d.At(kLongShot);
    const Pair axes = Sorted2(big.Placed(1), big.Placed(2));
    t << On(big, TrioWheel(axes.first, axes.second, Pick(big, {big.Placed(3)}, 6, {axes.first, axes.second}), 1));
    const Race& heat = d.At(kDeadHeat);
    t << On(heat, WinOf(Win, heat.Placed(2), 5)) << On(heat, SingleBet(Exacta, 0, heat.Placed(2), heat.Placed(1), 2));
    const Race& payoutOnly = d.At(kPayoutFilesOnly);
    t << On(payoutOnly, WinOf(Win, payoutOnly.Placed(1), 3))
      << On(payoutOnly, Single(Quinella, payoutOnly.Fav(1), payoutOnly.Fav(2), 2));
    const Race& download = d.At(kDownloadOnly);
    t << On(download, Single(Quinella, download.Placed(1), download.Placed(2), 3));
    const Race& pr = d.At(kPrFile);
    t << On(pr, WinOf(Place, pr.Placed(3), 5));

    // Tickets the client did not take: too late, refused, and a same-bracket pair of a one-horse bracket.
    const Triple late = Sorted3(download.Fav(1), download.Fav(2), download.Fav(3));
    t << On(download, SingleBet(Trio, std::get<0>(late), std::get<1>(late), std::get<2>(late), 2), 1, Closed);
    const Race& c7 = d.At(3, 7);
    t << On(c7, WinOf(Win, c7.Fav(1), 5), 1, Invalid);
    const Race& c10 = d.At(3, 10);
    t << On(c10, SingleBet(BracketQuinella, 0, 3, 3, 2), 1, SameBracket);
    return t;
}

// The afternoon's tickets: races still to run today and the next day's main races.
QList<Ticket> AfternoonTickets(const Day& d) {
    using namespace LogFiles;
    QList<Ticket> t;
    const Race& a9 = d.At(1, 9);
    t << On(a9, WinOf(Win, a9.Fav(1), 10));
    const Race& a11 = d.At(1, 11);
    t << On(a11, WheelBet(Quinella, a11.Fav(1), Pick(a11, {}, 5, {a11.Fav(1)}), 2))
      << On(a11, BoxBet(Trio, Pick(a11, {}, 5), 1));
    const Race& b11 = d.At(2, 11);
    t << On(b11, ExactaWheel(b11.Fav(1), 1, Pick(b11, {}, 3, {b11.Fav(1)}), 2));
    const Race& b10 = d.At(2, 10);
    t << On(b10, Single(Wide, b10.Fav(1), b10.Fav(3), 5));
    const Race& c11 = d.At(3, 11);
    t << On(c11, WheelBet(BracketQuinella, Waku(c11.tosu, c11.Fav(1)),
                          Brackets(c11, {c11.Fav(2), c11.Fav(3), c11.Fav(4)}), 3));
    const Race& c12 = d.At(3, 12);
    const Pair axes = Sorted2(c12.Fav(1), c12.Fav(2));
    t << On(c12, TrioWheel(axes.first, axes.second, Pick(c12, {}, 5, {axes.first, axes.second}), 1));
    const Race& c9 = d.At(3, 9);
    t << On(c9, WinOf(Place, c9.Fav(2), 10));

    const Race& na11 = d.Next(1, 11);
    t << On(na11, WinOf(Win, na11.Fav(1), 5), 2);
    const Race& na12 = d.Next(1, 12);
    t << On(na12, ExactaWheel(na12.Fav(1), 2, Pick(na12, {}, 3, {na12.Fav(1)}), 1), 2);
    const Race& nb11 = d.Next(2, 11);
    t << On(nb11, BoxBet(Quinella, Pick(nb11, {}, 4), 1), 2);
    const Race& nc11 = d.Next(3, 11);
    const Pair nAxes = Sorted2(nc11.Fav(1), nc11.Fav(2));
    t << On(nc11, TrioWheel(nAxes.first, nAxes.second, Pick(nc11, {}, 4, {nAxes.first, nAxes.second}), 1), 2);
    return t;
}

// A log of a week before, for races long gone: the reader must pass it by.
QList<Ticket> OldTickets() {
    using namespace LogFiles;
    return {
        LogFiles::At(WinOf(Win, 7, 10), 5, 11),
        LogFiles::At(BoxBet(Quinella, {2, 5, 9}, 2), 8, 11),
    };
}

// What the tickets cost, in yen: those the client did not take cost nothing.
qint32 Stake(const QList<Ticket>& tickets) {
    qint32 yen = 0;
    for (const Ticket& t : tickets) {
        if (t.Status == LogFiles::Purchased) {
            yen += t.Units * Combinations(t) * 100;
        }
    }
    return yen;
}

} // namespace SampleDay::Detail
