#pragma once

#include "ChildWindow.h"
#include "ResultsBrowser.h"
#include "views/DownloadRun.h"

#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;

// The download window: the day's races as check boxes, and a run that fetches each meeting's payout list
// and each published race's results page through the embedded browser and converts them into result
// files. The run itself (what comes next, what each box shows) is DownloadRun; this window owns the
// browser and the timers that pace it.
class DownloadWindow : public ChildWindow {
    Q_OBJECT
public:
    // The browser is the window's own from now on; `unloaded` runs when the window closes (the main window
    // gives its download buttons back).
    DownloadWindow(DayController& control, QWidget* owner, std::unique_ptr<ResultsBrowser> browser,
                   std::function<void()> unloaded);
    ~DownloadWindow() override;

    static QString DesignCaption() { return QStringLiteral("競走成績ダウンロード"); }
    // The path on the results site both forms are posted to.
    static QString FormPath() { return QStringLiteral("/JRADB/accessS"); }

    // The controls by their indexes: panels m = 0..2, race boxes m × 12 + race − 1.
    QFrame* picKaisai(int m) const { return m_panel.at(size_t(m)); }
    QLabel* lblKaisai(int m) const { return m_kaisai.at(size_t(m)); }
    QLabel* lblTitleRace(int i) const { return m_titleRace.at(size_t(i)); }
    QCheckBox* chkState(int i) const { return m_state.at(size_t(i)); }
    QWidget* Picture1() const { return m_picture1; }
    QPushButton* cmdSubmit() const { return m_submit; }
    QPushButton* cmdSelectAll() const { return m_selectAll; }
    QPushButton* cmdCancel() const { return m_cancel; }
    ResultsBrowser& brwWebBrowser() const { return *m_browser; }
    const DownloadRun& Run() const { return m_run; }

    // How long a page may keep the browser busy before it is given up on.
    void setTimeOutMs(int ms) { m_timTimeOut.setInterval(ms); }

private:
    void BuildControls();
    QFrame* BuildPanel(int m);
    void Form_Load();
    void Form_Unload() override;
    void ShowBoxes();
    void SendRequest(const QString& address, const QByteArray& body);
    // Where converted result files go: the download folder's subfolder of the sale day; empty when the
    // program has no download folder.
    QString SaveFolder() const;

    void cmdSubmit_Click();
    void cmdSelectAll_Click();
    void cmdCancel_Click();
    void timEvent_Timer();
    void timProc_Timer();
    void timWatch_Timer();
    void timTimeOut_Timer();
    void brwWebBrowser_DocumentComplete(const QString& title, const QString& text);
    void brwWebBrowser_NavigateError(int status);
    // Nothing may be fetched into a folder that cannot take the files: said once, before the run, rather
    // than as an error on every race. False when the run must not start.
    bool SaveFolderWritable(const QString& folder);
    // The run has stopped: its last word in the caption, the controls given back.
    void EndRun();
    // After a page's outcome went to the run: show it and take the next step.
    void GoOn();

    std::unique_ptr<ResultsBrowser> m_browser;
    std::function<void()> m_unloaded;
    DownloadRun m_run;
    QTimer m_timEvent;
    QTimer m_timProc;
    QTimer m_timWatch;
    QTimer m_timTimeOut;
    bool m_browserBusy = false;
    // A run's page has been asked for and its outcome not yet taken: a page event without one (the start
    // page, or a page given up on) changes nothing.
    bool m_awaiting = false;

    std::array<QFrame*, DownloadRun::kPanels> m_panel{};
    std::array<QLabel*, DownloadRun::kPanels> m_kaisai{};
    std::array<QLabel*, DownloadRun::kSlots> m_titleRace{};
    std::array<QCheckBox*, DownloadRun::kSlots> m_state{};
    QWidget* m_picture1 = nullptr;
    QPushButton* m_submit = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_cancel = nullptr;
    QLabel* m_progress = nullptr;
};
