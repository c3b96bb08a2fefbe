#pragma once

#include "OddsFile.h"
#include "OddsMatrix.h"

#include <QList>

#include <memory>

// Reader of one race's trio odds file ("YO-" + race id + ".JRA"). The odds are kept in one slice per
// runner n: cell (a, b) of slice n holds the odds of the trio {n, a, b}, so every trio sits in six cells.
// A successful read replaces the slices of an earlier one.
class TrioOddsReader final : public OddsFile {
public:
    TrioOddsReader() : OddsFile(QStringLiteral("YO-"), QStringLiteral("clsControlYO"), kLength) {}

    // The slice of runner index, 1..TrioCount; any other index raises the index error.
    std::shared_ptr<OddsMatrix> trioOdds(int index) const;
    qsizetype trioCount() const { return m_slices.size(); }

private:
    // The length the client writes: the race header, 816 horse triples and a vote count, whatever the field size.
    static constexpr qsizetype kLength = 12393;

    void parse(QByteArrayView data, qint16 tosu) override;

    QList<std::shared_ptr<OddsMatrix>> m_slices;
};
