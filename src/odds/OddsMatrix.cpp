#include "OddsMatrix.h"

#include "core/AppError.h"
#include "core/Text.h"

void OddsMatrix::Initialize() {
    m_size = m_tosu > 0 ? m_tosu : 0;
    m_odds = QList<QString>(m_size * m_size);
}

qsizetype OddsMatrix::Slot(int col, int row) const {
    if (col < 1 || col > m_size || row < 1 || row > m_size) {
        throw AppError::IndexOutOfRange(QStringLiteral("clsOdds2"));
    }
    return (col - 1) * m_size + (row - 1);
}

QString OddsMatrix::Odds(int intIndexCol, int intIndexRow) const {
    return Text::TrimBlanks(m_odds[Slot(intIndexCol, intIndexRow)]).toString();
}

void OddsMatrix::setOdds(int intIndexCol, int intIndexRow, const QString& text) {
    m_odds[Slot(intIndexCol, intIndexRow)] = text;
}
