#pragma once

#include "clsOdds2.h"

#include <QByteArrayView>
#include <QString>

#include <memory>

// Reader of one race's quinella and wide odds file ("UO-" + race id + ".JRA"). The tables exist from
// construction (empty, size 0), so a race without quinella sale can fill the quinella table itself
// without any file; they are shared and outlive the reader where they are taken.
class clsControlUO {
public:
    clsControlUO();

    void setPathName(const QString& folder); // a trailing separator is added when missing
    void setFileName(const QString& raceId); // the race id, stored unchanged

    // True only when the file exists, its first eight bytes equal strDate and its runner count is 1..18;
    // otherwise false and nothing changes.
    bool GetData(const QString& strDate);
    bool GetDataFromBytes(QByteArrayView data, const QString& strDate);

    std::shared_ptr<clsOdds2> objOddsQuinella() const { return m_quinella; }
    std::shared_ptr<clsOdds2> objOddsWide() const { return m_wide; }
    std::shared_ptr<clsOdds2> objOddsWideMax() const { return m_wideMax; }

private:
    QString m_pathName;
    QString m_fileName;
    std::shared_ptr<clsOdds2> m_quinella;
    std::shared_ptr<clsOdds2> m_wide;
    std::shared_ptr<clsOdds2> m_wideMax;
};
