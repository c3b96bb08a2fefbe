#include "CliRun.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/OddsFiles.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace OddsFiles;

namespace {
const QString kDate = QStringLiteral("20260405");

Header raceHeader(int tosu, int race) {
    Header h;
    h.date = kDate;
    h.kaiJi = QStringLiteral("02");
    h.hiJi = QStringLiteral("08");
    h.raceNum = static_cast<qint16>(race);
    h.raceName1 = QStringLiteral("皐月賞");
    h.raceName2 = QStringLiteral("３歳オープン");
    h.tosu = static_cast<qint16>(tosu);
    return h;
}

// Race 11 sells everything (10 runners, horse 4 scratched); race 5 sells win, place and bracket quinella
// only (6 runners); race 1 sells nothing.
void writeDay(const TempFolder& dir) {
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = kDate;
    a.kenshu[0] = 0;
    a.kenshu[4] = 1 | 2 | 4;
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);

    ZoFile z;
    z.header = raceHeader(10, 11);
    for (int n = 1; n <= 10; ++n) {
        z.runners[n] = {n == 4 ? kScratched : QStringLiteral("%1.5").arg(n), QStringLiteral("1.2"),
                        n == 7 ? kNotYet : QStringLiteral("3.4")};
    }
    z.brackets[{1, 2}] = QStringLiteral("12.3");
    z.brackets[{7, 7}] = QStringLiteral("77.7");
    writeZo(dir.path(), QStringLiteral("58B"), z);
    UoFile u;
    u.header = raceHeader(10, 11);
    u.pairs[{1, 2}] = {QStringLiteral("5.6"), QStringLiteral("1.9"), QStringLiteral("2.4")};
    u.pairs[{9, 10}] = {kNotYet, kNotYet, kNotYet};
    writeUo(dir.path(), QStringLiteral("58B"), u);
    SoFile s;
    s.header = raceHeader(10, 11);
    s.exacta[{3, 1}] = QStringLiteral("88.8");
    writeSo(dir.path(), QStringLiteral("58B"), s);
    YoFile y;
    y.header = raceHeader(10, 11);
    y.trio[{1, 2, 3}] = QStringLiteral("321.0");
    writeYo(dir.path(), QStringLiteral("58B"), y);

    ZoFile small;
    small.header = raceHeader(6, 5);
    for (int n = 1; n <= 6; ++n) {
        small.runners[n] = {QStringLiteral("%1.0").arg(n + 1), QStringLiteral("1.1"), QStringLiteral("1.3")};
    }
    small.brackets[{2, 5}] = QStringLiteral("25.0");
    writeZo(dir.path(), QStringLiteral("585"), small);
}

QJsonObject raceJson(const TempFolder& dir, const char* meeting, const char* race) {
    const CliRun run = runVelqora({QStringLiteral("race"), QStringLiteral("--json"), dir.path(),
                                   QString::fromLatin1(meeting), QString::fromLatin1(race)});
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    return run.json().object();
}

QString cell(const QJsonValue& table, int a, int b) {
    return table.toArray()[a - 1].toArray()[b - 1].toString();
}
} // namespace

TEST(RaceCommand, EveryTableOfARaceOnFullSale) {
    TempFolder dir;
    writeDay(dir);
    const QJsonObject o = raceJson(dir, "1", "11");
    EXPECT_TRUE(o[u"ok"].toBool());
    EXPECT_EQ(o[u"entryTosu"].toInt(), 10);
    const QJsonObject exist = o[u"exist"].toObject();
    EXPECT_TRUE(exist[u"zo"].toBool() && exist[u"uo"].toBool() && exist[u"so"].toBool() && exist[u"yo"].toBool());
    const QJsonArray waku = o[u"waku"].toArray();
    ASSERT_EQ(waku.size(), 18);
    const int expected[18] = {1, 2, 3, 4, 5, 6, 7, 7, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int h = 0; h < 18; ++h) {
        EXPECT_EQ(waku[h].toInt(), expected[h]) << h + 1;
    }
    const QJsonObject header = o[u"header"].toObject();
    EXPECT_EQ(header[u"kaisai"].toString(), QStringLiteral("東京"));
    EXPECT_EQ(header[u"kaiji"].toString(), QStringLiteral("2"));
    EXPECT_EQ(header[u"raceNum"].toInt(), 11);
    EXPECT_EQ(header[u"raceName1"].toString(), QStringLiteral("皐月賞"));
    EXPECT_EQ(header[u"tosu"].toInt(), 10);
    EXPECT_EQ(header[u"keshi"].toInt(), 1);

    const QJsonObject odds = o[u"odds"].toObject();
    const QJsonArray win = odds[u"win"].toArray();
    ASSERT_EQ(win.size(), 10);
    EXPECT_EQ(win[0].toString(), QStringLiteral("1.5"));
    EXPECT_EQ(win[3].toString(), QString()); // scratched
    EXPECT_EQ(odds[u"placeMax"].toArray()[6].toString(), QStringLiteral("999.9"));
    EXPECT_EQ(odds[u"bracket"].toArray().size(), 8);
    EXPECT_EQ(cell(odds[u"bracket"], 2, 1), QStringLiteral("12.3"));
    EXPECT_EQ(cell(odds[u"bracket"], 7, 7), QStringLiteral("77.7"));
    EXPECT_EQ(odds[u"quinella"].toArray().size(), 10);
    EXPECT_EQ(cell(odds[u"quinella"], 2, 1), QStringLiteral("5.6"));
    EXPECT_EQ(cell(odds[u"wide"], 1, 2), QStringLiteral("1.9"));
    EXPECT_EQ(cell(odds[u"wideMax"], 10, 9), QStringLiteral("9999.9"));
    EXPECT_EQ(cell(odds[u"exacta"], 3, 1), QStringLiteral("88.8"));
    EXPECT_EQ(cell(odds[u"exacta"], 1, 3), QString());
    const QJsonArray trio = odds[u"trio"].toArray();
    ASSERT_EQ(trio.size(), 10);
    EXPECT_EQ(cell(trio[1], 3, 1), QStringLiteral("321.0"));
    EXPECT_EQ(cell(trio[2], 1, 2), QStringLiteral("321.0"));
}

TEST(RaceCommand, WithoutQuinellaSaleTheDerivedTableAndNoWide) {
    TempFolder dir;
    writeDay(dir);
    const QJsonObject o = raceJson(dir, "1", "5");
    EXPECT_TRUE(o[u"ok"].toBool());
    EXPECT_TRUE(o[u"exist"].toObject()[u"uo"].toBool());
    EXPECT_FALSE(o[u"exist"].toObject()[u"so"].toBool());
    const QJsonObject odds = o[u"odds"].toObject();
    EXPECT_EQ(odds[u"bracket"].toArray().size(), 6);
    EXPECT_EQ(cell(odds[u"quinella"], 2, 5), QStringLiteral("25.0"));
    EXPECT_TRUE(odds[u"wide"].isNull());
    EXPECT_TRUE(odds[u"wideMax"].isNull());
    EXPECT_TRUE(odds[u"exacta"].isNull());
    EXPECT_TRUE(odds[u"trio"].isNull());
}

TEST(RaceCommand, RacesWithoutOdds) {
    TempFolder dir;
    writeDay(dir);
    for (const char* race : {"1", "7"}) { // not on sale; on sale without files
        const QJsonObject o = raceJson(dir, "1", race);
        EXPECT_FALSE(o[u"ok"].toBool());
        EXPECT_EQ(o[u"entryTosu"].toInt(), 0);
        EXPECT_FALSE(o[u"exist"].toObject()[u"zo"].toBool());
        EXPECT_TRUE(o[u"header"].isNull());
        EXPECT_EQ(o[u"waku"].toArray().size(), 18);
        EXPECT_TRUE(o[u"odds"].toObject()[u"win"].isNull());
        EXPECT_TRUE(o[u"odds"].toObject()[u"quinella"].isNull());
        EXPECT_TRUE(o[u"detail"].isNull() && o[u"results"].isNull()); // no bet, no result
    }
}

TEST(RaceCommand, TextTableAndPositionErrors) {
    TempFolder dir;
    writeDay(dir);
    const CliRun text = runVelqora({QStringLiteral("race"), dir.path(), QStringLiteral("1"), QStringLiteral("11")});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(QString::fromUtf8(text.out).contains(QStringLiteral("皐月賞")));
    for (const QStringList& args :
         {QStringList{QStringLiteral("2"), QStringLiteral("1")}, QStringList{QStringLiteral("1"), QStringLiteral("13")},
          QStringList{QStringLiteral("0"), QStringLiteral("1")}, QStringList{QStringLiteral("x"), QStringLiteral("1")},
          QStringList{QStringLiteral("1")}}) {
        const CliRun run = runVelqora(QStringList{QStringLiteral("race"), dir.path()} + args);
        EXPECT_NE(run.exitCode, 0) << qPrintable(args.join(u' '));
        EXPECT_TRUE(run.out.isEmpty());
    }
}
