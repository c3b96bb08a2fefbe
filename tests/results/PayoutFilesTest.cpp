#include "ResultTestSupport.h"

#include "core/CodePage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ResultFiles;

namespace {

QStringList sorted(QStringList lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

PayoutFile oneRace(int type, const PayoutRace& race) {
    PayoutFile f;
    f.betType = type;
    f.races = {race};
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
        race.raceNum = 11;
        race.payouts = {{2, 4, 6, 1234}};
        race.refundHorses = {5, 13};
        race.wakuMarks[1] = 1;
        const QByteArray b = writePayoutFile(oneRace(c.type, race));
        EXPECT_EQ(payoutRecordWidth(c.type), c.width);
        EXPECT_EQ(b.size(), 20 + 12 * c.width);
        EXPECT_EQ(b.left(20), QByteArray("20260405") + CodePage::encode(u"東京") + "20260208");
        const int r = 21 + 10 * c.width;
        EXPECT_EQ(b.mid(r - 1, 4), QByteArray("111 ")) << c.type;
        EXPECT_EQ(b.mid(r + 4 - 1, payoutSectionWidth(c.type)), section(c.type, race.payouts)) << c.type;
        const QByteArray refunds = c.type == BracketQuinella ? QByteArray(" 1      ") : QByteArray(" 513      ");
        EXPECT_EQ(b.mid(r + c.refundAt - 1, refunds.size()), refunds) << c.type;
        EXPECT_EQ(b.at(r - c.width + 2 - 1), ' ') << "race 10 is blank";
    }
    EXPECT_EQ(payoutFileName(oneRace(Trio, {})), QStringLiteral("YH-5628.JRA"));
}

// Without a result file the seven payout files give the same lines (in their own order: each file's
// refunds follow its section). Four of them carry the refunded horse; it is expanded once.
TEST(PayoutFiles, StandInForAMissingResultFile) {
    ResultFile rf = sampleRace();
    rf.refundHorses = {5};
    rf.wakuMarks[2] = 2;
    TempFolder withResult;
    saveResultFile(withResult.path(), rf);
    const ReadOutcome expected = readRace(withResult.path(), kSampleId, 8);

    TempFolder dir;
    ASSERT_TRUE(savePayoutFiles(dir.path(), rf));
    const ReadOutcome r = readRace(dir.path(), kSampleId, 8);
    const RaceResultReader& ks = r.reader;
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(sorted(r.lines), sorted(expected.lines));
    EXPECT_EQ(r.lines.mid(0, 5), sampleLines().mid(0, 5)) << "win, place, bracket quinella first";
    EXPECT_EQ(r.lines[5], line(5, 11, 3, 0, 3, 3, 0)) << "bracket refunds right behind their section";
    EXPECT_EQ(ks.henkanUmaNum(), QStringLiteral(" 5"));
    EXPECT_EQ(ks.henkanWakuNum(), QStringLiteral(" 3-3"));
    EXPECT_EQ(ks.chaku(1), 0) << "payout files carry no finishing order";
    EXPECT_EQ(ks.weather(), QString());

    // A result file of another race under this race's name is passed over for the payout files.
    ResultFile other = sampleRace();
    other.raceNum = 10;
    other.payouts[Win - 1] = {{1, 0, 0, 9990}};
    dir.write(QStringLiteral("KS-5628B.JRA"), writeResultFile(other));
    EXPECT_EQ(sorted(readRace(dir.path(), kSampleId, 8).lines), sorted(expected.lines));
}

TEST(PayoutFiles, DateMustMatchTheMeetingDate) {
    TempFolder dir;
    savePayoutFiles(dir.path(), sampleRace());
    EXPECT_FALSE(readRace(dir.path(), kSampleId, 18, QStringLiteral("20260404")).ok);

    PayoutFile win = payoutFilesFor(sampleRace())[Win - 1];
    win.date = QStringLiteral("20260404");
    savePayoutFile(dir.path(), win);
    const ReadOutcome r = readRace(dir.path(), kSampleId, 18, QStringLiteral("20260404"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.lines, QStringList({line(5, 11, 1, 0, 0, 3, 230)}));
}

TEST(PayoutFiles, ARecordCountsOnlyWithItsPresenceByte) {
    TempFolder dir;
    PayoutRace race;
    race.raceNum = 11;
    race.payouts = {{3, 0, 0, 230}};
    race.refundHorses = {5};
    race.present = false;
    savePayoutFile(dir.path(), oneRace(Win, race));
    savePayoutFile(dir.path(), oneRace(Quinella, race));
    const ReadOutcome first = readRace(dir.path());
    EXPECT_FALSE(first.ok);
    const RaceResultReader& ks = first.reader;
    EXPECT_EQ(ks.kekkaCount(), 0);

    race.present = true;
    savePayoutFile(dir.path(), oneRace(Win, race));
    EXPECT_EQ(readRace(dir.path()).lines, QStringList({line(5, 11, 1, 0, 0, 3, 230)}));
}

// The race number is the id's last character; every race has its own record.
TEST(PayoutFiles, TheIdsLastCharacterLocatesTheRecord) {
    TempFolder dir;
    PayoutFile f;
    f.betType = Exacta;
    for (int n = 1; n <= 12; ++n) {
        PayoutRace race;
        race.raceNum = n;
        race.payouts = {{n, n + 1, 0, n * 100}};
        f.races << race;
    }
    savePayoutFile(dir.path(), f);
    struct Case {
        const char* id;
        int race;
    };
    const Case cases[] = {{"56281", 1}, {"5628A", 10}, {"5628b", 11}, {"5628c", 12},
                          {"5628D", 0}, {"56280", 0},  {"5628G", 0},  {"", 0}};
    for (const Case& c : cases) {
        const ReadOutcome r = readRace(dir.path(), QString::fromLatin1(c.id));
        if (c.race == 0) {
            EXPECT_FALSE(r.ok) << c.id;
            EXPECT_TRUE(r.lines.isEmpty()) << c.id;
        } else {
            EXPECT_EQ(r.lines, QStringList({line(5, c.race, 6, 0, c.race, c.race + 1, c.race * 100)})) << c.id;
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
        race.raceNum = 11;
        race.payouts = {{1, 2, 3, 500}};
        race.refundHorses = {5};
        race.wakuMarks[2] = 1;
        savePayoutFile(dir.path(), oneRace(c.type, race));
        const ReadOutcome r = readRace(dir.path(), kSampleId, 8);
        ASSERT_TRUE(r.ok) << c.type;
        EXPECT_EQ(r.lines.size(), 1 + c.refundLines) << c.type;
    }
}

} // namespace
