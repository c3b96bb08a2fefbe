#pragma once

#include "ArchivedBet.h"

#include <QObject>
#include <QString>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Stores sale days into the archive on a thread of its own, so a refresh of the main window never
// waits for the database. Days are stored in the order given; a day given again before its turn came
// replaces the waiting one (only its latest state matters).
class ArchiveWriter : public QObject {
    Q_OBJECT
public:
    explicit ArchiveWriter(QObject* parent = nullptr);
    // Stores what is still waiting, then stops.
    ~ArchiveWriter() override;

    // Queues the day's bets for the archive in `folder`, with the fingerprint of the files they were read
    // from: a day the archive already holds with that fingerprint is not written again.
    void store(const QString& folder, const QString& saleDate, const QByteArray& fingerprint,
               std::vector<Archive::Bet> bets);
    // Waits until every queued day is stored (or failed).
    void flush();

signals:
    // From the writer's thread: the archive could not be opened or written; the text says which and why.
    void failed(const QString& message);

private:
    struct Job {
        QString folder;
        QString saleDate;
        QByteArray fingerprint;
        std::vector<Archive::Bet> bets;
    };
    void run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    std::thread m_thread;
};
