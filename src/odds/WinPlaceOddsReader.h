#pragma once

#include "OddsFile.h"
#include "OddsList.h"
#include "OddsMatrix.h"

#include <memory>

// Reader of one race's win, place and bracket quinella odds file ("ZO-" + race id + ".JRA"): the race
// header, the win odds, the place odds range of every runner and the bracket quinella odds of every
// bracket pair. The tables exist from construction and are shared: whoever takes them may keep them after
// the reader is gone.
class WinPlaceOddsReader final : public OddsFile {
public:
    WinPlaceOddsReader() : OddsFile(QStringLiteral("ZO-"), QStringLiteral("clsControlZO"), kLength) {}

    const QString& kaisai() const { return m_kaisai; }
    const QString& nenJi() const { return m_nenJi; }
    const QString& kaiJi() const { return m_kaiJi; }
    const QString& hiJi() const { return m_hiJi; }
    qint16 raceNum() const { return m_raceNum; }
    const QString& timeFlg() const { return m_timeFlg; }
    const QString& hh() const { return m_hh; }
    const QString& mm() const { return m_mm; }
    const QString& raceName1() const { return m_raceName1; }
    const QString& raceName2() const { return m_raceName2; }
    qint16 tosu() const { return m_tosu; }
    // Runners whose win odds field says scratched or is blank.
    qint16 keshi() const { return m_keshi; }

    std::shared_ptr<OddsList> winOdds() const { return m_win; }
    std::shared_ptr<OddsList> placeOdds() const { return m_place; }
    std::shared_ptr<OddsList> placeMaxOdds() const { return m_placeMax; }
    std::shared_ptr<OddsMatrix> bracketOdds() const { return m_bracket; }

private:
    // The length the client writes: the race header, 18 runner records, 36 bracket pairs and three vote counts,
    // whatever the field size.
    static constexpr qsizetype kLength = 859;

    void parse(QByteArrayView data, qint16 tosu) override;

    std::shared_ptr<OddsList> m_win = std::make_shared<OddsList>();
    std::shared_ptr<OddsList> m_place = std::make_shared<OddsList>();
    std::shared_ptr<OddsList> m_placeMax = std::make_shared<OddsList>();
    std::shared_ptr<OddsMatrix> m_bracket = std::make_shared<OddsMatrix>();
    QString m_kaisai;
    QString m_nenJi;
    QString m_kaiJi;
    QString m_hiJi;
    qint16 m_raceNum = 0;
    QString m_timeFlg;
    QString m_hh;
    QString m_mm;
    QString m_raceName1;
    QString m_raceName2;
    qint16 m_tosu = 0;
    qint16 m_keshi = 0;
};
