#pragma once

#include "ArchivedBet.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

// The archive of every sale day's evaluated bets: "VQBETS.SQLITE" in the client folder. A day is stored
// as a whole in one transaction, replacing what was stored for it, so a refresh never doubles a bet and
// a crash in the middle leaves the day as it was before. Beside the bets it keeps each day's figures by
// venue and bet type, which is what a period's analysis reads.
//
// One object is one connection, to be used by the thread that opened it. The file is in WAL mode, so a
// window can read while a refresh writes.
class BetArchive {
public:
    static QString FileName() { return QStringLiteral("VQBETS.SQLITE"); }
    // The layout this version writes. A file of a later version is left alone, never written to.
    static constexpr int kSchemaVersion = 1;

    BetArchive();
    ~BetArchive();
    BetArchive(const BetArchive&) = delete;
    BetArchive& operator=(const BetArchive&) = delete;

    // Opens the archive in `folder`, making it when missing. False, with ErrorText, when it cannot be
    // opened or made, is not an archive, or was written by a later version.
    bool Open(const QString& folder);
    bool IsOpen() const { return m_open; }
    // Why the last call failed: the file and the reason, for the one message the user sees.
    const QString& ErrorText() const { return m_error; }

    // Replaces the day's bets (saleDate "yyyymmdd") and figures.
    bool StoreDay(const QString& saleDate, const std::vector<Archive::Bet>& bets);
    // The stored bets of a day in the order they were stored.
    std::vector<Archive::Bet> BetsOfDay(const QString& saleDate);
    // The stored days, oldest first.
    QStringList Days();
    // The day figures of the days from..to (both "yyyymmdd", both included).
    std::vector<Archive::DayFigures> FiguresOf(const QString& from, const QString& to);

private:
    bool Fail(const QString& what, const QString& reason);
    bool Exec(const QString& sql);
    bool UseWal();
    bool CheckVersion();
    bool MakeSchema();

    QString m_connection;
    QString m_path;
    QSqlDatabase m_db;
    bool m_open = false;
    QString m_error;
};
