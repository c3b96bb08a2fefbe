#pragma once

#include "clsOdds2.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <memory>

// Reader of one race's trio odds file ("YO-" + race id + ".JRA"). The odds are kept in one slice per
// runner n: cell (a, b) of slice n holds the odds of the trio {n, a, b}, so every trio sits in six cells.
class clsControlYO {
public:
    void setPathName(const QString& folder); // a trailing separator is added when missing
    void setFileName(const QString& raceId); // the race id, stored unchanged

    // True only when the file exists, its first eight bytes equal strDate and its runner count is 1..18;
    // otherwise false and nothing changes. A successful read replaces the slices of an earlier one.
    bool GetData(const QString& strDate);
    bool GetDataFromBytes(QByteArrayView data, const QString& strDate);

    // The slice of runner intIndex, 1..TrioCount; any other index raises the index error.
    std::shared_ptr<clsOdds2> objOddsTrio(int intIndex) const;
    qsizetype TrioCount() const { return m_slices.size(); }

private:
    QString m_pathName;
    QString m_fileName;
    QList<std::shared_ptr<clsOdds2>> m_slices;
};
