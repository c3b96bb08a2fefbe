#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <thread>

// What the core asks of the operating system directly; the code for each system is in Platform.cpp, with
// the identity of a file (FileIdentity.h).
namespace Platform {

// Runs `work` on a new thread that starts on a core other than the caller's, where there is one, and may
// move anywhere once it runs. Linux places a new thread beside the one that made it, and a busy maker keeps
// it waiting there for milliseconds, sharing one core between the two, until the next balancing moves one
// away; other systems start a ready thread on an idle core of their own accord.
std::jthread startThread(std::function<void()> work);

// A file's size and modification time (milliseconds since the epoch).
struct FileStamp {
    qint64 size = 0;
    qint64 modified = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of a regular file; none when the path names no regular file or cannot be looked at.
std::optional<FileStamp> stampOf(const QString& path);

// A file read whole, and its stamp as it was opened.
struct WholeFile {
    QByteArray bytes;
    FileStamp stamp;
};

// Reads a regular file of at most maxBytes whole; none when it is no regular file (a FIFO or a device would
// block for good), cannot be opened or read, or is larger. One opening and one look at the opened file: a
// day's read takes some fifty files, and every further question to the system is paid fifty times.
std::optional<WholeFile> readRegularFile(const QString& path, qint64 maxBytes);

} // namespace Platform
