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

    View CurrentView() const { return m_view; }
    void Toolbar_ButtonClick(int index);
    // Writes the book's CSV to the file, replacing it whole, and says where below the view; a failure is
    // reported. False when it failed.
    bool SaveCsv(const QString& path);

    // Controls: toolbar buttons 1..6, list rows 0..9, spin buttons by DateField.
    QToolButton* Toolbar1(int index) const { return m_button.at(static_cast<size_t>(index - 1)); }
    QLabel* LbDate(int i) const { return m_cells.at(static_cast<size_t>(i))[0]; }
    QLabel* LbTohyo(int i) const { return m_cells.at(static_cast<size_t>(i))[1]; }
    QLabel* LbHarai(int i) const { return m_cells.at(static_cast<size_t>(i))[2]; }
    QLabel* LbSoneki(int i) const { return m_cells.at(static_cast<size_t>(i))[3]; }
    QLabel* lblTTLSoneki() const { return m_lblTTLSoneki; }
    QWidget* lblWindow() const { return m_lblWindow; }
    QScrollBar* VScroll1() const { return m_vScroll; }
    QWidget* Picture1() const { return m_picture1; }
    QWidget* Picture2() const { return m_picture2; }
    QLineEdit* txtYY() const { return m_txtYY; }
    QComboBox* cmbMM() const { return m_cmbMM; }
    QComboBox* cmbDD() const { return m_cmbDD; }
    QToolButton* SpinUp(DateField f) const { return m_spinUp.at(static_cast<size_t>(f)); }
    QToolButton* SpinDown(DateField f) const { return m_spinDown.at(static_cast<size_t>(f)); }
    QLineEdit* txtInTohyo() const { return m_txtInTohyo; }
    QLineEdit* txtInHarai() const { return m_txtInHarai; }
    QCheckBox* Check1() const { return m_check1; }
    QPlainTextEdit* txtMessage() const { return m_txtMessage; }
    QPushButton* cmdKakutei() const { return m_cmdKakutei; }
    QPushButton* cmdOk() const { return m_cmdOk; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }
    // Built when the chart is first asked for: none before.
    PassbookChartView* ChartPage() const { return m_chartPage; }

protected:
    // In the input panel Return confirms and Escape cancels; elsewhere Escape closes the window.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    QWidget* BuildToolbar();
    QWidget* BuildList();
    QWidget* BuildInput();
    QWidget* BuildSpin(DateField field);
    void Form_Load();
    void RefreshTotals();
    void ShowPast();
    void ShowRanking(PassbookRanking ranking);
    void ShowInput();
    void ShowChart();
    void FitView();
    void cmdCsv_Click();
    void EnableLists(bool enabled);
    void BackToPast();
    void FillRows(const QList<PassbookRow>& rows);
    void PageFill();
    void Step(DateField field, int delta);
    void Edited();
    // The date fields changed: a day the book holds is loaded into the amounts and the protect box.
    void DatePicked();
    void cmdKakutei_Click();
    void cmdOk_Click();

    View m_view = PastView;
    PassbookConfirmation m_pending;
    // The amounts as the last day loaded from the book put them in the fields: while the fields still hold
    // them, picking a day the book does not hold empties them again.
    std::optional<std::pair<QString, QString>> m_loadedAmounts;

    std::array<QToolButton*, 6> m_button{};
    QWidget* m_toolbar = nullptr;
    PassbookChartView* m_chartPage = nullptr;
    QSize m_listSize;  // the window's size but for the chart, which needs more room
    QSize m_chartSize; // the size the user gave the chart, kept for its next showing
    QStackedWidget* m_stack = nullptr;
    QWidget* m_picture1 = nullptr;
    QWidget* m_picture2 = nullptr;
    std::array<std::array<QLabel*, 4>, kPassbookRows> m_cells{};
    QLabel* m_lblTTLSoneki = nullptr;
    QWidget* m_lblWindow = nullptr;
    QScrollBar* m_vScroll = nullptr;
    QLineEdit* m_txtYY = nullptr;
    QComboBox* m_cmbMM = nullptr;
    QComboBox* m_cmbDD = nullptr;
    std::array<QToolButton*, 3> m_spinUp{};
    std::array<QToolButton*, 3> m_spinDown{};
    QLineEdit* m_txtInTohyo = nullptr;
    QLineEdit* m_txtInHarai = nullptr;
    QCheckBox* m_check1 = nullptr;
    QPlainTextEdit* m_txtMessage = nullptr;
    QPushButton* m_cmdKakutei = nullptr;
    QPushButton* m_cmdOk = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QLabel* m_lblSaved = nullptr;
};
