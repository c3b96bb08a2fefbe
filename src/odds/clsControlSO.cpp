#include "clsControlSO.h"

#include "OddsText.h"

#include "core/Bytes.h"
#include "core/Paths.h"

namespace {
constexpr qsizetype kOrderedPairStart = 143;
constexpr qsizetype kOrderedPairLength = 12;
constexpr qsizetype kOddsWidth = 6;
} // namespace

clsControlSO::clsControlSO() : m_exacta(std::make_shared<clsOdds2>()) {
    m_exacta->Initialize();
}

void clsControlSO::setPathName(const QString& folder) {
    m_pathName = AddPathSep(folder);
}

void clsControlSO::setFileName(const QString& raceId) {
    m_fileName = raceId;
}

bool clsControlSO::GetData(const QString& strDate) {
    const auto data = OddsText::Load(m_pathName, QStringLiteral("SO-") + m_fileName + QStringLiteral(".JRA"),
                                     QStringLiteral("clsControlSO"));
    return data && GetDataFromBytes(*data, strDate);
}

bool clsControlSO::GetDataFromBytes(QByteArrayView data, const QString& strDate) {
    const qint16 tosu = OddsText::RunnerCount(data, strDate);
    if (tosu == 0) {
        return false;
    }
    m_exacta->setTosu(tosu);
    m_exacta->Initialize();

    // Ordered pairs, the second runner running fastest; the order matters, so one cell per record.
    qsizetype pos = kOrderedPairStart;
    for (int first = 1; first <= tosu; ++first) {
        for (int second = 1; second <= tosu; ++second) {
            if (second == first) {
                continue;
            }
            const QString text = Bytes::Text(data, pos + 6, kOddsWidth);
            pos += kOrderedPairLength;
            if (OddsText::IsVoidOrBlank(text, OddsText::kVoid6)) {
                continue;
            }
            m_exacta->setOdds(first, second,
                              OddsText::ReplaceNotYet(text, OddsText::kNotYet6, OddsText::kNotYetShown6));
        }
    }
    return true;
}
