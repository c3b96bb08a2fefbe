#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "control/DayController.h"
#include "core/Folders.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/ClickLabel.h"
#include "ui/MainWindow.h"
#include "ui/ProfitTableWindow.h"
#include "ui/QtFormWindow.h"
#include "ui/RaceDetailWindow.h"
#include "ui/ResultsWindow.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {
using Window = IWindowHost::Window;

class RaceWindowsTest : public ClientFolderTest {
protected:
    template <class Form>
    static Form* loaded(MainWindow& w, Window kind) {
        return qobject_cast<Form*>(w.host().loaded(kind));
    }
    static void shot(QWidget* window, const QString& name) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        saveScreenshot(window, name);
    }
    static QStringList lines(const RaceDetailWindow* detail) {
        return child<QPlainTextEdit>(detail, "textView")->toPlainText().split(QLatin1Char('\n'));
    }
};
} // namespace

// Figures of the sample day, from its programme: meeting 1 has stakes 1500, 800, 600 × 4, 100, 300 on
// races 1-8 (all run, paying 1750, 1360, 0, 1630, 2010, 15650, 780, 3210), 1000 and 3000 on the open
// races 9 and 11, and 500 + 300 on the next day's races 11 and 12.
TEST_F(RaceWindowsTest, ProfitTableShowsTheDayAndOpensTheRaceWindowsOfTheCellPicked) {
    ASSERT_TRUE(writeSampleDay(client.path()));
    MainWindow w(folders());
    w.show();
    QTest::mouseClick(child<QToolButton>(&w, "profitButton"), Qt::LeftButton);
    ProfitTableWindow* profit = loaded<ProfitTableWindow>(w, Window::Profit);
    ASSERT_NE(profit, nullptr);
    shot(profit, QStringLiteral("profit-three-meetings"));
    EXPECT_EQ(profit->windowTitle(), QStringLiteral("12月5日(土)"));
    EXPECT_EQ(child<QLabel>(profit, "meetingTitle_1")->text(), QStringLiteral("中山 5回 1日"));
    for (const char* panel : {"meetingPanel_1", "meetingPanel_2", "meetingPanel_3"}) {
        EXPECT_TRUE(child<QFrame>(profit, panel)->isVisible()) << panel;
    }
    struct Cell {
        int race; // of meeting 1
        const char* stake;
        const char* profit;
        const char* colours; // the profit cell's
    };
    for (const Cell& c : {Cell{1, "1500", "250", "color: #FFFFFF;background: #000000;"},
                          Cell{3, "600", "-600", "color: #FFFFFF;background: #FF0000;"}, Cell{9, "1000", "-1000", ""},
                          Cell{10, "0", "0", ""}}) {
        EXPECT_TRUE(child<QLabel>(profit, QStringLiteral("raceTitle_1_%1").arg(c.race))->isVisible()) << c.race;
        EXPECT_EQ(child<QLabel>(profit, QStringLiteral("stakeCell_1_%1").arg(c.race))->text(), c.stake) << c.race;
        EXPECT_EQ(child<QLabel>(profit, QStringLiteral("profitCell_1_%1").arg(c.race))->text(), c.profit) << c.race;
        EXPECT_EQ(child<QLabel>(profit, QStringLiteral("profitCell_1_%1").arg(c.race))->styleSheet(), c.colours)
            << c.race;
    }
    EXPECT_EQ(child<QLabel>(profit, "tomorrowCell_1")->text(), QStringLiteral("800"));
    EXPECT_EQ(child<QLabel>(profit, "tomorrowCell_1")->toolTip(), QStringLiteral("9R 0\n10R 0\n11R 500\n12R 300"));
    EXPECT_EQ(child<QLabel>(profit, "stakeTotal_1")->text(), QStringLiteral("9100"));
    EXPECT_EQ(child<QLabel>(profit, "profitTotal_1")->text(), QStringLiteral("17290")); // 26390 paid − 9100

    // Meeting 3, race 4: the dead heat, settled, with its result beside the detail.
    QTest::mouseClick(child<ClickLabel>(profit, "profitCell_3_4"), Qt::LeftButton);
    RaceDetailWindow* detail = loaded<RaceDetailWindow>(w, Window::Detail);
    ResultsWindow* kekka = loaded<ResultsWindow>(w, Window::Kekka);
    ASSERT_NE(detail, nullptr);
    ASSERT_NE(kekka, nullptr);
    EXPECT_EQ(detail->windowTitle(), QStringLiteral(" 中京 4R"));
    EXPECT_EQ(lines(detail).constLast(), QStringLiteral("           損益     2090"));
    EXPECT_TRUE(kekka->windowTitle().startsWith(QStringLiteral(" 中京 4R ")));
    EXPECT_EQ(child<QLabel>(kekka, "chakuCell_1")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QLabel>(kekka, "chakuCell_2")->text(), QStringLiteral("1"));
    EXPECT_EQ(child<QLabel>(kekka, "kenshuCell_1")->text(), QStringLiteral("単勝"));
    EXPECT_EQ(child<QLabel>(kekka, "kenshuCell_2")->text(), QString()); // the second winner's row
    EXPECT_FALSE(kekka->frameGeometry().intersects(detail->frameGeometry()));
    shot(detail, QStringLiteral("detail-settled"));
    shot(kekka, QStringLiteral("results-dead-heat"));

    // Meeting 2, race 2 by the keyboard: the scratched horse's refund.
    child<ClickLabel>(profit, "stakeCell_2_2")->setFocus();
    QTest::keyClick(child<ClickLabel>(profit, "stakeCell_2_2"), Qt::Key_Return);
    kekka = loaded<ResultsWindow>(w, Window::Kekka);
    ASSERT_NE(kekka, nullptr);
    EXPECT_EQ(child<QLabel>(kekka, "henkanUmaLine")->text(), QStringLiteral(" 4"));
    shot(kekka, QStringLiteral("results-refund"));

    // Meeting 1, race 11: open, so live odds and no results window.
    QTest::mouseClick(child<ClickLabel>(profit, "raceTitle_1_11"), Qt::LeftButton);
    detail = loaded<RaceDetailWindow>(w, Window::Detail);
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(loaded<ResultsWindow>(w, Window::Kekka), nullptr);
    EXPECT_EQ(lines(detail).constFirst(), QStringLiteral("@単勝　        4    1000    2.4"));
    EXPECT_EQ(lines(detail).at(lines(detail).size() - 3), QStringLiteral("         未確定(    3000)"));
    detail->resize(detail->width() + 60, detail->height() + 200);
    shot(detail, QStringLiteral("detail-live-odds"));
    // The text keeps a 30-twip margin right and below.
    const int margin = QtFormWindow::twipsToPixels(30, detail->logicalDpiX());
    EXPECT_EQ(child<QPlainTextEdit>(detail, "textView")->geometry().right() + 1, detail->width() - margin);
    EXPECT_EQ(child<QPlainTextEdit>(detail, "textView")->geometry().bottom() + 1, detail->height() - margin);

    // Meeting 3's advance-sale cell opens the next day's first race on sale (race 11).
    QTest::mouseClick(child<ClickLabel>(profit, "tomorrowCell_3"), Qt::LeftButton);
    detail = loaded<RaceDetailWindow>(w, Window::Detail);
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->windowTitle(), QStringLiteral("前日 中京 11R"));
    // Meeting 1 sells races 9 to 12 of the next day, and its cell sums the bets on 11R and 12R: a click
    // opens 11R, the first with a bet, not 9R, which has none and would open nothing.
    QTest::mouseClick(child<ClickLabel>(profit, "tomorrowCell_1"), Qt::LeftButton);
    detail = loaded<RaceDetailWindow>(w, Window::Detail);
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->windowTitle(), QStringLiteral("前日 中山 11R"));

    // Closing the table closes the race windows and keeps its width.
    profit->resize(profit->width() + 40, profit->height());
    const int width = profit->frameGeometry().width();
    profit->close();
    EXPECT_FALSE(w.host().isLoaded(Window::Detail));
    EXPECT_FALSE(w.host().isLoaded(Window::Profit));
    QTest::mouseClick(child<QToolButton>(&w, "profitButton"), Qt::LeftButton);
    profit = loaded<ProfitTableWindow>(w, Window::Profit);
    ASSERT_NE(profit, nullptr);
    EXPECT_NEAR(profit->frameGeometry().width(), width, 1);
}

// A race with a triple dead heat for first: every section of the result file full (33 payouts), a
// refunded horse, two finisher slots left empty, no odds file.
TEST_F(RaceWindowsTest, ResultsWindowShowsEveryPayoutAndScrollsPastTwentyTwoRows) {
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = QStringLiteral("20260405");
    AccountFiles::saveAccountFile(client.path(), QLatin1Char('A'), a);
    LogFiles::DayLog log;
    log.tickets << LogFiles::at(LogFiles::singleBet(LogFiles::Win, 0, 0, 4, 1), 5, 11);
    LogFiles::saveDayLog(client.path(), QStringLiteral("LG001"), log);
    LogFiles::saveIndex(client.path(), {{QStringLiteral("LG001"), a.date}});
    ResultFiles::ResultFile r;
    r.finishers[0] = {1, 4, QStringLiteral("アオ"), QStringLiteral("1:35.0"), 4};
    r.finishers[1] = {1, 2, QStringLiteral("クロ"), QStringLiteral("同着"), 2};
    r.finishers[2] = {1, 13, QStringLiteral("ミドリ"), QStringLiteral("同着"), 7};
    r.refundHorses = {9};
    for (int type = 1; type <= 7; ++type) {
        for (int e = 0; e < ResultFiles::sectionEntries(type); ++e) {
            const ResultFiles::Payout p = type <= 2   ? ResultFiles::Payout{e + 4, 0, 0, 0}
                                          : type <= 6 ? ResultFiles::Payout{1, e + 2, 0, 0}
                                                      : ResultFiles::Payout{1, e + 2, e + 3, 0};
            r.payouts[size_t(type - 1)] << p;
            r.payouts[size_t(type - 1)].last().amount = 100 * (type * 10 + e);
        }
    }
    // Win pays 520 on horse 4 in the first row.
    r.payouts[0][0] = {4, 0, 0, 520};
    ResultFiles::saveResultFile(client.path(), r);

    MainWindow w(folders());
    w.show();
    w.control().showRaceDetail(1, 11);
    ResultsWindow* kekka = loaded<ResultsWindow>(w, Window::Kekka);
    RaceDetailWindow* detail = loaded<RaceDetailWindow>(w, Window::Detail);
    ASSERT_NE(kekka, nullptr);
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(lines(detail).constFirst(), QStringLiteral(" 単勝　        4     100 ○"));

    ASSERT_TRUE(child<QLabel>(kekka, "kenshuCell_33") && !kekka->findChild<QLabel*>(QStringLiteral("kenshuCell_34")));
    int labelled = 0;
    for (int i = 1; i <= 33; ++i) {
        labelled += child<QLabel>(kekka, "kenshuCell_" + QString::number(i))->text().isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(labelled, 7); // one per bet type
    EXPECT_EQ(child<QLabel>(kekka, "haraiLine_1")->text(), QStringLiteral("       4     520"));
    EXPECT_EQ(child<QLabel>(kekka, "haraiLine_33")->text(), QStringLiteral(" 1- 4- 5    7200"));
    // 22 rows in view, the rest a scroll away.
    const int rowHeight = child<QLabel>(kekka, "haraiLine_1")->height();
    QScrollBar* scroll = child<QScrollArea>(kekka, "haraiView")->verticalScrollBar();
    EXPECT_EQ(child<QScrollArea>(kekka, "haraiView")->height(), 22 * rowHeight);
    EXPECT_EQ(child<QWidget>(kekka, "haraiPanel")->height(), 33 * rowHeight);
    EXPECT_GT(scroll->maximum(), 0);

    // Bracket 4 in white on its blue, 7 in black on its orange, faded halfway to white; empty slots stay empty.
    const auto faded = [](Rgb::Value colour) { return Rgb::hex((colour >> 1 & 0x7F7F7F) + 0x808080); };
    EXPECT_EQ(child<QLabel>(kekka, "wakuCell_1")->styleSheet(), "color: #FFFFFF;background: " + faded(0x0000FF) + ';');
    EXPECT_EQ(child<QLabel>(kekka, "wakuCell_3")->styleSheet(), "color: #000000;background: " + faded(0xFF8000) + ';');
    EXPECT_EQ(child<QLabel>(kekka, "chakuCell_4")->text(), QString());
    EXPECT_EQ(child<QLabel>(kekka, "umaNameCell_4")->text(), QString());
    EXPECT_EQ(child<QLabel>(kekka, "henkanUmaLine")->text(), QStringLiteral(" 9"));
    shot(kekka, QStringLiteral("results-33-rows"));
    scroll->setValue(scroll->maximum());
    shot(kekka, QStringLiteral("results-33-rows-scrolled"));
}

// 自動更新: the client rewrites the odds of the race on screen; the detail window shows them in place,
// scrolled where the user left it.
TEST_F(RaceWindowsTest, AnOpenDetailWindowFollowsTheOddsOfItsRace) {
    ASSERT_TRUE(writeSampleDay(client.path()));
    MainWindow w(folders());
    w.show();
    w.control().showRaceDetail(1, 9); // 中山 9R, open
    RaceDetailWindow* detail = loaded<RaceDetailWindow>(w, Window::Detail);
    ASSERT_NE(detail, nullptr);
    shot(detail, QStringLiteral("detail-odds-before"));
    const QSize full = detail->size();
    // Made short by the user and scrolled to its totals.
    detail->resize(detail->width(), 70);
    QScrollBar* scroll = child<QPlainTextEdit>(detail, "textView")->verticalScrollBar();
    scroll->setValue(scroll->maximum());
    const int scrolled = scroll->value();
    ASSERT_GT(scrolled, 0);
    const QRect place = detail->geometry();
    ASSERT_EQ(lines(detail).first().simplified(), QStringLiteral("単勝 7 1000 2.8"));

    // Runner 7's win odds, bytes 254-258 of the win and place file.
    QByteArray zo = client.read(QStringLiteral("ZO-619.JRA"));
    ASSERT_EQ(zo.mid(253, 5), QByteArray("  2.8"));
    client.write(QStringLiteral("ZO-619.JRA"), zo.replace(253, 5, " 12.3"));
    QTRY_COMPARE_WITH_TIMEOUT(lines(detail).first().simplified(), QStringLiteral("単勝 7 1000 12.3"), 3000);
    ASSERT_EQ(loaded<RaceDetailWindow>(w, Window::Detail), detail); // the very window, filled again
    QTest::qWait(50);
    EXPECT_EQ(child<QPlainTextEdit>(detail, "textView")->verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(detail->geometry(), place);
    detail->resize(full);
    shot(detail, QStringLiteral("detail-odds-after"));
}
