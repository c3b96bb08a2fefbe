#include "CliRun.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>

#include <filesystem>

#include <gtest/gtest.h>

using namespace LogFiles;

namespace {
const QString kDate = QStringLiteral("20260405");

// One meeting at Tokyo with a hit, a miss, a refund, an open box, a bet on tomorrow's race and a ticket
// bought the day before.
void writeDay(const TempFolder& dir) {
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = kDate;
    a.amounts = {50000, 0, 0, 0};
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
    AccountFiles::AccountFile d = AccountFiles::allOnSale(5, 2026, 2, 9);
    d.date = kDate;
    d.kenshu = {};
    d.kenshu[10] = AccountFiles::kAllTypes;
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('D'), d);

    DayLog today;
    today.tickets << at(singleBet(Win, 0, 0, 4, 2), 5, 1) << at(singleBet(Quinella, 0, 1, 2, 1), 5, 1)
                  << at(singleBet(Win, 0, 0, 5, 3), 5, 2) << at(boxBet(Trio, {1, 2, 3, 4}, 1), 5, 3)
                  << at(singleBet(Win, 0, 0, 7, 1), 5, 11, 2);
    saveDayLog(dir.path(), QStringLiteral("LG002"), today);
    DayLog yesterday;
    yesterday.logNo = 7;
    yesterday.tickets << at(singleBet(Win, 0, 0, 6, 1), 5, 2, 2);
    saveDayLog(dir.path(), QStringLiteral("LG001"), yesterday);
    saveIndex(dir.path(), {{QStringLiteral("LG001"), QStringLiteral("20260404")}, {QStringLiteral("LG002"), kDate}});

    ResultFiles::ResultFile r1;
    r1.date = kDate;
    r1.raceNum = 1;
    r1.raceName1 = QStringLiteral("３歳未勝利");
    r1.finishers[0] = {1, 4, QStringLiteral("ｻﾝﾌﾟﾙﾎｰｽ"), QStringLiteral("1:34.5"), 2};
    r1.payouts[ResultFiles::Win - 1] = {{4, 0, 0, 350}};
    r1.payouts[ResultFiles::Quinella - 1] = {{2, 5, 0, 1200}};
    ResultFiles::saveResultFile(dir.path(), r1);
    ResultFiles::ResultFile r2 = r1;
    r2.raceNum = 2;
    r2.payouts = {};
    r2.payouts[ResultFiles::Win - 1] = {{8, 0, 0, 500}};
    r2.refundHorses = {5};
    ResultFiles::saveResultFile(dir.path(), r2);
}

QMap<QString, QDateTime> snapshot(const QString& folder) {
    QMap<QString, QDateTime> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        files.insert(it.filePath(), it.fileInfo().lastModified());
    }
    return files;
}
} // namespace

TEST(SummaryCommand, JsonOfADayWithEveryOutcome) {
    TempFolder dir;
    writeDay(dir);
    const auto before = snapshot(dir.path());
    const CliRun run = runVelqora({QStringLiteral("summary"), QStringLiteral("--json"), dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(snapshot(dir.path()), before); // read-only
    const QJsonObject o = run.json().object();
    ASSERT_FALSE(o.isEmpty()) << run.out.constData();

    EXPECT_TRUE(o[u"ok"].toBool());
    EXPECT_EQ(o[u"saleDate"].toString(), kDate);
    EXPECT_EQ(o[u"balance"].toInt(), 50000);
    EXPECT_EQ(o[u"betCount"].toInt(), 8);

    const QJsonObject d = o[u"display"].toObject();
    EXPECT_EQ(d[u"date"].toString(), QStringLiteral("2026年4月5日(日)"));
    EXPECT_EQ(d[u"status"].toString(), QStringLiteral("あと400円未確定"));
    EXPECT_EQ(d[u"bets"].toString(), QStringLiteral("1100"));
    EXPECT_EQ(d[u"payouts"].toString(), QStringLiteral("1000"));
    EXPECT_EQ(d[u"profit"].toString(), QStringLiteral("-100"));
    EXPECT_EQ(d[u"recovery"].toString(), QStringLiteral("100.0"));
    EXPECT_EQ(d[u"balance"].toString(), QStringLiteral("49900"));
    EXPECT_EQ(d[u"tooltip"].toString(), QStringLiteral("前売にて 100円 投票済み"));

    const QJsonObject t = o[u"totals"].toObject();
    EXPECT_EQ(t[u"amtBuy"].toInt(), 1000);
    EXPECT_EQ(t[u"amtPay"].toInt(), 1000);
    EXPECT_EQ(t[u"amtYet"].toInt(), 400);
    EXPECT_EQ(t[u"amtBuyTomorrow"].toInt(), 100);
    EXPECT_EQ(t[u"amtBuyYesterday"].toInt(), 100);
    EXPECT_EQ(t[u"logCount"].toInt(), 9);

    const QJsonArray meetings = o[u"meetings"].toArray();
    ASSERT_EQ(meetings.size(), 1);
    const QJsonObject m = meetings[0].toObject();
    EXPECT_EQ(m[u"venueCode"].toInt(), 5);
    EXPECT_EQ(m[u"venue"].toString(), QStringLiteral("東京"));
    EXPECT_EQ(m[u"nendo"].toString(), QStringLiteral("2026"));
    EXPECT_EQ(m[u"kaiji"].toString(), QStringLiteral("02"));
    EXPECT_EQ(m[u"hiji"].toString(), QStringLiteral("08"));
    EXPECT_EQ(m[u"curDate"].toString(), kDate);
    const QJsonArray races = m[u"races"].toArray();
    ASSERT_EQ(races.size(), 13);

    const QJsonObject race1 = races[0].toObject();
    EXPECT_EQ(race1[u"raceNum"].toInt(), 1);
    EXPECT_EQ(race1[u"sale"].toInt(), 1);
    EXPECT_EQ(race1[u"kenshu"].toInt(), 127);
    EXPECT_EQ(race1[u"fileId"].toString(), QStringLiteral("581"));
    EXPECT_EQ(race1[u"amtBuy"].toInt(), 300);
    EXPECT_EQ(race1[u"amtPay"].toInt(), 700);
    EXPECT_EQ(race1[u"message"].toString(), QStringLiteral("的中しています！"));
    EXPECT_EQ(race1[u"bets"].toArray().size(), 2);
    EXPECT_EQ(race1[u"bets"].toArray()[0].toString(), QStringLiteral("1"
                                                                     "05"
                                                                     "01"
                                                                     "01"
                                                                     "00"
                                                                     "00"
                                                                     "04"
                                                                     "1"
                                                                     "0002"
                                                                     "00000350"
                                                                     "1"));
    const QJsonObject result1 = race1[u"result"].toObject();
    EXPECT_EQ(result1[u"raceName1"].toString(), QStringLiteral("３歳未勝利"));
    EXPECT_EQ(result1[u"lines"].toArray().size(), 2);
    const QJsonArray finishers = result1[u"finishers"].toArray();
    ASSERT_EQ(finishers.size(), 5);
    EXPECT_EQ(finishers[0].toObject()[u"num"].toInt(), 4);
    EXPECT_EQ(finishers[0].toObject()[u"waku"].toInt(), 2);
    EXPECT_EQ(finishers[4].toObject()[u"chaku"].toInt(), 0);

    const QJsonObject race2 = races[1].toObject();
    EXPECT_EQ(race2[u"amtBuy"].toInt(), 300);
    EXPECT_EQ(race2[u"amtYesterday"].toInt(), 100);
    EXPECT_EQ(race2[u"amtPay"].toInt(), 300); // the refund
    EXPECT_EQ(race2[u"message"].toString(), QString());
    EXPECT_EQ(race2[u"result"].toObject()[u"henkanUma"].toString(), QStringLiteral(" 5"));

    const QJsonObject race3 = races[2].toObject();
    EXPECT_EQ(race3[u"amtYet"].toInt(), 400);
    EXPECT_TRUE(race3[u"result"].isNull());
    EXPECT_EQ(race3[u"tickets"].toArray().size(), 1);
    EXPECT_EQ(race3[u"bets"].toArray().size(), 4);

    const QJsonObject tomorrow = races[12].toObject();
    EXPECT_EQ(tomorrow[u"sale"].toInt(), 2);
    EXPECT_EQ(tomorrow[u"raceNum"].toInt(), 11);
    EXPECT_EQ(tomorrow[u"fileId"].toString(), QStringLiteral("59B"));
    EXPECT_EQ(tomorrow[u"amtTomorrow"].toInt(), 100);
    EXPECT_EQ(o[u"warnings"].toArray(), QJsonArray());
}

// The client still appending to LG002: the file is said (last in the text), and the archive refuses the day.
TEST(SummaryCommand, ALogNotReadWholeIsSaidAndItsDayNotArchived) {
    TempFolder dir;
    writeDay(dir);
    dir.write(QStringLiteral("LG002.JRA"), dir.read(QStringLiteral("LG002.JRA")).left(100));
    const QString said = QStringLiteral("LG002.JRA: 記録の途中で切れています（100バイト）");
    const QJsonObject o = runVelqora({QStringLiteral("summary"), QStringLiteral("--json"), dir.path()}).json().object();
    EXPECT_EQ(o[u"warnings"].toArray(), QJsonArray{said});
    EXPECT_TRUE(runVelqora({QStringLiteral("summary"), dir.path()}).out.endsWith("\n" + said.toUtf8() + "\n"));

    const CliRun archive = runVelqora({QStringLiteral("archive"), dir.path()});
    EXPECT_EQ(archive.exitCode, 6);
    EXPECT_TRUE(archive.err.contains(said.toUtf8())) << archive.err.constData();
    EXPECT_FALSE(dir.exists(QStringLiteral("VQBETS.SQLITE")));
}

TEST(SummaryCommand, AFolderWithoutMeetings) {
    TempFolder dir;
    const CliRun run = runVelqora({QStringLiteral("summary"), QStringLiteral("--json"), dir.path()});
    ASSERT_EQ(run.exitCode, 0);
    const QJsonObject o = run.json().object();
    EXPECT_FALSE(o[u"ok"].toBool());
    EXPECT_EQ(o[u"betCount"].toInt(), 0);
    EXPECT_EQ(o[u"display"].toObject()[u"date"].toString(), QStringLiteral("投票要綱なし"));
    EXPECT_EQ(o[u"display"].toObject()[u"balance"].toString(), QStringLiteral("0"));
    EXPECT_EQ(o[u"display"].toObject()[u"recovery"].toString(), QStringLiteral("0.0"));
    EXPECT_EQ(o[u"totals"].toObject()[u"amtBuy"].toInt(), 0);
    EXPECT_TRUE(o[u"meetings"].toArray().isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// Eighteen trio boxes of ten runners in one race: 2,160 bet lines, more than the report lays out at once.
// Each combination of three comes once per box, and the lines in the order of their texts.
TEST(SummaryCommand, ARaceOfThousandsOfBetLines) {
    TempFolder dir;
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = kDate;
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
    QList<int> runners;
    for (int n = 1; n <= 10; ++n) {
        runners << n;
    }
    DayLog log;
    for (int units = 1; units <= 18; ++units) {
        log.tickets << at(boxBet(Trio, runners, units), 5, 1);
    }
    saveDayLog(dir.path(), QStringLiteral("LG001"), log);
    saveIndex(dir.path(), {{QStringLiteral("LG001"), kDate}});

    const CliRun run = runVelqora({QStringLiteral("summary"), QStringLiteral("--json"), dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonArray bets =
        run.json().object()[u"meetings"].toArray()[0].toObject()[u"races"].toArray()[0].toObject()[u"bets"].toArray();
    ASSERT_EQ(bets.size(), 18 * 120) << run.out.left(300).constData();
    QMap<QString, int> perCombination;
    for (qsizetype i = 0; i < bets.size(); ++i) {
        const QString line = bets[i].toString();
        ASSERT_TRUE(QRegularExpression(QStringLiteral("^1050107\\d{20}$")).match(line).hasMatch()) << i;
        ASSERT_TRUE(i == 0 || bets[i - 1].toString() < line) << i;
        ++perCombination[line.mid(7, 6)];
    }
    EXPECT_EQ(perCombination.size(), 120);
    EXPECT_EQ(perCombination.values(), QList<int>(120, 18));
}

TEST(SummaryCommand, TextOutputCarriesTheSameFigures) {
    TempFolder dir;
    writeDay(dir);
    const CliRun run = runVelqora({QStringLiteral("summary"), dir.path()});
    ASSERT_EQ(run.exitCode, 0);
    const QString text = QString::fromUtf8(run.out);
    EXPECT_TRUE(text.contains(QStringLiteral("2026年4月5日(日)")));
    EXPECT_TRUE(text.contains(QStringLiteral("あと400円未確定")));
    EXPECT_TRUE(text.contains(QStringLiteral("49900")));
    EXPECT_TRUE(text.contains(QStringLiteral("前日 11R")));
}

TEST(SummaryCommand, BadArgumentsAndMissingFolders) {
    struct Case {
        QStringList args;
    } cases[] = {
        {{}},
        {{QStringLiteral("summary")}},
        {{QStringLiteral("summary"), QStringLiteral("--yaml"), QStringLiteral("/tmp")}},
        {{QStringLiteral("summary"), QStringLiteral("/tmp"), QStringLiteral("/tmp")}},
        {{QStringLiteral("frobnicate")}},
        {{QStringLiteral("summary"), QStringLiteral("/no/such/folder/anywhere")}},
    };
    for (const auto& c : cases) {
        const CliRun run = runVelqora(c.args);
        EXPECT_NE(run.exitCode, 0) << qPrintable(c.args.join(u' '));
        EXPECT_FALSE(run.err.isEmpty());
        EXPECT_TRUE(run.out.isEmpty());
    }
}

// A day's reading is bounded whatever the folder holds: 998 names of one 63 MB log are one file, read and
// counted once; logs too large together are refused, and said, at once.
TEST(SummaryCommand, ADaysReadingIsBoundedAndKnowsFilesByWhatTheyAre) {
    TempFolder dir;
    writeDay(dir);
    const auto amtBuy = [&dir] {
        const CliRun run = runVelqora({QStringLiteral("summary"), QStringLiteral("--json"), dir.path()});
        return run.json().object()[u"totals"].toObject()[u"amtBuy"].toInt();
    };
    const int whole = amtBuy();
    QFile(dir.file(QStringLiteral("LG002.JRA"))).resize(63 << 20); // sparse: quick to make
    QList<IndexEntry> index{{QStringLiteral("LG001"), QStringLiteral("20260404")}};
    for (int i = 0; i < 998; ++i) { // the index holds 999 entries at most
        index.append({QStringLiteral("L%1").arg(i, 4, 10, QLatin1Char('0')), kDate});
        std::filesystem::create_hard_link(dir.file("LG002.JRA").toStdString(),
                                          dir.file(index.last().name + ".JRA").toStdString());
    }
    saveIndex(dir.path(), index);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(amtBuy(), whole);
    QFile::remove(dir.file(QStringLiteral("L0001.JRA")));
    QFile::copy(dir.file(QStringLiteral("LG002.JRA")), dir.file(QStringLiteral("L0001.JRA"))); // 126 MB in all
    const CliRun refused = runVelqora({QStringLiteral("summary"), dir.path()});
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(refused.exitCode, 4);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("合わせて64 MBを超えるため、読むのをやめました").toUtf8()));
}
