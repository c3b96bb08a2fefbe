#include "views/DownloadRun.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "views/NavigationError.h"

#include <gtest/gtest.h>

namespace {
// Meeting 1 (Tokyo, 2026, 2nd meeting, day 8) sells races 1-6, race 4 not at all, and two of the next
// day's races; meeting 2 (Kyoto, 3rd meeting, day 1) races 1-2. Open stakes: m1 races 1, 2, 3 and 5,
// m2 race 1.
std::vector<std::unique_ptr<Meeting>> day() {
    std::vector<std::unique_ptr<Meeting>> day;
    const struct {
        int venue;
        const char* kaiJi;
        const char* hiJi;
        QList<std::tuple<int, int, int, qint32>> races; // number, on sale, sale day, open stake
    } meetings[] = {
        {5,
         "02",
         "08",
         {{1, 1, 1, 500},
          {2, 1, 1, 100},
          {3, 1, 1, 300},
          {4, 0, 1, 0},
          {5, 1, 1, 200},
          {6, 1, 1, 0},
          {11, 1, 2, 900},
          {12, 1, 2, 0}}},
        {8, "03", "01", {{1, 1, 1, 700}, {2, 1, 1, 0}}},
    };
    for (const auto& m : meetings) {
        auto meeting = std::make_unique<Meeting>();
        meeting->setKaisaiNum(static_cast<qint16>(m.venue));
        meeting->setNendo(QStringLiteral("2026"));
        meeting->setKaiJi(QString::fromLatin1(m.kaiJi));
        meeting->setHiJi(QString::fromLatin1(m.hiJi));
        for (const auto& [num, kenshu, sale, yet] : m.races) {
            auto race = std::make_unique<Race>();
            race->setRaceNum(static_cast<qint16>(num));
            race->setKenshu(static_cast<qint16>(kenshu));
            race->setSale(static_cast<qint16>(sale));
            race->setAmtYet(yet);
            meeting->addRace(std::move(race));
        }
        day.push_back(std::move(meeting));
    }
    return day;
}

QString look(const DownloadRun::Box& b) {
    return (b.checked ? QStringLiteral("x") : QStringLiteral(".")) + b.caption + QLatin1Char(' ') + Rgb::hex(b.back);
}
} // namespace

// A whole run against a scripted site: meeting 1's payout list names races 1, 2 and 5; race 1 converts,
// race 2 does not, race 5 answers 404; meeting 2's payout list never comes.
TEST(DownloadRun, AWholeRunMarksEveryRaceAndGoesOn) {
    DownloadRun run;
    run.load(day());
    EXPECT_EQ(run.panelTitles(), (QStringList{"東京 2回 8日", "京都 3回 1日"}));
    EXPECT_EQ(look(run.boxAt(0)), QStringLiteral("x500円 #FFFFFF"));
    EXPECT_FALSE(run.boxAt(3).visible); // not on sale
    EXPECT_EQ(look(run.boxAt(5)), QStringLiteral(". #FFFFFF"));
    EXPECT_FALSE(run.boxAt(10).visible); // the next day's race 11 is not listed
    EXPECT_TRUE(run.boxAt(13).visible);

    run.start();
    QStringList requests;
    for (int guard = 0; guard < 50; ++guard) {
        const DownloadRun::Step s = run.next();
        if (s.what == DownloadRun::Step::Finished) {
            break;
        }
        ASSERT_NE(s.what, DownloadRun::Step::Wait);
        requests << QString::fromLatin1(s.body);
        const QString body = QString::fromLatin1(s.body);
        if (body == u"CNAME=W01PH_D/xW01&xW01=0520260208") {
            run.listLoaded({1, 2, 5});
        } else if (body.startsWith(u"CNAME=W01PH_D/")) {
            EXPECT_EQ(run.progress(), QStringLiteral("京都 払戻金一覧 取得中… 5/5"));
            run.navigationFailed(-102);
        } else if (body.endsWith(u"01")) {
            run.raceLoaded(true);
        } else if (body.endsWith(u"02")) {
            run.raceLoaded(false);
        } else {
            run.pageFailed(QStringLiteral("404"));
        }
    }
    EXPECT_EQ(requests, (QStringList{"CNAME=W01PH_D/xW01&xW01=0520260208", "CNAME=W01PS_D3/xW01&xW01=052026020801",
                                     "CNAME=W01PS_D3/xW01&xW01=052026020802", "CNAME=W01PS_D3/xW01&xW01=052026020805",
                                     "CNAME=W01PH_D/xW01&xW01=0820260301"}));
    EXPECT_EQ(run.caption(), QStringLiteral("終了しました。"));
    EXPECT_FALSE(run.running());
    const struct {
        int box;
        const char16_t* look;
    } expected[] = {
        {0, u".正常 #0000FF"},   {1, u"xエラー #FF0000"},
        {2, u"x未確定 #000000"}, {4, u"x404 #FF0000"},
        {5, u". #FFFFFF"},       {12, u"x取得不可 接続できません #FF00FF"}, // its list's reason stays
        {13, u". #FFFFFF"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(look(run.boxAt(e.box)), QString::fromUtf16(e.look)) << e.box;
    }
    EXPECT_EQ(run.boxAt(12).tip, QStringLiteral("この開催の払戻金一覧を取得できませんでした（接続が拒否されました）"));
    EXPECT_EQ(run.next().what, DownloadRun::Step::Wait); // the end is told once
}

// The browser's error numbers in the user's words: HTTP statuses, the engine's network errors, and a number
// nobody gave words to.
TEST(DownloadRun, NavigationErrorsInTheUsersWords) {
    const std::pair<int, const char16_t*> rows[] = {
        {-102, u"成績ページに接続できません（接続が拒否されました）"},
        {-105, u"成績ページに接続できません（サイトのアドレスが見つかりません）"},
        {-118, u"成績ページに接続できません（接続がタイムアウトしました）"},
        {-202, u"成績ページに接続できません（証明書に問題があり安全に接続できません）"},
        {-999, u"成績ページに接続できません（エラー番号 -999）"},
        {404, u"成績ページを表示できません: ページが見つかりません（HTTP 404）"},
        {418, u"成績ページを表示できません: サイトがエラーを返しました（HTTP 418）"},
    };
    for (const auto& [status, headline] : rows) {
        EXPECT_EQ(NavigationError::headline(status), QString::fromUtf16(headline)) << status;
    }
}

TEST(DownloadRun, CancelEndsTheRunAndSelectAllToggles) {
    DownloadRun run;
    run.load(day());
    run.selectAll();
    EXPECT_TRUE(run.boxAt(5).checked && run.boxAt(13).checked);
    EXPECT_FALSE(run.boxAt(3).checked); // not listed
    run.selectAll();
    for (const int i : {0, 1, 2, 4, 5, 12, 13}) {
        EXPECT_FALSE(run.boxAt(i).checked) << i;
    }
    run.setChecked(12, true);
    run.start();
    EXPECT_EQ(QString::fromLatin1(run.next().body), QStringLiteral("CNAME=W01PH_D/xW01&xW01=0820260301"));
    EXPECT_EQ(run.caption(), QStringLiteral("レース情報　取得中"));
    run.cancel();
    EXPECT_EQ(run.next().what, DownloadRun::Step::Finished);
    EXPECT_EQ(run.caption(), QStringLiteral("キャンセルしました。"));
}
