#include "TestSupport.h"

#include <QDir>
#include <QWidget>

QString SaveScreenshot(QWidget* window, const QString& name) {
    const QString dir = QStringLiteral(VQ_SCREENSHOT_DIR);
    QDir().mkpath(dir);
    const QString path = dir + QLatin1Char('/') + name + QStringLiteral(".png");
    window->grab().save(path);
    return path;
}
