#include "Money.h"

#include "AppError.h"

namespace Money {

void Overflow(const QString& source) {
    throw AppError::Overflow(source);
}

} // namespace Money
