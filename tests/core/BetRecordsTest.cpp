#include "core/BetRecords.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

TEST(BetLine, EveryFieldAtItsPositions) {
    BetLine l;
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
    const BetLine l = StrToLog(u"10511");
    EXPECT_EQ(l.Sale, 1);
    EXPECT_EQ(l.Venue, 5);
    EXPECT_EQ(l.RaceNum, 11);
    EXPECT_EQ(l.BetType, 0);
    EXPECT_EQ(l.Payout, 0);
    EXPECT_EQ(StrToLog(u""), BetLine());
    const BetLine g = StrToLog(u"x0a11ab 2 3 4 x 12 9999999x");
    EXPECT_EQ(g.Sale, 0);
    EXPECT_EQ(g.Venue, 0); // "0a"
    EXPECT_EQ(g.RaceNum, 11);
    EXPECT_EQ(g.BetType, 0);
    EXPECT_EQ(g.Num1, 2);
}

TEST(BetLine, OutOfRangeValuesDoNotShiftLaterFields) {
    BetLine l;
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
    TicketLine o;
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
    TicketLine o;
    o.Venue = 5;
    o.Field12 = 7;
    o.Slots[0] = 3;
    const TicketLine back = StrToOmit(OmitToStr(o));
    EXPECT_EQ(back.Field12, 0);
    o.Field12 = 0;
    EXPECT_EQ(back, o);
}

TEST(TicketLine, ShortTextLeavesMissingSlotsZero) {
    const TicketLine o = StrToOmit(u"1"
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

// The packed and fitted forms against the text form itself, on random records with values inside, at
// and beyond every field's digits: fitting is the text round trip, packing keeps every field, packed bets
// order as their texts, the packed numbers go into their own bits, and ticket lines sort as their texts.
TEST(BetRecordForms, AgreeWithTheTextOnRandomRecords) {
    std::mt19937 rng(20261208);
    const auto value = [&rng](int digits) {
        const int max = digits == 1 ? 9 : digits == 2 ? 99 : digits == 4 ? 9999 : 99999999;
        switch (rng() % 4) {
        case 0:
            return -static_cast<int>(rng() % 1000);
        case 1:
            return max + static_cast<int>(rng() % 3);
        default:
            return static_cast<int>(rng() % (max + 1));
        }
    };
    const auto small = [&](int digits) { return static_cast<qint16>(std::clamp(value(digits), -32768, 32767)); };
    const auto randomLog = [&] {
        BetLine l;
        l.Sale = small(1);
        l.Venue = small(2);
        l.RaceNum = small(2);
        l.BetType = small(2);
        l.Num1 = small(2);
        l.Num2 = small(2);
        l.Num3 = small(2);
        l.BuyDay = small(1);
        l.Units = small(4);
        l.Payout = value(8);
        l.Hit = small(1);
        return l;
    };
    const auto randomOmit = [&] {
        TicketLine o;
        for (qint16* f : {&o.Sale, &o.Venue, &o.RaceNum, &o.BetType, &o.Num1, &o.Num2, &o.Num3, &o.BuyDay, &o.Units,
                          &o.Kind, &o.Reserved, &o.Field12, &o.Status, &o.LogNo}) {
            *f = small(f == &o.Units || f == &o.LogNo ? 4 : f == &o.Sale || f == &o.Kind || f == &o.BuyDay ? 1 : 2);
        }
        for (qint16& s : o.Slots) {
            s = small(2);
        }
        return o;
    };

    std::vector<BetLine> logs;
    std::vector<TicketLine> omits;
    for (int i = 0; i < 4000; ++i) {
        const BetLine l = randomLog();
        const BetLine fitted = BetRecords::Fitted(l);
        ASSERT_EQ(fitted, StrToLog(LogToStr(l))) << LogToStr(l).toStdString();
        ASSERT_EQ(BetRecords::Unpack(BetRecords::PackBet(l), BetRecords::PackEvaluation(l)), fitted);
        BetLine noNumbers = l;
        noNumbers.Num1 = noNumbers.Num2 = noNumbers.Num3 = 0;
        ASSERT_EQ(BetRecords::PackBet(noNumbers) | BetRecords::PackNumbers(l.Num1, l.Num2, l.Num3),
                  BetRecords::PackBet(l));
        char text[kLogTextLength];
        BetRecords::WriteText(l, text);
        ASSERT_EQ(QString::fromLatin1(text, kLogTextLength), LogToStr(l));
        const TicketLine o = randomOmit();
        ASSERT_EQ(BetRecords::Fitted(o), StrToOmit(OmitToStr(o)));
        logs.push_back(fitted);
        omits.push_back(BetRecords::Fitted(o));
    }
    // Pairs that agree on their first k fields (in text order), so that every field gets to decide.
    const auto packed = [](const BetLine& l) {
        return std::pair(BetRecords::PackBet(l), BetRecords::PackEvaluation(l));
    };
    for (std::size_t i = 1; i < logs.size(); ++i) {
        const BetLine& a = logs[i - 1];
        BetLine b = logs[i];
        qint16* fields[] = {&b.Sale, &b.Venue, &b.RaceNum, &b.BetType, &b.Num1, &b.Num2, &b.Num3, &b.BuyDay, &b.Units};
        const qint16 from[] = {a.Sale, a.Venue, a.RaceNum, a.BetType, a.Num1, a.Num2, a.Num3, a.BuyDay, a.Units};
        const std::size_t k = i % 11;
        for (std::size_t f = 0; f < std::min<std::size_t>(k, 9); ++f) {
            *fields[f] = from[f];
        }
        if (k >= 10) {
            b.Payout = a.Payout;
        }
        ASSERT_EQ(packed(a) < packed(b), LogToStr(a) < LogToStr(b)) << k;
    }
    QStringList omitTexts;
    for (const TicketLine& o : omits) {
        omitTexts << OmitToStr(o);
    }
    omitTexts.sort();
    BetRecords::SortByText(omits);
    for (std::size_t i = 0; i < omits.size(); ++i) {
        ASSERT_EQ(OmitToStr(omits[i]), omitTexts[qsizetype(i)]);
    }
}
