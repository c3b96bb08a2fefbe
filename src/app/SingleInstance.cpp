#include "SingleInstance.h"

#include "Platform.h"
#include "core/LockFiles.h"
#include "core/Paths.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

namespace {
const QByteArray kRaise = "raise\n";
const QByteArray kRaised = "ok\n";
// How long a later start waits for the running copy to answer before it says so instead.
constexpr int kAnswerMs = 3000;
} // namespace

SingleInstance::SingleInstance(const QString& clientFolder, QObject* parent)
    : QObject(parent), m_folder(clientFolder), m_lock(addPathSep(clientFolder) + lockName()) {
    m_lock.setStaleLockTime(0); // held for the whole run: only an owner that is gone makes it stale
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockName() {
    return QStringLiteral("VQV50.LCK");
}

QString SingleInstance::serverName(const QString& clientFolder) {
    const QFileInfo folder(clientFolder);
    const QString canonical = folder.canonicalFilePath();
    QString path = canonical.isEmpty() ? folder.absoluteFilePath() : canonical;
    if (Platform::fileNamesIgnoreCase()) {
        path = path.toLower(); // one folder, in whatever case its path is typed
    }
    return QStringLiteral("VelqoraV50-") +
           QString::fromLatin1(QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(20));
}

SingleInstance::Claim SingleInstance::claim() {
    if (LockFiles::take(m_lock, 0)) {
        listen();
        return Claim::First;
    }
    if (m_lock.error() != QLockFile::LockFailedError) {
        return Claim::Unguarded; // a folder that cannot be written: the book cannot be saved there either
    }
    QLocalSocket socket;
    socket.connectToServer(serverName(m_folder));
    if (!socket.waitForConnected(kAnswerMs)) {
        return Claim::Unreachable;
    }
    socket.write(kRaise);
    QByteArray answer;
    while (!answer.endsWith('\n') && (socket.bytesAvailable() > 0 || socket.waitForReadyRead(kAnswerMs))) {
        answer += socket.readAll();
    }
    return answer == kRaised ? Claim::HandedOver : Claim::Unreachable;
}

void SingleInstance::listen() {
    const QString name = serverName(m_folder);
    // The socket of a copy that was killed can still be there; the lock says that copy is gone.
    QLocalServer::removeServer(name);
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        return; // the folder is still guarded by the lock; a later start says the program runs
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->canReadLine()) {
                    return;
                }
                if (socket->readLine() == kRaise) {
                    socket->write(kRaised);
                    socket->flush();
                    emit raiseRequested();
                }
                socket->disconnectFromServer();
            });
        }
    });
}
