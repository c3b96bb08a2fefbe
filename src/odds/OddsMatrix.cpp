#include "OddsMatrix.h"

#include "core/AppError.h"
#include "core/Text.h"

void OddsMatrix::initialize() {
    m_size = m_tosu > 0 ? m_tosu : 0;
    m_odds = QList<QString>(m_size * m_size);
}

qsizetype OddsMatrix::slot(int col, int row) const {
    if (col < 1 || col > m_size || row < 1 || row > m_size) {
        throw AppError::indexOutOfRange(QStringLiteral("clsOdds2"));
    }
    return (col - 1) * m_size + (row - 1);
}

QString OddsMatrix::odds(int column, int row) const {
    return Text::trimBlanks(m_odds[slot(column, row)]).toString();
}

void OddsMatrix::setOdds(int column, int row, const QString& text) {
    m_odds[slot(column, row)] = text;
}
