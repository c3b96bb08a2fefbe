#include "WindowPlace.h"

#include "NativeFrame.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

// The height of the strip at the top of a window the user grabs to move it, and how much of its width
// must be on a screen for the user to find it.
constexpr int kTitleStrip = 24;
constexpr int kGrabWidth = 100;
// Between a window and the one it opens beside: frames differ by a pixel or two from window to window
// (a fixed-size window may have no resize border), so windows set edge to edge could still overlap.
constexpr int kGap = 4;

// How long a window manager may take to frame a new window, and how often we look.
constexpr int kFrameWaitMs = 1500;
constexpr int kFrameLookMs = 20;
constexpr int kSteadyLooks = 5;

QMargins g_lastFrame;

bool reachable(const QRect& outer, const QRect& area) {
    const QRect strip = QRect(outer.left(), outer.top(), outer.width(), kTitleStrip) & area;
    return strip.height() == kTitleStrip && strip.width() >= std::min(kGrabWidth, outer.width());
}

QRect inside(QRect r, const QRect& area) {
    r.setSize(r.size().boundedTo(area.size()));
    r.moveLeft(std::clamp(r.left(), area.left(), area.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), area.top(), area.bottom() - r.height() + 1));
    return r;
}

// Applies the wanted outer rectangle again once the window manager has framed the window, and again
// should the manager still move it while it settles; done once the frame has held its place for a few
// looks, or after a while (a platform without frames never reports one).
class FrameWatch : public QObject {
public:
    FrameWatch(QWidget* window, const QRect& outer)
        : QObject(window), m_window(window), m_outer(outer), m_size(window->size()) {
        window->installEventFilter(this);
        m_timer.setInterval(kFrameLookMs);
        connect(&m_timer, &QTimer::timeout, this, &FrameWatch::look);
    }

    void retarget(const QRect& outer) {
        m_outer = outer;
        m_size = m_window->size();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Show && !m_timer.isActive()) {
            m_timer.start();
        }
        return false;
    }

private:
    void look() {
        // A frame is believed once it is the same at two looks in a row.
        const QMargins seen = WindowPlace::ownFrame(m_window);
        const bool known = !seen.isNull() && seen == m_last;
        m_last = seen;
        m_waited += kFrameLookMs;
        if (m_window->size() != m_size) {
            // Resized since it was placed, by the program or by the user: their size stands.
            m_waited = kFrameWaitMs;
        } else if (known) {
            const QRect wanted = fitted(seen);
            if (WindowPlace::outer(m_window) != wanted) {
                m_window->setGeometry(wanted.marginsRemoved(seen));
                m_size = m_window->size();
                m_steady = 0;
            } else if (++m_steady >= kSteadyLooks) {
                m_waited = kFrameWaitMs;
            }
        }
        if (m_waited >= kFrameWaitMs) {
            m_timer.stop();
            m_window->removeEventFilter(this);
            deleteLater();
        }
    }

    // The window's own limits (a fixed width) may keep it from the size asked for; then a place that was
    // inside the screen stays inside.
    QRect fitted(const QMargins& frame) const {
        const QRect outer = WindowPlace::bounded(m_window, m_outer, frame);
        const QRect area = WindowPlace::areaAt(m_outer);
        return area.contains(m_outer) ? inside(outer, area) : outer;
    }

    QWidget* m_window;
    QRect m_outer;
    QSize m_size;
    QTimer m_timer;
    int m_waited = 0;
    int m_steady = 0;
    QMargins m_last;
};

} // namespace

namespace WindowPlace {

QRect onScreen(const QRect& outer, const QList<QRect>& areas) {
    if (areas.isEmpty() ||
        std::any_of(areas.begin(), areas.end(), [&](const QRect& a) { return reachable(outer, a); })) {
        return outer;
    }
    const auto overlap = [&](const QRect& a) {
        const QRect common = outer & a;
        return qint64(common.width()) * common.height();
    };
    const QRect& best = *std::max_element(areas.begin(), areas.end(),
                                          [&](const QRect& a, const QRect& b) { return overlap(a) < overlap(b); });
    return inside(outer, overlap(best) > 0 ? best : areas.front());
}

QRect firstPlace(const QSize& outer, const QRect& area, const QRect& anchor, const QRect& avoid, int step) {
    if (anchor.isNull()) {
        return inside(QRect(QPoint(area.right() - outer.width() + 1, area.top()), outer), area);
    }
    const int top = anchor.top() + step;
    const QRect candidates[] = {
        QRect(QPoint(anchor.left() - kGap - outer.width(), top), outer),
        QRect(QPoint(anchor.right() + 1 + kGap, top), outer),
        QRect(QPoint(anchor.left(), anchor.bottom() + 1 + kGap + step), outer),
    };
    for (QRect c : candidates) {
        // Taller than the room below: lifted, never above the area.
        c.moveTop(std::max(area.top(), std::min(c.top(), area.bottom() - c.height() + 1)));
        if (area.contains(c) && !c.intersects(anchor) && !(avoid.isValid() && c.intersects(avoid))) {
            return c;
        }
    }
    return inside(candidates[0], area);
}

QMargins ownFrame(const QWidget* window) {
    if (const std::optional<QMargins> native = nativeFrame(window); native && !native->isNull()) {
        g_lastFrame = *native;
        return *native;
    }
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins frame(inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                         outer.bottom() - inner.bottom());
    // While the window manager reparents a window its frame passes through odd sizes.
    const bool plausible = frame.left() >= 0 && frame.top() >= 0 && frame.right() >= 0 && frame.bottom() >= 0 &&
                           frame.top() < inner.height() && !frame.isNull();
    if (!plausible) {
        return QMargins();
    }
    g_lastFrame = frame;
    return frame;
}

QRect bounded(const QWidget* window, const QRect& outer, const QMargins& frame) {
    const QSize inner = outer.size().shrunkBy(frame).expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
    return QRect(outer.topLeft(), inner.grownBy(frame));
}

QMargins frame(const QWidget* window) {
    const QMargins own = ownFrame(window);
    return own.isNull() ? g_lastFrame : own;
}

QRect outer(const QWidget* window) {
    return window->geometry().marginsAdded(frame(window));
}

void apply(QWidget* window, const QRect& outer) {
    window->setGeometry(outer.marginsRemoved(frame(window)));
    if (window->isVisible()) {
        return;
    }
    for (QObject* child : window->children()) {
        if (auto* watch = dynamic_cast<FrameWatch*>(child)) {
            watch->retarget(outer);
            return;
        }
    }
    new FrameWatch(window, outer);
}

QList<QRect> screenAreas() {
    QList<QRect> areas;
    for (const QScreen* screen : QGuiApplication::screens()) {
        areas << screen->availableGeometry();
    }
    return areas;
}

QRect areaAt(const QRect& rect) {
    const QScreen* screen = rect.isValid() ? QGuiApplication::screenAt(rect.center()) : nullptr;
    if (!screen) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace WindowPlace
