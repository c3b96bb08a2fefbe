#include "ui/MainWindow.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "control/DayController.h"
#include "control/FolderWatch.h"
#include "core/Folders.h"
#include "core/IniFile.h"
#include "profit/ProfitBook.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/Colors.h"
#include "ui/QtFormWindow.h"
#include "ui/VersionDialog.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {
const QString kDate = QStringLiteral("20260405");
const QByteArray kEarlierBook = "202603011000    2500    1500     0\r\n000000000       0       0        0\r\n";
const char* const kAllButtons[] = {"refreshButton", "profitButton", "logButton", "passbookButton", "downloadButton"};

// A program folder and a client folder, with the globals start-up would have set.
class MainWindowTest : public ClientFolderTest {
protected:
    QString ini(const QString& section, const QString& key) const {
        IniFile ini;
        ini.setPathName(program.path());
        ini.setFileName(QStringLiteral("VQV50.INI"));
        return ini.value(section, key);
    }

    // One meeting; every ticket a win bet on race r with `units`, paying `payout` per 100 yen when the
    // race has a result (payout < 0: no result).
    void writeDay(const QList<std::tuple<int, int, int>>& bets) {
        AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
        a.date = kDate;
        a.amounts = {10000, 0, 0, 0};
        AccountFiles::saveAccountFile(client.path(), QLatin1Char('A'), a);
        LogFiles::DayLog log;
        for (const auto& [race, units, payout] : bets) {
            log.tickets << LogFiles::at(LogFiles::singleBet(LogFiles::Win, 0, 0, 3, units), 5, race);
            if (payout >= 0) {
                ResultFiles::ResultFile r;
                r.date = kDate;
                r.raceNum = race;
                r.payouts[0] = {{payout > 0 ? 3 : 9, 0, 0, payout > 0 ? payout : 200}};
                ResultFiles::saveResultFile(client.path(), r);
            }
        }
        if (!bets.isEmpty()) {
            LogFiles::saveDayLog(client.path(), QStringLiteral("LG001"), log);
            LogFiles::saveIndex(client.path(), {{QStringLiteral("LG001"), kDate}});
        }
    }

    static QStringList figures(const MainWindow& w) {
        QStringList f;
        for (const char* name : {"dateLabel", "statusLabel", "betsValue", "payoutsValue", "profitValue",
                                 "recoveryValue", "balanceValue"}) {
            f << child<QLabel>(&w, name)->text();
        }
        return f;
    }
};
} // namespace

TEST_F(MainWindowTest, TheSampleDayShowsWhatTheSummaryCommandPrints) {
    ASSERT_TRUE(writeSampleDay(client.path()));
    MainWindow w(folders());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    saveScreenshot(&w, QStringLiteral("main-sample-day"));

    QProcess cli;
    cli.start(QStringLiteral(VQ_VELQORA), {QStringLiteral("summary"), QStringLiteral("--json"), client.path()});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QJsonObject o = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    const QJsonObject d = o[u"display"].toObject();
    EXPECT_EQ(figures(w), (QStringList{d[u"date"].toString(), d[u"status"].toString(), d[u"bets"].toString(),
                                       d[u"payouts"].toString(), d[u"profit"].toString(), d[u"recovery"].toString(),
                                       d[u"balance"].toString()}));
    EXPECT_EQ(child<QWidget>(&w, "sheet")->toolTip(), d[u"tooltip"].toString());
    EXPECT_EQ(child<QLabel>(&w, "dateLabel")->text(), QStringLiteral("2026年12月5日(土)"));
    EXPECT_TRUE(child<QLabel>(&w, "statusLabel")->text().startsWith(QStringLiteral("あと")));

    const QJsonObject t = o[u"totals"].toObject();
    DayRefresh day;
    QObject::connect(&w.control(), &DayController::dayRefreshed, [&day](const DayRefresh& r) { day = r; });
    w.control().refresh();
    ASSERT_TRUE(day.totals.has_value());
    EXPECT_EQ(day.totals->amtBuy, t[u"amtBuy"].toInt());
    EXPECT_EQ(day.totals->amtPay, t[u"amtPay"].toInt());
    EXPECT_EQ(day.totals->amtYet, t[u"amtYet"].toInt());
    EXPECT_EQ(day.totals->amtBuyTomorrow, t[u"amtBuyTomorrow"].toInt());
    EXPECT_EQ(day.totals->amtBuyYesterday, t[u"amtBuyYesterday"].toInt());
    for (const char* b : kAllButtons) {
        EXPECT_TRUE(child<QToolButton>(&w, b)->isEnabled()) << b;
    }

    // Today's line of the profit book was written, stake including the day-before purchases.
    ProfitBook book;
    book.setFolder(client.path());
    book.load();
    ASSERT_GE(book.pastCount(), 2);
    EXPECT_EQ(book.pastDate(1), SampleDay::saleDate());
    EXPECT_EQ(book.pastBuy(1), t[u"amtBuy"].toInt() + t[u"amtBuyYesterday"].toInt());
    EXPECT_EQ(book.pastPay(1), t[u"amtPay"].toInt());
}

TEST_F(MainWindowTest, NoMeetings) {
    MainWindow w(folders());
    w.show();
    saveScreenshot(&w, QStringLiteral("main-no-meetings"));
    EXPECT_EQ(figures(w),
              (QStringList{QStringLiteral("投票要綱なし"), QString(), QStringLiteral("0"), QStringLiteral("0"),
                           QStringLiteral("0"), QStringLiteral("0.0"), QStringLiteral("0")}));
    EXPECT_FALSE(child<QToolButton>(&w, "profitButton")->isEnabled());
    EXPECT_FALSE(child<QToolButton>(&w, "logButton")->isEnabled());
    EXPECT_TRUE(child<QToolButton>(&w, "passbookButton")->isEnabled());
    // The book is opened (a first run creates it) but no day is written without a schedule.
    ProfitBook book;
    book.setFolder(client.path());
    book.load();
    EXPECT_EQ(book.pastCount(), 1);
    // No account file: nothing to download, and hovering the status line says why.
    EXPECT_FALSE(child<QToolButton>(&w, "downloadButton")->isEnabled());
    const QPoint status = child<QLabel>(&w, "statusLabel")->geometry().center();
    QHelpEvent hover(QEvent::ToolTip, status, child<QWidget>(&w, "sheet")->mapToGlobal(status));
    QApplication::sendEvent(child<QWidget>(&w, "sheet"), &hover);
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("UY-A.JRA がありません。")))
        << QToolTip::text().toStdString();
    writeDay({});
    QTest::mouseClick(child<QToolButton>(&w, "refreshButton"), Qt::LeftButton);
    EXPECT_TRUE(child<QToolButton>(&w, "downloadButton")->isEnabled());
}

TEST_F(MainWindowTest, MeetingsWithoutBets) {
    writeDay({});
    MainWindow w(folders());
    w.show();
    EXPECT_EQ(figures(w),
              (QStringList{QStringLiteral("2026年4月5日(日)"), QStringLiteral("本日は未投票です"), QStringLiteral("0"),
                           QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0.0"), QStringLiteral("10000")}));
    EXPECT_TRUE(child<QToolButton>(&w, "profitButton")->isEnabled());
    EXPECT_TRUE(child<QToolButton>(&w, "logButton")->isEnabled());
    EXPECT_EQ(child<QWidget>(&w, "sheet")->toolTip(), QString());
}

TEST_F(MainWindowTest, OpenBetsAndRecovery) {
    writeDay({{1, 1, 101}, {2, 5, -1}}); // 100 yen settled paying 101, 500 yen open
    MainWindow w(folders());
    w.show();
    saveScreenshot(&w, QStringLiteral("main-open-bets"));
    EXPECT_EQ(child<QLabel>(&w, "profitValue")->text(), QStringLiteral("-499"));
    EXPECT_EQ(child<QLabel>(&w, "statusLabel")->text(), QStringLiteral("あと500円未確定"));
    EXPECT_EQ(child<QLabel>(&w, "recoveryValue")->text(), QStringLiteral("16.8"));
}

TEST_F(MainWindowTest, ExactlyPlusOneAndMinusFiveHundred) {
    writeDay({{1, 1, 101}});
    {
        MainWindow w(folders());
        EXPECT_EQ(child<QLabel>(&w, "profitValue")->text(), QStringLiteral("+1"));
        w.close();
    }
    writeDay({{1, 5, 0}}); // a miss: 500 lost
    MainWindow w(folders());
    EXPECT_EQ(figures(w).mid(3), (QStringList{"0", "-500", "0.0", "9500"})); // payouts, profit, recovery, balance
}

TEST_F(MainWindowTest, MinimisedTitleShowsTheBalance) {
    writeDay({{1, 5, 0}});
    MainWindow w(folders());
    w.show();
    w.showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("残高 9500円"));
    w.showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("VelqoraV50"));
}

TEST_F(MainWindowTest, AlwaysOnTopFromTheSettingsAndTwoToggles) {
    program.write(QStringLiteral("VQV50.INI"), "[OPTION]\r\nposition=1\r\n");
    {
        MainWindow w(folders());
        w.show();
        EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(child<QAction>(&w, "positionAction")->isChecked());
        EXPECT_EQ(w.control().settings().position(), 1);
        child<QAction>(&w, "positionAction")->trigger();
        EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(child<QAction>(&w, "positionAction")->isChecked());
        EXPECT_TRUE(w.isVisible());
        child<QAction>(&w, "positionAction")->trigger();
        EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(child<QAction>(&w, "positionAction")->isChecked());
        child<QAction>(&w, "positionAction")->trigger();
        w.close();
    }
    EXPECT_EQ(ini(QStringLiteral("OPTION"), QStringLiteral("position")), QStringLiteral("0"));
}

TEST_F(MainWindowTest, ColoursAreChosenAppliedAndWrittenAtExit) {
    writeDay({{1, 2, 350}});
    {
        MainWindow w(folders());
        w.show();
        std::optional<QColor> answer;
        QColor offered;
        w.setColorChooser([&](const QColor& initial, const QString&) {
            offered = initial;
            return answer;
        });
        child<QAction>(&w, "backColorAction")->trigger(); // cancelled
        EXPECT_EQ(offered, QColor(Qt::white));
        EXPECT_EQ(w.control().settings().backColor(), 0xFFFFFF);
        answer = QColor(0, 0, 128);
        child<QAction>(&w, "backColorAction")->trigger();
        answer = QColor(255, 255, 0);
        child<QAction>(&w, "foreColorAction")->trigger();
        EXPECT_EQ(offered, QColor(Qt::black));
        EXPECT_EQ(child<QFrame>(&w, "figures")->palette().color(QPalette::Window), QColor(0, 0, 128));
        EXPECT_EQ(child<QLabel>(&w, "profitValue")->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        saveScreenshot(&w, QStringLiteral("main-colours"));
        w.close();
    }
    EXPECT_EQ(ini(QStringLiteral("OPTION"), QStringLiteral("backcolor")), QString::number(128 << 16));
    EXPECT_EQ(ini(QStringLiteral("OPTION"), QStringLiteral("forecolor")), QString::number(0x00FFFF));
    EXPECT_EQ(Colors::toStored(Colors::fromStored(0x80C0FF)), 0x80C0FF);
}

TEST_F(MainWindowTest, RefreshReadsTheLinkedFolderAndClosesChildWindows) {
    program.write(QStringLiteral("VQV50.INI"), "[OPTION]\r\nautorefresh=0\r\n"); // the manual refresh
    writeDay({{1, 2, 350}});
    TempFolder linked;
    {
        AccountFiles::AccountFile a = AccountFiles::allOnSale(9);
        a.date = QStringLiteral("20260406");
        a.amounts = {777, 0, 0, 0};
        AccountFiles::saveAccountFile(linked.path(), QLatin1Char('A'), a);
    }
    client.write(QStringLiteral("VQLINK.TXT"), " " + linked.path().toUtf8() + " \r\n");
    MainWindow w(folders());
    w.show();
    EXPECT_EQ(child<QLabel>(&w, "balanceValue")->text(), QStringLiteral("10500"));
    int opened = 0;
    w.host().registerWindow(IWindowHost::Window::Log, [&](DayController&, QWidget* owner, const ShownRace*) {
        ++opened;
        auto* child = new QWidget(owner, Qt::Window);
        child->resize(100, 50);
        return child;
    });
    QTest::mouseClick(child<QToolButton>(&w, "logButton"), Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(w.host().isLoaded(IWindowHost::Window::Log));

    QTest::mouseClick(child<QToolButton>(&w, "refreshButton"), Qt::LeftButton);
    EXPECT_FALSE(w.host().isLoaded(IWindowHost::Window::Log)); // closed by the refresh
    EXPECT_EQ(figures(w), (QStringList{QStringLiteral("2026年4月6日(月)"), QStringLiteral("本日は未投票です"), "0", "0",
                                       "0", "0.0", "777"}));
}

TEST_F(MainWindowTest, ButtonsWithoutTheirWindowOpenNothingAndTheDownloadButtonComesBack) {
    writeDay({{1, 2, 350}});
    MainWindow w(folders());
    w.show();
    // A download window that cannot be made.
    w.host().registerWindow(IWindowHost::Window::Browser,
                            [](DayController&, QWidget*, const ShownRace*) -> QWidget* { return nullptr; });
    for (const char* b : {"passbookButton", "downloadButton"}) {
        QTest::mouseClick(child<QToolButton>(&w, b), Qt::LeftButton);
    }
    EXPECT_TRUE(child<QToolButton>(&w, "refreshButton")->isEnabled());
    EXPECT_TRUE(child<QToolButton>(&w, "downloadButton")->isEnabled());
}

TEST_F(MainWindowTest, PlaceIsRestoredAndStoredInTwips) {
    program.write(QStringLiteral("VQV50.INI"), "[WINDOW]\r\ntop01=1500\r\nleft01=3000\r\nheight01=4500\r\n");
    {
        MainWindow w(folders());
        w.show();
        const int dpi = w.logicalDpiX();
        EXPECT_EQ(w.frameGeometry().width(), QtFormWindow::twipsToPixels(1965, dpi));
        EXPECT_EQ(w.frameGeometry().top(), QtFormWindow::twipsToPixels(1500, dpi));
        EXPECT_EQ(w.frameGeometry().left(), QtFormWindow::twipsToPixels(3000, dpi));
        EXPECT_EQ(w.frameGeometry().height(), QtFormWindow::twipsToPixels(4500, dpi));
        w.close();
    }
    EXPECT_EQ(ini(QStringLiteral("WINDOW"), QStringLiteral("top01")), QStringLiteral("1500"));
    EXPECT_EQ(ini(QStringLiteral("WINDOW"), QStringLiteral("width01")), QStringLiteral("1965"));
    EXPECT_EQ(ini(QStringLiteral("WINDOW"), QStringLiteral("width07")), QStringLiteral("0"));
    EXPECT_EQ(ini(QStringLiteral("OPTION"), QStringLiteral("button")), QStringLiteral("1"));
}

TEST_F(MainWindowTest, EveryRowFitsEvenWhenTheStoredHeightIsTooSmall) {
    program.write(QStringLiteral("VQV50.INI"), "[WINDOW]\r\nheight01=300\r\n");
    ASSERT_TRUE(writeSampleDay(client.path()));
    MainWindow w(folders());
    w.show();
    const QList<QLabel*> labels = child<QFrame>(&w, "figures")->findChildren<QLabel*>();
    EXPECT_EQ(labels.size(), 2 + 5 * 3); // the date and status lines, five rows of caption, value and unit
    for (const QLabel* l : labels) {
        EXPECT_GE(l->width(), l->sizeHint().width()) << l->objectName().toStdString();
        EXPECT_TRUE(w.rect().contains(QRect(l->mapTo(&w, QPoint(0, 0)), l->size()))) << l->objectName().toStdString();
    }
    for (const char* b : kAllButtons) {
        QToolButton* t = child<QToolButton>(&w, b);
        EXPECT_TRUE(w.rect().contains(QRect(t->mapTo(&w, QPoint(0, 0)), t->size()))) << b;
    }
}

TEST_F(MainWindowTest, ALongStatusLineIsSetSmallerRatherThanClipped) {
    writeDay({{1, 9999, -1}, {2, 9999, -1}}); // 1,999,800 yen open
    MainWindow w(folders());
    w.show();
    saveScreenshot(&w, QStringLiteral("main-long-status"));
    EXPECT_EQ(child<QLabel>(&w, "statusLabel")->text(), QStringLiteral("あと1999800円未確定"));
    for (const char* name : {"dateLabel", "statusLabel"}) {
        const QLabel* line = child<QLabel>(&w, name);
        EXPECT_LE(QFontMetrics(line->font()).horizontalAdvance(line->text()), line->contentsRect().width()) << name;
    }
    for (const char* name : {"betsValue", "payoutsValue", "profitValue", "recoveryValue", "balanceValue"}) {
        EXPECT_GE(child<QLabel>(&w, name)->width(), child<QLabel>(&w, name)->sizeHint().width()) << name;
    }
}

TEST_F(MainWindowTest, AFailedLoadIsReportedAndTheWindowStays) {
    writeDay({});
    // Stakes too large for 32 bits (a damaged log) make the folder unreadable.
    LogFiles::DayLog log;
    for (int i = 0; i < 25; ++i) {
        log.tickets << LogFiles::at(LogFiles::boxBet(LogFiles::Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 9999), 5, 3);
    }
    LogFiles::saveDayLog(client.path(), QStringLiteral("LG001"), log);
    LogFiles::saveIndex(client.path(), {{QStringLiteral("LG001"), kDate}});
    client.write(ProfitBook::fileName(), kEarlierBook);
    CapturingReporter errors;
    MainWindow w(folders());
    w.show();
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_TRUE(errors.texts[0].startsWith(QStringLiteral("BBB\r\n("))) << errors.texts[0].toStdString();
    saveScreenshot(&w, QStringLiteral("main-load-failed"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("VelqoraV50"));
    EXPECT_EQ(w.frameGeometry().width(), QtFormWindow::twipsToPixels(1965, w.logicalDpiX()));
    EXPECT_EQ(figures(w), QStringList(7, QString()));
    EXPECT_FALSE(child<QToolButton>(&w, "profitButton")->isEnabled());
    // The refresh button stays usable, so the user can try again once the client rewrites its log.
    EXPECT_TRUE(child<QToolButton>(&w, "refreshButton")->isEnabled());

    // The book was read all the same: the next refresh updates today's record beside the book's days.
    writeDay({{3, 5, 0}});
    QTest::mouseClick(child<QToolButton>(&w, "refreshButton"), Qt::LeftButton);
    EXPECT_EQ(errors.texts.size(), 1) << errors.texts.join(u'|').toStdString();
    EXPECT_EQ(client.read(ProfitBook::fileName()), "20260405500     0       -500     0\r\n" + kEarlierBook);
}

TEST_F(MainWindowTest, PopupMenuEntriesAndVersionWindow) {
    MainWindow w(folders());
    w.show();
    QStringList version;
    QTimer::singleShot(50, [&version] {
        auto* dialog = qobject_cast<VersionDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            version << child<QLabel>(dialog, "productLine")->text() << child<QLabel>(dialog, "versionLine")->text()
                    << child<QLabel>(dialog, "userLine")->text();
            saveScreenshot(dialog, QStringLiteral("version-window"));
            QTest::mouseClick(child<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        }
    });
    child<QAction>(&w, "versionAction")->trigger();
    EXPECT_EQ(version, (QStringList{QStringLiteral("VelqoraV50"), QStringLiteral("Ver 1.01"), QString()}));

    QStringList entries;
    for (QAction* a : child<QMenu>(&w, "popupMenu")->actions()) {
        entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(entries,
              (QStringList{QStringLiteral("文字色の変更(&C)"), QStringLiteral("背景色の変更(&B)"), QStringLiteral("-"),
                           QStringLiteral("常に手前に表示(&W)"), QStringLiteral("自動更新(&R)"),
                           QStringLiteral("的中のお知らせ(&H)"), QStringLiteral("-"), QStringLiteral("分析(&A)"),
                           QStringLiteral("ﾊﾞｰｼﾞｮﾝ(&V)"), QStringLiteral("-"), QStringLiteral("最小化(&N)"),
                           QStringLiteral("VelqoraV50終了(&X)")}));

    // 自動更新 unticked: nothing watches the folders any more, and the choice is written at exit.
    ASSERT_TRUE(child<QAction>(&w, "autoRefreshAction")->isChecked()); // a new settings file
    child<QAction>(&w, "autoRefreshAction")->trigger();
    EXPECT_TRUE(w.control().findChildren<FolderWatch*>().isEmpty());
    w.close();
    EXPECT_EQ(ini(QStringLiteral("OPTION"), QStringLiteral("autorefresh")), QStringLiteral("0"));
}

// A log cut inside a record: the figures of its whole records with their usual texts, the status line in
// red and the tooltip naming the file; a refresh on the whole log clears both.
TEST_F(MainWindowTest, ALogNotReadWholeIsNamedInTheTooltipAndTheStatusTurnsRed) {
    writeDay({{1, 2, -1}, {2, 3, -1}});
    const QByteArray whole = client.read(QStringLiteral("LG001.JRA"));
    client.write(QStringLiteral("LG001.JRA"), whole.left(whole.size() - 10));
    MainWindow w(folders());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const auto* status = child<QLabel>(&w, "statusLabel");
    const auto* sheet = child<QWidget>(&w, "sheet");
    EXPECT_EQ(status->text(), QStringLiteral("あと200円未確定"));
    EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(sheet->toolTip().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("読み込めないファイルがあります: LG001.JRA"));
    saveScreenshot(&w, QStringLiteral("main-log-not-read-whole"));

    client.write(QStringLiteral("LG001.JRA"), whole);
    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_EQ(status->text(), QStringLiteral("あと500円未確定"));
    EXPECT_NE(status->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(sheet->toolTip(), QString());
}

// 自動更新: a result saved into today's download folder and a ticket the client writes in two parts reach
// the figures, the book and the open profit table by themselves, each once the files are quiet.
TEST_F(MainWindowTest, ALiveDayFollowsTheClientWithoutAClick) {
    writeDay({{1, 2, -1}, {2, 1, -1}});
    MainWindow w(folders());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QSignalSpy notices(&w, &MainWindow::hitsAnnounced);
    QSignalSpy refreshed(&w.control(), &DayController::dayRefreshed);
    QTest::mouseClick(child<QToolButton>(&w, "profitButton"), Qt::LeftButton);
    QWidget* table = w.host().loaded(IWindowHost::Window::Profit);
    ASSERT_TRUE(table);
    const QPoint place = table->pos();
    EXPECT_EQ(child<QLabel>(table, "profitCell_1_1")->text(), QStringLiteral("-200"));

    ResultFiles::ResultFile r;
    r.date = kDate;
    r.raceNum = 1;
    r.payouts[0] = {{3, 0, 0, 350}};
    ASSERT_TRUE(QDir().mkpath(folders().download + QStringLiteral("/") + kDate));
    // The result arrives while a dialog of the table is up: the table is not closed under it, and the day
    // is read once the dialog has been answered.
    auto* ask = new QDialog(table);
    QString whileAsked;
    QTimer::singleShot(0, [&] { ResultFiles::saveResultFile(folders().download + QStringLiteral("/") + kDate, r); });
    QTimer::singleShot(1500, [&] {
        whileAsked = child<QLabel>(&w, "payoutsValue")->text();
        ask->accept();
    });
    ask->exec();
    delete ask;
    EXPECT_EQ(whileAsked, QStringLiteral("0"));
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(&w, "payoutsValue")->text(), QStringLiteral("700"), 3000);
    ProfitBook book;
    book.setFolder(client.path());
    book.load();
    EXPECT_EQ(book.pastPay(1), 700);
    ASSERT_EQ(w.host().loaded(IWindowHost::Window::Profit), table); // the very window, filled again
    EXPECT_EQ(table->pos(), place);
    EXPECT_EQ(child<QLabel>(table, "profitCell_1_1")->text(), QStringLiteral("500"));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices[0][0].toStringList(), QStringList{QStringLiteral("的中 東京1R 単勝 3 700円")});

    // The client rewrites its log with a third ticket, cut short first.
    const int before = int(refreshed.size());
    LogFiles::DayLog log;
    for (const auto& [race, units] : {std::pair{1, 2}, {2, 1}, {3, 4}}) {
        log.tickets << LogFiles::at(LogFiles::singleBet(LogFiles::Win, 0, 0, 3, units), 5, race);
    }
    const QByteArray whole = LogFiles::writeDayLog(log);
    client.write(QStringLiteral("LG001.JRA"), whole.left(whole.size() - 30));
    QTest::qWait(200);
    client.write(QStringLiteral("LG001.JRA"), whole);
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(&w, "betsValue")->text(), QStringLiteral("700"), 3000);
    QTest::qWait(1000);
    EXPECT_EQ(refreshed.size(), before + 1);
    EXPECT_EQ(notices.size(), 1); // the race already announced says nothing again
}
