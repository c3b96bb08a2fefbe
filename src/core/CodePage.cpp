#include "CodePage.h"

#include <unicode/ucnv.h>

#include <memory>

namespace {
struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

// One converter per thread: ICU converters keep state and are not shareable.
UConverter* Converter() {
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

bool IsAscii(QByteArrayView bytes) {
    for (const char b : bytes) {
        if (static_cast<unsigned char>(b) >= 0x80) {
            return false;
        }
    }
    return true;
}

bool IsAscii(QStringView text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x80) {
            return false;
        }
    }
    return true;
}
} // namespace

namespace CodePage {

QString Decode(QByteArrayView bytes) {
    if (bytes.isEmpty()) {
        return QString();
    }
    if (IsAscii(bytes)) {
        return QString::fromLatin1(bytes.data(), bytes.size());
    }
    UConverter* conv = Converter();
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
    return out;
}

QByteArray Encode(QStringView text) {
    if (text.isEmpty()) {
        return QByteArray();
    }
    if (IsAscii(text)) {
        QByteArray out(text.size(), Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i) {
            out[i] = static_cast<char>(text[i].unicode());
        }
        return out;
    }
    UConverter* conv = Converter();
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

qsizetype ByteLength(QStringView text) {
    return IsAscii(text) ? text.size() : Encode(text).size();
}

} // namespace CodePage
