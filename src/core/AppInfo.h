#pragma once

#include <QString>

// Names the program shows about itself.
namespace AppInfo {
inline QString title() {
    return QStringLiteral("VelqoraV50");
}
inline QString versionText() {
    return QStringLiteral("Ver 1.01");
}
} // namespace AppInfo
