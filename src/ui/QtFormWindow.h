#pragma once

#include "core/FormWindow.h"

class QWidget;

// A real window seen through the settings' eyes: outer position and size in twips, converted with the
// screen's logical DPI.
class QtFormWindow : public IFormWindow {
public:
    QtFormWindow(QWidget* window, int tag);

    int FormTag() const override { return m_tag; }
    bool IsMinimized() const override;
    qint32 TopTwips() const override;
    qint32 LeftTwips() const override;
    qint32 HeightTwips() const override;
    qint32 WidthTwips() const override;
    void setTopTwips(qint32 twips) override;
    void setLeftTwips(qint32 twips) override;
    void setHeightTwips(qint32 twips) override;
    void setWidthTwips(qint32 twips) override;

    // Conversions at the window's logical DPI.
    static int TwipsToPixels(qint32 twips, int dpi);
    static qint32 PixelsToTwips(int pixels, int dpi);

private:
    QWidget* m_window;
    int m_tag;
};
