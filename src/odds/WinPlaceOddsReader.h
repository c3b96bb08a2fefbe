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

    const QString& Kaisai() const { return m_kaisai; }
    const QString& NenJi() const { return m_nenJi; }
    const QString& KaiJi() const { return m_kaiJi; }
    const QString& HiJi() const { return m_hiJi; }
    qint16 RaceNum() const { return m_raceNum; }
    const QString& TimeFlg() const { return m_timeFlg; }
    const QString& HH() const { return m_hh; }
    const QString& MM() const { return m_mm; }
    const QString& RaceName1() const { return m_raceName1; }
    const QString& RaceName2() const { return m_raceName2; }
    qint16 Tosu() const { return m_tosu; }
    // Runners whose win odds field says scratched or is blank.
    qint16 Keshi() const { return m_keshi; }

    std::shared_ptr<OddsList> objOddsWin() const { return m_win; }
    std::shared_ptr<OddsList> objOddsPlace() const { return m_place; }
    std::shared_ptr<OddsList> objOddsPlaceMax() const { return m_placeMax; }
    std::shared_ptr<OddsMatrix> objOddsBracket() const { return m_bracket; }

private:
    // The length the client writes: the race header, 18 runner records, 36 bracket pairs and three vote counts,
    // whatever the field size.
    static constexpr qsizetype kLength = 859;

    void Read(QByteArrayView data, qint16 tosu) override;

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
