#include "SampleDay.h"

#include "clientfiles/AccountFiles.h"
#include "clientfiles/FixedRecord.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/OddsFiles.h"
#include "clientfiles/ResultFiles.h"
#include "core/AppError.h"
#include "core/Codes.h"
#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "profit/ProfitBook.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>
#include <utility>
#include <vector>

using namespace SampleDay;

namespace {

// Random numbers from the engine's raw output only: the engine's sequence is fixed by the standard, the
// library's distributions are not, and the day must come out the same everywhere.
class Rng {
public:
    explicit Rng(quint32 seed) : m_engine(seed) {}
    int Below(int n) { return static_cast<int>(static_cast<quint32>(m_engine()) % static_cast<quint32>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }

private:
    std::mt19937 m_engine;
};

constexpr quint32 kSeed = 20261205;

using Pair = std::pair<int, int>;
using Triple = std::tuple<int, int, int>;

// Odds are kept in tenths (25 is 2.5). Win, place and bracket odds have five characters in the file, so
// 999.9 at most; the combination odds six, so 9999.9.
constexpr int kMaxShort = 9999;
constexpr int kMaxLong = 99999;

// The bracket quinella bit of a race's ticket types.
constexpr int kBracketQuinellaBit = 4;

struct Race {
    int meeting = 0; // 1-based position, A = 1
    int venue = 0;
    int kaiJi = 0;
    int hiJi = 0;
    int raceNum = 0;
    QString name1;
    QString name2;
    bool turf = true;
    int distance = 0;
    int start = 0; // minutes after midnight
    int tosu = 0;
    bool bracketSale = true;
    std::vector<qint64> strength; // by horse number (index 0 unused); 0 for a scratched horse
    int nameSeed = 0;

    std::map<int, int> win, placeLo, placeHi;
    std::map<Pair, int> quinella, wideLo, wideHi, exacta, bracket;
    std::map<Triple, int> trio;
    std::vector<int> favourites; // running horses by win odds, shortest first

    std::vector<int> order; // finishing order, for races already run
    bool deadHeat = false;  // the first two finished together

    bool Scratched(int horse) const { return strength[static_cast<size_t>(horse)] == 0; }
    int Kenshu() const {
        return bracketSale ? AccountFiles::kAllTypes : AccountFiles::kAllTypes & ~kBracketQuinellaBit;
    }
    int Placed(int k) const { return order[static_cast<size_t>(k - 1)]; }
    int Fav(int k) const { return favourites[static_cast<size_t>(k - 1)]; }
};

// Brackets as the client deals them: up to eight runners one each, otherwise eight brackets with the
// surplus going to the last ones.
int Waku(int tosu, int horse) {
    if (tosu <= 8) {
        return horse;
    }
    const int base = tosu / 8;
    const int extra = tosu % 8;
    int first = 1;
    for (int b = 1; b <= 8; ++b) {
        first += base + (b > 8 - extra ? 1 : 0);
        if (horse < first) {
            return b;
        }
    }
    return 0;
}

QList<int> BracketHorses(int tosu, int waku) {
    QList<int> horses;
    for (int h = 1; h <= tosu; ++h) {
        if (Waku(tosu, h) == waku) {
            horses << h;
        }
    }
    return horses;
}

QString OddsText(int tenths) {
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10);
}

// Chances are held in parts per billion, in integers: floating point may round differently on another
// platform, and one tenth of odds off would change the files.
constexpr qint64 kPpb = 1000000000;

// Odds in tenths for a pool returning `permille` of the stakes to a combination of that chance.
int Odds(qint64 permille, qint64 ppb, int max) {
    if (ppb <= 0) {
        return max;
    }
    return static_cast<int>(std::clamp<qint64>(permille * 10000000 / ppb, 10, max));
}

// Every bet type priced from the runners' strengths: a runner wins with a chance in proportion to its
// strength, and the later places go the same way among those left.
void Price(Race& r) {
    std::vector<int> field;
    qint64 total = 0;
    for (int h = 1; h <= r.tosu; ++h) {
        if (!r.Scratched(h)) {
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
            r.exacta[{i, j}] = Odds(750, ordered2(i, j), kMaxLong);
            if (i < j) {
                pairChance[{i, j}] = ordered2(i, j) + ordered2(j, i);
                r.quinella[{i, j}] = Odds(775, pairChance[{i, j}], kMaxLong);
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
                r.trio[{i, j, k}] = Odds(750, chance, kMaxLong);
                wideChance[{i, j}] += chance;
                wideChance[{i, k}] += chance;
                wideChance[{j, k}] += chance;
            }
        }
    }
    for (const auto& [pair, chance] : wideChance) {
        const int mid = Odds(775, chance, kMaxLong);
        r.wideLo[pair] = std::max(10, mid * 4 / 5);
        r.wideHi[pair] = std::min(kMaxLong, std::max(r.wideLo[pair], mid * 7 / 5));
    }

    if (r.bracketSale) {
        for (int x = 1; x <= 8; ++x) {
            for (int y = x; y <= 8; ++y) {
                qint64 chance = 0;
                for (const auto& [pair, c] : pairChance) {
                    const int wi = Waku(r.tosu, pair.first);
                    const int wj = Waku(r.tosu, pair.second);
                    if ((wi == x && wj == y) || (wi == y && wj == x)) {
                        chance += c;
                    }
                }
                if (chance > 0) {
                    r.bracket[{x, y}] = Odds(775, chance, kMaxShort);
                }
            }
        }
    }
}

// The finishing order: each place drawn among the horses left, in proportion to their strength.
std::vector<int> DrawOrder(const Race& r, Rng& rng) {
    std::vector<int> left;
    for (int h = 1; h <= r.tosu; ++h) {
        if (!r.Scratched(h)) {
            left.push_back(h);
        }
    }
    std::vector<int> order;
    while (!left.empty()) {
        qint64 total = 0;
        for (const int h : left) {
            total += r.strength[static_cast<size_t>(h)];
        }
        qint64 pick = rng.Below(static_cast<int>(total));
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

Triple Sorted3(int a, int b, int c) {
    std::array<int, 3> v{a, b, c};
    std::sort(v.begin(), v.end());
    return {v[0], v[1], v[2]};
}

Pair Sorted2(int a, int b) {
    return {std::min(a, b), std::max(a, b)};
}

// ---------------------------------------------------------------------------------------------------
// The race programme

struct Programme {
    const char16_t* name1;
    const char16_t* name2;
    bool turf;
    int distance;
};

const char16_t* const kMaiden2 = u"サラ系２歳　未勝利";
const char16_t* const kNewcomer2 = u"サラ系２歳　新馬";
const char16_t* const kClass1 = u"サラ系３歳以上　１勝クラス";
const char16_t* const kClass2 = u"サラ系３歳以上　２勝クラス";
const char16_t* const kClass3 = u"サラ系３歳以上　３勝クラス";
const char16_t* const kOpen = u"サラ系３歳以上　オープン";

// Races 1 to 8 and 12 look alike everywhere; races 9 to 11 carry each meeting's own names.
const Programme kCommon[8] = {
    {u"２歳未勝利", kMaiden2, false, 1200},       {u"２歳未勝利", kMaiden2, true, 1600},
    {u"２歳未勝利", kMaiden2, false, 1800},       {u"２歳新馬", kNewcomer2, true, 1800},
    {u"２歳新馬", kNewcomer2, false, 1400},       {u"３歳以上１勝クラス", kClass1, false, 1800},
    {u"３歳以上１勝クラス", kClass1, true, 2000}, {u"３歳以上２勝クラス", kClass2, false, 1200},
};
const Programme kLast{u"３歳以上１勝クラス", kClass1, false, 1400};
const Programme kSpecials[kMeetings][3] = {
    {{u"初霜特別", kClass2, true, 1600},
     {u"冬桜ステークス", kClass3, false, 1800},
     {u"寒月ステークス", kOpen, true, 2000}},
    {{u"六甲特別", kClass2, true, 1400},
     {u"冬木立ステークス", kClass3, false, 1800},
     {u"チャレンジカップ", kOpen, true, 2000}},
    {{u"寒椿特別", kClass2, false, 1400},
     {u"白梅ステークス", kClass3, true, 1600},
     {u"霜月ステークス", kOpen, true, 1200}},
};
// The next day's races 9 to 12 (only the last ones of each meeting are on advance sale).
const Programme kNextDay[kMeetings][4] = {
    {{u"師走特別", kClass2, true, 1200},
     {u"冬至ステークス", kClass3, false, 1800},
     {u"北風ステークス", kOpen, true, 1600},
     {u"３歳以上２勝クラス", kClass2, false, 1200}},
    {{u"有馬山特別", kClass2, false, 1200},
     {u"摂津ステークス", kClass3, false, 1400},
     {u"冬晴ステークス", kOpen, true, 1800},
     {u"３歳以上１勝クラス", kClass1, false, 1800}},
    {{u"伊吹山特別", kClass2, true, 1600},
     {u"熱田ステークス", kClass3, false, 1800},
     {u"木枯しステークス", kOpen, true, 2000},
     {u"３歳以上２勝クラス", kClass2, false, 1800}},
};

// Runners of races 1-12 of the day, and of the next day's races 9-12.
constexpr int kFields[kMeetings][kRacesPerDay] = {
    {16, 16, 15, 12, 14, 16, 11, 16, 13, 10, 16, 16},
    {16, 10, 18, 14, 9, 13, 18, 12, 8, 11, 15, 16},
    {15, 17, 16, 13, 14, 16, 18, 12, 16, 9, 18, 14},
};
constexpr int kNextFields[kMeetings][4] = {{12, 14, 16, 16}, {10, 14, 18, 16}, {12, 16, 17, 15}};

const char16_t* const kWeather[kMeetings] = {u"晴", u"曇", u"晴"};
const char16_t* const kTurfGoing[kMeetings] = {u"良", u"良", u"良"};
const char16_t* const kDirtGoing[kMeetings] = {u"良", u"稍重", u"良"};

// Horse names: half-width katakana, two words, at most 12 bytes of the 18 the result file has.
const char* const kNameHeads[12] = {"ｼﾙﾊﾞｰ", "ｺﾞｰﾙﾄﾞ", "ﾌﾞﾙｰ", "ｽｰﾊﾟｰ", "ｸﾞﾗﾝ", "ﾚｯﾄﾞ",
                                    "ｳｲﾝﾀｰ", "ｻﾆｰ",    "ﾎﾜｲﾄ", "ｸﾞﾘｰﾝ", "ﾐｽﾃｨ", "ﾗｯｷｰ"};
const char* const kNameTails[12] = {"ﾌﾗｯｼｭ", "ｳｲﾝﾄﾞ", "ｸﾞﾛｰﾘｰ", "ｽﾄｰﾑ", "ﾋﾞｸﾄﾘｰ", "ﾒﾓﾘｰ",
                                    "ﾄﾞﾘｰﾑ", "ｱﾛｰ",   "ﾌｪｱﾘｰ",  "ﾊﾟｰﾙ", "ﾍﾞﾙ",    "ﾚｲﾝ"};
// Margins behind the horse in front, written as the results pages give them.
const char* const kMargins[12] = {"ﾊﾅ", "ｸﾋﾞ", "ｱﾀﾏ", "1/2", "3/4", "1", "1.1/4", "1.1/2", "1.3/4", "2", "2.1/2", "3"};

QString HorseName(const Race& r, int horse) {
    const int index = (r.nameSeed + horse * 13) % 144; // 13 and 144 are coprime: no name twice in a race
    return QString::fromUtf8(kNameHeads[index / 12]) + QString::fromUtf8(kNameTails[index % 12]);
}

Race MakeRace(int meeting, int hiJi, int raceNum, int tosu, const Programme& programme) {
    const Meeting& m = kMeetingList[static_cast<size_t>(meeting - 1)];
    Race r;
    r.meeting = meeting;
    r.venue = m.Venue;
    r.kaiJi = m.KaiJi;
    r.hiJi = hiJi;
    r.raceNum = raceNum;
    r.name1 = QString::fromUtf16(programme.name1);
    r.name2 = QString::fromUtf16(programme.name2);
    r.turf = programme.turf;
    r.distance = programme.distance;
    // Ten past ten for the first race, half an hour apart, a lunch break after the fourth; the venues a
    // few minutes apart so their races do not start together.
    r.start = 10 * 60 + 5 + 30 * (raceNum - 1) + (raceNum > 4 ? 15 : 0) + 5 * (meeting - 1);
    r.tosu = tosu;
    // No bracket quinella with eight runners or fewer: every bracket would hold one horse.
    r.bracketSale = tosu > 8;

    Rng rng(kSeed + static_cast<quint32>(m.Venue * 10000 + hiJi * 100 + raceNum));
    r.nameSeed = rng.Below(144);
    // Each horse about 0.72 times as strong as the one above it, give or take a fifth: the favourite
    // at odds of about 3, a few chances behind it and a long tail of outsiders. The ranks are dealt to
    // the horse numbers at random.
    std::vector<int> numbers;
    for (int h = 1; h <= tosu; ++h) {
        numbers.push_back(h);
    }
    for (int i = tosu - 1; i > 0; --i) {
        std::swap(numbers[static_cast<size_t>(i)], numbers[static_cast<size_t>(rng.Below(i + 1))]);
    }
    r.strength.assign(static_cast<size_t>(tosu + 1), 0);
    qint64 level = 1000000;
    for (const int h : numbers) {
        r.strength[static_cast<size_t>(h)] = std::max<qint64>(1, level * rng.Between(80, 120) / 100000);
        level = level * 72 / 100;
    }
    const bool run = hiJi == kHiJi && raceNum <= kRacesRun;
    if (meeting == kRefund.Meeting && raceNum == kRefund.Race && hiJi == kHiJi) {
        r.strength[kRefundHorse] = 0;
    } else if (!run && rng.Below(4) == 0) {
        r.strength[static_cast<size_t>(rng.Between(1, tosu))] = 0; // scratched before the race
    }
    Price(r);

    if (run) {
        r.order = DrawOrder(r, rng);
        const auto drawUntil = [&r, &rng](auto fits) {
            for (int tries = 0; tries < 1000 && !fits(r.order); ++tries) {
                r.order = DrawOrder(r, rng);
            }
        };
        if (meeting == kLongShot.Meeting && raceNum == kLongShot.Race) {
            // The day's big hit: a trio paying 10,000 yen or more, but not absurdly more.
            drawUntil([&r](const std::vector<int>& o) {
                const int trio = r.trio.at(Sorted3(o[0], o[1], o[2]));
                return trio >= 1000 && trio < 2000;
            });
        }
        r.deadHeat = meeting == kDeadHeat.Meeting && raceNum == kDeadHeat.Race;
        if (r.deadHeat) {
            // Two of the leading chances side by side at the post.
            drawUntil([&r](const std::vector<int>& o) { return r.quinella.at(Sorted2(o[0], o[1])) < 300; });
        }
    }
    return r;
}

struct Day {
    std::array<std::vector<Race>, kMeetings> races;   // races 1-12 of the day
    std::array<std::vector<Race>, kMeetings> advance; // the next day's races on advance sale

    const Race& At(int meeting, int race) const {
        return races[static_cast<size_t>(meeting - 1)][static_cast<size_t>(race - 1)];
    }
    const Race& At(RaceRef ref) const { return At(ref.Meeting, ref.Race); }
    const Race& Next(int meeting, int race) const {
        for (const Race& r : advance[static_cast<size_t>(meeting - 1)]) {
            if (r.raceNum == race) {
                return r;
            }
        }
        return advance[static_cast<size_t>(meeting - 1)].front();
    }
};

Day MakeDay() {
    Day day;
    for (int m = 1; m <= kMeetings; ++m) {
        const size_t mi = static_cast<size_t>(m - 1);
        for (int race = 1; race <= kRacesPerDay; ++race) {
            const Programme& p = race <= 8 ? kCommon[race - 1] : race <= 11 ? kSpecials[mi][race - 9] : kLast;
            day.races[mi].push_back(MakeRace(m, kHiJi, race, kFields[mi][race - 1], p));
        }
        for (int race = kRacesPerDay - kMeetingList[mi].AdvanceRaces + 1; race <= kRacesPerDay; ++race) {
            day.advance[mi].push_back(MakeRace(m, kHiJi + 1, race, kNextFields[mi][race - 9], kNextDay[mi][race - 9]));
        }
    }
    return day;
}

QString Venue(const Race& r) {
    return KaisaiName(static_cast<qint16>(r.venue));
}

QString RaceId(const Race& r) {
    return QString(HexDigit(r.venue)) + HexDigit(r.hiJi) + HexDigit(r.raceNum);
}

QString TwoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// ---------------------------------------------------------------------------------------------------
// Odds files

OddsFiles::Header Header(const Race& r) {
    OddsFiles::Header h;
    h.date = SaleDate(); // the odds of the next day's races are on sale today, so they carry today's date
    h.kaisai = Venue(r);
    h.nenJi = TwoDigits(kYear % 100);
    h.kaiJi = TwoDigits(r.kaiJi);
    h.hiJi = TwoDigits(r.hiJi);
    h.raceNum = static_cast<qint16>(r.raceNum);
    h.timeFlg = QStringLiteral("1");
    h.hh = TwoDigits(r.start / 60);
    h.mm = TwoDigits(r.start % 60);
    h.raceName1 = r.name1;
    h.raceName2 = r.name2;
    h.tosu = static_cast<qint16>(r.tosu);
    return h;
}

bool WriteOdds(const QString& folder, const Race& r) {
    using OddsFiles::kScratched;
    const OddsFiles::Header header = Header(r);
    Rng rng(kSeed ^ static_cast<quint32>(r.venue * 10000 + r.hiJi * 100 + r.raceNum));
    const qint64 pool = (r.raceNum >= 9 ? 3 : 1) * (40000 + rng.Below(20000)); // votes of 100 yen

    OddsFiles::ZoFile zo;
    zo.header = header;
    for (int h = 1; h <= r.tosu; ++h) {
        if (r.Scratched(h)) {
            zo.runners[h] = {kScratched, QString(), QString()};
        } else {
            zo.runners[h] = {OddsText(r.win.at(h)), OddsText(r.placeLo.at(h)), OddsText(r.placeHi.at(h))};
        }
    }
    if (r.bracketSale) {
        for (int x = 1; x <= 8; ++x) {
            for (int y = x; y <= 8; ++y) {
                const auto it = r.bracket.find({x, y});
                if (it != r.bracket.end()) {
                    zo.brackets[{x, y}] = OddsText(it->second);
                } else if (x != y || BracketHorses(r.tosu, x).size() > 1) {
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
            const bool voided = r.Scratched(i) || r.Scratched(j);
            so.exacta[{i, j}] = voided ? kScratched : OddsText(r.exacta.at({i, j}));
            if (i < j) {
                uo.pairs[{i, j}] =
                    voided ? OddsFiles::PairOdds{kScratched, kScratched, kScratched}
                           : OddsFiles::PairOdds{OddsText(r.quinella.at({i, j})), OddsText(r.wideLo.at({i, j})),
                                                 OddsText(r.wideHi.at({i, j}))};
                for (int k = j + 1; k <= r.tosu; ++k) {
                    yo.trio[{i, j, k}] = voided || r.Scratched(k) ? kScratched : OddsText(r.trio.at({i, j, k}));
                }
            }
        }
    }
    uo.quinellaVotes = pool * 2;
    uo.wideVotes = pool;
    so.exactaVotes = pool * 3 / 2;
    yo.trioVotes = pool * 4;

    const QString id = RaceId(r);
    return OddsFiles::WriteZo(folder, id, zo) && OddsFiles::WriteUo(folder, id, uo) &&
           OddsFiles::WriteSo(folder, id, so) && OddsFiles::WriteYo(folder, id, yo);
}

// ---------------------------------------------------------------------------------------------------
// Results

// Two horses sharing first place share the pool: each pays half the winnings on top of the stake.
qint32 DeadHeatShare(int tenths) {
    return std::max(100, (100 + (tenths * 10 - 100) / 2) / 10 * 10);
}

// Place and wide pay within the range the odds showed.
qint32 InRange(int lo, int hi) {
    return (lo + (hi - lo) * 2 / 5) * 10;
}

QString RaceTime(const Race& r, Rng& rng) {
    // About 16.6 m/s on turf and 15.9 m/s on dirt, in tenths of a second.
    const int tenths = r.distance * 100 / (r.turf ? 166 : 159) + rng.Below(15);
    return QStringLiteral("%1:%2.%3").arg(tenths / 600).arg(tenths / 10 % 60, 2, 10, QLatin1Char('0')).arg(tenths % 10);
}

ResultFiles::ResultFile Result(const Race& r) {
    using namespace ResultFiles;
    Rng rng(kSeed + 7 * static_cast<quint32>(r.venue * 10000 + r.hiJi * 100 + r.raceNum));
    const size_t mi = static_cast<size_t>(r.meeting - 1);
    ResultFile f;
    f.Date = SaleDate();
    f.Venue = Venue(r);
    f.Year = kYear;
    f.KaiJi = r.kaiJi;
    f.HiJi = r.hiJi;
    f.RaceNum = r.raceNum;
    f.Weather = QString::fromUtf16(kWeather[mi]);
    f.Turf = r.turf ? QString::fromUtf16(kTurfGoing[mi]) : QString();
    f.Dirt = r.turf ? QString() : QString::fromUtf16(kDirtGoing[mi]);
    f.RaceName1 = r.name1;
    f.RaceName2 = r.name2;
    const int end = r.start + 12;
    f.WriteTime = SaleDate() + TwoDigits(end / 60) + TwoDigits(end % 60) + QStringLiteral("00");

    const int p1 = r.Placed(1), p2 = r.Placed(2), p3 = r.Placed(3);
    for (int s = 0; s < 5; ++s) {
        Finisher& fin = f.Finishers[static_cast<size_t>(s)];
        fin.Chaku = r.deadHeat && s == 1 ? 1 : s + 1;
        fin.Num = r.Placed(s + 1);
        fin.UmaName = HorseName(r, fin.Num);
        if (s == 0) {
            fin.Diff = RaceTime(r, rng);
        } else if (r.deadHeat && s == 1) {
            fin.Diff = QStringLiteral("同着");
        } else {
            fin.Diff = QString::fromUtf8(kMargins[rng.Below(12)]);
        }
        fin.WakuNum = Waku(r.tosu, fin.Num);
    }

    auto& pay = f.Payouts;
    if (r.deadHeat) {
        pay[Win - 1] = {{p1, 0, 0, DeadHeatShare(r.win.at(p1))}, {p2, 0, 0, DeadHeatShare(r.win.at(p2))}};
    } else {
        pay[Win - 1] = {{p1, 0, 0, r.win.at(p1) * 10}};
    }
    for (const int h : {p1, p2, p3}) {
        pay[Place - 1] << Payout{h, 0, 0, InRange(r.placeLo.at(h), r.placeHi.at(h))};
    }
    if (r.bracketSale) {
        const Pair w = Sorted2(Waku(r.tosu, p1), Waku(r.tosu, p2));
        pay[BracketQuinella - 1] = {{w.first, w.second, 0, r.bracket.at(w) * 10}};
    }
    const Pair q = Sorted2(p1, p2);
    pay[Quinella - 1] = {{q.first, q.second, 0, r.quinella.at(q) * 10}};
    for (const Pair& w : {Sorted2(p1, p2), Sorted2(p1, p3), Sorted2(p2, p3)}) {
        pay[Wide - 1] << Payout{w.first, w.second, 0, InRange(r.wideLo.at(w), r.wideHi.at(w))};
    }
    if (r.deadHeat) {
        pay[Exacta - 1] = {{p1, p2, 0, DeadHeatShare(r.exacta.at({p1, p2}))},
                           {p2, p1, 0, DeadHeatShare(r.exacta.at({p2, p1}))}};
    } else {
        pay[Exacta - 1] = {{p1, p2, 0, r.exacta.at({p1, p2}) * 10}};
    }
    const Triple t = Sorted3(p1, p2, p3);
    pay[Trio - 1] = {{std::get<0>(t), std::get<1>(t), std::get<2>(t), r.trio.at(t) * 10}};

    for (int h = 1; h <= r.tosu; ++h) {
        if (!r.Scratched(h)) {
            continue;
        }
        f.RefundHorses << h;
        if (r.bracketSale) {
            // A bracket left empty refunds all its combinations; one left with a single horse only its
            // same-bracket combination.
            const int w = Waku(r.tosu, h);
            const qsizetype size = BracketHorses(r.tosu, w).size();
            if (size <= 2) {
                f.WakuMarks[static_cast<size_t>(w - 1)] = static_cast<int>(size);
            }
        }
    }
    return f;
}

// ---------------------------------------------------------------------------------------------------
// Tickets

using LogFiles::Ticket;

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

qint32 Stake(const QList<Ticket>& tickets) {
    qint32 yen = 0;
    for (const Ticket& t : tickets) {
        if (t.Status == LogFiles::Purchased) {
            yen += t.Units * Combinations(t) * 100;
        }
    }
    return yen;
}

// ---------------------------------------------------------------------------------------------------
// Profit book

class CollectingReporter : public IErrorReporter {
public:
    void ShowError(const QString&, const QString& text) override { texts << text; }
    QStringList texts;
};

struct ReporterScope {
    explicit ReporterScope(IErrorReporter* r) : previous(CurrentErrorReporter()) { SetErrorReporter(r); }
    ~ReporterScope() { SetErrorReporter(previous); }
    ReporterScope(const ReporterScope&) = delete;
    ReporterScope& operator=(const ReporterScope&) = delete;
    IErrorReporter* previous;
};

// Every Saturday and Sunday of the three months before the sale day; the user wrote one day by hand.
bool WriteProfitBook(const QString& folder, QString& failure) {
    const QString path = folder + ProfitBook::FileName();
    if (QFile::exists(path) && !QFile::remove(path)) {
        failure = QStringLiteral("cannot replace ") + path;
        return false;
    }
    CollectingReporter reporter;
    ReporterScope scope(&reporter);
    ProfitBook book;
    book.setFolder(folder);
    try {
        book.GetRecord();
        const QDate sale = QDate::fromString(SaleDate(), QStringLiteral("yyyyMMdd"));
        Rng rng(kSeed + 99);
        int weekendDay = 0;
        for (QDate d = sale.addMonths(-3); d < sale; d = d.addDays(1)) {
            if (d.dayOfWeek() < Qt::Saturday) {
                continue;
            }
            ++weekendDay;
            qint32 buy = rng.Between(20, 200) * 100;
            qint32 pay = 0;
            const int luck = rng.Below(10);
            if (luck < 3) {
                pay = buy * rng.Between(0, 60) / 1000 * 10; // a bad day
            } else if (luck < 7) {
                pay = buy * rng.Between(40, 110) / 1000 * 10;
            } else {
                pay = buy * rng.Between(120, 400) / 1000 * 10; // a good one
            }
            qint16 update = 0;
            if (weekendDay == 14) {
                buy = 15000; // entered in the record editor, kept from the automatic update
                pay = 23400;
                update = 1;
            }
            book.CheckRecord(buy, pay, 0, 0, d.toString(QStringLiteral("yyyyMMdd")), update, 1);
        }
    } catch (const AppError& e) {
        reporter.texts << e.Description();
    }
    if (!reporter.texts.isEmpty()) {
        failure = reporter.texts.join(QLatin1Char(' '));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------

bool Fail(QString* error, const QString& text) {
    if (error) {
        *error = text;
    }
    return false;
}

} // namespace

bool ClaimSampleFolder(const QString& folder, QString* error) {
    if (!QDir().mkpath(folder)) {
        return Fail(error, QStringLiteral("cannot create ") + folder);
    }
    // Never write over a betting client's own folder.
    const QString program = AddPathSep(folder) + QStringLiteral("PAT.EXE");
    if (QFile::exists(program)) {
        QFile f(program);
        if (!f.open(QIODevice::ReadOnly) || f.readAll() != QByteArray(kProgramText)) {
            return Fail(error, folder + QStringLiteral(" holds a betting client; a sample day is not written there"));
        }
    }
    if (!WriteFixtureFile(AddPathSep(folder), QStringLiteral("PAT.EXE"), QByteArray(kProgramText))) {
        return Fail(error, QStringLiteral("cannot write ") + program);
    }
    return true;
}

bool WriteSampleDay(const QString& folderName, QString* error) {
    using namespace ResultFiles;
    const QString folder = AddPathSep(QDir(folderName).absolutePath());
    if (!ClaimSampleFolder(folder, error)) {
        return false;
    }

    const Day day = MakeDay();
    const auto written = [&](bool ok, const QString& what) {
        return ok ? true : Fail(error, QStringLiteral("cannot write ") + what + QStringLiteral(" in ") + folder);
    };

    // Bet log: a week-old log, the previous day's and two of today's.
    const QList<Ticket> previous = PreviousDayTickets(day);
    const QDate sale = QDate::fromString(SaleDate(), QStringLiteral("yyyyMMdd"));
    const QString weekBefore = sale.addDays(-6).toString(QStringLiteral("yyyyMMdd"));
    const QList<std::pair<LogFiles::IndexEntry, LogFiles::DayLog>> logs = {
        {{QStringLiteral("LG001"), weekBefore}, {1, OldTickets()}},
        {{QStringLiteral("LG002"), PreviousDate()}, {2, previous}},
        {{QStringLiteral("LG003"), SaleDate()}, {3, MorningTickets(day)}},
        {{QStringLiteral("LG004"), SaleDate()}, {4, AfternoonTickets(day)}},
    };
    QList<LogFiles::IndexEntry> index;
    for (const auto& [entry, log] : logs) {
        if (!written(LogFiles::SaveDayLog(folder, entry.Name, log), entry.Name + QStringLiteral(".JRA"))) {
            return false;
        }
        index << entry;
    }
    if (!written(LogFiles::SaveIndex(folder, index), QStringLiteral("LG-FILE.JRA"))) {
        return false;
    }

    // Account files. The balance is what the account held after the previous day's advance purchases.
    const QString letters = QStringLiteral("ABCDEF");
    for (int m = 1; m <= kMeetings; ++m) {
        const Meeting& meeting = kMeetingList[static_cast<size_t>(m - 1)];
        AccountFiles::AccountFile today;
        today.Date = SaleDate();
        today.Amounts = {100000, Stake(previous), 0, 0};
        today.Venue = meeting.Venue;
        today.Year = kYear;
        today.KaiJi = meeting.KaiJi;
        today.HiJi = kHiJi;
        for (int r = 1; r <= kRacesPerDay; ++r) {
            today.Kenshu[static_cast<size_t>(r - 1)] = day.At(m, r).Kenshu();
        }
        AccountFiles::AccountFile next = today;
        next.Date = NextDate();
        next.HiJi = kHiJi + 1;
        next.Kenshu.fill(0);
        for (const Race& r : day.advance[static_cast<size_t>(m - 1)]) {
            next.Kenshu[static_cast<size_t>(r.raceNum - 1)] = r.Kenshu();
        }
        if (!written(!AccountFiles::SaveAccountFile(folder, letters[m - 1], today).isEmpty(),
                     AccountFiles::AccountFileName(letters[m - 1])) ||
            !written(!AccountFiles::SaveAccountFile(folder, letters[m + 2], next).isEmpty(),
                     AccountFiles::AccountFileName(letters[m + 2]))) {
            return false;
        }
    }

    // Odds of every race on sale.
    for (int m = 1; m <= kMeetings; ++m) {
        for (const auto* races : {&day.races[static_cast<size_t>(m - 1)], &day.advance[static_cast<size_t>(m - 1)]}) {
            for (const Race& r : *races) {
                if (!written(WriteOdds(folder, r), QStringLiteral("the odds files of ") + RaceId(r))) {
                    return false;
                }
            }
        }
    }

    // Results of the races run: a result file each (one named "PR-", one only downloaded, one missing),
    // and the client's payout files of every meeting, which have not caught up with the downloaded race.
    const QString downloads = folder + QStringLiteral("VQDOWNLOAD/") + SaleDate() + QLatin1Char('/');
    if (!QDir().mkpath(downloads)) {
        return Fail(error, QStringLiteral("cannot create ") + downloads);
    }
    for (int m = 1; m <= kMeetings; ++m) {
        std::array<PayoutFile, 7> payouts;
        for (int t = Win; t <= Trio; ++t) {
            PayoutFile& p = payouts[static_cast<size_t>(t - 1)];
            p.BetType = t;
            p.Date = SaleDate();
            p.Venue = KaisaiName(static_cast<qint16>(kMeetingList[static_cast<size_t>(m - 1)].Venue));
            p.Year = kYear;
            p.KaiJi = kMeetingList[static_cast<size_t>(m - 1)].KaiJi;
            p.HiJi = kHiJi;
        }
        for (int r = 1; r <= kRacesRun; ++r) {
            const ResultFile result = Result(day.At(m, r));
            const bool download = m == kDownloadOnly.Meeting && r == kDownloadOnly.Race;
            const bool payoutOnly = m == kPayoutFilesOnly.Meeting && r == kPayoutFilesOnly.Race;
            const bool pr = m == kPrFile.Meeting && r == kPrFile.Race;
            QString name;
            if (download) {
                name = SaveResultFile(downloads, result);
            } else if (!payoutOnly) {
                name = SaveResultFile(folder, result, pr ? QStringLiteral("PR-") : QStringLiteral("KS-"));
            }
            if (!payoutOnly && !written(!name.isEmpty(), QStringLiteral("the result of ") + ResultFileId(result))) {
                return false;
            }
            if (download) {
                continue;
            }
            for (PayoutFile& p : payouts) {
                PayoutRace race;
                race.RaceNum = r;
                race.Payouts = result.Payouts[static_cast<size_t>(p.BetType - 1)];
                race.Present = !race.Payouts.isEmpty();
                race.RefundHorses = result.RefundHorses;
                race.WakuMarks = result.WakuMarks;
                p.Races << race;
            }
        }
        for (const PayoutFile& p : payouts) {
            if (!written(!SavePayoutFile(folder, p).isEmpty(), PayoutFileName(p))) {
                return false;
            }
        }
    }

    QString failure;
    if (!WriteProfitBook(folder, failure)) {
        return Fail(error, QStringLiteral("profit book: ") + failure);
    }
    return true;
}
