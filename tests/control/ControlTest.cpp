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
    static QString Name(W w) {
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
    void Unload(W w) override {
        calls << QStringLiteral("unload ") + Name(w);
        open.erase(w);
    }
    void Show(W w, DayController&) override {
        calls << QStringLiteral("show ") + Name(w);
        open.insert(w);
    }
    bool IsLoaded(W w) const override { return open.count(w) > 0; }
    void UnloadAll() override {
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
    static void WriteDay(const TempFolder& dir, int venue, int units = 2) {
        AccountFiles::AccountFile a = AccountFiles::AllOnSale(venue);
        a.Date = kDate;
        a.Amounts = {50000, 0, 0, 0};
        AccountFiles::SaveAccountFile(dir.Path(), QLatin1Char('A'), a);
        LogFiles::DayLog log;
        log.Tickets << LogFiles::At(LogFiles::SingleBet(LogFiles::Win, 0, 0, 1, units), venue, 3);
        LogFiles::SaveDayLog(dir.Path(), QStringLiteral("LG001"), log);
        LogFiles::SaveIndex(dir.Path(), {{QStringLiteral("LG001"), kDate}});
    }

    FakeHost host;
    DayController control{folders()};
};
} // namespace

TEST_F(ControlTest, InitializeReadsSettingsAndTheClientFolder) {
    program.Write(QStringLiteral("VQV50.INI"), "[OPTION]\r\nposition=1\r\ndfltdisp=3\r\n");
    WriteDay(client, 5);
    EXPECT_TRUE(control.Initialize());
    EXPECT_EQ(control.Position(), 1);
    EXPECT_EQ(control.DispMode(), 3);
    EXPECT_EQ(control.PatPath(), client.Path());
    EXPECT_EQ(control.DataPath(), client.Path());
    EXPECT_EQ(control.CurDate(), kDate);
    EXPECT_EQ(control.AmtZandaka(), 50000);
    ASSERT_EQ(control.colKaisai().size(), 1u);
    EXPECT_NE(control.objLog(), nullptr);
    EXPECT_EQ(control.colKaisai()[0]->objRace(3)->AmtBuy(), 200);
}

TEST_F(ControlTest, BracketColours) {
    control.Initialize();
    const qint32 expected[] = {0xFFFFFF, 0x808080, 0x8080FF, 0xFF8080, 0x80FFFF, 0x80FF80, 0x80C0FF, 0xFF80FF};
    for (int i = 1; i <= 8; ++i) {
        EXPECT_EQ(control.WakuColor(i), expected[i - 1]);
    }
    EXPECT_THROW(control.WakuColor(0), AppError);
    EXPECT_THROW(control.WakuColor(9), AppError);
}

TEST_F(ControlTest, AnEmptyClientFolderIsNotAnError) {
    EXPECT_TRUE(control.Initialize());
    EXPECT_TRUE(control.colKaisai().empty());
    EXPECT_EQ(control.CurDate(), QString());
    EXPECT_EQ(control.objLog(), nullptr);
}

TEST_F(ControlTest, TheLinkFileTakesEffectOnlyOnRefresh) {
    TempFolder linked;
    WriteDay(client, 5);
    WriteDay(linked, 9, 7);
    client.Write(QStringLiteral("VQLINK.TXT"),
                 "   " + CodePage::Encode(linked.Path().chopped(1)) + "  \r\nignored\r\n");
    control.Initialize();
    EXPECT_EQ(control.DataPath(), client.Path());
    EXPECT_EQ(control.colKaisai()[0]->KaisaiNum(), 5);

    QSignalSpy spy(&control, &DayController::ReInitialized);
    EXPECT_TRUE(control.ReInitialize());
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(control.DataPath(), linked.Path()); // blanks removed, separator added
    EXPECT_EQ(control.colKaisai()[0]->KaisaiNum(), 9);
    EXPECT_EQ(control.colKaisai()[0]->objRace(3)->AmtBuy(), 700);
}

TEST_F(ControlTest, RefreshWithoutLinkRereadsTheClientFolder) {
    control.Initialize();
    EXPECT_TRUE(control.colKaisai().empty());
    WriteDay(client, 6);
    control.ReInitialize();
    EXPECT_EQ(control.DataPath(), client.Path());
    ASSERT_EQ(control.colKaisai().size(), 1u);
    EXPECT_EQ(control.colKaisai()[0]->KaisaiNum(), 6);
    // A link file that names no folder: the client folder is read, not the root.
    for (const QByteArray& link : {QByteArray(), QByteArray("\r\n"), QByteArray("   \r\nD:\\PATDATA\r\n"),
                                   QByteArray("\t \n"), CodePage::Encode(QStringLiteral("\u3000\r\n"))}) {
        client.Write(QStringLiteral("VQLINK.TXT"), link);
        control.ReInitialize();
        EXPECT_EQ(control.DataPath(), client.Path()) << link.toHex().constData();
    }
}

TEST_F(ControlTest, ShowDetailOpensWhatTheRaceHas) {
    WriteDay(client, 5);
    control.Initialize();
    control.setCurKaisai(1);
    control.setCurRace(4); // no bets, no result
    control.ShowDetail();
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Kekka"), QStringLiteral("unload Detail")}));
    host.calls.clear();
    control.setCurRace(3); // bets, no result
    control.ShowDetail();
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Kekka"), QStringLiteral("unload Detail"),
                                       QStringLiteral("show Detail")}));
}

TEST_F(ControlTest, WindowsAreRebuiltOnEveryOpeningButTheDownloadWindow) {
    WriteDay(client, 5); // a day with races: without account files there is nothing to download
    control.Initialize();
    control.ShowLog();
    control.ShowLog();
    control.ShowProfit();
    control.ShowRecord();
    control.ShowBrowser();
    control.ShowBrowser();
    EXPECT_EQ(host.calls,
              (QStringList{QStringLiteral("unload Log"), QStringLiteral("show Log"), QStringLiteral("unload Log"),
                           QStringLiteral("show Log"), QStringLiteral("unload Profit"), QStringLiteral("show Profit"),
                           QStringLiteral("unload Record"), QStringLiteral("show Record"),
                           QStringLiteral("show Browser"), QStringLiteral("show Browser")}));
    host.calls.clear();
    control.CloseChildren();
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Profit"), QStringLiteral("unload Log"),
                                       QStringLiteral("unload Record")}));
    EXPECT_TRUE(host.IsLoaded(W::Browser));
}

TEST_F(ControlTest, TerminateClosesWindowsAndWritesTheSettings) {
    control.Initialize();
    control.setBackColor(255);
    control.setPosTop(3, 1200);
    control.Terminate();
    EXPECT_EQ(host.calls.last(), QStringLiteral("unload all"));
    IniFile ini;
    ini.setPathName(program.Path());
    ini.setFileName(QStringLiteral("VQV50.INI"));
    EXPECT_EQ(ini.GetData(QStringLiteral("OPTION"), QStringLiteral("backcolor")), QStringLiteral("255"));
    EXPECT_EQ(ini.GetData(QStringLiteral("WINDOW"), QStringLiteral("top03")), QStringLiteral("1200"));
    EXPECT_TRUE(control.colKaisai().empty());
}

TEST_F(ControlTest, FailuresArePassedUpWithTheControllersSource) {
    WriteDay(client, 5);
    // A stake too large for 32 bits (a garbage log) overflows the race's sums.
    LogFiles::DayLog log;
    for (int i = 0; i < 25; ++i) {
        log.Tickets << LogFiles::At(LogFiles::BoxBet(LogFiles::Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 9999), 5, 3);
    }
    LogFiles::SaveDayLog(client.Path(), QStringLiteral("LG001"), log);
    try {
        control.Initialize();
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.Source(), QStringLiteral("BBB"));
        // Overflow (6) passed up through the folder reader and then the controller.
        EXPECT_EQ(e.Number(), static_cast<qint32>(6u + 2u * 0x80040000u));
    }
}

TEST_F(ControlTest, TheProfitBookLivesInTheClientFolder) {
    WriteDay(client, 5);
    control.Initialize();
    control.GetRecord();
    EXPECT_TRUE(client.Exists(QStringLiteral("VQPROFIT.TXT")));
    EXPECT_EQ(control.PastCount(), 1);
    control.CheckRecord(1000, 2500, 0, 0, QString(), 0, 0);
    EXPECT_EQ(control.PastCount(), 2);
    EXPECT_EQ(control.PastDate(1), kDate); // the client's current date
    EXPECT_EQ(control.TotalProfit(), 1500);
    EXPECT_EQ(control.BestCount(), 1);
    control.DeleteRecord(kDate);
    EXPECT_EQ(control.PastCount(), 1);
}

TEST_F(ControlTest, ARefreshKeepsTheDayTotalsAndUpdatesTodaysRecord) {
    WriteDay(client, 5); // 200 yen on horse 1 of race 3, no result yet
    control.Initialize();
    control.GetRecord();
    ASSERT_TRUE(control.UpdateDayTotals().has_value());
    EXPECT_EQ(control.AmtYet(), 200);
    ASSERT_EQ(control.PastCount(), 2); // today's record before the sentinel
    EXPECT_EQ(control.PastBuy(1), 200);
    EXPECT_EQ(control.PastPay(1), 0);

    // Meanwhile another day is entered with the command-line tool: the refresh's update of today's record
    // is made on the book as the tool left it.
    QProcess tool;
    tool.start(QStringLiteral(VQ_VELQORA), {QStringLiteral("book"), client.Path(), QStringLiteral("--set"),
                                            QStringLiteral("20260301"), QStringLiteral("1000"), QStringLiteral("0")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();

    ResultFiles::ResultFile result; // horse 1 wins race 3, paying 350 yen per 100
    result.Date = kDate;
    result.RaceNum = 3;
    result.Payouts[ResultFiles::Win - 1] = {{1, 0, 0, 350}};
    ResultFiles::SaveResultFile(client.Path(), result);
    control.ReInitialize();
    const std::optional<DayTotals> totals = control.UpdateDayTotals();
    ASSERT_TRUE(totals.has_value());
    EXPECT_EQ(totals->LogCount, 1);
    const qint32 kept[] = {control.AmtBuy(), control.AmtPay(), control.AmtYet(), control.AmtBuyTomorrow(),
                           control.AmtBuyYesterday()};
    EXPECT_THAT(kept, ::testing::ElementsAre(200, 700, 0, 0, 0));
    // Today's record rewritten in place, not added, and the tool's day kept.
    ASSERT_EQ(control.PastCount(), 3);
    EXPECT_EQ(control.PastDate(1), kDate);
    EXPECT_EQ(control.PastBuy(1), 200);
    EXPECT_EQ(control.PastPay(1), 700);
    EXPECT_EQ(control.PastProfit(1), 500);
    EXPECT_EQ(control.PastDate(2), QStringLiteral("20260301"));
    EXPECT_TRUE(client.Read(QStringLiteral("VQPROFIT.TXT"))
                    .startsWith("20260405200     700     500      0\r\n"
                                "202603011000    0       -1000    0\r\n"));
    // The refreshes hand the day to the archive of the client folder a moment later, from the event loop,
    // once, in its latest state; its thread stores it.
    BetArchive archive;
    ASSERT_TRUE(QTest::qWaitFor([&] { return archive.Open(client.Path()) && !archive.Days().isEmpty(); }, 5000));
    const std::vector<Archive::Bet> bets = archive.BetsOfDay(kDate);
    ASSERT_EQ(bets.size(), 1u);
    EXPECT_EQ(std::tuple(bets[0].Venue, bets[0].RaceNum, bets[0].Num3, bets[0].Stake, bets[0].Payout, bets[0].State),
              std::tuple(qint16{5}, qint16{3}, qint16{1}, 200, 700, qint16{BetCodes::Hit}));

    // A refresh that finds no schedule keeps the day's totals and leaves the book as it was.
    TempFolder empty;
    client.Write(QStringLiteral("VQLINK.TXT"), CodePage::Encode(empty.Path()));
    control.ReInitialize();
    EXPECT_FALSE(control.UpdateDayTotals().has_value());
    EXPECT_EQ(control.AmtPay(), 700);
    ASSERT_EQ(control.PastCount(), 3);
    EXPECT_EQ(control.PastPay(1), 700);
}

TEST_F(ControlTest, AnUnusableArchiveIsReportedOnceAndEverythingElseGoesOn) {
    WriteDay(client, 5);
    const QByteArray garbage(4096, 'x');
    client.Write(BetArchive::FileName(), garbage);
    CapturingReporter reporter;
    control.Initialize();
    control.GetRecord();
    for (int refresh = 0; refresh < 3; ++refresh) {
        ASSERT_TRUE(control.UpdateDayTotals().has_value());
        control.FlushArchive();
        QCoreApplication::processEvents(); // the writer's report comes through the event loop
    }
    EXPECT_EQ(control.AmtBuy(), 200);
    EXPECT_EQ(control.PastBuy(1), 200);
    ASSERT_EQ(reporter.texts.size(), 1);
    EXPECT_THAT(reporter.texts[0].toStdString(), ::testing::HasSubstr("VQBETS.SQLITE"));
    EXPECT_EQ(client.Read(BetArchive::FileName()), garbage);
}

TEST_F(ControlTest, ADayNotReadWholeIsShownButNeitherBookedNorArchivedUntilAWholeRead) {
    WriteDay(client, 5);
    LogFiles::DayLog log; // 200 yen on a win, 100 on a trio box of three
    log.Tickets << LogFiles::At(LogFiles::SingleBet(LogFiles::Win, 0, 0, 1, 2), 5, 3)
                << LogFiles::At(LogFiles::BoxBet(LogFiles::Trio, {1, 2, 3}), 5, 3);
    const QByteArray whole = LogFiles::WriteDayLog(log);
    client.Write(QStringLiteral("LG001.JRA"), whole.left(whole.size() - 10)); // the box still being written
    control.Initialize();
    control.GetRecord();
    const QByteArray book = client.Read(QStringLiteral("VQPROFIT.TXT"));
    EXPECT_EQ(control.UpdateDayTotals().value().AmtBuy, 200); // what was read whole is shown
    control.FlushArchive();
    EXPECT_EQ(client.Read(QStringLiteral("VQPROFIT.TXT")), book);
    EXPECT_FALSE(client.Exists(BetArchive::FileName()));

    client.Write(QStringLiteral("LG001.JRA"), whole);
    control.ReInitialize();
    control.UpdateDayTotals();
    control.FlushArchive();
    EXPECT_EQ(std::tuple(control.PastDate(1), control.PastBuy(1)), std::tuple(kDate, 300));
    BetArchive archive;
    ASSERT_TRUE(archive.Open(client.Path()));
    EXPECT_EQ(archive.BetsOfDay(kDate).size(), 2u);
}
