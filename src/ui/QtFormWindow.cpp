#include "QtFormWindow.h"

#include <QWidget>

#include <cmath>

QtFormWindow::QtFormWindow(QWidget* window, int tag) : m_window(window), m_tag(tag) {
    // The stored sizes are outer sizes; the platform window must exist for its frame to be known.
    m_window->winId();
}

int QtFormWindow::TwipsToPixels(qint32 twips, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * dpi / 1440.0));
}

qint32 QtFormWindow::PixelsToTwips(int pixels, int dpi) {
    return static_cast<qint32>(std::lround(static_cast<double>(pixels) * 1440.0 / dpi));
}

bool QtFormWindow::IsMinimized() const {
    return m_window->isMinimized();
}

qint32 QtFormWindow::TopTwips() const {
    return PixelsToTwips(m_window->frameGeometry().top(), m_window->logicalDpiY());
}

qint32 QtFormWindow::LeftTwips() const {
    return PixelsToTwips(m_window->frameGeometry().left(), m_window->logicalDpiX());
}

qint32 QtFormWindow::HeightTwips() const {
    return PixelsToTwips(m_window->frameGeometry().height(), m_window->logicalDpiY());
}

qint32 QtFormWindow::WidthTwips() const {
    return PixelsToTwips(m_window->frameGeometry().width(), m_window->logicalDpiX());
}

void QtFormWindow::setTopTwips(qint32 twips) {
    m_window->move(m_window->frameGeometry().left(), TwipsToPixels(twips, m_window->logicalDpiY()));
}

void QtFormWindow::setLeftTwips(qint32 twips) {
    m_window->move(TwipsToPixels(twips, m_window->logicalDpiX()), m_window->frameGeometry().top());
}

void QtFormWindow::setHeightTwips(qint32 twips) {
    const int frame = m_window->frameGeometry().height() - m_window->height();
    const int inner = TwipsToPixels(twips, m_window->logicalDpiY()) - frame;
    m_window->resize(m_window->width(), inner > 0 ? inner : 0);
}

void QtFormWindow::setWidthTwips(qint32 twips) {
    const int frame = m_window->frameGeometry().width() - m_window->width();
    const int inner = TwipsToPixels(twips, m_window->logicalDpiX()) - frame;
    m_window->resize(inner > 0 ? inner : 0, m_window->height());
}
