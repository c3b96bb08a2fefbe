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

std::map<QString, QByteArray> Snapshot(const QString& folder) {
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

std::unique_ptr<SaleDayReader> Read(const QString& folder, const QString& downloads) {
    auto pat = std::make_unique<SaleDayReader>();
    pat->setPathName(folder);
    pat->setDownPath(downloads);
    EXPECT_TRUE(pat->Initialize());
    return pat;
}

QString ResultId(const SaleDayReader& pat, RaceRef ref) {
    return SaleDayReader::ResultFileId(*pat.objKaisai(ref.Meeting), static_cast<qint16>(ref.Race));
}

// One sample day, written once and read by the program's own folder reader.
class SampleDayFolder : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = new TempFolder;
        QString error;
        ASSERT_TRUE(WriteSampleDay(s_dir->Path(), &error)) << qPrintable(error);
        s_pat = Read(s_dir->Path(), s_dir->Path() + QStringLiteral("VQDOWNLOAD")).release();
    }
    static void TearDownTestSuite() {
        delete s_pat;
        delete s_dir;
    }

    static const ::Race& RaceAt(RaceRef ref) { return *s_pat->objKaisai(ref.Meeting)->objRace(ref.Race); }

    template <typename Visit>
    static void ForEachRace(Visit visit) {
        for (const auto& meeting : s_pat->colKaisai()) {
            for (const auto& race : meeting->colRace()) {
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
    ASSERT_TRUE(WriteSampleDay(a.Path()));
    const auto first = Snapshot(a.Path());
    EXPECT_GT(first.size(), 200u);
    EXPECT_TRUE(first.count(QStringLiteral("PAT.EXE")));
    EXPECT_TRUE(first.count(QStringLiteral("VQPROFIT.TXT")));

    // A rerun over the folder, after the program added today's record to the book, gives the same day.
    const PassbookRecord today{SaleDate(), 1000, 0, -1000, 0};
    a.Write(QStringLiteral("VQPROFIT.TXT"),
            a.Read(QStringLiteral("VQPROFIT.TXT")).prepend(ProfitBook::RecordToLine(today).toLatin1() + "\r\n"));
    ASSERT_TRUE(WriteSampleDay(a.Path()));
    ASSERT_TRUE(WriteSampleDay(b.Path()));
    EXPECT_TRUE(Snapshot(a.Path()) == first);
    EXPECT_TRUE(Snapshot(b.Path()) == first);
}

TEST(SampleDay, RefusesABettingClientsFolder) {
    TempFolder client;
    client.Write(QStringLiteral("PAT.EXE"), QByteArray("MZ\x90\0", 4));
    QString error;
    EXPECT_FALSE(WriteSampleDay(client.Path(), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(Snapshot(client.Path()).size(), 1u);
}

TEST_F(SampleDayFolder, ThreeMeetingsOfTwelveRacesAndTheNextDaysMainRaces) {
    EXPECT_EQ(s_pat->CurDate(), SaleDate());
    ASSERT_EQ(s_pat->KaisaiCount(), kMeetings);
    for (int m = 1; m <= kMeetings; ++m) {
        const ::Meeting& meeting = *s_pat->objKaisai(m);
        const SampleDay::Meeting& expected = kMeetingList[static_cast<size_t>(m - 1)];
        EXPECT_EQ(meeting.KaisaiNum(), expected.Venue);
        EXPECT_EQ(meeting.HiJi(), QStringLiteral("01"));
        ASSERT_EQ(meeting.RaceCount(), kRacesPerDay + expected.AdvanceRaces);
        for (int i = 1; i <= meeting.RaceCount(); ++i) {
            const ::Race& race = *meeting.objRace(i);
            SCOPED_TRACE(race.FileID().toStdString());
            const bool advance = i > kRacesPerDay;
            EXPECT_EQ(race.Sale(), advance ? 2 : 1);
            EXPECT_EQ(race.RaceNum(), advance ? i - expected.AdvanceRaces : i);
            EXPECT_GT(race.Kenshu(), 0);
            // Results for the races run, none for those to come.
            EXPECT_EQ(race.objKekka() != nullptr, !advance && i <= kRacesRun);
        }
    }
}

TEST_F(SampleDayFolder, DayHasBetsPayoutsOpenStakesAndAProfit) {
    qint64 buy = 0, pay = 0, yet = 0, tomorrow = 0, yesterday = 0;
    QSet<qint16> flags;
    ForEachRace([&](const ::Meeting&, const ::Race& race) {
        buy += race.AmtBuy();
        pay += race.AmtPay();
        yet += race.AmtYet();
        tomorrow += race.AmtTomorrow();
        yesterday += race.AmtYesterday();
        for (qsizetype i = 1; i <= race.LogCount(); ++i) {
            flags << StrToLog(race.Log(i)).Hit;
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
    EXPECT_EQ(s_pat->AmtZan(), 100000 - yesterday);
}

TEST_F(SampleDayFolder, ResultsComeThroughEveryRoute) {
    const QString folder = s_dir->Path();
    const QString downloads = folder + QStringLiteral("VQDOWNLOAD/") + SaleDate() + QLatin1Char('/');
    const auto files = [&](RaceRef ref) {
        const QString id = ResultId(*s_pat, ref) + QStringLiteral(".JRA");
        return std::make_tuple(QFile::exists(folder + QStringLiteral("KS-") + id),
                               QFile::exists(folder + QStringLiteral("PR-") + id),
                               QFile::exists(downloads + QStringLiteral("KS-") + id));
    };

    // The payout files alone give payouts but no finishing order.
    EXPECT_EQ(files(kPayoutFilesOnly), std::make_tuple(false, false, false));
    ASSERT_NE(RaceAt(kPayoutFilesOnly).objKekka(), nullptr);
    EXPECT_GT(RaceAt(kPayoutFilesOnly).objKekka()->KekkaCount(), 0);
    EXPECT_EQ(RaceAt(kPayoutFilesOnly).objKekka()->Chaku(1), 0);

    EXPECT_EQ(files(kPrFile), std::make_tuple(false, true, false));
    ASSERT_NE(RaceAt(kPrFile).objKekka(), nullptr);
    EXPECT_EQ(RaceAt(kPrFile).objKekka()->Chaku(1), 1);

    // The downloaded race is known only through the download folder.
    EXPECT_EQ(files(kDownloadOnly), std::make_tuple(false, false, true));
    ASSERT_NE(RaceAt(kDownloadOnly).objKekka(), nullptr);
    EXPECT_EQ(RaceAt(kDownloadOnly).objKekka()->Chaku(1), 1);
    const auto withoutDownloads = Read(folder, QString());
    EXPECT_EQ(withoutDownloads->objKaisai(kDownloadOnly.Meeting)->objRace(kDownloadOnly.Race)->objKekka(), nullptr);
}

TEST_F(SampleDayFolder, DeadHeatRefundAndTheBigHit) {
    const RaceResultReader& heat = *RaceAt(kDeadHeat).objKekka();
    EXPECT_EQ(heat.Chaku(1), 1);
    EXPECT_EQ(heat.Chaku(2), 1);
    int wins = 0;
    for (qsizetype i = 1; i <= heat.KekkaCount(); ++i) {
        wins += StrToLog(heat.Kekka(i)).BetType == 1;
    }
    EXPECT_EQ(wins, 2);

    const ::Race& refund = RaceAt(kRefund);
    EXPECT_EQ(refund.objKekka()->HenkanUmaNum(), QStringLiteral(" %1").arg(kRefundHorse));
    bool refunded = false;
    for (qsizetype i = 1; i <= refund.LogCount(); ++i) {
        refunded = refunded || StrToLog(refund.Log(i)).Hit == 3;
    }
    EXPECT_TRUE(refunded);

    EXPECT_EQ(RaceAt(kLongShot).strMessage(), QStringLiteral("万馬券が的中しています！"));
}

TEST_F(SampleDayFolder, TicketsOfEveryKindAndStatus) {
    std::set<std::tuple<int, int, int>> kinds; // ticket kind, bet type, exacta wheel axis position
    std::set<int> statuses;
    bool previousDay = false, advance = false;
    ForEachRace([&](const ::Meeting&, const ::Race& race) {
        for (qsizetype i = 1; i <= race.OmitCount(); ++i) {
            const TicketLine t = StrToOmit(race.Omit(i));
            const bool exactaWheel = t.Kind == 1 && t.BetType == 6;
            kinds.insert({t.Kind, t.BetType, exactaWheel ? t.Num1 : 0});
            statuses.insert(t.Status);
            if (t.BuyDay == 9) {
                // Bought the day before as the next day's race, listed today from that day's log.
                EXPECT_EQ(t.Sale, 1);
                EXPECT_EQ(t.LogNo, 2);
                previousDay = true;
            }
            advance = advance || t.Sale == 2;
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
    ForEachRace([&](const ::Meeting& meeting, const ::Race& race) {
        SCOPED_TRACE(race.FileID().toStdString());
        WinPlaceOddsReader zo;
        zo.setPathName(s_dir->Path());
        zo.setFileName(race.FileID());
        ASSERT_TRUE(zo.GetData(meeting.CurDate()));
        EXPECT_GE(zo.Tosu(), 8);
        EXPECT_LE(zo.Tosu(), 18);
        EXPECT_EQ(zo.RaceNum(), race.RaceNum());
        EXPECT_FALSE(zo.RaceName1().isEmpty());
        scratched += zo.Keshi();
        // No bracket quinella where every bracket holds one horse.
        EXPECT_EQ((race.Kenshu() & 4) != 0, zo.Tosu() > 8);

        QuinellaOddsReader uo;
        ExactaOddsReader so;
        TrioOddsReader yo;
        uo.setPathName(s_dir->Path());
        so.setPathName(s_dir->Path());
        yo.setPathName(s_dir->Path());
        uo.setFileName(race.FileID());
        so.setFileName(race.FileID());
        yo.setFileName(race.FileID());
        EXPECT_TRUE(uo.GetData(meeting.CurDate()));
        EXPECT_TRUE(so.GetData(meeting.CurDate()));
        EXPECT_TRUE(yo.GetData(meeting.CurDate()));

        // The winner was paid what its odds said.
        if (race.objKekka() && race.objKekka()->Chaku(2) == 2) {
            const BetLine win = StrToLog(race.objKekka()->Kekka(1));
            ASSERT_EQ(win.BetType, 1);
            EXPECT_EQ(QString::number(win.Payout / 100.0, 'f', 1), zo.objOddsWin()->Odds(win.Num3));
        }
    });
    EXPECT_GT(scratched, 0);
}

TEST_F(SampleDayFolder, ProfitBookHoldsTheWeekendsOfThreeMonths) {
    ProfitBook book;
    book.setFolder(s_dir->Path());
    book.GetRecord();
    ASSERT_GE(book.PastCount(), 20);
    EXPECT_LE(book.PastCount(), 40);
    EXPECT_EQ(book.PastDate(book.PastCount()), ProfitBook::SentinelDate());

    const QDate sale = QDate::fromString(SaleDate(), QStringLiteral("yyyyMMdd"));
    int gains = 0, losses = 0, protectedDays = 0;
    for (qsizetype i = 1; i < book.PastCount(); ++i) {
        const QDate d = QDate::fromString(book.PastDate(i), QStringLiteral("yyyyMMdd"));
        ASSERT_TRUE(d.isValid()) << qPrintable(book.PastDate(i));
        EXPECT_GE(d.dayOfWeek(), Qt::Saturday);
        EXPECT_LT(d, sale);
        EXPECT_GE(d, sale.addMonths(-3));
        if (i > 1) {
            EXPECT_LT(book.PastDate(i), book.PastDate(i - 1)); // newest first
        }
        EXPECT_EQ(book.PastProfit(i), book.PastPay(i) - book.PastBuy(i));
        gains += book.PastProfit(i) > 0;
        losses += book.PastProfit(i) < 0;
        protectedDays += book.PastUpdate(i) == 1;
    }
    EXPECT_GT(gains, 0);
    EXPECT_GT(losses, 0);
    EXPECT_EQ(protectedDays, 1);
}
