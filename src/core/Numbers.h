#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

// The lenient number conversion used for every numeric field of the client's files and of our own
// text files: leading blanks are skipped, the longest leading decimal number is taken (a sign and a
// decimal point are allowed), and a text without a number gives 0. Nothing here ever fails.
namespace Num {
double val(QStringView text);
// The same on the undecoded bytes of a field in the client's code page. It gives what decoding first
// would: the code page maps every byte below 0x80 to the same character, and no byte of a double-byte
// character is a digit, a sign, a point or a blank, so the number ends at the same place.
double val(QByteArrayView bytes);

// Half-to-even rounding, the rounding the settings and record files were always read with.
double roundHalfEven(double value);

// Val, rounded half to even and clamped into the type's range (a garbage field never wraps).
qint32 toInt32(QStringView text);
qint16 toInt16(QStringView text);
qint32 toInt32(QByteArrayView bytes);
qint16 toInt16(QByteArrayView bytes);

qint32 clampToInt32(double value);
qint16 clampToInt16(double value);
qint16 clampToInt16(qint32 value);
} // namespace Num
