#include "Dates.h"

namespace Dates {

std::optional<QDate> fromYmd(QStringView ymd) {
    if (ymd.size() != 8) {
        return std::nullopt;
    }
    int parts[3] = {0, 0, 0};
    const int widths[3] = {4, 2, 2};
    qsizetype pos = 0;
    for (int p = 0; p < 3; ++p) {
        for (int k = 0; k < widths[p]; ++k, ++pos) {
            const QChar c = ymd[pos];
            if (c < u'0' || c > u'9') {
                return std::nullopt;
            }
            parts[p] = parts[p] * 10 + (c.unicode() - u'0');
        }
    }
    const QDate date(parts[0], parts[1], parts[2]);
    if (!date.isValid()) {
        return std::nullopt;
    }
    return date;
}

QString toYmd(const QDate& date) {
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString weekdayMark(const QDate& date) {
    static const char16_t* const marks[7] = {u"(月)", u"(火)", u"(水)", u"(木)", u"(金)", u"(土)", u"(日)"};
    const int dow = date.dayOfWeek(); // 1 = Monday … 7 = Sunday
    if (dow < 1 || dow > 7) {
        return QString();
    }
    return QString::fromUtf16(marks[dow - 1]);
}

QString dateLine(QStringView ymd) {
    const auto date = fromYmd(ymd);
    if (!date) {
        return ymd.toString();
    }
    return QString::number(date->year()) + QStringLiteral("年") + monthDayLine(ymd);
}

QString monthDayLine(QStringView ymd) {
    const auto date = fromYmd(ymd);
    if (!date) {
        return ymd.toString();
    }
    return QString::number(date->month()) + QStringLiteral("月") + QString::number(date->day()) + QStringLiteral("日") +
           weekdayMark(*date);
}

QString previousDay(QStringView ymd) {
    const auto date = fromYmd(ymd);
    if (!date) {
        return QString();
    }
    return toYmd(date->addDays(-1));
}

} // namespace Dates
