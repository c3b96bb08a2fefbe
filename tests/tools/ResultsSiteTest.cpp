#include "resultsite/ResultsSite.h"

#include "core/CodePage.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "results/RaceResultReader.h"
#include "results/ResultsPageConverter.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct Answer {
    int Status = 0;
    QString Title;
    QString Pre; // the <pre> text, decoded
};

QString Between(const QString& html, const QString& open, const QString& close) {
    const qsizetype from = html.indexOf(open);
    const qsizetype to = html.indexOf(close, from);
    return from < 0 || to < 0 ? QString() : html.mid(from + open.size(), to - from - open.size());
}

Answer Send(const QString& url, const QByteArray& method, const QString& body) {
    QNetworkAccessManager nam;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply* reply = nam.sendCustomRequest(request, method, CodePage::Encode(body));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    Answer a;
    a.Status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString html = CodePage::Decode(reply->readAll());
    a.Title = Between(html, QStringLiteral("<title>"), QStringLiteral("</title>"));
    a.Pre = Between(html, QStringLiteral("<pre>"), QStringLiteral("</pre>"));
    delete reply;
    return a;
}

ResultPages::RacePage HandMadeRace(int raceNum) {
    ResultPages::RacePage p;
    p.RaceNum = raceNum;
    ResultPages::Runner first;
    first.Chaku = QStringLiteral("1");
    first.Waku = 2;
    first.Num = 3;
    first.UmaName = QStringLiteral("アイウエーオ");
    first.Time = QStringLiteral("1:34.5");
    p.Runners = {first};
    p.Payouts[0] = {{3, 0, 0, 1230, 2}};
    p.RefundHorses = {5};
    return p;
}

TEST(ResultsSite, AnswersTheTwoFormsAndRefusesTheRest) {
    ResultsSite site;
    site.AddRace(HandMadeRace(11));
    site.AddRace(HandMadeRace(1));
    const QString code = QStringLiteral("0520260208"); // Tokyo, 2026, meeting 2, day 8
    site.setAnswer(code, QStringLiteral("09"), ResultsSite::Answer::ErrorStatus);
    site.setAnswer(code, QStringLiteral("10"), ResultsSite::Answer::UnknownPage);
    site.setAnswer(code, QStringLiteral("01"), ResultsSite::Answer::Slow);
    site.setSlowMs(300);
    ASSERT_TRUE(site.Listen());
    ASSERT_TRUE(site.Base().startsWith(QStringLiteral("http://127.0.0.1:")));

    const QString list = QStringLiteral("CNAME=W01PH_D/xW01&xW01=");
    const QString race = QStringLiteral("CNAME=W01PS_D3/xW01&xW01=");
    const QString payoutText = ResultPages::JoinLines(
        ResultPages::PayoutListLines(ResultPages::MeetingDay(), {HandMadeRace(1), HandMadeRace(11)}));
    const QString raceText = ResultPages::JoinLines(ResultPages::ResultsPageLines(HandMadeRace(11)));
    const QString neither = QStringLiteral("neither");
    struct Case {
        QByteArray method;
        QString path;
        QString body;
        int status;
        QString title; // "neither": a page of neither title
        QString pre;   // checked when not empty
    };
    const Case cases[] = {
        {"POST", "/JRADB/accessS", list + code, 200, ResultPages::kPayoutListTitle, payoutText},
        {"POST", "/JRADB/accessS", race + code + "11", 200, ResultPages::kResultsTitle, raceText},
        {"POST", "/JRADB/accessS", race + code + "01", 200, ResultPages::kResultsTitle, {}}, // slow
        {"POST", "/JRADB/accessS", race + code + "12", 200, neither, {}},                    // not held
        {"POST", "/JRADB/accessS", race + code + "09", 500, neither, {}},
        {"POST", "/JRADB/accessS", race + code + "10", 200, neither, {}},
        {"POST", "/JRADB/accessS", list + "0620260101", 200, ResultPages::kPayoutListTitle, {}},
        {"POST", "/JRADB/accessS", race + code + "13", 400, neither, {}},
        {"POST", "/JRADB/accessS", list + code + "1", 400, neither, {}},
        {"POST", "/JRADB/accessS", "CNAME=W01XX&xW01=" + code, 400, neither, {}},
        {"GET", "/JRADB/accessS", {}, 404, neither, {}},
        {"POST", "/JRADB/other", list + code, 404, neither, {}},
        {"GET", "/", {}, 200, neither, {}},
    };
    QStringList posted;
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.method + ' ' + c.path + ' ' + c.body));
        QElapsedTimer clock;
        clock.start();
        const Answer a = Send(site.Base() + c.path, c.method, c.body);
        EXPECT_EQ(a.Status, c.status);
        if (c.title == neither) {
            EXPECT_NE(a.Title, ResultPages::kResultsTitle);
            EXPECT_NE(a.Title, ResultPages::kPayoutListTitle);
        } else {
            EXPECT_EQ(a.Title, c.title);
        }
        if (!c.pre.isEmpty()) {
            EXPECT_EQ(a.Pre, c.pre);
        }
        if (c.body.endsWith(code + "01")) {
            EXPECT_GE(clock.elapsed(), 300); // held back, then the page itself
        }
        if (c.method == "POST" && c.path == QStringLiteral("/JRADB/accessS")) {
            posted << c.body;
        }
    }
    EXPECT_EQ(site.Requests(), posted);
}

// The sample day's pages, converted as the download window converts them, read back as the folder's own
// results read: the site shows what the program knows of each race, no more and no less.
TEST(ResultsSite, FolderPagesConvertBackToTheFolderResults) {
    TempFolder dir;
    ASSERT_TRUE(WriteSampleDay(dir.Path()));
    SaleDayReader pat;
    pat.setPathName(dir.Path());
    pat.setDownPath(dir.Path() + QStringLiteral("VQDOWNLOAD"));
    ASSERT_TRUE(pat.Initialize());

    const QList<ResultPages::RacePage> pages = ResultsSite::RacesOfFolder(dir.Path());
    ASSERT_EQ(pages.size(), SampleDay::kMeetings * SampleDay::kRacesRun);
    TempFolder converted;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const ResultPages::RacePage& page = pages[i];
        const int meeting = static_cast<int>(i / SampleDay::kRacesRun) + 1;
        SCOPED_TRACE(meeting * 100 + page.RaceNum);
        ASSERT_EQ(page.RaceNum, i % SampleDay::kRacesRun + 1);
        // Payout files carry no finishing order.
        const bool payoutFilesOnly =
            meeting == SampleDay::kPayoutFilesOnly.Meeting && page.RaceNum == SampleDay::kPayoutFilesOnly.Race;
        EXPECT_EQ(page.Runners.size(), payoutFilesOnly ? 0 : 5);
        EXPECT_EQ(page.Trifecta.size(), 1);

        const auto file = ResultsPageConverter::MakeKekka(
            ResultPages::JoinLines(ResultPages::ResultsPageLines(page)).replace(u' ', u'#'));
        ASSERT_TRUE(file.has_value());
        converted.Write(file->Name, file->Bytes);
        const RaceResultReader& own = *pat.objKaisai(meeting)->objRace(page.RaceNum)->objKekka();
        RaceResultReader back;
        back.setPathName(converted.Path());
        back.setFileName(file->Name.mid(3, 5));
        back.setTosu(18);
        ASSERT_TRUE(back.GetData(pat.CurDate()));
        EXPECT_EQ(back.KekkaLines(), own.KekkaLines());
        for (int s = 1; s <= 5 && !payoutFilesOnly; ++s) {
            EXPECT_EQ(back.Num(s), own.Num(s));
            EXPECT_EQ(back.Chaku(s), own.Chaku(s));
            EXPECT_EQ(back.UmaName(s), own.UmaName(s));
            EXPECT_EQ(back.Diff(s), own.Diff(s));
        }
    }
}

} // namespace
