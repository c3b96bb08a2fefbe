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
Bet Make(qint16 venue, qint16 type, qint32 stake, qint32 payout, qint16 state) {
    Bet b;
    b.Venue = venue;
    b.KaiJi = 2;
    b.HiJi = 5;
    b.RaceNum = 11;
    b.BetType = type;
    b.Num1 = 3;
    b.BuyDay = 1;
    b.Stake = stake;
    b.Payout = payout;
    b.State = state;
    return b;
}

// The first value of a statement run on a connection of its own to the file; none when it gives none.
QVariant Scalar(const QString& file, const char* sql) {
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
    ASSERT_TRUE(archive.Open(dir.Path())) << archive.ErrorText().toStdString();
    const std::vector<Bet> day1{Make(5, 1, 500, 0, BetCodes::Open), Make(5, 7, 100, 0, BetCodes::Open)};
    const std::vector<Bet> day2{Make(6, 1, 1000, 2500, BetCodes::Hit)};
    ASSERT_TRUE(archive.StoreDay(QStringLiteral("20261205"), day1));
    ASSERT_TRUE(archive.StoreDay(QStringLiteral("20261206"), day2));
    ASSERT_TRUE(archive.StoreDay(QStringLiteral("20261205"), day1)); // a second refresh: nothing doubles
    EXPECT_EQ(archive.BetsOfDay(QStringLiteral("20261205")), day1);

    // The results arrived: the day is replaced as a whole, the other one untouched.
    const std::vector<Bet> settled{Make(5, 1, 500, 1750, BetCodes::Hit), Make(5, 7, 100, 0, BetCodes::Miss),
                                   Make(5, 7, 300, 0, BetCodes::AdvanceSale)};
    ASSERT_TRUE(archive.StoreDay(QStringLiteral("20261205"), settled));
    EXPECT_EQ(archive.BetsOfDay(QStringLiteral("20261205")), settled);
    EXPECT_EQ(archive.BetsOfDay(QStringLiteral("20261206")), day2);
    EXPECT_EQ(archive.Days(), QStringList({QStringLiteral("20261205"), QStringLiteral("20261206")}));

    // The figures kept beside the bets: the advance sale is left for its own day.
    const auto figures = archive.FiguresOf(QStringLiteral("20261201"), QStringLiteral("20261205"));
    ASSERT_EQ(figures.size(), 2u);
    EXPECT_EQ(figures[0].BetType, 1);
    EXPECT_EQ(figures[0].Sum, (Archive::Figures{1, 500, 1750, 1, 0, 0, 0}));
    EXPECT_EQ(figures[1].BetType, 7);
    EXPECT_EQ(figures[1].Sum, (Archive::Figures{1, 100, 0, 0, 1, 0, 0}));
    EXPECT_TRUE(archive.FiguresOf(QStringLiteral("20261207"), QStringLiteral("20261231")).empty());

    // An empty day is a day with no bets; a date that is not one is refused.
    ASSERT_TRUE(archive.StoreDay(QStringLiteral("20261206"), {}));
    EXPECT_TRUE(archive.BetsOfDay(QStringLiteral("20261206")).empty());
    EXPECT_FALSE(archive.StoreDay(QStringLiteral("2026120x"), day1));
    EXPECT_THAT(archive.ErrorText().toStdString(), HasSubstr("2026120x"));

    // Another connection (the analysis window, the command line) sees the same.
    BetArchive reader;
    ASSERT_TRUE(reader.Open(dir.Path()));
    EXPECT_EQ(reader.BetsOfDay(QStringLiteral("20261205")), settled);
}

TEST(BetArchive, UnusableFilesAreRefusedWithTheirNameAndLeftAlone) {
    struct Case {
        const char* name;
        std::function<void(const TempFolder&)> make;
        const char* reason;
    };
    const auto newer = [](const TempFolder& dir) {
        Scalar(dir.File(BetArchive::FileName()), "CREATE TABLE schema_version AS SELECT 2 AS version");
    };
    const std::vector<Case> cases{
        {"not a database", [](const TempFolder& d) { d.Write(BetArchive::FileName(), QByteArray(4096, 'x')); },
         "not a database"},
        {"later version", newer, "(2)"},
        {"a folder in its place", [](const TempFolder& d) { d.Sub(BetArchive::FileName()); }, ""},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        c.make(dir);
        const QByteArray before =
            QFileInfo(dir.File(BetArchive::FileName())).isFile() ? dir.Read(BetArchive::FileName()) : QByteArray();
        BetArchive archive;
        EXPECT_FALSE(archive.Open(dir.Path())) << c.name;
        EXPECT_THAT(archive.ErrorText().toStdString(), HasSubstr("VQBETS.SQLITE")) << c.name;
        EXPECT_THAT(archive.ErrorText().toStdString(), HasSubstr(c.reason)) << c.name;
        EXPECT_FALSE(archive.StoreDay(QStringLiteral("20261205"), {Make(5, 1, 100, 0, 0)})) << c.name;
        if (!before.isEmpty()) {
            EXPECT_EQ(dir.Read(BetArchive::FileName()), before) << c.name;
        }
    }
}

TEST(BetArchive, TwoWritersMakingANewArchiveAtOnceBothOpenItWithOneVersionRow) {
    TempFolder dir; // the main window's writer and `velqora archive`, on a folder without an archive
    QStringList faults;
    for (int i = 0; i < 200; ++i) {
        const QString folder = dir.Sub(QString::number(i));
        std::latch start(2);
        const auto open = [&] {
            BetArchive archive;
            start.arrive_and_wait();
            return archive.Open(folder) ? QString() : archive.ErrorText();
        };
        std::future<QString> other = std::async(std::launch::async, open);
        faults << open() << other.get();
        const QVariant rows = Scalar(folder + BetArchive::FileName(), "SELECT COUNT(*) FROM schema_version");
        faults << (rows == 1 ? QString() : QStringLiteral("%1: %2 version rows").arg(i).arg(rows.toInt()));
    }
    EXPECT_EQ(faults.join(QString()), QString()) << faults.join(u'\n').toStdString();
}

TEST(BetArchive, AReaderMakesNoFileAndReadsAFolderItCannotWrite) {
    TempFolder dir;
    const QString folder = dir.Sub(QStringLiteral("読み取り専用 #1%")); // carried escaped in SQLite's file address
    EXPECT_TRUE(BetArchive().Open(folder, BetArchive::Access::Read));   // nothing stored: no days, no file made
    EXPECT_FALSE(QFileInfo::exists(folder + BetArchive::FileName()));
    {
        BetArchive writer;
        ASSERT_TRUE(writer.Open(folder) && writer.StoreDay(QStringLiteral("20261205"), {Make(5, 1, 500, 0, 0)}));
    }
    // What a folder that cannot be written gets: the file as it lies, no lock, no file made beside it.
    BetArchive reader;
    EXPECT_TRUE(reader.Open(folder, BetArchive::Access::ReadFrozen) && reader.Days().size() == 1);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{BetArchive::FileName()});
    // The folder check that chooses it, where permissions bind (not for root).
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    const bool binds = !QFileInfo(folder).isWritable();
    EXPECT_TRUE(!binds || (reader.Open(folder, BetArchive::Access::Read) && reader.Days().size() == 1));
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
        ASSERT_TRUE(writer.Open(dir.Path()));
        std::vector<Bet> bets;
        for (int i = 0; i < 210; ++i) {
            bets.push_back(Make(5 + i % 3, 1 + i / 3 % 7, 100, 0, 0));
        }
        for (int d = 0; d < 60; ++d) {
            ASSERT_TRUE(writer.StoreDay(QDate(2026, 1, 1).addDays(d).toString(QStringLiteral("yyyyMMdd")), bets));
        }
    } // closed last: no WAL beside it, every page in the file
    QByteArray bytes = dir.Read(BetArchive::FileName());
    bytes.replace(bytes.size() / 4, bytes.size() / 2, QByteArray(bytes.size() / 2, '\xA5'));
    dir.Write(BetArchive::FileName(), bytes);
    BetArchive reader;
    EXPECT_TRUE(reader.Open(dir.Path(), BetArchive::Access::Read) &&
                reader.FiguresOf(QStringLiteral("20260101"), QStringLiteral("20261231")).empty());
    EXPECT_THAT(reader.ErrorText().toStdString(), HasSubstr("VQBETS.SQLITE が壊れていて読めません"));
}

TEST(BetArchive, TheDaysBetsAddUpToTheDayTotals) {
    // Bet by bet against the races' own sums: stakes, payouts and advance sales of the sample day.
    TempFolder dir;
    ASSERT_TRUE(WriteSampleDay(dir.Path()));
    SaleDayReader pat;
    pat.setPathName(dir.Path());
    ASSERT_TRUE(pat.Initialize());
    const std::optional<DayTotals> totals = SumDayTotals(pat.colKaisai());
    ASSERT_TRUE(totals.has_value());
    const std::vector<Bet> bets = Archive::DayBets(pat);
    ASSERT_EQ(static_cast<qsizetype>(bets.size()), totals->LogCount);
    qint64 today = 0, yesterday = 0, tomorrow = 0, paid = 0, open = 0;
    for (const Bet& b : bets) {
        (b.State == BetCodes::AdvanceSale ? tomorrow : b.BuyDay == 1 ? today : yesterday) += b.Stake;
        paid += b.Payout;
        open += b.State == BetCodes::Open ? b.Stake : 0;
    }
    EXPECT_EQ(today, totals->AmtBuy);
    EXPECT_EQ(yesterday, totals->AmtBuyYesterday);
    EXPECT_EQ(tomorrow, totals->AmtBuyTomorrow);
    EXPECT_EQ(paid, totals->AmtPay);
    EXPECT_EQ(open, totals->AmtYet);
    EXPECT_GT(tomorrow, 0);
}
