#pragma once

#include "OddsFile.h"
#include "OddsMatrix.h"

#include <memory>

// Reader of one race's quinella and wide odds file ("UO-" + race id + ".JRA"). The tables exist from
// construction (empty, size 0), so a race without quinella sale can fill the quinella table itself
// without any file; they are shared and outlive the reader where they are taken.
class QuinellaOddsReader final : public OddsFile {
public:
    QuinellaOddsReader() : OddsFile(QStringLiteral("UO-"), QStringLiteral("clsControlUO"), kLength) {}

    std::shared_ptr<OddsMatrix> quinellaOdds() const { return m_quinella; }
    std::shared_ptr<OddsMatrix> wideOdds() const { return m_wide; }
    std::shared_ptr<OddsMatrix> wideMaxOdds() const { return m_wideMax; }

private:
    // The length the client writes: the race header, 153 horse pairs and two vote counts, whatever the field size.
    static constexpr qsizetype kLength = 3991;

    void parse(QByteArrayView data, qint16 tosu) override;

    std::shared_ptr<OddsMatrix> m_quinella = std::make_shared<OddsMatrix>();
    std::shared_ptr<OddsMatrix> m_wide = std::make_shared<OddsMatrix>();
    std::shared_ptr<OddsMatrix> m_wideMax = std::make_shared<OddsMatrix>();
};
