#pragma once

#include "resultsite/ResultPages.h"

// The results page of the race ResultTestSupport's SampleRace() describes (Tokyo, 2026, meeting 2, day 8,
// race 11), as the site shows it: full-width names, margins in words, thousands separators.
inline ResultPages::RacePage samplePage() {
    ResultPages::RacePage p;
    p.raceKind = QStringLiteral("サラ系３歳上");
    auto runner = [](const char16_t* chaku, int waku, int num, const char16_t* name, const char16_t* time,
                     const char16_t* margin) {
        ResultPages::Runner r;
        r.chaku = QString::fromUtf16(chaku);
        r.waku = waku;
        r.num = num;
        r.umaName = QString::fromUtf16(name);
        r.time = QString::fromUtf16(time);
        r.margin = QString::fromUtf16(margin);
        return r;
    };
    p.runners = {
        runner(u"1", 2, 3, u"アイウエーオ", u"1:34.5", u""),    runner(u"2", 4, 7, u"カキクケコ", u"1:34.6", u"1/2"),
        runner(u"3", 6, 12, u"サシスセソ", u"1:34.6", u"クビ"), runner(u"4", 1, 1, u"タチツテト", u"1:34.9", u"2"),
        runner(u"5", 8, 16, u"ナニヌネノ", u"1:34.9", u"ハナ"), runner(u"6", 3, 5, u"マミムメモ", u"1:35.0", u"1/2")};
    p.payouts[0] = {{3, 0, 0, 230, 1}};
    p.payouts[1] = {{3, 0, 0, 120, 1}, {7, 0, 0, 340, 5}, {12, 0, 0, 560, 8}};
    p.payouts[2] = {{2, 4, 0, 1230, 4}};
    p.payouts[3] = {{3, 7, 0, 2450, 6}};
    p.payouts[4] = {{3, 7, 0, 810, 5}, {3, 12, 0, 1020, 11}, {7, 12, 0, 2980, 30}};
    p.payouts[5] = {{3, 7, 0, 4560, 12}};
    p.payouts[6] = {{3, 7, 12, 8790, 25}};
    p.trifecta = {{3, 7, 12, 45670, 140}};
    return p;
}
