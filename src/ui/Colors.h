#pragma once

#include <QColor>

// Colours are stored as 32-bit values with red in the lowest byte, then green, then blue.
namespace Colors {
QColor FromStored(qint32 value);
qint32 ToStored(const QColor& color);
} // namespace Colors
