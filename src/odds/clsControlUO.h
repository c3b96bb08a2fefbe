#pragma once

#include "OddsFile.h"
#include "clsOdds2.h"

#include <memory>

// Reader of one race's quinella and wide odds file ("UO-" + race id + ".JRA"). The tables exist from
// construction (empty, size 0), so a race without quinella sale can fill the quinella table itself
// without any file; they are shared and outlive the reader where they are taken.
class clsControlUO final : public OddsFile {
public:
    clsControlUO() : OddsFile(QStringLiteral("UO-"), QStringLiteral("clsControlUO"), kLength) {}

    std::shared_ptr<clsOdds2> objOddsQuinella() const { return m_quinella; }
    std::shared_ptr<clsOdds2> objOddsWide() const { return m_wide; }
    std::shared_ptr<clsOdds2> objOddsWideMax() const { return m_wideMax; }

private:
    // The length the client writes: the race header, 153 horse pairs and two vote counts, whatever the field size.
    static constexpr qsizetype kLength = 3991;

    void Read(QByteArrayView data, qint16 tosu) override;

    std::shared_ptr<clsOdds2> m_quinella = std::make_shared<clsOdds2>();
    std::shared_ptr<clsOdds2> m_wide = std::make_shared<clsOdds2>();
    std::shared_ptr<clsOdds2> m_wideMax = std::make_shared<clsOdds2>();
};
