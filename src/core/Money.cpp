#include "Money.h"

#include "AppError.h"

namespace Money {

void overflow(const QString& source) {
    throw AppError::overflow(source);
}

} // namespace Money
