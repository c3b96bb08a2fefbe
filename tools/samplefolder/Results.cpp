// The results of the races run: their finishing orders (a dead heat among them), and what the result
// files and the client's payout files say of them.
#include "SampleDayParts.h"

#include "core/Codes.h"

#include <algorithm>

namespace SampleDay::Detail {
namespace {

// The weather and the going of each meeting, as the result files give them.
const char16_t* const kWeather[kMeetings] = {u"晴", u"曇", u"晴"};
const char16_t* const kTurfGoing[kMeetings] = {u"良", u"良", u"良"};
const char16_t* const kDirtGoing[kMeetings] = {u"良", u"稍重", u"良"};

// Margins behind the horse in front, written as the results pages give them.
const char* const kMargins[12] = {"ﾊﾅ", "ｸﾋﾞ", "ｱﾀﾏ", "1/2", "3/4", "1", "1.1/4", "1.1/2", "1.3/4", "2", "2.1/2", "3"};

// The finishing order: each place drawn among the horses left, in proportion to their strength.
std::vector<int> drawOrder(const Race& r, Rng& rng) {
    std::vector<int> left;
    for (int h = 1; h <= r.tosu; ++h) {
        if (!r.scratched(h)) {
            left.push_back(h);
        }
    }
    std::vector<int> order;
    while (!left.empty()) {
        qint64 total = 0;
        for (const int h : left) {
            total += r.strength[static_cast<size_t>(h)];
        }
        qint64 pick = rng.below(static_cast<int>(total));
        auto it = left.begin();
        while (pick >= r.strength[static_cast<size_t>(*it)]) {
            pick -= r.strength[static_cast<size_t>(*it)];
            ++it;
        }
        order.push_back(*it);
        left.erase(it);
    }
    return order;
}

// Two horses sharing first place share the pool: each pays half the winnings on top of the stake.
qint32 deadHeatShare(int tenths) {
    return std::max(100, (100 + (tenths * 10 - 100) / 2) / 10 * 10);
}

// Place and wide pay within the range the odds showed.
qint32 inRange(int lo, int hi) {
    return (lo + (hi - lo) * 2 / 5) * 10;
}

QString raceTime(const Race& r, Rng& rng) {
    // About 16.6 m/s on turf and 15.9 m/s on dirt, in tenths of a second.
    const int tenths = r.distance * 100 / (r.turf ? 166 : 159) + rng.below(15);
    return QStringLiteral("%1:%2.%3").arg(tenths / 600).arg(tenths / 10 % 60, 2, 10, QLatin1Char('0')).arg(tenths % 10);
}

} // namespace

// The finishing order of a race run, drawn again for the races with a result of their own to show.
void drawFinish(Race& r, Rng& rng) {
    r.order = drawOrder(r, rng);
    const auto drawUntil = [&r, &rng](auto fits) {
        for (int tries = 0; tries < 1000 && !fits(r.order); ++tries) {
            r.order = drawOrder(r, rng);
        }
    };
    if (r.meeting == kLongShot.meeting && r.raceNum == kLongShot.race) {
        // The day's big hit: a trio paying 10,000 yen or more, but not absurdly more.
        drawUntil([&r](const std::vector<int>& o) {
            const int trio = r.trio.at(sorted3(o[0], o[1], o[2]));
            return trio >= 1000 && trio < 2000;
        });
    }
    r.deadHeat = r.meeting == kDeadHeat.meeting && r.raceNum == kDeadHeat.race;
    if (r.deadHeat) {
        // Two of the leading chances side by side at the post.
        drawUntil([&r](const std::vector<int>& o) { return r.quinella.at(sorted2(o[0], o[1])) < 300; });
    }
}

Triple sorted3(int a, int b, int c) {
    std::array<int, 3> v{a, b, c};
    std::sort(v.begin(), v.end());
    return {v[0], v[1], v[2]};
}

Pair sorted2(int a, int b) {
    return {std::min(a, b), std::max(a, b)};
}

ResultFiles::ResultFile resultOf(const Race& r) {
    using namespace ResultFiles;
    Rng rng(kSeed + 7 * static_cast<quint32>(r.venue * 10000 + r.hiJi * 100 + r.raceNum));
    const size_t mi = static_cast<size_t>(r.meeting - 1);
    ResultFile f;
    f.date = saleDate();
    f.venue = venue(r);
    f.year = kYear;
    f.kaiJi = r.kaiJi;
    f.hiJi = r.hiJi;
    f.raceNum = r.raceNum;
    f.weather = QString::fromUtf16(kWeather[mi]);
    f.turf = r.turf ? QString::fromUtf16(kTurfGoing[mi]) : QString();
    f.dirt = r.turf ? QString() : QString::fromUtf16(kDirtGoing[mi]);
    f.raceName1 = r.name1;
    f.raceName2 = r.name2;
    const int end = r.start + 12;
    f.writeTime = saleDate() + twoDigits(end / 60) + twoDigits(end % 60) + QStringLiteral("00");

    const int p1 = r.placed(1), p2 = r.placed(2), p3 = r.placed(3);
    for (int s = 0; s < 5; ++s) {
        Finisher& fin = f.finishers[static_cast<size_t>(s)];
        fin.chaku = r.deadHeat && s == 1 ? 1 : s + 1;
        fin.num = r.placed(s + 1);
        fin.umaName = horseName(r, fin.num);
        if (s == 0) {
            fin.diff = raceTime(r, rng);
        } else if (r.deadHeat && s == 1) {
            fin.diff = QStringLiteral("同着");
        } else {
            fin.diff = QString::fromUtf8(kMargins[rng.below(12)]);
        }
        fin.wakuNum = waku(r.tosu, fin.num);
    }

    auto& pay = f.payouts;
    if (r.deadHeat) {
        pay[Win - 1] = {{p1, 0, 0, deadHeatShare(r.win.at(p1))}, {p2, 0, 0, deadHeatShare(r.win.at(p2))}};
    } else {
        pay[Win - 1] = {{p1, 0, 0, r.win.at(p1) * 10}};
    }
    for (const int h : {p1, p2, p3}) {
        pay[Place - 1] << Payout{h, 0, 0, inRange(r.placeLo.at(h), r.placeHi.at(h))};
    }
    if (r.bracketSale) {
        const Pair w = sorted2(waku(r.tosu, p1), waku(r.tosu, p2));
        pay[BracketQuinella - 1] = {{w.first, w.second, 0, r.bracket.at(w) * 10}};
    }
    const Pair q = sorted2(p1, p2);
    pay[Quinella - 1] = {{q.first, q.second, 0, r.quinella.at(q) * 10}};
    for (const Pair& w : {sorted2(p1, p2), sorted2(p1, p3), sorted2(p2, p3)}) {
        pay[Wide - 1] << Payout{w.first, w.second, 0, inRange(r.wideLo.at(w), r.wideHi.at(w))};
    }
    if (r.deadHeat) {
        pay[Exacta - 1] = {{p1, p2, 0, deadHeatShare(r.exacta.at({p1, p2}))},
                           {p2, p1, 0, deadHeatShare(r.exacta.at({p2, p1}))}};
    } else {
        pay[Exacta - 1] = {{p1, p2, 0, r.exacta.at({p1, p2}) * 10}};
    }
    const Triple t = sorted3(p1, p2, p3);
    pay[Trio - 1] = {{std::get<0>(t), std::get<1>(t), std::get<2>(t), r.trio.at(t) * 10}};

    for (int h = 1; h <= r.tosu; ++h) {
        if (!r.scratched(h)) {
            continue;
        }
        f.refundHorses << h;
        if (r.bracketSale) {
            // A bracket left empty refunds all its combinations; one left with a single horse only its
            // same-bracket combination.
            const int w = waku(r.tosu, h);
            const qsizetype size = bracketHorses(r.tosu, w).size();
            if (size <= 2) {
                f.wakuMarks[static_cast<size_t>(w - 1)] = static_cast<int>(size);
            }
        }
    }
    return f;
}

// The client's payout files of a meeting, one a bet type, before any race is added.
std::array<ResultFiles::PayoutFile, 7> emptyPayoutFiles(int meeting) {
    using namespace ResultFiles;
    std::array<PayoutFile, 7> payouts;
    for (int t = Win; t <= Trio; ++t) {
        PayoutFile& p = payouts[static_cast<size_t>(t - 1)];
        p.betType = t;
        p.date = saleDate();
        p.venue = kaisaiName(static_cast<qint16>(kMeetingList[static_cast<size_t>(meeting - 1)].venue));
        p.year = kYear;
        p.kaiJi = kMeetingList[static_cast<size_t>(meeting - 1)].kaiJi;
        p.hiJi = kHiJi;
    }
    return payouts;
}

// A race's payouts and refunds, added to every payout file of its meeting.
void addPayouts(std::array<ResultFiles::PayoutFile, 7>& files, int raceNum, const ResultFiles::ResultFile& result) {
    using namespace ResultFiles;
    for (PayoutFile& p : files) {
        PayoutRace race;
        race.raceNum = raceNum;
        race.payouts = result.payouts[static_cast<size_t>(p.betType - 1)];
        race.present = !race.payouts.isEmpty();
        race.refundHorses = result.refundHorses;
        race.wakuMarks = result.wakuMarks;
        p.races << race;
    }
}

} // namespace SampleDay::Detail

namespace SampleDay {
ResultFiles::ResultFile openRaceResult() {
    ResultFiles::ResultFile r;
    r.date = saleDate();
    r.venue = kaisaiName(qint16(kMeetingList[0].venue));
    r.year = kYear;
    r.kaiJi = kMeetingList[0].kaiJi;
    r.hiJi = kHiJi;
    r.raceNum = kRacesRun + 1;
    r.payouts[0] = {{7, 0, 0, 280}};
    return r;
}
} // namespace SampleDay
