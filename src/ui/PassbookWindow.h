#pragma once

#include "ChildWindow.h"
#include "views/Passbook.h"

#include <array>
#include <optional>
#include <utility>

class PassbookChartView;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class QToolButton;

// The passbook (通帳): the profit book's days ten at a time, the ten best and worst days, and an input
// panel to register, correct or delete the record of any day, a chart of the days, and the book saved as a
// CSV file. Every change goes through the controller, which saves the book at once.
class PassbookWindow : public ChildWindow {
    Q_OBJECT
public:
    PassbookWindow(DayController& control, QWidget* owner);

    enum ButtonIndex : int {
        PastButton = 1,
        BestButton = 2,
        WorstButton = 3,
        InputButton = 4,
        ChartButton = 5,
        CsvButton = 6
    };
    enum View { PastView, BestView, WorstView, InputView, ChartView };
    // The date fields, by their index in the spin controls.
    enum DateField : int { YearField = 0, MonthField = 1, DayField = 2 };

    View currentView() const { return m_view; }
    // A record half typed in the input panel is not thrown away by a refresh.
    bool busy() const override { return m_view == InputView; }
    void toolbarClicked(int index);
    // Writes the book's CSV to the file, replacing it whole, and says where below the view; a failure is
    // reported. False when it failed.
    bool saveCsv(const QString& path);

protected:
    // In the input panel Return confirms and Escape cancels; elsewhere Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void refill(const ShownRace* race) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    QWidget* buildToolbar();
    QWidget* buildList();
    QWidget* buildInput();
    QWidget* buildSpin(DateField field);
    void fill();
    void refreshTotals();
    void showPast();
    void showRanking(PassbookRanking ranking);
    void showInput();
    void showChart();
    void fitView();
    void keepClearOfMain();
    void saveCsvClicked();
    void enableLists(bool enabled);
    void backToPast();
    void fillRows(const QList<PassbookRow>& rows);
    void pageFill();
    void step(DateField field, int delta);
    void edited();
    // The date fields changed: a day the book holds is loaded into the amounts and the protect box.
    void datePicked();
    void confirmClicked();
    void okClicked();

    View m_view = PastView;
    PassbookConfirmation m_pending;
    // The amounts as the last day loaded from the book put them in the fields: while the fields still hold
    // them, picking a day the book does not hold empties them again.
    std::optional<std::pair<QString, QString>> m_loadedAmounts;

    std::array<QToolButton*, 6> m_button{};
    QWidget* m_toolbar = nullptr;
    // Built when the chart is first asked for: none before.
    PassbookChartView* m_chartPage = nullptr;
    QSize m_listSize;  // the window's size but for the chart, which needs more room
    QSize m_chartSize; // the size the user gave the chart, kept for its next showing
    QStackedWidget* m_stack = nullptr;
    QWidget* m_listPanel = nullptr;
    QWidget* m_inputPanel = nullptr;
    std::array<std::array<QLabel*, 4>, kPassbookRows> m_cells{}; // date, stake, payout, profit
    QLabel* m_totalProfit = nullptr;
    QWidget* m_sheet = nullptr;
    QScrollBar* m_pageScroll = nullptr;
    QLineEdit* m_yearEdit = nullptr;
    QComboBox* m_monthBox = nullptr;
    QComboBox* m_dayBox = nullptr;
    std::array<QToolButton*, 3> m_spinUp{}; // by DateField
    std::array<QToolButton*, 3> m_spinDown{};
    QLineEdit* m_stakeEdit = nullptr;
    QLineEdit* m_payoutEdit = nullptr;
    QCheckBox* m_protectBox = nullptr;
    QPlainTextEdit* m_messageText = nullptr;
    QPushButton* m_confirmButton = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QLabel* m_savedNote = nullptr;
};
