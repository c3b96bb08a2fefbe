#include "core/CodePage.h"
#include "core/Bytes.h"

#include <gtest/gtest.h>

namespace {
QByteArray hex(const char* hex) {
    return QByteArray::fromHex(hex);
}
} // namespace

// The characters whose mapping differs between code page 932 and plain Shift_JIS must come back as the
// same bytes, and decode to the characters Windows users see.
TEST(CodePage, RoundTripsTheWindowsSpecificCharacters) {
    struct Case {
        const char* bytes;
        char16_t unicode;
    } cases[] = {
        {"8160", u'～'}, // wave dash, as FULLWIDTH TILDE
        {"817c", u'－'}, // minus, as FULLWIDTH HYPHEN-MINUS
        {"815f", u'＼'}, // FULLWIDTH REVERSE SOLIDUS
        {"8161", u'∥'},  // double vertical line, as PARALLEL TO
        {"b1", u'ｱ'},    // half-width katakana stay half-width
        {"df", u'ﾟ'},    {"a1", u'｡'},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = hex(c.bytes);
        const QString text = CodePage::decode(bytes);
        ASSERT_EQ(text.size(), 1) << c.bytes;
        EXPECT_EQ(text[0].unicode(), c.unicode) << c.bytes;
        EXPECT_EQ(CodePage::encode(text), bytes) << c.bytes;
    }
}

TEST(CodePage, HalfWidthKatakanaTextRoundTrips) {
    const QString text = QStringLiteral("本ｿﾌﾄを「JRA PAT for Win V50」がｲﾝｽﾄｰﾙされているﾌｫﾙﾀﾞ");
    const QByteArray bytes = CodePage::encode(text);
    EXPECT_EQ(CodePage::decode(bytes), text);
    EXPECT_EQ(CodePage::byteLength(QStringLiteral("東京ｱ1")), 6);
}

TEST(CodePage, UnmappableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(CodePage::encode(QStringLiteral("A€B")), QByteArray("A?B"));
    EXPECT_EQ(CodePage::encode(QStringLiteral("〜")), QByteArray("?")); // the JIS wave dash is not in 932
    EXPECT_EQ(CodePage::encode(QStringLiteral("😀x")), QByteArray("?x"));
}

TEST(CodePage, GarbageBytesDecodeWithoutLoss) {
    QByteArray garbage;
    for (int i = 0; i < 256; ++i) {
        garbage.append(static_cast<char>(255 - i));
    }
    const QString text = CodePage::decode(garbage);
    EXPECT_FALSE(text.isEmpty());
    EXPECT_LE(text.size(), garbage.size());
    // A lead byte at the very end decodes to a replacement character, not to a read past the end.
    EXPECT_EQ(CodePage::decode(hex("4182")), QString(QLatin1Char('A')) + QChar(0xFFFD));
}

// Every ASCII byte is itself, alone or beside a double-byte character ("あ" is 82 A0), both ways.
TEST(CodePage, AsciiBytesAreThemselvesWhateverSurroundsThem) {
    for (int b = 0; b < 0x80; ++b) {
        const QByteArray alone(1, static_cast<char>(b));
        const QString decoded = CodePage::decode(alone + hex("82A0"));
        EXPECT_EQ(decoded, QString(QChar(b)) + QStringLiteral("あ")) << b;
        EXPECT_EQ(CodePage::encode(decoded), alone + hex("82A0")) << b;
    }
}

TEST(Bytes, CutsByBytePositionBeforeDecoding) {
    // "東京" is four bytes; a field of bytes 3-4 is the second character.
    const QByteArray data = CodePage::encode(QStringLiteral("東京 12ab"));
    EXPECT_EQ(Bytes::text(data, 1, 4), QStringLiteral("東京"));
    EXPECT_EQ(Bytes::text(data, 3, 2), QStringLiteral("京"));
    EXPECT_EQ(Bytes::number(data, 5, 3), 12);
    EXPECT_EQ(Bytes::number(data, 8, 2), 0); // no digits
}

TEST(Bytes, CutsAreClippedToTheData) {
    const QByteArray data("12345");
    EXPECT_EQ(Bytes::cut(data, 4, 10), QByteArrayView("45"));
    EXPECT_TRUE(Bytes::cut(data, 6, 2).isEmpty());
    EXPECT_TRUE(Bytes::cut(data, 0, 2).isEmpty());
    EXPECT_TRUE(Bytes::cut(data, 1, 0).isEmpty());
    EXPECT_TRUE(Bytes::cut(data, 1000000000, 5).isEmpty());
    EXPECT_EQ(Bytes::at(data, 5), '5');
    EXPECT_EQ(Bytes::at(data, 6), '\0');
    EXPECT_EQ(Bytes::number(data, 3, 100), 345);
    EXPECT_EQ(Bytes::number(QByteArray(), 1, 8), 0);
}
