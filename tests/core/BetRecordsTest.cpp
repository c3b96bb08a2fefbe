#include "core/BetRecords.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

TEST(BetLine, EveryFieldAtItsPositions) {
    BetLine l;
    l.sale = 1;
    l.venue = 5;
    l.raceNum = 11;
    l.betType = 7;
    l.num1 = 2;
    l.num2 = 9;
    l.num3 = 14;
    l.buyDay = 9;
    l.units = 25;
    l.payout = 1500;
    l.hit = 3;
    const QString s = betLineText(l);
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
    EXPECT_EQ(betLineFromText(s), l);
}

TEST(BetLine, ShortOrGarbageTextReadsAsZeroes) {
    const BetLine l = betLineFromText(u"10511");
    EXPECT_EQ(l.sale, 1);
    EXPECT_EQ(l.venue, 5);
    EXPECT_EQ(l.raceNum, 11);
    EXPECT_EQ(l.betType, 0);
    EXPECT_EQ(l.payout, 0);
    EXPECT_EQ(betLineFromText(u""), BetLine());
    const BetLine g = betLineFromText(u"x0a11ab 2 3 4 x 12 9999999x");
    EXPECT_EQ(g.sale, 0);
    EXPECT_EQ(g.venue, 0); // "0a"
    EXPECT_EQ(g.raceNum, 11);
    EXPECT_EQ(g.betType, 0);
    EXPECT_EQ(g.num1, 2);
}

TEST(BetLine, OutOfRangeValuesDoNotShiftLaterFields) {
    BetLine l;
    l.units = 12345; // wider than its four digits
    l.num1 = -3;     // negative
    l.payout = 123456789;
    l.hit = 1;
    const QString s = betLineText(l);
    ASSERT_EQ(s.size(), kLogTextLength);
    EXPECT_EQ(s.mid(14, 4), QStringLiteral("9999"));
    EXPECT_EQ(s.mid(7, 2), QStringLiteral("00"));
    EXPECT_EQ(s.mid(18, 8), QStringLiteral("99999999"));
    EXPECT_EQ(s.right(1), QStringLiteral("1"));
}

TEST(TicketLine, TextOrderDiffersFromFieldOrder) {
    TicketLine o;
    o.sale = 2;
    o.venue = 10;
    o.raceNum = 12;
    o.betType = 6;
    o.num1 = 1;
    o.num2 = 0;
    o.num3 = 7;
    o.buyDay = 9;
    o.units = 30;
    o.kind = 1;
    o.reserved = 0;
    o.status = 31;
    o.logNo = 1234;
    for (int i = 0; i < 18; ++i) {
        o.partnerSlots[i] = static_cast<qint16>(i % 3 == 0 ? 1 : 0);
    }
    o.partnerSlots[17] = 18;
    const QString s = ticketLineText(o);
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
    EXPECT_EQ(ticketLineFromText(s), o);
}

TEST(TicketLine, Field12IsNotPartOfTheText) {
    TicketLine o;
    o.venue = 5;
    o.field12 = 7;
    o.partnerSlots[0] = 3;
    const TicketLine back = ticketLineFromText(ticketLineText(o));
    EXPECT_EQ(back.field12, 0);
    o.field12 = 0;
    EXPECT_EQ(back, o);
}

TEST(TicketLine, ShortTextLeavesMissingSlotsZero) {
    const TicketLine o = ticketLineFromText(u"1"
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
    EXPECT_EQ(o.venue, 5);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.betType, 4);
    EXPECT_EQ(o.kind, 1);
    EXPECT_EQ(o.partnerSlots[0], 2);
    EXPECT_EQ(o.partnerSlots[1], 3);
    EXPECT_EQ(o.partnerSlots[2], 0);
    EXPECT_EQ(o.partnerSlots[17], 0);
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
        l.sale = small(1);
        l.venue = small(2);
        l.raceNum = small(2);
        l.betType = small(2);
        l.num1 = small(2);
        l.num2 = small(2);
        l.num3 = small(2);
        l.buyDay = small(1);
        l.units = small(4);
        l.payout = value(8);
        l.hit = small(1);
        return l;
    };
    const auto randomOmit = [&] {
        TicketLine o;
        for (qint16* f : {&o.sale, &o.venue, &o.raceNum, &o.betType, &o.num1, &o.num2, &o.num3, &o.buyDay, &o.units,
                          &o.kind, &o.reserved, &o.field12, &o.status, &o.logNo}) {
            *f = small(f == &o.units || f == &o.logNo ? 4 : f == &o.sale || f == &o.kind || f == &o.buyDay ? 1 : 2);
        }
        for (qint16& s : o.partnerSlots) {
            s = small(2);
        }
        return o;
    };

    std::vector<BetLine> logs;
    std::vector<TicketLine> omits;
    for (int i = 0; i < 4000; ++i) {
        const BetLine l = randomLog();
        const BetLine fitted = BetRecords::fitted(l);
        ASSERT_EQ(fitted, betLineFromText(betLineText(l))) << betLineText(l).toStdString();
        ASSERT_EQ(BetRecords::unpack(BetRecords::packBet(l), BetRecords::packEvaluation(l)), fitted);
        BetLine noNumbers = l;
        noNumbers.num1 = noNumbers.num2 = noNumbers.num3 = 0;
        ASSERT_EQ(BetRecords::packBet(noNumbers) | BetRecords::packNumbers(l.num1, l.num2, l.num3),
                  BetRecords::packBet(l));
        char text[kLogTextLength];
        BetRecords::writeText(l, text);
        ASSERT_EQ(QString::fromLatin1(text, kLogTextLength), betLineText(l));
        const TicketLine o = randomOmit();
        ASSERT_EQ(BetRecords::fitted(o), ticketLineFromText(ticketLineText(o)));
        logs.push_back(fitted);
        omits.push_back(BetRecords::fitted(o));
    }
    // Pairs that agree on their first k fields (in text order), so that every field gets to decide.
    const auto packed = [](const BetLine& l) {
        return std::pair(BetRecords::packBet(l), BetRecords::packEvaluation(l));
    };
    for (std::size_t i = 1; i < logs.size(); ++i) {
        const BetLine& a = logs[i - 1];
        BetLine b = logs[i];
        qint16* fields[] = {&b.sale, &b.venue, &b.raceNum, &b.betType, &b.num1, &b.num2, &b.num3, &b.buyDay, &b.units};
        const qint16 from[] = {a.sale, a.venue, a.raceNum, a.betType, a.num1, a.num2, a.num3, a.buyDay, a.units};
        const std::size_t k = i % 11;
        for (std::size_t f = 0; f < std::min<std::size_t>(k, 9); ++f) {
            *fields[f] = from[f];
        }
        if (k >= 10) {
            b.payout = a.payout;
        }
        ASSERT_EQ(packed(a) < packed(b), betLineText(a) < betLineText(b)) << k;
    }
    QStringList omitTexts;
    for (const TicketLine& o : omits) {
        omitTexts << ticketLineText(o);
    }
    omitTexts.sort();
    BetRecords::sortByText(omits);
    for (std::size_t i = 0; i < omits.size(); ++i) {
        ASSERT_EQ(ticketLineText(omits[i]), omitTexts[qsizetype(i)]);
    }
}
