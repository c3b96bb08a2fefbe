#include "ui/DownloadWindow.h"
#include "control/DayController.h"
#include "core/Folders.h"
#include "results/SamplePage.h"
#include "resultsite/ResultPages.h"
#include "resultsite/ResultsSite.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"
#include "ui/MainWindow.h"
#include "ui/ResultsBrowser.h"
#include "ui/WebEngineBrowser.h"

#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <map>

namespace {
using Window = IWindowHost::Window;

// A browser that answers from a script, by form body, a little later as a real one would. A slow page
// keeps it busy until stopped; a body the script does not know answers 404.
class FakeBrowser : public ResultsBrowser {
public:
    struct Answer {
        QString Title;
        QString Text;
        int Status = 0; // an error status instead of a page
        bool Slow = false;
    };
    std::map<QByteArray, Answer> Script;
    QList<QUrl> Urls;
    QList<QByteArray> Bodies;
    QList<QByteArray> Headers;
    QStringList Notices;
    int Stops = 0;

    void navigate(const QUrl& url, const QByteArray& body, const QByteArray& header) override {
        Urls << url;
        Bodies << body;
        Headers << header;
        m_busy = true;
        const int load = ++m_load;
        const auto it = Script.find(body);
        const Answer a = body.isEmpty() ? Answer{} : it == Script.end() ? Answer{{}, {}, 404} : it->second;
        if (a.Slow) {
            return;
        }
        QTimer::singleShot(15, this, [this, load, a] {
            if (load != m_load) {
                return;
            }
            m_busy = false;
            m_view.setText(a.Title);
            if (a.Status) {
                emit navigationError(a.Status);
            } else {
                emit loadFinished(a.Title, a.Text);
            }
        });
    }
    bool busy() const override { return m_busy; }
    void stop() override {
        m_busy = false;
        ++m_load;
        ++Stops;
    }
    QWidget* widget() override { return &m_view; }
    void showNotice(const QString& html) override {
        stop();
        Notices << html;
    }

private:
    QLabel m_view; // the window takes it into its layout and outlives this object's use of it
    bool m_busy = false;
    int m_load = 0;
};

// The sample day's meetings (中山 5回 1日, 阪神 5回 1日, 中京 4回 1日) as the site names them.
const QByteArray kList1 = "CNAME=W01PH_D/xW01&xW01=0620260501";
const QByteArray kList2 = "CNAME=W01PH_D/xW01&xW01=0920260501";
const QByteArray kList3 = "CNAME=W01PH_D/xW01&xW01=0720260401";
QByteArray RaceBody(const QByteArray& list, int race) {
    return "CNAME=W01PS_D3/xW01&xW01=" + list.right(10) + QByteArray::number(race).rightJustified(2, '0');
}

ResultPages::RacePage RacePageOf(const QString& venue, int kaiJi, int race) {
    ResultPages::RacePage p = SamplePage();
    p.Meeting = {SampleDay::kYear, kaiJi, venue, SampleDay::kHiJi, 12, 5, QStringLiteral("土")};
    p.RaceNum = race;
    return p;
}
FakeBrowser::Answer ResultsAnswer(const ResultPages::RacePage& p) {
    return {ResultPages::kResultsTitle, ResultPages::JoinLines(ResultPages::ResultsPageLines(p))};
}
FakeBrowser::Answer ListAnswer(const QString& venue, int kaiJi, const QList<int>& races) {
    QList<ResultPages::RacePage> pages;
    for (int r : races) {
        pages << RacePageOf(venue, kaiJi, r);
    }
    return {ResultPages::kPayoutListTitle,
            ResultPages::JoinLines(ResultPages::PayoutListLines(pages.first().Meeting, pages))};
}

// Where the window's buttons are: they must not move whatever the boxes show.
QList<QPoint> ButtonPlaces(QWidget* post) {
    QList<QPoint> places;
    for (const char* name : {"downloadButton", "selectAllButton", "cancelButton"}) {
        places << post->findChild<QWidget*>(QLatin1String(name))->mapTo(post, QPoint());
    }
    return places << QPoint(post->width(), post->height());
}

// A box as "x" (ticked) or ".", its caption and its background.
QString Look(const QCheckBox* box) {
    return (box->isChecked() ? QStringLiteral("x") : QStringLiteral(".")) + box->text() + QLatin1Char(' ') +
           box->palette().color(QPalette::Window).name().toUpper();
}

class DownloadWindowTest : public ClientFolderTest {
protected:
    void SetUp() override {
        ClientFolderTest::SetUp();
        ASSERT_TRUE(WriteSampleDay(client.Path()));
    }

    // Opens the window from the main window's toolbar, with a scripted browser.
    DownloadWindow* Open(MainWindow& w, const std::function<void(FakeBrowser&)>& script) {
        w.setBrowserFactory([script]() -> std::unique_ptr<ResultsBrowser> {
            auto b = std::make_unique<FakeBrowser>();
            script(*b);
            return b;
        });
        w.show();
        QTest::mouseClick(w.ToolButton(MainWindow::DownloadButton), Qt::LeftButton);
        auto* post = qobject_cast<DownloadWindow*>(w.Host().Loaded(Window::Browser));
        if (post) {
            post->setTimeOutMs(300);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(post));
        }
        return post;
    }
    static FakeBrowser& Browser(DownloadWindow* post) { return static_cast<FakeBrowser&>(post->brwWebBrowser()); }
};
} // namespace

// Three meetings, nine races ticked; the site answers each in a different way and every box ends with
// what became of its race.
TEST_F(DownloadWindowTest, ARunMarksEveryRaceWithItsOutcomeAndWritesTheResultFiles) {
    MainWindow w(folders());
    w.Control().setResultSite(QStringLiteral("http://127.0.0.1:9/"));
    DownloadWindow* post = Open(w, [](FakeBrowser& b) {
        const QString nakayama = QStringLiteral("中山"), hanshin = QStringLiteral("阪神");
        b.Script[kList1] = ListAnswer(nakayama, 5, {1, 2, 3, 5});
        b.Script[RaceBody(kList1, 1)] = ResultsAnswer(RacePageOf(nakayama, 5, 1));
        b.Script[RaceBody(kList1, 2)] = {ResultPages::kResultsTitle, QStringLiteral("競走成績\r\n準備中です")};
        b.Script[RaceBody(kList1, 3)] = {{}, {}, 404};
        b.Script[RaceBody(kList1, 5)] = {{}, {}, 0, true};
        b.Script[kList2] = ListAnswer(hanshin, 5, {1, 2});
        b.Script[RaceBody(kList2, 1)] = {QStringLiteral("メンテナンス中"), QStringLiteral("しばらくお待ちください")};
        b.Script[RaceBody(kList2, 2)] = ResultsAnswer(RacePageOf(hanshin, 5, 2));
        b.Script[kList3] = {{}, {}, 500};
    });
    ASSERT_NE(post, nullptr);
    EXPECT_FALSE(w.ToolButton(MainWindow::DownloadButton)->isEnabled());
    EXPECT_FALSE(w.ToolButton(MainWindow::RefreshButton)->isEnabled());
    EXPECT_EQ(post->windowTitle(), QStringLiteral("競走成績ダウンロード"));
    EXPECT_EQ(Browser(post).Urls.value(0), QUrl(QStringLiteral("about:VelqoraV50")));
    const QStringList titles{QStringLiteral("中山 5回 1日"), QStringLiteral("阪神 5回 1日"),
                             QStringLiteral("中京 4回 1日")};
    for (int m = 0; m < 3; ++m) {
        EXPECT_TRUE(post->picKaisai(m)->isVisible()) << m;
        EXPECT_EQ(post->lblKaisai(m)->text(), titles[m]);
    }
    // The open races with stakes on them come ticked with the amount.
    EXPECT_EQ(Look(post->chkState(8)), QStringLiteral("x1000円 #FFFFFF"));
    EXPECT_EQ(Look(post->chkState(10)), QStringLiteral("x3000円 #FFFFFF"));
    EXPECT_EQ(Look(post->chkState(0)), QStringLiteral(". #FFFFFF"));
    EXPECT_EQ(post->lblTitleRace(11)->text(), QStringLiteral("12R"));
    SaveScreenshot(post, QStringLiteral("download-before"));

    QTest::mouseClick(post->cmdSelectAll(), Qt::LeftButton);
    QTest::mouseClick(post->cmdSelectAll(), Qt::LeftButton);
    for (int i = 0; i < 36; ++i) {
        EXPECT_TRUE(post->chkState(i)->isVisible()) << i;
        EXPECT_FALSE(post->chkState(i)->isChecked()) << i;
    }
    for (int i : {0, 1, 2, 3, 4, 12, 13, 24}) {
        post->chkState(i)->click();
    }
    const QList<QPoint> places = ButtonPlaces(post);
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton);
    EXPECT_FALSE(post->Picture1()->isEnabled());
    EXPECT_TRUE(post->cmdCancel()->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(post->chkState(0)->text(), QStringLiteral("正常"), 5000);
    // Race 5 keeps the browser waiting: the fifth of the eight ticked races.
    auto* progress = post->findChild<QLabel*>(QStringLiteral("progressLine"));
    QTRY_COMPARE_WITH_TIMEOUT(progress->text(), QStringLiteral("中山 5R 取得中… 5/8"), 5000);
    SaveScreenshot(post, QStringLiteral("download-running"));
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 10000);
    SaveScreenshot(post, QStringLiteral("download-after"));

    QList<QByteArray> expected{kList1, RaceBody(kList1, 1), RaceBody(kList1, 2), RaceBody(kList1, 3)};
    expected << RaceBody(kList1, 5) << kList2 << RaceBody(kList2, 1) << RaceBody(kList2, 2) << kList3;
    EXPECT_EQ(Browser(post).Bodies.mid(1), expected);
    EXPECT_EQ(Browser(post).Urls.value(1), QUrl(QStringLiteral("http://127.0.0.1:9/JRADB/accessS")));
    EXPECT_EQ(Browser(post).Headers.value(1), QByteArray("Content-Type: application/x-www-form-urlencoded\r\n"));
    const struct {
        int box;
        const char* look;
    } outcomes[] = {
        {0, ".正常 #0000FF"},
        {1, "xエラー #FF0000"}, // a results page the converter cannot read
        {2, "x404 #FF0000"},
        {3, "x未確定 #000000"}, // not in the payout list: never asked for
        {4, "xタイムアウト #FF0000"},
        {12, "xエラー #FF0000"}, // a page of neither kind; the run went on
        {13, ".正常 #0000FF"},
        {24, "x取得不可 HTTP 500 #FF00FF"}, // the payout list answered 500
        {5, ". #FFFFFF"},
    };
    for (const auto& o : outcomes) {
        EXPECT_EQ(Look(post->chkState(o.box)), QString::fromUtf8(o.look)) << o.box;
    }
    EXPECT_EQ(post->chkState(0)->palette().color(QPalette::WindowText), QColor(Qt::white));
    // The pane was cleared for the run; a page that failed or was given up on shows why, in Japanese.
    const QStringList& notices = Browser(post).Notices;
    EXPECT_EQ(notices.value(0), QString());
    for (const char16_t* why : {u"成績ページを表示できません: ページが見つかりません（HTTP 404）",
                                u"成績ページが30秒たっても表示されませんでした（タイムアウト）"}) {
        EXPECT_EQ(notices.filter(QString::fromUtf16(why)).size(), 1) << QString::fromUtf16(why).toStdString();
    }
    EXPECT_EQ(places, ButtonPlaces(post));
    EXPECT_TRUE(post->Picture1()->isEnabled());
    EXPECT_FALSE(post->cmdCancel()->isEnabled());
    // The sample day already holds race 8's file of 中山 in the download folder; the run adds race 1 of
    // 中山 and race 2 of 阪神 beside it.
    const QString day = client.Path() + QStringLiteral("VQDOWNLOAD/20261205/");
    EXPECT_EQ(
        QDir(day).entryList(QDir::Files, QDir::Name),
        (QStringList{QStringLiteral("KS-66511.JRA"), QStringLiteral("KS-66518.JRA"), QStringLiteral("KS-96512.JRA")}));
    EXPECT_EQ(QFileInfo(day + QStringLiteral("KS-66511.JRA")).size(), 849);
    EXPECT_EQ(QFileInfo(day + QStringLiteral("KS-96512.JRA")).size(), 849);
    QTest::mouseClick(post->cmdSelectAll(), Qt::LeftButton); // every race: other captions in every box
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 20000);
    EXPECT_EQ(places, ButtonPlaces(post));

    post->close();
    EXPECT_TRUE(w.ToolButton(MainWindow::DownloadButton)->isEnabled());
    EXPECT_TRUE(w.ToolButton(MainWindow::RefreshButton)->isEnabled());
}

// A result file that cannot be written is said as such, box and message; a day's folder that cannot take
// files is said once and starts no run; a sale date that is no date names no folder, so no run starts.
TEST_F(DownloadWindowTest, WhatCannotBeWrittenIsSaidAndABadSaleDateStartsNoRun) {
    ASSERT_TRUE(QDir().mkpath(client.Path() + QStringLiteral("VQDOWNLOAD/20261205/KS-66519.JRA")));
    CapturingReporter reporter;
    MainWindow w(folders());
    DownloadWindow* post = Open(w, [](FakeBrowser& b) {
        b.Script[kList1] = ListAnswer(QStringLiteral("中山"), 5, {9});
        b.Script[RaceBody(kList1, 9)] = ResultsAnswer(RacePageOf(QStringLiteral("中山"), 5, 9));
    });
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton); // the open races 9 and 11 are ticked
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 10000);
    EXPECT_EQ(Look(post->chkState(8)), QStringLiteral("x書込不可 #FF0000"));
    SaveScreenshot(post, QStringLiteral("download-not-saved"));
    EXPECT_TRUE(reporter.texts.value(0).startsWith(DownloadRun::NotSavedMessage() + QStringLiteral("\r\n")));

    const QString folder = client.Path() + QStringLiteral("VQDOWNLOAD/20261205");
    QDir(folder).removeRecursively();
    client.Write(QStringLiteral("VQDOWNLOAD/20261205"), "a file where the day's folder goes");
    const qsizetype asked = Browser(post).Bodies.size();
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton);
    QTest::qWait(100);
    ASSERT_EQ(reporter.texts.size(), 2);
    EXPECT_TRUE(
        reporter.texts[1].startsWith(QStringLiteral("結果ファイルを保存できません: %1（同じ名前のファイルがあります）")
                                         .arg(QDir::toNativeSeparators(folder))));
    EXPECT_EQ(Browser(post).Bodies.size(), asked);
    EXPECT_EQ(Look(post->chkState(8)), QStringLiteral("x書込不可 #FF0000")); // the last run's outcome stays
    SaveScreenshot(post, QStringLiteral("download-folder-refused"));

    post->close();
    client.Write(QStringLiteral("UY-A.JRA"), client.Read(QStringLiteral("UY-A.JRA")).replace(0, 8, "../../xx"));
    QTest::mouseClick(w.ToolButton(MainWindow::RefreshButton), Qt::LeftButton);
    post = Open(w, [](FakeBrowser&) {});
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton);
    EXPECT_EQ(reporter.texts.value(2), DownloadRun::NoSaveFolderText());
    QTest::qWait(100);
    EXPECT_EQ(Browser(post).Bodies.size(), 1); // the start page only
}

// Cancelling while a page loads stops the browser; the run ends at once and asks for nothing more.
TEST_F(DownloadWindowTest, CancelDuringALoadStopsTheBrowserAndEndsTheRun) {
    MainWindow w(folders());
    DownloadWindow* post = Open(w, [](FakeBrowser& b) { b.Script[kList1] = {{}, {}, 0, true}; });
    ASSERT_NE(post, nullptr);
    post->setTimeOutMs(30000);
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton); // the open races 9 and 11 are ticked
    QTRY_COMPARE_WITH_TIMEOUT(Browser(post).Bodies.size(), 2, 5000);
    EXPECT_EQ(post->windowTitle(), QStringLiteral("レース情報　取得中"));
    const int stops = Browser(post).Stops;
    QTest::mouseClick(post->cmdCancel(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("キャンセルしました。"), 5000);
    EXPECT_EQ(Browser(post).Stops, stops + 1);
    QTest::qWait(100);
    EXPECT_EQ(Browser(post).Bodies.size(), 2);
    EXPECT_TRUE(post->cmdSubmit()->isEnabled());
    EXPECT_EQ(Look(post->chkState(8)), QStringLiteral("x #FFFFFF"));
    SaveScreenshot(post, QStringLiteral("download-cancelled"));
}

// The real browser against the local results site named in the settings, over two meetings. 中山: race 1
// is published and converted, race 2 is not in the payout list yet, race 3 answers 500, race 4's page
// cannot be converted (a margin wider than its field), race 5 does not answer in time. 阪神: race 2 is
// converted. A second run is cancelled while race 5 keeps the browser waiting.
TEST_F(DownloadWindowTest, TheWebEngineBrowserRunsAgainstTheSiteOfTheSettings) {
    ResultsSite site;
    ResultPages::RacePage unconvertible = RacePageOf(QStringLiteral("中山"), 5, 4);
    unconvertible.Runners[1].Margin = QStringLiteral("大差大差大差");
    for (const ResultPages::RacePage& p :
         {RacePageOf(QStringLiteral("中山"), 5, 1), RacePageOf(QStringLiteral("中山"), 5, 3), unconvertible,
          RacePageOf(QStringLiteral("中山"), 5, 5), RacePageOf(QStringLiteral("阪神"), 5, 2)}) {
        site.AddRace(p);
    }
    site.setAnswer(QStringLiteral("0620260501"), QStringLiteral("03"), ResultsSite::Answer::ErrorStatus);
    site.setAnswer(QStringLiteral("0620260501"), QStringLiteral("05"), ResultsSite::Answer::Slow);
    site.setSlowMs(20000);
    ASSERT_TRUE(site.Listen());
    program.Write(QStringLiteral("VQV50.INI"), "[OPTION]\r\nresultsite=" + site.Base().toLatin1() + "\r\n");
    MainWindow w(folders());
    w.show();
    QTest::mouseClick(w.ToolButton(MainWindow::DownloadButton), Qt::LeftButton);
    auto* post = qobject_cast<DownloadWindow*>(w.Host().Loaded(Window::Browser));
    ASSERT_NE(post, nullptr);
    ASSERT_NE(dynamic_cast<WebEngineBrowser*>(&post->brwWebBrowser()), nullptr);
    post->setTimeOutMs(3000);
    QTest::mouseClick(post->cmdSelectAll(), Qt::LeftButton);
    QTest::mouseClick(post->cmdSelectAll(), Qt::LeftButton);
    for (const int i : {0, 1, 2, 3, 4, 13}) {
        post->chkState(i)->setChecked(true);
    }
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 60000);
    SaveScreenshot(post, QStringLiteral("download-site"));
    QStringList requests{QString::fromLatin1(kList1)};
    for (const int race : {1, 3, 4, 5}) {
        requests << QString::fromLatin1(RaceBody(kList1, race));
    }
    requests << QString::fromLatin1(kList2) << QString::fromLatin1(RaceBody(kList2, 2));
    EXPECT_EQ(site.Requests(), requests);
    const struct {
        int box;
        const char16_t* look;
    } boxes[] = {{0, u".正常 #0000FF"},   {1, u"x未確定 #000000"},       {2, u"x500 #FF0000"},
                 {3, u"xエラー #FF0000"}, {4, u"xタイムアウト #FF0000"}, {13, u".正常 #0000FF"}};
    for (const auto& b : boxes) {
        EXPECT_EQ(Look(post->chkState(b.box)), QString::fromUtf16(b.look)) << b.box;
    }
    EXPECT_EQ(QFileInfo(client.Path() + QStringLiteral("VQDOWNLOAD/20261205/KS-66511.JRA")).size(), 849);
    EXPECT_EQ(QFileInfo(client.Path() + QStringLiteral("VQDOWNLOAD/20261205/KS-96512.JRA")).size(), 849);

    // Again with race 5 alone, cancelled while its page is awaited.
    post->setTimeOutMs(30000);
    QTest::mouseClick(post->cmdSelectAll(), Qt::LeftButton);
    QTest::mouseClick(post->cmdSelectAll(), Qt::LeftButton);
    post->chkState(4)->setChecked(true);
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(site.Requests().size() == requests.size() + 2, 30000);
    QTest::mouseClick(post->cmdCancel(), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("キャンセルしました。"), 10000);
    EXPECT_FALSE(post->cmdCancel()->isEnabled());

    // Nobody listens at the site's port: the meeting's race says why, and the pane shows our page, not the
    // engine's English one.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    w.Control().setResultSite(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
    closed.close();
    QTest::mouseClick(post->cmdSubmit(), Qt::LeftButton); // race 5 is still the one ticked
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 10000);
    EXPECT_EQ(Look(post->chkState(4)), QStringLiteral("x取得不可 接続できません #FF00FF"));
    auto* view = qobject_cast<QWebEngineView*>(post->brwWebBrowser().widget());
    const auto shown = std::make_shared<QString>();
    QTRY_VERIFY_WITH_TIMEOUT((view->page()->toPlainText([shown](const QString& t) { *shown = t; }),
                              shown->startsWith(QStringLiteral("成績ページに接続できません（接続が拒否されました）"))),
                             10000);
    SaveScreenshot(post, QStringLiteral("download-error-page"));
}
