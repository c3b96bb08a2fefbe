#pragma once

#include <QString>
#include <QtGlobal>

// Amounts are whole yen in 32 bits; every sum is checked and raises the overflow error instead of
// wrapping, so a wrong figure is never shown.
namespace Money {
qint32 Add(qint32 a, qint32 b, const QString& source = QString());
qint32 Sub(qint32 a, qint32 b, const QString& source = QString());
qint32 Mul(qint32 a, qint32 b, const QString& source = QString());
} // namespace Money
