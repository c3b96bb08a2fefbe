#include "CliRun.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace LogFiles;

namespace {
// Tokyo on Sunday 2026-04-05. Race 1: 200 yen on the winner 4 (paying 350 per 100), 100 on a place that
// missed, 100 on horse 9, scratched. Race 2 lost 300, race 3 has an open 400 yen box, race 5 is not on
// sale; tomorrow's races 11 and 12 are bought for 200 and 100.
void writeDay(const TempFolder& dir) {
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.kenshu[4] = 0;
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);
    AccountFiles::AccountFile d = AccountFiles::allOnSale(5, 2026, 2, 9);
    d.kenshu = {};
    d.kenshu[10] = d.kenshu[11] = AccountFiles::kAllTypes;
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('D'), d);
    DayLog log;
    log.tickets << at(singleBet(Win, 0, 0, 4, 2), 5, 1) << at(singleBet(Place, 0, 0, 6), 5, 1)
                << at(singleBet(Win, 0, 0, 9), 5, 1) << at(singleBet(Win, 0, 0, 5, 3), 5, 2)
                << at(boxBet(Trio, {1, 2, 3, 4}), 5, 3) << at(singleBet(Win, 0, 0, 7, 2), 5, 11, 2)
                << at(singleBet(Win, 0, 0, 8), 5, 12, 2);
    saveDayLog(dir.path(), QStringLiteral("LG001"), log);
    saveIndex(dir.path(), {{QStringLiteral("LG001"), QStringLiteral("20260405")}});
    ResultFiles::ResultFile r;
    r.raceNum = 2;
    r.payouts[ResultFiles::Win - 1] = {{8, 0, 0, 500}};
    ResultFiles::saveResultFile(dir.path(), r);
    r.raceNum = 1;
    r.raceName1 = QStringLiteral("３歳未勝利");
    r.finishers[0] = {1, 4, QStringLiteral("ｻｸﾗ"), QStringLiteral("1:34.5"), 2};
    r.finishers[1] = {2, 7, QStringLiteral("ﾓﾐｼﾞ"), QStringLiteral("3/4"), 5};
    r.payouts[ResultFiles::Win - 1] = {{4, 0, 0, 350}};
    r.payouts[ResultFiles::Place - 1] = {{4, 0, 0, 150}, {7, 0, 0, 210}};
    r.refundHorses = {9};
    ResultFiles::saveResultFile(dir.path(), r);
}

// Members joined with "|", a null one as "-": one line for an object, one per element of an array.
QStringList join(const QJsonValue& v, std::initializer_list<const char16_t*> keys) {
    QStringList lines;
    for (const QJsonValue o : v.isArray() ? v.toArray() : QJsonArray{v}) {
        QStringList values;
        for (const char16_t* key : keys) {
            values << (o[QStringView(key)].isNull() ? QStringLiteral("-") : o[QStringView(key)].toVariant().toString());
        }
        lines << values.join(u'|');
    }
    return lines;
}
} // namespace

TEST(ProfitCommand, AHandBuiltDayInJsonAndText) {
    TempFolder dir;
    writeDay(dir);
    const QJsonDocument json = runVelqora({QStringLiteral("profit"), QStringLiteral("--json"), dir.path()}).json();
    EXPECT_EQ(json[u"caption"].toString(), QStringLiteral("4月5日(日)"));
    const QJsonArray meetings = json[u"meetings"].toArray();
    ASSERT_EQ(meetings.size(), 1);
    QStringList expected{"0|400|400|#FFFFFF|#000000", "1|300|-300|#FFFFFF|#FF0000", "2|400|-400|-|-"};
    for (const int index : {3, 5, 6, 7, 8, 9, 10, 11}) { // no cell for race 5, not on sale
        expected << QStringLiteral("%1|0|0|-|-").arg(index);
    }
    EXPECT_EQ(join(meetings[0][u"rows"], {u"index", u"stake", u"profit", u"profitFore", u"profitBack"}), expected);
    EXPECT_EQ(join(meetings[0], {u"title", u"tomorrow", u"stakeTotal", u"profitTotal", u"profitTotalRed"}),
              QStringList{"東京 2回 8日|300|1100|-300|true"});

    const QString text = QString::fromUtf8(runVelqora({QStringLiteral("profit"), dir.path()}).out);
    EXPECT_TRUE(text.contains(QStringLiteral("\n   1R       400       400 [黒]\n   2R       300      -300 [赤]\n"
                                             "   3R       400      -400\n   4R         0         0\n   6R")) &&
                text.endsWith(QStringLiteral("\n  前日      300\n    計     1100      -300 [赤]\n")))
        << text.toStdString();

    TempFolder empty; // no account file: nothing read, nothing to show
    EXPECT_EQ(runVelqora({QStringLiteral("profit"), QStringLiteral("--json"), empty.path()}).out,
              "{\"caption\":\"\",\"meetings\":[]}\n");
    EXPECT_EQ(runVelqora({QStringLiteral("profit"), QStringLiteral("/no/such/folder")}).exitCode, 3);
}

// The windows a click on race 1's cell opens: won, missed and refunded bets, two finishers (no odds file,
// so the brackets are the result file's), payouts without the refund.
TEST(RaceCommand, DetailAndResultsOfASettledRace) {
    TempFolder dir;
    writeDay(dir);
    const QJsonDocument o = runVelqora({QStringLiteral("race"), QStringLiteral("--json"), dir.path(),
                                        QStringLiteral("1"), QStringLiteral("1")})
                                .json();
    EXPECT_EQ(join(o[u"detail"], {u"caption", u"text"}).join(u'\n'), QStringLiteral(" 東京 1R|"
                                                                                    " 単勝　        4     200 ○\r\n"
                                                                                    " 単勝　        9     100 返\r\n"
                                                                                    " 複勝　        6     100 ×\r\n"
                                                                                    " -----------------------\r\n"
                                                                                    "           投票      400\r\n"
                                                                                    "           払戻      800\r\n"
                                                                                    "           損益      400"));
    const QJsonValue r = o[u"results"];
    EXPECT_EQ(join(r, {u"caption", u"hit", u"info", u"henkanUma", u"henkanWaku"}),
              QStringList{" 東京 1R ３歳未勝利 |的中しています！|晴  良| 9| "});
    // Bracket 2 in white on grey, 5 in black on yellow; the names and margins keep the file's padding.
    EXPECT_EQ(join(r[u"finishers"], {u"chaku", u"waku", u"wakuBack", u"wakuFore", u"uma", u"umaName", u"diff"}),
              (QStringList{"1|2|#808080|#FFFFFF|4| ｻｸﾗ               |1:34.5",
                           "2|5|#FFFF80|#000000|7| ﾓﾐｼﾞ              |3/4   ", "||-|-|||", "||-|-|||", "||-|-|||"}));
    EXPECT_EQ(
        join(r[u"rows"], {u"label", u"text", u"back"}),
        (QStringList{"単勝|       4     350|#C0C0FF", "複勝|       4     150|#FFC0C0", "|       7     210|#FFC0C0"}));

    const QString text = QString::fromUtf8(
        runVelqora({QStringLiteral("race"), dir.path(), QStringLiteral("1"), QStringLiteral("1")}).out);
    EXPECT_TRUE(text.endsWith(QStringLiteral("\n　　　        7     210\n返還馬番 9\n返還枠番 \n")))
        << text.toStdString();
}

// The realistic day: three panels with their cells in order, and the race command's detail and results
// exactly where a race has bets and a result (never a result for tomorrow's races).
TEST(ProfitCommand, TheSampleDayAndItsRaces) {
    TempFolder dir;
    ASSERT_TRUE(writeSampleDay(dir.path()));
    const QJsonArray meetings =
        runVelqora({QStringLiteral("profit"), QStringLiteral("--json"), dir.path()}).json()[u"meetings"].toArray();
    ASSERT_EQ(meetings.size(), SampleDay::kMeetings);
    QStringList indexes;
    for (int i = 0; i < SampleDay::kMeetings * SampleDay::kRacesPerDay; ++i) {
        indexes << QString::number(i);
    }
    EXPECT_EQ(join(meetings[0][u"rows"], {u"index"}) + join(meetings[1][u"rows"], {u"index"}) +
                  join(meetings[2][u"rows"], {u"index"}),
              indexes);
    // Meeting 1 sells tomorrow's 9R to 12R at positions 13 to 16; 11R and 12R are bought.
    for (int race = 1; race <= 16; ++race) {
        const QJsonDocument o = runVelqora({QStringLiteral("race"), QStringLiteral("--json"), dir.path(),
                                            QStringLiteral("1"), QString::number(race)})
                                    .json();
        const bool run = race <= SampleDay::kRacesRun;
        EXPECT_EQ(o[u"results"][u"finishers"].toArray().size(), run ? 5 : 0) << race;
        EXPECT_EQ(o[u"results"][u"rows"].toArray().isEmpty(), !run) << race;
        const bool bets = race > 12 ? race >= 15 : meetings[0][u"rows"][race - 1][u"stake"].toString() != u"0";
        EXPECT_EQ(o[u"detail"].isObject(), bets) << race;
        EXPECT_EQ(o[u"detail"][u"caption"].toString().startsWith(u"前日"), bets && race > 12) << race;
    }
}
