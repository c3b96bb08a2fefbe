#include "clsKaisai.h"

#include "clsRace.h"

#include "core/AppError.h"
#include "core/Codes.h"

clsKaisai::clsKaisai() : m_kaisai(KaisaiName(0)) {}

clsKaisai::~clsKaisai() = default;

void clsKaisai::setKaisaiNum(qint16 code) {
    m_kaisaiNum = code;
    m_kaisai = KaisaiName(code);
}

clsRace* clsKaisai::objRace(qsizetype index) const {
    if (index < 1 || index > RaceCount()) {
        throw AppError::IndexOutOfRange();
    }
    return m_races[static_cast<size_t>(index - 1)].get();
}

clsRace* clsKaisai::AddRace(std::unique_ptr<clsRace> race) {
    race->setPearent(this);
    m_races.push_back(std::move(race));
    return m_races.back().get();
}
