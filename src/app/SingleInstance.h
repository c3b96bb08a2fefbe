#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QFileSystemWatcher;

// One copy of the program per client folder. Two copies on one folder would stack their windows on one
// spot and each keep the day in memory; the first copy holds a lock file in the client folder for its
// whole run. A later start leaves a request file beside the lock and ends: the running copy takes the
// request away and comes to the front. (Files rather than a local socket: the program then starts
// without the network library.)
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Claim {
        First,       // this copy runs; the lock is held until it ends
        HandedOver,  // another copy runs on the folder and was asked to come to the front
        Unreachable, // another copy holds the folder but did not answer
        Unguarded,   // no lock file can be made in the folder (read-only): this copy runs unguarded
    };

    explicit SingleInstance(const QString& clientFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    Claim claim();

    static QString lockName();    // "VQV50.LCK", in the client folder
    static QString requestName(); // "VQV50.RQS", in the client folder while a later start waits

signals:
    // A later start on the same folder asked this copy to come to the front.
    void raiseRequested();

private:
    void answerRequests();
    void takeRequest();
    QString requestPath() const;

    QString m_folder;
    QLockFile m_lock;
    std::unique_ptr<QFileSystemWatcher> m_watch;
};
