#include "Folders.h"

#include "Paths.h"

#include <QCoreApplication>
#include <QDir>

QString applicationFolder() {
    return addPathSep(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath());
}
