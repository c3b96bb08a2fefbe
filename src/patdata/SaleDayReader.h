#pragma once

#include "core/FileWarning.h"

#include <QString>

#include <memory>
#include <vector>

class Meeting;
class BetLogReader;
class RaceOdds;

// Everything known about one sale day of the client's data folder: balance, sale date, meetings and
// races with their results and bets. Created once per data folder; re-reading means a new reader.
class SaleDayReader {
public:
    SaleDayReader();
    ~SaleDayReader();
    SaleDayReader(const SaleDayReader&) = delete;
    SaleDayReader& operator=(const SaleDayReader&) = delete;

    // Reads the folder: account files, result readers, bet log, bets handed to the races. True when the
    // account file exists and the log has at least one bet line. A folder whose files change during the
    // read is read again, three times at most. Errors come out with source "AAA" and the application error
    // base added to their number.
    bool initialize();
    // The files of the day that could not be read whole, one entry each: a listed log missing or
    // unreadable, a log cut inside a record, a result or payout file of the wrong length, a file that kept
    // changing while it was read. Empty after a whole read. The figures of what was read whole are still
    // there, but a day with warnings is not one to store.
    const FileWarnings& warnings() const { return m_warnings; }

    // Builds the aggregate of one race (1-based meeting and race positions) into raceOdds.
    bool getOdds(qint16 kaisai, qint16 race);

    bool getAllKekka();
    bool getAllLog();
    void setLog();

    void setPathName(const QString& folder); // a trailing separator is added when missing
    const QString& pathName() const { return m_pathName; }
    // The download folder whose sale-date subfolder is searched for result files first; none while empty.
    void setDownPath(const QString& folder);

    const std::vector<std::unique_ptr<Meeting>>& meetings() const { return m_kaisai; }
    qsizetype kaisaiCount() const { return static_cast<qsizetype>(m_kaisai.size()); }
    // The meeting at a 1-based position; raises the index error outside 1..KaisaiCount.
    Meeting* meeting(qsizetype index) const;
    RaceOdds* raceOdds() const { return m_factory.get(); }
    BetLogReader* betLog() const { return m_log.get(); }
    const QString& saleDate() const { return m_saleDate; }
    qint32 amtZan() const { return m_amtZan; }

    // The five-character id of a race's result files, from its meeting: hexadecimal venue, the last
    // characters of year, meeting number and day number, hexadecimal race number.
    static QString resultFileId(const Meeting& meeting, qint16 raceNum);

private:
    bool readDay();
    bool readAccountFiles();

    QString m_pathName;
    std::vector<std::unique_ptr<Meeting>> m_kaisai;
    std::unique_ptr<RaceOdds> m_factory;
    std::unique_ptr<BetLogReader> m_log;
    QString m_saleDate;
    qint32 m_amtZan = 0;
    QString m_downPath;
    FileWarnings m_warnings;
};
