#pragma once

#include <QFont>

// The two font families of the windows: a fixed-pitch Japanese font for column text, and a proportional
// Japanese font for everything else. The Windows fonts come first; IPA fonts (metric-compatible) and Noto
// stand in on Linux.
namespace Fonts {
QFont fixed(qreal pointSize = 9);
QFont proportional(qreal pointSize = 9);
} // namespace Fonts
