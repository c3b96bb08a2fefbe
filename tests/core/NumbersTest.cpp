#include "core/Numbers.h"
#include "core/CodePage.h"

#include <QByteArray>
#include <QString>

#include <random>

#include <gtest/gtest.h>

TEST(Numbers, ValTakesTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {
        {"", 0},    {"abc", 0},     {"  42", 42}, {"\t7x", 7},    {"12ab34", 12}, {"-200", -200},
        {"+5", 5},  {"3.25", 3.25}, {".5", 0.5},  {"1.2.3", 1.2}, {"- 1", 0},     {"00001500", 1500},
        {" 0 ", 0}, {"1,000", 1},   {"４２", 0}, // full-width digits are not digits here
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Num::val(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST(Numbers, IntegerConversionRoundsHalfToEvenAndClamps) {
    struct Case {
        const char* text;
        qint32 value;
    } cases[] = {
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"2.51", 3},
        {"123456789", 123456789},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"16777215", 16777215},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Num::toInt32(QString::fromUtf8(c.text)), c.value) << c.text;
    }
    EXPECT_EQ(Num::toInt16(u"70000"), 32767);
    EXPECT_EQ(Num::toInt16(u"-70000"), -32768);
    EXPECT_EQ(Num::toInt16(u" 12"), 12);
}

// Numeric fields are converted from their undecoded bytes: the number must be the one the decoded text
// gives, for any bytes of the code page (digits, blanks, signs, points, single-byte katakana, lead and
// trail bytes of double-byte characters, bytes no character uses).
TEST(Numbers, BytesGiveTheNumberOfTheirDecodedText) {
    const char palette[] = {'0',    '1',    '5',    '9',    ' ',    '\t',   '-',    '+',
                            '.',    'A',    '@',    '\x81', '\x82', '\x4F', '\x40', '\xA5',
                            '\xDF', '\x80', '\xA0', '\xFD', '\xFF', '\x00', '\x5C', '\x7F'};
    std::mt19937 rng(932);
    for (int i = 0; i < 20000; ++i) {
        QByteArray bytes;
        const int length = static_cast<int>(rng() % 12);
        for (int k = 0; k < length; ++k) {
            bytes += palette[rng() % sizeof palette];
        }
        const QString text = CodePage::decode(bytes);
        ASSERT_EQ(Num::toInt32(QByteArrayView(bytes)), Num::toInt32(text)) << bytes.toHex().constData();
        ASSERT_EQ(Num::val(QByteArrayView(bytes)), Num::val(text)) << bytes.toHex().constData();
    }
}
