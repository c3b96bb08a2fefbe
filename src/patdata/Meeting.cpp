#include "Meeting.h"

#include "Race.h"

#include "core/AppError.h"
#include "core/Codes.h"

Meeting::Meeting() : m_kaisai(KaisaiName(0)) {}

Meeting::~Meeting() = default;

void Meeting::setKaisaiNum(qint16 code) {
    m_kaisaiNum = code;
    m_kaisai = KaisaiName(code);
}

Race* Meeting::objRace(qsizetype index) const {
    if (index < 1 || index > RaceCount()) {
        throw AppError::IndexOutOfRange();
    }
    return m_races[static_cast<size_t>(index - 1)].get();
}

Race* Meeting::AddRace(std::unique_ptr<Race> race) {
    race->setPearent(this);
    m_races.push_back(std::move(race));
    return m_races.back().get();
}
