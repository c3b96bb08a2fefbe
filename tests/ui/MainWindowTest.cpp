#include "ui/MainWindow.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "control/DayController.h"
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
#include <QFrame>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {
const QString kDate = QStringLiteral("20260405");
const QByteArray kEarlierBook = "202603011000    2500    1500     0\r\n000000000       0       0        0\r\n";
const int kAllButtons[] = {MainWindow::RefreshButton, MainWindow::ProfitButton, MainWindow::LogButton,
                           MainWindow::RecordButton, MainWindow::DownloadButton};

// A program folder and a client folder, with the globals start-up would have set.
class MainWindowTest : public ClientFolderTest {
protected:
    QString Ini(const QString& section, const QString& key) const {
        IniFile ini;
        ini.setPathName(program.Path());
        ini.setFileName(QStringLiteral("VQV50.INI"));
        return ini.GetData(section, key);
    }

    // One meeting; every ticket a win bet on race r with `units`, paying `payout` per 100 yen when the
    // race has a result (payout < 0: no result).
    void WriteDay(const QList<std::tuple<int, int, int>>& bets) {
        AccountFiles::AccountFile a = AccountFiles::AllOnSale(5);
        a.Date = kDate;
        a.Amounts = {10000, 0, 0, 0};
        AccountFiles::SaveAccountFile(client.Path(), QLatin1Char('A'), a);
        LogFiles::DayLog log;
        for (const auto& [race, units, payout] : bets) {
            log.Tickets << LogFiles::At(LogFiles::SingleBet(LogFiles::Win, 0, 0, 3, units), 5, race);
            if (payout >= 0) {
                ResultFiles::ResultFile r;
                r.Date = kDate;
                r.RaceNum = race;
                r.Payouts[0] = {{payout > 0 ? 3 : 9, 0, 0, payout > 0 ? payout : 200}};
                ResultFiles::SaveResultFile(client.Path(), r);
            }
        }
        if (!bets.isEmpty()) {
            LogFiles::SaveDayLog(client.Path(), QStringLiteral("LG001"), log);
            LogFiles::SaveIndex(client.Path(), {{QStringLiteral("LG001"), kDate}});
        }
    }

    static QStringList Figures(const MainWindow& w) {
        QStringList f;
        for (int i : {MainWindow::DateLabel, MainWindow::StatusLabel, MainWindow::BetsLabel, MainWindow::PayoutsLabel,
                      MainWindow::ProfitLabel, MainWindow::RecoveryLabel, MainWindow::BalanceLabel}) {
            f << w.Label(i)->text();
        }
        return f;
    }
};
} // namespace

TEST_F(MainWindowTest, TheSampleDayShowsWhatTheSummaryCommandPrints) {
    ASSERT_TRUE(WriteSampleDay(client.Path()));
    MainWindow w(folders());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    SaveScreenshot(&w, QStringLiteral("main-sample-day"));

    QProcess cli;
    cli.start(QStringLiteral(VQ_VELQORA), {QStringLiteral("summary"), QStringLiteral("--json"), client.Path()});
    ASSERT_TRUE(cli.waitForFinished(60000));
    const QJsonObject o = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    const QJsonObject d = o[u"display"].toObject();
    EXPECT_EQ(Figures(w), (QStringList{d[u"date"].toString(), d[u"status"].toString(), d[u"bets"].toString(),
                                       d[u"payouts"].toString(), d[u"profit"].toString(), d[u"recovery"].toString(),
                                       d[u"balance"].toString()}));
    EXPECT_EQ(w.lblWindow()->toolTip(), d[u"tooltip"].toString());
    EXPECT_EQ(w.Label(MainWindow::DateLabel)->text(), QStringLiteral("2026年12月5日(土)"));
    EXPECT_TRUE(w.Label(MainWindow::StatusLabel)->text().startsWith(QStringLiteral("あと")));

    const QJsonObject t = o[u"totals"].toObject();
    EXPECT_EQ(w.Control().AmtBuy(), t[u"amtBuy"].toInt());
    EXPECT_EQ(w.Control().AmtPay(), t[u"amtPay"].toInt());
    EXPECT_EQ(w.Control().AmtYet(), t[u"amtYet"].toInt());
    EXPECT_EQ(w.Control().AmtBuyTomorrow(), t[u"amtBuyTomorrow"].toInt());
    EXPECT_EQ(w.Control().AmtBuyYesterday(), t[u"amtBuyYesterday"].toInt());
    for (int b : kAllButtons) {
        EXPECT_TRUE(w.ToolButton(b)->isEnabled()) << b;
    }

    // Today's line of the profit book was written, stake including the day-before purchases.
    ProfitBook book;
    book.setFolder(client.Path());
    book.GetRecord();
    ASSERT_GE(book.PastCount(), 2);
    EXPECT_EQ(book.PastDate(1), SampleDay::SaleDate());
    EXPECT_EQ(book.PastBuy(1), t[u"amtBuy"].toInt() + t[u"amtBuyYesterday"].toInt());
    EXPECT_EQ(book.PastPay(1), t[u"amtPay"].toInt());
}

TEST_F(MainWindowTest, NoMeetings) {
    MainWindow w(folders());
    w.show();
    SaveScreenshot(&w, QStringLiteral("main-no-meetings"));
    EXPECT_EQ(Figures(w),
              (QStringList{QStringLiteral("投票要綱なし"), QString(), QStringLiteral("0"), QStringLiteral("0"),
                           QStringLiteral("0"), QStringLiteral("0.0"), QStringLiteral("0")}));
    EXPECT_FALSE(w.ToolButton(MainWindow::ProfitButton)->isEnabled());
    EXPECT_FALSE(w.ToolButton(MainWindow::LogButton)->isEnabled());
    EXPECT_TRUE(w.ToolButton(MainWindow::RecordButton)->isEnabled());
    // The book is opened (a first run creates it) but no day is written without a schedule.
    ProfitBook book;
    book.setFolder(client.Path());
    book.GetRecord();
    EXPECT_EQ(book.PastCount(), 1);
    // No account file: nothing to download, and hovering the status line says why.
    EXPECT_FALSE(w.ToolButton(MainWindow::DownloadButton)->isEnabled());
    const QPoint status = w.Label(MainWindow::StatusLabel)->geometry().center();
    QHelpEvent hover(QEvent::ToolTip, status, w.lblWindow()->mapToGlobal(status));
    QApplication::sendEvent(w.lblWindow(), &hover);
    EXPECT_TRUE(QToolTip::text().startsWith(QStringLiteral("UY-A.JRA がありません。")))
        << QToolTip::text().toStdString();
    WriteDay({});
    QTest::mouseClick(w.ToolButton(MainWindow::RefreshButton), Qt::LeftButton);
    EXPECT_TRUE(w.ToolButton(MainWindow::DownloadButton)->isEnabled());
}

TEST_F(MainWindowTest, MeetingsWithoutBets) {
    WriteDay({});
    MainWindow w(folders());
    w.show();
    EXPECT_EQ(Figures(w),
              (QStringList{QStringLiteral("2026年4月5日(日)"), QStringLiteral("本日は未投票です"), QStringLiteral("0"),
                           QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0.0"), QStringLiteral("10000")}));
    EXPECT_TRUE(w.ToolButton(MainWindow::ProfitButton)->isEnabled());
    EXPECT_TRUE(w.ToolButton(MainWindow::LogButton)->isEnabled());
    EXPECT_EQ(w.lblWindow()->toolTip(), QString());
}

TEST_F(MainWindowTest, OpenBetsAndRecovery) {
    WriteDay({{1, 1, 101}, {2, 5, -1}}); // 100 yen settled paying 101, 500 yen open
    MainWindow w(folders());
    w.show();
    SaveScreenshot(&w, QStringLiteral("main-open-bets"));
    EXPECT_EQ(w.Label(MainWindow::ProfitLabel)->text(), QStringLiteral("-499"));
    EXPECT_EQ(w.Label(MainWindow::StatusLabel)->text(), QStringLiteral("あと500円未確定"));
    EXPECT_EQ(w.Label(MainWindow::RecoveryLabel)->text(), QStringLiteral("16.8"));
}

TEST_F(MainWindowTest, ExactlyPlusOneAndMinusFiveHundred) {
    WriteDay({{1, 1, 101}});
    {
        MainWindow w(folders());
        EXPECT_EQ(w.Label(MainWindow::ProfitLabel)->text(), QStringLiteral("+1"));
        w.close();
    }
    WriteDay({{1, 5, 0}}); // a miss: 500 lost
    MainWindow w(folders());
    EXPECT_EQ(w.Label(MainWindow::ProfitLabel)->text(), QStringLiteral("-500"));
    EXPECT_EQ(w.Label(MainWindow::PayoutsLabel)->text(), QStringLiteral("0"));
    EXPECT_EQ(w.Label(MainWindow::BalanceLabel)->text(), QStringLiteral("9500"));
}

TEST_F(MainWindowTest, MinimisedTitleShowsTheBalance) {
    WriteDay({{1, 5, 0}});
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
    program.Write(QStringLiteral("VQV50.INI"), "[OPTION]\r\nposition=1\r\n");
    {
        MainWindow w(folders());
        w.show();
        EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(w.mnuPos->isChecked());
        EXPECT_EQ(w.Control().Position(), 1);
        w.mnuPos->trigger();
        EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_FALSE(w.mnuPos->isChecked());
        EXPECT_TRUE(w.isVisible());
        w.mnuPos->trigger();
        EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(w.mnuPos->isChecked());
        w.mnuPos->trigger();
        w.close();
    }
    EXPECT_EQ(Ini(QStringLiteral("OPTION"), QStringLiteral("position")), QStringLiteral("0"));
}

TEST_F(MainWindowTest, ColoursAreChosenAppliedAndWrittenAtExit) {
    WriteDay({{1, 2, 350}});
    {
        MainWindow w(folders());
        w.show();
        std::optional<QColor> answer;
        QColor offered;
        w.setColorChooser([&](const QColor& initial, const QString&) {
            offered = initial;
            return answer;
        });
        w.mnuBColor->trigger(); // cancelled
        EXPECT_EQ(offered, QColor(Qt::white));
        EXPECT_EQ(w.Control().BackColor(), 0xFFFFFF);
        answer = QColor(0, 0, 128);
        w.mnuBColor->trigger();
        answer = QColor(255, 255, 0);
        w.mnuFColor->trigger();
        EXPECT_EQ(offered, QColor(Qt::black));
        EXPECT_EQ(w.picMain()->palette().color(QPalette::Window), QColor(0, 0, 128));
        EXPECT_EQ(w.Label(MainWindow::ProfitLabel)->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        SaveScreenshot(&w, QStringLiteral("main-colours"));
        w.close();
    }
    EXPECT_EQ(Ini(QStringLiteral("OPTION"), QStringLiteral("backcolor")), QString::number(128 << 16));
    EXPECT_EQ(Ini(QStringLiteral("OPTION"), QStringLiteral("forecolor")), QString::number(0x00FFFF));
    EXPECT_EQ(Colors::ToStored(Colors::FromStored(0x80C0FF)), 0x80C0FF);
}

TEST_F(MainWindowTest, RefreshReadsTheLinkedFolderAndClosesChildWindows) {
    WriteDay({{1, 2, 350}});
    TempFolder linked;
    {
        AccountFiles::AccountFile a = AccountFiles::AllOnSale(9);
        a.Date = QStringLiteral("20260406");
        a.Amounts = {777, 0, 0, 0};
        AccountFiles::SaveAccountFile(linked.Path(), QLatin1Char('A'), a);
    }
    client.Write(QStringLiteral("VQLINK.TXT"), " " + linked.Path().toUtf8() + " \r\n");
    MainWindow w(folders());
    w.show();
    EXPECT_EQ(w.Label(MainWindow::BalanceLabel)->text(), QStringLiteral("10500"));
    int opened = 0;
    w.Host().Register(IWindowHost::Window::Log, [&](DayController&, QWidget* owner) {
        ++opened;
        auto* child = new QWidget(owner, Qt::Window);
        child->resize(100, 50);
        return child;
    });
    QTest::mouseClick(w.ToolButton(MainWindow::LogButton), Qt::LeftButton);
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(w.Host().IsLoaded(IWindowHost::Window::Log));

    QTest::mouseClick(w.ToolButton(MainWindow::RefreshButton), Qt::LeftButton);
    EXPECT_FALSE(w.Host().IsLoaded(IWindowHost::Window::Log)); // closed by the refresh
    EXPECT_EQ(w.Label(MainWindow::DateLabel)->text(), QStringLiteral("2026年4月6日(月)"));
    EXPECT_EQ(w.Label(MainWindow::StatusLabel)->text(), QStringLiteral("本日は未投票です"));
    EXPECT_EQ(w.Label(MainWindow::BalanceLabel)->text(), QStringLiteral("777"));
}

TEST_F(MainWindowTest, ButtonsWithoutTheirWindowOpenNothingAndTheDownloadButtonComesBack) {
    WriteDay({{1, 2, 350}});
    MainWindow w(folders());
    w.show();
    // A download window that cannot be made.
    w.Host().Register(IWindowHost::Window::Browser, [](DayController&, QWidget*) -> QWidget* { return nullptr; });
    for (int b : {MainWindow::RecordButton, MainWindow::DownloadButton}) {
        QTest::mouseClick(w.ToolButton(b), Qt::LeftButton);
    }
    EXPECT_TRUE(w.ToolButton(MainWindow::RefreshButton)->isEnabled());
    EXPECT_TRUE(w.ToolButton(MainWindow::DownloadButton)->isEnabled());
}

TEST_F(MainWindowTest, PlaceIsRestoredAndStoredInTwips) {
    program.Write(QStringLiteral("VQV50.INI"), "[WINDOW]\r\ntop01=1500\r\nleft01=3000\r\nheight01=4500\r\n");
    {
        MainWindow w(folders());
        w.show();
        const int dpi = w.logicalDpiX();
        EXPECT_EQ(w.frameGeometry().width(), QtFormWindow::TwipsToPixels(1965, dpi));
        EXPECT_EQ(w.frameGeometry().top(), QtFormWindow::TwipsToPixels(1500, dpi));
        EXPECT_EQ(w.frameGeometry().left(), QtFormWindow::TwipsToPixels(3000, dpi));
        EXPECT_EQ(w.frameGeometry().height(), QtFormWindow::TwipsToPixels(4500, dpi));
        w.close();
    }
    EXPECT_EQ(Ini(QStringLiteral("WINDOW"), QStringLiteral("top01")), QStringLiteral("1500"));
    EXPECT_EQ(Ini(QStringLiteral("WINDOW"), QStringLiteral("width01")), QStringLiteral("1965"));
    EXPECT_EQ(Ini(QStringLiteral("WINDOW"), QStringLiteral("width07")), QStringLiteral("0"));
    EXPECT_EQ(Ini(QStringLiteral("OPTION"), QStringLiteral("button")), QStringLiteral("1"));
}

TEST_F(MainWindowTest, EveryRowFitsEvenWhenTheStoredHeightIsTooSmall) {
    program.Write(QStringLiteral("VQV50.INI"), "[WINDOW]\r\nheight01=300\r\n");
    ASSERT_TRUE(WriteSampleDay(client.Path()));
    MainWindow w(folders());
    w.show();
    for (int i = 0; i < MainWindow::LabelCount; ++i) {
        QLabel* l = w.Label(i);
        EXPECT_GE(l->width(), l->sizeHint().width()) << i;
        EXPECT_TRUE(w.rect().contains(QRect(l->mapTo(&w, QPoint(0, 0)), l->size()))) << i;
    }
    for (int b : kAllButtons) {
        QToolButton* t = w.ToolButton(b);
        EXPECT_TRUE(w.rect().contains(QRect(t->mapTo(&w, QPoint(0, 0)), t->size()))) << b;
    }
}

TEST_F(MainWindowTest, ALongStatusLineIsSetSmallerRatherThanClipped) {
    WriteDay({{1, 9999, -1}, {2, 9999, -1}}); // 1,999,800 yen open
    MainWindow w(folders());
    w.show();
    SaveScreenshot(&w, QStringLiteral("main-long-status"));
    QLabel* status = w.Label(MainWindow::StatusLabel);
    EXPECT_EQ(status->text(), QStringLiteral("あと1999800円未確定"));
    EXPECT_LE(QFontMetrics(status->font()).horizontalAdvance(status->text()), status->contentsRect().width());
    EXPECT_LE(
        QFontMetrics(w.Label(MainWindow::DateLabel)->font()).horizontalAdvance(w.Label(MainWindow::DateLabel)->text()),
        w.Label(MainWindow::DateLabel)->contentsRect().width());
    for (int i = MainWindow::BetsLabel; i <= MainWindow::BalanceLabel; ++i) {
        EXPECT_GE(w.Label(i)->width(), w.Label(i)->sizeHint().width()) << i;
    }
}

TEST_F(MainWindowTest, AFailedLoadIsReportedAndTheWindowStays) {
    WriteDay({});
    // Stakes too large for 32 bits (a damaged log) make the folder unreadable.
    LogFiles::DayLog log;
    for (int i = 0; i < 25; ++i) {
        log.Tickets << LogFiles::At(LogFiles::BoxBet(LogFiles::Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 9999), 5, 3);
    }
    LogFiles::SaveDayLog(client.Path(), QStringLiteral("LG001"), log);
    LogFiles::SaveIndex(client.Path(), {{QStringLiteral("LG001"), kDate}});
    client.Write(ProfitBook::FileName(), kEarlierBook);
    CapturingReporter errors;
    MainWindow w(folders());
    w.show();
    ASSERT_EQ(errors.texts.size(), 1);
    EXPECT_TRUE(errors.texts[0].startsWith(QStringLiteral("BBB\r\n("))) << errors.texts[0].toStdString();
    SaveScreenshot(&w, QStringLiteral("main-load-failed"));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), QStringLiteral("VelqoraV50"));
    EXPECT_EQ(w.frameGeometry().width(), QtFormWindow::TwipsToPixels(1965, w.logicalDpiX()));
    EXPECT_EQ(w.Label(MainWindow::DateLabel)->text(), QString());
    EXPECT_EQ(w.Label(MainWindow::BalanceLabel)->text(), QString());
    EXPECT_FALSE(w.ToolButton(MainWindow::ProfitButton)->isEnabled());
    // The refresh button stays usable, so the user can try again once the client rewrites its log.
    EXPECT_TRUE(w.ToolButton(MainWindow::RefreshButton)->isEnabled());

    // The book was read all the same: the next refresh updates today's record beside the book's days.
    WriteDay({{3, 5, 0}});
    QTest::mouseClick(w.ToolButton(MainWindow::RefreshButton), Qt::LeftButton);
    EXPECT_EQ(errors.texts.size(), 1) << errors.texts.join(u'|').toStdString();
    EXPECT_EQ(client.Read(ProfitBook::FileName()), "20260405500     0       -500     0\r\n" + kEarlierBook);
}

TEST_F(MainWindowTest, PopupMenuEntriesAndVersionWindow) {
    MainWindow w(folders());
    w.show();
    QStringList version;
    QTimer::singleShot(50, [&version] {
        auto* dialog = qobject_cast<VersionDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            version << dialog->lblProc->text() << dialog->lblVer->text() << dialog->lblUser->text();
            SaveScreenshot(dialog, QStringLiteral("version-window"));
            QTest::mouseClick(dialog->ComOK, Qt::LeftButton);
        }
    });
    w.mnuVer->trigger();
    EXPECT_EQ(version, (QStringList{QStringLiteral("VelqoraV50"), QStringLiteral("Ver 1.01"), QString()}));

    QStringList entries;
    for (QAction* a : w.mnuPop()->actions()) {
        entries << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    EXPECT_EQ(entries, (QStringList{QStringLiteral("文字色の変更(&C)"), QStringLiteral("背景色の変更(&B)"),
                                    QStringLiteral("-"), QStringLiteral("常に手前に表示(&W)"), QStringLiteral("-"),
                                    QStringLiteral("分析(&A)"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ(&V)"), QStringLiteral("-"),
                                    QStringLiteral("最小化(&N)"), QStringLiteral("VelqoraV50終了(&X)")}));
}

// A log cut inside a record: the figures of its whole records with their usual texts, the status line in
// red and the tooltip naming the file; a refresh on the whole log clears both.
TEST_F(MainWindowTest, ALogNotReadWholeIsNamedInTheTooltipAndTheStatusTurnsRed) {
    WriteDay({{1, 2, -1}, {2, 3, -1}});
    const QByteArray whole = client.Read(QStringLiteral("LG001.JRA"));
    client.Write(QStringLiteral("LG001.JRA"), whole.left(whole.size() - 10));
    MainWindow w(folders());
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const auto* status = w.findChild<QLabel*>(QStringLiteral("label1"));
    auto* sheet = w.findChild<QWidget*>(QStringLiteral("lblWindow"));
    EXPECT_EQ(status->text(), QStringLiteral("あと200円未確定"));
    EXPECT_EQ(status->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(sheet->toolTip().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("読み込めないファイルがあります: LG001.JRA"));
    SaveScreenshot(&w, QStringLiteral("main-log-not-read-whole"));

    client.Write(QStringLiteral("LG001.JRA"), whole);
    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_EQ(status->text(), QStringLiteral("あと500円未確定"));
    EXPECT_NE(status->palette().color(QPalette::WindowText), QColor(Qt::red));
    EXPECT_EQ(sheet->toolTip(), QString());
}
