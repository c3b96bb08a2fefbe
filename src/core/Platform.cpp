#include "Platform.h"
#include "FileIdentity.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <latch>
#include <memory>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#if defined(Q_OS_LINUX)
#include <pthread.h>
#include <sched.h>
#endif

std::optional<FileIdentity> identityOf(const QString& path) {
#if defined(Q_OS_WIN)
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    // Attributes only, shared every way: looking must never get in the client's way.
    HANDLE handle =
        CreateFileW(native.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!ok) {
        return std::nullopt;
    }
    return FileIdentity{info.dwVolumeSerialNumber, (quint64(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
#else
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino)};
#endif
}

namespace Platform {

#if !defined(Q_OS_WIN)
namespace {
FileStamp stampFrom(const struct stat& st) {
    return {static_cast<qint64>(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1000 + static_cast<qint64>(st.st_mtim.tv_nsec / 1000000)};
}
} // namespace
#endif

std::optional<FileStamp> stampOf(const QString& path) {
#if defined(Q_OS_WIN)
    const QFileInfo info(path);
    if (!info.isFile()) {
        return std::nullopt;
    }
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch()};
#else
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    return stampFrom(st);
#endif
}

std::optional<WholeFile> readRegularFile(const QString& path, qint64 maxBytes) {
#if defined(Q_OS_WIN)
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) || file.size() > maxBytes) {
        return std::nullopt;
    }
    WholeFile read{{}, {file.size(), file.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch()}};
    read.bytes = file.read(maxBytes);
    return read;
#else
    // Not blocking: opening a FIFO for reading would wait for a writer. Reading a regular file is the same.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    std::optional<WholeFile> read;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= maxBytes) {
        read = WholeFile{QByteArray(static_cast<qsizetype>(st.st_size), Qt::Uninitialized), stampFrom(st)};
        const auto readSome = [fd](char* to, qsizetype most) {
            ssize_t n = 0;
            do {
                n = ::read(fd, to, static_cast<size_t>(most));
            } while (n < 0 && errno == EINTR);
            return n;
        };
        QByteArray& bytes = read->bytes;
        qsizetype got = 0;
        ssize_t n = 1;
        while (got < bytes.size() && (n = readSome(bytes.data() + got, bytes.size() - got)) > 0) {
            got += n;
        }
        bytes.truncate(got);
        // A file that grows while it is read is read on to its end, up to the bound.
        char more[4096];
        while (n > 0 && bytes.size() < maxBytes && (n = readSome(more, sizeof more)) > 0) {
            bytes.append(more, std::min<qsizetype>(n, maxBytes - bytes.size()));
        }
        if (n < 0) {
            read.reset();
        }
    }
    ::close(fd);
    return read;
#endif
}

std::jthread startThread(std::function<void()> work) {
#if defined(Q_OS_LINUX)
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int here = sched_getcpu();
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0 && here >= 0 && CPU_ISSET(here, &allowed) &&
        CPU_COUNT(&allowed) > 1) {
        cpu_set_t elsewhere = allowed;
        CPU_CLR(here, &elsewhere);
        // The thread is moved before it first runs, and given back every core the caller may use only
        // once it has been moved (else a thread quicker than this would stay tied to the other cores).
        auto moved = std::make_shared<std::latch>(1);
        std::jthread thread([moved, allowed, work = std::move(work)] {
            moved->wait();
            pthread_setaffinity_np(pthread_self(), sizeof allowed, &allowed);
            work();
        });
        pthread_setaffinity_np(thread.native_handle(), sizeof elsewhere, &elsewhere);
        moved->count_down();
        return thread;
    }
#endif
    return std::jthread(std::move(work));
}

} // namespace Platform
