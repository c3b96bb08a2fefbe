#include "ResultTestSupport.h"

#include "core/AppError.h"
#include "core/CodePage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ResultFiles;

namespace {

QByteArray at(const QByteArray& bytes, int pos, int len) {
    return bytes.mid(pos - 1, len);
}

// The writer must put every field where the betting client does, or every reader test below proves
// nothing. Positions and entry layouts are spelled out here independently of the writer.
TEST(ResultFileWriter, PlacesEveryFieldAtItsBytes) {
    ResultFile f = sampleRace();
    f.refundHorses = {5, 14};
    f.wakuMarks[2] = 2;
    const QByteArray b = writeResultFile(f);

    ASSERT_EQ(b.size(), 849);
    EXPECT_EQ(at(b, 1, 22), QByteArray("20260405") + CodePage::encode(u"東京") + "2026020811");
    EXPECT_EQ(at(b, 23, 12), CodePage::encode(u"晴  良      "));
    EXPECT_EQ(at(b, 91, 40), QByteArray("1  3") + CodePage::encode(u"ｱｲｳｴｰｵ            1:34.5") + QByteArray(12, ' '));
    EXPECT_EQ(at(b, 291, 80), QByteArray(80, ' '));
    EXPECT_EQ(at(b, 371, 7), QByteArray("1111111"));
    EXPECT_EQ(at(b, 811, 25), QByteArray("1 514        2     #24618"));
    EXPECT_EQ(at(b, 836, 14), QByteArray("20260405163000"));

    struct Case {
        int type;
        Payout payout;
        int pos;
        QByteArray bytes;
    };
    const Case cases[] = {
        {Win, {3, 0, 0, 230}, 378, " 3     230"},
        {Place, {12, 0, 0, 560}, 408, "12     560"},
        {BracketQuinella, {2, 4, 0, 1230}, 458, " 2-4    1230"},
        {Quinella, {3, 7, 0, 2450}, 494, "  3- 7    2450"},
        {Wide, {3, 12, 0, 1020}, 536, "  3-12    1020"},
        {Exacta, {3, 7, 0, 4560}, 676, "  3> 7    4560"},
        {Trio, {3, 7, 12, 8790}, 760, "  3- 7-12    8790"},
    };
    for (const Case& c : cases) {
        ResultFile one;
        one.payouts[c.type - 1] = {c.payout};
        const QByteArray bytes = writeResultFile(one);
        EXPECT_EQ(at(bytes, c.pos, c.bytes.size()), c.bytes) << "type " << c.type;
        EXPECT_EQ(at(bytes, 371, 7), QByteArray(7, ' ').replace(c.type - 1, 1, "1")) << "type " << c.type;
    }
}

TEST(ResultFile, ReadsHeaderFinishersAndLinesInReadingOrder) {
    TempFolder dir;
    ASSERT_FALSE(saveResultFile(dir.path(), sampleRace()).isEmpty());
    const ReadOutcome r = readRace(dir.path());
    const RaceResultReader& ks = r.reader;

    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lines, sampleLines());
    EXPECT_EQ(ks.kekkaCount(), 11);
    EXPECT_EQ(ks.kekka(1), QStringLiteral("005110100000300000000002300"));
    EXPECT_EQ(ks.weather(), QStringLiteral("晴"));
    EXPECT_EQ(ks.turf(), QStringLiteral("良"));
    EXPECT_EQ(ks.dirt(), QString());
    EXPECT_EQ(ks.raceName1(), QStringLiteral("府中ステークス"));
    EXPECT_EQ(ks.raceName2(), QStringLiteral("サラ系３歳上１６００万下"));

    const int chaku[] = {1, 2, 3, 4, 5};
    const int num[] = {3, 7, 12, 1, 16};
    const int waku[] = {2, 4, 6, 1, 8};
    for (int s = 1; s <= 5; ++s) {
        EXPECT_EQ(ks.chaku(s), chaku[s - 1]);
        EXPECT_EQ(ks.num(s), num[s - 1]);
        EXPECT_EQ(ks.wakuNum(s), waku[s - 1]);
        EXPECT_EQ(ks.umaName(s).size(), 18) << "names keep their padding";
        EXPECT_EQ(ks.diff(s).size(), 6) << "margins keep their padding";
    }
    EXPECT_EQ(ks.umaName(1), QStringLiteral("ｱｲｳｴ-ｵ            "));
    EXPECT_EQ(ks.diff(1), QStringLiteral("1:34.5"));
    EXPECT_EQ(ks.diff(2), QStringLiteral("1/2   "));
    EXPECT_EQ(ks.henkanUmaNum(), QString());
    EXPECT_EQ(ks.henkanWakuNum(), QString());
}

// Every entry of every section, filled with distinct values, comes back in file order: this pins the
// section starts, entry widths and the number and amount offsets of all seven layouts.
TEST(ResultFile, EverySectionEntryAtItsPlace) {
    TempFolder dir;
    ResultFile f;
    f.raceNum = 3;
    QStringList expected;
    const int readingOrder[] = {Win, Place, BracketQuinella, Quinella, Exacta, Wide, Trio};
    for (const int t : readingOrder) {
        for (int k = 1; k <= sectionEntries(t); ++k) {
            const int a = t == BracketQuinella ? k : k + 8;
            const int b = t == BracketQuinella ? 8 : k + 9;
            const int c = k + 10;
            const qint32 amount = t * 1000000 + k * 1000 + 7;
            f.payouts[t - 1].append({a, b, c, amount});
            if (t <= Place) {
                expected << line(5, 3, t, 0, 0, a, amount);
            } else if (t == Trio) {
                expected << line(5, 3, t, a, b, c, amount);
            } else {
                expected << line(5, 3, t, 0, a, b, amount);
            }
        }
    }
    saveResultFile(dir.path(), f);
    const ReadOutcome r = readRace(dir.path(), QStringLiteral("56283"));
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lines, expected);
}

// Only the units byte of an entry's first number tells whether the entry is there; the presence flags
// at 371-377 are not consulted.
TEST(ResultFile, EntryPresenceIsTheUnitsByteOfItsFirstNumber) {
    TempFolder dir;
    ResultFile f;
    f.payouts[Win - 1] = {{3, 0, 0, 230}};
    f.payouts[Quinella - 1] = {{3, 7, 0, 2450}};
    f.presenceFlags = QByteArray(7, ' ');
    QByteArray b = writeResultFile(f);
    b.replace(388 - 1, 10, "4      990");     // second win entry: number left-aligned, units byte blank
    b.replace(508 - 1, 14, " 1 - 5     700"); // second quinella entry: blank units byte
    b.replace(522 - 1, 14, "    - 5    800");
    dir.write(QStringLiteral("KS-5628B.JRA"), b);

    const ReadOutcome r = readRace(dir.path());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lines, QStringList({line(5, 11, 1, 0, 0, 3, 230), line(5, 11, 4, 0, 3, 7, 2450)}));
}

TEST(ResultFile, DeadHeatsGiveOneLinePerEntryInFileOrder) {
    TempFolder dir;
    ResultFile f;
    f.payouts[Win - 1] = {{9, 0, 0, 410}, {4, 0, 0, 380}};
    f.payouts[Place - 1] = {{9, 0, 0, 150}, {4, 0, 0, 140}, {0, 0, 0, 0}, {11, 0, 0, 330}, {2, 0, 0, 290}};
    saveResultFile(dir.path(), f);
    const ReadOutcome r = readRace(dir.path());
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(ofType(r.lines, Win), QStringList({line(5, 11, 1, 0, 0, 9, 410), line(5, 11, 1, 0, 0, 4, 380)}));
    EXPECT_EQ(ofType(r.lines, Place), QStringList({line(5, 11, 2, 0, 0, 9, 150), line(5, 11, 2, 0, 0, 4, 140),
                                                   line(5, 11, 2, 0, 0, 11, 330), line(5, 11, 2, 0, 0, 2, 290)}));
}

TEST(ResultFile, KsFileWinsOverPrFile) {
    TempFolder dir;
    ResultFile pr = sampleRace();
    pr.payouts = {};
    pr.payouts[Win - 1] = {{8, 0, 0, 9990}};
    saveResultFile(dir.path(), pr, QStringLiteral("PR-"));
    EXPECT_EQ(readRace(dir.path()).lines, QStringList({line(5, 11, 1, 0, 0, 8, 9990)})) << "PR alone is read";

    saveResultFile(dir.path(), sampleRace(), QStringLiteral("KS-"));
    EXPECT_EQ(readRace(dir.path()).lines, sampleLines());
}

// Bytes 9-22 must name the race the reader was given; any other race is treated as no file at all.
TEST(ResultFile, FileOfAnotherRaceIsNotRead) {
    struct Case {
        const char* what;
        void (*change)(ResultFile&);
    };
    const Case cases[] = {
        {"venue", [](ResultFile& f) { f.venue = QStringLiteral("中山"); }},
        {"unknown venue", [](ResultFile& f) { f.venue = QStringLiteral("大井"); }},
        {"year", [](ResultFile& f) { f.year = 2025; }},
        {"meeting", [](ResultFile& f) { f.kaiJi = 3; }},
        {"day", [](ResultFile& f) { f.hiJi = 7; }},
        {"race", [](ResultFile& f) { f.raceNum = 10; }},
        {"race 27 (hex 1B)", [](ResultFile& f) { f.raceNum = 27; }},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        ResultFile f = sampleRace();
        c.change(f);
        dir.write(QStringLiteral("KS-5628B.JRA"), writeResultFile(f));
        const ReadOutcome r = readRace(dir.path());
        const RaceResultReader& ks = r.reader;
        EXPECT_FALSE(r.ok) << c.what;
        EXPECT_TRUE(r.lines.isEmpty()) << c.what;
        EXPECT_EQ(ks.weather(), QString()) << c.what << ": nothing is taken from the file";
        EXPECT_EQ(ks.chaku(1), 0) << c.what;
    }
    // Venue 10 and race 12 are written as hexadecimal letters.
    TempFolder dir;
    ResultFile f = sampleRace();
    f.venue = QStringLiteral("小倉");
    f.raceNum = 12;
    saveResultFile(dir.path(), f);
    EXPECT_TRUE(readRace(dir.path(), QStringLiteral("A628C")).ok);
}

TEST(ResultFile, RaceWithoutPayoutsOrRefundsIsNoResult) {
    TempFolder dir;
    ResultFile f = sampleRace();
    f.payouts = {};
    f.presenceFlags = "1111111";
    saveResultFile(dir.path(), f);
    const ReadOutcome first = readRace(dir.path());
    EXPECT_FALSE(first.ok);
    const RaceResultReader& ks = first.reader;
    EXPECT_EQ(ks.kekkaCount(), 0);
    EXPECT_FALSE(readRace(dir.path(), kSampleId.toLower()).ok) << "the id is compared exactly";
}

TEST(ResultFile, RefundedHorseExpandsIntoEveryCombinationUpToTheRunnerCount) {
    TempFolder dir;
    ResultFile f;
    f.refundHorses = {5};
    saveResultFile(dir.path(), f);

    const ReadOutcome r = readRace(dir.path(), kSampleId, 8);
    const RaceResultReader& ks = r.reader;
    ASSERT_TRUE(r.ok) << "refund lines alone are a result";
    EXPECT_EQ(ks.henkanUmaNum(), QStringLiteral(" 5"));
    const int counts[] = {1, 1, 0, 7, 7, 14, 21};
    for (int t = Win; t <= Trio; ++t) {
        EXPECT_EQ(ofType(r.lines, t).size(), counts[t - 1]) << "type " << t;
    }
    for (const QString& l : r.lines) {
        EXPECT_TRUE(l.endsWith(QStringLiteral("0000000000"))) << qPrintable(l) << ": refunds pay 0";
    }
    const auto pairs = [](int type, std::initializer_list<std::pair<int, int>> list) {
        QStringList out;
        for (const auto& [a, b] : list) {
            out << line(5, 11, type, 0, a, b, 0);
        }
        return out;
    };
    EXPECT_EQ(ofType(r.lines, Quinella), pairs(Quinella, {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 6}, {5, 7}, {5, 8}}));
    EXPECT_EQ(ofType(r.lines, Wide), pairs(Wide, {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 6}, {5, 7}, {5, 8}}));
    EXPECT_EQ(ofType(r.lines, Exacta), pairs(Exacta, {{5, 1},
                                                      {5, 2},
                                                      {5, 3},
                                                      {5, 4},
                                                      {5, 6},
                                                      {5, 7},
                                                      {5, 8},
                                                      {1, 5},
                                                      {2, 5},
                                                      {3, 5},
                                                      {4, 5},
                                                      {6, 5},
                                                      {7, 5},
                                                      {8, 5}}));
    const QStringList trio = ofType(r.lines, Trio);
    EXPECT_EQ(trio.first(), line(5, 11, 7, 1, 2, 5, 0));
    EXPECT_EQ(trio[1], line(5, 11, 7, 1, 3, 5, 0));
    EXPECT_EQ(trio[3], line(5, 11, 7, 1, 5, 6, 0));
    EXPECT_EQ(trio.last(), line(5, 11, 7, 5, 7, 8, 0)) << "numbers sorted ascending";

    // Without a runner count only the partners below the horse remain.
    const ReadOutcome none = readRace(dir.path(), kSampleId, 0);
    EXPECT_EQ(none.lines, QStringList({line(5, 11, 1, 0, 0, 5, 0), line(5, 11, 2, 0, 0, 5, 0)}) +
                              pairs(Quinella, {{1, 5}, {2, 5}, {3, 5}, {4, 5}}) +
                              pairs(Wide, {{1, 5}, {2, 5}, {3, 5}, {4, 5}}));
}

TEST(ResultFile, RefundsAreReadOnlyUnderTheRefundFlag) {
    TempFolder dir;
    ResultFile f = sampleRace();
    f.refundHorses = {3, 7};
    saveResultFile(dir.path(), f);
    ReadOutcome r = readRace(dir.path(), kSampleId, 8);
    const RaceResultReader& ks = r.reader;
    EXPECT_EQ(ks.henkanUmaNum(), QStringLiteral(" 3,7"));
    EXPECT_EQ(ofType(r.lines, Win).size(), 3);
    EXPECT_EQ(r.lines.mid(0, 11), sampleLines()) << "refund lines follow the payouts";

    f.refundFlag = ' ';
    saveResultFile(dir.path(), f);
    r = readRace(dir.path(), kSampleId, 8);
    EXPECT_EQ(r.lines, sampleLines());
    EXPECT_EQ(ks.henkanUmaNum(), QString()) << "a read without refunds shows none";
}

TEST(ResultFile, BracketMarks) {
    struct Case {
        std::array<int, 8> marks;
        QString text;
        QList<std::pair<int, int>> lines;
    };
    const Case cases[] = {
        {{0, 0, 2, 0, 0, 0, 0, 0}, QStringLiteral(" 3-3"), {{3, 3}}},
        {{0, 0, 1, 0, 0, 0, 0, 0},
         QStringLiteral(" 3-*"),
         {{1, 3}, {2, 3}, {3, 3}, {3, 4}, {3, 5}, {3, 6}, {3, 7}, {3, 8}}},
        {{1, 0, 0, 0, 0, 0, 0, 2},
         QStringLiteral(" 1-*,8-8"),
         {{1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8}, {8, 8}}},
        {{0, 0, 0, 7, 0, 2, 0, 0}, QStringLiteral(" 6-6"), {{6, 6}}}, // other marks add nothing
        {{0, 0, 0, 9, 0, 0, 0, 0}, QStringLiteral(" "), {}},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        ResultFile f;
        f.payouts[Win - 1] = {{1, 0, 0, 100}};
        f.wakuMarks = c.marks;
        saveResultFile(dir.path(), f);
        const ReadOutcome r = readRace(dir.path());
        const RaceResultReader& ks = r.reader;
        QStringList expected;
        for (const auto& [a, b] : c.lines) {
            expected << line(5, 11, BracketQuinella, 0, a, b, 0);
        }
        EXPECT_EQ(r.lines.mid(1), expected) << qPrintable(c.text);
        EXPECT_EQ(ks.henkanWakuNum(), c.text);
        EXPECT_EQ(ks.henkanUmaNum(), QStringLiteral(" ")) << "horses were looked at and none found";
    }
}

TEST(ResultFile, FinisherNamesAreMadeHalfWidth) {
    TempFolder dir;
    ResultFile f = sampleRace();
    f.finishers[0].umaName = QStringLiteral("ﾃﾞｨｰﾌﾟ");
    f.finishers[1].umaName = QStringLiteral("ディープ"); // a converted page may carry full-width names
    f.finishers[2].umaName = QStringLiteral("ＡＢＣ１");
    f.finishers[3] = {};
    f.finishers[4] = {};
    saveResultFile(dir.path(), f);
    const ReadOutcome first = readRace(dir.path());
    ASSERT_TRUE(first.ok);
    const RaceResultReader& ks = first.reader;
    EXPECT_EQ(ks.umaName(1), QStringLiteral("ﾃﾞｨ-ﾌﾟ") + QString(12, u' '));
    EXPECT_EQ(ks.umaName(2), QStringLiteral("ﾃﾞｨ-ﾌﾟ") + QString(10, u' '));
    EXPECT_EQ(ks.umaName(3), QStringLiteral("ABC1") + QString(10, u' '));
    for (int s = 4; s <= 5; ++s) {
        EXPECT_EQ(ks.chaku(s), 0);
        EXPECT_EQ(ks.num(s), 0);
        EXPECT_EQ(ks.umaName(s), QString());
        EXPECT_EQ(ks.diff(s), QString());
        EXPECT_EQ(ks.wakuNum(s), 0);
    }
}

// A blank finisher slot stays empty, bracket numbers are only taken behind the "#", and blank header
// fields read as empty.
TEST(ResultFile, BlankSlotsAndHeaderWithoutHashMark) {
    TempFolder dir;
    ResultFile second;
    second.finishers[0] = {1, 9, QStringLiteral("ｷﾀ"), QStringLiteral("1:35.0"), 5};
    second.payouts[Win - 1] = {{9, 0, 0, 500}};
    second.hashMark = ' ';
    saveResultFile(dir.path(), second);
    const ReadOutcome r = readRace(dir.path());
    const RaceResultReader& ks = r.reader;
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lines, QStringList({line(5, 11, 1, 0, 0, 9, 500)}));
    EXPECT_EQ(ks.num(1), 9);
    EXPECT_EQ(ks.wakuNum(1), 0) << "no \"#\": brackets not read";
    EXPECT_EQ(ks.num(2), 0);
    EXPECT_EQ(ks.num(5), 0);
    EXPECT_EQ(ks.raceName1(), QString());
}

TEST(ResultFile, IndexesOutsideTheirRangeRaiseTheIndexError) {
    TempFolder dir;
    saveResultFile(dir.path(), sampleRace());
    const ReadOutcome first = readRace(dir.path());
    ASSERT_TRUE(first.ok);
    const RaceResultReader& ks = first.reader;
    const auto number = [](auto&& call) {
        try {
            call();
        } catch (const AppError& e) {
            return e.number();
        }
        return 0;
    };
    EXPECT_EQ(number([&] { ks.chaku(0); }), 9);
    EXPECT_EQ(number([&] { ks.umaName(6); }), 9);
    EXPECT_EQ(number([&] { ks.kekka(0); }), 9);
    EXPECT_EQ(number([&] { ks.kekka(12); }), 9);
    EXPECT_EQ(number([&] { ks.kekka(11); }), 0);
}

} // namespace
