#pragma once

#include "WindowHost.h"
#include "core/FileWarning.h"
#include "core/Folders.h"
#include "core/Settings.h"
#include "patdata/DayTotals.h"

#include <QObject>
#include <QString>

#include <array>
#include <memory>
#include <optional>
#include <vector>

class SaleDayReader;
class BetLogReader;
class RaceOdds;
class Meeting;
class Race;
class IFormWindow;
class ProfitBook;
class ArchiveWriter;

// The one object through which every window reaches the data: it owns the settings, the reader of the
// client's data folder, the selected meeting and race, the bracket colours, the day's totals and the
// profit book, and it opens every other window.
class DayController : public QObject {
    Q_OBJECT
public:
    // Works in these folders: the settings in the program folder, the day in the client folder.
    explicit DayController(const Folders& folders, QObject* parent = nullptr);
    ~DayController() override;

    // Where windows are opened; not owned. Without a host no window is opened.
    void setWindowHost(IWindowHost* host) { m_host = host; }

    // Loads the settings and reads the client folder. Errors come out with source "BBB" and the
    // application error base added to their number.
    bool initialize();
    // Re-reads the data folder (the one named in "VQLINK.TXT", else the client folder) and raises
    // ReInitialized.
    bool reInitialize();
    // Closes every other window, writes the settings, releases the data.
    void terminate();
    // Closes the day profit table, the bet log and the record editor.
    void closeChildren();
    // Builds the aggregate of the selected race.
    bool getData();
    void showProfit();
    void showLog();
    void showDetail();
    void showRecord();
    void showBrowser();
    // Sets the data path from the link file in the client folder.
    void changePath();
    // Closes one window when it is open (the day profit table closes the race windows it opened).
    void unloadWindow(IWindowHost::Window window);
    // True when the window's slot holds a place (see Settings::LoadForm).
    bool loadForm(IFormWindow& window, bool top, bool left, bool height, bool width) const;
    void saveForm(const IFormWindow& window);

    // Profit book (kept in "VQPROFIT.TXT" in the client folder).
    void deleteRecord(const QString& date);
    void checkRecord(qint32 stake, qint32 payout, qint32 tomorrowStake, qint32 yesterdayStake, const QString& saleDate,
                     qint16 updateMode, qint16 processMode);
    void getRecord();
    // Sums the day's totals over every race of every meeting, keeps them (AmtPay ... AmtYet) and brings
    // today's record of the profit book up to date; the main window runs it after every reading of the
    // folder. A day without meetings has no totals: the kept ones and the book stay as they were. A day
    // not read whole (ReadWarnings) has its totals kept, but the book is not touched.
    std::optional<DayTotals> updateDayTotals();
    // Stores the day's evaluated bets in the bet archive of the client folder, a moment later (after the
    // window's paint) and on the archive's own thread; UpdateDayTotals does it after every reading. The
    // first failure is reported, later ones not. A day not read whole is never stored.
    void storeArchive();
    // The files the last reading of the data folder could not take whole; empty after a whole read.
    const FileWarnings& readWarnings() const;
    // Hands over a day still waiting for its moment and waits until the archive has stored it.
    void flushArchive();
    static constexpr int kArchiveDelayMs = 250;
    const ProfitBook& book() const { return *m_book; }
    qsizetype pastCount() const;
    QString pastDate(qsizetype i) const;
    qint32 pastBuy(qsizetype i) const;
    qint32 pastPay(qsizetype i) const;
    qint32 pastProfit(qsizetype i) const;
    qint16 pastUpdate(qsizetype i) const;
    qsizetype bestCount() const;
    QString bestDate(qsizetype i) const;
    qint32 bestBuy(qsizetype i) const;
    qint32 bestPay(qsizetype i) const;
    qint32 bestProfit(qsizetype i) const;
    qsizetype worstCount() const;
    QString worstDate(qsizetype i) const;
    qint32 worstBuy(qsizetype i) const;
    qint32 worstPay(qsizetype i) const;
    qint32 worstProfit(qsizetype i) const;
    qint64 totalBuy() const;
    qint64 totalPay() const;
    qint64 totalProfit() const;

    const std::vector<std::unique_ptr<Meeting>>& meetings() const;
    SaleDayReader* saleDay() const { return m_pat.get(); }
    RaceOdds* raceOdds() const;
    BetLogReader* betLog() const;
    qint16 curKaisai() const { return m_curKaisai; }
    void setCurKaisai(qint16 v) { m_curKaisai = v; }
    qint16 curRace() const { return m_curRace; }
    void setCurRace(qint16 v) { m_curRace = v; }
    // The selected race (CurKaisai, CurRace); raises the index error when there is none at that place.
    const Race& currentRace() const;
    // Bracket colours 1..8 (red in the lowest byte); any other index raises the index error.
    qint32 wakuColor(int index) const;
    const std::array<qint32, 8>& wakuColors() const { return m_wakuColor; }
    // The table every controller starts with; reports that run without a controller use it too.
    static const std::array<qint32, 8>& standardWakuColors();
    QString saleDate() const;
    qint32 amtZandaka() const;

    qint32 posTop(int slot) const { return m_settings.posTop(slot); }
    void setPosTop(int slot, qint32 v) { m_settings.setPosTop(slot, v); }
    qint32 posLeft(int slot) const { return m_settings.posLeft(slot); }
    void setPosLeft(int slot, qint32 v) { m_settings.setPosLeft(slot, v); }
    qint32 height(int slot) const { return m_settings.height(slot); }
    void setHeight(int slot, qint32 v) { m_settings.setHeight(slot, v); }
    qint32 width(int slot) const { return m_settings.width(slot); }
    void setWidth(int slot, qint32 v) { m_settings.setWidth(slot, v); }

    const QString& patPath() const { return m_patPath; }
    void setPatPath(const QString& v);
    // The folder actually read: PatPath, or the folder named in the link file after a refresh.
    const QString& dataPath() const { return m_dataPath; }
    qint16 position() const { return m_settings.position(); }
    void setPosition(qint16 v) { m_settings.setPosition(v); }
    qint16 dispMode() const { return m_settings.dispMode(); }
    void setDispMode(qint16 v) { m_settings.setDispMode(v); }
    qint32 backColor() const { return m_settings.backColor(); }
    void setBackColor(qint32 v) { m_settings.setBackColor(v); }
    qint32 foreColor() const { return m_settings.foreColor(); }
    void setForeColor(qint32 v) { m_settings.setForeColor(v); }
    qint16 button() const { return m_settings.button(); }
    const QString& resultSite() const { return m_settings.resultSite(); }
    void setResultSite(const QString& v) { m_settings.setResultSite(v); }
    // The start-up's download folder (no trailing separator); result files go to a subfolder per sale day.
    const QString& downPath() const { return m_downPath; }
    void setButton(qint32 v) { m_settings.setButton(v); }

    // The day's totals of the last UpdateDayTotals that found meetings.
    qint32 amtBuy() const { return m_dayTotals.amtBuy; }
    qint32 amtPay() const { return m_dayTotals.amtPay; }
    qint32 amtBuyTomorrow() const { return m_dayTotals.amtBuyTomorrow; }
    qint32 amtBuyYesterday() const { return m_dayTotals.amtBuyYesterday; }
    qint32 amtYet() const { return m_dayTotals.amtYet; }

signals:
    // The ReInitialize event: the data folder has just been read again.
    void reInitialized();

private:
    void readDataFolder();
    void open(IWindowHost::Window window);

    IWindowHost* m_host = nullptr;
    std::unique_ptr<SaleDayReader> m_pat;
    QString m_patPath;
    QString m_dataPath;
    QString m_downPath; // the start-up's download folder; results there come before the client's own
    qint16 m_curKaisai = 0;
    qint16 m_curRace = 0;
    std::array<qint32, 8> m_wakuColor{};
    Folders m_folders;
    Settings m_settings;
    DayTotals m_dayTotals;
    std::unique_ptr<ProfitBook> m_book;
    std::unique_ptr<ArchiveWriter> m_archive; // made at the first store
    bool m_archiveReported = false;
    bool m_archiveDue = false; // a day waits for its moment to be handed to the archive
    void handDayToArchive();
};
