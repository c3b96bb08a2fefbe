#include "TrioOddsReader.h"

#include "OddsText.h"

#include "core/AppError.h"

namespace {
constexpr qsizetype kTripleStart = 143;
constexpr qsizetype kTripleLength = 15;
} // namespace

void TrioOddsReader::parse(QByteArrayView data, qint16 tosu) {
    // New slices each time: appending to an earlier read would shift every runner's slice.
    QList<std::shared_ptr<OddsMatrix>> slices;
    slices.reserve(tosu);
    for (int n = 1; n <= tosu; ++n) {
        slices.append(std::make_shared<OddsMatrix>());
        reset(tosu, slices.back());
    }

    qsizetype pos = kTripleStart;
    for (int i = 1; i <= tosu - 2; ++i) {
        for (int k = i + 1; k <= tosu - 1; ++k) {
            for (int l = k + 1; l <= tosu; ++l, pos += kTripleLength) {
                const auto odds = OddsText::offered(data, pos + 9, OddsText::kField6);
                if (!odds) {
                    continue;
                }
                slices[i - 1]->setOdds(k, l, *odds);
                slices[i - 1]->setOdds(l, k, *odds);
                slices[k - 1]->setOdds(i, l, *odds);
                slices[k - 1]->setOdds(l, i, *odds);
                slices[l - 1]->setOdds(i, k, *odds);
                slices[l - 1]->setOdds(k, i, *odds);
            }
        }
    }
    m_slices = std::move(slices);
}

std::shared_ptr<OddsMatrix> TrioOddsReader::trioOdds(int index) const {
    if (index < 1 || index > m_slices.size()) {
        throw AppError::indexOutOfRange(QStringLiteral("clsControlYO"));
    }
    return m_slices[index - 1];
}
