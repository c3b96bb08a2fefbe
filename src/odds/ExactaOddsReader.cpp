#include "ExactaOddsReader.h"

#include "OddsText.h"

namespace {
constexpr qsizetype kOrderedPairStart = 143;
constexpr qsizetype kOrderedPairLength = 12;
} // namespace

void ExactaOddsReader::parse(QByteArrayView data, qint16 tosu) {
    reset(tosu, m_exacta);

    // Ordered pairs, the second runner running fastest; the order matters, so one cell per record.
    qsizetype pos = kOrderedPairStart;
    for (int first = 1; first <= tosu; ++first) {
        for (int second = 1; second <= tosu; ++second) {
            if (second == first) {
                continue;
            }
            if (const auto odds = OddsText::offered(data, pos + 6, OddsText::kField6)) {
                m_exacta->setOdds(first, second, *odds);
            }
            pos += kOrderedPairLength;
        }
    }
}
