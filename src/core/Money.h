#pragma once

#include <QString>
#include <QtGlobal>
#include <QtNumeric>

#include <optional>

// Amounts are whole yen in 32 bits; every sum is checked and raises the overflow error instead of
// wrapping, so a wrong figure is never shown. Inline: a heavy day adds up tens of thousands of bets.
namespace Money {
[[noreturn]] void overflow(const QString& source);

inline qint32 add(qint32 a, qint32 b, const QString& source = QString()) {
    qint32 r = 0;
    if (qAddOverflow(a, b, &r)) {
        overflow(source);
    }
    return r;
}

inline qint32 sub(qint32 a, qint32 b, const QString& source = QString()) {
    qint32 r = 0;
    if (qSubOverflow(a, b, &r)) {
        overflow(source);
    }
    return r;
}

inline qint32 mul(qint32 a, qint32 b, const QString& source = QString()) {
    qint32 r = 0;
    if (qMulOverflow(a, b, &r)) {
        overflow(source);
    }
    return r;
}

// A share in tenths of a percent, rounded half up (payout 1505 on stake 1000 gives 1505, "150.5" when
// shown); nothing when the whole is not positive, so no window divides by zero.
inline std::optional<qint64> perMilleOf(qint64 part, qint64 whole) {
    if (whole <= 0) {
        return std::nullopt;
    }
    return (part * 1000 * 2 + whole) / (2 * whole);
}
} // namespace Money
