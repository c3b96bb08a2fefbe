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

    static QString designCaption() { return QStringLiteral("競走成績ダウンロード"); }
    // The path on the results site both forms are posted to.
    static QString formPath() { return QStringLiteral("/JRADB/accessS"); }

    ResultsBrowser& browser() const { return *m_browser; }

    // How long a page may keep the browser busy before it is given up on.
    void setTimeOutMs(int ms) { m_timeoutTimer.setInterval(ms); }

private:
    void buildControls();
    QFrame* buildPanel(int m);
    void fill();
    void closing() override;
    void showBoxes();
    void sendRequest(const QString& address, const QByteArray& body);
    // Where converted result files go: the download folder's subfolder of the sale day; empty when the
    // program has no download folder.
    QString saveFolder() const;

    void downloadClicked();
    void selectAllClicked();
    void cancelClicked();
    void takeStep();
    void checkRunEnded();
    void watchBrowser();
    void pageTimedOut();
    void pageLoaded(const QString& title, const QString& text);
    void navigationFailed(int status);
    // Nothing may be fetched into a folder that cannot take the files: said once, before the run, rather
    // than as an error on every race. False when the run must not start.
    bool saveFolderWritable(const QString& folder);
    // The run has stopped: its last word in the caption, the controls given back.
    void endRun();
    // After a page's outcome went to the run: show it and take the next step.
    void goOn();

    std::unique_ptr<ResultsBrowser> m_browser;
    std::function<void()> m_unloaded;
    DownloadRun m_run;
    QTimer m_stepTimer;
    QTimer m_endTimer;
    QTimer m_busyTimer;
    QTimer m_timeoutTimer;
    bool m_browserBusy = false;
    // A run's page has been asked for and its outcome not yet taken: a page event without one (the start
    // page, or a page given up on) changes nothing.
    bool m_awaiting = false;

    // By meeting m = 0..2, and the races by m × 12 + race − 1.
    std::array<QFrame*, DownloadRun::kPanels> m_panel{};
    std::array<QLabel*, DownloadRun::kPanels> m_meetingTitle{};
    std::array<QLabel*, DownloadRun::kSlots> m_raceTitle{};
    std::array<QCheckBox*, DownloadRun::kSlots> m_raceBox{};
    QWidget* m_choices = nullptr;
    QPushButton* m_submit = nullptr;
    QPushButton* m_selectAll = nullptr;
    QPushButton* m_cancel = nullptr;
    QLabel* m_progress = nullptr;
};
