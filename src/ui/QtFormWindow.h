#pragma once

#include "core/FormWindow.h"

#include <QRect>

class QWidget;

// A real window seen through the settings' eyes: outer position and size in twips, converted with the
// screen's logical DPI. Read, it is the window's frame as shown; written, it collects the wanted frame,
// which `Place` then gives the window.
class QtFormWindow : public IFormWindow {
public:
    QtFormWindow(QWidget* window, int tag);

    int formTag() const override { return m_tag; }
    bool isMinimized() const override;
    qint32 topTwips() const override;
    qint32 leftTwips() const override;
    qint32 heightTwips() const override;
    qint32 widthTwips() const override;
    void setTopTwips(qint32 twips) override;
    void setLeftTwips(qint32 twips) override;
    void setHeightTwips(qint32 twips) override;
    void setWidthTwips(qint32 twips) override;

    // Moves and sizes the window to the collected frame. A window with no stored place (`stored` false)
    // instead takes its first place beside `anchor` (the screen's top right without one), clear of `avoid`;
    // a stored place no screen shows any more is brought back onto one.
    void place(bool stored, const QRect& anchor = QRect(), const QRect& avoid = QRect(), int step = 0);

    // Conversions at the window's logical DPI.
    static int twipsToPixels(qint32 twips, int dpi);
    static qint32 pixelsToTwips(int pixels, int dpi);

private:
    QWidget* m_window;
    int m_tag;
    QRect m_outer;
};
