#pragma once

#include "views/PassbookChart.h"

#include <QFont>
#include <QObject>

#include <memory>

class QWidget;

// The passbook chart's drawing, on Qt Charts. It lives in a plugin loaded when the chart is first shown,
// so the program starts without Qt Charts. Only Qt's types and the chart's plain figures cross between
// the program and the plugin.
class ChartDrawing {
public:
    virtual ~ChartDrawing() = default;
    // The chart's view ("chartView"), for the page's layout, which then owns it.
    virtual QWidget* widget() = 0;
    // Shows the chart's days: a bar each, and the running profit as a line.
    virtual void draw(const PassbookChart& chart) = 0;
};

// What the plugin gives: a new drawing whose labels are set in that font.
class ChartDrawingFactory {
public:
    virtual ~ChartDrawingFactory() = default;
    virtual std::unique_ptr<ChartDrawing> makeDrawing(const QFont& font) = 0;
};

#define VQ_CHART_DRAWING_IID "VelqoraV50.ChartDrawingFactory/1"
Q_DECLARE_INTERFACE(ChartDrawingFactory, VQ_CHART_DRAWING_IID)
