#include "archive/BetArchive.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "control/DayController.h"
#include "core/AppError.h"
#include "core/CodePage.h"
#include "core/Folders.h"
#include "core/IniFile.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {
using W = IWindowHost::Window;

struct FakeHost : IWindowHost {
    QStringList calls;
    std::set<W> open;
    static QString name(W w) {
        switch (w) {
        case W::Profit:
            return QStringLiteral("Profit");
        case W::Log:
            return QStringLiteral("Log");
        case W::Record:
            return QStringLiteral("Record");
        case W::Detail:
            return QStringLiteral("Detail");
        case W::Kekka:
            return QStringLiteral("Kekka");
        case W::Browser:
            return QStringLiteral("Browser");
        }
        return QString();
    }
    void unload(W w) override {
        calls << QStringLiteral("unload ") + name(w);
        open.erase(w);
    }
    void show(W w, DayController&) override {
        calls << QStringLiteral("show ") + name(w);
        open.insert(w);
    }
    bool isLoaded(W w) const override { return open.count(w) > 0; }
    void unloadAll() override {
        calls << QStringLiteral("unload all");
        open.clear();
    }
};

const QString kDate = QStringLiteral("20260405");

class ControlTest : public ClientFolderTest {
protected:
    void SetUp() override {
        ClientFolderTest::SetUp();
        control.setWindowHost(&host);
    }

    // A client folder of one meeting of `venue`, with one win ticket on race 3.
    static void writeDay(const TempFolder& dir, int venue, int units = 2) {
        AccountFiles::AccountFile a = AccountFiles::allOnSale(venue);
        a.date = kDate;
        a.amounts = {50000, 0, 0, 0};
        AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
        LogFiles::DayLog log;
        log.tickets << LogFiles::at(LogFiles::singleBet(LogFiles::Win, 0, 0, 1, units), venue, 3);
        LogFiles::saveDayLog(dir.path(), QStringLiteral("LG001"), log);
        LogFiles::saveIndex(dir.path(), {{QStringLiteral("LG001"), kDate}});
    }

    FakeHost host;
    DayController control{folders()};
};
} // namespace

TEST_F(ControlTest, InitializeReadsSettingsAndTheClientFolder) {
    program.write(QStringLiteral("VQV50.INI"), "[OPTION]\r\nposition=1\r\ndfltdisp=3\r\n");
    writeDay(client, 5);
    EXPECT_TRUE(control.initialize());
    EXPECT_EQ(control.position(), 1);
    EXPECT_EQ(control.dispMode(), 3);
    EXPECT_EQ(control.patPath(), client.path());
    EXPECT_EQ(control.dataPath(), client.path());
    EXPECT_EQ(control.saleDate(), kDate);
    EXPECT_EQ(control.amtZandaka(), 50000);
    ASSERT_EQ(control.meetings().size(), 1u);
    EXPECT_NE(control.betLog(), nullptr);
    EXPECT_EQ(control.meetings()[0]->race(3)->amtBuy(), 200);
}

TEST_F(ControlTest, BracketColours) {
    control.initialize();
    const qint32 expected[] = {0xFFFFFF, 0x808080, 0x8080FF, 0xFF8080, 0x80FFFF, 0x80FF80, 0x80C0FF, 0xFF80FF};
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(control.wakuColor(i), expected[i - 1]);
    }
    EXPECT_THROW(control.wakuColor(0), AppError);
    EXPECT_THROW(control.wakuColor(9), AppError);
}

TEST_F(ControlTest, AnEmptyClientFolderIsNotAnError) {
    EXPECT_TRUE(control.initialize());
    EXPECT_TRUE(control.meetings().empty());
    EXPECT_EQ(control.saleDate(), QString());
    EXPECT_EQ(control.betLog(), nullptr);
}

TEST_F(ControlTest, TheLinkFileTakesEffectOnlyOnRefresh) {
    TempFolder linked;
    writeDay(client, 5);
    writeDay(linked, 9, 7);
    client.write(QStringLiteral("VQLINK.TXT"),
                 "   " + CodePage::encode(linked.path().chopped(1)) + "  \r\nignored\r\n");
    control.initialize();
    EXPECT_EQ(control.dataPath(), client.path());
    EXPECT_EQ(control.meetings()[0]->kaisaiNum(), 5);

    QSignalSpy spy(&control, &DayController::reInitialized);
    EXPECT_TRUE(control.reInitialize());
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(control.dataPath(), linked.path()); // blanks removed, separator added
    EXPECT_EQ(control.meetings()[0]->kaisaiNum(), 9);
    EXPECT_EQ(control.meetings()[0]->race(3)->amtBuy(), 700);
}

TEST_F(ControlTest, RefreshWithoutLinkRereadsTheClientFolder) {
    control.initialize();
    EXPECT_TRUE(control.meetings().empty());
    writeDay(client, 6);
    control.reInitialize();
    EXPECT_EQ(control.dataPath(), client.path());
    ASSERT_EQ(control.meetings().size(), 1u);
    EXPECT_EQ(control.meetings()[0]->kaisaiNum(), 6);
    // A link file that names no folder: the client folder is read, not the root.
    for (const QByteArray& link : {QByteArray(), QByteArray("\r\n"), QByteArray("   \r\nD:\\PATDATA\r\n"),
                                   QByteArray("\t \n"), CodePage::encode(QStringLiteral("\u3000\r\n"))}) {
        client.write(QStringLiteral("VQLINK.TXT"), link);
        control.reInitialize();
        EXPECT_EQ(control.dataPath(), client.path()) << link.toHex().constData();
    }
}

TEST_F(ControlTest, ShowDetailOpensWhatTheRaceHas) {
    writeDay(client, 5);
    control.initialize();
    control.setCurKaisai(1);
    control.setCurRace(4); // no bets, no result
    control.showDetail();
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Kekka"), QStringLiteral("unload Detail")}));
    host.calls.clear();
    control.setCurRace(3); // bets, no result
    control.showDetail();
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Kekka"), QStringLiteral("unload Detail"),
                                       QStringLiteral("show Detail")}));
}

TEST_F(ControlTest, WindowsAreRebuiltOnEveryOpeningButTheDownloadWindow) {
    writeDay(client, 5); // a day with races: without account files there is nothing to download
    control.initialize();
    control.showLog();
    control.showLog();
    control.showProfit();
    control.showRecord();
    control.showBrowser();
    control.showBrowser();
    EXPECT_EQ(host.calls,
              (QStringList{QStringLiteral("unload Log"), QStringLiteral("show Log"), QStringLiteral("unload Log"),
                           QStringLiteral("show Log"), QStringLiteral("unload Profit"), QStringLiteral("show Profit"),
                           QStringLiteral("unload Record"), QStringLiteral("show Record"),
                           QStringLiteral("show Browser"), QStringLiteral("show Browser")}));
    host.calls.clear();
    control.closeChildren();
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Profit"), QStringLiteral("unload Log"),
                                       QStringLiteral("unload Record")}));
    EXPECT_TRUE(host.isLoaded(W::Browser));
}

TEST_F(ControlTest, TerminateClosesWindowsAndWritesTheSettings) {
    control.initialize();
    control.setBackColor(255);
    control.setPosTop(3, 1200);
    control.terminate();
    EXPECT_EQ(host.calls.last(), QStringLiteral("unload all"));
    IniFile ini;
    ini.setPathName(program.path());
    ini.setFileName(QStringLiteral("VQV50.INI"));
    EXPECT_EQ(ini.getData(QStringLiteral("OPTION"), QStringLiteral("backcolor")), QStringLiteral("255"));
    EXPECT_EQ(ini.getData(QStringLiteral("WINDOW"), QStringLiteral("top03")), QStringLiteral("1200"));
    EXPECT_TRUE(control.meetings().empty());
}

TEST_F(ControlTest, FailuresArePassedUpWithTheControllersSource) {
    writeDay(client, 5);
    // A stake too large for 32 bits (a garbage log) overflows the race's sums.
    LogFiles::DayLog log;
    for (int i = 0; i < 25; ++i) {
        log.tickets << LogFiles::at(LogFiles::boxBet(LogFiles::Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 9999), 5, 3);
    }
    LogFiles::saveDayLog(client.path(), QStringLiteral("LG001"), log);
    try {
        control.initialize();
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.source(), QStringLiteral("BBB"));
        // Overflow (6) passed up through the folder reader and then the controller.
        EXPECT_EQ(e.number(), static_cast<qint32>(6u + 2u * 0x80040000u));
    }
}

TEST_F(ControlTest, TheProfitBookLivesInTheClientFolder) {
    writeDay(client, 5);
    control.initialize();
    control.getRecord();
    EXPECT_TRUE(client.exists(QStringLiteral("VQPROFIT.TXT")));
    EXPECT_EQ(control.pastCount(), 1);
    control.checkRecord(1000, 2500, 0, 0, QString(), 0, 0);
    EXPECT_EQ(control.pastCount(), 2);
    EXPECT_EQ(control.pastDate(1), kDate); // the client's current date
    EXPECT_EQ(control.totalProfit(), 1500);
    EXPECT_EQ(control.bestCount(), 1);
    control.deleteRecord(kDate);
    EXPECT_EQ(control.pastCount(), 1);
}

TEST_F(ControlTest, ARefreshKeepsTheDayTotalsAndUpdatesTodaysRecord) {
    writeDay(client, 5); // 200 yen on horse 1 of race 3, no result yet
    control.initialize();
    control.getRecord();
    ASSERT_TRUE(control.updateDayTotals().has_value());
    EXPECT_EQ(control.amtYet(), 200);
    ASSERT_EQ(control.pastCount(), 2); // today's record before the sentinel
    EXPECT_EQ(control.pastBuy(1), 200);
    EXPECT_EQ(control.pastPay(1), 0);

    // Meanwhile another day is entered with the command-line tool: the refresh's update of today's record
    // is made on the book as the tool left it.
    QProcess tool;
    tool.start(QStringLiteral(VQ_VELQORA), {QStringLiteral("book"), client.path(), QStringLiteral("--set"),
                                            QStringLiteral("20260301"), QStringLiteral("1000"), QStringLiteral("0")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();

    ResultFiles::ResultFile result; // horse 1 wins race 3, paying 350 yen per 100
    result.date = kDate;
    result.raceNum = 3;
    result.payouts[ResultFiles::Win - 1] = {{1, 0, 0, 350}};
    ResultFiles::saveResultFile(client.path(), result);
    control.reInitialize();
    const std::optional<DayTotals> totals = control.updateDayTotals();
    ASSERT_TRUE(totals.has_value());
    EXPECT_EQ(totals->logCount, 1);
    const qint32 kept[] = {control.amtBuy(), control.amtPay(), control.amtYet(), control.amtBuyTomorrow(),
                           control.amtBuyYesterday()};
    EXPECT_THAT(kept, ::testing::ElementsAre(200, 700, 0, 0, 0));
    // Today's record rewritten in place, not added, and the tool's day kept.
    ASSERT_EQ(control.pastCount(), 3);
    EXPECT_EQ(control.pastDate(1), kDate);
    EXPECT_EQ(control.pastBuy(1), 200);
    EXPECT_EQ(control.pastPay(1), 700);
    EXPECT_EQ(control.pastProfit(1), 500);
    EXPECT_EQ(control.pastDate(2), QStringLiteral("20260301"));
    EXPECT_TRUE(client.read(QStringLiteral("VQPROFIT.TXT"))
                    .startsWith("20260405200     700     500      0\r\n"
                                "202603011000    0       -1000    0\r\n"));
    // The refreshes hand the day to the archive of the client folder a moment later, from the event loop,
    // once, in its latest state; its thread stores it.
    BetArchive archive;
    ASSERT_TRUE(QTest::qWaitFor([&] { return archive.open(client.path()) && !archive.days().isEmpty(); }, 5000));
    const std::vector<Archive::Bet> bets = archive.betsOfDay(kDate);
    ASSERT_EQ(bets.size(), 1u);
    EXPECT_EQ(std::tuple(bets[0].venue, bets[0].raceNum, bets[0].num3, bets[0].stake, bets[0].payout, bets[0].state),
              std::tuple(qint16{5}, qint16{3}, qint16{1}, 200, 700, qint16{BetCodes::Hit}));

    // A refresh that finds no schedule keeps the day's totals and leaves the book as it was.
    TempFolder empty;
    client.write(QStringLiteral("VQLINK.TXT"), CodePage::encode(empty.path()));
    control.reInitialize();
    EXPECT_FALSE(control.updateDayTotals().has_value());
    EXPECT_EQ(control.amtPay(), 700);
    ASSERT_EQ(control.pastCount(), 3);
    EXPECT_EQ(control.pastPay(1), 700);
}

TEST_F(ControlTest, AnUnusableArchiveIsReportedOnceAndEverythingElseGoesOn) {
    writeDay(client, 5);
    const QByteArray garbage(4096, 'x');
    client.write(BetArchive::fileName(), garbage);
    CapturingReporter reporter;
    control.initialize();
    control.getRecord();
    for (int refresh = 0; refresh < 3; ++refresh) {
        ASSERT_TRUE(control.updateDayTotals().has_value());
        control.flushArchive();
        QCoreApplication::processEvents(); // the writer's report comes through the event loop
    }
    EXPECT_EQ(control.amtBuy(), 200);
    EXPECT_EQ(control.pastBuy(1), 200);
    ASSERT_EQ(reporter.texts.size(), 1);
    EXPECT_THAT(reporter.texts[0].toStdString(), ::testing::HasSubstr("VQBETS.SQLITE"));
    EXPECT_EQ(client.read(BetArchive::fileName()), garbage);
}

TEST_F(ControlTest, ADayNotReadWholeIsShownButNeitherBookedNorArchivedUntilAWholeRead) {
    writeDay(client, 5);
    LogFiles::DayLog log; // 200 yen on a win, 100 on a trio box of three
    log.tickets << LogFiles::at(LogFiles::singleBet(LogFiles::Win, 0, 0, 1, 2), 5, 3)
                << LogFiles::at(LogFiles::boxBet(LogFiles::Trio, {1, 2, 3}), 5, 3);
    const QByteArray whole = LogFiles::writeDayLog(log);
    client.write(QStringLiteral("LG001.JRA"), whole.left(whole.size() - 10)); // the box still being written
    control.initialize();
    control.getRecord();
    const QByteArray book = client.read(QStringLiteral("VQPROFIT.TXT"));
    EXPECT_EQ(control.updateDayTotals().value().amtBuy, 200); // what was read whole is shown
    control.flushArchive();
    EXPECT_EQ(client.read(QStringLiteral("VQPROFIT.TXT")), book);
    EXPECT_FALSE(client.exists(BetArchive::fileName()));

    client.write(QStringLiteral("LG001.JRA"), whole);
    control.reInitialize();
    control.updateDayTotals();
    control.flushArchive();
    EXPECT_EQ(std::tuple(control.pastDate(1), control.pastBuy(1)), std::tuple(kDate, 300));
    BetArchive archive;
    ASSERT_TRUE(archive.open(client.path()));
    EXPECT_EQ(archive.betsOfDay(kDate).size(), 2u);
}
