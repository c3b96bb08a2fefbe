#include "ResultTestSupport.h"

#include "core/Paths.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QSet>

#include <random>
#include <tuple>

using namespace ResultFiles;

namespace {

ResultFile raceWithEverything() {
    ResultFile f = sampleRace();
    f.refundHorses = {5, 14};
    f.wakuMarks[2] = 1;
    f.wakuMarks[6] = 2;
    return f;
}

bool isResultLine(const QString& line) {
    if (line.size() != 27) {
        return false;
    }
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A half-written file yields a part of the whole file's lines and nothing else: never a payout cut short
// (a partly written "    1230" read as 12) and never a horse from half a refund slot.
TEST(ResultRobustness, EveryTruncationOfAResultFileGivesOnlyWholeLines) {
    const QByteArray whole = writeResultFile(raceWithEverything());
    TempFolder full;
    full.write(QStringLiteral("KS-5628B.JRA"), whole);
    const ReadOutcome complete = readRace(full.path());
    ASSERT_TRUE(complete.ok);
    const QSet<QString> known(complete.lines.begin(), complete.lines.end());

    TempFolder dir;
    for (qsizetype n = 0; n <= whole.size(); ++n) {
        dir.write(QStringLiteral("KS-5628B.JRA"), whole.left(n));
        const ReadOutcome r = readRace(dir.path());
        const RaceResultReader& ks = r.reader;
        for (const QString& line : r.lines) {
            ASSERT_TRUE(known.contains(line)) << "length " << n << ": " << qPrintable(line);
        }
        if (n < 22) {
            ASSERT_FALSE(r.ok) << "length " << n << ": the id is incomplete";
        }
        if (n >= 835) {
            ASSERT_EQ(r.lines, complete.lines) << "length " << n;
            ASSERT_EQ(ks.wakuNum(5), 8) << "length " << n;
        }
    }
}

TEST(ResultRobustness, EveryTruncationOfAPayoutFileGivesOnlyWholeLines) {
    const ResultFile rf = raceWithEverything();
    for (const int type : {BracketQuinella, Wide, Trio}) {
        const PayoutFile pf = payoutFilesFor(rf)[type - 1];
        const QByteArray whole = writePayoutFile(pf);
        TempFolder full;
        savePayoutFile(full.path(), pf);
        const ReadOutcome complete = readRace(full.path());
        ASSERT_TRUE(complete.ok);
        const QSet<QString> known(complete.lines.begin(), complete.lines.end());

        // Only the header and race 11's record are read: lengths in between or behind give the same.
        const qsizetype record = 21 + 10 * qsizetype(payoutRecordWidth(type));
        QList<qsizetype> lengths;
        for (qsizetype n = 0; n <= 24; ++n) {
            lengths << n;
        }
        for (qsizetype n = record - 2; n <= record + payoutRecordWidth(type) + 1; ++n) {
            lengths << n;
        }
        TempFolder dir;
        for (const qsizetype n : lengths) {
            dir.write(payoutFileName(pf), whole.left(n));
            const ReadOutcome r = readRace(dir.path());
            for (const QString& line : r.lines) {
                ASSERT_TRUE(known.contains(line)) << "type " << type << " length " << n;
            }
        }
    }
}

// Random bytes behind a valid id (so every field is parsed), and random payout records behind a valid
// date: the reader must neither crash nor produce anything but well-formed lines.
TEST(ResultRobustness, GarbageGivesWellFormedLinesOnly) {
    std::mt19937 random(20260405);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 1200);
    const QByteArray head = writeResultFile(sampleRace()).left(22);
    const QByteArray alphabet(" 0123456789-#>\x81\x82\x83\xff");
    TempFolder dir;
    for (int i = 0; i < 300; ++i) {
        QByteArray garbage(length(random), ' ');
        for (char& c : garbage) {
            // Half the files are made of bytes that look like the fields, so deeper branches are taken.
            c = i % 2 == 0 ? char(byte(random)) : alphabet[byte(random) % alphabet.size()];
        }
        dir.write(QStringLiteral("KS-5628B.JRA"), head + garbage);
        const QByteArray payout = QByteArray("20260405") + garbage;
        for (const int type : {Win, BracketQuinella, Wide, Trio}) {
            PayoutFile pf;
            pf.betType = type;
            dir.write(payoutFileName(pf), payout);
        }
        for (const QString& id : {kSampleId, QStringLiteral("56281")}) {
            const ReadOutcome r = readRace(dir.path(), id, 18);
            ASSERT_LE(r.lines.size(), 5 * 1000) << "iteration " << i;
            for (const QString& line : r.lines) {
                ASSERT_TRUE(isResultLine(line)) << "iteration " << i << ": " << qPrintable(line);
            }
        }
    }
}

// The runner count only bounds the expansion; numbers past two digits cannot be written in a line, so a
// huge count behaves like 99 instead of producing millions of clamped duplicates.
TEST(ResultRobustness, HugeRunnerCountIsBoundedByTheLineFormat) {
    TempFolder dir;
    ResultFile f;
    f.refundHorses = {1, 2, 3, 4, 5};
    saveResultFile(dir.path(), f);
    const ReadOutcome at99 = readRace(dir.path(), kSampleId, 99);
    const ReadOutcome huge = readRace(dir.path(), kSampleId, 32767);
    EXPECT_EQ(huge.lines, at99.lines);
    EXPECT_EQ(ofType(at99.lines, Quinella).size(), 5 * 98);
    EXPECT_TRUE(readRace(dir.path(), kSampleId, -3).ok) << "a negative count expands nothing upwards";
}

// Bytes 812-829 of a file with no payouts, refund flag set. Eight runners: horse 4 gives 1+1+7+7+14+21 refund
// lines, horse 18 1+1+17+17+16+28, bracket 2 whole 8 and 4-4 one. Anything else: no line, no text.
TEST(ResultRobustness, OnlyRunners1To18AndBracketMarks1And2AreRefunded) {
    const std::tuple<const char*, int, const char*> cases[] = {{"-9", 0, " | "},
                                                               {" 0", 0, " | "},
                                                               {"19", 0, " | "},
                                                               {"99", 0, " | "},
                                                               {"ab", 0, " | "},
                                                               {" 4", 51, " 4| "},
                                                               {"18", 80, " 18| "},
                                                               {"-9 4ab", 51, " 4| "},
                                                               {"          09-a", 0, " | "},
                                                               {"          -1a2", 9, " | 2-*,4-4"}};
    for (const auto& [bytes, lines, texts] : cases) {
        TempFolder dir;
        dir.write("KS-" + kSampleId + ".JRA",
                  writeResultFile({}).replace(810, 19, "1" + QByteArray(bytes).leftJustified(18, ' ')));
        const ReadOutcome r = readRace(dir.path(), kSampleId, 8);
        EXPECT_EQ(r.lines.size(), lines) << bytes;
        EXPECT_EQ(r.reader.henkanUmaNum() + '|' + r.reader.henkanWakuNum(), QString::fromLatin1(texts)) << bytes;
    }
}

} // namespace
