#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>

// Dates travel as "yyyymmdd" texts; these helpers read them and build the date lines the windows show.
namespace Dates {
// The date of an eight-digit text, or nothing for any other text or an impossible date.
std::optional<QDate> fromYmd(QStringView ymd);
QString toYmd(const QDate& date);

// "(日)" … "(土)" for Sunday … Saturday.
QString weekdayMark(const QDate& date);

// "2004年5月16日(日)". A text that is not a date comes back unchanged.
QString dateLine(QStringView ymd);
// "5月16日(日)". A text that is not a date comes back unchanged.
QString monthDayLine(QStringView ymd);

// The calendar day before, as "yyyymmdd" (1 January gives 31 December of the year before); empty for
// a text that is not a date.
QString previousDay(QStringView ymd);
} // namespace Dates
