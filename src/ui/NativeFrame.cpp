#include "NativeFrame.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef VQ_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

std::optional<QMargins> nativeFrame(const QWidget* window) {
#ifdef VQ_HAVE_XCB
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection() || !window->testAttribute(Qt::WA_WState_Created)) {
        return std::nullopt;
    }
    xcb_connection_t* connection = x11->connection();
    static const xcb_atom_t extents = [connection] {
        const char name[] = "_NET_FRAME_EXTENTS";
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof name - 1, name), nullptr),
            &std::free);
        return atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
    }();
    if (extents == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, id, extents, XCB_ATOM_CARDINAL, 0, 4),
                               nullptr),
        &std::free);
    if (!reply || reply->type != XCB_ATOM_CARDINAL || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) != 16) {
        return std::nullopt;
    }
    // Left, right, top, bottom, in device pixels.
    const auto* v = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    const qreal ratio = window->devicePixelRatioF();
    const auto logical = [ratio](quint32 pixels) { return qRound(pixels / ratio); };
    return QMargins(logical(v[0]), logical(v[2]), logical(v[1]), logical(v[3]));
#else
    Q_UNUSED(window);
    return std::nullopt;
#endif
}
