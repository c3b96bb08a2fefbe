#include "clsControlZO.h"

#include "OddsText.h"

#include "core/Bytes.h"
#include "core/Formats.h"
#include "core/Numbers.h"
#include "core/Paths.h"
#include "core/Text.h"

#include <algorithm>

namespace {
constexpr qsizetype kRunnerStart = 143;
constexpr qsizetype kRunnerLength = 18;
constexpr qsizetype kBracketStart = 467;
constexpr qsizetype kBracketLength = 10;
constexpr int kBrackets = 8;
constexpr qsizetype kOddsWidth = 5;

QString Odds5(QByteArrayView data, qsizetype pos) {
    return OddsText::ReplaceNotYet(Bytes::Text(data, pos, kOddsWidth), OddsText::kNotYet5, OddsText::kNotYetShown5);
}
} // namespace

clsControlZO::clsControlZO()
    : m_win(std::make_shared<clsOdds1>()), m_place(std::make_shared<clsOdds1>()),
      m_placeMax(std::make_shared<clsOdds1>()), m_bracket(std::make_shared<clsOdds2>()) {
    m_win->Initialize();
    m_place->Initialize();
    m_placeMax->Initialize();
    m_bracket->Initialize();
}

void clsControlZO::setPathName(const QString& folder) {
    m_pathName = AddPathSep(folder);
}

void clsControlZO::setFileName(const QString& raceId) {
    m_fileName = raceId;
}

bool clsControlZO::GetData(const QString& strDate) {
    const auto data = OddsText::Load(m_pathName, QStringLiteral("ZO-") + m_fileName + QStringLiteral(".JRA"),
                                     QStringLiteral("clsControlZO"));
    return data && GetDataFromBytes(*data, strDate);
}

bool clsControlZO::GetDataFromBytes(QByteArrayView data, const QString& strDate) {
    const qint16 tosu = OddsText::RunnerCount(data, strDate);
    if (tosu == 0) {
        return false;
    }

    m_kaisai = Bytes::Text(data, 29, 4);
    m_nenJi = Bytes::Text(data, 35, 2);
    m_kaiJi = Fmt::Hash0(Bytes::Text(data, 37, 2));
    m_hiJi = Fmt::Hash0(Bytes::Text(data, 39, 2));
    m_raceNum = Num::ToInt16(Bytes::Text(data, 41, 2));
    m_timeFlg = Bytes::Text(data, 43, 1);
    m_hh = Fmt::Hash0(Bytes::Text(data, 45, 2));
    m_mm = Fmt::Hash0(Bytes::Text(data, 47, 2));
    m_raceName1 = Text::TrimBlanks(Bytes::Text(data, 49, 28)).toString();
    m_raceName2 = Text::TrimBlanks(Bytes::Text(data, 77, 28)).toString();
    m_tosu = tosu;

    for (const auto& table : {m_win, m_place, m_placeMax}) {
        table->setTosu(tosu);
        table->Initialize();
    }

    // Only the win field tells a scratched runner; its place fields are not looked at.
    m_keshi = 0;
    for (int n = 1; n <= tosu; ++n) {
        const qsizetype record = kRunnerStart + kRunnerLength * (n - 1);
        if (OddsText::IsVoidOrBlank(Bytes::Text(data, record + 3, kOddsWidth), OddsText::kVoid5)) {
            ++m_keshi;
            continue;
        }
        m_win->setOdds(n, Odds5(data, record + 3));
        m_place->setOdds(n, Odds5(data, record + 8));
        m_placeMax->setOdds(n, Odds5(data, record + 13));
    }

    // All 36 bracket pairs are in the file whatever the field size; pairs above the runner count are
    // stepped over.
    m_bracket->setTosu(std::min<qint16>(tosu, kBrackets));
    m_bracket->Initialize();
    qsizetype pos = kBracketStart;
    for (int i = 1; i <= kBrackets; ++i) {
        for (int j = i; j <= kBrackets; ++j, pos += kBracketLength) {
            if (i > tosu || j > tosu) {
                continue;
            }
            if (OddsText::IsVoidOrBlank(Bytes::Text(data, pos + 5, kOddsWidth), OddsText::kVoid5)) {
                continue;
            }
            const QString odds = Odds5(data, pos + 5);
            m_bracket->setOdds(i, j, odds);
            m_bracket->setOdds(j, i, odds);
        }
    }
    return true;
}
