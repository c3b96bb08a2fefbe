#include "core/Formats.h"
#include "core/Csv.h"
#include "core/Dates.h"
#include "core/Money.h"
#include "core/Width.h"

#include <gtest/gtest.h>

TEST(Formats, AtPatternsRightAlign) {
    EXPECT_EQ(Fmt::at(5, 8), QStringLiteral("       5"));
    EXPECT_EQ(Fmt::at(1000, 8), QStringLiteral("    1000"));
    EXPECT_EQ(Fmt::at(12, 2), QStringLiteral("12"));
    EXPECT_EQ(Fmt::at(123, 2), QStringLiteral("123")); // too long: kept whole
    EXPECT_EQ(Fmt::at(u"ab", 5), QStringLiteral("   ab"));
    EXPECT_EQ(Fmt::at(-5, 3), QStringLiteral(" -5"));
}

TEST(Formats, DigitPatterns) {
    EXPECT_EQ(Fmt::hash0(0), QStringLiteral("0"));
    EXPECT_EQ(Fmt::hash0(-500), QStringLiteral("-500"));
    EXPECT_EQ(Fmt::hash0(u"05"), QStringLiteral("5"));
    EXPECT_EQ(Fmt::hash0(u" 8"), QStringLiteral("8"));
    EXPECT_EQ(Fmt::hash0(u"00"), QStringLiteral("0"));
    EXPECT_EQ(Fmt::hash0(u"  "), QStringLiteral("  ")); // not numeric: unchanged
    EXPECT_EQ(Fmt::hash0(u"ﾄﾘ"), QStringLiteral("ﾄﾘ"));
    EXPECT_EQ(Fmt::zeros(7, 2), QStringLiteral("07"));
    EXPECT_EQ(Fmt::zeros(12, 2), QStringLiteral("12"));
    EXPECT_EQ(Fmt::zeros(5, 4), QStringLiteral("0005"));
    EXPECT_EQ(Fmt::zeros(12345, 4), QStringLiteral("12345"));
    EXPECT_EQ(Fmt::zeros(-5, 2), QStringLiteral("-05"));
}

TEST(Formats, ThousandsAndOneDecimal) {
    EXPECT_EQ(Fmt::thousands(0), QStringLiteral("0"));
    EXPECT_EQ(Fmt::thousands(999), QStringLiteral("999"));
    EXPECT_EQ(Fmt::thousands(1000), QStringLiteral("1,000"));
    EXPECT_EQ(Fmt::thousands(-1234567), QStringLiteral("-1,234,567"));
    EXPECT_EQ(Fmt::thousands(2147483647), QStringLiteral("2,147,483,647"));
    EXPECT_EQ(Fmt::oneDecimal(0), QStringLiteral("0.0"));
    EXPECT_EQ(Fmt::oneDecimal(150), QStringLiteral("150.0"));
    EXPECT_EQ(Fmt::oneDecimal(33.333), QStringLiteral("33.3"));
    EXPECT_EQ(Fmt::oneDecimal(66.666), QStringLiteral("66.7"));
    EXPECT_EQ(Fmt::oneDecimal(0.25), QStringLiteral("0.3")); // half away from zero
    EXPECT_EQ(Fmt::oneDecimal(-1.25), QStringLiteral("-1.3"));
    EXPECT_EQ(Fmt::tenths(1505), QStringLiteral("150.5"));
    EXPECT_EQ(Fmt::tenths(7), QStringLiteral("0.7"));
}

TEST(Formats, DatePattern) {
    EXPECT_EQ(Fmt::datePattern(u"20040516"), QStringLiteral("2004/05/16"));
    EXPECT_EQ(Fmt::datePattern(u"2004051"), QStringLiteral("0200/40/51"));
    EXPECT_EQ(Fmt::datePattern(u""), QString());
    EXPECT_EQ(Fmt::datePattern(u"abc"), QStringLiteral("abc"));
}

TEST(Dates, DateLinesWithWeekdayMarks) {
    EXPECT_EQ(Dates::dateLine(u"20040516"), QStringLiteral("2004年5月16日(日)"));
    EXPECT_EQ(Dates::dateLine(u"20240229"), QStringLiteral("2024年2月29日(木)")); // leap day
    EXPECT_EQ(Dates::dateLine(u"20260101"), QStringLiteral("2026年1月1日(木)"));
    EXPECT_EQ(Dates::dateLine(u"20261205"), QStringLiteral("2026年12月5日(土)"));
    EXPECT_EQ(Dates::monthDayLine(u"20261207"), QStringLiteral("12月7日(月)"));
    EXPECT_EQ(Dates::monthDayLine(u"20261208"), QStringLiteral("12月8日(火)"));
    EXPECT_EQ(Dates::monthDayLine(u"20261209"), QStringLiteral("12月9日(水)"));
    EXPECT_EQ(Dates::monthDayLine(u"20261211"), QStringLiteral("12月11日(金)"));
    // Not a date: shown as it stands rather than failing.
    EXPECT_EQ(Dates::dateLine(u"20230229"), QStringLiteral("20230229"));
    EXPECT_EQ(Dates::dateLine(u""), QString());
}

TEST(Dates, PreviousDayIsCalendarArithmetic) {
    EXPECT_EQ(Dates::previousDay(u"20260101"), QStringLiteral("20251231"));
    EXPECT_EQ(Dates::previousDay(u"20240301"), QStringLiteral("20240229"));
    EXPECT_EQ(Dates::previousDay(u"20230301"), QStringLiteral("20230228"));
    EXPECT_EQ(Dates::previousDay(u"20261201"), QStringLiteral("20261130"));
    EXPECT_EQ(Dates::previousDay(u"2026120"), QString());
    EXPECT_EQ(Dates::previousDay(u"2026130x"), QString());
    EXPECT_FALSE(Dates::fromYmd(u"20261301").has_value());
    EXPECT_FALSE(Dates::fromYmd(u"2026 101").has_value());
}

TEST(Width, ConvertsBetweenHalfAndFullWidth) {
    EXPECT_EQ(Width::toFull(u" 9"), QStringLiteral("　９"));
    EXPECT_EQ(Width::toFull(u"11"), QStringLiteral("１１"));
    EXPECT_EQ(Width::toFull(u"ｻﾗﾌﾞﾚｯﾄﾞ"), QStringLiteral("サラブレッド"));
    EXPECT_EQ(Width::toHalf(u"ガーＡ－１"), QStringLiteral("ｶﾞｰA-1"));
    EXPECT_EQ(Width::toHalf(u"１　２"), QStringLiteral("1 2"));
    EXPECT_EQ(Width::toHalf(u""), QString());
}

TEST(Formats, CsvQuotingAndShares) {
    // Quoted only when needed, quotes doubled; a leading byte-order mark and CR LF ends.
    const QList<QStringList> rows{{QStringLiteral("PastDate"), QStringLiteral("a,b")},
                                  {QStringLiteral("say \"hi\""), QStringLiteral("two\nlines"), QString()},
                                  {QStringLiteral("中山")}};
    EXPECT_EQ(Csv::document(rows), QByteArray("\xEF\xBB\xBFPastDate,\"a,b\"\r\n"
                                              "\"say \"\"hi\"\"\",\"two\nlines\",\r\n"
                                              "\xE4\xB8\xAD\xE5\xB1\xB1\r\n"));
    EXPECT_EQ(Csv::document({}), QByteArray("\xEF\xBB\xBF"));

    // Shares in tenths of a percent: half up, and none of nothing.
    EXPECT_EQ(Money::perMilleOf(1505, 1000), 1505);
    EXPECT_EQ(Money::perMilleOf(1, 3), 333);  // 333.33...
    EXPECT_EQ(Money::perMilleOf(2, 3), 667);  // 666.67 rounds up
    EXPECT_EQ(Money::perMilleOf(1, 2000), 1); // 0.5 rounds up
    EXPECT_EQ(Money::perMilleOf(5, 0), std::nullopt);
}
