#include "SingleInstance.h"

#include "core/LockFiles.h"
#include "core/Paths.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileSystemWatcher>
#include <QThread>

namespace {
// How long a later start waits for the running copy to take its request before it says so instead.
constexpr int kAnswerMs = 3000;
constexpr int kLookEveryMs = 10;
} // namespace

SingleInstance::SingleInstance(const QString& clientFolder, QObject* parent)
    : QObject(parent), m_folder(addPathSep(clientFolder)), m_lock(m_folder + lockName()) {
    m_lock.setStaleLockTime(0); // held for the whole run: only an owner that is gone makes it stale
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockName() {
    return QStringLiteral("VQV50.LCK");
}

QString SingleInstance::requestName() {
    return QStringLiteral("VQV50.RQS");
}

QString SingleInstance::requestPath() const {
    return m_folder + requestName();
}

SingleInstance::Claim SingleInstance::claim() {
    if (LockFiles::take(m_lock, 0)) {
        QFile::remove(requestPath()); // left by a start that gave up on a copy that is gone
        answerRequests();
        return Claim::First;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        return Claim::Unguarded; // a folder that cannot be written: the book cannot be saved there either
    }
    // A request already waiting is another start's: this one waits for the same answer.
    QFile request(requestPath());
    if (!request.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !request.exists()) {
        return Claim::Unreachable;
    }
    request.close();
    const QDeadlineTimer deadline(kAnswerMs);
    while (!deadline.hasExpired()) {
        if (!QFile::exists(requestPath())) {
            return Claim::HandedOver;
        }
        QThread::msleep(kLookEveryMs);
    }
    QFile::remove(requestPath());
    return Claim::Unreachable;
}

void SingleInstance::answerRequests() {
    m_watch = std::make_unique<QFileSystemWatcher>(QStringList{m_folder});
    connect(m_watch.get(), &QFileSystemWatcher::directoryChanged, this, &SingleInstance::takeRequest);
}

void SingleInstance::takeRequest() {
    // Of two notices of one request, only the first finds the file to take.
    if (QFile::remove(requestPath())) {
        emit raiseRequested();
    }
}
