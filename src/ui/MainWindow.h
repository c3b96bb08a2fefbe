#pragma once

#include "core/Folders.h"

#include "QtWindowHost.h"
#include "views/HitNotices.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QSystemTrayIcon;
class QToolButton;
class ResultsBrowser;
class DayController;
struct DayRefresh;

// The main window: the small window the user keeps beside the betting client. It owns the controller,
// shows the day's date, status and five figures, and opens every other window through its toolbar.
class AnalysisWindow;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(const Folders& folders, QWidget* parent = nullptr);
    ~MainWindow() override;

    DayController& control() { return *m_control; }
    QtWindowHost& host() { return *m_host; }

    // Indexes of the label array: the date and status lines, then the five figure rows (bets, payouts,
    // profit, recovery, balance) as three groups in row order: captions, units, values.
    enum LabelIndex : int {
        DateLabel = 0,
        StatusLabel = 1,
        FirstCaptionLabel = 2, // 2..6
        FirstUnitLabel = 7,    // 7..11
        BetsLabel = 12,
        PayoutsLabel = 13,
        ProfitLabel = 14,
        RecoveryLabel = 15,
        BalanceLabel = 16,
        LabelCount = 17
    };
    // Indexes of the toolbar buttons; 2 is the separator between refreshing and the windows.
    enum ButtonIndex : int { RefreshButton = 1, ProfitButton = 3, LogButton = 4, RecordButton = 5, DownloadButton = 6 };

    // The colour chooser: the initial colour in, the chosen colour out, nothing when cancelled. Tests
    // replace the dialog.
    using ColorChooser = std::function<std::optional<QColor>(const QColor& initial, const QString& title)>;
    void setColorChooser(ColorChooser chooser) { m_chooseColor = std::move(chooser); }

    // Makes the browser each download window drives (a web engine view unless set). Tests pass a scripted
    // one.
    using BrowserFactory = std::function<std::unique_ptr<ResultsBrowser>()>;
    void setBrowserFactory(BrowserFactory factory) { m_makeBrowser = std::move(factory); }

    // The download window calls this when it closes.
    void enableDownloadButtons();
    // Shows the window in front of the others, restored if it was minimised: a second start of the
    // program on the same folder asks for it.
    void bringToFront();

    // Toolbar clicks, by button index (ButtonIndex).
    void toolbarClicked(int index);

signals:
    // A refresh found races newly won: their notices, one per race, as the tray shows them.
    void hitsAnnounced(const QStringList& notices);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The menu key (or Shift+F10) anywhere in the window opens the pop-up menu.
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The windows the controller can open from here.
    void registerWindows();
    void buildControls();
    QWidget* buildToolbar();
    QFrame* buildFigures();
    void buildPopupMenu();
    void buildShortcuts();
    void start();
    // Shows what a refresh of the day gave.
    void render(const DayRefresh& day);
    void fitLine(QLabel* label, const QString& text);
    void applyColors();
    void applyStatusColor();
    void togglePosition();
    void chooseColor(bool background);
    void showVersion();
    void showAnalysis();
    void minimizeWindow();
    void showPopup(const QPoint& globalPos);
    // Where the desktop has a tray: an icon with the day's figures, which announces hits.
    void buildTray();
    void announceHits(const DayRefresh& day);

    std::unique_ptr<DayController> m_control;
    QPointer<AnalysisWindow> m_analysis;
    std::unique_ptr<QtWindowHost> m_host;
    std::array<QLabel*, LabelCount> m_label{};
    std::array<QToolButton*, DownloadButton + 1> m_button{};
    QFrame* m_figures = nullptr;
    QWidget* m_sheet = nullptr;
    QMenu* m_popupMenu = nullptr;
    QAction* m_positionAction = nullptr;
    QAction* m_quitAction = nullptr;
    QAction* m_autoRefreshAction = nullptr;
    QAction* m_hitNoticeAction = nullptr;
    QSystemTrayIcon* m_tray = nullptr;
    // The hits of the day last read whole; until then none are known, and nothing is announced.
    std::optional<HitNotices::Hits> m_hits;
    QString m_hitsDate;
    ColorChooser m_chooseColor;
    bool m_notReadWhole = false; // the last reading of the folder met a file it could not read whole
    BrowserFactory m_makeBrowser;
};
