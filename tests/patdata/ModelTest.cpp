#include "patdata/BetLogReader.h"
#include "patdata/Meeting.h"
#include "patdata/Race.h"

#include "core/AppError.h"

#include <gtest/gtest.h>

namespace {

const QString kNoVenue(2, QChar(0x3000));

TEST(Meeting, VenueNameFollowsTheCode) {
    Meeting k;
    EXPECT_EQ(k.Kaisai(), kNoVenue);
    const std::vector<std::pair<qint16, QString>> cases = {{1, u"札幌"_qs}, {5, u"東京"_qs}, {10, u"小倉"_qs},
                                                           {0, kNoVenue},   {11, kNoVenue},  {-1, kNoVenue}};
    for (const auto& [code, name] : cases) {
        k.setKaisaiNum(code);
        EXPECT_EQ(k.KaisaiNum(), code);
        EXPECT_EQ(k.Kaisai(), name) << code;
    }
}

TEST(Meeting, RacesAreFoundByPositionNotNumber) {
    Meeting k;
    EXPECT_THROW(k.objRace(1), AppError);
    for (qint16 num : {1, 2, 11, 12}) {
        auto race = std::make_unique<Race>();
        race->setRaceNum(num);
        const Race* added = k.AddRace(std::move(race));
        EXPECT_EQ(added->Pearent(), &k);
    }
    EXPECT_EQ(k.RaceCount(), 4);
    EXPECT_EQ(k.objRace(3)->RaceNum(), 11);
    EXPECT_EQ(k.objRace(4), k.colRace().back().get());
    for (qsizetype bad : {qsizetype(0), qsizetype(5), qsizetype(-1)}) {
        try {
            k.objRace(bad);
            ADD_FAILURE() << bad;
        } catch (const AppError& e) {
            EXPECT_EQ(e.Number(), ErrNo::SubscriptOutOfRange);
        }
    }
}

TEST(Race, StartsOnTheDayWithNothingToShow) {
    const Race r;
    EXPECT_EQ(r.Sale(), 1);
    EXPECT_EQ(r.objKekka(), nullptr);
    EXPECT_EQ(r.LogCount(), 0);
    EXPECT_EQ(r.OmitCount(), 0);
    EXPECT_THROW(r.Log(1), AppError);
    EXPECT_THROW(r.Omit(0), AppError);
    EXPECT_TRUE(r.strMessage().isEmpty());
}

TEST(Race, TakingBetsNeedsItsMeeting) {
    Race orphan;
    const BetLogReader log;
    try {
        orphan.GetLog(log);
        ADD_FAILURE();
    } catch (const AppError& e) {
        EXPECT_EQ(e.Number(), ErrNo::ObjectNotSet);
    }
}

} // namespace
