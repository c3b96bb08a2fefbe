#include "Numbers.h"

#include <cmath>
#include <limits>

namespace Num {

namespace {
int Unit(QChar c) {
    return c.unicode();
}
int Unit(char c) {
    return static_cast<unsigned char>(c);
}

template <class View>
double valOf(View text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (Unit(text[i]) == ' ' || Unit(text[i]) == '\t' || Unit(text[i]) == '\n' || Unit(text[i]) == '\r')) {
        ++i;
    }
    bool negative = false;
    if (i < n && (Unit(text[i]) == '-' || Unit(text[i]) == '+')) {
        negative = Unit(text[i]) == '-';
        ++i;
    }
    double value = 0;
    while (i < n && Unit(text[i]) >= '0' && Unit(text[i]) <= '9') {
        value = value * 10 + (Unit(text[i]) - '0');
        ++i;
    }
    if (i < n && Unit(text[i]) == '.') {
        ++i;
        double scale = 0.1;
        while (i < n && Unit(text[i]) >= '0' && Unit(text[i]) <= '9') {
            value += (Unit(text[i]) - '0') * scale;
            scale /= 10;
            ++i;
        }
    }
    return negative ? -value : value;
}

template <class View>
qint32 toInt32Of(View text) {
    // Fast path for the usual field of plain digits, short enough not to overflow.
    if (!text.isEmpty() && text.size() <= 9) {
        qint32 v = 0;
        bool digits = true;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const int c = Unit(text[i]);
            if (c < '0' || c > '9') {
                digits = false;
                break;
            }
            v = v * 10 + (c - '0');
        }
        if (digits) {
            return v;
        }
    }
    return clampToInt32(valOf(text));
}
} // namespace

double val(QStringView text) {
    return valOf(text);
}

double val(QByteArrayView bytes) {
    return valOf(bytes);
}

double roundHalfEven(double value) {
    if (!std::isfinite(value)) {
        return value;
    }
    return std::nearbyint(value); // the default floating-point rounding mode rounds half to even
}

qint32 clampToInt32(double value) {
    const double r = roundHalfEven(value);
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

qint16 clampToInt16(double value) {
    const qint32 v = clampToInt32(value);
    if (v < std::numeric_limits<qint16>::min()) {
        return std::numeric_limits<qint16>::min();
    }
    if (v > std::numeric_limits<qint16>::max()) {
        return std::numeric_limits<qint16>::max();
    }
    return static_cast<qint16>(v);
}

qint32 toInt32(QStringView text) {
    return toInt32Of(text);
}

qint32 toInt32(QByteArrayView bytes) {
    return toInt32Of(bytes);
}

qint16 clampToInt16(qint32 value) {
    constexpr qint32 low = std::numeric_limits<qint16>::min();
    constexpr qint32 high = std::numeric_limits<qint16>::max();
    return static_cast<qint16>(value < low ? low : (value > high ? high : value));
}

qint16 toInt16(QStringView text) {
    return clampToInt16(toInt32(text));
}

qint16 toInt16(QByteArrayView bytes) {
    return clampToInt16(toInt32(bytes));
}

} // namespace Num
