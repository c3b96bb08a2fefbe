#pragma once

#include "core/BetRecords.h"
#include "core/FileWarning.h"
#include "core/Paths.h"

#include <QString>

#include <memory>
#include <span>
#include <vector>

// A run of the day's bet lines, as a race holds its own. It shares the lines with the log reader that
// read them, so it stays valid on its own. Lines are packed (see BetRecords::PackBet), at 0..Count()-1.
class BetRun {
public:
    BetRun() = default;
    BetRun(std::shared_ptr<const std::vector<quint64>> lines, qsizetype begin, qsizetype count)
        : m_lines(std::move(lines)), m_begin(begin), m_count(count) {}
    qsizetype count() const { return m_count; }
    quint64 packed(qsizetype i) const { return (*m_lines)[static_cast<std::size_t>(m_begin + i)]; }

private:
    std::shared_ptr<const std::vector<quint64>> m_lines;
    qsizetype m_begin = 0;
    qsizetype m_count = 0;
};

// Reader of the client's bet log for one sale date: the day's tickets and the previous day's
// advance-sale tickets for that date, as sorted ticket lines (one per ticket) and bet lines (one per
// combination of every valid ticket; wheels and boxes expanded).
class BetLogReader {
public:
    // Reads the logs the folder's index lists for the sale date, and the previous day's advance-sale
    // tickets for it, within a reading of the whole folder when one is given. No index, no lines. A file
    // the index names more than once for a date is read once. A log that would expand past 250,000 bet
    // lines (the heaviest day the client can write has 108,000) raises the overflow error.
    static BetLogReader read(const QString& folder, const QString& saleDate, ClientFiles::FolderRead* within = nullptr);
    BetLogReader(BetLogReader&&) noexcept;
    BetLogReader& operator=(BetLogReader&&) noexcept;
    ~BetLogReader();

    // Bet lines 1..LogCount and ticket lines 1..LogOmitCount (sorted) as texts; other indexes raise the index
    // error.
    QString log(qsizetype index) const;
    qsizetype logCount() const { return static_cast<qsizetype>(m_bets->size()); }
    QString logOmit(qsizetype index) const;
    qsizetype logOmitCount() const { return static_cast<qsizetype>(m_omit.size()); }
    // Number of bet lines of the day's own logs (before the previous day's advance-sale tickets).
    qsizetype betCount() const { return m_betCount; }
    // The logs that could not be read whole: listed but missing or unreadable, cut
    // inside a record, or holding fewer records than their header declares. Their whole records count.
    const FileWarnings& warnings() const { return m_warnings; }

    // The lines of one race (sale, venue code, race number), in list order; empty when it has none. Lets
    // every race take its own lines without walking the whole log. The bet run shares the lines and stays
    // valid on its own; the ticket lines are valid while the reader lives.
    BetRun logOf(qint16 sale, qint16 venue, qint16 raceNum) const;
    std::span<const TicketLine> logOmitOf(qint16 sale, qint16 venue, qint16 raceNum) const;

private:
    explicit BetLogReader(const QString& folder);
    void readDays(const QString& saleDate, ClientFiles::FolderRead& files);

    QString m_pathName;
    // Packed bet lines (payout and hit flag 0), shared with the races that took their runs of them.
    std::shared_ptr<std::vector<quint64>> m_bets;
    std::vector<TicketLine> m_omit; // fitted to their text form
    qsizetype m_betCount = 0;
    FileWarnings m_warnings;
};
