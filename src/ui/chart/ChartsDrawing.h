#pragma once

#include "ui/ChartDrawing.h"

#include <QObject>
#include <QPointer>

class QBarSet;
class QCategoryAxis;
class QChart;
class QChartView;
class QLineSeries;
class QValueAxis;

// The passbook chart on Qt Charts: a stacked bar series (gains and losses) and a line over a day axis and
// a yen axis.
class ChartsDrawing : public ChartDrawing {
public:
    explicit ChartsDrawing(const QFont& font);
    ~ChartsDrawing() override;

    QWidget* widget() override;
    void draw(const PassbookChart& chart) override;

private:
    QPointer<QChartView> m_view; // owned by the page's layout once there
    QChart* m_chart = nullptr;
    QBarSet* m_gain = nullptr;
    QBarSet* m_loss = nullptr;
    QLineSeries* m_line = nullptr;
    QCategoryAxis* m_days = nullptr;
    QValueAxis* m_yen = nullptr;
};

// The plugin: makes the drawings.
class ChartsPlugin : public QObject, public ChartDrawingFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VQ_CHART_DRAWING_IID)
    Q_INTERFACES(ChartDrawingFactory)
public:
    std::unique_ptr<ChartDrawing> makeDrawing(const QFont& font) override;
};
