#pragma once

#include <QList>
#include <QMargins>
#include <QRect>

class QWidget;

// Where a window goes. Everything here is in outer (frame) pixels, the quantity the settings store: a
// window is put back exactly where it was seen, whatever its window manager adds around it.
namespace WindowPlace {

// A stored place whose title bar no longer lies on any of these areas (a monitor was removed, the
// resolution went down) is moved and, when larger than the area, shrunk to fit the area it overlaps most
// (the first when it overlaps none). Any other place is kept as it is, even when partly off the screen.
QRect onScreen(const QRect& outer, const QList<QRect>& areas);

// A first place for a window of this outer size: at the area's top right when there is no anchor (the
// main window); otherwise beside the anchor (left, right, then below it), `step` pixels down for each
// window already cascaded there, without covering the anchor or `avoid`, and inside the area. When no
// such place exists the window goes left of the anchor, pushed into the area.
QRect firstPlace(const QSize& outer, const QRect& area, const QRect& anchor = QRect(), const QRect& avoid = QRect(),
                 int step = 0);

// The frame the window manager has put around the window; nothing while it is not known (not shown yet,
// being reparented, a platform without frames).
QMargins ownFrame(const QWidget* window);
// The window's frame, or the frame last seen around one of our windows while its own is not known: the
// platform's report of a frame can lag behind the window manager, and a window must never be stored or
// placed as if it had none when it has one.
QMargins frame(const QWidget* window);
// The outer rectangle at the same place, its size kept within the window's own limits (a fixed width, a
// design minimum) around this frame.
QRect bounded(const QWidget* window, const QRect& outer, const QMargins& frame);
// The window's outer rectangle, its frame included.
QRect outer(const QWidget* window);

// Gives the window this outer rectangle. Before the first show the frame is not known yet; the rectangle
// is applied again once the window manager has framed the window, so the frame lands where asked.
void apply(QWidget* window, const QRect& outer);

// The available areas of every screen now attached.
QList<QRect> screenAreas();
// The available area of the screen showing the middle of this rectangle (the primary screen for an empty
// rectangle or one between screens).
QRect areaAt(const QRect& rect);

} // namespace WindowPlace
