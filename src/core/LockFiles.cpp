#include "LockFiles.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLockFile>

namespace {
// Far longer than a process takes between making its lock file and writing itself into it.
constexpr qint64 kOwnerlessMs = 1000;
constexpr int kPollMs = 50;

bool ownerless(const QLockFile& lock, const QString& path) {
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock.getLockInfo(&pid, &host, &app)) {
        return false;
    }
    const QFileInfo info(path);
    return info.exists() && info.lastModified().msecsTo(QDateTime::currentDateTime()) > kOwnerlessMs;
}
} // namespace

namespace LockFiles {
bool take(QLockFile& lock, int waitMs) {
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        const int slice = static_cast<int>(qBound(qint64{0}, deadline.remainingTime(), qint64{kPollMs}));
        if (lock.tryLock(slice)) {
            return true;
        }
        if (lock.error() != QLockFile::LockFailedError) {
            return false;
        }
        if (ownerless(lock, lock.fileName())) {
            lock.removeStaleLockFile();
            if (lock.tryLock(0)) {
                return true;
            }
        }
        if (deadline.hasExpired()) {
            return false;
        }
    }
}
} // namespace LockFiles
