#include "OddsList.h"

#include "core/AppError.h"
#include "core/Text.h"

void OddsList::Initialize() {
    m_odds = QList<QString>(m_tosu > 0 ? m_tosu : 0);
}

qsizetype OddsList::Slot(int n) const {
    if (n < 1 || n > m_odds.size()) {
        throw AppError::IndexOutOfRange(QStringLiteral("clsOdds1"));
    }
    return n - 1;
}

QString OddsList::Odds(int n) const {
    return Text::TrimBlanks(m_odds[Slot(n)]).toString();
}

void OddsList::setOdds(int n, const QString& text) {
    m_odds[Slot(n)] = text;
}
