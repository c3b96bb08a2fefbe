#include "patdata/BetLogReader.h"

#include "clientfiles/FixedRecord.h"
#include "clientfiles/LogFiles.h"
#include "core/AppError.h"
#include "core/BetRecords.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <tuple>
#include <vector>

using namespace LogFiles;

namespace {

using Combo = std::tuple<int, int, int>;

const QString kDay = QStringLiteral("20260405");
const QString kEve = QStringLiteral("20260404");

QStringList AllLog(const BetLogReader& lg) {
    QStringList out;
    for (qsizetype i = 1; i <= lg.LogCount(); ++i) {
        out << lg.Log(i);
    }
    return out;
}

QStringList AllOmit(const BetLogReader& lg) {
    QStringList out;
    for (qsizetype i = 1; i <= lg.LogOmitCount(); ++i) {
        out << lg.LogOmit(i);
    }
    return out;
}

std::vector<Combo> Combos(const BetLogReader& lg) {
    std::vector<Combo> out;
    for (const QString& s : AllLog(lg)) {
        const BetLine l = StrToLog(s);
        out.emplace_back(l.Num1, l.Num2, l.Num3);
    }
    std::sort(out.begin(), out.end());
    return out;
}

class LogReader : public ::testing::Test {
protected:
    // One index entry per log, all dated `date`, named LG001, LG002, ...
    void WriteDay(const QList<DayLog>& logs, const QString& date = kDay) {
        QList<IndexEntry> entries;
        for (int i = 0; i < logs.size(); ++i) {
            const QString name = QStringLiteral("LG%1").arg(i + 1, 3, 10, QLatin1Char('0'));
            entries.append({name, date});
            ASSERT_TRUE(SaveDayLog(dir, name, logs[i]));
        }
        ASSERT_TRUE(SaveIndex(dir, entries));
    }
    // Starts over in an empty folder.
    void Fresh() { dir = folder.Sub(QString::number(++folders)); }
    void Write(const QString& name, const QByteArray& bytes) { ASSERT_TRUE(WriteFixtureFile(dir, name, bytes)); }
    bool Read(const QString& date = kDay) {
        lg.setPathName(dir);
        return lg.GetData(date);
    }
    // Reads a day of one ticket.
    bool ReadOne(const Ticket& t) {
        WriteDay({DayLog{7, {t}}});
        return Read();
    }

    TempFolder folder;
    QString dir = folder.Path();
    int folders = 0;
    BetLogReader lg;
};

struct ExpansionCase {
    const char* name;
    Ticket ticket;
    std::vector<Combo> combos; // sorted
};

TEST_F(LogReader, ExpandsSinglesWheelsAndBoxesOfEveryBetType) {
    const std::vector<ExpansionCase> cases = {
        {"win single", SingleBet(Win, 0, 0, 5), {{0, 0, 5}}},
        {"trio single kept as recorded", SingleBet(Trio, 9, 2, 5), {{9, 2, 5}}},
        {"quinella wheel 7 with 1 and 16", WheelBet(Quinella, 7, {1, 16}), {{0, 1, 7}, {0, 7, 16}}},
        {"wide wheel 18 with 1", WheelBet(Wide, 18, {1}), {{0, 1, 18}}},
        {"bracket wheel 3 with 1, 5, 8", WheelBet(BracketQuinella, 3, {1, 5, 8}), {{0, 1, 3}, {0, 3, 5}, {0, 3, 8}}},
        {"exacta wheel, axis second", ExactaWheel(3, 2, {5, 9}), {{0, 5, 3}, {0, 9, 3}}},
        {"exacta wheel, axis first", ExactaWheel(3, 1, {1, 9}), {{0, 3, 1}, {0, 3, 9}}},
        {"exacta wheel, no axis position", ExactaWheel(3, 0, {1, 9}), {{0, 0, 0}, {0, 0, 0}}},
        {"trio wheel 2, 9 with 5", TrioWheel(2, 9, {5}), {{2, 5, 9}}},
        {"trio wheel 9, 2 with 1 and 18", TrioWheel(9, 2, {1, 18}), {{1, 2, 9}, {2, 9, 18}}},
        {"quinella box of 4",
         BoxBet(Quinella, {4, 1, 7, 2}),
         {{0, 1, 2}, {0, 1, 7}, {0, 4, 1}, {0, 4, 2}, {0, 4, 7}, {0, 7, 2}}},
        {"wide box of 2", BoxBet(Wide, {12, 3}), {{0, 12, 3}}},
        {"bracket box of 3", BoxBet(BracketQuinella, {8, 1, 1}), {{0, 1, 1}, {0, 8, 1}, {0, 8, 1}}},
        {"win wheel has no lines", WheelBet(Win, 3, {1, 2}), {}},
        {"place box has no lines", BoxBet(Place, {1, 2, 3}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        ReadOne(At(c.ticket, 5, 11));
        EXPECT_EQ(Combos(lg), c.combos);
    }
}

TEST_F(LogReader, BoxesGiveEveryPairOrTripleInRecordedOrder) {
    const QList<int> five = {9, 2, 5, 14, 1};
    ReadOne(BoxBet(Trio, five, 3));
    ASSERT_EQ(lg.LogCount(), 10);
    std::vector<Combo> expected;
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            for (int l = j + 1; l < 5; ++l)
                expected.emplace_back(five[i], five[j], five[l]);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Combos(lg), expected);
    for (const QString& s : AllLog(lg)) {
        EXPECT_EQ(StrToLog(s).Units, 3);
    }

    ReadOne(BoxBet(Exacta, {4, 1, 7, 2}));
    EXPECT_EQ(lg.LogCount(), 12);
    ReadOne(BoxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(lg.LogCount(), 120);
}

TEST_F(LogReader, BetLinesCarryTheTicketsPlaceAndStake) {
    ASSERT_TRUE(ReadOne(At(WheelBet(Quinella, 7, {1, 16}, 25), 10, 12, 2)));
    ASSERT_EQ(lg.LogCount(), 2);
    BetLine expected;
    expected.Sale = 2;
    expected.Venue = 10;
    expected.RaceNum = 12;
    expected.BetType = Quinella;
    expected.Num1 = 0;
    expected.Num2 = 1;
    expected.Num3 = 7;
    expected.BuyDay = 1;
    expected.Units = 25;
    EXPECT_EQ(lg.Log(1), LogToStr(expected));
    EXPECT_EQ(lg.BetCount(), 2);
}

TEST_F(LogReader, TicketLinesByTicketKind) {
    struct Case {
        const char* name;
        Ticket ticket;
        int num1, num2, num3;
        std::array<qint16, 18> partners;
    };
    const std::vector<Case> cases = {
        {"single", SingleBet(Trio, 3, 8, 11), 3, 8, 11, {}},
        {"bracket wheel", WheelBet(BracketQuinella, 3, {1, 5, 8}), 0, 0, 3, {1, 0, 0, 0, 1, 0, 0, 1}},
        {"quinella wheel",
         WheelBet(Quinella, 7, {1, 16, 18}),
         0,
         0,
         7,
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}},
        {"exacta wheel", ExactaWheel(3, 2, {2}), 2, 0, 3, {0, 1}},
        {"trio wheel", TrioWheel(2, 9, {5}), 0, 2, 9, {0, 0, 0, 0, 1}},
        {"box", BoxBet(Wide, {12, 3, 7, 15}), 4, 0, 0, {12, 3, 7, 15}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Ticket t = At(c.ticket, 6, 9);
        t.Units = 12;
        ReadOne(t);
        ASSERT_EQ(lg.LogOmitCount(), 1);
        const QString line = lg.LogOmit(1);
        ASSERT_EQ(line.size(), kOmitTextLength);
        const TicketLine o = StrToOmit(line);
        EXPECT_EQ(o.Sale, 1);
        EXPECT_EQ(o.Venue, 6);
        EXPECT_EQ(o.RaceNum, 9);
        EXPECT_EQ(o.Status, 1);
        EXPECT_EQ(o.BetType, c.ticket.BetType);
        EXPECT_EQ(o.Kind, c.ticket.Kind);
        EXPECT_EQ(std::tuple(o.Num1, o.Num2, o.Num3), std::tuple(c.num1, c.num2, c.num3));
        EXPECT_EQ(o.BuyDay, 1);
        EXPECT_EQ(o.Units, 12);
        EXPECT_EQ(o.LogNo, 7);
        EXPECT_EQ(o.Slots, c.partners);
    }
}

TEST_F(LogReader, RefusedTicketsAreListedButNotBet) {
    Ticket invalid = SingleBet(Win, 0, 0, 1);
    invalid.Status = Invalid;
    Ticket sameBracket = SingleBet(BracketQuinella, 0, 4, 4);
    sameBracket.Status = SameBracket;
    Ticket closed = BoxBet(Trio, {1, 2, 3, 4});
    closed.Status = Closed;
    Ticket oddStatus = SingleBet(Win, 0, 0, 2);
    oddStatus.Status = 7;
    WriteDay({DayLog{1, {invalid, sameBracket, closed, oddStatus}}});

    EXPECT_FALSE(Read()); // tickets, but not one bet line
    EXPECT_EQ(lg.LogCount(), 0);
    EXPECT_EQ(lg.BetCount(), 0);
    ASSERT_EQ(lg.LogOmitCount(), 4);
    QList<int> statuses;
    for (const QString& s : AllOmit(lg)) {
        statuses << StrToOmit(s).Status;
    }
    std::sort(statuses.begin(), statuses.end());
    EXPECT_EQ(statuses, (QList<int>{7, 11, 21, 31}));
}

TEST_F(LogReader, NoTicketLineForWheelsAndBoxesThatCannotBe) {
    WriteDay({DayLog{1,
                     {WheelBet(Win, 3, {1}), BoxBet(Place, {1, 2}),
                      [] {
                          Ticket t = SingleBet(Win, 0, 0, 4);
                          t.Kind = 5; // not a ticket kind of the client
                          return t;
                      }(),
                      SingleBet(Place, 0, 0, 6)}}});
    EXPECT_TRUE(Read());
    EXPECT_EQ(lg.LogCount(), 1);
    EXPECT_EQ(lg.LogOmitCount(), 1);
    EXPECT_EQ(StrToOmit(lg.LogOmit(1)).BetType, Place);
}

TEST_F(LogReader, BoxMembersAreTheFlagsThatReadAsZero) {
    struct Case {
        QByteArray flags;
        int members;
    };
    const std::vector<Case> cases = {
        {"0001111111", 3}, {"1110001111", 3}, {"0 x-123456", 4}, {"9999999999", 0}, {"          ", 10},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags.constData());
        Fresh();
        Ticket t = BoxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        t.Flags = c.flags;
        ReadOne(t);
        const TicketLine o = StrToOmit(lg.LogOmit(1));
        EXPECT_EQ(o.Num1, c.members);
        for (int i = 0; i < 18; ++i) {
            EXPECT_EQ(o.Slots[i], i < c.members ? i + 1 : 0);
        }
        const int n = c.members;
        EXPECT_EQ(lg.LogCount(), n * (n - 1) * (n - 2) / 6);
    }
}

TEST_F(LogReader, PreviousDaysAdvanceTicketsJoinTheDay) {
    struct Case {
        QString day, eve;
    };
    for (const Case& c : {Case{kDay, kEve}, Case{QStringLiteral("20260101"), QStringLiteral("20251231")},
                          Case{QStringLiteral("20240301"), QStringLiteral("20240229")}}) {
        SCOPED_TRACE(c.day.toStdString());
        Fresh();
        Ticket refused = At(SingleBet(Win, 0, 0, 3), 5, 2, 2);
        refused.Status = Closed;
        ASSERT_TRUE(SaveDayLog(dir, QStringLiteral("LGEVE"),
                               DayLog{3,
                                      {At(SingleBet(Win, 0, 0, 1), 5, 1, 1), // the eve's own race: ignored
                                       At(SingleBet(Win, 0, 0, 2, 4), 5, 1, 2), refused}}));
        ASSERT_TRUE(
            SaveDayLog(dir, QStringLiteral("LGDAY"),
                       DayLog{4, {At(SingleBet(Win, 0, 0, 9), 6, 1, 1), At(SingleBet(Win, 0, 0, 8), 6, 1, 2)}}));
        ASSERT_TRUE(SaveIndex(dir, {{QStringLiteral("LGEVE"), c.eve}, {QStringLiteral("LGDAY"), c.day}}));

        ASSERT_TRUE(Read(c.day));
        EXPECT_EQ(lg.BetCount(), 2); // the day's own lines only
        ASSERT_EQ(lg.LogCount(), 3);
        const BetLine eve = StrToLog(lg.Log(1)); // 1 05 ... sorts first
        EXPECT_EQ(std::tuple(eve.Sale, eve.Venue, eve.RaceNum, eve.Num3, eve.BuyDay, eve.Units),
                  std::tuple(1, 5, 1, 2, 9, 4));
        const BetLine tomorrow = StrToLog(lg.Log(3)); // bought today for tomorrow: stays sale 2
        EXPECT_EQ(std::tuple(tomorrow.Sale, tomorrow.Num3, tomorrow.BuyDay), std::tuple(2, 8, 1));

        ASSERT_EQ(lg.LogOmitCount(), 4);
        const TicketLine refusedLine = StrToOmit(lg.LogOmit(2));
        EXPECT_EQ(std::tuple(refusedLine.Sale, refusedLine.Status, refusedLine.BuyDay, refusedLine.LogNo),
                  std::tuple(1, 31, 9, 3));
    }
}

TEST_F(LogReader, SortsBothListsByText) {
    WriteDay({DayLog{2,
                     {At(SingleBet(Trio, 1, 2, 3), 9, 1, 2), At(SingleBet(Win, 0, 0, 4), 9, 1, 1),
                      At(SingleBet(Quinella, 0, 2, 3), 5, 12, 1), At(SingleBet(Win, 0, 0, 1), 5, 12, 1),
                      At(SingleBet(Win, 0, 0, 7), 5, 2, 1), At(SingleBet(Place, 0, 0, 1), 10, 1, 1)}},
              DayLog{1, {At(SingleBet(Win, 0, 0, 1), 1, 3, 2)}}});
    ASSERT_TRUE(Read());
    const QStringList log = AllLog(lg);
    const QStringList omit = AllOmit(lg);
    EXPECT_TRUE(std::is_sorted(log.begin(), log.end()));
    EXPECT_TRUE(std::is_sorted(omit.begin(), omit.end()));
    std::vector<std::tuple<int, int, int, int>> keys;
    for (const QString& s : log) {
        const BetLine l = StrToLog(s);
        keys.emplace_back(l.Sale, l.Venue, l.RaceNum, l.BetType);
    }
    const std::vector<std::tuple<int, int, int, int>> expected = {
        {1, 5, 2, 1}, {1, 5, 12, 1}, {1, 5, 12, 4}, {1, 9, 1, 1}, {1, 10, 1, 2}, {2, 1, 3, 1}, {2, 9, 1, 7}};
    EXPECT_EQ(keys, expected);
}

TEST_F(LogReader, RaceRunsAreWhatAFullWalkWouldCollect) {
    std::mt19937 rng(7);
    QList<Ticket> tickets;
    for (int i = 0; i < 90; ++i) {
        Ticket t = SingleBet(1 + int(rng() % 7), int(rng() % 3), int(rng() % 19), int(rng() % 19));
        tickets << At(t, 1 + int(rng() % 10), 1 + int(rng() % 12), 1 + int(rng() % 2));
    }
    WriteDay({DayLog{1, tickets.mid(0, 45)}, DayLog{2, tickets.mid(45)}});
    ASSERT_TRUE(Read());
    for (qint16 sale : {0, 1, 2, -1, 10}) {
        for (qint16 venue : {0, 1, 5, 10, 11, -5, 100}) {
            for (qint16 race = -1; race <= 13; ++race) {
                QStringList walkLog, walkOmit;
                for (const QString& s : AllLog(lg)) {
                    const BetLine l = StrToLog(s);
                    if (l.Sale == sale && l.Venue == venue && l.RaceNum == race)
                        walkLog << s;
                }
                for (const QString& s : AllOmit(lg)) {
                    const TicketLine o = StrToOmit(s);
                    if (o.Sale == sale && o.Venue == venue && o.RaceNum == race)
                        walkOmit << s;
                }
                QStringList runLog, runOmit;
                const BetRun run = lg.LogOf(sale, venue, race);
                for (qsizetype i = 0; i < run.Count(); ++i)
                    runLog << LogToStr(BetRecords::Unpack(run.Packed(i), 0));
                for (const TicketLine& o : lg.LogOmitOf(sale, venue, race))
                    runOmit << OmitToStr(o);
                ASSERT_EQ(runLog, walkLog) << sale << " " << venue << " " << race;
                ASSERT_EQ(runOmit, walkOmit);
            }
        }
    }
}

TEST_F(LogReader, ReturnValuesAndMissingFiles) {
    EXPECT_FALSE(Read()); // no index file
    EXPECT_EQ(lg.LogOmitCount(), 0);

    ASSERT_TRUE(SaveIndex(dir, {{QStringLiteral("GONE1"), kDay}, {QStringLiteral("LG002"), kDay}}));
    ASSERT_TRUE(SaveDayLog(dir, QStringLiteral("LG002"), DayLog{1, {SingleBet(Win, 0, 0, 1)}}));
    EXPECT_TRUE(Read()); // the missing log is skipped
    EXPECT_EQ(lg.LogCount(), 1);
    EXPECT_FALSE(Read(QStringLiteral("20260406"))); // nothing dated that day
    EXPECT_EQ(lg.LogCount(), 0);
    EXPECT_EQ(lg.LogOmitCount(), 0);
    EXPECT_FALSE(Read(QString()));
    EXPECT_FALSE(Read(QStringLiteral("garbage!")));

    // Lower-case names as a folder copied from Windows may have them.
    Write(QStringLiteral("lg003.jra"), WriteDayLog(DayLog{1, {SingleBet(Win, 0, 0, 2)}}));
    ASSERT_TRUE(SaveIndex(dir, {{QStringLiteral("LG003"), kDay}}));
    EXPECT_TRUE(Read());
    EXPECT_EQ(lg.LogCount(), 1);

    EXPECT_THROW(lg.Log(0), AppError);
    EXPECT_THROW(lg.Log(2), AppError);
    EXPECT_THROW(lg.LogOmit(2), AppError);
}

TEST_F(LogReader, CountsBeyondTheFileReadOnlyWhatIsThere) {
    DayLog log{1, {SingleBet(Win, 0, 0, 1), SingleBet(Win, 0, 0, 2)}};
    log.RecordCount = 99;
    ASSERT_TRUE(SaveDayLog(dir, QStringLiteral("LG001"), log));
    ASSERT_TRUE(SaveIndex(dir, {{QStringLiteral("LG001"), kDay}}, 999));
    EXPECT_TRUE(Read());
    EXPECT_EQ(lg.LogCount(), 2);

    // Counts without digits read as 0 and contribute nothing.
    QByteArray bytes = WriteDayLog(log);
    bytes.replace(20, 2, "xx");
    Write(QStringLiteral("LG001.JRA"), bytes);
    EXPECT_FALSE(Read());
    QByteArray index = WriteIndex({{QStringLiteral("LG001"), kDay}});
    index.replace(16, 3, " - ");
    Write(QStringLiteral("LG-FILE.JRA"), index);
    EXPECT_FALSE(Read());
}

// A log the client is still writing: only the records it holds whole are taken, and the file is named.
TEST_F(LogReader, OnlyWholeRecordsAreTakenAndALogNotWholeIsNamed) {
    // Cut inside the box, its missing member flags would read as seven more members.
    DayLog log{1, {SingleBet(Win, 0, 0, 1), At(BoxBet(Trio, {3, 7, 9}), 5, 11)}};
    const QByteArray whole = WriteDayLog(log);
    log.RecordCount = 3;
    using P = FileWarning::Problem;
    const struct {
        const char* name;
        QByteArray bytes;
        int kept; // the leading tickets read, each as from a whole log
        std::optional<std::tuple<P, qint64, qint64>> said;
    } rows[] = {
        {"cut inside the box", whole.left(22 + 54 + 45), 1, std::tuple(P::CutRecord, 121, 0)},
        {"a partial record behind", whole + "0001", 2, std::tuple(P::CutRecord, 134, 0)},
        {"fewer records than declared", WriteDayLog(log), 2, std::tuple(P::FewerRecords, 2, 3)},
        {"header cut", whole.left(21), 0, std::tuple(P::CutRecord, 21, 0)},
    };
    ASSERT_TRUE(SaveIndex(dir, {{QStringLiteral("LG001"), kDay}}));
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Write(QStringLiteral("LG001.JRA"), WriteDayLog(DayLog{1, log.Tickets.first(r.kept)}));
        Read();
        const QStringList lines = AllLog(lg) + AllOmit(lg);
        Write(QStringLiteral("LG001.JRA"), r.bytes);
        Read();
        EXPECT_EQ(AllLog(lg) + AllOmit(lg), lines);
        ASSERT_EQ(lg.Warnings().size(), r.said ? 1u : 0u);
        for (const FileWarning& w : lg.Warnings()) {
            EXPECT_EQ(w.File, QStringLiteral("LG001.JRA"));
            EXPECT_EQ(std::tuple(w.What, w.Size, w.Expected), *r.said);
        }
    }

    // A truncated index entry: its name is there, its date is not.
    const QByteArray index = WriteIndex({{QStringLiteral("LG001"), kDay}, {QStringLiteral("LG001"), kDay}});
    Write(QStringLiteral("LG001.JRA"), whole);
    Write(QStringLiteral("LG-FILE.JRA"), index.left(23 + 26 + 12));
    ASSERT_TRUE(Read());
    EXPECT_EQ(lg.LogOmitCount(), 2);
}

TEST_F(LogReader, GarbageNeverCrashesOrReadsPastTheBuffer) {
    std::mt19937 rng(11);
    const QByteArray good = WriteDayLog(DayLog{
        1,
        {BoxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), WheelBet(Quinella, 7, {1, 2, 3}), ExactaWheel(3, 1, {4, 5})}});
    const QByteArray goodIndex = WriteIndex({{QStringLiteral("LG001"), kDay}});
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = good.left(qsizetype(rng() % (good.size() + 1)));
        QByteArray index = goodIndex;
        for (int k = 0; k < 6; ++k) {
            if (!bytes.isEmpty())
                bytes[qsizetype(rng() % bytes.size())] = char(rng() % 256);
            if (round % 3 == 0)
                index[qsizetype(rng() % index.size())] = char(rng() % 256);
        }
        Fresh(); // new files: rewriting one file 300 times costs more than the reading
        Write(QStringLiteral("LG001.JRA"), bytes);
        Write(QStringLiteral("LG-FILE.JRA"), index);
        lg.setPathName(dir);
        lg.GetData(kDay);
        for (const QString& s : AllLog(lg))
            ASSERT_EQ(s.size(), kLogTextLength);
        for (const QString& s : AllOmit(lg))
            ASSERT_EQ(s.size(), kOmitTextLength);
    }
}

TEST_F(LogReader, RepeatedEntriesCountOnceAndAHugeLogIsRefused) {
    WriteDay(QList<DayLog>(22, DayLog{1, QList<Ticket>(99, BoxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}))}));
    EXPECT_THROW(Read(), AppError); // 22 files of 11,880 bet lines: 261,360, past the bound of 250,000
    EXPECT_EQ(lg.LogCount() + lg.LogOmitCount(), 0);
    QByteArray index = folder.Read("LG-FILE.JRA");
    Write("LG-FILE.JRA", index.replace(16, 3, "021")); // 21 of them: 249,480, within it
    ASSERT_TRUE(Read());
    EXPECT_EQ(lg.LogCount(), 249480);
    // LG001 998 times (once in lower case), then "LG\002", a name Qt would warn about.
    index =
        WriteIndex(QList<IndexEntry>(997, {"LG001", kDay}) << IndexEntry{"lg001", kDay} << IndexEntry{"LG002", kDay});
    Write("LG-FILE.JRA", index.replace(23 + 26 * 998 + 2, 1, QByteArray(1, '\0')));
    static int messages = 0;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++messages; });
    ASSERT_TRUE(Read());
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(std::tuple(lg.LogCount(), lg.LogOmitCount(), messages), std::tuple(11880, 99, 0));
}

TEST_F(LogReader, ADayOfLargeBoxesOverflowsNoCount) {
    // 900 trio boxes of ten horses: 108,000 bet lines, far beyond 16 bits.
    QList<DayLog> logs;
    for (int f = 0; f < 10; ++f) {
        DayLog log{f + 1, {}};
        for (int k = 0; k < 90; ++k) {
            log.Tickets << At(BoxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 1 + f % 3, 1 + k % 12);
        }
        logs << log;
    }
    WriteDay(logs);
    ASSERT_TRUE(Read());
    EXPECT_EQ(lg.LogCount(), 108000);
    EXPECT_EQ(lg.BetCount(), 108000);
    EXPECT_EQ(lg.LogOmitCount(), 900);
    // Race 12 of venue 1: seven tickets (k = 11, 23, ..., 83) in each of four files.
    EXPECT_EQ(lg.LogOf(1, 1, 12).Count(), 28 * 120);
}

} // namespace
