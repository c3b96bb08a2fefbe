#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The Japanese Windows code page (932, "windows-31j") every client file and every file of ours uses.
// Conversion goes through ICU's converter; bytes that do not decode become U+FFFD, characters the
// code page lacks are written as "?", as the client's own platform does.
namespace CodePage {
QString decode(QByteArrayView bytes);
QByteArray encode(QStringView text);
// Number of bytes the text takes in the code page (full-width characters count two).
qsizetype byteLength(QStringView text);
} // namespace CodePage
