#include "Codes.h"

namespace {
const char16_t* const kVenues[10] = {u"札幌", u"函館", u"福島", u"新潟", u"東京",
                                     u"中山", u"中京", u"京都", u"阪神", u"小倉"};
}

QString kaisaiName(qint16 code) {
    if (code < 1 || code > 10) {
        return QString(2, QChar(0x3000));
    }
    return QString::fromUtf16(kVenues[code - 1]);
}

qint16 kaisaiCode(QStringView name) {
    for (int i = 0; i < 10; ++i) {
        if (name == QStringView(kVenues[i])) {
            return static_cast<qint16>(i + 1);
        }
    }
    return 0;
}

qint16 codeToNum(QStringView text) {
    if (text.size() != 1) {
        return 0;
    }
    const char16_t c = text[0].toUpper().unicode();
    if (c >= u'1' && c <= u'9') {
        return static_cast<qint16>(c - u'0');
    }
    if (c >= u'A' && c <= u'C') {
        return static_cast<qint16>(c - u'A' + 10);
    }
    return 0;
}

QChar hexDigit(int value) {
    if (value < 0 || value > 15) {
        return QLatin1Char('0');
    }
    return QLatin1Char("0123456789ABCDEF"[value]);
}

bool isBitSet(qint16 value, qint16 bit) {
    return (value & bit) > 0;
}
