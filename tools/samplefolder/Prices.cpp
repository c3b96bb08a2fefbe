// The prices: the odds of every bet type from the runners' strengths, and the odds files of every race on
// sale with them.
#include "SampleDayParts.h"

#include "clientfiles/OddsFiles.h"

#include <algorithm>

namespace SampleDay::Detail {
namespace {

// Odds are kept in tenths (25 is 2.5). Win, place and bracket odds have five characters in the file, so
// 999.9 at most; the combination odds six, so 9999.9.
constexpr int kMaxShort = 9999;
constexpr int kMaxLong = 99999;

QString oddsText(int tenths) {
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10);
}

// Chances are held in parts per billion, in integers: floating point may round differently on another
// platform, and one tenth of odds off would change the files.
constexpr qint64 kPpb = 1000000000;

// Odds in tenths for a pool returning `permille` of the stakes to a combination of that chance.
int odds(qint64 permille, qint64 ppb, int max) {
    if (ppb <= 0) {
        return max;
    }
    return static_cast<int>(std::clamp<qint64>(permille * 10000000 / ppb, 10, max));
}

OddsFiles::Header headerOf(const Race& r) {
    OddsFiles::Header h;
    h.date = saleDate(); // the odds of the next day's races are on sale today, so they carry today's date
    h.kaisai = venue(r);
    h.nenJi = twoDigits(kYear % 100);
    h.kaiJi = twoDigits(r.kaiJi);
    h.hiJi = twoDigits(r.hiJi);
    h.raceNum = static_cast<qint16>(r.raceNum);
    h.timeFlg = QStringLiteral("1");
    h.hh = twoDigits(r.start / 60);
    h.mm = twoDigits(r.start % 60);
    h.raceName1 = r.name1;
    h.raceName2 = r.name2;
    h.tosu = static_cast<qint16>(r.tosu);
    return h;
}

} // namespace

// Every bet type priced from the runners' strengths: a runner wins with a chance in proportion to its
// strength, and the later places go the same way among those left.
void price(Race& r) {
    std::vector<int> field;
    qint64 total = 0;
    for (int h = 1; h <= r.tosu; ++h) {
        if (!r.scratched(h)) {
            field.push_back(h);
            total += r.strength[static_cast<size_t>(h)];
        }
    }
    const auto s = [&r](int h) { return r.strength[static_cast<size_t>(h)]; };
    // The chance that i wins and j comes second, and that i, j, k finish in that order.
    const auto ordered2 = [&](int i, int j) { return s(i) * s(j) * kPpb / (total * (total - s(i))); };
    const auto ordered3 = [&](int i, int j, int k) {
        return s(i) * s(j) * s(k) * kPpb / (total * (total - s(i)) * (total - s(i) - s(j)));
    };

    for (const int h : field) {
        const int win = static_cast<int>(std::clamp<qint64>(8 * total / s(h), 10, kMaxShort));
        r.win[h] = win;
        r.placeLo[h] = std::max(10, 10 + (win - 10) / 6);
        r.placeHi[h] = std::max(r.placeLo[h], 10 + (win - 10) * 2 / 5);
    }
    r.favourites = field;
    std::stable_sort(r.favourites.begin(), r.favourites.end(), [&r](int a, int b) { return r.win[a] < r.win[b]; });

    std::map<Pair, qint64> pairChance;
    for (const int i : field) {
        for (const int j : field) {
            if (i == j) {
                continue;
            }
            r.exacta[{i, j}] = odds(750, ordered2(i, j), kMaxLong);
            if (i < j) {
                pairChance[{i, j}] = ordered2(i, j) + ordered2(j, i);
                r.quinella[{i, j}] = odds(775, pairChance[{i, j}], kMaxLong);
            }
        }
    }

    std::map<Pair, qint64> wideChance;
    for (size_t a = 0; a < field.size(); ++a) {
        for (size_t b = a + 1; b < field.size(); ++b) {
            for (size_t c = b + 1; c < field.size(); ++c) {
                const int i = field[a], j = field[b], k = field[c];
                const qint64 chance = ordered3(i, j, k) + ordered3(i, k, j) + ordered3(j, i, k) + ordered3(j, k, i) +
                                      ordered3(k, i, j) + ordered3(k, j, i);
                r.trio[{i, j, k}] = odds(750, chance, kMaxLong);
                wideChance[{i, j}] += chance;
                wideChance[{i, k}] += chance;
                wideChance[{j, k}] += chance;
            }
        }
    }
    for (const auto& [pair, chance] : wideChance) {
        const int mid = odds(775, chance, kMaxLong);
        r.wideLo[pair] = std::max(10, mid * 4 / 5);
        r.wideHi[pair] = std::min(kMaxLong, std::max(r.wideLo[pair], mid * 7 / 5));
    }

    if (r.bracketSale) {
        for (int x = 1; x <= 8; ++x) {
            for (int y = x; y <= 8; ++y) {
                qint64 chance = 0;
                for (const auto& [pair, c] : pairChance) {
                    const int wi = waku(r.tosu, pair.first);
                    const int wj = waku(r.tosu, pair.second);
                    if ((wi == x && wj == y) || (wi == y && wj == x)) {
                        chance += c;
                    }
                }
                if (chance > 0) {
                    r.bracket[{x, y}] = odds(775, chance, kMaxShort);
                }
            }
        }
    }
}

bool writeOdds(const QString& folder, const Race& r) {
    using OddsFiles::kScratched;
    const OddsFiles::Header header = headerOf(r);
    Rng rng(kSeed ^ static_cast<quint32>(r.venue * 10000 + r.hiJi * 100 + r.raceNum));
    const qint64 pool = (r.raceNum >= 9 ? 3 : 1) * (40000 + rng.below(20000)); // votes of 100 yen

    OddsFiles::ZoFile zo;
    zo.header = header;
    for (int h = 1; h <= r.tosu; ++h) {
        if (r.scratched(h)) {
            zo.runners[h] = {kScratched, QString(), QString()};
        } else {
            zo.runners[h] = {oddsText(r.win.at(h)), oddsText(r.placeLo.at(h)), oddsText(r.placeHi.at(h))};
        }
    }
    if (r.bracketSale) {
        for (int x = 1; x <= 8; ++x) {
            for (int y = x; y <= 8; ++y) {
                const auto it = r.bracket.find({x, y});
                if (it != r.bracket.end()) {
                    zo.brackets[{x, y}] = oddsText(it->second);
                } else if (x != y || bracketHorses(r.tosu, x).size() > 1) {
                    zo.brackets[{x, y}] = kScratched; // possible, but void by a scratching
                }
            }
        }
        zo.bracketVotes = pool / 3;
    }
    zo.winVotes = pool;
    zo.placeVotes = pool * 2 / 3;

    OddsFiles::UoFile uo;
    uo.header = header;
    OddsFiles::SoFile so;
    so.header = header;
    OddsFiles::YoFile yo;
    yo.header = header;
    for (int i = 1; i <= r.tosu; ++i) {
        for (int j = 1; j <= r.tosu; ++j) {
            if (i == j) {
                continue;
            }
            const bool voided = r.scratched(i) || r.scratched(j);
            so.exacta[{i, j}] = voided ? kScratched : oddsText(r.exacta.at({i, j}));
            if (i < j) {
                uo.pairs[{i, j}] =
                    voided ? OddsFiles::PairOdds{kScratched, kScratched, kScratched}
                           : OddsFiles::PairOdds{oddsText(r.quinella.at({i, j})), oddsText(r.wideLo.at({i, j})),
                                                 oddsText(r.wideHi.at({i, j}))};
                for (int k = j + 1; k <= r.tosu; ++k) {
                    yo.trio[{i, j, k}] = voided || r.scratched(k) ? kScratched : oddsText(r.trio.at({i, j, k}));
                }
            }
        }
    }
    uo.quinellaVotes = pool * 2;
    uo.wideVotes = pool;
    so.exactaVotes = pool * 3 / 2;
    yo.trioVotes = pool * 4;

    const QString id = raceId(r);
    return OddsFiles::writeZo(folder, id, zo) && OddsFiles::writeUo(folder, id, uo) &&
           OddsFiles::writeSo(folder, id, so) && OddsFiles::writeYo(folder, id, yo);
}

} // namespace SampleDay::Detail
