#include "TestSupport.h"

#include <QDir>
#include <QWidget>

QString saveScreenshot(QWidget* window, const QString& name) {
    const QString dir = QStringLiteral(VQ_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    // One picture per screen resolution the suite runs at.
    const int dpi = qRound(window->logicalDpiX() * window->devicePixelRatioF());
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral("-%1dpi.png").arg(dpi);
    window->grab().save(path);
    return path;
}
