#include "clsOdds2.h"

#include "core/AppError.h"
#include "core/Text.h"

void clsOdds2::Initialize() {
    m_size = m_tosu > 0 ? m_tosu : 0;
    m_odds = QList<QString>(m_size * m_size);
}

qsizetype clsOdds2::Slot(int col, int row) const {
    if (col < 1 || col > m_size || row < 1 || row > m_size) {
        throw AppError::IndexOutOfRange(QStringLiteral("clsOdds2"));
    }
    return (col - 1) * m_size + (row - 1);
}

QString clsOdds2::Odds(int intIndexCol, int intIndexRow) const {
    return Text::TrimBlanks(m_odds[Slot(intIndexCol, intIndexRow)]).toString();
}

void clsOdds2::setOdds(int intIndexCol, int intIndexRow, const QString& text) {
    m_odds[Slot(intIndexCol, intIndexRow)] = text;
}
