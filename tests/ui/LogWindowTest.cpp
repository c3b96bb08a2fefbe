#include "control/DayController.h"
#include "core/Folders.h"
#include "patdata/BetLogReader.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/BetLogWindow.h"
#include "ui/MainWindow.h"
#include "ui/QtFormWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {
BetLogWindow* openLog(MainWindow& w) {
    QTest::mouseClick(child<QToolButton>(&w, "logButton"), Qt::LeftButton);
    return qobject_cast<BetLogWindow*>(w.host().loaded(IWindowHost::Window::Log));
}

class LogWindowTest : public ClientFolderTest {
protected:
};

int pressed(const BetLogWindow* log) {
    int pressed = 0;
    for (int i = 1; i <= 5; ++i) {
        pressed = child<QToolButton>(log, "viewButton_" + QString::number(i))->isChecked() ? pressed * 10 + i : pressed;
    }
    return pressed;
}
} // namespace

// Every view of the sample day through the toolbar; the view chosen comes back when the window reopens.
// Facts of the sample day: meeting 1 (中山, 5回 1日) sells the next day's races 9-12 in advance, and its
// race 11 has a win bet on 4 for 1000 yen bought the day before, not yet run.
TEST_F(LogWindowTest, ViewsOfTheSampleDayAndTheViewRemembered) {
    ASSERT_TRUE(writeSampleDay(client.path()));
    MainWindow w(folders());
    w.show();
    BetLogWindow* log = openLog(w);
    ASSERT_NE(log, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(log));
    EXPECT_EQ(log->windowTitle(),
              QStringLiteral("12月5日(土)  残ﾍﾞｯﾄ数 %1").arg(900 - w.control().betLog()->betCount()));

    // First run: the accepted bets.
    EXPECT_EQ(pressed(log), 2);
    // The lines of the list, as the text they show.
    const auto text = [&log] {
        const QAbstractItemModel* lines = child<QListView>(log, "textView")->model();
        QStringList all;
        for (int row = 0; row < lines->rowCount(); ++row) {
            all << lines->index(row, 0).data().toString();
        }
        return all.join(QLatin1Char('\n'));
    };
    EXPECT_TRUE(text().startsWith(QStringLiteral("------------------------\n【中山　１Ｒ】\n\n ")));
    EXPECT_TRUE(text().contains(QStringLiteral("【中山１１Ｒ】\n\n@単勝　        4    1000 　 \n")));
    EXPECT_TRUE(text().endsWith(QStringLiteral("\n------------------------")));
    saveScreenshot(log, QStringLiteral("log-2-accepted"));

    const struct {
        int button;
        const char* shot;
        const char* has;
        const char* hasNot;
    } views[] = {
        {1, "log-1-all", "\n@購入 単勝　        4    1000  [", "○"},
        {3, "log-3-unsettled", "【中山１１Ｒ】\n\n@単勝　        4    1000\n", "○"},
        {4, "log-4-hits", "○", "×"},
        {5, "log-5-schedule",
         "【中山 5回 1日】\n\n 発売  1R  2R  3R  4R  5R  6R\n       7R  8R  9R 10R 11R 12R\n 前日  9R 10R 11R 12R\n",
         "単勝"},
    };
    for (const auto& v : views) {
        QTest::mouseClick(child<QToolButton>(log, "viewButton_" + QString::number(v.button)), Qt::LeftButton);
        EXPECT_EQ(pressed(log), v.button);
        EXPECT_EQ(w.control().settings().dispMode(), v.button);
        EXPECT_TRUE(text().contains(QString::fromUtf8(v.has))) << v.button;
        EXPECT_FALSE(text().contains(QString::fromUtf8(v.hasNot))) << v.button;
        saveScreenshot(log, QString::fromUtf8(v.shot));
    }
    QTest::mouseClick(child<QToolButton>(log, "viewButton_1"), Qt::LeftButton);
    QScrollBar* lines = child<QListView>(log, "textView")->verticalScrollBar();
    QTest::keyClick(child<QListView>(log, "textView"), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(lines->value(), lines->maximum());
    QTest::keyClick(child<QToolButton>(log, "viewButton_1"), Qt::Key_Home, Qt::ControlModifier); // from the toolbar too
    EXPECT_EQ(lines->value(), 0);
    for (const char* state : {"\n 締切 ", "\n 無効 ", "\n 同枠 ", "\n【前日 中山１１Ｒ】\n"}) {
        EXPECT_TRUE(text().contains(QString::fromUtf8(state))) << state;
    }
    EXPECT_TRUE(text().startsWith(QStringLiteral("-----------------------------\n")));
    QTest::mouseClick(child<QToolButton>(log, "viewButton_4"), Qt::LeftButton);
    EXPECT_TRUE(text().section(QLatin1Char('\n'), -1).startsWith(QStringLiteral(" 的中 ")));

    // Lines are picked with the keyboard and copied as text; PgDn turns a page.
    auto* view = child<QListView>(log, "textView");
    view->setCurrentIndex(view->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text().section(QLatin1Char('\n'), 1, 2));
    QTest::keyClick(view, Qt::Key_PageDown);
    EXPECT_GT(view->currentIndex().row(), 5);

    // The text keeps a 30-twip margin right and below whatever the size.
    log->resize(log->width() + 80, log->height() + 40);
    const int margin = QtFormWindow::twipsToPixels(30, log->logicalDpiX());
    EXPECT_EQ(child<QListView>(log, "textView")->geometry().right() + 1, log->width() - margin);
    EXPECT_EQ(child<QListView>(log, "textView")->geometry().bottom() + 1, log->height() - margin);
    EXPECT_EQ(child<QListView>(log, "textView")->geometry().top(),
              child<QWidget>(log, "toolbar")->geometry().bottom() + 1);
    const QSize size = log->size();

    // Reopened: the hits again, at the size it was left at; then the unsettled bets.
    log = openLog(w);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(pressed(log), 4);
    EXPECT_TRUE(text().section(QLatin1Char('\n'), -1).startsWith(QStringLiteral(" 的中 ")));
    EXPECT_NEAR(log->width(), size.width(), 1);
    EXPECT_NEAR(log->height(), size.height(), 1);
    QTest::mouseClick(child<QToolButton>(log, "viewButton_3"), Qt::LeftButton);
    log->close();
    log = openLog(w);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(pressed(log), 3);
    EXPECT_FALSE(text().contains(QStringLiteral("○")));

    // A view the window does not have: no button pressed, no text.
    w.control().settings().setDispMode(0);
    log = openLog(w);
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(pressed(log), 0);
    EXPECT_EQ(text(), QString());
}
