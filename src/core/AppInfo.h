#pragma once

#include <QString>

// Names the program shows about itself.
namespace AppInfo {
inline QString Title() {
    return QStringLiteral("VelqoraV50");
}
inline QString VersionText() {
    return QStringLiteral("Ver 1.01");
}
} // namespace AppInfo
