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

AccountFile MeetingFile(int venue, int hiJi = 8) {
    AccountFile f = AllOnSale(venue, 2026, 2, hiJi);
    f.Date = kDate;
    return f;
}

struct Folder {
    TempFolder dir;
    SaleDayReader pat;
    bool Read() {
        pat.setPathName(dir.Path());
        pat.setDownPath(dir.Path() + QStringLiteral("VQDOWNLOAD"));
        return pat.Initialize();
    }
};

// A log with one win ticket on race `race` of venue 5.
void OneBet(const TempFolder& dir, int race, int units = 3, int venue = 5) {
    LogFiles::DayLog log;
    log.Tickets << LogFiles::At(LogFiles::SingleBet(LogFiles::Win, 0, 0, 4, units), venue, race);
    ASSERT_TRUE(LogFiles::SaveDayLog(dir.Path(), QStringLiteral("LG001"), log));
    ASSERT_TRUE(LogFiles::SaveIndex(dir.Path(), {{QStringLiteral("LG001"), kDate}}));
}
} // namespace

TEST(DataFolder, BalanceAndSaleDateComeFromTheAFile) {
    Folder f;
    AccountFile a = MeetingFile(5);
    a.Amounts = {100000, 30000, 12000, 500};
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), a);
    EXPECT_FALSE(f.Read()); // no log: no bet lines
    EXPECT_EQ(f.pat.AmtZan(), 82500);
    EXPECT_EQ(f.pat.CurDate(), kDate);
    ASSERT_EQ(f.pat.KaisaiCount(), 1);
    const Meeting* m = f.pat.objKaisai(1);
    EXPECT_EQ(m->KaisaiNum(), 5);
    EXPECT_EQ(m->Kaisai(), QStringLiteral("東京"));
    EXPECT_EQ(m->Nendo(), QStringLiteral("2026"));
    EXPECT_EQ(m->KaiJi(), QStringLiteral("02"));
    EXPECT_EQ(m->HiJi(), QStringLiteral("08"));
    EXPECT_EQ(m->CurDate(), kDate);
    ASSERT_EQ(m->RaceCount(), 12);
    for (qsizetype r = 1; r <= 12; ++r) {
        EXPECT_EQ(m->objRace(r)->RaceNum(), r);
        EXPECT_EQ(m->objRace(r)->Sale(), 1);
        EXPECT_EQ(m->objRace(r)->Pearent(), m);
    }
    EXPECT_EQ(m->objRace(11)->FileID(), QStringLiteral("58B"));
    EXPECT_EQ(f.pat.objLog(), nullptr);
}

TEST(DataFolder, MissingAFileReadsNothing) {
    Folder f;
    SaveAccountFile(f.dir.Path(), QLatin1Char('B'), MeetingFile(6));
    EXPECT_FALSE(f.Read());
    EXPECT_EQ(f.pat.KaisaiCount(), 0);
    EXPECT_EQ(f.pat.AmtZan(), 0);
    EXPECT_EQ(f.pat.CurDate(), QString());
    EXPECT_THROW(f.pat.objKaisai(1), AppError);
}

TEST(DataFolder, MeetingsInLetterOrderWithGaps) {
    Folder f;
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), MeetingFile(5));
    SaveAccountFile(f.dir.Path(), QLatin1Char('C'), MeetingFile(9));
    f.Read();
    ASSERT_EQ(f.pat.KaisaiCount(), 2);
    EXPECT_EQ(f.pat.objKaisai(1)->Kaisai(), QStringLiteral("東京"));
    EXPECT_EQ(f.pat.objKaisai(2)->Kaisai(), QStringLiteral("阪神"));
}

TEST(DataFolder, AdvanceSaleRacesFollowTheDaysTwelve) {
    Folder f;
    AccountFile a = MeetingFile(5);
    a.Kenshu[2] = 0; // nothing on sale in race 3: still a race of the meeting
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), a);
    AccountFile d = MeetingFile(5, 9);
    d.Kenshu = {0, 0, 0, 0, 0, 0, 0, 0, 127, 127, 3, 127};
    SaveAccountFile(f.dir.Path(), QLatin1Char('D'), d);
    f.Read();
    const Meeting* m = f.pat.objKaisai(1);
    ASSERT_EQ(m->RaceCount(), 16);
    EXPECT_EQ(m->objRace(3)->Kenshu(), 0);
    for (qsizetype pos = 13; pos <= 16; ++pos) {
        const Race* r = m->objRace(pos);
        EXPECT_EQ(r->Sale(), 2);
        EXPECT_EQ(r->RaceNum(), pos - 4);
        EXPECT_EQ(r->Pearent(), m);
    }
    EXPECT_EQ(m->objRace(15)->Kenshu(), 3);
    EXPECT_EQ(m->objRace(13)->FileID(), QStringLiteral("599")); // day 9 from the advance-sale file
    EXPECT_EQ(m->objRace(16)->FileID(), QStringLiteral("59C"));
}

TEST(DataFolder, RaceAndResultFileIds) {
    Folder f;
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), MeetingFile(10, 10));
    f.Read();
    EXPECT_EQ(f.pat.objKaisai(1)->objRace(12)->FileID(), QStringLiteral("AAC"));

    Meeting m;
    m.setKaisaiNum(6);
    m.setNendo(QStringLiteral("2026"));
    m.setKaiJi(QStringLiteral("05"));
    m.setHiJi(QStringLiteral("08"));
    EXPECT_EQ(SaleDayReader::ResultFileId(m, 12), QStringLiteral("6658C"));
}

TEST(DataFolder, PathNameGetsOneSeparator) {
    SaleDayReader pat;
    pat.setPathName(QStringLiteral("/srv/pat"));
    EXPECT_EQ(pat.PathName(), QStringLiteral("/srv/pat/"));
    pat.setPathName(QStringLiteral("/srv/pat/"));
    EXPECT_EQ(pat.PathName(), QStringLiteral("/srv/pat/"));
}

TEST(DataFolder, BetsAreHandedToTheirRaces) {
    Folder f;
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), MeetingFile(5));
    OneBet(f.dir, 7);
    EXPECT_TRUE(f.Read());
    ASSERT_NE(f.pat.objLog(), nullptr);
    EXPECT_EQ(f.pat.objLog()->BetCount(), 1);
    const Race* r7 = f.pat.objKaisai(1)->objRace(7);
    EXPECT_EQ(r7->LogCount(), 1);
    EXPECT_EQ(r7->AmtBuy(), 300);
    EXPECT_EQ(r7->AmtYet(), 300); // no result yet
    EXPECT_EQ(f.pat.objKaisai(1)->objRace(6)->LogCount(), 0);
}

TEST(DataFolder, DownloadedResultWinsOverTheClientsOwn) {
    Folder f;
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), MeetingFile(5));
    OneBet(f.dir, 11, 2);
    ResultFiles::ResultFile own;
    own.Date = kDate;
    own.RaceNum = 11;
    own.Payouts[0] = {{4, 0, 0, 500}};
    ASSERT_FALSE(ResultFiles::SaveResultFile(f.dir.Path(), own).isEmpty());
    f.Read();
    EXPECT_EQ(f.pat.objKaisai(1)->objRace(11)->AmtPay(), 1000);

    ResultFiles::ResultFile downloaded = own;
    downloaded.Payouts[0] = {{4, 0, 0, 700}};
    ASSERT_FALSE(ResultFiles::SaveResultFile(f.dir.Sub(QStringLiteral("VQDOWNLOAD/") + kDate), downloaded).isEmpty());
    SaleDayReader pat;
    pat.setPathName(f.dir.Path());
    pat.setDownPath(f.dir.Path() + QStringLiteral("VQDOWNLOAD"));
    pat.Initialize();
    const Race* r = pat.objKaisai(1)->objRace(11);
    ASSERT_NE(r->objKekka(), nullptr);
    EXPECT_EQ(r->AmtPay(), 1400);
    EXPECT_EQ(r->objKekka()->KekkaCount(), 1);
}

TEST(DataFolder, AdvanceSaleRacesGetNoResultOfTodaysRace) {
    // Tomorrow's race 11 must not be settled with today's race 11.
    Folder f;
    AccountFile a = MeetingFile(5);
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), a);
    AccountFile d = MeetingFile(5, 9);
    d.Kenshu = {};
    d.Kenshu[10] = 127;
    SaveAccountFile(f.dir.Path(), QLatin1Char('D'), d);
    LogFiles::DayLog log;
    log.Tickets << LogFiles::At(LogFiles::SingleBet(LogFiles::Win, 0, 0, 4, 1), 5, 11, 2);
    LogFiles::SaveDayLog(f.dir.Path(), QStringLiteral("LG001"), log);
    LogFiles::SaveIndex(f.dir.Path(), {{QStringLiteral("LG001"), kDate}});
    ResultFiles::ResultFile today;
    today.Date = kDate;
    today.RaceNum = 11;
    today.Payouts[0] = {{4, 0, 0, 500}};
    ResultFiles::SaveResultFile(f.dir.Path(), today);
    EXPECT_TRUE(f.Read());
    const Meeting* m = f.pat.objKaisai(1);
    EXPECT_NE(m->objRace(11)->objKekka(), nullptr);
    const Race* tomorrow = m->objRace(13);
    ASSERT_EQ(tomorrow->Sale(), 2);
    EXPECT_EQ(tomorrow->objKekka(), nullptr);
    EXPECT_EQ(tomorrow->AmtTomorrow(), 100);
    EXPECT_EQ(tomorrow->AmtPay(), 0);
}

TEST(DataFolder, ClientFilesInAnyCase) {
    Folder f;
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), MeetingFile(5));
    QFile::rename(f.dir.File(QStringLiteral("UY-A.JRA")), f.dir.File(QStringLiteral("uy-a.jra")));
    OneBet(f.dir, 1);
    QFile::rename(f.dir.File(QStringLiteral("LG-FILE.JRA")), f.dir.File(QStringLiteral("lg-file.jra")));
    EXPECT_TRUE(f.Read());
    EXPECT_EQ(f.pat.KaisaiCount(), 1);
}

TEST(DataFolder, TheLargestAmountsFitTheBalance) {
    Folder f;
    AccountFile a = MeetingFile(5);
    a.Amounts = {99999999, 0, 99999999, 99999999};
    SaveAccountFile(f.dir.Path(), QLatin1Char('A'), a);
    EXPECT_NO_THROW(f.Read());
    EXPECT_EQ(f.pat.AmtZan(), 299999997);
}

TEST(DataFolder, ShortAndGarbageAccountFilesDoNotFail) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("2026"), QByteArray(70, '\xff'), QByteArray(200, 'x')}) {
        Folder f;
        f.dir.Write(QStringLiteral("UY-A.JRA"), bytes);
        f.dir.Write(QStringLiteral("UY-D.JRA"), bytes);
        EXPECT_NO_THROW(f.Read());
        ASSERT_EQ(f.pat.KaisaiCount(), 1);
        EXPECT_EQ(f.pat.objKaisai(1)->RaceCount(), 12);
    }
}
