#include "Formats.h"

#include <cmath>

namespace Fmt {

QString at(QStringView text, int width) {
    if (text.size() >= width) {
        return text.toString();
    }
    return QString(width - text.size(), QLatin1Char(' ')).append(text);
}

QString at(qint64 number, int width) {
    return at(QString::number(number), width);
}

QString hash0(qint64 number) {
    return QString::number(number);
}

namespace {
// A text the display formats accept as a number: blanks around, an optional sign, digits with at most
// one decimal point.
bool parseNumeric(QStringView text, double& value) {
    const QStringView t = text.trimmed();
    if (t.isEmpty()) {
        return false;
    }
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == u'-' || t[0] == u'+') {
        negative = t[0] == u'-';
        i = 1;
    }
    bool anyDigit = false;
    bool point = false;
    double v = 0;
    double scale = 0.1;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            anyDigit = true;
            if (point) {
                v += (c.unicode() - u'0') * scale;
                scale /= 10;
            } else {
                v = v * 10 + (c.unicode() - u'0');
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (!anyDigit) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}
} // namespace

QString hash0(QStringView text) {
    double v = 0;
    if (!parseNumeric(text, v)) {
        return text.toString();
    }
    return QString::number(static_cast<qint64>(std::round(v)));
}

QString zeros(qint64 number, int width) {
    const bool negative = number < 0;
    QString digits = QString::number(negative ? -number : number);
    if (digits.size() < width) {
        digits.prepend(QString(width - digits.size(), QLatin1Char('0')));
    }
    return negative ? QLatin1Char('-') + digits : digits;
}

QString thousands(qint64 number) {
    const bool negative = number < 0;
    const QString digits = QString::number(negative ? -number : number);
    QString out;
    out.reserve(digits.size() + digits.size() / 3 + 1);
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += QLatin1Char(',');
        }
        out += digits[i];
    }
    return negative ? QLatin1Char('-') + out : out;
}

QString tenths(qint64 tenths) {
    const bool negative = tenths < 0;
    const qint64 a = negative ? -tenths : tenths;
    QString s = QString::number(a / 10) + QLatin1Char('.') + QString::number(a % 10);
    return negative ? QLatin1Char('-') + s : s;
}

QString oneDecimal(double value) {
    const double scaled = std::round(value * 10); // std::round rounds half away from zero
    return tenths(static_cast<qint64>(scaled));
}

QString datePattern(QStringView ymd) {
    const QStringView t = ymd.trimmed();
    if (t.isEmpty()) {
        return ymd.toString();
    }
    for (const QChar c : t) {
        if (c < u'0' || c > u'9') {
            return ymd.toString();
        }
    }
    QString digits = t.toString();
    if (digits.size() < 8) {
        digits.prepend(QString(8 - digits.size(), QLatin1Char('0')));
    }
    const qsizetype y = digits.size() - 4;
    return digits.left(y) + QLatin1Char('/') + digits.mid(y, 2) + QLatin1Char('/') + digits.mid(y + 2, 2);
}

} // namespace Fmt
