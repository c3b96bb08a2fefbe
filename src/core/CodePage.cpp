#include "CodePage.h"

#include <unicode/ucnv.h>

#include <memory>

namespace {
struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// One converter per thread: ICU converters keep state and are not shareable.
UConverter* converter() {
    thread_local ConverterPtr converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        ConverterPtr c(ucnv_open("windows-31j", &status));
        if (U_FAILURE(status) || !c) {
            qFatal("The code page 932 converter of ICU is not available");
        }
        status = U_ZERO_ERROR;
        ucnv_setSubstChars(c.get(), "?", 1, &status);
        return c;
    }();
    return converter.get();
}

// ICU's table of this code page follows IBM in three control bytes: 0x1A, 0x1C and 0x7F decode to U+001C,
// U+007F and U+001A. The platform's own code page, and our ASCII path, map them to themselves, and no other
// byte decodes to these three, so the rotation is simply undone: a byte then means the same whether or not
// the text around it holds other non-ASCII bytes.
char16_t fromIcuControl(char16_t c) {
    switch (c) {
    case 0x1C:
        return 0x1A;
    case 0x7F:
        return 0x1C;
    case 0x1A:
        return 0x7F;
    default:
        return c;
    }
}

char16_t toIcuControl(char16_t c) {
    switch (c) {
    case 0x1A:
        return 0x1C;
    case 0x1C:
        return 0x7F;
    case 0x7F:
        return 0x1A;
    default:
        return c;
    }
}

bool isAscii(QByteArrayView bytes) {
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool isAscii(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}
} // namespace

namespace CodePage {

QString decode(QByteArrayView bytes) {
    if (bytes.isEmpty()) {
        return QString();
    }
    if (isAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), bytes.size());
    }
    UConverter* conv = converter();
    ucnv_resetToUnicode(conv);
    // Every byte yields at most one UTF-16 unit in this code page.
    QString out(bytes.size(), Qt::Uninitialized);
    UChar* target = reinterpret_cast<UChar*>(out.data());
    UChar* const targetStart = target;
    const char* source = bytes.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(conv, &target, targetStart + out.size(), &source, bytes.data() + bytes.size(), nullptr, true,
                   &status);
    out.truncate(target - targetStart);
    for (QChar& c : out) {
        c = QChar(fromIcuControl(c.unicode()));
    }
    return out;
}

QByteArray encode(QStringView text) {
    if (text.isEmpty()) {
        return QByteArray();
    }
    if (isAscii(text)) {
        QByteArray out(text.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i) {
            out[i] = static_cast<char>(text[i].unicode());
        }
        return out;
    }
    QString rotated;
    if (text.contains(QChar(0x1A)) || text.contains(QChar(0x1C)) || text.contains(QChar(0x7F))) {
        rotated.reserve(text.size());
        for (const QChar c : text) {
            rotated += QChar(toIcuControl(c.unicode()));
        }
        text = rotated;
    }
    UConverter* conv = converter();
    ucnv_resetFromUnicode(conv);
    QByteArray out(text.size() * 2 + 2, Qt::Uninitialized);
    char* target = out.data();
    char* const targetStart = target;
    const UChar* source = reinterpret_cast<const UChar*>(text.utf16());
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(conv, &target, targetStart + out.size(), &source, source + text.size(), nullptr, true, &status);
    out.truncate(target - targetStart);
    return out;
}

qsizetype byteLength(QStringView text) {
    return isAscii(text) ? text.size() : encode(text).size();
}

} // namespace CodePage
