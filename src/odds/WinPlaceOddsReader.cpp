#include "WinPlaceOddsReader.h"

#include "OddsText.h"

#include "core/Bytes.h"
#include "core/Formats.h"
#include "core/Numbers.h"
#include "core/Text.h"

#include <algorithm>

namespace {
constexpr qsizetype kRunnerStart = 143;
constexpr qsizetype kRunnerLength = 18;
constexpr qsizetype kBracketStart = 467;
constexpr qsizetype kBracketLength = 10;
constexpr int kBrackets = 8;
} // namespace

void WinPlaceOddsReader::parse(QByteArrayView data, qint16 tosu) {
    m_kaisai = Bytes::text(data, 29, 4);
    m_nenJi = Bytes::text(data, 35, 2);
    m_kaiJi = Fmt::hash0(Bytes::text(data, 37, 2));
    m_hiJi = Fmt::hash0(Bytes::text(data, 39, 2));
    m_raceNum = Num::toInt16(Bytes::text(data, 41, 2));
    m_timeFlg = Bytes::text(data, 43, 1);
    m_hh = Fmt::hash0(Bytes::text(data, 45, 2));
    m_mm = Fmt::hash0(Bytes::text(data, 47, 2));
    m_raceName1 = Text::trimBlanks(Bytes::text(data, 49, 28)).toString();
    m_raceName2 = Text::trimBlanks(Bytes::text(data, 77, 28)).toString();
    m_tosu = tosu;

    reset(tosu, m_win, m_place, m_placeMax);
    // Only the win field tells a scratched runner; its place fields are not looked at.
    m_keshi = 0;
    for (int n = 1; n <= tosu; ++n) {
        const qsizetype record = kRunnerStart + kRunnerLength * (n - 1);
        const auto win = OddsText::offered(data, record + 3, OddsText::kField5);
        if (!win) {
            ++m_keshi;
            continue;
        }
        m_win->setOdds(n, *win);
        m_place->setOdds(n, OddsText::odds(data, record + 8, OddsText::kField5));
        m_placeMax->setOdds(n, OddsText::odds(data, record + 13, OddsText::kField5));
    }

    // All 36 bracket pairs are in the file whatever the field size; pairs above the runner count are
    // stepped over.
    reset(std::min<qint16>(tosu, kBrackets), m_bracket);
    qsizetype pos = kBracketStart;
    for (int i = 1; i <= kBrackets; ++i) {
        for (int j = i; j <= kBrackets; ++j, pos += kBracketLength) {
            if (i > tosu || j > tosu) {
                continue;
            }
            if (const auto odds = OddsText::offered(data, pos + 5, OddsText::kField5)) {
                m_bracket->setOdds(i, j, *odds);
                m_bracket->setOdds(j, i, *odds);
            }
        }
    }
}
