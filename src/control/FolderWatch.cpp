#include "FolderWatch.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

FolderWatch::FolderWatch(Timing timing, QObject* parent) : QObject(parent), m_timing(timing) {
    for (QTimer* t : {&m_quiet, &m_longest}) {
        t->setSingleShot(true);
        connect(t, &QTimer::timeout, this, &FolderWatch::settle);
    }
    m_quiet.setInterval(m_timing.quiet);
    m_longest.setInterval(m_timing.longest);
    m_poll.setInterval(m_timing.poll);
    connect(&m_poll, &QTimer::timeout, this, &FolderWatch::poll);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderWatch::changeSeen);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &FolderWatch::changeSeen);
}

void FolderWatch::watch(const QStringList& folders, const QStringList& nameFilters) {
    stop();
    m_folders = folders;
    m_nameFilters = nameFilters;
    m_folders.removeAll(QString());
    if (m_folders.isEmpty()) {
        return;
    }
    m_last = fingerprint();
    follow(m_last);
    m_poll.start();
}

void FolderWatch::stop() {
    m_folders.clear();
    m_quiet.stop();
    m_longest.stop();
    m_poll.stop();
    if (const QStringList watched = m_watcher.directories() + m_watcher.files(); !watched.isEmpty()) {
        m_watcher.removePaths(watched);
    }
    m_last.clear();
}

void FolderWatch::follow(const Fingerprint& files) {
    // The folders' entries come and go, but a file the client appends to (its day log) changes only
    // itself: each file is watched too. A folder made after the watch began (the day's download folder) is
    // taken up once it is there.
    const QStringList listed = m_watcher.directories() + m_watcher.files();
    const QSet<QString> watched(listed.cbegin(), listed.cend());
    QStringList missing;
    for (const QString& folder : m_folders) {
        if (!watched.contains(folder) && QFileInfo(folder).isDir()) {
            missing << folder;
        }
    }
    for (const auto& [path, state] : files) {
        if (!watched.contains(path)) {
            missing << path;
        }
    }
    if (!missing.isEmpty()) {
        m_watcher.addPaths(missing);
    }
}

FolderWatch::Fingerprint FolderWatch::fingerprint() const {
    Fingerprint files;
    for (const QString& folder : m_folders) {
        // Without QDir::CaseSensitive the filters match names in any case, as the client's system does.
        const QFileInfoList entries =
            QDir(folder).entryInfoList(m_nameFilters, QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo& f : entries) {
            files[f.absoluteFilePath()] = {f.size(), f.lastModified().toMSecsSinceEpoch()};
        }
    }
    return files;
}

void FolderWatch::changeSeen() {
    if (!watching()) {
        return;
    }
    // Each change puts the report off until the folders are quiet, but never past the longest wait.
    m_quiet.start();
    if (!m_longest.isActive()) {
        m_longest.start();
    }
}

void FolderWatch::settle() {
    m_quiet.stop();
    m_longest.stop();
    if (!watching()) {
        return;
    }
    Fingerprint now = fingerprint();
    follow(now);
    if (now == m_last) {
        return; // touched, but every file is as it was
    }
    m_last = std::move(now);
    emit settled();
}

void FolderWatch::poll() {
    const Fingerprint now = fingerprint();
    follow(now);
    if (!m_quiet.isActive() && now != m_last) {
        changeSeen();
    }
}
