#pragma once

#include <QString>

#include <memory>

class ChartDrawing;
class QFont;
class ResultsBrowser;

// The parts of the program that live in plugins beside the executable, loaded when first needed, so that
// the main window starts without their libraries: the web engine of the download window ("vqbrowser") and
// the passbook chart's drawing ("vqchart").
namespace Plugins {
// Before the application object is made: the web engine, loaded later from a plugin, shares its graphics
// contexts with the program's.
void prepareApplication();
// A results browser on the web engine plugin; nothing, after saying why, when the plugin cannot be loaded.
std::unique_ptr<ResultsBrowser> webBrowser();
// The passbook chart's drawing, its labels in that font; nothing when the plugin cannot be loaded.
std::unique_ptr<ChartDrawing> chartDrawing(const QFont& font);
// What the chart page shows instead of a chart without its plugin, with the reason.
QString chartMissingText();
} // namespace Plugins
