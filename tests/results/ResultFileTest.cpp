#include "ResultTestSupport.h"

#include "core/AppError.h"
#include "core/CodePage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace ResultFiles;

namespace {

QByteArray At(const QByteArray& bytes, int pos, int len) {
    return bytes.mid(pos - 1, len);
}

// The writer must put every field where the betting client does, or every reader test below proves
// nothing. Positions and entry layouts are spelled out here independently of the writer.
TEST(ResultFileWriter, PlacesEveryFieldAtItsBytes) {
    ResultFile f = SampleRace();
    f.RefundHorses = {5, 14};
    f.WakuMarks[2] = 2;
    const QByteArray b = WriteResultFile(f);

    ASSERT_EQ(b.size(), 849);
    EXPECT_EQ(At(b, 1, 22), QByteArray("20260405") + CodePage::Encode(u"東京") + "2026020811");
    EXPECT_EQ(At(b, 23, 12), CodePage::Encode(u"晴  良      "));
    EXPECT_EQ(At(b, 91, 40), QByteArray("1  3") + CodePage::Encode(u"ｱｲｳｴｰｵ            1:34.5") + QByteArray(12, ' '));
    EXPECT_EQ(At(b, 291, 80), QByteArray(80, ' '));
    EXPECT_EQ(At(b, 371, 7), QByteArray("1111111"));
    EXPECT_EQ(At(b, 811, 25), QByteArray("1 514        2     #24618"));
    EXPECT_EQ(At(b, 836, 14), QByteArray("20260405163000"));

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
        one.Payouts[c.type - 1] = {c.payout};
        const QByteArray bytes = WriteResultFile(one);
        EXPECT_EQ(At(bytes, c.pos, c.bytes.size()), c.bytes) << "type " << c.type;
        EXPECT_EQ(At(bytes, 371, 7), QByteArray(7, ' ').replace(c.type - 1, 1, "1")) << "type " << c.type;
    }
}

TEST(ResultFile, ReadsHeaderFinishersAndLinesInReadingOrder) {
    TempFolder dir;
    ASSERT_FALSE(SaveResultFile(dir.Path(), SampleRace()).isEmpty());
    RaceResultReader ks;
    const ReadOutcome r = ReadRace(ks, dir.Path());

    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Lines, SampleLines());
    EXPECT_EQ(ks.KekkaCount(), 11);
    EXPECT_EQ(ks.Kekka(1), QStringLiteral("005110100000300000000002300"));
    EXPECT_EQ(ks.Weather(), QStringLiteral("晴"));
    EXPECT_EQ(ks.Turf(), QStringLiteral("良"));
    EXPECT_EQ(ks.Dirt(), QString());
    EXPECT_EQ(ks.RaceName1(), QStringLiteral("府中ステークス"));
    EXPECT_EQ(ks.RaceName2(), QStringLiteral("サラ系３歳上１６００万下"));

    const int chaku[] = {1, 2, 3, 4, 5};
    const int num[] = {3, 7, 12, 1, 16};
    const int waku[] = {2, 4, 6, 1, 8};
    for (int s = 1; s <= 5; ++s) {
        EXPECT_EQ(ks.Chaku(s), chaku[s - 1]);
        EXPECT_EQ(ks.Num(s), num[s - 1]);
        EXPECT_EQ(ks.WakuNum(s), waku[s - 1]);
        EXPECT_EQ(ks.UmaName(s).size(), 18) << "names keep their padding";
        EXPECT_EQ(ks.Diff(s).size(), 6) << "margins keep their padding";
    }
    EXPECT_EQ(ks.UmaName(1), QStringLiteral("ｱｲｳｴ-ｵ            "));
    EXPECT_EQ(ks.Diff(1), QStringLiteral("1:34.5"));
    EXPECT_EQ(ks.Diff(2), QStringLiteral("1/2   "));
    EXPECT_EQ(ks.HenkanUmaNum(), QString());
    EXPECT_EQ(ks.HenkanWakuNum(), QString());
}

// Every entry of every section, filled with distinct values, comes back in file order: this pins the
// section starts, entry widths and the number and amount offsets of all seven layouts.
TEST(ResultFile, EverySectionEntryAtItsPlace) {
    TempFolder dir;
    ResultFile f;
    f.RaceNum = 3;
    QStringList expected;
    const int readingOrder[] = {Win, Place, BracketQuinella, Quinella, Exacta, Wide, Trio};
    for (const int t : readingOrder) {
        for (int k = 1; k <= SectionEntries(t); ++k) {
            const int a = t == BracketQuinella ? k : k + 8;
            const int b = t == BracketQuinella ? 8 : k + 9;
            const int c = k + 10;
            const qint32 amount = t * 1000000 + k * 1000 + 7;
            f.Payouts[t - 1].append({a, b, c, amount});
            if (t <= Place) {
                expected << Line(5, 3, t, 0, 0, a, amount);
            } else if (t == Trio) {
                expected << Line(5, 3, t, a, b, c, amount);
            } else {
                expected << Line(5, 3, t, 0, a, b, amount);
            }
        }
    }
    SaveResultFile(dir.Path(), f);
    const ReadOutcome r = ReadRace(dir.Path(), QStringLiteral("56283"));
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Lines, expected);
}

// Only the units byte of an entry's first number tells whether the entry is there; the presence flags
// at 371-377 are not consulted.
TEST(ResultFile, EntryPresenceIsTheUnitsByteOfItsFirstNumber) {
    TempFolder dir;
    ResultFile f;
    f.Payouts[Win - 1] = {{3, 0, 0, 230}};
    f.Payouts[Quinella - 1] = {{3, 7, 0, 2450}};
    f.PresenceFlags = QByteArray(7, ' ');
    QByteArray b = WriteResultFile(f);
    b.replace(388 - 1, 10, "4      990");     // second win entry: number left-aligned, units byte blank
    b.replace(508 - 1, 14, " 1 - 5     700"); // second quinella entry: blank units byte
    b.replace(522 - 1, 14, "    - 5    800");
    dir.Write(QStringLiteral("KS-5628B.JRA"), b);

    const ReadOutcome r = ReadRace(dir.Path());
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Lines, QStringList({Line(5, 11, 1, 0, 0, 3, 230), Line(5, 11, 4, 0, 3, 7, 2450)}));
}

TEST(ResultFile, DeadHeatsGiveOneLinePerEntryInFileOrder) {
    TempFolder dir;
    ResultFile f;
    f.Payouts[Win - 1] = {{9, 0, 0, 410}, {4, 0, 0, 380}};
    f.Payouts[Place - 1] = {{9, 0, 0, 150}, {4, 0, 0, 140}, {0, 0, 0, 0}, {11, 0, 0, 330}, {2, 0, 0, 290}};
    SaveResultFile(dir.Path(), f);
    const ReadOutcome r = ReadRace(dir.Path());
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(OfType(r.Lines, Win), QStringList({Line(5, 11, 1, 0, 0, 9, 410), Line(5, 11, 1, 0, 0, 4, 380)}));
    EXPECT_EQ(OfType(r.Lines, Place), QStringList({Line(5, 11, 2, 0, 0, 9, 150), Line(5, 11, 2, 0, 0, 4, 140),
                                                   Line(5, 11, 2, 0, 0, 11, 330), Line(5, 11, 2, 0, 0, 2, 290)}));
}

TEST(ResultFile, KsFileWinsOverPrFile) {
    TempFolder dir;
    ResultFile pr = SampleRace();
    pr.Payouts = {};
    pr.Payouts[Win - 1] = {{8, 0, 0, 9990}};
    SaveResultFile(dir.Path(), pr, QStringLiteral("PR-"));
    EXPECT_EQ(ReadRace(dir.Path()).Lines, QStringList({Line(5, 11, 1, 0, 0, 8, 9990)})) << "PR alone is read";

    SaveResultFile(dir.Path(), SampleRace(), QStringLiteral("KS-"));
    EXPECT_EQ(ReadRace(dir.Path()).Lines, SampleLines());
}

// Bytes 9-22 must name the race the reader was given; any other race is treated as no file at all.
TEST(ResultFile, FileOfAnotherRaceIsNotRead) {
    struct Case {
        const char* what;
        void (*change)(ResultFile&);
    };
    const Case cases[] = {
        {"venue", [](ResultFile& f) { f.Venue = QStringLiteral("中山"); }},
        {"unknown venue", [](ResultFile& f) { f.Venue = QStringLiteral("大井"); }},
        {"year", [](ResultFile& f) { f.Year = 2025; }},
        {"meeting", [](ResultFile& f) { f.KaiJi = 3; }},
        {"day", [](ResultFile& f) { f.HiJi = 7; }},
        {"race", [](ResultFile& f) { f.RaceNum = 10; }},
        {"race 27 (hex 1B)", [](ResultFile& f) { f.RaceNum = 27; }},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        ResultFile f = SampleRace();
        c.change(f);
        dir.Write(QStringLiteral("KS-5628B.JRA"), WriteResultFile(f));
        RaceResultReader ks;
        const ReadOutcome r = ReadRace(ks, dir.Path());
        EXPECT_FALSE(r.Ok) << c.what;
        EXPECT_TRUE(r.Lines.isEmpty()) << c.what;
        EXPECT_EQ(ks.Weather(), QString()) << c.what << ": nothing is taken from the file";
        EXPECT_EQ(ks.Chaku(1), 0) << c.what;
    }
    // Venue 10 and race 12 are written as hexadecimal letters.
    TempFolder dir;
    ResultFile f = SampleRace();
    f.Venue = QStringLiteral("小倉");
    f.RaceNum = 12;
    SaveResultFile(dir.Path(), f);
    EXPECT_TRUE(ReadRace(dir.Path(), QStringLiteral("A628C")).Ok);
}

TEST(ResultFile, RaceWithoutPayoutsOrRefundsIsNoResult) {
    TempFolder dir;
    ResultFile f = SampleRace();
    f.Payouts = {};
    f.PresenceFlags = "1111111";
    SaveResultFile(dir.Path(), f);
    RaceResultReader ks;
    EXPECT_FALSE(ReadRace(ks, dir.Path()).Ok);
    EXPECT_EQ(ks.KekkaCount(), 0);
    EXPECT_FALSE(ReadRace(dir.Path(), kSampleId.toLower()).Ok) << "the id is compared exactly";
}

TEST(ResultFile, RefundedHorseExpandsIntoEveryCombinationUpToTheRunnerCount) {
    TempFolder dir;
    ResultFile f;
    f.RefundHorses = {5};
    SaveResultFile(dir.Path(), f);

    RaceResultReader ks;
    const ReadOutcome r = ReadRace(ks, dir.Path(), kSampleId, 8);
    ASSERT_TRUE(r.Ok) << "refund lines alone are a result";
    EXPECT_EQ(ks.HenkanUmaNum(), QStringLiteral(" 5"));
    const int counts[] = {1, 1, 0, 7, 7, 14, 21};
    for (int t = Win; t <= Trio; ++t) {
        EXPECT_EQ(OfType(r.Lines, t).size(), counts[t - 1]) << "type " << t;
    }
    for (const QString& l : r.Lines) {
        EXPECT_TRUE(l.endsWith(QStringLiteral("0000000000"))) << qPrintable(l) << ": refunds pay 0";
    }
    const auto pairs = [](int type, std::initializer_list<std::pair<int, int>> list) {
        QStringList out;
        for (const auto& [a, b] : list) {
            out << Line(5, 11, type, 0, a, b, 0);
        }
        return out;
    };
    EXPECT_EQ(OfType(r.Lines, Quinella), pairs(Quinella, {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 6}, {5, 7}, {5, 8}}));
    EXPECT_EQ(OfType(r.Lines, Wide), pairs(Wide, {{1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 6}, {5, 7}, {5, 8}}));
    EXPECT_EQ(OfType(r.Lines, Exacta), pairs(Exacta, {{5, 1},
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
    const QStringList trio = OfType(r.Lines, Trio);
    EXPECT_EQ(trio.first(), Line(5, 11, 7, 1, 2, 5, 0));
    EXPECT_EQ(trio[1], Line(5, 11, 7, 1, 3, 5, 0));
    EXPECT_EQ(trio[3], Line(5, 11, 7, 1, 5, 6, 0));
    EXPECT_EQ(trio.last(), Line(5, 11, 7, 5, 7, 8, 0)) << "numbers sorted ascending";

    // Without a runner count only the partners below the horse remain.
    const ReadOutcome none = ReadRace(dir.Path(), kSampleId, 0);
    EXPECT_EQ(none.Lines, QStringList({Line(5, 11, 1, 0, 0, 5, 0), Line(5, 11, 2, 0, 0, 5, 0)}) +
                              pairs(Quinella, {{1, 5}, {2, 5}, {3, 5}, {4, 5}}) +
                              pairs(Wide, {{1, 5}, {2, 5}, {3, 5}, {4, 5}}));
}

TEST(ResultFile, RefundsAreReadOnlyUnderTheRefundFlag) {
    TempFolder dir;
    ResultFile f = SampleRace();
    f.RefundHorses = {3, 7};
    SaveResultFile(dir.Path(), f);
    RaceResultReader ks;
    ReadOutcome r = ReadRace(ks, dir.Path(), kSampleId, 8);
    EXPECT_EQ(ks.HenkanUmaNum(), QStringLiteral(" 3,7"));
    EXPECT_EQ(OfType(r.Lines, Win).size(), 3);
    EXPECT_EQ(r.Lines.mid(0, 11), SampleLines()) << "refund lines follow the payouts";

    f.RefundFlag = ' ';
    SaveResultFile(dir.Path(), f);
    r = ReadRace(ks, dir.Path(), kSampleId, 8);
    EXPECT_EQ(r.Lines, SampleLines());
    EXPECT_EQ(ks.HenkanUmaNum(), QString()) << "a read without refunds shows none";
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
        f.Payouts[Win - 1] = {{1, 0, 0, 100}};
        f.WakuMarks = c.marks;
        SaveResultFile(dir.Path(), f);
        RaceResultReader ks;
        const ReadOutcome r = ReadRace(ks, dir.Path());
        QStringList expected;
        for (const auto& [a, b] : c.lines) {
            expected << Line(5, 11, BracketQuinella, 0, a, b, 0);
        }
        EXPECT_EQ(r.Lines.mid(1), expected) << qPrintable(c.text);
        EXPECT_EQ(ks.HenkanWakuNum(), c.text);
        EXPECT_EQ(ks.HenkanUmaNum(), QStringLiteral(" ")) << "horses were looked at and none found";
    }
}

TEST(ResultFile, FinisherNamesAreMadeHalfWidth) {
    TempFolder dir;
    ResultFile f = SampleRace();
    f.Finishers[0].UmaName = QStringLiteral("ﾃﾞｨｰﾌﾟ");
    f.Finishers[1].UmaName = QStringLiteral("ディープ"); // a converted page may carry full-width names
    f.Finishers[2].UmaName = QStringLiteral("ＡＢＣ１");
    f.Finishers[3] = {};
    f.Finishers[4] = {};
    SaveResultFile(dir.Path(), f);
    RaceResultReader ks;
    ASSERT_TRUE(ReadRace(ks, dir.Path()).Ok);
    EXPECT_EQ(ks.UmaName(1), QStringLiteral("ﾃﾞｨ-ﾌﾟ") + QString(12, u' '));
    EXPECT_EQ(ks.UmaName(2), QStringLiteral("ﾃﾞｨ-ﾌﾟ") + QString(10, u' '));
    EXPECT_EQ(ks.UmaName(3), QStringLiteral("ABC1") + QString(10, u' '));
    for (int s = 4; s <= 5; ++s) {
        EXPECT_EQ(ks.Chaku(s), 0);
        EXPECT_EQ(ks.Num(s), 0);
        EXPECT_EQ(ks.UmaName(s), QString());
        EXPECT_EQ(ks.Diff(s), QString());
        EXPECT_EQ(ks.WakuNum(s), 0);
    }
}

// Reading again clears the lines, but a blank slot keeps what an earlier read put there, and bracket
// numbers are only taken behind the "#".
TEST(ResultFile, ReadingAgainKeepsBlankSlotsAndHeader) {
    TempFolder dir;
    SaveResultFile(dir.Path(), SampleRace());
    RaceResultReader ks;
    ASSERT_TRUE(ReadRace(ks, dir.Path()).Ok);

    ResultFile second;
    second.Finishers[0] = {1, 9, QStringLiteral("ｷﾀ"), QStringLiteral("1:35.0"), 5};
    second.Payouts[Win - 1] = {{9, 0, 0, 500}};
    second.HashMark = ' ';
    SaveResultFile(dir.Path(), second);
    const ReadOutcome r = ReadRace(ks, dir.Path());
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Lines, QStringList({Line(5, 11, 1, 0, 0, 9, 500)}));
    EXPECT_EQ(ks.Num(1), 9);
    EXPECT_EQ(ks.WakuNum(1), 2) << "no \"#\": brackets not read";
    EXPECT_EQ(ks.Num(2), 7);
    EXPECT_EQ(ks.Num(5), 16);
    EXPECT_EQ(ks.RaceName1(), QString()) << "header fields are overwritten, blank or not";
}

TEST(ResultFile, IndexesOutsideTheirRangeRaiseTheIndexError) {
    TempFolder dir;
    SaveResultFile(dir.Path(), SampleRace());
    RaceResultReader ks;
    ASSERT_TRUE(ReadRace(ks, dir.Path()).Ok);
    const auto number = [](auto&& call) {
        try {
            call();
        } catch (const AppError& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(number([&] { ks.Chaku(0); }), 9);
    EXPECT_EQ(number([&] { ks.UmaName(6); }), 9);
    EXPECT_EQ(number([&] { ks.Kekka(0); }), 9);
    EXPECT_EQ(number([&] { ks.Kekka(12); }), 9);
    EXPECT_EQ(number([&] { ks.Kekka(11); }), 0);
}

} // namespace
