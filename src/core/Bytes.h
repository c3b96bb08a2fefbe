#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Fixed-layout files are read whole and cut by 1-based byte positions before anything is decoded.
// Every cut is clipped to the data: a field past the end of a short file is empty, never a read
// beyond the buffer.
namespace Bytes {
QByteArrayView cut(QByteArrayView data, qsizetype pos, qsizetype len);
// The byte at a 1-based position, or 0 when the data is shorter.
char at(QByteArrayView data, qsizetype pos);
// Cut, then decode from the code page.
QString text(QByteArrayView data, qsizetype pos, qsizetype len);
// Cut, decode, then the lenient number conversion.
qint32 number(QByteArrayView data, qsizetype pos, qsizetype len);
} // namespace Bytes
