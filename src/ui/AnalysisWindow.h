#pragma once

#include "views/Analysis.h"

#include <QWidget>

class DayController;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QStandardItemModel;
class QTableView;

// The analysis window (分析): the bet archive of the client folder for a period, by bet type and by venue,
// in two sortable tables, with the period's total and a CSV export.
class AnalysisWindow : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisWindow(DayController& control, QWidget* parent = nullptr);
    ~AnalysisWindow() override;

    // Reads the archive again for the chosen period (the window does on every change of it).
    void reload();
    // Writes both tables as CSV to `path` and says where below the tables; false (after reporting why) when
    // it cannot.
    bool saveCsv(const QString& path);
    const AnalysisTables& tables() const { return m_tables; }

    QComboBox* periodBox = nullptr;
    QDateEdit* dtpFrom = nullptr;
    QDateEdit* dtpTo = nullptr;
    QLabel* caption = nullptr;
    QLabel* recordStart = nullptr;
    QLabel* totalLine = nullptr;
    QLabel* savedNote = nullptr;
    QTableView* betTypeTable = nullptr;
    QTableView* venueTable = nullptr;
    QPushButton* csvButton = nullptr;
    QPushButton* closeButton = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitCaption();
    void fill(QStandardItemModel* model, const QString& title, const std::vector<AnalysisRow>& rows);
    void chooseCsvFile();

    DayController& m_control;
    QStandardItemModel* m_byType = nullptr;
    QStandardItemModel* m_byVenue = nullptr;
    AnalysisTables m_tables;
};
