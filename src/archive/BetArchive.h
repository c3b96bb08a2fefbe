#pragma once

#include "ArchivedBet.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

class QSqlError;

// The archive of every sale day's evaluated bets: "VQBETS.SQLITE" in the client folder. A day is stored
// as a whole in one transaction, replacing what was stored for it, so a refresh never doubles a bet and
// a crash in the middle leaves the day as it was before. Beside the bets it keeps each day's figures by
// venue and bet type, which is what a period's analysis reads.
//
// One object is one connection, to be used by the thread that opened it. The file is in WAL mode, so a
// window can read while a refresh writes.
class BetArchive {
public:
    enum class Access {
        // Makes the file when missing and keeps it in WAL mode: the writer's way.
        Write,
        // Writes nothing: a missing file is an archive with no days. Where the folder or the file cannot be
        // written, so WAL's shared-memory file cannot be made, the file is read as ReadFrozen reads it.
        Read,
        // The file as it lies, taking no lock and making no file beside it: what a read-only folder (a copy
        // on a read-only medium, another user's folder) allows. A day still in a writer's WAL file is not
        // seen, and a file written while it is read may read as damaged.
        ReadFrozen,
    };

    static QString fileName() { return QStringLiteral("VQBETS.SQLITE"); }
    // The layout this version writes. A file of a later version is left alone, never written to.
    static constexpr int kSchemaVersion = 1;

    BetArchive();
    ~BetArchive();
    BetArchive(const BetArchive&) = delete;
    BetArchive& operator=(const BetArchive&) = delete;

    // Opens the archive in `folder`, making it when missing (for Write). False, with ErrorText, when it
    // cannot be opened or made, is not an archive, or was written by a later version.
    bool open(const QString& folder, Access access = Access::Write);
    bool isOpen() const { return m_open; }
    // Why the last call failed: the file and the reason, for the one message the user sees.
    const QString& errorText() const { return m_error; }

    // Replaces the day's bets (saleDate "yyyymmdd") and figures, and the fingerprint of the client files
    // they were read from (none: unknown); only for Write.
    bool storeDay(const QString& saleDate, const std::vector<Archive::Bet>& bets, const QByteArray& fingerprint = {});
    // The fingerprint the day was last stored with; empty when none is known (no day, or one stored by an
    // earlier version). Only for Write.
    QByteArray storedFingerprint(const QString& saleDate);
    // Each reader below returns nothing, with ErrorText, when its read fails part way (a damaged page):
    // the figures of half a period must never pass for the period's.

    // The stored bets of a day in the order they were stored.
    std::vector<Archive::Bet> betsOfDay(const QString& saleDate);
    // The stored days, oldest first.
    QStringList days();
    // The day figures of the days from..to (both "yyyymmdd", both included).
    std::vector<Archive::DayFigures> figuresOf(const QString& from, const QString& to);

private:
    bool fail(const QString& what, const QString& reason);
    bool failRead(const QSqlError& error);
    bool failOpen(const QSqlError& error);
    bool exec(const QString& sql);
    bool useWal();
    bool checkVersion();
    bool makeSchema();

    QString m_connection;
    QString m_path;
    QSqlDatabase m_db;
    bool m_open = false;
    bool m_reading = false;
    bool m_empty = false; // opened for reading where nothing is stored yet
    QString m_error;
};
