#include "Numbers.h"

#include <cmath>
#include <limits>

namespace Num {

double Val(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r')) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    double value = 0;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        value = value * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    if (i < n && text[i] == u'.') {
        ++i;
        double scale = 0.1;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            value += (text[i].unicode() - u'0') * scale;
            scale /= 10;
            ++i;
        }
    }
    return negative ? -value : value;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    return std::nearbyint(value); // the default floating-point rounding mode rounds half to even
}

qint32 ClampToInt32(double value) {
    const double r = RoundHalfEven(value);
    if (std::isnan(r)) {
        return 0;
    }
    if (r <= std::numeric_limits<qint32>::min()) {
        return std::numeric_limits<qint32>::min();
    }
    if (r >= std::numeric_limits<qint32>::max()) {
        return std::numeric_limits<qint32>::max();
    }
    return static_cast<qint32>(r);
}

qint16 ClampToInt16(double value) {
    const qint32 v = ClampToInt32(value);
    if (v < std::numeric_limits<qint16>::min()) {
        return std::numeric_limits<qint16>::min();
    }
    if (v > std::numeric_limits<qint16>::max()) {
        return std::numeric_limits<qint16>::max();
    }
    return static_cast<qint16>(v);
}

qint32 ToInt32(QStringView text) {
    // Fast path for the usual field of plain digits, short enough not to overflow.
    if (!text.isEmpty() && text.size() <= 9) {
        qint32 v = 0;
        bool digits = true;
        for (const QChar c : text) {
            if (c < u'0' || c > u'9') {
                digits = false;
                break;
            }
            v = v * 10 + (c.unicode() - u'0');
        }
        if (digits) {
            return v;
        }
    }
    return ClampToInt32(Val(text));
}

qint16 ClampToInt16(qint32 value) {
    constexpr qint32 low = std::numeric_limits<qint16>::min();
    constexpr qint32 high = std::numeric_limits<qint16>::max();
    return static_cast<qint16>(value < low ? low : (value > high ? high : value));
}

qint16 ToInt16(QStringView text) {
    return ClampToInt16(ToInt32(text));
}

} // namespace Num
