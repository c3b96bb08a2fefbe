#pragma once

#include "WindowHost.h"
#include "core/FileWarning.h"
#include "core/Folders.h"
#include "core/Settings.h"
#include "patdata/DayTotals.h"
#include "profit/ProfitBook.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

class SaleDayReader;
class BetLogReader;
class RaceOdds;
class Meeting;
class Race;
class IFormWindow;
class ArchiveWriter;
class FolderWatch;

// One refresh of the day: what the main window shows after the folder has been read. The totals are absent
// for a day without meetings (the window keeps what it showed).
struct DayRefresh {
    std::optional<DayTotals> totals;
    QString saleDate; // yyyymmdd, empty when no sale day was read
    qint32 balance = 0;
    FileWarnings warnings; // the files the read could not take whole
};

// The one object through which every window reaches the day: it owns the settings, the reader of the
// client's data folder, the bracket colours and the profit book, refreshes the day and opens every other
// window.
class DayController : public QObject {
    Q_OBJECT
public:
    // Works in these folders: the settings in the program folder, the day in the client folder.
    explicit DayController(const Folders& folders, QObject* parent = nullptr);
    ~DayController() override;

    // Where windows are opened; not owned. Without a host no window is opened.
    void setWindowHost(IWindowHost* host) { m_host = host; }

    // Loads the settings and reads the client folder (and from then on watches it when the day refreshes
    // by itself). Errors come out with source "BBB" and the application error base added to their number.
    void start();
    // Begins reading the client folder and the book in it on another thread, for start() and loadBook()
    // to take up: the caller builds its window meanwhile.
    void readAhead();
    // Loads the book, or takes the load made ahead of it.
    void loadBook();
    // Re-reads the data folder (the one named in "VQLINK.TXT", else the client folder) and settles the new
    // day. The windows of the old day close; while the day refreshes by itself they stay and show the new
    // day instead, each as the user left it.
    void refresh();
    // Turns the refresh by itself on or off (and the settings with it). Off, nothing watches the folders.
    void setAutoRefresh(bool on);
    // The download window's run has ended: the day takes up its result files at once when it refreshes by
    // itself.
    void downloadRunEnded();
    // Sums the day just read, brings today's record of the profit book up to date, hands the day to the
    // archive and emits dayRefreshed. A day without meetings has no totals and leaves the book as it was; a
    // day not read whole (warnings) has its figures shown, but neither the book nor the archive touched.
    void settleDay();
    // Closes every other window, writes the settings, stores a waiting day, releases the data.
    void finish();
    // Closes the day profit table, the bet log and the passbook.
    void closeDayWindows();
    void showProfitTable();
    void showBetLog();
    void showPassbook();
    void showDownload();
    // Reads the race's odds and opens its detail (when it has bets) and its results (when it has them).
    // Meeting and race count from 1; a race the day does not have raises the index error.
    void showRaceDetail(int meeting, int race);
    // Closes one window when it is open (the day profit table closes the race windows it opened).
    void closeWindow(IWindowHost::Window window);
    // Hands over a day still waiting for its moment and waits until the archive has stored it.
    void flushArchive();

    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }
    // The profit book, kept in "VQPROFIT.TXT" in the client folder.
    ProfitBook& book() { return *m_book; }
    const ProfitBook& book() const { return *m_book; }

    const std::vector<std::unique_ptr<Meeting>>& meetings() const;
    BetLogReader* betLog() const;
    QString saleDate() const;
    // Bracket colours 1..8 (red in the lowest byte).
    const std::array<qint32, 8>& wakuColors() const { return m_wakuColor; }
    // The table every controller starts with; reports that run without a controller use it too.
    static const std::array<qint32, 8>& standardWakuColors();
    // The client folder, where the book and the archive live.
    const QString& clientFolder() const { return m_clientFolder; }
    // The start-up's download folder (no trailing separator); result files go to a subfolder per sale day.
    const QString& downloadFolder() const { return m_folders.download; }

signals:
    // The folder has been read and the day settled: one signal per refresh.
    void dayRefreshed(const DayRefresh& day);

private:
    static constexpr int kArchiveDelayMs = 250;
    static constexpr int kWaitForDialogMs = 1000;

    // The files the last reading of the data folder could not take whole; empty after a whole read.
    const FileWarnings& readWarnings() const;
    void readDataFolder();
    void followLink();
    void open(IWindowHost::Window window, const ShownRace* race = nullptr);
    // Fills the open windows from the day just read, the race windows with the same race.
    void refillWindows();
    // Watches the data folder and today's download folder while the day refreshes by itself.
    void followFolders();
    void refreshByItself();
    void storeArchive();
    void handDayToArchive();

    IWindowHost* m_host = nullptr;
    std::unique_ptr<SaleDayReader> m_day;
    // What readAhead() read of the client folder, each taken once: the day (or why not), which start()
    // waits for, and the book read after it on the same thread, which only loadBook() waits for.
    struct DayAhead {
        std::unique_ptr<SaleDayReader> day;
        std::exception_ptr failure;
    };
    DayAhead takeDayAhead();
    std::future<DayAhead> m_dayAhead;
    std::future<std::shared_ptr<ProfitBook::LoadAhead>> m_bookAhead;
    std::jthread m_aheadThread;
    QString m_clientFolder;
    QString m_dataFolder; // the client folder, or the folder named in the link file after a refresh
    std::array<qint32, 8> m_wakuColor{};
    Folders m_folders;
    Settings m_settings;
    std::unique_ptr<ProfitBook> m_book;
    std::unique_ptr<ArchiveWriter> m_archive; // made at the first store
    bool m_archiveReported = false;
    QByteArray m_handedFingerprint;       // of the day last handed to the archive
    bool m_archiveDue = false;            // a day waits for its moment to be handed to the archive
    std::unique_ptr<FolderWatch> m_watch; // only while the day refreshes by itself
    QStringList m_watched;
    struct ShownPlace {
        std::pair<int, int> place{0, 0}; // meeting and race, counted from 1
        qint16 venue = 0;
        qint16 raceNumber = 0;
    } m_shownRace;               // the race of the last race windows opened
    bool m_refreshing = false;   // a refresh by itself is under way (a message may be up)
    bool m_refreshAgain = false; // the folders changed again meanwhile
    bool m_refreshWaits = false; // a refresh by itself waits for a dialog to be answered
    QString m_lastAutoError;     // said once until a refresh by itself goes through
};
