#include "ui/PassbookWindow.h"
#include "control/DayController.h"
#include "core/Folders.h"
#include "core/SpecialFolder.h"
#include "profit/ProfitBook.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/PassbookChartView.h"

#include <QApplication>
#include <QBarSet>
#include <QChart>
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
    static QString Row(const PassbookWindow* r, int i) {
        return QStringList{r->LbDate(i)->text(), r->LbTohyo(i)->text(), r->LbHarai(i)->text(), r->LbSoneki(i)->text()}
            .join(QLatin1Char(' '))
            .trimmed();
    }
    static QStringList Dates(const PassbookWindow* r) {
        QStringList dates;
        for (int i = 0; i < kPassbookRows; ++i) {
            dates << r->LbDate(i)->text();
        }
        return dates;
    }
    // The figure of the caption "現在までの収支 -1,234円".
    static int CaptionYen(const PassbookWindow* r) {
        return r->windowTitle().remove(QStringLiteral("現在までの収支 ")).remove(u'円').remove(u',').toInt();
    }
    static void Type(QLineEdit* field, const QString& text) {
        field->clear();
        QTest::keyClicks(field, text);
    }
    // The passbook of the main window, opened from its toolbar.
    static PassbookWindow* OpenPassbook(MainWindow& w) {
        w.show();
        QTest::mouseClick(w.ToolButton(MainWindow::RecordButton), Qt::LeftButton);
        return qobject_cast<PassbookWindow*>(w.Host().Loaded(IWindowHost::Window::Record));
    }
    static void Shot(QWidget* window, const QString& name) {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        SaveScreenshot(window, name);
    }
};
} // namespace

// The sample book: every Saturday and Sunday from 2026/09/05 to 2026/11/29 (26 days, 2026/10/18 entered
// by hand: 15000 bet, 23400 paid), and the sale day 2026/12/05 the main window has just recorded.
TEST_F(PassbookWindowTest, PagesRankingsAndEveryKindOfEdit) {
    ASSERT_TRUE(WriteSampleDay(client.Path()));
    MainWindow w(folders());
    PassbookWindow* rec = OpenPassbook(w);
    ASSERT_NE(rec, nullptr);
    Shot(rec, QStringLiteral("passbook-page-1"));
    EXPECT_EQ(rec->VScroll1()->maximum(), 2);
    EXPECT_TRUE(rec->VScroll1()->isEnabled());
    EXPECT_EQ(Dates(rec), (QStringList{"2026/12/05", "2026/11/29", "2026/11/28", "2026/11/22", "2026/11/21",
                                       "2026/11/15", "2026/11/14", "2026/11/08", "2026/11/07", "2026/11/01"}));
    const int total = CaptionYen(rec);
    EXPECT_TRUE(
        rec->lblWindow()->toolTip().endsWith(QStringLiteral("   損益 ") + rec->windowTitle().mid(8).chopped(1)));

    // One notch of the wheel over the rows turns one page.
    QWheelEvent notch(QPointF(5, 5), rec->lblWindow()->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(rec->lblWindow(), &notch);
    EXPECT_EQ(Row(rec, 3), QStringLiteral("2026/10/18 15000 23400 8400"));
    rec->VScroll1()->setValue(2);
    EXPECT_EQ(Dates(rec), (QStringList{"2026/09/26", "2026/09/20", "2026/09/19", "2026/09/13", "2026/09/12",
                                       "2026/09/06", "2026/09/05", "", "", ""}));
    Shot(rec, QStringLiteral("passbook-last-page"));
    rec->VScroll1()->setValue(0);
    EXPECT_EQ(rec->LbDate(9)->text(), QStringLiteral("2026/11/01"));

    for (const int button : {PassbookWindow::BestButton, PassbookWindow::WorstButton}) {
        QTest::mouseClick(rec->Toolbar1(button), Qt::LeftButton);
        EXPECT_FALSE(rec->VScroll1()->isEnabled());
        EXPECT_FALSE(rec->lblWindow()->isVisible());
        const bool best = button == PassbookWindow::BestButton;
        Shot(rec, best ? QStringLiteral("passbook-best") : QStringLiteral("passbook-worst"));
        for (int i = 0; i < kPassbookRows && !rec->LbDate(i)->text().isEmpty(); ++i) {
            const int profit = rec->LbSoneki(i)->text().toInt();
            EXPECT_TRUE(best ? profit > 0 : profit < 0) << i;
            if (i > 0) {
                EXPECT_TRUE(best ? profit <= rec->LbSoneki(i - 1)->text().toInt()
                                 : profit >= rec->LbSoneki(i - 1)->text().toInt());
            }
            EXPECT_EQ(rec->LbSoneki(i)->styleSheet(), best ? "color: #000000;" : "color: #FF0000;");
        }
    }

    // A new day, 2026/11/30: the arrows step the fields, Return confirms.
    QTest::mouseClick(rec->Toolbar1(PassbookWindow::InputButton), Qt::LeftButton);
    EXPECT_TRUE(rec->Picture2()->isVisible());
    EXPECT_FALSE(rec->Picture1()->isVisible());
    EXPECT_FALSE(rec->Toolbar1(PassbookWindow::PastButton)->isEnabled());
    EXPECT_FALSE(rec->Toolbar1(PassbookWindow::ChartButton)->isEnabled());
    EXPECT_FALSE(rec->Toolbar1(PassbookWindow::CsvButton)->isEnabled());
    EXPECT_EQ(rec->txtYY()->text() + rec->cmbMM()->currentText() + rec->cmbDD()->currentText(), "20261205");
    QTest::mouseClick(rec->SpinDown(PassbookWindow::MonthField), Qt::LeftButton);
    rec->cmbDD()->setCurrentIndex(29);
    Type(rec->txtInTohyo(), QStringLiteral("1200"));
    Type(rec->txtInHarai(), QStringLiteral("5000"));
    QTest::keyClick(rec->txtInHarai(), Qt::Key_Return);
    EXPECT_EQ(rec->txtMessage()->toPlainText(),
              QStringLiteral("2026年11月30日\n  投票  1200円\n  払戻  5000円\n  損益  3800円\n登録しますか？"));
    EXPECT_TRUE(rec->cmdOk()->isEnabled());
    Shot(rec, QStringLiteral("passbook-confirm"));
    // Any edit, the arrows included, takes the confirmation back.
    QTest::mouseClick(rec->SpinUp(PassbookWindow::DayField), Qt::LeftButton);
    EXPECT_FALSE(rec->cmdOk()->isEnabled());
    EXPECT_TRUE(rec->txtMessage()->toPlainText().isEmpty());
    QTest::keyClick(rec->cmbDD(), Qt::Key_Return); // 11/31
    EXPECT_EQ(rec->txtMessage()->toPlainText(), QStringLiteral("有効な日付を入力して下さい。"));
    EXPECT_FALSE(rec->cmdOk()->isEnabled());
    Shot(rec, QStringLiteral("passbook-invalid-date"));
    QTest::mouseClick(rec->SpinDown(PassbookWindow::DayField), Qt::LeftButton);
    QTest::mouseClick(rec->cmdKakutei(), Qt::LeftButton);
    QTest::mouseClick(rec->cmdOk(), Qt::LeftButton);
    EXPECT_EQ(rec->CurrentView(), PassbookWindow::PastView);
    EXPECT_TRUE(rec->Toolbar1(PassbookWindow::PastButton)->isChecked());
    EXPECT_EQ(Row(rec, 1), QStringLiteral("2026/11/30 1200 5000 3800"));
    EXPECT_EQ(CaptionYen(rec), total + 3800);

    // Corrected and protected from the automatic update.
    QTest::mouseClick(rec->Toolbar1(PassbookWindow::InputButton), Qt::LeftButton);
    Type(rec->txtInHarai(), QStringLiteral("900"));
    rec->Check1()->setChecked(true);
    QTest::mouseClick(rec->cmdKakutei(), Qt::LeftButton);
    EXPECT_TRUE(rec->txtMessage()->toPlainText().contains(QStringLiteral("\n  損益  -300円\n")));
    QTest::mouseClick(rec->cmdOk(), Qt::LeftButton);
    EXPECT_EQ(Row(rec, 1), QStringLiteral("2026/11/30 1200 900 -300"));
    EXPECT_EQ(rec->LbSoneki(1)->styleSheet(), QStringLiteral("color: #FF0000;"));
    EXPECT_EQ(w.Control().PastUpdate(2), 1);
    EXPECT_EQ(CaptionYen(rec), total - 300);

    // A negative amount is refused; a bet of 0 deletes the day.
    QTest::mouseClick(rec->Toolbar1(PassbookWindow::InputButton), Qt::LeftButton);
    Type(rec->txtInTohyo(), QStringLiteral("-100"));
    QTest::mouseClick(rec->cmdKakutei(), Qt::LeftButton);
    EXPECT_EQ(rec->txtMessage()->toPlainText(), QStringLiteral("マイナス金額は入力できません。"));
    EXPECT_FALSE(rec->cmdOk()->isEnabled());
    Type(rec->txtInTohyo(), QStringLiteral("0"));
    QTest::mouseClick(rec->cmdKakutei(), Qt::LeftButton);
    EXPECT_EQ(rec->txtMessage()->toPlainText(), QStringLiteral("2026年11月30日のデータを削除しますか？"));
    QTest::mouseClick(rec->cmdOk(), Qt::LeftButton);
    EXPECT_EQ(rec->LbDate(1)->text(), QStringLiteral("2026/11/29"));
    EXPECT_EQ(CaptionYen(rec), total);

    // The chart, from the keyboard: Alt+G, then the arrow keys step the span 月, 年, 全期間.
    const QSize listSize = rec->size();
    rec->activateWindow(); // shortcuts go to the active window
    ASSERT_TRUE(QTest::qWaitForWindowActive(rec));
    QTest::keySequence(rec, QKeySequence(QStringLiteral("Alt+G")));
    // A shortcut presses its button for a moment before the click.
    ASSERT_TRUE(QTest::qWaitFor([rec] { return rec->CurrentView() == PassbookWindow::ChartView; }));
    PassbookChartView* chart = rec->ChartPage();
    EXPECT_TRUE(chart->cmbSpan()->hasFocus());
    EXPECT_GT(rec->width(), listSize.width());
    const auto* bars = qobject_cast<QStackedBarSeries*>(chart->Chart()->series().at(0));
    ASSERT_NE(bars, nullptr);
    EXPECT_EQ(bars->barSets().at(1)->color(), QColor(Qt::red));
    const struct {
        const char* span;
        qsizetype days;
        const char* shot;
    } spans[] = {{"2026年12月", 1, "month"}, {"2026年", 27, "year"}, {"全期間", 27, "all"}};
    for (const auto& span : spans) {
        EXPECT_TRUE(chart->lblCaption()->text().startsWith(QString::fromUtf8(span.span) + "  ")) << span.span;
        EXPECT_EQ(bars->barSets().at(0)->count(), span.days);
        Shot(rec, QStringLiteral("passbook-chart-") + span.shot);
        QTest::keyClick(chart->cmbSpan(), Qt::Key_Down);
    }
    // Over the whole book: a red bar for every day of the worst list, and the running total ends at the caption's.
    int red = 0;
    for (qsizetype i = 0; i < bars->barSets().at(1)->count(); ++i) {
        red += bars->barSets().at(1)->at(i) < 0 ? 1 : 0;
    }
    EXPECT_EQ(red, w.Control().Book().WorstCount());
    EXPECT_EQ(chart->Shown().Points.back().Cumulative, CaptionYen(rec));
    // The chart's window can be resized, and the chart follows.
    const QSizeF plot = chart->Chart()->size();
    rec->resize(rec->size() + QSize(160, 120));
    QTRY_COMPARE(chart->Chart()->size(), plot + QSizeF(160, 120));
    Shot(rec, QStringLiteral("passbook-chart-resized"));
    QTest::mouseClick(rec->Toolbar1(PassbookWindow::PastButton), Qt::LeftButton);
    EXPECT_EQ(rec->size(), listSize);

    // CSV保存 through its dialog, which offers 通帳_<sale day>.csv in the documents folder: a header and a row
    // per day, and the window says where it went. A folder that is not there is reported.
    struct DocumentsInClient : IFolderLocator {
        QString folder;
        QString Locate(int) const override { return folder; }
    } documents;
    documents.folder = client.Path();
    SetFolderLocator(&documents);
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&answer] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            answer.stop();
            static_cast<QDialog*>(dialog)->accept(); // protected in the file dialog
        }
    });
    answer.start(20);
    QTest::mouseClick(rec->Toolbar1(PassbookWindow::CsvButton), Qt::LeftButton); // returns once the dialog is answered
    SetFolderLocator(nullptr);
    const QList<QByteArray> lines = client.Read(QStringLiteral("通帳_20261205.csv")).split('\n');
    EXPECT_EQ(lines.size(), 29); // header, 27 days, the empty piece after the last line end
    EXPECT_EQ(lines.at(0), "\xEF\xBB\xBF日付,投票,払戻,損益,保護\r");
    EXPECT_EQ(rec->findChild<QLabel*>(QStringLiteral("statusLine"))->text().remove(QChar(0x200B)),
              QStringLiteral("CSVファイルに保存しました: ") +
                  QDir::toNativeSeparators(client.File(QStringLiteral("通帳_20261205.csv"))));
    Shot(rec, QStringLiteral("passbook-csv-saved"));
    EXPECT_TRUE(lines.contains("20261018,15000,23400,8400,1\r"));
    CapturingReporter reporter;
    EXPECT_FALSE(rec->SaveCsv(client.File(QStringLiteral("none/book.csv"))));
    ASSERT_EQ(reporter.texts.size(), 1);
    EXPECT_TRUE(
        reporter.texts.at(0).startsWith(QStringLiteral("CSVファイルを保存できませんでした。通帳はそのままです。")))
        << reporter.texts.at(0).toStdString();

    // Escape cancels the input panel, then closes the window.
    QTest::mouseClick(rec->Toolbar1(PassbookWindow::InputButton), Qt::LeftButton);
    QTest::keyClick(rec->txtInTohyo(), Qt::Key_Escape);
    EXPECT_EQ(rec->CurrentView(), PassbookWindow::PastView);
    EXPECT_TRUE(rec->Toolbar1(PassbookWindow::BestButton)->isEnabled());
    QTest::keyClick(rec, Qt::Key_Escape);
    EXPECT_FALSE(w.Host().IsLoaded(IWindowHost::Window::Record));
}

// Picking a day the book holds loads it, protection included; amounts typed with the input method on are
// digits, and a text that is no amount is refused, never taken for 0 (which would delete the day).
TEST_F(PassbookWindowTest, InputLoadsThePickedDayAndReadsFullWidthDigits) {
    ASSERT_TRUE(WriteSampleDay(client.Path()));
    MainWindow w(folders());
    PassbookWindow* rec = OpenPassbook(w);
    ASSERT_NE(rec, nullptr);
    const auto field = [rec](const char* name) { return rec->findChild<QLineEdit*>(QLatin1String(name)); };
    auto* protect = rec->findChild<QCheckBox*>(QStringLiteral("protectBox"));
    auto* message = rec->findChild<QPlainTextEdit*>(QStringLiteral("messageBox"));
    auto* confirm = rec->findChild<QPushButton*>(QStringLiteral("confirmButton"));
    auto* ok = rec->findChild<QPushButton*>(QStringLiteral("okButton"));
    QTest::mouseClick(rec->findChild<QToolButton*>(QStringLiteral("inputButton")), Qt::LeftButton);
    // Today's record, written by the main window a moment ago, is what the panel opens with.
    EXPECT_EQ(field("stakeField")->text(), QString::number(w.Control().PastBuy(1)));
    EXPECT_FALSE(protect->isChecked());

    rec->findChild<QComboBox*>(QStringLiteral("monthList"))->setCurrentText(QStringLiteral("10"));
    rec->findChild<QComboBox*>(QStringLiteral("dayList"))->setCurrentText(QStringLiteral("18"));
    EXPECT_EQ(field("stakeField")->text(), QStringLiteral("15000"));
    EXPECT_EQ(field("payoutField")->text(), QStringLiteral("23400"));
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
        field("stakeField")->clear();
        QInputMethodEvent commit;
        commit.setCommitString(QString::fromUtf16(t.stake));
        QApplication::sendEvent(field("stakeField"), &commit);
        QTest::mouseClick(confirm, Qt::LeftButton);
        EXPECT_EQ(message->toPlainText(), QString::fromUtf16(t.message));
        EXPECT_EQ(ok->isEnabled(), t.message[0] == u'2');
    }
    Shot(rec, QStringLiteral("passbook-confirm-existing-day"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(client.Read(ProfitBook::FileName()).contains("2026101812000   23400   11400    1\r\n"));

    // A day the book does not hold starts empty, not with the day loaded before.
    QTest::mouseClick(rec->findChild<QToolButton*>(QStringLiteral("inputButton")), Qt::LeftButton);
    EXPECT_EQ(field("stakeField")->text(), QStringLiteral("12000"));
    rec->findChild<QComboBox*>(QStringLiteral("dayList"))->setCurrentText(QStringLiteral("20"));
    EXPECT_EQ(field("stakeField")->text(), QString());
    EXPECT_EQ(field("payoutField")->text(), QString());
    EXPECT_FALSE(protect->isChecked());
}
