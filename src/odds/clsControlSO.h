#pragma once

#include "OddsFile.h"
#include "clsOdds2.h"

#include <memory>

// Reader of one race's exacta odds file ("SO-" + race id + ".JRA"). The table is kept as
// (first, second) only; it exists from construction and is shared.
class clsControlSO final : public OddsFile {
public:
    clsControlSO() : OddsFile(QStringLiteral("SO-"), QStringLiteral("clsControlSO")) {}

    std::shared_ptr<clsOdds2> objOddsExacta() const { return m_exacta; }

private:
    void Read(QByteArrayView data, qint16 tosu) override;

    std::shared_ptr<clsOdds2> m_exacta = std::make_shared<clsOdds2>();
};
