#include "samplefolder/SampleDay.h"

#include "core/BetRecords.h"
#include "odds/ExactaOddsReader.h"
#include "odds/OddsList.h"
#include "odds/QuinellaOddsReader.h"
#include "odds/TrioOddsReader.h"
#include "odds/WinPlaceOddsReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "profit/ProfitBook.h"
#include "results/RaceResultReader.h"
#include "support/ReadOdds.h"
#include "support/TestSupport.h"

#include <QDate>
#include <QDirIterator>
#include <QSet>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <tuple>

using namespace SampleDay;

namespace {

std::map<QString, QByteArray> snapshot(const QString& folder) {
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(path);
        files[path.mid(folder.size())] = f.readAll();
    }
    return files;
}

std::unique_ptr<SaleDayReader> read(const QString& folder, const QString& downloads) {
    auto pat = std::make_unique<SaleDayReader>(SaleDayReader::read(folder, downloads));
    EXPECT_NE(pat->betLog(), nullptr);
    return pat;
}

QString resultId(const SaleDayReader& pat, RaceRef ref) {
    return SaleDayReader::resultFileId(*pat.meeting(ref.meeting), static_cast<qint16>(ref.race));
}

// One sample day, written once and read by the program's own folder reader.
class SampleDayFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new TempFolder;
        QString error;
        ASSERT_TRUE(writeSampleDay(s_dir->path(), &error)) << qPrintable(error);
        s_pat = read(s_dir->path(), s_dir->path() + QStringLiteral("VQDOWNLOAD")).release();
    }
    static void TearDownTestSuite() {
        delete s_pat;
        delete s_dir;
    }

    static const ::Race& raceAt(RaceRef ref) { return *s_pat->meeting(ref.meeting)->race(ref.race); }

    template <typename Visit>
    static void forEachRace(Visit visit) {
        for (const auto& meeting : s_pat->meetings()) {
            for (const auto& race : meeting->races()) {
                visit(*meeting, *race);
            }
        }
    }

    static TempFolder* s_dir;
    static SaleDayReader* s_pat;
};
TempFolder* SampleDayFolder::s_dir = nullptr;
SaleDayReader* SampleDayFolder::s_pat = nullptr;

} // namespace

TEST(SampleDay, SameBytesOnEveryRunAndOverAnEarlierSample) {
    TempFolder a;
    TempFolder b;
    ASSERT_TRUE(writeSampleDay(a.path()));
    const auto first = snapshot(a.path());
    EXPECT_GT(first.size(), 200u);
    EXPECT_TRUE(first.count(QStringLiteral("PAT.EXE")));
    EXPECT_TRUE(first.count(QStringLiteral("VQPROFIT.TXT")));

    // A rerun over the folder, after the program added today's record to the book, gives the same day.
    const PassbookRecord today{saleDate(), 1000, 0, -1000, 0};
    a.write(QStringLiteral("VQPROFIT.TXT"),
            a.read(QStringLiteral("VQPROFIT.TXT")).prepend(ProfitBook::recordToLine(today).toLatin1() + "\r\n"));
    ASSERT_TRUE(writeSampleDay(a.path()));
    ASSERT_TRUE(writeSampleDay(b.path()));
    EXPECT_TRUE(snapshot(a.path()) == first);
    EXPECT_TRUE(snapshot(b.path()) == first);
}

TEST(SampleDay, RefusesABettingClientsFolder) {
    TempFolder client;
    client.write(QStringLiteral("PAT.EXE"), QByteArray("MZ\x90\0", 4));
    QString error;
    EXPECT_FALSE(writeSampleDay(client.path(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(snapshot(client.path()).size(), 1u);
}

TEST_F(SampleDayFolder, ThreeMeetingsOfTwelveRacesAndTheNextDaysMainRaces) {
    EXPECT_EQ(s_pat->saleDate(), saleDate());
    ASSERT_EQ(s_pat->kaisaiCount(), kMeetings);
    for (int m = 1; m <= kMeetings; ++m) {
        const ::Meeting& meeting = *s_pat->meeting(m);
        const SampleDay::Meeting& expected = kMeetingList[static_cast<size_t>(m - 1)];
        EXPECT_EQ(meeting.kaisaiNum(), expected.venue);
        EXPECT_EQ(meeting.hiJi(), QStringLiteral("01"));
        ASSERT_EQ(meeting.raceCount(), kRacesPerDay + expected.advanceRaces);
        for (int i = 1; i <= meeting.raceCount(); ++i) {
            const ::Race& race = *meeting.race(i);
            SCOPED_TRACE(race.fileId().toStdString());
            const bool advance = i > kRacesPerDay;
            EXPECT_EQ(race.sale(), advance ? 2 : 1);
            EXPECT_EQ(race.raceNum(), advance ? i - expected.advanceRaces : i);
            EXPECT_GT(race.kenshu(), 0);
            // Results for the races run, none for those to come.
            EXPECT_EQ(race.result() != nullptr, !advance && i <= kRacesRun);
        }
    }
}

TEST_F(SampleDayFolder, DayHasBetsPayoutsOpenStakesAndAProfit) {
    qint64 buy = 0, pay = 0, yet = 0, tomorrow = 0, yesterday = 0;
    QSet<qint16> flags;
    forEachRace([&](const ::Meeting&, const ::Race& race) {
        buy += race.amtBuy();
        pay += race.amtPay();
        yet += race.amtYet();
        tomorrow += race.amtTomorrow();
        yesterday += race.amtYesterday();
        for (qsizetype i = 1; i <= race.logCount(); ++i) {
            flags << betLineFromText(race.log(i)).hit;
        }
    });
    EXPECT_GT(buy, 0);
    EXPECT_GT(pay, 0);
    EXPECT_GT(yet, 0);
    EXPECT_GT(tomorrow, 0);
    EXPECT_GT(yesterday, 0);
    EXPECT_NE(pay, buy + yesterday);
    EXPECT_EQ(flags, (QSet<qint16>{0, 1, 2, 3, 9})); // open, hit, miss, refunded, advance sale
    // The balance is what the account held after the previous day's advance purchases.
    EXPECT_EQ(s_pat->amtZan(), 100000 - yesterday);
}

TEST_F(SampleDayFolder, ResultsComeThroughEveryRoute) {
    const QString folder = s_dir->path();
    const QString downloads = folder + QStringLiteral("VQDOWNLOAD/") + saleDate() + QLatin1Char('/');
    const auto files = [&](RaceRef ref) {
        const QString id = resultId(*s_pat, ref) + QStringLiteral(".JRA");
        return std::make_tuple(QFile::exists(folder + QStringLiteral("KS-") + id),
                               QFile::exists(folder + QStringLiteral("PR-") + id),
                               QFile::exists(downloads + QStringLiteral("KS-") + id));
    };

    // The payout files alone give payouts but no finishing order.
    EXPECT_EQ(files(kPayoutFilesOnly), std::make_tuple(false, false, false));
    ASSERT_NE(raceAt(kPayoutFilesOnly).result(), nullptr);
    EXPECT_GT(raceAt(kPayoutFilesOnly).result()->kekkaCount(), 0);
    EXPECT_EQ(raceAt(kPayoutFilesOnly).result()->chaku(1), 0);

    EXPECT_EQ(files(kPrFile), std::make_tuple(false, true, false));
    ASSERT_NE(raceAt(kPrFile).result(), nullptr);
    EXPECT_EQ(raceAt(kPrFile).result()->chaku(1), 1);

    // The downloaded race is known only through the download folder.
    EXPECT_EQ(files(kDownloadOnly), std::make_tuple(false, false, true));
    ASSERT_NE(raceAt(kDownloadOnly).result(), nullptr);
    EXPECT_EQ(raceAt(kDownloadOnly).result()->chaku(1), 1);
    const auto withoutDownloads = read(folder, QString());
    EXPECT_EQ(withoutDownloads->meeting(kDownloadOnly.meeting)->race(kDownloadOnly.race)->result(), nullptr);
}

TEST_F(SampleDayFolder, DeadHeatRefundAndTheBigHit) {
    const RaceResultReader& heat = *raceAt(kDeadHeat).result();
    EXPECT_EQ(heat.chaku(1), 1);
    EXPECT_EQ(heat.chaku(2), 1);
    int wins = 0;
    for (qsizetype i = 1; i <= heat.kekkaCount(); ++i) {
        wins += betLineFromText(heat.kekka(i)).betType == 1;
    }
    EXPECT_EQ(wins, 2);

    const ::Race& refund = raceAt(kRefund);
    EXPECT_EQ(refund.result()->henkanUmaNum(), QStringLiteral(" %1").arg(kRefundHorse));
    bool refunded = false;
    for (qsizetype i = 1; i <= refund.logCount(); ++i) {
        refunded = refunded || betLineFromText(refund.log(i)).hit == 3;
    }
    EXPECT_TRUE(refunded);

    EXPECT_EQ(raceAt(kLongShot).message(), QStringLiteral("万馬券が的中しています！"));
}

TEST_F(SampleDayFolder, TicketsOfEveryKindAndStatus) {
    std::set<std::tuple<int, int, int>> kinds; // ticket kind, bet type, exacta wheel axis position
    std::set<int> statuses;
    bool previousDay = false, advance = false;
    forEachRace([&](const ::Meeting&, const ::Race& race) {
        for (qsizetype i = 1; i <= race.omitCount(); ++i) {
            const TicketLine t = ticketLineFromText(race.omit(i));
            const bool exactaWheel = t.kind == 1 && t.betType == 6;
            kinds.insert({t.kind, t.betType, exactaWheel ? t.num1 : 0});
            statuses.insert(t.status);
            if (t.buyDay == 9) {
                // Bought the day before as the next day's race, listed today from that day's log.
                EXPECT_EQ(t.sale, 1);
                EXPECT_EQ(t.logNo, 2);
                previousDay = true;
            }
            advance = advance || t.sale == 2;
        }
    });
    for (int type = 1; type <= 7; ++type) {
        EXPECT_TRUE(kinds.count({0, type, 0})) << "single of type " << type;
    }
    for (int type = 3; type <= 7; ++type) {
        EXPECT_TRUE(kinds.count({2, type, 0})) << "box of type " << type;
        if (type != 6) {
            EXPECT_TRUE(kinds.count({1, type, 0})) << "wheel of type " << type;
        }
    }
    EXPECT_TRUE(kinds.count({1, 6, 1}));
    EXPECT_TRUE(kinds.count({1, 6, 2}));
    EXPECT_EQ(statuses, (std::set<int>{1, 11, 21, 31}));
    EXPECT_TRUE(previousDay);
    EXPECT_TRUE(advance);
}

TEST_F(SampleDayFolder, EveryRaceOnSaleHasOddsTheReadersAccept) {
    int scratched = 0;
    forEachRace([&](const ::Meeting& meeting, const ::Race& race) {
        SCOPED_TRACE(race.fileId().toStdString());
        const auto zoRead = readOdds<WinPlaceOddsReader>(s_dir->path(), race.fileId(), meeting.saleDate());
        ASSERT_NE(zoRead, nullptr);
        const WinPlaceOddsReader& zo = *zoRead;
        EXPECT_GE(zo.tosu(), 8);
        EXPECT_LE(zo.tosu(), 18);
        EXPECT_EQ(zo.raceNum(), race.raceNum());
        EXPECT_FALSE(zo.raceName1().isEmpty());
        scratched += zo.keshi();
        // No bracket quinella where every bracket holds one horse.
        EXPECT_EQ((race.kenshu() & 4) != 0, zo.tosu() > 8);

        const auto uo = readOdds<QuinellaOddsReader>(s_dir->path(), race.fileId(), meeting.saleDate());
        const auto so = readOdds<ExactaOddsReader>(s_dir->path(), race.fileId(), meeting.saleDate());
        const auto yo = readOdds<TrioOddsReader>(s_dir->path(), race.fileId(), meeting.saleDate());
        ASSERT_TRUE(uo && so && yo);

        // The winner was paid what its odds said.
        if (race.result() && race.result()->chaku(2) == 2) {
            const BetLine win = betLineFromText(race.result()->kekka(1));
            ASSERT_EQ(win.betType, 1);
            EXPECT_EQ(QString::number(win.payout / 100.0, 'f', 1), zo.winOdds()->odds(win.num3));
        }
    });
    EXPECT_GT(scratched, 0);
}

TEST_F(SampleDayFolder, ProfitBookHoldsTheWeekendsOfThreeMonths) {
    ProfitBook book;
    book.setFolder(s_dir->path());
    book.load();
    ASSERT_GE(book.pastCount(), 20);
    EXPECT_LE(book.pastCount(), 40);
    EXPECT_EQ(book.pastDate(book.pastCount()), ProfitBook::sentinelDate());

    const QDate sale = QDate::fromString(saleDate(), QStringLiteral("yyyyMMdd"));
    int gains = 0, losses = 0, protectedDays = 0;
    for (qsizetype i = 1; i < book.pastCount(); ++i) {
        const QDate d = QDate::fromString(book.pastDate(i), QStringLiteral("yyyyMMdd"));
        ASSERT_TRUE(d.isValid()) << qPrintable(book.pastDate(i));
        EXPECT_GE(d.dayOfWeek(), Qt::Saturday);
        EXPECT_LT(d, sale);
        EXPECT_GE(d, sale.addMonths(-3));
        if (i > 1) {
            EXPECT_LT(book.pastDate(i), book.pastDate(i - 1)); // newest first
        }
        EXPECT_EQ(book.pastProfit(i), book.pastPay(i) - book.pastBuy(i));
        gains += book.pastProfit(i) > 0;
        losses += book.pastProfit(i) < 0;
        protectedDays += book.pastUpdate(i) == 1;
    }
    EXPECT_GT(gains, 0);
    EXPECT_GT(losses, 0);
    EXPECT_EQ(protectedDays, 1);
}
