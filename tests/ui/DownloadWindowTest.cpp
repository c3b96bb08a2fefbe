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
        QString title;
        QString text;
        int status = 0; // an error status instead of a page
        bool slow = false;
    };
    std::map<QByteArray, Answer> script;
    QList<QUrl> urls;
    QList<QByteArray> bodies;
    QList<QByteArray> headers;
    QStringList notices;
    int stops = 0;

    void navigate(const QUrl& url, const QByteArray& body, const QByteArray& header) override {
        urls << url;
        bodies << body;
        headers << header;
        m_busy = true;
        const int load = ++m_load;
        const auto it = script.find(body);
        const Answer a = body.isEmpty() ? Answer{} : it == script.end() ? Answer{{}, {}, 404} : it->second;
        if (a.slow) {
            return;
        }
        QTimer::singleShot(15, this, [this, load, a] {
            if (load != m_load) {
                return;
            }
            m_busy = false;
            m_view.setText(a.title);
            if (a.status) {
                emit navigationError(a.status);
            } else {
                emit loadFinished(a.title, a.text);
            }
        });
    }
    bool busy() const override { return m_busy; }
    void stop() override {
        m_busy = false;
        ++m_load;
        ++stops;
    }
    QWidget* widget() override { return &m_view; }
    void showNotice(const QString& html) override {
        stop();
        notices << html;
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
QByteArray raceBody(const QByteArray& list, int race) {
    return "CNAME=W01PS_D3/xW01&xW01=" + list.right(10) + QByteArray::number(race).rightJustified(2, '0');
}

ResultPages::RacePage racePageOf(const QString& venue, int kaiJi, int race) {
    ResultPages::RacePage p = samplePage();
    p.meeting = {SampleDay::kYear, kaiJi, venue, SampleDay::kHiJi, 12, 5, QStringLiteral("土")};
    p.raceNum = race;
    return p;
}
FakeBrowser::Answer resultsAnswer(const ResultPages::RacePage& p) {
    return {ResultPages::kResultsTitle, ResultPages::joinLines(ResultPages::resultsPageLines(p))};
}
FakeBrowser::Answer listAnswer(const QString& venue, int kaiJi, const QList<int>& races) {
    QList<ResultPages::RacePage> pages;
    for (int r : races) {
        pages << racePageOf(venue, kaiJi, r);
    }
    return {ResultPages::kPayoutListTitle,
            ResultPages::joinLines(ResultPages::payoutListLines(pages.first().meeting, pages))};
}

// Where the window's buttons are: they must not move whatever the boxes show.
QList<QPoint> buttonPlaces(QWidget* post) {
    QList<QPoint> places;
    for (const char* name : {"downloadButton", "selectAllButton", "cancelButton"}) {
        places << child<QPushButton>(post, name)->mapTo(post, QPoint());
    }
    return places << QPoint(post->width(), post->height());
}

// A race's box ("1_9": meeting 1, race 9) as "x" (ticked) or ".", its caption and its background.
QString look(const QWidget* post, const char* race) {
    const auto* box = child<QCheckBox>(post, QStringLiteral("raceBox_") + race);
    return (box->isChecked() ? QStringLiteral("x") : QStringLiteral(".")) + box->text() + QLatin1Char(' ') +
           box->palette().color(QPalette::Window).name().toUpper();
}

class DownloadWindowTest : public ClientFolderTest {
protected:
    void SetUp() override {
        ClientFolderTest::SetUp();
        ASSERT_TRUE(writeSampleDay(client.path()));
    }

    // Opens the window from the main window's toolbar, with a scripted browser.
    DownloadWindow* open(MainWindow& w, const std::function<void(FakeBrowser&)>& script) {
        w.setBrowserFactory([script]() -> std::unique_ptr<ResultsBrowser> {
            auto b = std::make_unique<FakeBrowser>();
            script(*b);
            return b;
        });
        w.show();
        QTest::mouseClick(child<QToolButton>(&w, "downloadButton"), Qt::LeftButton);
        auto* post = qobject_cast<DownloadWindow*>(w.host().loaded(Window::Browser));
        if (post) {
            post->setTimeOutMs(300);
            EXPECT_TRUE(QTest::qWaitForWindowExposed(post));
        }
        return post;
    }
    static FakeBrowser& browser(DownloadWindow* post) { return static_cast<FakeBrowser&>(post->browser()); }
};
} // namespace

// Three meetings, nine races ticked; the site answers each in a different way and every box ends with
// what became of its race.
TEST_F(DownloadWindowTest, ARunMarksEveryRaceWithItsOutcomeAndWritesTheResultFiles) {
    MainWindow w(folders());
    w.control().settings().setResultSite(QStringLiteral("http://127.0.0.1:9/"));
    DownloadWindow* post = open(w, [](FakeBrowser& b) {
        const QString nakayama = QStringLiteral("中山"), hanshin = QStringLiteral("阪神");
        b.script[kList1] = listAnswer(nakayama, 5, {1, 2, 3, 5});
        b.script[raceBody(kList1, 1)] = resultsAnswer(racePageOf(nakayama, 5, 1));
        b.script[raceBody(kList1, 2)] = {ResultPages::kResultsTitle, QStringLiteral("競走成績\r\n準備中です")};
        b.script[raceBody(kList1, 3)] = {{}, {}, 404};
        b.script[raceBody(kList1, 5)] = {{}, {}, 0, true};
        b.script[kList2] = listAnswer(hanshin, 5, {1, 2});
        b.script[raceBody(kList2, 1)] = {QStringLiteral("メンテナンス中"), QStringLiteral("しばらくお待ちください")};
        b.script[raceBody(kList2, 2)] = resultsAnswer(racePageOf(hanshin, 5, 2));
        b.script[kList3] = {{}, {}, 500};
    });
    ASSERT_NE(post, nullptr);
    EXPECT_FALSE(child<QToolButton>(&w, "downloadButton")->isEnabled());
    EXPECT_FALSE(child<QToolButton>(&w, "refreshButton")->isEnabled());
    EXPECT_EQ(post->windowTitle(), QStringLiteral("競走成績ダウンロード"));
    EXPECT_EQ(browser(post).urls.value(0), QUrl(QStringLiteral("about:VelqoraV50")));
    const QStringList titles{QStringLiteral("中山 5回 1日"), QStringLiteral("阪神 5回 1日"),
                             QStringLiteral("中京 4回 1日")};
    for (int m = 1; m <= 3; ++m) {
        EXPECT_TRUE(child<QFrame>(post, QStringLiteral("meetingPanel_%1").arg(m))->isVisible()) << m;
        EXPECT_EQ(child<QLabel>(post, QStringLiteral("meetingTitle_%1").arg(m))->text(), titles[m - 1]);
    }
    // The open races with stakes on them come ticked with the amount.
    EXPECT_EQ(look(post, "1_9"), QStringLiteral("x1000円 #FFFFFF"));
    EXPECT_EQ(look(post, "1_11"), QStringLiteral("x3000円 #FFFFFF"));
    EXPECT_EQ(look(post, "1_1"), QStringLiteral(". #FFFFFF"));
    EXPECT_EQ(child<QLabel>(post, "raceTitle_1_12")->text(), QStringLiteral("12R"));
    saveScreenshot(post, QStringLiteral("download-before"));

    QTest::mouseClick(child<QPushButton>(post, "selectAllButton"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(post, "selectAllButton"), Qt::LeftButton);
    for (int i = 0; i < 36; ++i) {
        const auto* box = child<QCheckBox>(post, QStringLiteral("raceBox_%1_%2").arg(i / 12 + 1).arg(i % 12 + 1));
        EXPECT_TRUE(box->isVisible()) << i;
        EXPECT_FALSE(box->isChecked()) << i;
    }
    for (const char* race : {"1_1", "1_2", "1_3", "1_4", "1_5", "2_1", "2_2", "3_1"}) {
        child<QCheckBox>(post, QStringLiteral("raceBox_") + race)->click();
    }
    const QList<QPoint> places = buttonPlaces(post);
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton);
    EXPECT_FALSE(child<QWidget>(post, "choices")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(post, "cancelButton")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(child<QCheckBox>(post, "raceBox_1_1")->text(), QStringLiteral("正常"), 5000);
    // Race 5 keeps the browser waiting: the fifth of the eight ticked races.
    auto* progress = child<QLabel>(post, "progressLine");
    QTRY_COMPARE_WITH_TIMEOUT(progress->text(), QStringLiteral("中山 5R 取得中… 5/8"), 5000);
    saveScreenshot(post, QStringLiteral("download-running"));
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 10000);
    saveScreenshot(post, QStringLiteral("download-after"));

    QList<QByteArray> expected{kList1, raceBody(kList1, 1), raceBody(kList1, 2), raceBody(kList1, 3)};
    expected << raceBody(kList1, 5) << kList2 << raceBody(kList2, 1) << raceBody(kList2, 2) << kList3;
    EXPECT_EQ(browser(post).bodies.mid(1), expected);
    EXPECT_EQ(browser(post).urls.value(1), QUrl(QStringLiteral("http://127.0.0.1:9/JRADB/accessS")));
    EXPECT_EQ(browser(post).headers.value(1), QByteArray("Content-Type: application/x-www-form-urlencoded\r\n"));
    const struct {
        const char* race;
        const char* look;
    } outcomes[] = {
        {"1_1", ".正常 #0000FF"},
        {"1_2", "xエラー #FF0000"}, // a results page the converter cannot read
        {"1_3", "x404 #FF0000"},
        {"1_4", "x未確定 #000000"}, // not in the payout list: never asked for
        {"1_5", "xタイムアウト #FF0000"},
        {"2_1", "xエラー #FF0000"}, // a page of neither kind; the run went on
        {"2_2", ".正常 #0000FF"},
        {"3_1", "x取得不可 HTTP 500 #FF00FF"}, // the payout list answered 500
        {"1_6", ". #FFFFFF"},
    };
    for (const auto& o : outcomes) {
        EXPECT_EQ(look(post, o.race), QString::fromUtf8(o.look)) << o.race;
    }
    EXPECT_EQ(child<QCheckBox>(post, "raceBox_1_1")->palette().color(QPalette::WindowText), QColor(Qt::white));
    // The pane was cleared for the run; a page that failed or was given up on shows why, in Japanese.
    const QStringList& notices = browser(post).notices;
    EXPECT_EQ(notices.value(0), QString());
    for (const char16_t* why : {u"成績ページを表示できません: ページが見つかりません（HTTP 404）",
                                u"成績ページが30秒たっても表示されませんでした（タイムアウト）"}) {
        EXPECT_EQ(notices.filter(QString::fromUtf16(why)).size(), 1) << QString::fromUtf16(why).toStdString();
    }
    EXPECT_EQ(places, buttonPlaces(post));
    EXPECT_TRUE(child<QWidget>(post, "choices")->isEnabled());
    EXPECT_FALSE(child<QPushButton>(post, "cancelButton")->isEnabled());
    // The sample day already holds race 8's file of 中山 in the download folder; the run adds race 1 of
    // 中山 and race 2 of 阪神 beside it.
    const QString day = client.path() + QStringLiteral("VQDOWNLOAD/20261205/");
    EXPECT_EQ(
        QDir(day).entryList(QDir::Files, QDir::Name),
        (QStringList{QStringLiteral("KS-66511.JRA"), QStringLiteral("KS-66518.JRA"), QStringLiteral("KS-96512.JRA")}));
    EXPECT_EQ(QFileInfo(day + QStringLiteral("KS-66511.JRA")).size(), 849);
    EXPECT_EQ(QFileInfo(day + QStringLiteral("KS-96512.JRA")).size(), 849);
    QTest::mouseClick(child<QPushButton>(post, "selectAllButton"), Qt::LeftButton); // every race: other captions
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 20000);
    EXPECT_EQ(places, buttonPlaces(post));

    post->close();
    EXPECT_TRUE(child<QToolButton>(&w, "downloadButton")->isEnabled());
    EXPECT_TRUE(child<QToolButton>(&w, "refreshButton")->isEnabled());
}

// A result file that cannot be written is said as such, box and message; a day's folder that cannot take
// files is said once and starts no run; a sale date that is no date names no folder, so no run starts.
TEST_F(DownloadWindowTest, WhatCannotBeWrittenIsSaidAndABadSaleDateStartsNoRun) {
    ASSERT_TRUE(QDir().mkpath(client.path() + QStringLiteral("VQDOWNLOAD/20261205/KS-66519.JRA")));
    CapturingReporter reporter;
    MainWindow w(folders());
    DownloadWindow* post = open(w, [](FakeBrowser& b) {
        b.script[kList1] = listAnswer(QStringLiteral("中山"), 5, {9});
        b.script[raceBody(kList1, 9)] = resultsAnswer(racePageOf(QStringLiteral("中山"), 5, 9));
    });
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton); // the open races 9 and 11 are ticked
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 10000);
    EXPECT_EQ(look(post, "1_9"), QStringLiteral("x書込不可 #FF0000"));
    saveScreenshot(post, QStringLiteral("download-not-saved"));
    EXPECT_TRUE(reporter.texts.value(0).startsWith(DownloadRun::notSavedMessage() + QStringLiteral("\r\n")));

    const QString folder = client.path() + QStringLiteral("VQDOWNLOAD/20261205");
    QDir(folder).removeRecursively();
    client.write(QStringLiteral("VQDOWNLOAD/20261205"), "a file where the day's folder goes");
    const qsizetype asked = browser(post).bodies.size();
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton);
    QTest::qWait(100);
    ASSERT_EQ(reporter.texts.size(), 2);
    EXPECT_TRUE(
        reporter.texts[1].startsWith(QStringLiteral("結果ファイルを保存できません: %1（同じ名前のファイルがあります）")
                                         .arg(QDir::toNativeSeparators(folder))));
    EXPECT_EQ(browser(post).bodies.size(), asked);
    EXPECT_EQ(look(post, "1_9"), QStringLiteral("x書込不可 #FF0000")); // the last run's outcome stays
    saveScreenshot(post, QStringLiteral("download-folder-refused"));

    post->close();
    client.write(QStringLiteral("UY-A.JRA"), client.read(QStringLiteral("UY-A.JRA")).replace(0, 8, "../../xx"));
    QTest::mouseClick(child<QToolButton>(&w, "refreshButton"), Qt::LeftButton);
    post = open(w, [](FakeBrowser&) {});
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton);
    EXPECT_EQ(reporter.texts.value(2), DownloadRun::noSaveFolderText());
    QTest::qWait(100);
    EXPECT_EQ(browser(post).bodies.size(), 1); // the start page only
}

// Cancelling while a page loads stops the browser; the run ends at once and asks for nothing more.
TEST_F(DownloadWindowTest, CancelDuringALoadStopsTheBrowserAndEndsTheRun) {
    MainWindow w(folders());
    DownloadWindow* post = open(w, [](FakeBrowser& b) { b.script[kList1] = {{}, {}, 0, true}; });
    ASSERT_NE(post, nullptr);
    post->setTimeOutMs(30000);
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton); // the open races 9 and 11 are ticked
    QTRY_COMPARE_WITH_TIMEOUT(browser(post).bodies.size(), 2, 5000);
    EXPECT_EQ(post->windowTitle(), QStringLiteral("レース情報　取得中"));
    const int stops = browser(post).stops;
    QTest::mouseClick(child<QPushButton>(post, "cancelButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("キャンセルしました。"), 5000);
    EXPECT_EQ(browser(post).stops, stops + 1);
    QTest::qWait(100);
    EXPECT_EQ(browser(post).bodies.size(), 2);
    EXPECT_TRUE(child<QPushButton>(post, "downloadButton")->isEnabled());
    EXPECT_EQ(look(post, "1_9"), QStringLiteral("x #FFFFFF"));
    saveScreenshot(post, QStringLiteral("download-cancelled"));
}

// The real browser against the local results site named in the settings, over two meetings. 中山: race 1
// is published and converted, race 2 is not in the payout list yet, race 3 answers 500, race 4's page
// cannot be converted (a margin wider than its field), race 5 does not answer in time. 阪神: race 2 is
// converted. A second run is cancelled while race 5 keeps the browser waiting.
TEST_F(DownloadWindowTest, TheWebEngineBrowserRunsAgainstTheSiteOfTheSettings) {
    ResultsSite site;
    ResultPages::RacePage unconvertible = racePageOf(QStringLiteral("中山"), 5, 4);
    unconvertible.runners[1].margin = QStringLiteral("大差大差大差");
    for (const ResultPages::RacePage& p :
         {racePageOf(QStringLiteral("中山"), 5, 1), racePageOf(QStringLiteral("中山"), 5, 3), unconvertible,
          racePageOf(QStringLiteral("中山"), 5, 5), racePageOf(QStringLiteral("阪神"), 5, 2)}) {
        site.addRace(p);
    }
    site.setAnswer(QStringLiteral("0620260501"), QStringLiteral("03"), ResultsSite::Answer::ErrorStatus);
    site.setAnswer(QStringLiteral("0620260501"), QStringLiteral("05"), ResultsSite::Answer::Slow);
    site.setSlowMs(30000);
    ASSERT_TRUE(site.listen());
    program.write(QStringLiteral("VQV50.INI"), "[OPTION]\r\nresultsite=" + site.base().toLatin1() + "\r\n");
    MainWindow w(folders());
    w.show();
    QTest::mouseClick(child<QToolButton>(&w, "downloadButton"), Qt::LeftButton);
    auto* post = qobject_cast<DownloadWindow*>(w.host().loaded(Window::Browser));
    ASSERT_NE(post, nullptr);
    ASSERT_TRUE(post->browser().widget()->inherits("QWebEngineView")); // the engine of the plugin
    post->setTimeOutMs(10000); // long enough for a loaded machine under the sanitizers, short of race 5's wait
    QTest::mouseClick(child<QPushButton>(post, "selectAllButton"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(post, "selectAllButton"), Qt::LeftButton);
    for (const char* race : {"1_1", "1_2", "1_3", "1_4", "1_5", "2_2"}) {
        child<QCheckBox>(post, QStringLiteral("raceBox_") + race)->setChecked(true);
    }
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 60000);
    saveScreenshot(post, QStringLiteral("download-site"));
    QStringList requests{QString::fromLatin1(kList1)};
    for (const int race : {1, 3, 4, 5}) {
        requests << QString::fromLatin1(raceBody(kList1, race));
    }
    requests << QString::fromLatin1(kList2) << QString::fromLatin1(raceBody(kList2, 2));
    EXPECT_EQ(site.requests(), requests);
    const struct {
        const char* race;
        const char16_t* look;
    } boxes[] = {{"1_1", u".正常 #0000FF"},   {"1_2", u"x未確定 #000000"},       {"1_3", u"x500 #FF0000"},
                 {"1_4", u"xエラー #FF0000"}, {"1_5", u"xタイムアウト #FF0000"}, {"2_2", u".正常 #0000FF"}};
    for (const auto& b : boxes) {
        EXPECT_EQ(look(post, b.race), QString::fromUtf16(b.look)) << b.race;
    }
    EXPECT_EQ(QFileInfo(client.path() + QStringLiteral("VQDOWNLOAD/20261205/KS-66511.JRA")).size(), 849);
    EXPECT_EQ(QFileInfo(client.path() + QStringLiteral("VQDOWNLOAD/20261205/KS-96512.JRA")).size(), 849);

    // Again with race 5 alone, cancelled while its page is awaited.
    post->setTimeOutMs(30000);
    QTest::mouseClick(child<QPushButton>(post, "selectAllButton"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(post, "selectAllButton"), Qt::LeftButton);
    child<QCheckBox>(post, "raceBox_1_5")->setChecked(true);
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(site.requests().size() == requests.size() + 2, 30000);
    QTest::mouseClick(child<QPushButton>(post, "cancelButton"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("キャンセルしました。"), 10000);
    EXPECT_FALSE(child<QPushButton>(post, "cancelButton")->isEnabled());

    // Nobody listens at the site's port: the meeting's race says why, and the pane shows our page, not the
    // engine's English one.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    w.control().settings().setResultSite(QStringLiteral("http://127.0.0.1:%1").arg(closed.serverPort()));
    closed.close();
    QTest::mouseClick(child<QPushButton>(post, "downloadButton"), Qt::LeftButton); // race 5 is still the one ticked
    QTRY_COMPARE_WITH_TIMEOUT(post->windowTitle(), QStringLiteral("終了しました。"), 10000);
    EXPECT_EQ(look(post, "1_5"), QStringLiteral("x取得不可 接続できません #FF00FF"));
    auto* view = qobject_cast<QWebEngineView*>(post->browser().widget());
    const auto shown = std::make_shared<QString>();
    QTRY_VERIFY_WITH_TIMEOUT((view->page()->toPlainText([shown](const QString& t) { *shown = t; }),
                              shown->startsWith(QStringLiteral("成績ページに接続できません（接続が拒否されました）"))),
                             10000);
    saveScreenshot(post, QStringLiteral("download-error-page"));
}
