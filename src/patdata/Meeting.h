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

    qint16 KaisaiNum() const { return m_kaisaiNum; }
    void setKaisaiNum(qint16 code); // also sets Kaisai from the venue table
    const QString& Kaisai() const { return m_kaisai; }
    const QString& Nendo() const { return m_nendo; }
    void setNendo(const QString& v) { m_nendo = v; }
    const QString& KaiJi() const { return m_kaiJi; }
    void setKaiJi(const QString& v) { m_kaiJi = v; }
    const QString& HiJi() const { return m_hiJi; }
    void setHiJi(const QString& v) { m_hiJi = v; }
    const QString& CurDate() const { return m_curDate; }
    void setCurDate(const QString& v) { m_curDate = v; }

    // The race at a 1-based position of colRace (position, not race number); raises the index error
    // outside 1..RaceCount.
    Race* objRace(qsizetype index) const;
    qsizetype RaceCount() const { return static_cast<qsizetype>(m_races.size()); }
    const std::vector<std::unique_ptr<Race>>& colRace() const { return m_races; }
    // Appends the race, makes this meeting its parent and returns it.
    Race* AddRace(std::unique_ptr<Race> race);

private:
    qint16 m_kaisaiNum = 0;
    QString m_kaisai;
    QString m_nendo;
    QString m_kaiJi;
    QString m_hiJi;
    QString m_curDate;
    std::vector<std::unique_ptr<Race>> m_races;
};
