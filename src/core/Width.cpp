#include "Width.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>

namespace {
std::unique_ptr<icu::Transliterator> create(const char* id) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance(icu::UnicodeString(id, -1, US_INV), UTRANS_FORWARD, status));
    if (U_FAILURE(status) || !t) {
        qFatal("ICU transliterator %s is not available", id);
    }
    return t;
}

QString apply(icu::Transliterator& t, QStringView text) {
    if (text.isEmpty()) {
        return QString();
    }
    icu::UnicodeString u(reinterpret_cast<const UChar*>(text.utf16()), static_cast<int32_t>(text.size()));
    t.transliterate(u);
    return QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
}
} // namespace

namespace Width {

QString toFull(QStringView text) {
    thread_local auto t = create("Halfwidth-Fullwidth");
    return apply(*t, text);
}

QString toHalf(QStringView text) {
    thread_local auto t = create("Fullwidth-Halfwidth");
    return apply(*t, text);
}

} // namespace Width
