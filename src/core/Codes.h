#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// Venue codes 1 to 10 and their two-character names; any other code is two ideographic spaces.
QString kaisaiName(qint16 code);
// The code of a venue name (exact comparison); 0 for an unknown name.
qint16 kaisaiCode(QStringView name);

// One-character codes in file names and contents: "1"-"9" give 1-9, "A"/"B"/"C" (either case)
// give 10/11/12, anything else 0.
qint16 codeToNum(QStringView text);

// The one-character upper-case hexadecimal digit of 1..15 used in race ids; "0" for other values.
QChar hexDigit(int value);

// True when the bitwise AND of the two values is greater than 0.
bool isBitSet(qint16 value, qint16 bit);
