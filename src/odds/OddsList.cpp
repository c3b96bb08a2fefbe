#include "OddsList.h"

#include "core/AppError.h"
#include "core/Text.h"

void OddsList::initialize() {
    m_odds = QList<QString>(m_tosu > 0 ? m_tosu : 0);
}

qsizetype OddsList::slot(int n) const {
    if (n < 1 || n > m_odds.size()) {
        throw AppError::indexOutOfRange(QStringLiteral("clsOdds1"));
    }
    return n - 1;
}

QString OddsList::odds(int n) const {
    return Text::trimBlanks(m_odds[slot(n)]).toString();
}

void OddsList::setOdds(int n, const QString& text) {
    m_odds[slot(n)] = text;
}
