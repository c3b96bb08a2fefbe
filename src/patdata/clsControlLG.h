#pragma once

#include <QString>
#include <QStringList>

// Reader of the client's bet log for one sale date: the day's tickets and the previous day's
// advance-sale tickets for that date, as sorted ticket lines (one per ticket) and bet lines (one per
// combination of every valid ticket; wheels and boxes expanded).
class clsControlLG {
public:
    clsControlLG();
    ~clsControlLG();

    void setPathName(const QString& folder); // a trailing separator is added when missing

    // False without the index file, or when no bet line came out at all.
    bool GetData(const QString& strDate);

    // Bet lines 1..LogCount and ticket lines 1..LogOmitCount (sorted); other indexes raise the index error.
    const QString& Log(qsizetype index) const;
    qsizetype LogCount() const { return m_log.size(); }
    const QString& LogOmit(qsizetype index) const;
    qsizetype LogOmitCount() const { return m_omit.size(); }
    // Number of bet lines of the day's own logs (before the previous day's advance-sale tickets).
    qsizetype BetCount() const { return m_betCount; }

    // The sorted lines of one race (sale, venue code, race number), in list order; empty when it has
    // none. Lets every race take its own lines without walking the whole log.
    QStringList LogOf(qint16 sale, qint16 venue, qint16 raceNum) const;
    QStringList LogOmitOf(qint16 sale, qint16 venue, qint16 raceNum) const;

private:
    // Appends the bet lines and ticket lines of one day log file; with advanceOnly, only its
    // advance-sale tickets, as tickets of the next day bought the day before.
    void ReadDayLog(const QString& name, bool advanceOnly);

    QString m_pathName;
    QStringList m_log;
    QStringList m_omit;
    qsizetype m_betCount = 0;
};
