#include "Platform.h"
#include "FileIdentity.h"

#include <QDir>
#include <QFile>

#include <latch>
#include <memory>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <sys/stat.h>
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
