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

template <typename Reader>
void Locate(Reader& reader, const QString& folder, const QString& raceId) {
    reader.setPathName(folder);
    reader.setFileName(raceId);
}

// Reads the file, noting it when it was not of its layout's length.
template <typename Reader>
bool Read(Reader& reader, const QString& date, FileWarnings& warnings) {
    const bool read = reader.GetData(date);
    if (reader.Warning()) {
        Warnings::Add(warnings, *reader.Warning());
    }
    return read;
}
} // namespace

RaceOdds::RaceOdds() = default;
RaceOdds::~RaceOdds() = default;

void RaceOdds::setPathName(const QString& folder) {
    m_pathName = AddPathSep(folder);
}

bool RaceOdds::GetData() {
    if (!m_race || !m_race->Pearent()) {
        throw AppError::ObjectNotSet();
    }
    const QString date = m_race->Pearent()->CurDate();
    const QString raceId = m_race->FileID();
    m_warnings.clear();

    m_zo = std::make_unique<WinPlaceOddsReader>();
    Locate(*m_zo, m_pathName, raceId);
    if (!Read(*m_zo, date, m_warnings)) {
        m_zo.reset();
        return false;
    }
    AssignBrackets();

    m_uo = std::make_unique<QuinellaOddsReader>();
    if (IsBitSet(m_race->Kenshu(), kQuinellaBit)) {
        Locate(*m_uo, m_pathName, raceId);
        if (!Read(*m_uo, date, m_warnings)) {
            m_uo.reset();
            return false; // exacta and trio are not read either
        }
    } else {
        DeriveQuinella();
    }

    if (IsBitSet(m_race->Kenshu(), kExactaBit)) {
        m_so = std::make_unique<ExactaOddsReader>();
        Locate(*m_so, m_pathName, raceId);
        if (!Read(*m_so, date, m_warnings)) {
            m_so.reset();
        }
    }
    if (IsBitSet(m_race->Kenshu(), kTrioBit)) {
        m_yo = std::make_unique<TrioOddsReader>();
        Locate(*m_yo, m_pathName, raceId);
        if (!Read(*m_yo, date, m_warnings)) {
            m_yo.reset();
        }
    }
    return true;
}

void RaceOdds::AssignBrackets() {
    m_waku.fill(0);
    m_representative.fill(0);
    const int n = EntryTosu(); // the readers accept 1..18 runners only
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
            if (!m_zo->objOddsWin()->Odds(horse).isEmpty()) {
                m_representative[static_cast<size_t>(b - 1)] = static_cast<qint16>(horse);
            }
        }
    }
}

void RaceOdds::DeriveQuinella() {
    // No quinella sale: a pair of horses representing two brackets takes that bracket pair's odds.
    m_quinellaFromBrackets = true;
    const auto quinella = m_uo->objOddsQuinella();
    quinella->setTosu(EntryTosu());
    quinella->Initialize();
    const auto bracket = m_zo->objOddsBracket();
    const int b = qMin<int>(EntryTosu(), 8);
    for (int x = 1; x <= b; ++x) {
        for (int y = 1; y <= b; ++y) {
            const qint16 hx = m_representative[static_cast<size_t>(x - 1)];
            const qint16 hy = m_representative[static_cast<size_t>(y - 1)];
            if (hx != 0 && hy != 0) {
                quinella->setOdds(hx, hy, bracket->Odds(x, y));
            }
        }
    }
}

qint16 RaceOdds::EntryTosu() const {
    return m_zo ? m_zo->Tosu() : qint16(0);
}

qint16 RaceOdds::WakuNum(int horse) const {
    if (horse < 1 || horse > 18) {
        throw AppError::IndexOutOfRange();
    }
    return m_waku[static_cast<size_t>(horse - 1)];
}

qint16 RaceOdds::RepresentativeHorse(int bracket) const {
    if (bracket < 1 || bracket > 8) {
        throw AppError::IndexOutOfRange();
    }
    return m_representative[static_cast<size_t>(bracket - 1)];
}

namespace {
template <typename Reader>
const Reader& Held(const std::unique_ptr<Reader>& reader) {
    if (!reader) {
        throw AppError::ObjectNotSet();
    }
    return *reader;
}
} // namespace

std::shared_ptr<OddsList> RaceOdds::objOddsWin() const {
    return Held(m_zo).objOddsWin();
}
std::shared_ptr<OddsList> RaceOdds::objOddsPlace() const {
    return Held(m_zo).objOddsPlace();
}
std::shared_ptr<OddsList> RaceOdds::objOddsPlaceMax() const {
    return Held(m_zo).objOddsPlaceMax();
}
std::shared_ptr<OddsMatrix> RaceOdds::objOddsBracket() const {
    return Held(m_zo).objOddsBracket();
}
std::shared_ptr<OddsMatrix> RaceOdds::objOddsQuinella() const {
    return Held(m_uo).objOddsQuinella();
}
std::shared_ptr<OddsMatrix> RaceOdds::objOddsWide() const {
    return Held(m_uo).objOddsWide();
}
std::shared_ptr<OddsMatrix> RaceOdds::objOddsWideMax() const {
    return Held(m_uo).objOddsWideMax();
}
std::shared_ptr<OddsMatrix> RaceOdds::objOddsExacta() const {
    return Held(m_so).objOddsExacta();
}
std::shared_ptr<OddsMatrix> RaceOdds::objOddsTrio(int first) const {
    return Held(m_yo).objOddsTrio(first);
}

qsizetype RaceOdds::TrioCount() const {
    return m_yo ? m_yo->TrioCount() : 0;
}
