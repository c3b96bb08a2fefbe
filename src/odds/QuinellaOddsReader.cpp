#include "QuinellaOddsReader.h"

#include "OddsText.h"

namespace {
constexpr qsizetype kPairStart = 145;
constexpr qsizetype kPairLength = 25;

void setBoth(OddsMatrix& table, int i, int j, const QString& odds) {
    table.setOdds(i, j, odds);
    table.setOdds(j, i, odds);
}
} // namespace

void QuinellaOddsReader::parse(QByteArrayView data, qint16 tosu) {
    reset(tosu, m_quinella, m_wide, m_wideMax);

    // A void quinella means a scratched runner in the pair: the wide fields of the record are not taken.
    qsizetype pos = kPairStart;
    for (int i = 1; i <= tosu - 1; ++i) {
        for (int j = i + 1; j <= tosu; ++j, pos += kPairLength) {
            const auto quinella = OddsText::offered(data, pos + 7, OddsText::kField6);
            if (!quinella) {
                continue;
            }
            setBoth(*m_quinella, i, j, *quinella);
            setBoth(*m_wide, i, j, OddsText::odds(data, pos + 13, OddsText::kField6));
            setBoth(*m_wideMax, i, j, OddsText::odds(data, pos + 19, OddsText::kField6));
        }
    }
}
