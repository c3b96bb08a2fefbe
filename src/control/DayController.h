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
    bool Initialize();
    // Re-reads the data folder (the one named in "VQLINK.TXT", else the client folder) and raises
    // ReInitialized.
    bool ReInitialize();
    // Closes every other window, writes the settings, releases the data.
    void Terminate();
    // Closes the day profit table, the bet log and the record editor.
    void CloseChildren();
    // Builds the aggregate of the selected race.
    bool GetData();
    void ShowProfit();
    void ShowLog();
    void ShowDetail();
    void ShowRecord();
    void ShowBrowser();
    // Sets the data path from the link file in the client folder.
    void ChangePath();
    // Closes one window when it is open (the day profit table closes the race windows it opened).
    void UnloadWindow(IWindowHost::Window window);
    // True when the window's slot holds a place (see Settings::LoadForm).
    bool LoadForm(IFormWindow& window, bool top, bool left, bool height, bool width) const;
    void SaveForm(const IFormWindow& window);

    // Profit book (kept in "VQPROFIT.TXT" in the client folder).
    void DeleteRecord(const QString& strDate);
    void CheckRecord(qint32 lngAmtBuy, qint32 lngAmtPay, qint32 lngAmtBuyTomorrow, qint32 lngAmtBuyYesterday,
                     const QString& strCurDate, qint16 intUpdate, qint16 intProcess);
    void GetRecord();
    // Sums the day's totals over every race of every meeting, keeps them (AmtPay ... AmtYet) and brings
    // today's record of the profit book up to date; the main window runs it after every reading of the
    // folder. A day without meetings has no totals: the kept ones and the book stay as they were. A day
    // not read whole (ReadWarnings) has its totals kept, but the book is not touched.
    std::optional<DayTotals> UpdateDayTotals();
    // Stores the day's evaluated bets in the bet archive of the client folder, a moment later (after the
    // window's paint) and on the archive's own thread; UpdateDayTotals does it after every reading. The
    // first failure is reported, later ones not. A day not read whole is never stored.
    void StoreArchive();
    // The files the last reading of the data folder could not take whole; empty after a whole read.
    const FileWarnings& ReadWarnings() const;
    // Hands over a day still waiting for its moment and waits until the archive has stored it.
    void FlushArchive();
    static constexpr int kArchiveDelayMs = 250;
    const ProfitBook& Book() const { return *m_book; }
    qsizetype PastCount() const;
    QString PastDate(qsizetype i) const;
    qint32 PastBuy(qsizetype i) const;
    qint32 PastPay(qsizetype i) const;
    qint32 PastProfit(qsizetype i) const;
    qint16 PastUpdate(qsizetype i) const;
    qsizetype BestCount() const;
    QString BestDate(qsizetype i) const;
    qint32 BestBuy(qsizetype i) const;
    qint32 BestPay(qsizetype i) const;
    qint32 BestProfit(qsizetype i) const;
    qsizetype WorstCount() const;
    QString WorstDate(qsizetype i) const;
    qint32 WorstBuy(qsizetype i) const;
    qint32 WorstPay(qsizetype i) const;
    qint32 WorstProfit(qsizetype i) const;
    qint64 TotalBuy() const;
    qint64 TotalPay() const;
    qint64 TotalProfit() const;

    const std::vector<std::unique_ptr<Meeting>>& colKaisai() const;
    SaleDayReader* objPAT() const { return m_pat.get(); }
    RaceOdds* objFactory() const;
    BetLogReader* objLog() const;
    qint16 CurKaisai() const { return m_curKaisai; }
    void setCurKaisai(qint16 v) { m_curKaisai = v; }
    qint16 CurRace() const { return m_curRace; }
    void setCurRace(qint16 v) { m_curRace = v; }
    // The selected race (CurKaisai, CurRace); raises the index error when there is none at that place.
    const Race& objCurRace() const;
    // Bracket colours 1..8 (red in the lowest byte); any other index raises the index error.
    qint32 WakuColor(int index) const;
    const std::array<qint32, 8>& WakuColors() const { return m_wakuColor; }
    // The table every controller starts with; reports that run without a controller use it too.
    static const std::array<qint32, 8>& StandardWakuColors();
    QString CurDate() const;
    qint32 AmtZandaka() const;

    qint32 PosTop(int slot) const { return m_settings.PosTop(slot); }
    void setPosTop(int slot, qint32 v) { m_settings.setPosTop(slot, v); }
    qint32 PosLeft(int slot) const { return m_settings.PosLeft(slot); }
    void setPosLeft(int slot, qint32 v) { m_settings.setPosLeft(slot, v); }
    qint32 Height(int slot) const { return m_settings.Height(slot); }
    void setHeight(int slot, qint32 v) { m_settings.setHeight(slot, v); }
    qint32 Width(int slot) const { return m_settings.Width(slot); }
    void setWidth(int slot, qint32 v) { m_settings.setWidth(slot, v); }

    const QString& PatPath() const { return m_patPath; }
    void setPatPath(const QString& v);
    // The folder actually read: PatPath, or the folder named in the link file after a refresh.
    const QString& DataPath() const { return m_dataPath; }
    qint16 Position() const { return m_settings.Position(); }
    void setPosition(qint16 v) { m_settings.setPosition(v); }
    qint16 DispMode() const { return m_settings.DispMode(); }
    void setDispMode(qint16 v) { m_settings.setDispMode(v); }
    qint32 BackColor() const { return m_settings.BackColor(); }
    void setBackColor(qint32 v) { m_settings.setBackColor(v); }
    qint32 ForeColor() const { return m_settings.ForeColor(); }
    void setForeColor(qint32 v) { m_settings.setForeColor(v); }
    qint16 Button() const { return m_settings.Button(); }
    const QString& ResultSite() const { return m_settings.ResultSite(); }
    void setResultSite(const QString& v) { m_settings.setResultSite(v); }
    // The start-up's download folder (no trailing separator); result files go to a subfolder per sale day.
    const QString& DownPath() const { return m_downPath; }
    void setButton(qint32 v) { m_settings.setButton(v); }

    // The day's totals of the last UpdateDayTotals that found meetings.
    qint32 AmtBuy() const { return m_dayTotals.AmtBuy; }
    qint32 AmtPay() const { return m_dayTotals.AmtPay; }
    qint32 AmtBuyTomorrow() const { return m_dayTotals.AmtBuyTomorrow; }
    qint32 AmtBuyYesterday() const { return m_dayTotals.AmtBuyYesterday; }
    qint32 AmtYet() const { return m_dayTotals.AmtYet; }

signals:
    // The ReInitialize event: the data folder has just been read again.
    void ReInitialized();

private:
    void ReadDataFolder();
    void Open(IWindowHost::Window window);

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
    void HandDayToArchive();
};
