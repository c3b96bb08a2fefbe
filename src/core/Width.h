#pragma once

#include <QString>
#include <QStringView>

// Full-width and half-width forms of Japanese text ("made full-width", "made half-width"), through
// ICU's Halfwidth-Fullwidth and Fullwidth-Halfwidth transliterators.
namespace Width {
QString toFull(QStringView text);
QString toHalf(QStringView text);
} // namespace Width
