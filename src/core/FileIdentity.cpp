#include "FileIdentity.h"

#include <QDir>
#include <QFile>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <sys/stat.h>
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
