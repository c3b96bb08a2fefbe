#include "Money.h"

#include "AppError.h"

#include <QtNumeric>

namespace Money {

qint32 Add(qint32 a, qint32 b, const QString& source) {
    qint32 r = 0;
    if (qAddOverflow(a, b, &r)) {
        throw AppError::Overflow(source);
    }
    return r;
}

qint32 Sub(qint32 a, qint32 b, const QString& source) {
    qint32 r = 0;
    if (qSubOverflow(a, b, &r)) {
        throw AppError::Overflow(source);
    }
    return r;
}

qint32 Mul(qint32 a, qint32 b, const QString& source) {
    qint32 r = 0;
    if (qMulOverflow(a, b, &r)) {
        throw AppError::Overflow(source);
    }
    return r;
}

} // namespace Money
