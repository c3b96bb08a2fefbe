#pragma once

#include "OddsFile.h"
#include "OddsMatrix.h"

#include <memory>

// Reader of one race's exacta odds file ("SO-" + race id + ".JRA"). The table is kept as
// (first, second) only; it exists from construction and is shared.
class ExactaOddsReader final : public OddsFile {
public:
    ExactaOddsReader() : OddsFile(QStringLiteral("SO-"), QStringLiteral("clsControlSO"), kLength) {}

    std::shared_ptr<OddsMatrix> exactaOdds() const { return m_exacta; }

private:
    // The length the client writes: the race header, 306 ordered horse pairs and a vote count, whatever the field size.
    static constexpr qsizetype kLength = 3825;

    void parse(QByteArrayView data, qint16 tosu) override;

    std::shared_ptr<OddsMatrix> m_exacta = std::make_shared<OddsMatrix>();
};
