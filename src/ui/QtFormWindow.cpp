#include "QtFormWindow.h"

#include "WindowPlace.h"

#include <QWidget>

#include <cmath>

QtFormWindow::QtFormWindow(QWidget* window, int tag) : m_window(window), m_tag(tag) {
    // The platform window must exist for its frame to be known.
    m_window->winId();
    // A window laid out but never sized takes its layout's size, as showing it would.
    if (!m_window->testAttribute(Qt::WA_Resized)) {
        m_window->adjustSize();
    }
    m_outer = WindowPlace::outer(m_window);
}

int QtFormWindow::twipsToPixels(qint32 twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

qint32 QtFormWindow::pixelsToTwips(int pixels, int dpi) {
    return static_cast<qint32>(std::lround(static_cast<double>(pixels) * 1440.0 / dpi));
}

bool QtFormWindow::isMinimized() const {
    return m_window->isMinimized();
}

qint32 QtFormWindow::topTwips() const {
    return pixelsToTwips(m_outer.top(), m_window->logicalDpiY());
}

qint32 QtFormWindow::leftTwips() const {
    return pixelsToTwips(m_outer.left(), m_window->logicalDpiX());
}

qint32 QtFormWindow::heightTwips() const {
    return pixelsToTwips(m_outer.height(), m_window->logicalDpiY());
}

qint32 QtFormWindow::widthTwips() const {
    return pixelsToTwips(m_outer.width(), m_window->logicalDpiX());
}

void QtFormWindow::setTopTwips(qint32 twips) {
    m_outer.moveTop(twipsToPixels(twips, m_window->logicalDpiY()));
}

void QtFormWindow::setLeftTwips(qint32 twips) {
    m_outer.moveLeft(twipsToPixels(twips, m_window->logicalDpiX()));
}

void QtFormWindow::setHeightTwips(qint32 twips) {
    m_outer.setHeight(twipsToPixels(twips, m_window->logicalDpiY()));
}

void QtFormWindow::setWidthTwips(qint32 twips) {
    m_outer.setWidth(twipsToPixels(twips, m_window->logicalDpiX()));
}

void QtFormWindow::place(bool stored, const QRect& anchor, const QRect& avoid, int step) {
    // The window's own limits (a fixed width, a design minimum) bound what the settings ask for.
    const QRect wanted = WindowPlace::bounded(m_window, m_outer, WindowPlace::frame(m_window));
    const QRect outer = stored
                            ? WindowPlace::onScreen(wanted, WindowPlace::screenAreas())
                            : WindowPlace::firstPlace(wanted.size(), WindowPlace::areaAt(anchor), anchor, avoid, step);
    WindowPlace::apply(m_window, outer);
    m_outer = outer;
}
