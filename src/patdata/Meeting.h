#pragma once

#include <QString>

#include <memory>
#include <vector>

class Race;

// One race meeting of the sale day: a venue day with its races (the day's twelve, then the next
// day's advance-sale races).
class Meeting {
public:
    Meeting();
    ~Meeting();
    Meeting(const Meeting&) = delete;
    Meeting& operator=(const Meeting&) = delete;

    qint16 kaisaiNum() const { return m_kaisaiNum; }
    void setKaisaiNum(qint16 code); // also sets Kaisai from the venue table
    const QString& kaisai() const { return m_kaisai; }
    const QString& nendo() const { return m_nendo; }
    void setNendo(const QString& v) { m_nendo = v; }
    const QString& kaiJi() const { return m_kaiJi; }
    void setKaiJi(const QString& v) { m_kaiJi = v; }
    const QString& hiJi() const { return m_hiJi; }
    void setHiJi(const QString& v) { m_hiJi = v; }
    const QString& saleDate() const { return m_saleDate; }
    void setSaleDate(const QString& v) { m_saleDate = v; }

    // The race at a 1-based position of races (position, not race number); raises the index error
    // outside 1..RaceCount.
    Race* race(qsizetype index) const;
    qsizetype raceCount() const { return static_cast<qsizetype>(m_races.size()); }
    const std::vector<std::unique_ptr<Race>>& races() const { return m_races; }
    // Appends the race, makes this meeting its parent and returns it.
    Race* addRace(std::unique_ptr<Race> race);

private:
    qint16 m_kaisaiNum = 0;
    QString m_kaisai;
    QString m_nendo;
    QString m_kaiJi;
    QString m_hiJi;
    QString m_saleDate;
    std::vector<std::unique_ptr<Race>> m_races;
};
