#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <map>
#include <utility>

// Watches the client's folders and says once when they have settled after a change. The client writes a
// day's files in a few steps (a log in two parts, a result and then its payouts), so a change is only
// reported after the folders have been quiet for a moment, and at the latest a few seconds after the first
// change of a burst. A slow poll catches what the system's watcher misses (network and copied folders);
// a change that leaves every file as it was (same names, sizes and times) is not reported at all.
class FolderWatch : public QObject {
    Q_OBJECT
public:
    struct Timing {
        std::chrono::milliseconds quiet{500};    // no change for this long: the client has finished
        std::chrono::milliseconds longest{3000}; // reported at the latest this long after a burst began
        std::chrono::milliseconds poll{30000};   // the slow look for what the watcher missed
    };

    explicit FolderWatch(QObject* parent = nullptr) : FolderWatch(Timing{}, parent) {}
    FolderWatch(Timing timing, QObject* parent = nullptr);

    // Watches these folders from now on (a folder that does not exist yet is looked for at every poll);
    // what they hold now is the state changes are measured against. Only the files whose names match
    // the filters count (all files without filters): the program's own files beside the client's (its book,
    // its settings) change at every refresh and must not start another.
    void watch(const QStringList& folders, const QStringList& nameFilters = {});
    // Stops watching: no watcher, no timer.
    void stop();
    bool watching() const { return !m_folders.isEmpty(); }

signals:
    // The folders hold something else than when last reported (or when the watch began) and have been
    // quiet since.
    void settled();

private:
    // Each file of the folders by path: its size and modification time.
    using Fingerprint = std::map<QString, std::pair<qint64, qint64>>;
    Fingerprint fingerprint() const;
    void changeSeen();
    void settle();
    void poll();
    // Watches the folders and these files of theirs, as far as not watched yet.
    void follow(const Fingerprint& files);

    Timing m_timing;
    QStringList m_folders;
    QStringList m_nameFilters;
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    QTimer m_longest;
    QTimer m_poll;
    Fingerprint m_last;
};
