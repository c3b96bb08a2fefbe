#include "archive/BetArchive.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "control/DayController.h"
#include "control/FolderWatch.h"
#include "core/AppError.h"
#include "core/CodePage.h"
#include "core/Folders.h"
#include "core/IniFile.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "profit/ProfitBook.h"
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
    void show(W w, DayController&, const ShownRace* race) override {
        calls << QStringLiteral("show ") + name(w) +
                     (race ? QStringLiteral(" %1R").arg(race->race.raceNum()) : QString());
        open.insert(w);
    }
    bool isLoaded(W w) const override { return open.count(w) > 0; }
    void unloadAll() override {
        calls << QStringLiteral("unload all");
        open.clear();
    }
    bool refill(W w, const ShownRace* race) override {
        calls << QStringLiteral("refill ") + name(w) +
                     (race ? QStringLiteral(" %1R").arg(race->race.raceNum()) : QString());
        return true;
    }
    bool canRebuild() const override { return true; }
};

const QString kDate = QStringLiteral("20260405");

class ControlTest : public ClientFolderTest {
protected:
    void SetUp() override {
        ClientFolderTest::SetUp();
        control.setWindowHost(&host);
        QObject::connect(&control, &DayController::dayRefreshed, [this](const DayRefresh& day) { last = day; });
    }

    // The day as the main window is given it after the folder has been read again.
    DayRefresh refreshed() {
        control.refresh();
        return last;
    }
    DayRefresh settled() {
        control.settleDay();
        return last;
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
    DayRefresh last;
};
} // namespace

TEST_F(ControlTest, InitializeReadsSettingsAndTheClientFolder) {
    program.write(QStringLiteral("VQV50.INI"), "[OPTION]\r\nposition=1\r\ndfltdisp=3\r\n");
    writeDay(client, 5);
    control.start();
    EXPECT_EQ(control.settings().position(), 1);
    EXPECT_EQ(control.settings().dispMode(), 3);
    EXPECT_EQ(control.clientFolder(), client.path());
    EXPECT_EQ(control.saleDate(), kDate);
    EXPECT_EQ(settled().balance, 50000);
    ASSERT_EQ(control.meetings().size(), 1u);
    EXPECT_NE(control.betLog(), nullptr);
    EXPECT_EQ(control.meetings()[0]->race(3)->amtBuy(), 200);
}

TEST_F(ControlTest, BracketColoursAreTheRacecourseColoursInLightTints) {
    control.start();
    // Brackets 1..8 are white, black, red, blue, yellow, green, orange and pink on the course; the stored
    // value has red in its lowest byte. All are light tints, black a mid grey, so the numbers stay readable.
    struct Expected {
        const char* name;
        int hue; // in degrees; -1 for no hue
    };
    const Expected expected[] = {{"white", -1},  {"black", -1},  {"red", 0},     {"blue", 240},
                                 {"yellow", 60}, {"green", 120}, {"orange", 30}, {"pink", 300}};
    const auto hueOf = [](int r, int g, int b) {
        const int max = std::max({r, g, b});
        const int d = max - std::min({r, g, b});
        if (d == 0) {
            return -1;
        }
        const double h = max == r ? (g - b) / double(d) : max == g ? 2 + (b - r) / double(d) : 4 + (r - g) / double(d);
        return (int(std::lround(60 * h)) + 360) % 360;
    };
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(expected[i].name);
        const qint32 v = control.wakuColors()[size_t(i)];
        const int r = v & 0xFF, g = (v >> 8) & 0xFF, b = (v >> 16) & 0xFF;
        EXPECT_EQ(hueOf(r, g, b), expected[i].hue);
        EXPECT_GE(std::max({r, g, b}), 128);
    }
    EXPECT_GT(control.wakuColors()[0] & 0xFF, control.wakuColors()[1] & 0xFF); // white lighter than black
}

TEST_F(ControlTest, AnEmptyClientFolderIsNotAnError) {
    control.start();
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
    control.start();
    EXPECT_EQ(control.meetings()[0]->kaisaiNum(), 5);

    QSignalSpy spy(&control, &DayController::dayRefreshed);
    control.refresh();
    EXPECT_EQ(spy.count(), 1);
    // The linked folder, its name's blanks removed: its day is read.
    EXPECT_EQ(control.meetings()[0]->kaisaiNum(), 9);
    EXPECT_EQ(control.meetings()[0]->race(3)->amtBuy(), 700);
}

TEST_F(ControlTest, RefreshWithoutLinkRereadsTheClientFolder) {
    control.start();
    EXPECT_TRUE(control.meetings().empty());
    writeDay(client, 6);
    control.refresh();
    ASSERT_EQ(control.meetings().size(), 1u);
    EXPECT_EQ(control.meetings()[0]->kaisaiNum(), 6);
    // A link file that names no folder: the client folder is read, not the root.
    for (const QByteArray& link : {QByteArray(), QByteArray("\r\n"), QByteArray("   \r\nD:\\PATDATA\r\n"),
                                   QByteArray("\t \n"), CodePage::encode(QStringLiteral("\u3000\r\n"))}) {
        client.write(QStringLiteral("VQLINK.TXT"), link);
        control.refresh();
        ASSERT_EQ(control.meetings().size(), 1u) << link.toHex().constData();
        EXPECT_EQ(control.meetings()[0]->kaisaiNum(), 6) << link.toHex().constData();
    }
}

TEST_F(ControlTest, ShowDetailOpensWhatTheRaceHas) {
    writeDay(client, 5);
    control.start();
    control.showRaceDetail(1, 4); // no bets, no result
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Kekka"), QStringLiteral("unload Detail")}));
    host.calls.clear();
    control.showRaceDetail(1, 3); // bets, no result
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Kekka"), QStringLiteral("unload Detail"),
                                       QStringLiteral("show Detail 3R")}));
    EXPECT_THROW(control.showRaceDetail(1, 13), AppError);
}

TEST_F(ControlTest, WindowsAreRebuiltOnEveryOpeningButTheDownloadWindow) {
    writeDay(client, 5); // a day with races: without account files there is nothing to download
    control.start();
    control.showBetLog();
    control.showBetLog();
    control.showProfitTable();
    control.showPassbook();
    control.showDownload();
    control.showDownload();
    EXPECT_EQ(host.calls,
              (QStringList{QStringLiteral("unload Log"), QStringLiteral("show Log"), QStringLiteral("unload Log"),
                           QStringLiteral("show Log"), QStringLiteral("unload Profit"), QStringLiteral("show Profit"),
                           QStringLiteral("unload Record"), QStringLiteral("show Record"),
                           QStringLiteral("show Browser"), QStringLiteral("show Browser")}));
    host.calls.clear();
    control.closeDayWindows();
    EXPECT_EQ(host.calls, (QStringList{QStringLiteral("unload Profit"), QStringLiteral("unload Log"),
                                       QStringLiteral("unload Record")}));
    EXPECT_TRUE(host.isLoaded(W::Browser));
}

TEST_F(ControlTest, TerminateClosesWindowsAndWritesTheSettings) {
    control.start();
    control.settings().setBackColor(255);
    control.settings().setPosTop(3, 1200);
    control.finish();
    EXPECT_EQ(host.calls.last(), QStringLiteral("unload all"));
    IniFile ini;
    ini.setPathName(program.path());
    ini.setFileName(QStringLiteral("VQV50.INI"));
    EXPECT_EQ(ini.value(QStringLiteral("OPTION"), QStringLiteral("backcolor")), QStringLiteral("255"));
    EXPECT_EQ(ini.value(QStringLiteral("WINDOW"), QStringLiteral("top03")), QStringLiteral("1200"));
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
        control.start();
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.source(), QStringLiteral("BBB"));
        // Overflow (6) passed up through the folder reader and then the controller.
        EXPECT_EQ(e.number(), static_cast<qint32>(6u + 2u * 0x80040000u));
    }
}

TEST_F(ControlTest, TheProfitBookLivesInTheClientFolder) {
    writeDay(client, 5);
    control.start();
    control.book().load();
    EXPECT_TRUE(client.exists(QStringLiteral("VQPROFIT.TXT")));
    EXPECT_EQ(control.book().pastCount(), 1);
    control.book().checkRecord(1000, 2500, 0, QString(), 0, 0);
    EXPECT_EQ(control.book().pastCount(), 2);
    EXPECT_EQ(control.book().pastDate(1), kDate); // the client's current date
    EXPECT_EQ(control.book().totalProfit(), 1500);
    EXPECT_EQ(control.book().bestCount(), 1);
    control.book().deleteRecord(kDate);
    EXPECT_EQ(control.book().pastCount(), 1);
}

TEST_F(ControlTest, ARefreshCarriesTheDayTotalsAndUpdatesTodaysRecord) {
    writeDay(client, 5); // 200 yen on horse 1 of race 3, no result yet
    control.start();
    control.book().load();
    ASSERT_TRUE(settled().totals.has_value());
    EXPECT_EQ(last.totals->amtYet, 200);
    ASSERT_EQ(control.book().pastCount(), 2); // today's record before the sentinel
    EXPECT_EQ(control.book().pastBuy(1), 200);
    EXPECT_EQ(control.book().pastPay(1), 0);

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
    const std::optional<DayTotals> totals = refreshed().totals;
    ASSERT_TRUE(totals.has_value());
    EXPECT_EQ(totals->logCount, 1);
    const qint32 figures[] = {totals->amtBuy, totals->amtPay, totals->amtYet, totals->amtBuyTomorrow,
                              totals->amtBuyYesterday};
    EXPECT_THAT(figures, ::testing::ElementsAre(200, 700, 0, 0, 0));
    // Today's record rewritten in place, not added, and the tool's day kept.
    ASSERT_EQ(control.book().pastCount(), 3);
    EXPECT_EQ(control.book().pastDate(1), kDate);
    EXPECT_EQ(control.book().pastBuy(1), 200);
    EXPECT_EQ(control.book().pastPay(1), 700);
    EXPECT_EQ(control.book().pastProfit(1), 500);
    EXPECT_EQ(control.book().pastDate(2), QStringLiteral("20260301"));
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

    // A refresh that finds no schedule has no totals to show and leaves the book as it was.
    TempFolder empty;
    client.write(QStringLiteral("VQLINK.TXT"), CodePage::encode(empty.path()));
    EXPECT_FALSE(refreshed().totals.has_value());
    ASSERT_EQ(control.book().pastCount(), 3);
    EXPECT_EQ(control.book().pastPay(1), 700);
}

TEST_F(ControlTest, AnUnusableArchiveIsReportedOnceAndEverythingElseGoesOn) {
    writeDay(client, 5);
    const QByteArray garbage(4096, 'x');
    client.write(BetArchive::fileName(), garbage);
    CapturingReporter reporter;
    control.start();
    control.book().load();
    for (int refresh = 0; refresh < 3; ++refresh) {
        ASSERT_TRUE(settled().totals.has_value());
        control.flushArchive();
        QCoreApplication::processEvents(); // the writer's report comes through the event loop
    }
    EXPECT_EQ(last.totals->amtBuy, 200);
    EXPECT_EQ(control.book().pastBuy(1), 200);
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
    control.start();
    control.book().load();
    const QByteArray book = client.read(QStringLiteral("VQPROFIT.TXT"));
    EXPECT_EQ(settled().totals.value().amtBuy, 200); // what was read whole is shown
    EXPECT_FALSE(last.warnings.empty());
    control.flushArchive();
    EXPECT_EQ(client.read(QStringLiteral("VQPROFIT.TXT")), book);
    EXPECT_FALSE(client.exists(BetArchive::fileName()));

    client.write(QStringLiteral("LG001.JRA"), whole);
    control.refresh();
    control.flushArchive();
    EXPECT_EQ(std::tuple(control.book().pastDate(1), control.book().pastBuy(1)), std::tuple(kDate, 300));
    BetArchive archive;
    ASSERT_TRUE(archive.open(client.path()));
    EXPECT_EQ(archive.betsOfDay(kDate).size(), 2u);
}

TEST_F(ControlTest, ARefreshFillsTheOpenWindowsAgainWhileLiveAndClosesThemWhenNot) {
    struct Case {
        const char* name;
        const char* ini;
        int venueAfter; // the venue the client's day has at the refresh
        QStringList calls;
        int watches;
    } cases[] = {
        {"live", "", 5, {"refill Profit", "refill Log", "refill Detail 3R"}, 1},
        {"live, the race gone from the day",
         "",
         6,
         {"refill Profit", "refill Log", "unload Kekka", "unload Detail"},
         1},
        {"manual", "[OPTION]\r\nautorefresh=0\r\n", 5, {"unload Profit", "unload Log", "unload Record"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder programDir;
        TempFolder clientDir;
        if (*c.ini) {
            programDir.write(QStringLiteral("VQV50.INI"), c.ini);
        }
        writeDay(clientDir, 5);
        FakeHost fake;
        DayController live(Folders{programDir.path(), clientDir.path(), clientDir.path() + QStringLiteral("dl")});
        live.setWindowHost(&fake);
        live.start();
        live.showProfitTable();
        live.showBetLog();
        live.showRaceDetail(1, 3);
        writeDay(clientDir, c.venueAfter);
        fake.calls.clear();
        live.refresh();
        EXPECT_EQ(fake.calls, c.calls);
        // Nothing watches the folders of a manual day.
        EXPECT_EQ(live.findChildren<FolderWatch*>().size(), c.watches);
    }
}

// The archive knows which files a stored day was read from: the same files are not stored again, not even
// by the next start (a close right after a start then has nothing to write); a file rewritten is.
TEST_F(ControlTest, TheSameFilesAreNotStoredTwice) {
    writeDay(client, 5);
    const auto storedStake = [this] {
        BetArchive archive;
        const std::vector<Archive::Bet> bets = archive.open(client.path(), BetArchive::Access::Read)
                                                   ? archive.betsOfDay(kDate)
                                                   : std::vector<Archive::Bet>{};
        return bets.empty() ? -1 : bets.front().stake;
    };
    control.start();
    control.settleDay();
    control.flushArchive();
    ASSERT_EQ(storedStake(), 200);
    {
        // A mark of ours in the stored day, kept under the fingerprint it was stored with.
        BetArchive archive;
        ASSERT_TRUE(archive.open(client.path()));
        std::vector<Archive::Bet> marked = archive.betsOfDay(kDate);
        marked.front().stake = 12345;
        ASSERT_TRUE(archive.storeDay(kDate, marked, archive.storedFingerprint(kDate)));
    }
    DayController again(folders());
    again.start();
    again.settleDay();
    again.flushArchive();
    EXPECT_EQ(storedStake(), 12345); // the same files: not written

    QTest::qWait(20); // a modification time of its own
    writeDay(client, 5, 3);
    again.refresh();
    again.flushArchive();
    EXPECT_EQ(storedStake(), 300);
}

// A day and book read ahead on another thread come out as start() and the book's own load make them:
// the same figures, the same error, the same message on this thread.
TEST_F(ControlTest, WhatIsReadAheadIsWhatStartReads) {
    const auto overflow = [](const TempFolder& dir) {
        LogFiles::DayLog log;
        for (int i = 0; i < 25; ++i) {
            log.tickets << LogFiles::at(LogFiles::boxBet(LogFiles::Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 9999), 5, 3);
        }
        LogFiles::saveDayLog(dir.path(), QStringLiteral("LG001"), log);
    };
    const auto unreadableBook = [](const TempFolder& dir) { QDir().mkpath(dir.file(ProfitBook::fileName())); };
    const struct {
        const char* name;
        std::function<void(const TempFolder&)> spoil;
        int messages;
    } rows[] = {{"whole day", nullptr, 0}, {"overflowing log", overflow, 0}, {"unreadable book", unreadableBook, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // What each way made: the bets, the error number and the messages.
        const auto run = [&](bool ahead) {
            const TempFolder programDir;
            const TempFolder clientDir;
            writeDay(clientDir, 5);
            if (row.spoil) {
                row.spoil(clientDir);
            }
            CapturingReporter reporter;
            DayController c(Folders{programDir.path(), clientDir.path(), clientDir.file(QStringLiteral("VQDOWNLOAD"))});
            if (ahead) {
                c.readAhead();
            }
            QStringList made;
            try {
                c.start();
                made << QString::number(c.meetings()[0]->race(3)->amtBuy());
            } catch (const AppError& e) {
                made << QString::number(e.number()) + e.source();
            }
            c.loadBook();
            made << QString::number(c.book().pastCount()) << reporter.texts;
            return made.replaceInStrings(clientDir.path(), QStringLiteral("<client>/"));
        };
        const QStringList plain = run(false);
        EXPECT_EQ(run(true), plain);
        EXPECT_EQ(plain.size(), 2 + row.messages) << plain.join(u'|').toStdString();
    }
}
