// The bet log's tickets: the previous day's advance tickets, the morning's and the afternoon's of the sale
// day, and a week-old log, chosen so the day has hits, misses, refunds and tickets the client turned down.
#include "SampleDayParts.h"

#include <algorithm>

namespace SampleDay::Detail {

using LogFiles::Ticket;

namespace {

int combinations(const Ticket& t) {
    if (t.kind == LogFiles::Wheel) {
        int n = 0;
        for (qint32 m = t.mask; m != 0; m >>= 1) {
            n += m & 1;
        }
        return n;
    }
    if (t.kind == LogFiles::Box) {
        const int n = static_cast<int>(t.boxed.size());
        if (t.betType == LogFiles::Exacta) {
            return n * (n - 1);
        }
        if (t.betType == LogFiles::Trio) {
            return n * (n - 1) * (n - 2) / 6;
        }
        return n * (n - 1) / 2;
    }
    return 1;
}

Ticket on(const Race& r, Ticket t, int sale = 1, int status = LogFiles::Purchased) {
    t = LogFiles::at(t, r.venue, r.raceNum, sale);
    t.status = status;
    t.totalUnits = t.units * combinations(t);
    return t;
}

// n distinct horses, ascending: the wanted ones first, then the favourites, never an excluded one.
QList<int> pick(const Race& r, const QList<int>& wanted, int n, const QList<int>& excluded = {}) {
    QList<int> picked;
    const auto take = [&](int h) {
        if (picked.size() < n && !picked.contains(h) && !excluded.contains(h) && !r.scratched(h)) {
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

QList<int> brackets(const Race& r, const QList<int>& horses) {
    QList<int> brackets;
    for (const int h : horses) {
        const int w = waku(r.tosu, h);
        if (!brackets.contains(w)) {
            brackets << w;
        }
    }
    std::sort(brackets.begin(), brackets.end());
    return brackets;
}

Ticket single(int betType, int a, int b, int units) {
    const Pair p = sorted2(a, b);
    return LogFiles::singleBet(betType, 0, p.first, p.second, units);
}

Ticket winOf(int betType, int horse, int units) {
    return LogFiles::singleBet(betType, 0, 0, horse, units);
}

bool is(const Race& r, RaceRef ref) {
    return r.hiJi == kHiJi && r.meeting == ref.meeting && r.raceNum == ref.race;
}

qint32 trioPayout(const Race& r) {
    return r.trio.at(sorted3(r.placed(1), r.placed(2), r.placed(3))) * 10;
}

// The races already run that have no part of their own in the day, the quietest results first. The
// tickets that hit are put on the first of them, so the day wins without every hit being a jackpot.
std::vector<const Race*> ordinaryRaces(const Day& d) {
    std::vector<const Race*> races;
    for (int m = 1; m <= kMeetings; ++m) {
        for (int race = 1; race <= kRacesRun; ++race) {
            const Race& r = d.at(m, race);
            if (!is(r, kPayoutFilesOnly) && !is(r, kDownloadOnly) && !is(r, kPrFile) && !is(r, kDeadHeat) &&
                !is(r, kRefund) && !is(r, kLongShot)) {
                races.push_back(&r);
            }
        }
    }
    std::stable_sort(races.begin(), races.end(),
                     [](const Race* a, const Race* b) { return trioPayout(*a) < trioPayout(*b); });
    return races;
}

} // namespace

// The previous day's advance tickets for today's races (sold as the next day's races then).
QList<Ticket> previousDayTickets(const Day& d) {
    using namespace LogFiles;
    const Race& a11 = d.at(1, 11);
    const Race& b11 = d.at(2, 11);
    const Race& c11 = d.at(3, 11);
    const Race& run = *ordinaryRaces(d)[0];
    const Pair axes = sorted2(c11.fav(1), c11.fav(2));
    return {
        on(a11, winOf(Win, a11.fav(1), 10), 2),
        on(b11, boxBet(Quinella, pick(b11, {}, 4), 1), 2),
        on(c11, trioWheel(axes.first, axes.second, pick(c11, {}, 4, {axes.first, axes.second}), 1), 2),
        on(run, single(Wide, run.placed(1), run.placed(2), 3), 2),
    };
}

// The morning's tickets, chosen knowing how races 1-8 ended so the day has hits, misses and refunds.
QList<Ticket> morningTickets(const Day& d) {
    using namespace LogFiles;
    QList<Ticket> t;
    const std::vector<const Race*> ordinary = ordinaryRaces(d);
    size_t next = 1; // the first one went to the previous day's ticket
    const auto race = [&]() -> const Race& { return *ordinary[std::min(next++, ordinary.size() - 1)]; };

    // Hits.
    const Race& r1 = race();
    const Triple top = sorted3(r1.placed(1), r1.placed(2), r1.placed(3));
    t << on(r1, singleBet(Trio, std::get<0>(top), std::get<1>(top), std::get<2>(top), 1));
    const Race& r2 = race();
    t << on(r2, boxBet(Exacta, pick(r2, {r2.placed(1), r2.placed(2)}, 3), 1));
    const Race& r3 = race();
    t << on(r3, wheelBet(BracketQuinella, waku(r3.tosu, r3.placed(1)),
                         brackets(r3, {r3.placed(2), r3.fav(1), r3.fav(2), r3.fav(3)}), 2));
    const Race& r4 = race();
    t << on(r4, wheelBet(Quinella, r4.placed(1), pick(r4, {r4.placed(2)}, 4, {r4.placed(1)}), 2));
    const Race& r5 = race();
    t << on(r5, exactaWheel(r5.placed(1), 1, pick(r5, {r5.placed(2)}, 4, {r5.placed(1)}), 1));
    const Race& r6 = race();
    t << on(r6, boxBet(Quinella, pick(r6, {r6.placed(1), r6.placed(2)}, 4), 1));
    const Race& r7 = race();
    t << on(r7, wheelBet(Wide, r7.placed(2), pick(r7, {r7.placed(1), r7.placed(3)}, 4, {r7.placed(2)}), 2));
    const Race& r8 = race();
    t << on(r8, boxBet(Wide, pick(r8, {r8.placed(1), r8.placed(3)}, 4), 1));
    const Race& r9 = race();
    t << on(r9, single(BracketQuinella, waku(r9.tosu, r9.placed(1)), waku(r9.tosu, r9.placed(2)), 2));
    const Race& r10 = race();
    t << on(r10, single(Wide, r10.placed(1), r10.placed(3), 5));
    const Race& r11 = race();
    t << on(r11, winOf(Win, r11.placed(1), 5)) << on(r11, winOf(Place, r11.fav(1), 10));

    // Misses, and bets on the favourites that go either way.
    const Race& r12 = race();
    t << on(r12, winOf(Win, r12.placed(4), 3)) << on(r12, single(Quinella, r12.fav(1), r12.fav(2), 3));
    const Race& r13 = race();
    t << on(r13, singleBet(Exacta, 0, r13.placed(2), r13.placed(1), 2)); // the right pair the wrong way round
    const Race& r14 = race();
    t << on(r14, exactaWheel(r14.placed(1), 2, pick(r14, {}, 4, {r14.placed(1)}), 1)); // the winner as second
    const Race& r15 = race();
    QList<int> outsideBrackets;
    for (int w = 1; w <= 8 && outsideBrackets.size() < 3; ++w) {
        if (w != waku(r15.tosu, r15.placed(1)) && w != waku(r15.tosu, r15.placed(2))) {
            outsideBrackets << w;
        }
    }
    t << on(r15, boxBet(BracketQuinella, outsideBrackets, 1));
    const Race& r16 = race();
    t << on(r16, boxBet(Trio, pick(r16, {}, 5), 1));

    // The races with a part of their own.
    const Race& refund = d.at(kRefund);
    t << on(refund, winOf(Win, kRefundHorse, 5)) << on(refund, single(Quinella, refund.placed(1), kRefundHorse, 2));
    const Race& big = d.at(kLongShot);
    const Pair axes = sorted2(big.placed(1), big.placed(2));
    t << on(big, trioWheel(axes.first, axes.second, pick(big, {big.placed(3)}, 6, {axes.first, axes.second}), 1));
    const Race& heat = d.at(kDeadHeat);
    t << on(heat, winOf(Win, heat.placed(2), 5)) << on(heat, singleBet(Exacta, 0, heat.placed(2), heat.placed(1), 2));
    const Race& payoutOnly = d.at(kPayoutFilesOnly);
    t << on(payoutOnly, winOf(Win, payoutOnly.placed(1), 3))
      << on(payoutOnly, single(Quinella, payoutOnly.fav(1), payoutOnly.fav(2), 2));
    const Race& download = d.at(kDownloadOnly);
    t << on(download, single(Quinella, download.placed(1), download.placed(2), 3));
    const Race& pr = d.at(kPrFile);
    t << on(pr, winOf(Place, pr.placed(3), 5));

    // Tickets the client did not take: too late, refused, and a same-bracket pair of a one-horse bracket.
    const Triple late = sorted3(download.fav(1), download.fav(2), download.fav(3));
    t << on(download, singleBet(Trio, std::get<0>(late), std::get<1>(late), std::get<2>(late), 2), 1, Closed);
    const Race& c7 = d.at(3, 7);
    t << on(c7, winOf(Win, c7.fav(1), 5), 1, Invalid);
    const Race& c10 = d.at(3, 10);
    t << on(c10, singleBet(BracketQuinella, 0, 3, 3, 2), 1, SameBracket);
    return t;
}

// The afternoon's tickets: races still to run today and the next day's main races.
QList<Ticket> afternoonTickets(const Day& d) {
    using namespace LogFiles;
    QList<Ticket> t;
    const Race& a9 = d.at(1, 9);
    t << on(a9, winOf(Win, a9.fav(1), 10));
    const Race& a11 = d.at(1, 11);
    t << on(a11, wheelBet(Quinella, a11.fav(1), pick(a11, {}, 5, {a11.fav(1)}), 2))
      << on(a11, boxBet(Trio, pick(a11, {}, 5), 1));
    const Race& b11 = d.at(2, 11);
    t << on(b11, exactaWheel(b11.fav(1), 1, pick(b11, {}, 3, {b11.fav(1)}), 2));
    const Race& b10 = d.at(2, 10);
    t << on(b10, single(Wide, b10.fav(1), b10.fav(3), 5));
    const Race& c11 = d.at(3, 11);
    t << on(c11, wheelBet(BracketQuinella, waku(c11.tosu, c11.fav(1)),
                          brackets(c11, {c11.fav(2), c11.fav(3), c11.fav(4)}), 3));
    const Race& c12 = d.at(3, 12);
    const Pair axes = sorted2(c12.fav(1), c12.fav(2));
    t << on(c12, trioWheel(axes.first, axes.second, pick(c12, {}, 5, {axes.first, axes.second}), 1));
    const Race& c9 = d.at(3, 9);
    t << on(c9, winOf(Place, c9.fav(2), 10));

    const Race& na11 = d.next(1, 11);
    t << on(na11, winOf(Win, na11.fav(1), 5), 2);
    const Race& na12 = d.next(1, 12);
    t << on(na12, exactaWheel(na12.fav(1), 2, pick(na12, {}, 3, {na12.fav(1)}), 1), 2);
    const Race& nb11 = d.next(2, 11);
    t << on(nb11, boxBet(Quinella, pick(nb11, {}, 4), 1), 2);
    const Race& nc11 = d.next(3, 11);
    const Pair nAxes = sorted2(nc11.fav(1), nc11.fav(2));
    t << on(nc11, trioWheel(nAxes.first, nAxes.second, pick(nc11, {}, 4, {nAxes.first, nAxes.second}), 1), 2);
    return t;
}

// A log of a week before, for races long gone: the reader must pass it by.
QList<Ticket> oldTickets() {
    using namespace LogFiles;
    return {
        LogFiles::at(winOf(Win, 7, 10), 5, 11),
        LogFiles::at(boxBet(Quinella, {2, 5, 9}, 2), 8, 11),
    };
}

// What the tickets cost, in yen: those the client did not take cost nothing.
qint32 stake(const QList<Ticket>& tickets) {
    qint32 yen = 0;
    for (const Ticket& t : tickets) {
        if (t.status == LogFiles::Purchased) {
            yen += t.units * combinations(t) * 100;
        }
    }
    return yen;
}

} // namespace SampleDay::Detail
