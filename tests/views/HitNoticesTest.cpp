#include "views/HitNotices.h"

#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "clientfiles/ResultFiles.h"
#include "patdata/SaleDayReader.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

// A day at Tokyo with two bets on race 3; once its result is there both are hits, and the refresh that
// finds it has one notice to raise, the better-paid bet first. A race already settled says nothing again.
TEST(HitNotices, OneNoticePerNewlySettledHitRace) {
    TempFolder day;
    AccountFiles::AccountFile a = AccountFiles::allOnSale(5);
    a.date = QStringLiteral("20260405");
    AccountFiles::saveAccountFile(day.path(), QLatin1Char('A'), a);
    LogFiles::DayLog log;
    log.tickets << LogFiles::at(LogFiles::singleBet(LogFiles::Win, 0, 0, 1, 2), 5, 3)
                << LogFiles::at(LogFiles::singleBet(LogFiles::Quinella, 0, 1, 2, 10), 5, 3);
    LogFiles::saveDayLog(day.path(), QStringLiteral("LG001"), log);
    LogFiles::saveIndex(day.path(), {{QStringLiteral("LG001"), a.date}});
    const HitNotices::Hits before = HitNotices::hitsOf(SaleDayReader::read(day.path()).meetings());
    EXPECT_TRUE(before.empty()); // no result yet

    ResultFiles::ResultFile result;
    result.date = a.date;
    result.raceNum = 3;
    result.payouts[ResultFiles::Win - 1] = {{1, 0, 0, 200}};
    result.payouts[ResultFiles::Quinella - 1] = {{1, 2, 0, 345}};
    ResultFiles::saveResultFile(day.path(), result);
    const HitNotices::Hits now = HitNotices::hitsOf(SaleDayReader::read(day.path()).meetings());
    EXPECT_EQ(HitNotices::newlySettled(before, now),
              QStringList{QStringLiteral("的中 東京3R 馬連 1-2 3,450円、単勝 1 400円")});
    EXPECT_TRUE(HitNotices::newlySettled(now, now).isEmpty());
}
