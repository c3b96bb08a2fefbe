#pragma once

#include "views/Analysis.h"

#include <QWidget>

class DayController;
class QComboBox;
class QDateEdit;
class QLabel;
class QStandardItemModel;

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

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitCaption();
    void fill(QStandardItemModel* model, const QString& title, const std::vector<AnalysisRow>& rows);
    void chooseCsvFile();

    DayController& m_control;
    QComboBox* m_periodBox = nullptr;
    QDateEdit* m_fromDate = nullptr;
    QDateEdit* m_toDate = nullptr;
    QLabel* m_caption = nullptr;
    QLabel* m_recordStart = nullptr;
    QLabel* m_totalLine = nullptr;
    QLabel* m_savedNote = nullptr;
    QStandardItemModel* m_byType = nullptr;
    QStandardItemModel* m_byVenue = nullptr;
    AnalysisTables m_tables;
};
