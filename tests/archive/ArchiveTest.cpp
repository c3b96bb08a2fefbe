#include "archive/BetArchive.h"
#include "archive/DayBets.h"
#include "core/BetRecords.h"
#include "patdata/DayTotals.h"
#include "patdata/SaleDayReader.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <future>
#include <latch>

using Archive::Bet;
using ::testing::HasSubstr;

namespace {
Bet make(qint16 venue, qint16 type, qint32 stake, qint32 payout, qint16 state) {
    Bet b;
    b.venue = venue;
    b.kaiJi = 2;
    b.hiJi = 5;
    b.raceNum = 11;
    b.betType = type;
    b.num1 = 3;
    b.buyDay = 1;
    b.stake = stake;
    b.payout = payout;
    b.state = state;
    return b;
}

// The first value of a statement run on a connection of its own to the file; none when it gives none.
QVariant scalar(const QString& file, const char* sql) {
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("test"));
        db.setDatabaseName(file);
        QSqlQuery q(db);
        value = db.open() && q.exec(QLatin1String(sql)) && q.next() ? q.value(0) : QVariant();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("test"));
    return value;
}
} // namespace

TEST(BetArchive, ADayIsStoredWholeReplacedWholeAndOtherDaysStay) {
    TempFolder dir;
    BetArchive archive;
    ASSERT_TRUE(archive.open(dir.path())) << archive.errorText().toStdString();
    const std::vector<Bet> day1{make(5, 1, 500, 0, BetCodes::Open), make(5, 7, 100, 0, BetCodes::Open)};
    const std::vector<Bet> day2{make(6, 1, 1000, 2500, BetCodes::Hit)};
    ASSERT_TRUE(archive.storeDay(QStringLiteral("20261205"), day1));
    ASSERT_TRUE(archive.storeDay(QStringLiteral("20261206"), day2));
    ASSERT_TRUE(archive.storeDay(QStringLiteral("20261205"), day1)); // a second refresh: nothing doubles
    EXPECT_EQ(archive.betsOfDay(QStringLiteral("20261205")), day1);

    // The results arrived: the day is replaced as a whole, the other one untouched.
    const std::vector<Bet> settled{make(5, 1, 500, 1750, BetCodes::Hit), make(5, 7, 100, 0, BetCodes::Miss),
                                   make(5, 7, 300, 0, BetCodes::AdvanceSale)};
    ASSERT_TRUE(archive.storeDay(QStringLiteral("20261205"), settled));
    EXPECT_EQ(archive.betsOfDay(QStringLiteral("20261205")), settled);
    EXPECT_EQ(archive.betsOfDay(QStringLiteral("20261206")), day2);
    EXPECT_EQ(archive.days(), QStringList({QStringLiteral("20261205"), QStringLiteral("20261206")}));

    // The figures kept beside the bets: the advance sale is left for its own day.
    const auto figures = archive.figuresOf(QStringLiteral("20261201"), QStringLiteral("20261205"));
    ASSERT_EQ(figures.size(), 2u);
    EXPECT_EQ(figures[0].betType, 1);
    EXPECT_EQ(figures[0].sum, (Archive::Figures{1, 500, 1750, 1, 0, 0, 0}));
    EXPECT_EQ(figures[1].betType, 7);
    EXPECT_EQ(figures[1].sum, (Archive::Figures{1, 100, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(archive.figuresOf(QStringLiteral("20261207"), QStringLiteral("20261231")).empty());

    // An empty day is a day with no bets; a date that is not one is refused.
    ASSERT_TRUE(archive.storeDay(QStringLiteral("20261206"), {}));
    EXPECT_TRUE(archive.betsOfDay(QStringLiteral("20261206")).empty());
    EXPECT_FALSE(archive.storeDay(QStringLiteral("2026120x"), day1));
    EXPECT_THAT(archive.errorText().toStdString(), HasSubstr("2026120x"));

    // Another connection (the analysis window, the command line) sees the same.
    BetArchive reader;
    ASSERT_TRUE(reader.open(dir.path()));
    EXPECT_EQ(reader.betsOfDay(QStringLiteral("20261205")), settled);
}

TEST(BetArchive, UnusableFilesAreRefusedWithTheirNameAndLeftAlone) {
    struct Case {
        const char* name;
        std::function<void(const TempFolder&)> make;
        const char* reason;
    };
    const auto newer = [](const TempFolder& dir) {
        scalar(dir.file(BetArchive::fileName()), "CREATE TABLE schema_version AS SELECT 2 AS version");
    };
    const std::vector<Case> cases{
        {"not a database", [](const TempFolder& d) { d.write(BetArchive::fileName(), QByteArray(4096, 'x')); },
         "not a database"},
        {"later version", newer, "(2)"},
        {"a folder in its place", [](const TempFolder& d) { d.sub(BetArchive::fileName()); }, ""},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        c.make(dir);
        const QByteArray before =
            QFileInfo(dir.file(BetArchive::fileName())).isFile() ? dir.read(BetArchive::fileName()) : QByteArray();
        BetArchive archive;
        EXPECT_FALSE(archive.open(dir.path())) << c.name;
        EXPECT_THAT(archive.errorText().toStdString(), HasSubstr("VQBETS.SQLITE")) << c.name;
        EXPECT_THAT(archive.errorText().toStdString(), HasSubstr(c.reason)) << c.name;
        EXPECT_FALSE(archive.storeDay(QStringLiteral("20261205"), {make(5, 1, 100, 0, 0)})) << c.name;
        if (!before.isEmpty()) {
            EXPECT_EQ(dir.read(BetArchive::fileName()), before) << c.name;
        }
    }
}

TEST(BetArchive, TwoWritersMakingANewArchiveAtOnceBothOpenItWithOneVersionRow) {
    TempFolder dir; // the main window's writer and `velqora archive`, on a folder without an archive
    QStringList faults;
    for (int i = 0; i < 200; ++i) {
        const QString folder = dir.sub(QString::number(i));
        std::latch start(2);
        const auto open = [&] {
            BetArchive archive;
            start.arrive_and_wait();
            return archive.open(folder) ? QString() : archive.errorText();
        };
        std::future<QString> other = std::async(std::launch::async, open);
        faults << open() << other.get();
        const QVariant rows = scalar(folder + BetArchive::fileName(), "SELECT COUNT(*) FROM schema_version");
        faults << (rows == 1 ? QString() : QStringLiteral("%1: %2 version rows").arg(i).arg(rows.toInt()));
    }
    EXPECT_EQ(faults.join(QString()), QString()) << faults.join(u'\n').toStdString();
}

TEST(BetArchive, AReaderMakesNoFileAndReadsAFolderItCannotWrite) {
    TempFolder dir;
    const QString folder = dir.sub(QStringLiteral("読み取り専用 #1%")); // carried escaped in SQLite's file address
    EXPECT_TRUE(BetArchive().open(folder, BetArchive::Access::Read));   // nothing stored: no days, no file made
    EXPECT_FALSE(QFileInfo::exists(folder + BetArchive::fileName()));
    {
        BetArchive writer;
        ASSERT_TRUE(writer.open(folder) && writer.storeDay(QStringLiteral("20261205"), {make(5, 1, 500, 0, 0)}));
    }
    // What a folder that cannot be written gets: the file as it lies, no lock, no file made beside it.
    BetArchive reader;
    EXPECT_TRUE(reader.open(folder, BetArchive::Access::ReadFrozen) && reader.days().size() == 1);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{BetArchive::fileName()});
    // The folder check that chooses it, where permissions bind (not for root).
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool binds = !QFileInfo(folder).isWritable();
    EXPECT_TRUE(!binds || (reader.open(folder, BetArchive::Access::Read) && reader.days().size() == 1));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (!binds) {
        GTEST_SKIP() << "permissions do not bind (root): a read-only folder was read through ReadFrozen alone";
    }
}

TEST(BetArchive, DamageMetPartWayThroughAReadFailsItWithTheFileNamed) {
    TempFolder dir;
    {
        // 60 days of 210 bets (3 venues × 7 bet types): a page of day figures every few days among bet pages.
        BetArchive writer;
        ASSERT_TRUE(writer.open(dir.path()));
        std::vector<Bet> bets;
        for (int i = 0; i < 210; ++i) {
            bets.push_back(make(5 + i % 3, 1 + i / 3 % 7, 100, 0, 0));
        }
        for (int d = 0; d < 60; ++d) {
            ASSERT_TRUE(writer.storeDay(QDate(2026, 1, 1).addDays(d).toString(QStringLiteral("yyyyMMdd")), bets));
        }
    } // closed last: no WAL beside it, every page in the file
    QByteArray bytes = dir.read(BetArchive::fileName());
    bytes.replace(bytes.size() / 4, bytes.size() / 2, QByteArray(bytes.size() / 2, '\xA5'));
    dir.write(BetArchive::fileName(), bytes);
    BetArchive reader;
    EXPECT_TRUE(reader.open(dir.path(), BetArchive::Access::Read) &&
                reader.figuresOf(QStringLiteral("20260101"), QStringLiteral("20261231")).empty());
    EXPECT_THAT(reader.errorText().toStdString(), HasSubstr("VQBETS.SQLITE が壊れていて読めません"));
}

TEST(BetArchive, TheDaysBetsAddUpToTheDayTotals) {
    // Bet by bet against the races' own sums: stakes, payouts and advance sales of the sample day.
    TempFolder dir;
    ASSERT_TRUE(writeSampleDay(dir.path()));
    SaleDayReader pat = SaleDayReader::read(dir.path());
    ASSERT_NE(pat.betLog(), nullptr);
    const std::optional<DayTotals> totals = sumDayTotals(pat.meetings());
    ASSERT_TRUE(totals.has_value());
    const std::vector<Bet> bets = Archive::dayBets(pat);
    ASSERT_EQ(static_cast<qsizetype>(bets.size()), totals->logCount);
    qint64 today = 0, yesterday = 0, tomorrow = 0, paid = 0, open = 0;
    for (const Bet& b : bets) {
        (b.state == BetCodes::AdvanceSale ? tomorrow : b.buyDay == 1 ? today : yesterday) += b.stake;
        paid += b.payout;
        open += b.state == BetCodes::Open ? b.stake : 0;
    }
    EXPECT_EQ(today, totals->amtBuy);
    EXPECT_EQ(yesterday, totals->amtBuyYesterday);
    EXPECT_EQ(tomorrow, totals->amtBuyTomorrow);
    EXPECT_EQ(paid, totals->amtPay);
    EXPECT_EQ(open, totals->amtYet);
    EXPECT_GT(tomorrow, 0);
}
