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
    int status = 0;
    QString title;
    QString pre; // the <pre> text, decoded
};

QString between(const QString& html, const QString& open, const QString& close) {
    const qsizetype from = html.indexOf(open);
    const qsizetype to = html.indexOf(close, from);
    return from < 0 || to < 0 ? QString() : html.mid(from + open.size(), to - from - open.size());
}

Answer send(const QString& url, const QByteArray& method, const QString& body) {
    QNetworkAccessManager nam;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/x-www-form-urlencoded"));
    QNetworkReply* reply = nam.sendCustomRequest(request, method, CodePage::encode(body));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    Answer a;
    a.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString html = CodePage::decode(reply->readAll());
    a.title = between(html, QStringLiteral("<title>"), QStringLiteral("</title>"));
    a.pre = between(html, QStringLiteral("<pre>"), QStringLiteral("</pre>"));
    delete reply;
    return a;
}

ResultPages::RacePage handMadeRace(int raceNum) {
    ResultPages::RacePage p;
    p.raceNum = raceNum;
    ResultPages::Runner first;
    first.chaku = QStringLiteral("1");
    first.waku = 2;
    first.num = 3;
    first.umaName = QStringLiteral("アイウエーオ");
    first.time = QStringLiteral("1:34.5");
    p.runners = {first};
    p.payouts[0] = {{3, 0, 0, 1230, 2}};
    p.refundHorses = {5};
    return p;
}

TEST(ResultsSite, AnswersTheTwoFormsAndRefusesTheRest) {
    ResultsSite site;
    site.addRace(handMadeRace(11));
    site.addRace(handMadeRace(1));
    const QString code = QStringLiteral("0520260208"); // Tokyo, 2026, meeting 2, day 8
    site.setAnswer(code, QStringLiteral("09"), ResultsSite::Answer::ErrorStatus);
    site.setAnswer(code, QStringLiteral("10"), ResultsSite::Answer::UnknownPage);
    site.setAnswer(code, QStringLiteral("01"), ResultsSite::Answer::Slow);
    site.setSlowMs(300);
    ASSERT_TRUE(site.listen());
    ASSERT_TRUE(site.base().startsWith(QStringLiteral("http://127.0.0.1:")));

    const QString list = QStringLiteral("CNAME=W01PH_D/xW01&xW01=");
    const QString race = QStringLiteral("CNAME=W01PS_D3/xW01&xW01=");
    const QString payoutText = ResultPages::joinLines(
        ResultPages::payoutListLines(ResultPages::MeetingDay(), {handMadeRace(1), handMadeRace(11)}));
    const QString raceText = ResultPages::joinLines(ResultPages::resultsPageLines(handMadeRace(11)));
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
        const Answer a = send(site.base() + c.path, c.method, c.body);
        EXPECT_EQ(a.status, c.status);
        if (c.title == neither) {
            EXPECT_NE(a.title, ResultPages::kResultsTitle);
            EXPECT_NE(a.title, ResultPages::kPayoutListTitle);
        } else {
            EXPECT_EQ(a.title, c.title);
        }
        if (!c.pre.isEmpty()) {
            EXPECT_EQ(a.pre, c.pre);
        }
        if (c.body.endsWith(code + "01")) {
            EXPECT_GE(clock.elapsed(), 300); // held back, then the page itself
        }
        if (c.method == "POST" && c.path == QStringLiteral("/JRADB/accessS")) {
            posted << c.body;
        }
    }
    EXPECT_EQ(site.requests(), posted);
}

// The sample day's pages, converted as the download window converts them, read back as the folder's own
// results read: the site shows what the program knows of each race, no more and no less.
TEST(ResultsSite, FolderPagesConvertBackToTheFolderResults) {
    TempFolder dir;
    ASSERT_TRUE(writeSampleDay(dir.path()));
    SaleDayReader pat = SaleDayReader::read(dir.path(), dir.path() + QStringLiteral("VQDOWNLOAD"));
    ASSERT_NE(pat.betLog(), nullptr);

    const QList<ResultPages::RacePage> pages = ResultsSite::racesOfFolder(dir.path());
    ASSERT_EQ(pages.size(), SampleDay::kMeetings * SampleDay::kRacesRun);
    TempFolder converted;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const ResultPages::RacePage& page = pages[i];
        const int meeting = static_cast<int>(i / SampleDay::kRacesRun) + 1;
        SCOPED_TRACE(meeting * 100 + page.raceNum);
        ASSERT_EQ(page.raceNum, i % SampleDay::kRacesRun + 1);
        // Payout files carry no finishing order.
        const bool payoutFilesOnly =
            meeting == SampleDay::kPayoutFilesOnly.meeting && page.raceNum == SampleDay::kPayoutFilesOnly.race;
        EXPECT_EQ(page.runners.size(), payoutFilesOnly ? 0 : 5);
        EXPECT_EQ(page.trifecta.size(), 1);

        const auto file = ResultsPageConverter::makeKekka(
            ResultPages::joinLines(ResultPages::resultsPageLines(page)).replace(u' ', u'#'));
        ASSERT_TRUE(file.has_value());
        converted.write(file->name, file->bytes);
        const RaceResultReader& own = *pat.meeting(meeting)->race(page.raceNum)->result();
        const RaceResultReader back =
            RaceResultReader::read(converted.path(), file->name.mid(3, 5), 18, pat.saleDate());
        ASSERT_GT(back.kekkaCount(), 0);
        EXPECT_EQ(back.kekkaLines(), own.kekkaLines());
        for (int s = 1; s <= 5 && !payoutFilesOnly; ++s) {
            EXPECT_EQ(back.num(s), own.num(s));
            EXPECT_EQ(back.chaku(s), own.chaku(s));
            EXPECT_EQ(back.umaName(s), own.umaName(s));
            EXPECT_EQ(back.diff(s), own.diff(s));
        }
    }
}

} // namespace
