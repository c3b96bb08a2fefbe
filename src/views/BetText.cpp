#include "BetText.h"

#include "core/Formats.h"

#include <array>

namespace BetText {

const QString& typeLabel(qint16 betType) {
    // Index 0 stands for every code bet lines do not define: the line stays, its type unknown.
    static const std::array<QString, 8> names = {
        QStringLiteral("？？？"), QStringLiteral("単勝　"), QStringLiteral("複勝　"), QStringLiteral("枠連　"),
        QStringLiteral("馬連　"), QStringLiteral("ワイド"), QStringLiteral("馬単　"), QStringLiteral("３連複")};
    return names[betType >= 1 && betType <= 7 ? size_t(betType) : 0];
}

QString combination(const BetLine& bet) {
    switch (bet.betType) {
    case 1:
    case 2:
        return Fmt::at(bet.num3, 8);
    case 3:
    case 4:
    case 5:
        return Fmt::at(bet.num2, 5) + QLatin1Char('-') + Fmt::at(bet.num3, 2);
    case 6:
        return Fmt::at(bet.num2, 5) + QLatin1Char('>') + Fmt::at(bet.num3, 2);
    case 7:
        return Fmt::at(bet.num1, 2) + QLatin1Char('-') + Fmt::at(bet.num2, 2) + QLatin1Char('-') + Fmt::at(bet.num3, 2);
    default:
        return QString(8, QLatin1Char(' '));
    }
}

QString settledMark(qint16 hit) {
    switch (hit) {
    case 1:
        return QStringLiteral("○");
    case 2:
        return QStringLiteral("×");
    case 3:
        return QStringLiteral("返");
    default:
        return QStringLiteral("？");
    }
}

} // namespace BetText
