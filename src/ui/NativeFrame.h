#pragma once

#include <QMargins>

#include <optional>

class QWidget;

// The frame the window manager reports for a window, read from the window system itself. Under X11 this
// is the manager's _NET_FRAME_EXTENTS, which Qt's own frame geometry can lag behind (it may keep a frame
// read while the manager was still reparenting the window). Nothing where the window system has no such
// report, or before the manager has framed the window.
std::optional<QMargins> nativeFrame(const QWidget* window);
