#pragma once

#include <QString>

#include <optional>

// Colours as the builders hand them to the windows and the reports: 0xRRGGBB, red in the highest byte,
// the order of "#RRGGBB". The settings and the bracket table store colours the other way round (red in the
// lowest byte); FromStored turns those around.
namespace Rgb {
using Value = quint32;

constexpr Value White = 0xFFFFFF;
constexpr Value Black = 0x000000;
constexpr Value Red = 0xFF0000;

constexpr Value fromStored(qint32 stored) {
    const auto v = static_cast<quint32>(stored);
    return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

// "#RRGGBB".
inline QString hex(Value v) {
    return QStringLiteral("#%1").arg(v & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}
} // namespace Rgb

// A colour a window may leave as designed.
using OptionalRgb = std::optional<Rgb::Value>;
