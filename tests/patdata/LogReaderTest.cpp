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

QStringList allLog(const BetLogReader& lg) {
    QStringList out;
    for (qsizetype i = 1; i <= lg.logCount(); ++i) {
        out << lg.log(i);
    }
    return out;
}

QStringList allOmit(const BetLogReader& lg) {
    QStringList out;
    for (qsizetype i = 1; i <= lg.logOmitCount(); ++i) {
        out << lg.logOmit(i);
    }
    return out;
}

std::vector<Combo> combos(const BetLogReader& lg) {
    std::vector<Combo> out;
    for (const QString& s : allLog(lg)) {
        const BetLine l = betLineFromText(s);
        out.emplace_back(l.num1, l.num2, l.num3);
    }
    std::sort(out.begin(), out.end());
    return out;
}

class LogReader : public ::testing::Test {
protected:
    // One index entry per log, all dated `date`, named LG001, LG002, ...
    void writeDay(const QList<DayLog>& logs, const QString& date = kDay) {
        QList<IndexEntry> entries;
        for (int i = 0; i < logs.size(); ++i) {
            const QString name = QStringLiteral("LG%1").arg(i + 1, 3, 10, QLatin1Char('0'));
            entries.append({name, date});
            ASSERT_TRUE(saveDayLog(dir, name, logs[i]));
        }
        ASSERT_TRUE(saveIndex(dir, entries));
    }
    // Starts over in an empty folder.
    void fresh() { dir = folder.sub(QString::number(++folders)); }
    void write(const QString& name, const QByteArray& bytes) { ASSERT_TRUE(writeFixtureFile(dir, name, bytes)); }
    // True when a bet line came out.
    bool read(const QString& date = kDay) {
        lg.reset();
        lg.emplace(BetLogReader::read(dir, date));
        return lg->logCount() > 0;
    }
    // Reads a day of one ticket.
    bool readOne(const Ticket& t) {
        writeDay({DayLog{7, {t}}});
        return read();
    }

    TempFolder folder;
    QString dir = folder.path();
    int folders = 0;
    std::optional<BetLogReader> lg;
};

struct ExpansionCase {
    const char* name;
    Ticket ticket;
    std::vector<Combo> combos; // sorted
};

TEST_F(LogReader, ExpandsSinglesWheelsAndBoxesOfEveryBetType) {
    const std::vector<ExpansionCase> cases = {
        {"win single", singleBet(Win, 0, 0, 5), {{0, 0, 5}}},
        {"trio single kept as recorded", singleBet(Trio, 9, 2, 5), {{9, 2, 5}}},
        {"quinella wheel 7 with 1 and 16", wheelBet(Quinella, 7, {1, 16}), {{0, 1, 7}, {0, 7, 16}}},
        {"wide wheel 18 with 1", wheelBet(Wide, 18, {1}), {{0, 1, 18}}},
        {"bracket wheel 3 with 1, 5, 8", wheelBet(BracketQuinella, 3, {1, 5, 8}), {{0, 1, 3}, {0, 3, 5}, {0, 3, 8}}},
        {"exacta wheel, axis second", exactaWheel(3, 2, {5, 9}), {{0, 5, 3}, {0, 9, 3}}},
        {"exacta wheel, axis first", exactaWheel(3, 1, {1, 9}), {{0, 3, 1}, {0, 3, 9}}},
        {"exacta wheel, no axis position", exactaWheel(3, 0, {1, 9}), {{0, 0, 0}, {0, 0, 0}}},
        {"trio wheel 2, 9 with 5", trioWheel(2, 9, {5}), {{2, 5, 9}}},
        {"trio wheel 9, 2 with 1 and 18", trioWheel(9, 2, {1, 18}), {{1, 2, 9}, {2, 9, 18}}},
        {"quinella box of 4",
         boxBet(Quinella, {4, 1, 7, 2}),
         {{0, 1, 2}, {0, 1, 7}, {0, 4, 1}, {0, 4, 2}, {0, 4, 7}, {0, 7, 2}}},
        {"wide box of 2", boxBet(Wide, {12, 3}), {{0, 12, 3}}},
        {"bracket box of 3", boxBet(BracketQuinella, {8, 1, 1}), {{0, 1, 1}, {0, 8, 1}, {0, 8, 1}}},
        {"win wheel has no lines", wheelBet(Win, 3, {1, 2}), {}},
        {"place box has no lines", boxBet(Place, {1, 2, 3}), {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        readOne(at(c.ticket, 5, 11));
        EXPECT_EQ(combos(*lg), c.combos);
    }
}

TEST_F(LogReader, BoxesGiveEveryPairOrTripleInRecordedOrder) {
    const QList<int> five = {9, 2, 5, 14, 1};
    readOne(boxBet(Trio, five, 3));
    ASSERT_EQ(lg->logCount(), 10);
    std::vector<Combo> expected;
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            for (int l = j + 1; l < 5; ++l)
                expected.emplace_back(five[i], five[j], five[l]);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(combos(*lg), expected);
    for (const QString& s : allLog(*lg)) {
        EXPECT_EQ(betLineFromText(s).units, 3);
    }

    readOne(boxBet(Exacta, {4, 1, 7, 2}));
    EXPECT_EQ(lg->logCount(), 12);
    readOne(boxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(lg->logCount(), 120);
}

TEST_F(LogReader, BetLinesCarryTheTicketsPlaceAndStake) {
    ASSERT_TRUE(readOne(at(wheelBet(Quinella, 7, {1, 16}, 25), 10, 12, 2)));
    ASSERT_EQ(lg->logCount(), 2);
    BetLine expected;
    expected.sale = 2;
    expected.venue = 10;
    expected.raceNum = 12;
    expected.betType = Quinella;
    expected.num1 = 0;
    expected.num2 = 1;
    expected.num3 = 7;
    expected.buyDay = 1;
    expected.units = 25;
    EXPECT_EQ(lg->log(1), betLineText(expected));
    EXPECT_EQ(lg->betCount(), 2);
}

TEST_F(LogReader, TicketLinesByTicketKind) {
    struct Case {
        const char* name;
        Ticket ticket;
        int num1, num2, num3;
        std::array<qint16, 18> partners;
    };
    const std::vector<Case> cases = {
        {"single", singleBet(Trio, 3, 8, 11), 3, 8, 11, {}},
        {"bracket wheel", wheelBet(BracketQuinella, 3, {1, 5, 8}), 0, 0, 3, {1, 0, 0, 0, 1, 0, 0, 1}},
        {"quinella wheel",
         wheelBet(Quinella, 7, {1, 16, 18}),
         0,
         0,
         7,
         {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1}},
        {"exacta wheel", exactaWheel(3, 2, {2}), 2, 0, 3, {0, 1}},
        {"trio wheel", trioWheel(2, 9, {5}), 0, 2, 9, {0, 0, 0, 0, 1}},
        {"box", boxBet(Wide, {12, 3, 7, 15}), 4, 0, 0, {12, 3, 7, 15}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fresh();
        Ticket t = at(c.ticket, 6, 9);
        t.units = 12;
        readOne(t);
        ASSERT_EQ(lg->logOmitCount(), 1);
        const QString line = lg->logOmit(1);
        ASSERT_EQ(line.size(), kOmitTextLength);
        const TicketLine o = ticketLineFromText(line);
        EXPECT_EQ(o.sale, 1);
        EXPECT_EQ(o.venue, 6);
        EXPECT_EQ(o.raceNum, 9);
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.betType, c.ticket.betType);
        EXPECT_EQ(o.kind, c.ticket.kind);
        EXPECT_EQ(std::tuple(o.num1, o.num2, o.num3), std::tuple(c.num1, c.num2, c.num3));
        EXPECT_EQ(o.buyDay, 1);
        EXPECT_EQ(o.units, 12);
        EXPECT_EQ(o.logNo, 7);
        EXPECT_EQ(o.partnerSlots, c.partners);
    }
}

TEST_F(LogReader, RefusedTicketsAreListedButNotBet) {
    Ticket invalid = singleBet(Win, 0, 0, 1);
    invalid.status = Invalid;
    Ticket sameBracket = singleBet(BracketQuinella, 0, 4, 4);
    sameBracket.status = SameBracket;
    Ticket closed = boxBet(Trio, {1, 2, 3, 4});
    closed.status = Closed;
    Ticket oddStatus = singleBet(Win, 0, 0, 2);
    oddStatus.status = 7;
    writeDay({DayLog{1, {invalid, sameBracket, closed, oddStatus}}});

    EXPECT_FALSE(read()); // tickets, but not one bet line
    EXPECT_EQ(lg->logCount(), 0);
    EXPECT_EQ(lg->betCount(), 0);
    ASSERT_EQ(lg->logOmitCount(), 4);
    QList<int> statuses;
    for (const QString& s : allOmit(*lg)) {
        statuses << ticketLineFromText(s).status;
    }
    std::sort(statuses.begin(), statuses.end());
    EXPECT_EQ(statuses, (QList<int>{7, 11, 21, 31}));
}

TEST_F(LogReader, NoTicketLineForWheelsAndBoxesThatCannotBe) {
    writeDay({DayLog{1,
                     {wheelBet(Win, 3, {1}), boxBet(Place, {1, 2}),
                      [] {
                          Ticket t = singleBet(Win, 0, 0, 4);
                          t.kind = 5; // not a ticket kind of the client
                          return t;
                      }(),
                      singleBet(Place, 0, 0, 6)}}});
    EXPECT_TRUE(read());
    EXPECT_EQ(lg->logCount(), 1);
    EXPECT_EQ(lg->logOmitCount(), 1);
    EXPECT_EQ(ticketLineFromText(lg->logOmit(1)).betType, Place);
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
        fresh();
        Ticket t = boxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
        t.flags = c.flags;
        readOne(t);
        const TicketLine o = ticketLineFromText(lg->logOmit(1));
        EXPECT_EQ(o.num1, c.members);
        for (int i = 0; i < 18; ++i) {
            EXPECT_EQ(o.partnerSlots[i], i < c.members ? i + 1 : 0);
        }
        const int n = c.members;
        EXPECT_EQ(lg->logCount(), n * (n - 1) * (n - 2) / 6);
    }
}

TEST_F(LogReader, PreviousDaysAdvanceTicketsJoinTheDay) {
    struct Case {
        QString day, eve;
    };
    for (const Case& c : {Case{kDay, kEve}, Case{QStringLiteral("20260101"), QStringLiteral("20251231")},
                          Case{QStringLiteral("20240301"), QStringLiteral("20240229")}}) {
        SCOPED_TRACE(c.day.toStdString());
        fresh();
        Ticket refused = at(singleBet(Win, 0, 0, 3), 5, 2, 2);
        refused.status = Closed;
        ASSERT_TRUE(saveDayLog(dir, QStringLiteral("LGEVE"),
                               DayLog{3,
                                      {at(singleBet(Win, 0, 0, 1), 5, 1, 1), // the eve's own race: ignored
                                       at(singleBet(Win, 0, 0, 2, 4), 5, 1, 2), refused}}));
        ASSERT_TRUE(
            saveDayLog(dir, QStringLiteral("LGDAY"),
                       DayLog{4, {at(singleBet(Win, 0, 0, 9), 6, 1, 1), at(singleBet(Win, 0, 0, 8), 6, 1, 2)}}));
        ASSERT_TRUE(saveIndex(dir, {{QStringLiteral("LGEVE"), c.eve}, {QStringLiteral("LGDAY"), c.day}}));

        ASSERT_TRUE(read(c.day));
        EXPECT_EQ(lg->betCount(), 2); // the day's own lines only
        ASSERT_EQ(lg->logCount(), 3);
        const BetLine eve = betLineFromText(lg->log(1)); // 1 05 ... sorts first
        EXPECT_EQ(std::tuple(eve.sale, eve.venue, eve.raceNum, eve.num3, eve.buyDay, eve.units),
                  std::tuple(1, 5, 1, 2, 9, 4));
        const BetLine tomorrow = betLineFromText(lg->log(3)); // bought today for tomorrow: stays sale 2
        EXPECT_EQ(std::tuple(tomorrow.sale, tomorrow.num3, tomorrow.buyDay), std::tuple(2, 8, 1));

        ASSERT_EQ(lg->logOmitCount(), 4);
        const TicketLine refusedLine = ticketLineFromText(lg->logOmit(2));
        EXPECT_EQ(std::tuple(refusedLine.sale, refusedLine.status, refusedLine.buyDay, refusedLine.logNo),
                  std::tuple(1, 31, 9, 3));
    }
}

TEST_F(LogReader, SortsBothListsByText) {
    writeDay({DayLog{2,
                     {at(singleBet(Trio, 1, 2, 3), 9, 1, 2), at(singleBet(Win, 0, 0, 4), 9, 1, 1),
                      at(singleBet(Quinella, 0, 2, 3), 5, 12, 1), at(singleBet(Win, 0, 0, 1), 5, 12, 1),
                      at(singleBet(Win, 0, 0, 7), 5, 2, 1), at(singleBet(Place, 0, 0, 1), 10, 1, 1)}},
              DayLog{1, {at(singleBet(Win, 0, 0, 1), 1, 3, 2)}}});
    ASSERT_TRUE(read());
    const QStringList log = allLog(*lg);
    const QStringList omit = allOmit(*lg);
    EXPECT_TRUE(std::is_sorted(log.begin(), log.end()));
    EXPECT_TRUE(std::is_sorted(omit.begin(), omit.end()));
    std::vector<std::tuple<int, int, int, int>> keys;
    for (const QString& s : log) {
        const BetLine l = betLineFromText(s);
        keys.emplace_back(l.sale, l.venue, l.raceNum, l.betType);
    }
    const std::vector<std::tuple<int, int, int, int>> expected = {
        {1, 5, 2, 1}, {1, 5, 12, 1}, {1, 5, 12, 4}, {1, 9, 1, 1}, {1, 10, 1, 2}, {2, 1, 3, 1}, {2, 9, 1, 7}};
    EXPECT_EQ(keys, expected);
}

// Several boxes and wheels of one race and bet type, their numbers recorded out of order and spread over
// two logs, come out as one run in text order, every combination of every ticket kept (duplicates too).
TEST_F(LogReader, TicketsOfOneRaceAndTypeComeOutInTextOrder) {
    writeDay({DayLog{1,
                     {at(boxBet(Trio, {9, 2, 5, 14, 1}, 2), 5, 12), at(trioWheel(9, 2, {1, 18}), 5, 12),
                      at(boxBet(Exacta, {4, 1, 7}), 5, 12)}},
              DayLog{2,
                     {at(boxBet(Trio, {14, 9, 1, 2}, 3), 5, 12), at(boxBet(Trio, {3, 1, 14}), 5, 12),
                      at(boxBet(Exacta, {7, 4}), 5, 12)}}});
    ASSERT_TRUE(read());
    const QStringList log = allLog(*lg);
    EXPECT_EQ(log.size(), 10 + 2 + 6 + 4 + 1 + 2);
    QStringList sorted = log;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(log, sorted);
}

TEST_F(LogReader, RaceRunsAreWhatAFullWalkWouldCollect) {
    std::mt19937 rng(7);
    QList<Ticket> tickets;
    for (int i = 0; i < 90; ++i) {
        Ticket t = singleBet(1 + int(rng() % 7), int(rng() % 3), int(rng() % 19), int(rng() % 19));
        tickets << at(t, 1 + int(rng() % 10), 1 + int(rng() % 12), 1 + int(rng() % 2));
    }
    writeDay({DayLog{1, tickets.mid(0, 45)}, DayLog{2, tickets.mid(45)}});
    ASSERT_TRUE(read());
    for (qint16 sale : {0, 1, 2, -1, 10}) {
        for (qint16 venue : {0, 1, 5, 10, 11, -5, 100}) {
            for (qint16 race = -1; race <= 13; ++race) {
                QStringList walkLog, walkOmit;
                for (const QString& s : allLog(*lg)) {
                    const BetLine l = betLineFromText(s);
                    if (l.sale == sale && l.venue == venue && l.raceNum == race)
                        walkLog << s;
                }
                for (const QString& s : allOmit(*lg)) {
                    const TicketLine o = ticketLineFromText(s);
                    if (o.sale == sale && o.venue == venue && o.raceNum == race)
                        walkOmit << s;
                }
                QStringList runLog, runOmit;
                const BetRun run = lg->logOf(sale, venue, race);
                for (qsizetype i = 0; i < run.count(); ++i)
                    runLog << betLineText(BetRecords::unpack(run.packed(i), 0));
                for (const TicketLine& o : lg->logOmitOf(sale, venue, race))
                    runOmit << ticketLineText(o);
                ASSERT_EQ(runLog, walkLog) << sale << " " << venue << " " << race;
                ASSERT_EQ(runOmit, walkOmit);
            }
        }
    }
}

TEST_F(LogReader, ReturnValuesAndMissingFiles) {
    EXPECT_FALSE(read()); // no index file
    EXPECT_EQ(lg->logOmitCount(), 0);

    ASSERT_TRUE(saveIndex(dir, {{QStringLiteral("GONE1"), kDay}, {QStringLiteral("LG002"), kDay}}));
    ASSERT_TRUE(saveDayLog(dir, QStringLiteral("LG002"), DayLog{1, {singleBet(Win, 0, 0, 1)}}));
    EXPECT_TRUE(read()); // the missing log is skipped
    EXPECT_EQ(lg->logCount(), 1);
    EXPECT_FALSE(read(QStringLiteral("20260406"))); // nothing dated that day
    EXPECT_EQ(lg->logCount(), 0);
    EXPECT_EQ(lg->logOmitCount(), 0);
    EXPECT_FALSE(read(QString()));
    EXPECT_FALSE(read(QStringLiteral("garbage!")));

    // Lower-case names as a folder copied from Windows may have them.
    write(QStringLiteral("lg003.jra"), writeDayLog(DayLog{1, {singleBet(Win, 0, 0, 2)}}));
    ASSERT_TRUE(saveIndex(dir, {{QStringLiteral("LG003"), kDay}}));
    EXPECT_TRUE(read());
    EXPECT_EQ(lg->logCount(), 1);

    EXPECT_THROW(lg->log(0), AppError);
    EXPECT_THROW(lg->log(2), AppError);
    EXPECT_THROW(lg->logOmit(2), AppError);
}

TEST_F(LogReader, CountsBeyondTheFileReadOnlyWhatIsThere) {
    DayLog log{1, {singleBet(Win, 0, 0, 1), singleBet(Win, 0, 0, 2)}};
    log.recordCount = 99;
    ASSERT_TRUE(saveDayLog(dir, QStringLiteral("LG001"), log));
    ASSERT_TRUE(saveIndex(dir, {{QStringLiteral("LG001"), kDay}}, 999));
    EXPECT_TRUE(read());
    EXPECT_EQ(lg->logCount(), 2);

    // Counts without digits read as 0 and contribute nothing.
    QByteArray bytes = writeDayLog(log);
    bytes.replace(20, 2, "xx");
    write(QStringLiteral("LG001.JRA"), bytes);
    EXPECT_FALSE(read());
    QByteArray index = writeIndex({{QStringLiteral("LG001"), kDay}});
    index.replace(16, 3, " - ");
    write(QStringLiteral("LG-FILE.JRA"), index);
    EXPECT_FALSE(read());
}

// A log the client is still writing: only the records it holds whole are taken, and the file is named.
TEST_F(LogReader, OnlyWholeRecordsAreTakenAndALogNotWholeIsNamed) {
    // Cut inside the box, its missing member flags would read as seven more members.
    DayLog log{1, {singleBet(Win, 0, 0, 1), at(boxBet(Trio, {3, 7, 9}), 5, 11)}};
    const QByteArray whole = writeDayLog(log);
    log.recordCount = 3;
    using P = FileWarning::Problem;
    const struct {
        const char* name;
        QByteArray bytes;
        int kept; // the leading tickets read, each as from a whole log
        std::optional<std::tuple<P, qint64, qint64>> said;
    } rows[] = {
        {"cut inside the box", whole.left(22 + 54 + 45), 1, std::tuple(P::CutRecord, 121, 0)},
        {"a partial record behind", whole + "0001", 2, std::tuple(P::CutRecord, 134, 0)},
        {"fewer records than declared", writeDayLog(log), 2, std::tuple(P::FewerRecords, 2, 3)},
        {"header cut", whole.left(21), 0, std::tuple(P::CutRecord, 21, 0)},
    };
    ASSERT_TRUE(saveIndex(dir, {{QStringLiteral("LG001"), kDay}}));
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        write(QStringLiteral("LG001.JRA"), writeDayLog(DayLog{1, log.tickets.first(r.kept)}));
        read();
        const QStringList lines = allLog(*lg) + allOmit(*lg);
        write(QStringLiteral("LG001.JRA"), r.bytes);
        read();
        EXPECT_EQ(allLog(*lg) + allOmit(*lg), lines);
        ASSERT_EQ(lg->warnings().size(), r.said ? 1u : 0u);
        for (const FileWarning& w : lg->warnings()) {
            EXPECT_EQ(w.file, QStringLiteral("LG001.JRA"));
            EXPECT_EQ(std::tuple(w.what, w.size, w.expected), *r.said);
        }
    }

    // A truncated index entry: its name is there, its date is not.
    const QByteArray index = writeIndex({{QStringLiteral("LG001"), kDay}, {QStringLiteral("LG001"), kDay}});
    write(QStringLiteral("LG001.JRA"), whole);
    write(QStringLiteral("LG-FILE.JRA"), index.left(23 + 26 + 12));
    ASSERT_TRUE(read());
    EXPECT_EQ(lg->logOmitCount(), 2);
}

TEST_F(LogReader, GarbageNeverCrashesOrReadsPastTheBuffer) {
    std::mt19937 rng(11);
    const QByteArray good = writeDayLog(DayLog{
        1,
        {boxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), wheelBet(Quinella, 7, {1, 2, 3}), exactaWheel(3, 1, {4, 5})}});
    const QByteArray goodIndex = writeIndex({{QStringLiteral("LG001"), kDay}});
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes = good.left(qsizetype(rng() % (good.size() + 1)));
        QByteArray index = goodIndex;
        for (int k = 0; k < 6; ++k) {
            if (!bytes.isEmpty())
                bytes[qsizetype(rng() % bytes.size())] = char(rng() % 256);
            if (round % 3 == 0)
                index[qsizetype(rng() % index.size())] = char(rng() % 256);
        }
        fresh(); // new files: rewriting one file 300 times costs more than the reading
        write(QStringLiteral("LG001.JRA"), bytes);
        write(QStringLiteral("LG-FILE.JRA"), index);
        read();
        for (const QString& s : allLog(*lg))
            ASSERT_EQ(s.size(), kLogTextLength);
        for (const QString& s : allOmit(*lg))
            ASSERT_EQ(s.size(), kOmitTextLength);
    }
}

TEST_F(LogReader, RepeatedEntriesCountOnceAndAHugeLogIsRefused) {
    writeDay(QList<DayLog>(22, DayLog{1, QList<Ticket>(99, boxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}))}));
    EXPECT_THROW(read(), AppError); // 22 files of 11,880 bet lines: 261,360, past the bound of 250,000
    EXPECT_FALSE(lg.has_value());   // a refused read gives no reader at all
    QByteArray index = folder.read("LG-FILE.JRA");
    write("LG-FILE.JRA", index.replace(16, 3, "021")); // 21 of them: 249,480, within it
    ASSERT_TRUE(read());
    EXPECT_EQ(lg->logCount(), 249480);
    // LG001 998 times (once in lower case), then "LG\002", a name Qt would warn about.
    index =
        writeIndex(QList<IndexEntry>(997, {"LG001", kDay}) << IndexEntry{"lg001", kDay} << IndexEntry{"LG002", kDay});
    write("LG-FILE.JRA", index.replace(23 + 26 * 998 + 2, 1, QByteArray(1, '\0')));
    static int messages = 0;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) { ++messages; });
    ASSERT_TRUE(read());
    qInstallMessageHandler(nullptr);
    EXPECT_EQ(std::tuple(lg->logCount(), lg->logOmitCount(), messages), std::tuple(11880, 99, 0));
}

TEST_F(LogReader, ADayOfLargeBoxesOverflowsNoCount) {
    // 900 trio boxes of ten horses: 108,000 bet lines, far beyond 16 bits.
    QList<DayLog> logs;
    for (int f = 0; f < 10; ++f) {
        DayLog log{f + 1, {}};
        for (int k = 0; k < 90; ++k) {
            log.tickets << at(boxBet(Trio, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}), 1 + f % 3, 1 + k % 12);
        }
        logs << log;
    }
    writeDay(logs);
    ASSERT_TRUE(read());
    EXPECT_EQ(lg->logCount(), 108000);
    EXPECT_EQ(lg->betCount(), 108000);
    EXPECT_EQ(lg->logOmitCount(), 900);
    // Race 12 of venue 1: seven tickets (k = 11, 23, ..., 83) in each of four files.
    EXPECT_EQ(lg->logOf(1, 1, 12).count(), 28 * 120);
}

} // namespace
