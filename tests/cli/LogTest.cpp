#include "CliRun.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "support/TestSupport.h"

#include <QJsonObject>

#include <gtest/gtest.h>

using namespace LogFiles;

namespace {
const QString kDate = QStringLiteral("20260405"); // a Sunday

// Tokyo, races 1-12 on sale and the next day's race 11 in advance. Race 1: a hit and a miss; race 2: a
// ticket bought the day before, no result yet; race 3: an open trio box and a ticket turned down; the
// next day's race 11: a win bet.
void writeDay(const TempFolder& dir) {
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = kDate;
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
    AccountFiles::AccountFile d = AccountFiles::allOnSale(5, 2026, 2, 9);
    d.kenshu = {};
    d.kenshu[10] = AccountFiles::kAllTypes;
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('D'), d);

    DayLog today;
    today.logNo = 3;
    Ticket invalid = at(singleBet(Win, 0, 0, 6, 1), 5, 3);
    invalid.status = Invalid;
    today.tickets << at(singleBet(Win, 0, 0, 4, 2), 5, 1) << at(singleBet(Quinella, 0, 1, 2, 1), 5, 1)
                  << at(boxBet(Trio, {1, 2, 3, 4}, 1), 5, 3) << invalid << at(singleBet(Win, 0, 0, 7, 1), 5, 11, 2);
    saveDayLog(dir.path(), QStringLiteral("LG002"), today);
    DayLog yesterday;
    yesterday.logNo = 7;
    yesterday.tickets << at(singleBet(Win, 0, 0, 6, 1), 5, 2, 2);
    saveDayLog(dir.path(), QStringLiteral("LG001"), yesterday);
    saveIndex(dir.path(), {{QStringLiteral("LG001"), QStringLiteral("20260404")}, {QStringLiteral("LG002"), kDate}});

    ResultFiles::ResultFile r;
    r.raceNum = 1;
    r.payouts[ResultFiles::Win - 1] = {{4, 0, 0, 350}};
    r.payouts[ResultFiles::Quinella - 1] = {{2, 5, 0, 1200}};
    ResultFiles::saveResultFile(dir.path(), r);
}

QString lines(const char* text) {
    return QString::fromUtf8(text).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
}
} // namespace

TEST(LogCommand, JsonHoldsTheTitleAndEveryView) {
    TempFolder dir;
    writeDay(dir);
    const CliRun run = runVelqora({QStringLiteral("log"), QStringLiteral("--json"), dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject o = run.json().object();
    // Seven bet lines of the day's own log: 1 + 1 + a box of four + the next day's 1.
    EXPECT_EQ(o[u"title"].toString(), QStringLiteral("4月5日(日)  残ﾍﾞｯﾄ数 893"));
    const QJsonObject views = o[u"views"].toObject();
    EXPECT_EQ(views[u"1"].toString(), lines("-----------------------------\n"
                                            "【東京　１Ｒ】\n\n"
                                            " 購入 単勝　        4     200  [0003]\n"
                                            " 購入 馬連　     1- 2     100  [0003]\n"
                                            "-----------------------------\n"
                                            "【東京　２Ｒ】\n\n"
                                            "@購入 単勝　        6     100  [0007]\n"
                                            "-----------------------------\n"
                                            "【東京　３Ｒ】\n\n"
                                            " 購入 ３連複 **-**-**     100  [0003]\n"
                                            " (1,2,3,4)\n"
                                            " 無効 単勝　        6     100  [0003]\n"
                                            "-----------------------------\n"
                                            "【前日 東京１１Ｒ】\n\n"
                                            " 購入 単勝　        7     100  [0003]\n"
                                            "-----------------------------"));
    EXPECT_EQ(views[u"2"].toString(), lines("------------------------\n"
                                            "【東京　１Ｒ】\n\n"
                                            " 単勝　        4     200 ○     350\n"
                                            " 馬連　     1- 2     100 × \n"
                                            "------------------------\n"
                                            "【東京　２Ｒ】\n\n"
                                            "@単勝　        6     100 　 \n"
                                            "------------------------\n"
                                            "【東京　３Ｒ】\n\n"
                                            " ３連複  1- 2- 3     100 　 \n"
                                            " ３連複  1- 2- 4     100 　 \n"
                                            " ３連複  1- 3- 4     100 　 \n"
                                            " ３連複  2- 3- 4     100 　 \n"
                                            "------------------------\n"
                                            "【前日 東京１１Ｒ】\n\n"
                                            " 単勝　        7     100 － \n"
                                            "------------------------"));
    EXPECT_EQ(views[u"3"].toString(), lines("------------------------\n"
                                            "【東京　２Ｒ】\n\n"
                                            "@単勝　        6     100\n"
                                            "------------------------\n"
                                            "【東京　３Ｒ】\n\n"
                                            " ３連複  1- 2- 3     100\n"
                                            " ３連複  1- 2- 4     100\n"
                                            " ３連複  1- 3- 4     100\n"
                                            " ３連複  2- 3- 4     100\n"
                                            "------------------------"));
    // Two units at 350 per 100 yen.
    EXPECT_EQ(views[u"4"].toString(), lines("------------------------\n"
                                            "【東京　１Ｒ】\n\n"
                                            " 単勝　        4     200 ○     350\n"
                                            "------------------------\n"
                                            " 的中 1件  払戻 700円"));
    EXPECT_EQ(views[u"5"].toString(), lines("------------------------\n"
                                            "【東京 2回 8日】\n\n"
                                            " 発売  1R  2R  3R  4R  5R  6R\n"
                                            "       7R  8R  9R 10R 11R 12R\n"
                                            " 前日 11R\n"
                                            "------------------------"));
}

// A day without a bet log: nothing to list, all 900 bets left; the text form heads every view.
TEST(LogCommand, ADayWithoutBetsAsText) {
    TempFolder dir;
    AccountFiles::AccountFile a = AccountFiles::allOnSale(6);
    a.date = kDate;
    a.kenshu = {};
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
    const CliRun run = runVelqora({QStringLiteral("log"), dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(QString::fromUtf8(run.out),
              QStringLiteral("4月5日(日)  残ﾍﾞｯﾄ数 900\n\n[1 全履歴]\n\n[2 受付済]\n\n[3 未確定]\n\n"
                             "[4 的中]\n 的中 0件  払戻 0円\n\n[5 要項]\n"
                             "------------------------\n【中山 2回 8日】\n\n 発売なし\n"
                             "------------------------\n"));
}
