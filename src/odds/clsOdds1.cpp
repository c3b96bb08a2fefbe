#include "clsOdds1.h"

#include "core/AppError.h"
#include "core/Text.h"

void clsOdds1::Initialize() {
    m_odds = QList<QString>(m_tosu > 0 ? m_tosu : 0);
}

qsizetype clsOdds1::Slot(int n) const {
    if (n < 1 || n > m_odds.size()) {
        throw AppError::IndexOutOfRange(QStringLiteral("clsOdds1"));
    }
    return n - 1;
}

QString clsOdds1::Odds(int n) const {
    return Text::TrimBlanks(m_odds[Slot(n)]).toString();
}

void clsOdds1::setOdds(int n, const QString& text) {
    m_odds[Slot(n)] = text;
}
