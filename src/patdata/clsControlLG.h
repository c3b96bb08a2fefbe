#pragma once

#include "core/BetRecords.h"

#include <QString>

#include <span>
#include <vector>

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

    // Bet lines 1..LogCount and ticket lines 1..LogOmitCount (sorted) as texts; other indexes raise the index
    // error.
    QString Log(qsizetype index) const;
    qsizetype LogCount() const { return static_cast<qsizetype>(m_log.size()); }
    QString LogOmit(qsizetype index) const;
    qsizetype LogOmitCount() const { return static_cast<qsizetype>(m_omit.size()); }
    // Number of bet lines of the day's own logs (before the previous day's advance-sale tickets).
    qsizetype BetCount() const { return m_betCount; }

    // The lines of one race (sale, venue code, race number), in list order; empty when it has none. Lets
    // every race take its own lines without walking the whole log. Valid while the reader lives.
    std::span<const udtLog> LogOf(qint16 sale, qint16 venue, qint16 raceNum) const;
    std::span<const udtOmit> LogOmitOf(qint16 sale, qint16 venue, qint16 raceNum) const;

private:
    // Appends the bet lines and ticket lines of one day log file; with advanceOnly, only its
    // advance-sale tickets, as tickets of the next day bought the day before.
    void ReadDayLog(const QString& name, bool advanceOnly);

    QString m_pathName;
    std::vector<udtLog> m_log; // held as records, always fitted to their text form
    std::vector<udtOmit> m_omit;
    qsizetype m_betCount = 0;
};
