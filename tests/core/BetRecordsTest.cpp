#include "core/BetRecords.h"

#include <gtest/gtest.h>

TEST(BetLine, EveryFieldAtItsPositions) {
    udtLog l;
    l.Sale = 1;
    l.Venue = 5;
    l.RaceNum = 11;
    l.BetType = 7;
    l.Num1 = 2;
    l.Num2 = 9;
    l.Num3 = 14;
    l.BuyDay = 9;
    l.Units = 25;
    l.Payout = 1500;
    l.Hit = 3;
    const QString s = LogToStr(l);
    ASSERT_EQ(s.size(), kLogTextLength);
    EXPECT_EQ(s, QStringLiteral("1"
                                "05"
                                "11"
                                "07"
                                "02"
                                "09"
                                "14"
                                "9"
                                "0025"
                                "00001500"
                                "3"));
    EXPECT_EQ(s.mid(18, 8), QStringLiteral("00001500")); // positions 19-26
    EXPECT_EQ(StrToLog(s), l);
}

TEST(BetLine, ShortOrGarbageTextReadsAsZeroes) {
    const udtLog l = StrToLog(u"10511");
    EXPECT_EQ(l.Sale, 1);
    EXPECT_EQ(l.Venue, 5);
    EXPECT_EQ(l.RaceNum, 11);
    EXPECT_EQ(l.BetType, 0);
    EXPECT_EQ(l.Payout, 0);
    EXPECT_EQ(StrToLog(u""), udtLog());
    const udtLog g = StrToLog(u"x0a11ab 2 3 4 x 12 9999999x");
    EXPECT_EQ(g.Sale, 0);
    EXPECT_EQ(g.Venue, 0); // "0a"
    EXPECT_EQ(g.RaceNum, 11);
    EXPECT_EQ(g.BetType, 0);
    EXPECT_EQ(g.Num1, 2);
}

TEST(BetLine, OutOfRangeValuesDoNotShiftLaterFields) {
    udtLog l;
    l.Units = 12345; // wider than its four digits
    l.Num1 = -3;     // negative
    l.Payout = 123456789;
    l.Hit = 1;
    const QString s = LogToStr(l);
    ASSERT_EQ(s.size(), kLogTextLength);
    EXPECT_EQ(s.mid(14, 4), QStringLiteral("9999"));
    EXPECT_EQ(s.mid(7, 2), QStringLiteral("00"));
    EXPECT_EQ(s.mid(18, 8), QStringLiteral("99999999"));
    EXPECT_EQ(s.right(1), QStringLiteral("1"));
}

TEST(TicketLine, TextOrderDiffersFromFieldOrder) {
    udtOmit o;
    o.Sale = 2;
    o.Venue = 10;
    o.RaceNum = 12;
    o.BetType = 6;
    o.Num1 = 1;
    o.Num2 = 0;
    o.Num3 = 7;
    o.BuyDay = 9;
    o.Units = 30;
    o.Kind = 1;
    o.Reserved = 0;
    o.Status = 31;
    o.LogNo = 1234;
    for (int i = 0; i < 18; ++i) {
        o.Slots[i] = static_cast<qint16>(i % 3 == 0 ? 1 : 0);
    }
    o.Slots[17] = 18;
    const QString s = OmitToStr(o);
    ASSERT_EQ(s.size(), kOmitTextLength);
    EXPECT_EQ(s.left(27), QStringLiteral("2"
                                         "10"
                                         "12"
                                         "31"
                                         "06"
                                         "1"
                                         "01"
                                         "00"
                                         "07"
                                         "9"
                                         "0030"
                                         "1234"
                                         "00"));
    EXPECT_EQ(s.mid(27, 6), QStringLiteral("010000"));
    EXPECT_EQ(s.right(2), QStringLiteral("18"));
    EXPECT_EQ(StrToOmit(s), o);
}

TEST(TicketLine, Field12IsNotPartOfTheText) {
    udtOmit o;
    o.Venue = 5;
    o.Field12 = 7;
    o.Slots[0] = 3;
    const udtOmit back = StrToOmit(OmitToStr(o));
    EXPECT_EQ(back.Field12, 0);
    o.Field12 = 0;
    EXPECT_EQ(back, o);
}

TEST(TicketLine, ShortTextLeavesMissingSlotsZero) {
    const udtOmit o = StrToOmit(u"1"
                                u"05"
                                u"11"
                                u"01"
                                u"04"
                                u"1"
                                u"00"
                                u"00"
                                u"07"
                                u"1"
                                u"0001"
                                u"0000"
                                u"00"
                                u"02"
                                u"03");
    EXPECT_EQ(o.Venue, 5);
    EXPECT_EQ(o.Status, 1);
    EXPECT_EQ(o.BetType, 4);
    EXPECT_EQ(o.Kind, 1);
    EXPECT_EQ(o.Slots[0], 2);
    EXPECT_EQ(o.Slots[1], 3);
    EXPECT_EQ(o.Slots[2], 0);
    EXPECT_EQ(o.Slots[17], 0);
}
