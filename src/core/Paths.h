#pragma once

#include "Platform.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

// Folders are kept with a trailing separator so a file name can simply be appended.
// Qt paths use "/" on every platform; a trailing "\" (a folder typed on Windows) is accepted as well.
QString addPathSep(const QString& path);

// Client files are named in upper case, but folders copied from Windows keep whatever case they had.
// A file is looked for by its exact name first, then by a case-insensitive match in the same folder.
namespace ClientFiles {
// Full path of the entry (file or folder) of that name in the folder, or an empty text. A name that could
// reach another folder (".", "..", a separator) or holds a control character is never found.
QString find(const QString& folder, const QString& name);
// Full path of the regular file of that name, or an empty text.
QString findFile(const QString& folder, const QString& name);
// Where to write a file of that name: the existing entry's path when there is one, else folder + name.
QString pathForWrite(const QString& folder, const QString& name);

// Called with a file's path after each whole-file read of a FolderRead. A test changes a folder through it
// at a chosen moment of a read, which no timing could do reliably.
using ReadHook = std::function<void(const QString& path)>;

// One reading of a client folder (a sale day, or a race's odds) as one snapshot. Each listing needed for a
// case-insensitive lookup is made once; the files it takes whole add up to at most kMaxFolderReadBytes.
//
// The client rewrites its files while we read them. Every whole-file read notes the file's size and
// modification time as it was opened, so the reader can ask afterwards whether any file it read has
// changed since, and read again rather than show a day made of two versions of the folder.
class FolderRead {
public:
    explicit FolderRead(ReadHook hook = {}) : m_hook(std::move(hook)) {}
    FolderRead(const FolderRead&) = delete;
    FolderRead& operator=(const FolderRead&) = delete;

    // As the free functions of the same names, with the folder listings kept.
    QString find(const QString& folder, const QString& name);
    QString findFile(const QString& folder, const QString& name);
    // As readWholeFile, noted for changedFiles; a read that would take this reading past kMaxFolderReadBytes
    // raises the overflow error instead.
    std::optional<QByteArray> readWhole(const QString& path);

    // The names (as in their folder) of the files read whole so far whose size or modification time is
    // not what it was when they were read, or that are gone; each name once.
    QStringList changedFiles() const;
    // What the files read whole so far were when read: their paths, sizes and modification times, as a
    // short text that differs whenever one of them does (a new file read, one rewritten or gone).
    QByteArray fingerprint() const;

private:
    struct ReadNote {
        QString path;
        Platform::FileStamp stamp;
    };
    QHash<QString, QHash<QString, QString>> m_listings; // folder -> (upper-case name -> actual name)
    std::vector<ReadNote> m_reads;
    qint64 m_bytes = 0;
    ReadHook m_hook;
};
} // namespace ClientFiles

// Upper bound for reading one file whole: far above any file of the client, far below trouble.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

// Upper bound for all the files one reading of a folder takes whole (one ClientFiles::FolderRead: a sale
// day, or a race's odds). The heaviest day the client writes is a few megabytes; a folder whose index
// names one huge log under a thousand names must not keep the window waiting for minutes.
constexpr qint64 kMaxFolderReadBytes = 64 * 1024 * 1024;

// The whole file, or nothing when it is not a regular file (a FIFO or a device would block the program
// for good), cannot be opened or is larger than kMaxFileBytes.
std::optional<QByteArray> readWholeFile(const QString& path);
