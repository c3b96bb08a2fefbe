#include "clsControlUO.h"

#include "OddsText.h"

#include "core/Bytes.h"
#include "core/Paths.h"

namespace {
constexpr qsizetype kPairStart = 145;
constexpr qsizetype kPairLength = 25;
constexpr qsizetype kOddsWidth = 6;

QString Odds6(QByteArrayView data, qsizetype pos) {
    return OddsText::ReplaceNotYet(Bytes::Text(data, pos, kOddsWidth), OddsText::kNotYet6, OddsText::kNotYetShown6);
}

void SetBoth(clsOdds2& table, int i, int j, const QString& odds) {
    table.setOdds(i, j, odds);
    table.setOdds(j, i, odds);
}
} // namespace

clsControlUO::clsControlUO()
    : m_quinella(std::make_shared<clsOdds2>()), m_wide(std::make_shared<clsOdds2>()),
      m_wideMax(std::make_shared<clsOdds2>()) {
    m_quinella->Initialize();
    m_wide->Initialize();
    m_wideMax->Initialize();
}

void clsControlUO::setPathName(const QString& folder) {
    m_pathName = AddPathSep(folder);
}

void clsControlUO::setFileName(const QString& raceId) {
    m_fileName = raceId;
}

bool clsControlUO::GetData(const QString& strDate) {
    const auto data = OddsText::Load(m_pathName, QStringLiteral("UO-") + m_fileName + QStringLiteral(".JRA"),
                                     QStringLiteral("clsControlUO"));
    return data && GetDataFromBytes(*data, strDate);
}

bool clsControlUO::GetDataFromBytes(QByteArrayView data, const QString& strDate) {
    const qint16 tosu = OddsText::RunnerCount(data, strDate);
    if (tosu == 0) {
        return false;
    }
    for (const auto& table : {m_quinella, m_wide, m_wideMax}) {
        table->setTosu(tosu);
        table->Initialize();
    }

    // A void quinella means a scratched runner in the pair: the wide fields of the record are not taken.
    qsizetype pos = kPairStart;
    for (int i = 1; i <= tosu - 1; ++i) {
        for (int j = i + 1; j <= tosu; ++j, pos += kPairLength) {
            if (OddsText::IsVoidOrBlank(Bytes::Text(data, pos + 7, kOddsWidth), OddsText::kVoid6)) {
                continue;
            }
            SetBoth(*m_quinella, i, j, Odds6(data, pos + 7));
            SetBoth(*m_wide, i, j, Odds6(data, pos + 13));
            SetBoth(*m_wideMax, i, j, Odds6(data, pos + 19));
        }
    }
    return true;
}
