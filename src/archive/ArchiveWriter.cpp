#include "ArchiveWriter.h"

#include "BetArchive.h"

#include <memory>

ArchiveWriter::ArchiveWriter(QObject* parent) : QObject(parent), m_thread([this] { run(); }) {}

ArchiveWriter::~ArchiveWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void ArchiveWriter::store(const QString& folder, const QString& saleDate, const QByteArray& fingerprint,
                          std::vector<Archive::Bet> bets) {
    {
        const std::lock_guard lock(m_mutex);
        Job job{folder, saleDate, fingerprint, std::move(bets)};
        bool replaced = false;
        for (Job& waiting : m_jobs) {
            if (waiting.folder == folder && waiting.saleDate == saleDate) {
                waiting = std::move(job);
                replaced = true;
                break;
            }
        }
        if (!replaced) {
            m_jobs.push_back(std::move(job));
        }
    }
    m_wake.notify_all();
}

void ArchiveWriter::flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void ArchiveWriter::run() {
    // The connection belongs to this thread; it is kept open while the folder stays the same.
    std::unique_ptr<BetArchive> archive;
    QString openFolder;
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
            if (m_jobs.empty()) {
                break; // stopping, and nothing left to store
            }
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
            m_busy = true;
        }
        if (!archive || openFolder != job.folder || !archive->isOpen()) {
            archive = std::make_unique<BetArchive>();
            openFolder = job.folder;
            archive->open(job.folder);
        }
        // The same files as stored make the same day: the write (most of a store's time) is left out.
        const bool same = archive->isOpen() && !job.fingerprint.isEmpty() &&
                          archive->storedFingerprint(job.saleDate) == job.fingerprint;
        if (!same && (!archive->isOpen() || !archive->storeDay(job.saleDate, job.bets, job.fingerprint))) {
            emit failed(archive->errorText());
        }
        {
            const std::lock_guard lock(m_mutex);
            m_busy = false;
        }
        m_idle.notify_all();
    }
    archive.reset();
}
