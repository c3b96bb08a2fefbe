#include "patdata/BetLogReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

#include "core/AppError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString kNoVenue(2, QChar(0x3000));

TEST(Meeting, VenueNameFollowsTheCode) {
    Meeting k;
    EXPECT_EQ(k.kaisai(), kNoVenue);
    const std::vector<std::pair<qint16, QString>> cases = {{1, u"札幌"_qs}, {5, u"東京"_qs}, {10, u"小倉"_qs},
                                                           {0, kNoVenue},   {11, kNoVenue},  {-1, kNoVenue}};
    for (const auto& [code, name] : cases) {
        k.setKaisaiNum(code);
        EXPECT_EQ(k.kaisaiNum(), code);
        EXPECT_EQ(k.kaisai(), name) << code;
    }
}

TEST(Meeting, RacesAreFoundByPositionNotNumber) {
    Meeting k;
    EXPECT_THROW(k.race(1), AppError);
    for (qint16 num : {1, 2, 11, 12}) {
        auto race = std::make_unique<Race>();
        race->setRaceNum(num);
        const Race* added = k.addRace(std::move(race));
        EXPECT_EQ(added->meeting(), &k);
    }
    EXPECT_EQ(k.raceCount(), 4);
    EXPECT_EQ(k.race(3)->raceNum(), 11);
    EXPECT_EQ(k.race(4), k.races().back().get());
    for (qsizetype bad : {qsizetype(0), qsizetype(5), qsizetype(-1)}) {
        try {
            k.race(bad);
            ADD_FAILURE() << bad;
        } catch (const AppError& e) {
            EXPECT_EQ(e.number(), ErrNo::SubscriptOutOfRange);
        }
    }
}

TEST(Race, StartsOnTheDayWithNothingToShow) {
    const Race r;
    EXPECT_EQ(r.sale(), 1);
    EXPECT_EQ(r.result(), nullptr);
    EXPECT_EQ(r.logCount(), 0);
    EXPECT_EQ(r.omitCount(), 0);
    EXPECT_THROW(r.log(1), AppError);
    EXPECT_THROW(r.omit(0), AppError);
    EXPECT_TRUE(r.message().isEmpty());
}

TEST(Race, TakingBetsNeedsItsMeeting) {
    Race orphan;
    const TempFolder empty;
    const BetLogReader log = BetLogReader::read(empty.path(), QString());
    try {
        orphan.takeBets(log);
        ADD_FAILURE();
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), ErrNo::ObjectNotSet);
    }
}

} // namespace
