// Placeholder so the tree links; the reader itself is being written.
#include "clsControlKS.h"

#include "core/AppError.h"
#include "core/Paths.h"

clsControlKS::clsControlKS() = default;
clsControlKS::~clsControlKS() = default;

void clsControlKS::setPathName(const QString& folder) { m_pathName = AddPathSep(folder); }
void clsControlKS::setFileName(const QString& raceId) { m_fileName = raceId; }
void clsControlKS::setTosu(qint16 tosu) { m_tosu = tosu; }

bool clsControlKS::GetData(const QString&) { return false; }

const QString& clsControlKS::Kekka(qsizetype index) const {
    if (index < 1 || index > m_kekka.size()) {
        throw AppError::IndexOutOfRange();
    }
    return m_kekka[index - 1];
}

const clsControlKS::Finisher& clsControlKS::Slot(int index) const {
    if (index < 1 || index > 5) {
        throw AppError::IndexOutOfRange();
    }
    return m_finishers[index - 1];
}

qint16 clsControlKS::Chaku(int index) const { return Slot(index).Chaku; }
qint16 clsControlKS::Num(int index) const { return Slot(index).Num; }
qint16 clsControlKS::WakuNum(int index) const { return Slot(index).WakuNum; }
const QString& clsControlKS::UmaName(int index) const { return Slot(index).UmaName; }
const QString& clsControlKS::Diff(int index) const { return Slot(index).Diff; }
