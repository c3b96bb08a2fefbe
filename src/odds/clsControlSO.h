#pragma once

#include "clsOdds2.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

// Reader of one race's exacta odds file ("SO-" + race id + ".JRA"). The table is kept as
// (first, second) only; it exists from construction and is shared.
class clsControlSO {
public:
    clsControlSO();

    void setPathName(const QString& folder); // a trailing separator is added when missing
    void setFileName(const QString& raceId); // the race id, stored unchanged

    // True only when the file exists, its first eight bytes equal strDate and its runner count is 1..18;
    // otherwise false and nothing changes.
    bool GetData(const QString& strDate);
    bool GetDataFromBytes(QByteArrayView data, const QString& strDate);

    std::shared_ptr<clsOdds2> objOddsExacta() const { return m_exacta; }

private:
    QString m_pathName;
    QString m_fileName;
    std::shared_ptr<clsOdds2> m_exacta;
};
