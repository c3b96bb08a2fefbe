#include "views/RaceTables.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/OddsFiles.h"
#include "patdata/SaleDayReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace OddsFiles;

namespace {
const QString kDate = QStringLiteral("20260405");
constexpr int kQuinella = 8, kWide = 16, kExacta = 32, kTrio = 64;
enum Files { ZO = 1, UO = 2, SO = 4, YO = 8 };

// Race `race` of meeting A with ten runners, horse 4 scratched, and the odds files asked for.
void writeRace(const QString& folder, int race, int files) {
    Header h;
    h.date = kDate;
    h.raceNum = static_cast<qint16>(race);
    h.tosu = 10;
    h.raceName1 = QStringLiteral("%9賞");
    const QString id = QStringLiteral("58%1").arg(race);
    ZoFile z;
    z.header = h;
    for (int n = 1; n <= 10; ++n) {
        z.runners[n] = {n == 4 ? kScratched : QStringLiteral("%1.0").arg(n), QStringLiteral("1.1"),
                        QStringLiteral("2.2")};
    }
    z.brackets[{1, 2}] = QStringLiteral("12.0");
    UoFile u;
    u.header = h;
    u.pairs[{1, 2}] = {QStringLiteral("5.0"), QStringLiteral("1.5"), QStringLiteral("2.5")};
    SoFile s;
    s.header = h;
    YoFile y;
    y.header = h;
    EXPECT_TRUE(!(files & ZO) || writeZo(folder, id, z));
    EXPECT_TRUE(!(files & UO) || writeUo(folder, id, u));
    EXPECT_TRUE(!(files & SO) || writeSo(folder, id, s));
    EXPECT_TRUE(!(files & YO) || writeYo(folder, id, y));
}
} // namespace

// Which tables a race has follows from what is on sale and which files could be read; the unordered bets
// show their upper triangle only.
TEST(RaceTables, TablesOfEachSituation) {
    const int base = 1 | 2 | 4; // win, place, bracket quinella
    struct Case {
        const char* situation;
        int kenshu;
        int files;
        bool ok;
        bool header;
        const char16_t* keys;   // the tables, in order
        const char16_t* titles; // their titles, joined by "|"
        const char* upper;      // their upper-triangle flags
    } cases[] = {
        {"everything on sale and read", base | kQuinella | kWide | kExacta | kTrio, ZO | UO | SO | YO, true, true,
         u"bracket quinella wide wideMax exacta trio",
         u"枠連|馬連|ワイド (下限)|ワイド (上限)|馬単 (1着 縦, 2着 横)|３連複: 10 頭分の表", "TTTTFT"},
        {"no quinella sale: derived quinella, no wide", base | kExacta | kTrio, ZO | SO | YO, true, true,
         u"bracket quinella exacta trio", u"枠連|馬連 (枠連より)|馬単 (1着 縦, 2着 横)|３連複: 10 頭分の表", "TTFT"},
        {"win, place and bracket quinella only", base, ZO, true, true, u"bracket quinella", u"枠連|馬連 (枠連より)",
         "TT"},
        {"exacta and trio files missing", base | kQuinella | kWide | kExacta | kTrio, ZO | UO, true, true,
         u"bracket quinella wide wideMax", u"枠連|馬連|ワイド (下限)|ワイド (上限)", "TTTT"},
        {"quinella file missing", base | kQuinella | kWide | kExacta | kTrio, ZO | SO | YO, false, true, u"bracket",
         u"枠連", "T"},
        {"no win/place/bracket file", base | kQuinella | kWide | kExacta | kTrio, UO | SO | YO, false, false, u"", u"",
         ""},
        {"nothing on sale: no race opened", 0, ZO | UO | SO | YO, false, false, u"", u"", ""},
    };
    TempFolder dir;
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = kDate;
    for (int i = 0; i < int(std::size(cases)); ++i) {
        a.kenshu[static_cast<size_t>(i)] = cases[i].kenshu;
        writeRace(dir.path(), i + 1, cases[i].files);
    }
    AccountFiles::saveAccountFile(dir.path(), QLatin1Char('A'), a);

    for (int i = 0; i < int(std::size(cases)); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.situation);
        SaleDayReader pat =
            SaleDayReader::read(dir.path()); // fresh, so a race that cannot be opened leaves no aggregate // false
                                             // without a bet log, which these races do not need
        ASSERT_EQ(pat.kaisaiCount(), 1);
        const bool opened = pat.readRaceOdds(1, static_cast<qint16>(i + 1));
        const RaceTables v = buildRaceTables(pat.raceOdds(), opened);

        EXPECT_EQ(v.ok, c.ok);
        EXPECT_EQ(v.header.has_value(), c.header);
        ASSERT_EQ(v.runners.size(), c.header ? 10 : 0);
        if (c.header) { // a scratched runner shows no place range; a "%9" in a name stays as it is
            EXPECT_TRUE(v.header->line.contains(QStringLiteral("R  %9賞 "))) << v.header->line.toStdString();
            EXPECT_EQ(v.runners[0].place, QStringLiteral("1.1-2.2"));
            EXPECT_EQ(v.runners[3].place, QString());
        }
        QStringList keys, titles;
        QString upper;
        for (const OddsTable& t : v.tables) {
            keys << t.key;
            titles << t.title;
            upper += t.upperOnly ? u'T' : u'F';
        }
        EXPECT_EQ(keys.join(u' '), QString::fromUtf16(c.keys));
        EXPECT_EQ(titles.join(u'|'), QString::fromUtf16(c.titles));
        EXPECT_EQ(upper, QString::fromLatin1(c.upper));
    }
}
