#include "Colors.h"

namespace Colors {

QColor fromStored(qint32 value) {
    const auto v = static_cast<quint32>(value);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF), static_cast<int>((v >> 16) & 0xFF));
}

qint32 toStored(const QColor& color) {
    return static_cast<qint32>(static_cast<quint32>(color.red()) | (static_cast<quint32>(color.green()) << 8) |
                               (static_cast<quint32>(color.blue()) << 16));
}

QString style(const OptionalRgb& fore, const OptionalRgb& back) {
    QString s;
    if (fore) {
        s += QStringLiteral("color: %1;").arg(Rgb::hex(*fore));
    }
    if (back) {
        s += QStringLiteral("background: %1;").arg(Rgb::hex(*back));
    }
    return s;
}

} // namespace Colors
