#include "RaceOdds.h"

#include "Meeting.h"
#include "Race.h"
#include "core/AppError.h"
#include "core/Codes.h"
#include "core/Paths.h"
#include "odds/ExactaOddsReader.h"
#include "odds/OddsList.h"
#include "odds/OddsMatrix.h"
#include "odds/QuinellaOddsReader.h"
#include "odds/TrioOddsReader.h"
#include "odds/WinPlaceOddsReader.h"

namespace {
// Ticket-type bits of a race that decide which files are read.
constexpr qint16 kQuinellaBit = 8;
constexpr qint16 kExactaBit = 32;
constexpr qint16 kTrioBit = 64;

} // namespace

RaceOdds::RaceOdds(const QString& folder, const Race& race, ClientFiles::FolderRead& files) : m_race(&race) {
    if (!race.meeting()) {
        throw AppError::objectNotSet();
    }
    m_complete = read(addPathSep(folder), race.meeting()->saleDate(), race.fileId(), files);
}

RaceOdds::~RaceOdds() = default;

bool RaceOdds::read(const QString& folder, const QString& date, const QString& raceId, ClientFiles::FolderRead& files) {
    m_zo = OddsFile::read<WinPlaceOddsReader>(folder, raceId, date, files, m_warnings);
    if (!m_zo) {
        return false;
    }
    assignBrackets();

    if (isBitSet(m_race->kenshu(), kQuinellaBit)) {
        m_uo = OddsFile::read<QuinellaOddsReader>(folder, raceId, date, files, m_warnings);
        if (!m_uo) {
            return false; // exacta and trio are not read either
        }
    } else {
        m_uo = std::make_unique<QuinellaOddsReader>();
        deriveQuinella();
    }

    if (isBitSet(m_race->kenshu(), kExactaBit)) {
        m_so = OddsFile::read<ExactaOddsReader>(folder, raceId, date, files, m_warnings);
    }
    if (isBitSet(m_race->kenshu(), kTrioBit)) {
        m_yo = OddsFile::read<TrioOddsReader>(folder, raceId, date, files, m_warnings);
    }
    return true;
}

void RaceOdds::assignBrackets() {
    m_waku.fill(0);
    m_representative.fill(0);
    const int n = entryTosu(); // the readers accept 1..18 runners only
    const int brackets = n <= 8 ? n : 8;
    int horse = 1;
    for (int b = 1; b <= brackets; ++b) {
        // Beyond eight runners each bracket holds n / 8 horses, and the last n % 8 brackets one more.
        int size = 1;
        if (n > 8) {
            size = n / 8 + (b > 8 - n % 8 ? 1 : 0);
        }
        for (int k = 0; k < size && horse <= 18; ++k, ++horse) {
            m_waku[static_cast<size_t>(horse - 1)] = static_cast<qint16>(b);
            if (!m_zo->winOdds()->odds(horse).isEmpty()) {
                m_representative[static_cast<size_t>(b - 1)] = static_cast<qint16>(horse);
            }
        }
    }
}

void RaceOdds::deriveQuinella() {
    // No quinella sale: a pair of horses representing two brackets takes that bracket pair's odds.
    m_quinellaFromBrackets = true;
    const auto quinella = m_uo->quinellaOdds();
    quinella->setTosu(entryTosu());
    quinella->initialize();
    const auto bracket = m_zo->bracketOdds();
    const int b = qMin<int>(entryTosu(), 8);
    for (int x = 1; x <= b; ++x) {
        for (int y = 1; y <= b; ++y) {
            const qint16 hx = m_representative[static_cast<size_t>(x - 1)];
            const qint16 hy = m_representative[static_cast<size_t>(y - 1)];
            if (hx != 0 && hy != 0) {
                quinella->setOdds(hx, hy, bracket->odds(x, y));
            }
        }
    }
}

qint16 RaceOdds::entryTosu() const {
    return m_zo ? m_zo->tosu() : qint16(0);
}

qint16 RaceOdds::wakuNum(int horse) const {
    if (horse < 1 || horse > 18) {
        throw AppError::indexOutOfRange();
    }
    return m_waku[static_cast<size_t>(horse - 1)];
}

qint16 RaceOdds::representativeHorse(int bracket) const {
    if (bracket < 1 || bracket > 8) {
        throw AppError::indexOutOfRange();
    }
    return m_representative[static_cast<size_t>(bracket - 1)];
}

namespace {
template <typename Reader>
const Reader& held(const std::unique_ptr<Reader>& reader) {
    if (!reader) {
        throw AppError::objectNotSet();
    }
    return *reader;
}
} // namespace

std::shared_ptr<OddsList> RaceOdds::winOdds() const {
    return held(m_zo).winOdds();
}
std::shared_ptr<OddsList> RaceOdds::placeOdds() const {
    return held(m_zo).placeOdds();
}
std::shared_ptr<OddsList> RaceOdds::placeMaxOdds() const {
    return held(m_zo).placeMaxOdds();
}
std::shared_ptr<OddsMatrix> RaceOdds::bracketOdds() const {
    return held(m_zo).bracketOdds();
}
std::shared_ptr<OddsMatrix> RaceOdds::quinellaOdds() const {
    return held(m_uo).quinellaOdds();
}
std::shared_ptr<OddsMatrix> RaceOdds::wideOdds() const {
    return held(m_uo).wideOdds();
}
std::shared_ptr<OddsMatrix> RaceOdds::wideMaxOdds() const {
    return held(m_uo).wideMaxOdds();
}
std::shared_ptr<OddsMatrix> RaceOdds::exactaOdds() const {
    return held(m_so).exactaOdds();
}
std::shared_ptr<OddsMatrix> RaceOdds::trioOdds(int first) const {
    return held(m_yo).trioOdds(first);
}

qsizetype RaceOdds::trioCount() const {
    return m_yo ? m_yo->trioCount() : 0;
}
