#include "clsControlYO.h"

#include "OddsText.h"

#include "core/AppError.h"
#include "core/Bytes.h"
#include "core/Paths.h"

namespace {
constexpr qsizetype kTripleStart = 143;
constexpr qsizetype kTripleLength = 15;
constexpr qsizetype kOddsWidth = 6;
} // namespace

void clsControlYO::setPathName(const QString& folder) {
    m_pathName = AddPathSep(folder);
}

void clsControlYO::setFileName(const QString& raceId) {
    m_fileName = raceId;
}

bool clsControlYO::GetData(const QString& strDate) {
    const auto data = OddsText::Load(m_pathName, QStringLiteral("YO-") + m_fileName + QStringLiteral(".JRA"),
                                     QStringLiteral("clsControlYO"));
    return data && GetDataFromBytes(*data, strDate);
}

bool clsControlYO::GetDataFromBytes(QByteArrayView data, const QString& strDate) {
    const qint16 tosu = OddsText::RunnerCount(data, strDate);
    if (tosu == 0) {
        return false;
    }

    // New slices each time: appending to an earlier read would shift every runner's slice.
    QList<std::shared_ptr<clsOdds2>> slices;
    slices.reserve(tosu);
    for (int n = 1; n <= tosu; ++n) {
        auto slice = std::make_shared<clsOdds2>();
        slice->setTosu(tosu);
        slice->Initialize();
        slices.append(slice);
    }

    qsizetype pos = kTripleStart;
    for (int i = 1; i <= tosu - 2; ++i) {
        for (int k = i + 1; k <= tosu - 1; ++k) {
            for (int l = k + 1; l <= tosu; ++l, pos += kTripleLength) {
                const QString text = Bytes::Text(data, pos + 9, kOddsWidth);
                if (OddsText::IsVoidOrBlank(text, OddsText::kVoid6)) {
                    continue;
                }
                const QString odds = OddsText::ReplaceNotYet(text, OddsText::kNotYet6, OddsText::kNotYetShown6);
                slices[i - 1]->setOdds(k, l, odds);
                slices[i - 1]->setOdds(l, k, odds);
                slices[k - 1]->setOdds(i, l, odds);
                slices[k - 1]->setOdds(l, i, odds);
                slices[l - 1]->setOdds(i, k, odds);
                slices[l - 1]->setOdds(k, i, odds);
            }
        }
    }
    m_slices = std::move(slices);
    return true;
}

std::shared_ptr<clsOdds2> clsControlYO::objOddsTrio(int intIndex) const {
    if (intIndex < 1 || intIndex > m_slices.size()) {
        throw AppError::IndexOutOfRange(QStringLiteral("clsControlYO"));
    }
    return m_slices[intIndex - 1];
}
