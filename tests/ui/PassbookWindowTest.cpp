#include "ui/PassbookWindow.h"
#include "control/DayController.h"
#include "core/Folders.h"
#include "profit/ProfitBook.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/PassbookChartView.h"

#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedBarSeries>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {
class PassbookWindowTest : public ClientFolderTest {
protected:
    // A column of the list, top to bottom: "date" is the cells "dateCell_1" to "dateCell_10".
    static QStringList column(const PassbookWindow* r, const char* name) {
        QStringList cells;
        for (int i = 1; i <= kPassbookRows; ++i) {
            cells << child<QLabel>(r, QStringLiteral("%1Cell_%2").arg(QLatin1String(name)).arg(i))->text();
        }
        return cells;
    }
    static QStringList dates(const PassbookWindow* r) { return column(r, "date"); }
    static QString row(const PassbookWindow* r, int i) {
        return QStringList{column(r, "date")[i], column(r, "stake")[i], column(r, "payout")[i], column(r, "profit")[i]}
            .join(QLatin1Char(' '))
            .trimmed();
    }
    // The figure of the caption "現在までの収支 -1,234円".
    static int captionYen(const PassbookWindow* r) {
        return r->windowTitle().remove(QStringLiteral("現在までの収支 ")).remove(u'円').remove(u',').toInt();
    }
    static void type(QLineEdit* field, const QString& text) {
        field->clear();
        QTest::keyClicks(field, text);
    }
    // The passbook of the main window, opened from its toolbar.
    static PassbookWindow* openPassbook(MainWindow& w) {
        w.show();
        QTest::mouseClick(child<QToolButton>(&w, "passbookButton"), Qt::LeftButton);
        return qobject_cast<PassbookWindow*>(w.host().loaded(IWindowHost::Window::Record));
    }
    static void shot(QWidget* window, const QString& name) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        saveScreenshot(window, name);
    }
};
} // namespace

// The sample book: every Saturday and Sunday from 2026/09/05 to 2026/11/29 (26 days, 2026/10/18 entered
// by hand: 15000 bet, 23400 paid), and the sale day 2026/12/05 the main window has just recorded.
TEST_F(PassbookWindowTest, PagesRankingsAndEveryKindOfEdit) {
    ASSERT_TRUE(writeSampleDay(client.path()));
    MainWindow w(folders());
    PassbookWindow* rec = openPassbook(w);
    ASSERT_NE(rec, nullptr);
    shot(rec, QStringLiteral("passbook-page-1"));
    QWidget* sheet = child<QWidget>(rec, "sheet");
    EXPECT_EQ(child<QScrollBar>(rec, "pageScroll")->maximum(), 2);
    EXPECT_TRUE(child<QScrollBar>(rec, "pageScroll")->isEnabled());
    EXPECT_EQ(dates(rec), (QStringList{"2026/12/05", "2026/11/29", "2026/11/28", "2026/11/22", "2026/11/21",
                                       "2026/11/15", "2026/11/14", "2026/11/08", "2026/11/07", "2026/11/01"}));
    const int total = captionYen(rec);
    EXPECT_TRUE(sheet->toolTip().endsWith(QStringLiteral("   損益 ") + rec->windowTitle().mid(8).chopped(1)));

    // One notch of the wheel over the rows turns one page.
    QWheelEvent notch(QPointF(5, 5), sheet->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(sheet, &notch);
    EXPECT_EQ(row(rec, 3), QStringLiteral("2026/10/18 15000 23400 8400"));
    child<QScrollBar>(rec, "pageScroll")->setValue(2);
    EXPECT_EQ(dates(rec), (QStringList{"2026/09/26", "2026/09/20", "2026/09/19", "2026/09/13", "2026/09/12",
                                       "2026/09/06", "2026/09/05", "", "", ""}));
    shot(rec, QStringLiteral("passbook-last-page"));
    child<QScrollBar>(rec, "pageScroll")->setValue(0);
    EXPECT_EQ(dates(rec)[9], QStringLiteral("2026/11/01"));

    for (const bool best : {true, false}) {
        QTest::mouseClick(child<QToolButton>(rec, best ? "bestButton" : "worstButton"), Qt::LeftButton);
        EXPECT_FALSE(child<QScrollBar>(rec, "pageScroll")->isEnabled());
        EXPECT_FALSE(sheet->isVisible());
        shot(rec, best ? QStringLiteral("passbook-best") : QStringLiteral("passbook-worst"));
        const QStringList days = dates(rec), profits = column(rec, "profit");
        for (int i = 0; i < kPassbookRows && !days[i].isEmpty(); ++i) {
            const int profit = profits[i].toInt();
            EXPECT_TRUE(best ? profit > 0 : profit < 0) << i;
            if (i > 0) {
                EXPECT_TRUE(best ? profit <= profits[i - 1].toInt() : profit >= profits[i - 1].toInt());
            }
            EXPECT_EQ(child<QLabel>(rec, "profitCell_" + QString::number(i + 1))->styleSheet(),
                      best ? "color: #000000;" : "color: #FF0000;");
        }
    }

    // A new day, 2026/11/30: the arrows step the fields, Return confirms.
    auto* message = child<QPlainTextEdit>(rec, "messageText");
    QTest::mouseClick(child<QToolButton>(rec, "inputButton"), Qt::LeftButton);
    EXPECT_TRUE(child<QWidget>(rec, "inputPanel")->isVisible());
    EXPECT_FALSE(child<QWidget>(rec, "listPanel")->isVisible());
    for (const char* name : {"pastButton", "chartButton", "csvButton"}) {
        EXPECT_FALSE(child<QToolButton>(rec, name)->isEnabled()) << name;
    }
    EXPECT_EQ(child<QLineEdit>(rec, "yearEdit")->text() + child<QComboBox>(rec, "monthBox")->currentText(), "202612");
    EXPECT_EQ(child<QComboBox>(rec, "dayBox")->currentText(), "05");
    QTest::mouseClick(child<QToolButton>(rec, "monthDownButton"), Qt::LeftButton);
    child<QComboBox>(rec, "dayBox")->setCurrentIndex(29);
    type(child<QLineEdit>(rec, "stakeEdit"), QStringLiteral("1200"));
    type(child<QLineEdit>(rec, "payoutEdit"), QStringLiteral("5000"));
    QTest::keyClick(child<QLineEdit>(rec, "payoutEdit"), Qt::Key_Return);
    EXPECT_EQ(message->toPlainText(),
              QStringLiteral("2026年11月30日\n  投票  1200円\n  払戻  5000円\n  損益  3800円\n登録しますか？"));
    EXPECT_TRUE(child<QPushButton>(rec, "okButton")->isEnabled());
    shot(rec, QStringLiteral("passbook-confirm"));
    // Any edit, the arrows included, takes the confirmation back.
    QTest::mouseClick(child<QToolButton>(rec, "dayUpButton"), Qt::LeftButton);
    EXPECT_FALSE(child<QPushButton>(rec, "okButton")->isEnabled());
    EXPECT_TRUE(message->toPlainText().isEmpty());
    QTest::keyClick(child<QComboBox>(rec, "dayBox"), Qt::Key_Return); // 11/31
    EXPECT_EQ(message->toPlainText(), QStringLiteral("有効な日付を入力して下さい。"));
    EXPECT_FALSE(child<QPushButton>(rec, "okButton")->isEnabled());
    shot(rec, QStringLiteral("passbook-invalid-date"));
    QTest::mouseClick(child<QToolButton>(rec, "dayDownButton"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(rec, "confirmButton"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(rec, "okButton"), Qt::LeftButton);
    EXPECT_EQ(rec->currentView(), PassbookWindow::PastView);
    EXPECT_TRUE(child<QToolButton>(rec, "pastButton")->isChecked());
    EXPECT_EQ(row(rec, 1), QStringLiteral("2026/11/30 1200 5000 3800"));
    EXPECT_EQ(captionYen(rec), total + 3800);

    // Corrected and protected from the automatic update.
    QTest::mouseClick(child<QToolButton>(rec, "inputButton"), Qt::LeftButton);
    type(child<QLineEdit>(rec, "payoutEdit"), QStringLiteral("900"));
    child<QCheckBox>(rec, "protectBox")->setChecked(true);
    QTest::mouseClick(child<QPushButton>(rec, "confirmButton"), Qt::LeftButton);
    EXPECT_TRUE(message->toPlainText().contains(QStringLiteral("\n  損益  -300円\n")));
    QTest::mouseClick(child<QPushButton>(rec, "okButton"), Qt::LeftButton);
    EXPECT_EQ(row(rec, 1), QStringLiteral("2026/11/30 1200 900 -300"));
    EXPECT_EQ(child<QLabel>(rec, "profitCell_2")->styleSheet(), QStringLiteral("color: #FF0000;"));
    EXPECT_EQ(w.control().book().pastUpdate(2), 1);
    EXPECT_EQ(captionYen(rec), total - 300);

    // A negative amount is refused; a bet of 0 deletes the day.
    QTest::mouseClick(child<QToolButton>(rec, "inputButton"), Qt::LeftButton);
    type(child<QLineEdit>(rec, "stakeEdit"), QStringLiteral("-100"));
    QTest::mouseClick(child<QPushButton>(rec, "confirmButton"), Qt::LeftButton);
    EXPECT_EQ(message->toPlainText(), QStringLiteral("マイナス金額は入力できません。"));
    EXPECT_FALSE(child<QPushButton>(rec, "okButton")->isEnabled());
    type(child<QLineEdit>(rec, "stakeEdit"), QStringLiteral("0"));
    QTest::mouseClick(child<QPushButton>(rec, "confirmButton"), Qt::LeftButton);
    EXPECT_EQ(message->toPlainText(), QStringLiteral("2026年11月30日のデータを削除しますか？"));
    QTest::mouseClick(child<QPushButton>(rec, "okButton"), Qt::LeftButton);
    EXPECT_EQ(dates(rec)[1], QStringLiteral("2026/11/29"));
    EXPECT_EQ(captionYen(rec), total);

    // The chart, from the keyboard: Alt+G, then the arrow keys step the span 月, 年, 全期間.
    const QSize listSize = rec->size();
    rec->activateWindow(); // shortcuts go to the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(rec));
    QTest::keySequence(rec, QKeySequence(QStringLiteral("Alt+G")));
    // A shortcut presses its button for a moment before the click.
    ASSERT_TRUE(QTest::qWaitFor([rec] { return rec->currentView() == PassbookWindow::ChartView; }));
    auto* chart = child<PassbookChartView>(rec, "chartPage");
    EXPECT_TRUE(child<QComboBox>(chart, "spanBox")->hasFocus());
    EXPECT_GT(rec->width(), listSize.width());
    const auto* bars = qobject_cast<QStackedBarSeries*>(child<QChartView>(chart, "chartView")->chart()->series().at(0));
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->barSets().at(1)->color(), QColor(Qt::red));
    const struct {
        const char* span;
        qsizetype days;
        const char* shot;
    } spans[] = {{"2026年12月", 1, "month"}, {"2026年", 27, "year"}, {"全期間", 27, "all"}};
    for (const auto& span : spans) {
        EXPECT_TRUE(child<QLabel>(chart, "spanCaption")->text().startsWith(span.span + QStringLiteral("  ")))
            << span.span;
        EXPECT_EQ(bars->barSets().at(0)->count(), span.days);
        shot(rec, QStringLiteral("passbook-chart-") + span.shot);
        QTest::keyClick(child<QComboBox>(chart, "spanBox"), Qt::Key_Down);
    }
    // Over the whole book: a red bar for every day of the worst list, and the running total ends at the caption's.
    int red = 0;
    for (qsizetype i = 0; i < bars->barSets().at(1)->count(); ++i) {
        red += bars->barSets().at(1)->at(i) < 0 ? 1 : 0;
    }
    EXPECT_EQ(red, w.control().book().worstCount());
    EXPECT_EQ(chart->shown().points.back().cumulative, captionYen(rec));
    // The chart's window can be resized, and the chart follows.
    const QSizeF plot = child<QChartView>(chart, "chartView")->chart()->size();
    rec->resize(rec->size() + QSize(160, 120));
    QTRY_COMPARE(child<QChartView>(chart, "chartView")->chart()->size(), plot + QSizeF(160, 120));
    shot(rec, QStringLiteral("passbook-chart-resized"));
    QTest::mouseClick(child<QToolButton>(rec, "pastButton"), Qt::LeftButton);
    EXPECT_EQ(rec->size(), listSize);

    // CSV保存 through its dialog, which offers 通帳_<sale day>.csv in the documents folder: a header and a row
    // per day, and the window says where it went. A folder that is not there is reported.
    // The documents folder is the client folder, as the user's own folder settings name it.
    TempFolder config;
    config.write(QStringLiteral("user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"" + client.path().chopped(1).toUtf8() + "\"\n");
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            answer.stop();
            static_cast<QDialog*>(dialog)->accept(); // protected in the file dialog
        }
    });
    answer.start(20);
    QTest::mouseClick(child<QToolButton>(rec, "csvButton"), Qt::LeftButton); // returns once the dialog is answered
    configHome.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", configHome);
    const QList<QByteArray> lines = client.read(QStringLiteral("通帳_20261205.csv")).split('\n');
    EXPECT_EQ(lines.size(), 29); // header, 27 days, the empty piece after the last line end
    EXPECT_EQ(lines.at(0), "\xEF\xBB\xBF日付,投票,払戻,損益,保護\r");
    EXPECT_EQ(child<QLabel>(rec, "statusLine")->text().remove(QChar(0x200B)),
              QStringLiteral("CSVファイルに保存しました: ") +
                  QDir::toNativeSeparators(client.file(QStringLiteral("通帳_20261205.csv"))));
    shot(rec, QStringLiteral("passbook-csv-saved"));
    EXPECT_TRUE(lines.contains("20261018,15000,23400,8400,1\r"));
    CapturingReporter reporter;
    EXPECT_FALSE(rec->saveCsv(client.file(QStringLiteral("none/book.csv"))));
    ASSERT_EQ(reporter.texts.size(), 1);
    EXPECT_TRUE(
        reporter.texts.at(0).startsWith(QStringLiteral("CSVファイルを保存できませんでした。通帳はそのままです。")))
        << reporter.texts.at(0).toStdString();

    // Escape cancels the input panel, then closes the window.
    QTest::mouseClick(child<QToolButton>(rec, "inputButton"), Qt::LeftButton);
    QTest::keyClick(child<QLineEdit>(rec, "stakeEdit"), Qt::Key_Escape);
    EXPECT_EQ(rec->currentView(), PassbookWindow::PastView);
    EXPECT_TRUE(child<QToolButton>(rec, "bestButton")->isEnabled());
    QTest::keyClick(rec, Qt::Key_Escape);
    EXPECT_FALSE(w.host().isLoaded(IWindowHost::Window::Record));
}

// Picking a day the book holds loads it, protection included; amounts typed with the input method on are
// digits, and a text that is no amount is refused, never taken for 0 (which would delete the day).
TEST_F(PassbookWindowTest, InputLoadsThePickedDayAndReadsFullWidthDigits) {
    ASSERT_TRUE(writeSampleDay(client.path()));
    MainWindow w(folders());
    PassbookWindow* rec = openPassbook(w);
    ASSERT_NE(rec, nullptr);
    auto* stake = child<QLineEdit>(rec, "stakeEdit");
    auto* protect = child<QCheckBox>(rec, "protectBox");
    auto* message = child<QPlainTextEdit>(rec, "messageText");
    auto* confirm = child<QPushButton>(rec, "confirmButton");
    auto* ok = child<QPushButton>(rec, "okButton");
    QTest::mouseClick(child<QToolButton>(rec, "inputButton"), Qt::LeftButton);
    // Today's record, written by the main window a moment ago, is what the panel opens with.
    EXPECT_EQ(stake->text(), QString::number(w.control().book().pastBuy(1)));
    EXPECT_FALSE(protect->isChecked());

    child<QComboBox>(rec, "monthBox")->setCurrentText(QStringLiteral("10"));
    child<QComboBox>(rec, "dayBox")->setCurrentText(QStringLiteral("18"));
    EXPECT_EQ(stake->text(), QStringLiteral("15000"));
    EXPECT_EQ(child<QLineEdit>(rec, "payoutEdit")->text(), QStringLiteral("23400"));
    EXPECT_TRUE(protect->isChecked());

    const struct {
        const char16_t* stake;
        const char16_t* message;
    } typed[] = {
        {u"abc", u"金額を数字で入力して下さい。"},
        {u"１２０００", u"2026年10月18日\n  投票  12000円\n  払戻  23400円\n  損益  11400円\n"
                        u"  (登録済み 投票 15000円 払戻 23400円)\n登録しますか？"},
    };
    for (const auto& t : typed) {
        // As an input method hands over what was typed: committed as a whole.
        stake->clear();
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf16(t.stake));
        QApplication::sendEvent(stake, &commit);
        QTest::mouseClick(confirm, Qt::LeftButton);
        EXPECT_EQ(message->toPlainText(), QString::fromUtf16(t.message));
        EXPECT_EQ(ok->isEnabled(), t.message[0] == u'2');
    }
    shot(rec, QStringLiteral("passbook-confirm-existing-day"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(client.read(ProfitBook::fileName()).contains("2026101812000   23400   11400    1\r\n"));

    // A day the book does not hold starts empty, not with the day loaded before.
    QTest::mouseClick(child<QToolButton>(rec, "inputButton"), Qt::LeftButton);
    EXPECT_EQ(stake->text(), QStringLiteral("12000"));
    child<QComboBox>(rec, "dayBox")->setCurrentText(QStringLiteral("20"));
    EXPECT_EQ(stake->text(), QString());
    EXPECT_EQ(child<QLineEdit>(rec, "payoutEdit")->text(), QString());
    EXPECT_FALSE(protect->isChecked());
}

// 自動更新: a refresh builds the passbook again on the page or ranking the user was on; one whose input
// panel is open stays the very window, with what was typed.
TEST_F(PassbookWindowTest, ARefreshKeepsThePageTheRankingAndAHalfTypedRecord) {
    ASSERT_TRUE(writeSampleDay(client.path()));
    MainWindow w(folders());
    PassbookWindow* rec = openPassbook(w);
    ASSERT_NE(rec, nullptr);
    child<QScrollBar>(rec, "pageScroll")->setValue(2);
    w.control().refresh();
    rec = qobject_cast<PassbookWindow*>(w.host().loaded(IWindowHost::Window::Record));
    ASSERT_NE(rec, nullptr);
    EXPECT_EQ(dates(rec)[0], QStringLiteral("2026/09/26"));

    QTest::mouseClick(child<QToolButton>(rec, "worstButton"), Qt::LeftButton);
    w.control().refresh();
    rec = qobject_cast<PassbookWindow*>(w.host().loaded(IWindowHost::Window::Record));
    EXPECT_EQ(rec->currentView(), PassbookWindow::WorstView);

    QTest::mouseClick(child<QToolButton>(rec, "inputButton"), Qt::LeftButton);
    type(child<QLineEdit>(rec, "stakeEdit"), QStringLiteral("1200"));
    w.control().refresh();
    EXPECT_EQ(w.host().loaded(IWindowHost::Window::Record), rec);
    EXPECT_EQ(child<QLineEdit>(rec, "stakeEdit")->text(), QStringLiteral("1200"));
}
