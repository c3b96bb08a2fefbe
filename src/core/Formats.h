#pragma once

#include <QString>
#include <QStringView>

// The display formats of every window and report, in one place.
namespace Fmt {
// "@@@…": the text right-aligned in `width` characters, blank-filled; a longer text is kept whole.
QString at(QStringView text, int width);
QString at(qint64 number, int width);

// "#0": the plain number.
QString hash0(qint64 number);
// "#0" applied to a text: a numeric text becomes its plain number ("05" gives "5"); any other text
// comes back unchanged.
QString hash0(QStringView text);

// "00", "0000": at least `width` digits with leading zeros (a minus sign goes in front).
QString zeros(qint64 number, int width);

// "#,##0": thousands separated by commas.
QString thousands(qint64 number);

// "#0.0": at least one integer digit and one decimal, rounded half away from zero.
QString oneDecimal(double value);
// The same for a value held in tenths (1505 gives "150.5"), exact.
QString tenths(qint64 tenths);

// "0000/00/00" applied to a date text "yyyymmdd": "yyyy/mm/dd". A text that is not a number comes
// back unchanged.
QString datePattern(QStringView ymd);
} // namespace Fmt
