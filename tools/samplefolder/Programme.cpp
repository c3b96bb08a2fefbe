// The programme of the day: the meetings and their races, the runners and their strengths, and the next
// day's races on advance sale, all gathered in the Day the other parts read.
#include "SampleDayParts.h"

#include "core/Codes.h"

#include <algorithm>

namespace SampleDay::Detail {
namespace {

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

// Horse names: half-width katakana, two words, at most 12 bytes of the 18 the result file has.
const char* const kNameHeads[12] = {"ｼﾙﾊﾞｰ", "ｺﾞｰﾙﾄﾞ", "ﾌﾞﾙｰ", "ｽｰﾊﾟｰ", "ｸﾞﾗﾝ", "ﾚｯﾄﾞ",
                                    "ｳｲﾝﾀｰ", "ｻﾆｰ",    "ﾎﾜｲﾄ", "ｸﾞﾘｰﾝ", "ﾐｽﾃｨ", "ﾗｯｷｰ"};
const char* const kNameTails[12] = {"ﾌﾗｯｼｭ", "ｳｲﾝﾄﾞ", "ｸﾞﾛｰﾘｰ", "ｽﾄｰﾑ", "ﾋﾞｸﾄﾘｰ", "ﾒﾓﾘｰ",
                                    "ﾄﾞﾘｰﾑ", "ｱﾛｰ",   "ﾌｪｱﾘｰ",  "ﾊﾟｰﾙ", "ﾍﾞﾙ",    "ﾚｲﾝ"};

Race makeRace(int meeting, int hiJi, int raceNum, int tosu, const Programme& programme) {
    const Meeting& m = kMeetingList[static_cast<size_t>(meeting - 1)];
    Race r;
    r.meeting = meeting;
    r.venue = m.venue;
    r.kaiJi = m.kaiJi;
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

    Rng rng(kSeed + static_cast<quint32>(m.venue * 10000 + hiJi * 100 + raceNum));
    r.nameSeed = rng.below(144);
    // Each horse about 0.72 times as strong as the one above it, give or take a fifth: the favourite
    // at odds of about 3, a few chances behind it and a long tail of outsiders. The ranks are dealt to
    // the horse numbers at random.
    std::vector<int> numbers;
    for (int h = 1; h <= tosu; ++h) {
        numbers.push_back(h);
    }
    for (int i = tosu - 1; i > 0; --i) {
        std::swap(numbers[static_cast<size_t>(i)], numbers[static_cast<size_t>(rng.below(i + 1))]);
    }
    r.strength.assign(static_cast<size_t>(tosu + 1), 0);
    qint64 level = 1000000;
    for (const int h : numbers) {
        r.strength[static_cast<size_t>(h)] = std::max<qint64>(1, level * rng.between(80, 120) / 100000);
        level = level * 72 / 100;
    }
    const bool run = hiJi == kHiJi && raceNum <= kRacesRun;
    if (meeting == kRefund.meeting && raceNum == kRefund.race && hiJi == kHiJi) {
        r.strength[kRefundHorse] = 0;
    } else if (!run && rng.below(4) == 0) {
        r.strength[static_cast<size_t>(rng.between(1, tosu))] = 0; // scratched before the race
    }
    price(r);

    if (run) {
        drawFinish(r, rng);
    }
    return r;
}

} // namespace

// Brackets as the client deals them: up to eight runners one each, otherwise eight brackets with the
// surplus going to the last ones.
int waku(int tosu, int horse) {
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

QList<int> bracketHorses(int tosu, int bracket) {
    QList<int> horses;
    for (int h = 1; h <= tosu; ++h) {
        if (waku(tosu, h) == bracket) {
            horses << h;
        }
    }
    return horses;
}

QString horseName(const Race& r, int horse) {
    const int index = (r.nameSeed + horse * 13) % 144; // 13 and 144 are coprime: no name twice in a race
    return QString::fromUtf8(kNameHeads[index / 12]) + QString::fromUtf8(kNameTails[index % 12]);
}

Day makeDay() {
    Day day;
    for (int m = 1; m <= kMeetings; ++m) {
        const size_t mi = static_cast<size_t>(m - 1);
        for (int race = 1; race <= kRacesPerDay; ++race) {
            const Programme& p = race <= 8 ? kCommon[race - 1] : race <= 11 ? kSpecials[mi][race - 9] : kLast;
            day.races[mi].push_back(makeRace(m, kHiJi, race, kFields[mi][race - 1], p));
        }
        for (int race = kRacesPerDay - kMeetingList[mi].advanceRaces + 1; race <= kRacesPerDay; ++race) {
            day.advance[mi].push_back(makeRace(m, kHiJi + 1, race, kNextFields[mi][race - 9], kNextDay[mi][race - 9]));
        }
    }
    return day;
}

QString venue(const Race& r) {
    return kaisaiName(static_cast<qint16>(r.venue));
}

QString raceId(const Race& r) {
    return QString(hexDigit(r.venue)) + hexDigit(r.hiJi) + hexDigit(r.raceNum);
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace SampleDay::Detail
