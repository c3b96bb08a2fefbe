#pragma once

#include "core/FileWarning.h"
#include "core/Paths.h"

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
    // Reads the folder: account files, result readers, bet log, bets handed to the races. Results are
    // looked for first in downloadFolder's subfolder named by the sale date (none while it is empty). A
    // folder without account files gives a day without meetings; one without bets a day without a bet
    // log. A folder whose files change during the read is read again, three times at most. Errors come out
    // with source "AAA" and the application error base added to their number.
    static SaleDayReader read(const QString& folder, const QString& downloadFolder = QString(),
                              ClientFiles::ReadHook hook = {});
    SaleDayReader(SaleDayReader&&) noexcept;
    SaleDayReader& operator=(SaleDayReader&&) noexcept;
    ~SaleDayReader();
    // The files of the day that could not be read whole, one entry each: a listed log missing or
    // unreadable, a log cut inside a record, a result or payout file of the wrong length, a file that kept
    // changing while it was read. Empty after a whole read. The figures of what was read whole are still
    // there, but a day with warnings is not one to store.
    const FileWarnings& warnings() const { return m_warnings; }
    // The files the day was read from, as they were (FolderRead::fingerprint); empty for a day not read
    // whole. The same fingerprint means the same day.
    const QByteArray& fingerprint() const { return m_fingerprint; }

    // Builds the aggregate of one race (1-based meeting and race positions) into raceOdds.
    bool readRaceOdds(qint16 kaisai, qint16 race);

    const QString& pathName() const { return m_pathName; }

    const std::vector<std::unique_ptr<Meeting>>& meetings() const { return m_meetings; }
    qsizetype kaisaiCount() const { return static_cast<qsizetype>(m_meetings.size()); }
    // The meeting at a 1-based position; raises the index error outside 1..KaisaiCount.
    Meeting* meeting(qsizetype index) const;
    RaceOdds* raceOdds() const { return m_raceOdds.get(); }
    // The day's bet log; none when the folder has no account files or no bet line came out.
    BetLogReader* betLog() const { return m_betLog.get(); }
    const QString& saleDate() const { return m_saleDate; }
    qint32 amtZan() const { return m_amtZan; }

    // The five-character id of a race's result files, from its meeting: hexadecimal venue, the last
    // characters of year, meeting number and day number, hexadecimal race number.
    static QString resultFileId(const Meeting& meeting, qint16 raceNum);

private:
    SaleDayReader(const QString& folder, const QString& downloadFolder);
    void readDay(ClientFiles::FolderRead& files);
    bool readAccountFiles(ClientFiles::FolderRead& files);
    void readResults(ClientFiles::FolderRead& files);
    void handBetsToRaces();

    QString m_pathName;
    std::vector<std::unique_ptr<Meeting>> m_meetings;
    std::unique_ptr<RaceOdds> m_raceOdds;
    std::unique_ptr<BetLogReader> m_betLog;
    QString m_saleDate;
    qint32 m_amtZan = 0;
    QString m_downPath;
    FileWarnings m_warnings;
    QByteArray m_fingerprint;
};
