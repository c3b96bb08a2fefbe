#include "ResultTestSupport.h"

#include "core/CodePage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ResultFiles;

namespace {

QStringList Sorted(QStringList lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

PayoutFile OneRace(int type, const PayoutRace& race) {
    PayoutFile f;
    f.BetType = type;
    f.Races = {race};
    return f;
}

TEST(PayoutFileWriter, RecordsStandAtTheirRaceNumber) {
    struct Case {
        int type;
        int width;
        int refundAt;
    };
    const Case cases[] = {{Win, 44, 34},      {Place, 64, 54},  {BracketQuinella, 48, 40},
                          {Quinella, 56, 46}, {Wide, 154, 144}, {Exacta, 98, 88},
                          {Trio, 65, 55}};
    for (const Case& c : cases) {
        PayoutRace race;
        race.RaceNum = 11;
        race.Payouts = {{2, 4, 6, 1234}};
        race.RefundHorses = {5, 13};
        race.WakuMarks[1] = 1;
        const QByteArray b = WritePayoutFile(OneRace(c.type, race));
        EXPECT_EQ(PayoutRecordWidth(c.type), c.width);
        EXPECT_EQ(b.size(), 20 + 12 * c.width);
        EXPECT_EQ(b.left(20), QByteArray("20260405") + CodePage::Encode(u"東京") + "20260208");
        const int r = 21 + 10 * c.width;
        EXPECT_EQ(b.mid(r - 1, 4), QByteArray("111 ")) << c.type;
        EXPECT_EQ(b.mid(r + 4 - 1, PayoutSectionWidth(c.type)), Section(c.type, race.Payouts)) << c.type;
        const QByteArray refunds = c.type == BracketQuinella ? QByteArray(" 1      ") : QByteArray(" 513      ");
        EXPECT_EQ(b.mid(r + c.refundAt - 1, refunds.size()), refunds) << c.type;
        EXPECT_EQ(b.at(r - c.width + 2 - 1), ' ') << "race 10 is blank";
    }
    EXPECT_EQ(PayoutFileName(OneRace(Trio, {})), QStringLiteral("YH-5628.JRA"));
}

// Without a result file the seven payout files give the same lines (in their own order: each file's
// refunds follow its section). Four of them carry the refunded horse; it is expanded once.
TEST(PayoutFiles, StandInForAMissingResultFile) {
    ResultFile rf = SampleRace();
    rf.RefundHorses = {5};
    rf.WakuMarks[2] = 2;
    TempFolder withResult;
    SaveResultFile(withResult.Path(), rf);
    const ReadOutcome expected = ReadRace(withResult.Path(), kSampleId, 8);

    TempFolder dir;
    ASSERT_TRUE(SavePayoutFiles(dir.Path(), rf));
    RaceResultReader ks;
    const ReadOutcome r = ReadRace(ks, dir.Path(), kSampleId, 8);
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(Sorted(r.Lines), Sorted(expected.Lines));
    EXPECT_EQ(r.Lines.mid(0, 5), SampleLines().mid(0, 5)) << "win, place, bracket quinella first";
    EXPECT_EQ(r.Lines[5], Line(5, 11, 3, 0, 3, 3, 0)) << "bracket refunds right behind their section";
    EXPECT_EQ(ks.HenkanUmaNum(), QStringLiteral(" 5"));
    EXPECT_EQ(ks.HenkanWakuNum(), QStringLiteral(" 3-3"));
    EXPECT_EQ(ks.Chaku(1), 0) << "payout files carry no finishing order";
    EXPECT_EQ(ks.Weather(), QString());

    // A result file of another race under this race's name is passed over for the payout files.
    ResultFile other = SampleRace();
    other.RaceNum = 10;
    other.Payouts[Win - 1] = {{1, 0, 0, 9990}};
    dir.Write(QStringLiteral("KS-5628B.JRA"), WriteResultFile(other));
    EXPECT_EQ(Sorted(ReadRace(dir.Path(), kSampleId, 8).Lines), Sorted(expected.Lines));
}

TEST(PayoutFiles, DateMustMatchTheMeetingDate) {
    TempFolder dir;
    SavePayoutFiles(dir.Path(), SampleRace());
    EXPECT_FALSE(ReadRace(dir.Path(), kSampleId, 18, QStringLiteral("20260404")).Ok);

    PayoutFile win = PayoutFilesFor(SampleRace())[Win - 1];
    win.Date = QStringLiteral("20260404");
    SavePayoutFile(dir.Path(), win);
    const ReadOutcome r = ReadRace(dir.Path(), kSampleId, 18, QStringLiteral("20260404"));
    EXPECT_TRUE(r.Ok);
    EXPECT_EQ(r.Lines, QStringList({Line(5, 11, 1, 0, 0, 3, 230)}));
}

TEST(PayoutFiles, ARecordCountsOnlyWithItsPresenceByte) {
    TempFolder dir;
    PayoutRace race;
    race.RaceNum = 11;
    race.Payouts = {{3, 0, 0, 230}};
    race.RefundHorses = {5};
    race.Present = false;
    SavePayoutFile(dir.Path(), OneRace(Win, race));
    SavePayoutFile(dir.Path(), OneRace(Quinella, race));
    RaceResultReader ks;
    EXPECT_FALSE(ReadRace(ks, dir.Path()).Ok);
    EXPECT_EQ(ks.KekkaCount(), 0);

    race.Present = true;
    SavePayoutFile(dir.Path(), OneRace(Win, race));
    EXPECT_EQ(ReadRace(dir.Path()).Lines, QStringList({Line(5, 11, 1, 0, 0, 3, 230)}));
}

// The race number is the id's last character; every race has its own record.
TEST(PayoutFiles, TheIdsLastCharacterLocatesTheRecord) {
    TempFolder dir;
    PayoutFile f;
    f.BetType = Exacta;
    for (int n = 1; n <= 12; ++n) {
        PayoutRace race;
        race.RaceNum = n;
        race.Payouts = {{n, n + 1, 0, n * 100}};
        f.Races << race;
    }
    SavePayoutFile(dir.Path(), f);
    struct Case {
        const char* id;
        int race;
    };
    const Case cases[] = {{"56281", 1}, {"5628A", 10}, {"5628b", 11}, {"5628c", 12},
                          {"5628D", 0}, {"56280", 0},  {"5628G", 0},  {"", 0}};
    for (const Case& c : cases) {
        const ReadOutcome r = ReadRace(dir.Path(), QString::fromLatin1(c.id));
        if (c.race == 0) {
            EXPECT_FALSE(r.Ok) << c.id;
            EXPECT_TRUE(r.Lines.isEmpty()) << c.id;
        } else {
            EXPECT_EQ(r.Lines, QStringList({Line(5, c.race, 6, 0, c.race, c.race + 1, c.race * 100)})) << c.id;
        }
    }
}

TEST(PayoutFiles, RefundsAreReadOnlyFromTheFilesThatCarryThem) {
    struct Case {
        int type;
        int refundLines; // with refunded horse 5 (or bracket 3 whole) and eight runners
    };
    const Case cases[] = {{Win, 0},     {Place, 0}, {BracketQuinella, 8}, {Quinella, 51}, {Wide, 51},
                          {Exacta, 51}, {Trio, 51}};
    for (const Case& c : cases) {
        TempFolder dir;
        PayoutRace race;
        race.RaceNum = 11;
        race.Payouts = {{1, 2, 3, 500}};
        race.RefundHorses = {5};
        race.WakuMarks[2] = 1;
        SavePayoutFile(dir.Path(), OneRace(c.type, race));
        const ReadOutcome r = ReadRace(dir.Path(), kSampleId, 8);
        ASSERT_TRUE(r.Ok) << c.type;
        EXPECT_EQ(r.Lines.size(), 1 + c.refundLines) << c.type;
    }
}

} // namespace
