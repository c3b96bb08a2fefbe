#include "Meeting.h"

#include "Race.h"

#include "core/AppError.h"
#include "core/Codes.h"

Meeting::Meeting() : m_kaisai(kaisaiName(0)) {}

Meeting::~Meeting() = default;

void Meeting::setKaisaiNum(qint16 code) {
    m_kaisaiNum = code;
    m_kaisai = kaisaiName(code);
}

Race* Meeting::race(qsizetype index) const {
    if (index < 1 || index > raceCount()) {
        throw AppError::indexOutOfRange();
    }
    return m_races[static_cast<size_t>(index - 1)].get();
}

Race* Meeting::addRace(std::unique_ptr<Race> race) {
    race->setMeeting(this);
    m_races.push_back(std::move(race));
    return m_races.back().get();
}
