#pragma once

#include "views/Rgb.h"

#include <QColor>
#include <QString>

// Colours are stored as 32-bit values with red in the lowest byte, then green, then blue.
namespace Colors {
QColor fromStored(qint32 value);
qint32 toStored(const QColor& color);
// The style sheet that gives a widget the text and background colours a builder chose; empty for neither.
QString style(const OptionalRgb& fore, const OptionalRgb& back);
} // namespace Colors
