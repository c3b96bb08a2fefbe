#pragma once

#include "ChartDrawing.h"
#include "views/PassbookChart.h"

#include <QWidget>

#include <memory>

class ProfitBook;
class QComboBox;
class QLabel;

// The passbook's chart page: the span selector, the span's caption, and the days of the span as bars with
// the running profit as a line. It shows what BuildPassbookChart makes of the book; the drawing is the chart
// plugin's.
class PassbookChartView : public QWidget {
    Q_OBJECT
public:
    PassbookChartView(const ProfitBook& book, QWidget* parent);

    // Rebuilds the chart from the book for the selected span (after the book changed, too).
    void refresh();
    void setSpan(PassbookSpan span);
    PassbookSpan span() const;

    QComboBox* spanBox() const { return m_spanBox; }
    const PassbookChart& shown() const { return m_shown; }

    // The page opens with the chart at its design size; the window may then make it larger or smaller.
    QSize sizeHint() const override;

private:
    const ProfitBook& m_book;
    PassbookChart m_shown;
    QComboBox* m_spanBox = nullptr;
    QLabel* m_caption = nullptr;
    std::unique_ptr<ChartDrawing> m_drawing; // none when the plugin could not be loaded
    QSize m_design;                          // of the chart: sixty-four digits across, twenty lines down
};
