#pragma once

#include <QStringView>

// Small text helpers shared by the readers of fixed fields and of our own text files.
namespace Text {
// The text without the given blank characters at either end. Fixed fields of the client's files are
// padded with half-width spaces only (a full-width space belongs to the text), so that is the default;
// the settings file also treats tabs as blanks.
QStringView trimBlanks(QStringView text, QStringView blanks = u" ");
} // namespace Text
