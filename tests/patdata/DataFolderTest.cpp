#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "core/AppError.h"
#include "patdata/BetLogReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"
#include "patdata/SaleDayReader.h"
#include "results/RaceResultReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace AccountFiles;

namespace {
const QString kDate = QStringLiteral("20260405");

AccountFile meetingFile(int venue, int hiJi = 8) {
    AccountFile f = allOnSale(venue, 2026, 2, hiJi);
    f.date = kDate;
    return f;
}

struct Folder {
    TempFolder dir;
    std::optional<SaleDayReader> pat;
    // True when the day has a bet log.
    bool read() {
        pat.emplace(SaleDayReader::read(dir.path(), dir.path() + QStringLiteral("VQDOWNLOAD")));
        return pat->betLog() != nullptr;
    }
};

// A log with one win ticket on race `race` of venue 5.
void oneBet(const TempFolder& dir, int race, int units = 3, int venue = 5) {
    LogFiles::DayLog log;
    log.tickets << LogFiles::at(LogFiles::singleBet(LogFiles::Win, 0, 0, 4, units), venue, race);
    ASSERT_TRUE(LogFiles::saveDayLog(dir.path(), QStringLiteral("LG001"), log));
    ASSERT_TRUE(LogFiles::saveIndex(dir.path(), {{QStringLiteral("LG001"), kDate}}));
}
} // namespace

TEST(DataFolder, BalanceAndSaleDateComeFromTheAFile) {
    Folder f;
    AccountFile a = meetingFile(5);
    a.amounts = {100000, 30000, 12000, 500};
    saveAccountFile(f.dir.path(), QLatin1Char('A'), a);
    EXPECT_FALSE(f.read()); // no log: no bet lines
    EXPECT_EQ(f.pat->amtZan(), 82500);
    EXPECT_EQ(f.pat->saleDate(), kDate);
    ASSERT_EQ(f.pat->kaisaiCount(), 1);
    const Meeting* m = f.pat->meeting(1);
    EXPECT_EQ(m->kaisaiNum(), 5);
    EXPECT_EQ(m->kaisai(), QStringLiteral("東京"));
    EXPECT_EQ(m->nendo(), QStringLiteral("2026"));
    EXPECT_EQ(m->kaiJi(), QStringLiteral("02"));
    EXPECT_EQ(m->hiJi(), QStringLiteral("08"));
    EXPECT_EQ(m->saleDate(), kDate);
    ASSERT_EQ(m->raceCount(), 12);
    for (qsizetype r = 1; r <= 12; ++r) {
        EXPECT_EQ(m->race(r)->raceNum(), r);
        EXPECT_EQ(m->race(r)->sale(), 1);
        EXPECT_EQ(m->race(r)->meeting(), m);
    }
    EXPECT_EQ(m->race(11)->fileId(), QStringLiteral("58B"));
    EXPECT_EQ(f.pat->betLog(), nullptr);
}

TEST(DataFolder, MissingAFileReadsNothing) {
    Folder f;
    saveAccountFile(f.dir.path(), QLatin1Char('B'), meetingFile(6));
    EXPECT_FALSE(f.read());
    EXPECT_EQ(f.pat->kaisaiCount(), 0);
    EXPECT_EQ(f.pat->amtZan(), 0);
    EXPECT_EQ(f.pat->saleDate(), QString());
    EXPECT_THROW(f.pat->meeting(1), AppError);
}

TEST(DataFolder, MeetingsInLetterOrderWithGaps) {
    Folder f;
    saveAccountFile(f.dir.path(), QLatin1Char('A'), meetingFile(5));
    saveAccountFile(f.dir.path(), QLatin1Char('C'), meetingFile(9));
    f.read();
    ASSERT_EQ(f.pat->kaisaiCount(), 2);
    EXPECT_EQ(f.pat->meeting(1)->kaisai(), QStringLiteral("東京"));
    EXPECT_EQ(f.pat->meeting(2)->kaisai(), QStringLiteral("阪神"));
}

TEST(DataFolder, AdvanceSaleRacesFollowTheDaysTwelve) {
    Folder f;
    AccountFile a = meetingFile(5);
    a.kenshu[2] = 0; // nothing on sale in race 3: still a race of the meeting
    saveAccountFile(f.dir.path(), QLatin1Char('A'), a);
    AccountFile d = meetingFile(5, 9);
    d.kenshu = {0, 0, 0, 0, 0, 0, 0, 0, 127, 127, 3, 127};
    saveAccountFile(f.dir.path(), QLatin1Char('D'), d);
    f.read();
    const Meeting* m = f.pat->meeting(1);
    ASSERT_EQ(m->raceCount(), 16);
    EXPECT_EQ(m->race(3)->kenshu(), 0);
    for (qsizetype pos = 13; pos <= 16; ++pos) {
        const Race* r = m->race(pos);
        EXPECT_EQ(r->sale(), 2);
        EXPECT_EQ(r->raceNum(), pos - 4);
        EXPECT_EQ(r->meeting(), m);
    }
    EXPECT_EQ(m->race(15)->kenshu(), 3);
    EXPECT_EQ(m->race(13)->fileId(), QStringLiteral("599")); // day 9 from the advance-sale file
    EXPECT_EQ(m->race(16)->fileId(), QStringLiteral("59C"));
}

TEST(DataFolder, RaceAndResultFileIds) {
    Folder f;
    saveAccountFile(f.dir.path(), QLatin1Char('A'), meetingFile(10, 10));
    f.read();
    EXPECT_EQ(f.pat->meeting(1)->race(12)->fileId(), QStringLiteral("AAC"));

    Meeting m;
    m.setKaisaiNum(6);
    m.setNendo(QStringLiteral("2026"));
    m.setKaiJi(QStringLiteral("05"));
    m.setHiJi(QStringLiteral("08"));
    EXPECT_EQ(SaleDayReader::resultFileId(m, 12), QStringLiteral("6658C"));
}

TEST(DataFolder, PathNameGetsOneSeparator) {
    EXPECT_EQ(SaleDayReader::read(QStringLiteral("/srv/pat")).pathName(), QStringLiteral("/srv/pat/"));
    EXPECT_EQ(SaleDayReader::read(QStringLiteral("/srv/pat/")).pathName(), QStringLiteral("/srv/pat/"));
}

TEST(DataFolder, BetsAreHandedToTheirRaces) {
    Folder f;
    saveAccountFile(f.dir.path(), QLatin1Char('A'), meetingFile(5));
    oneBet(f.dir, 7);
    EXPECT_TRUE(f.read());
    ASSERT_NE(f.pat->betLog(), nullptr);
    EXPECT_EQ(f.pat->betLog()->betCount(), 1);
    const Race* r7 = f.pat->meeting(1)->race(7);
    EXPECT_EQ(r7->logCount(), 1);
    EXPECT_EQ(r7->amtBuy(), 300);
    EXPECT_EQ(r7->amtYet(), 300); // no result yet
    EXPECT_EQ(f.pat->meeting(1)->race(6)->logCount(), 0);
}

TEST(DataFolder, DownloadedResultWinsOverTheClientsOwn) {
    Folder f;
    saveAccountFile(f.dir.path(), QLatin1Char('A'), meetingFile(5));
    oneBet(f.dir, 11, 2);
    ResultFiles::ResultFile own;
    own.date = kDate;
    own.raceNum = 11;
    own.payouts[0] = {{4, 0, 0, 500}};
    ASSERT_FALSE(ResultFiles::saveResultFile(f.dir.path(), own).isEmpty());
    f.read();
    EXPECT_EQ(f.pat->meeting(1)->race(11)->amtPay(), 1000);

    ResultFiles::ResultFile downloaded = own;
    downloaded.payouts[0] = {{4, 0, 0, 700}};
    ASSERT_FALSE(ResultFiles::saveResultFile(f.dir.sub(QStringLiteral("VQDOWNLOAD/") + kDate), downloaded).isEmpty());
    SaleDayReader pat = SaleDayReader::read(f.dir.path(), f.dir.path() + QStringLiteral("VQDOWNLOAD"));
    const Race* r = pat.meeting(1)->race(11);
    ASSERT_NE(r->result(), nullptr);
    EXPECT_EQ(r->amtPay(), 1400);
    EXPECT_EQ(r->result()->kekkaCount(), 1);
}

TEST(DataFolder, AdvanceSaleRacesGetNoResultOfTodaysRace) {
    // Tomorrow's race 11 must not be settled with today's race 11.
    Folder f;
    AccountFile a = meetingFile(5);
    saveAccountFile(f.dir.path(), QLatin1Char('A'), a);
    AccountFile d = meetingFile(5, 9);
    d.kenshu = {};
    d.kenshu[10] = 127;
    saveAccountFile(f.dir.path(), QLatin1Char('D'), d);
    LogFiles::DayLog log;
    log.tickets << LogFiles::at(LogFiles::singleBet(LogFiles::Win, 0, 0, 4, 1), 5, 11, 2);
    LogFiles::saveDayLog(f.dir.path(), QStringLiteral("LG001"), log);
    LogFiles::saveIndex(f.dir.path(), {{QStringLiteral("LG001"), kDate}});
    ResultFiles::ResultFile today;
    today.date = kDate;
    today.raceNum = 11;
    today.payouts[0] = {{4, 0, 0, 500}};
    ResultFiles::saveResultFile(f.dir.path(), today);
    EXPECT_TRUE(f.read());
    const Meeting* m = f.pat->meeting(1);
    EXPECT_NE(m->race(11)->result(), nullptr);
    const Race* tomorrow = m->race(13);
    ASSERT_EQ(tomorrow->sale(), 2);
    EXPECT_EQ(tomorrow->result(), nullptr);
    EXPECT_EQ(tomorrow->amtTomorrow(), 100);
    EXPECT_EQ(tomorrow->amtPay(), 0);
}

TEST(DataFolder, ClientFilesInAnyCase) {
    Folder f;
    saveAccountFile(f.dir.path(), QLatin1Char('A'), meetingFile(5));
    QFile::rename(f.dir.file(QStringLiteral("UY-A.JRA")), f.dir.file(QStringLiteral("uy-a.jra")));
    oneBet(f.dir, 1);
    QFile::rename(f.dir.file(QStringLiteral("LG-FILE.JRA")), f.dir.file(QStringLiteral("lg-file.jra")));
    EXPECT_TRUE(f.read());
    EXPECT_EQ(f.pat->kaisaiCount(), 1);
}

TEST(DataFolder, TheLargestAmountsFitTheBalance) {
    Folder f;
    AccountFile a = meetingFile(5);
    a.amounts = {99999999, 0, 99999999, 99999999};
    saveAccountFile(f.dir.path(), QLatin1Char('A'), a);
    EXPECT_NO_THROW(f.read());
    EXPECT_EQ(f.pat->amtZan(), 299999997);
}

TEST(DataFolder, ShortAndGarbageAccountFilesDoNotFail) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("2026"), QByteArray(70, '\xff'), QByteArray(200, 'x')}) {
        Folder f;
        f.dir.write(QStringLiteral("UY-A.JRA"), bytes);
        f.dir.write(QStringLiteral("UY-D.JRA"), bytes);
        EXPECT_NO_THROW(f.read());
        ASSERT_EQ(f.pat->kaisaiCount(), 1);
        EXPECT_EQ(f.pat->meeting(1)->raceCount(), 12);
    }
}
