#include "Folders.h"

#include "Paths.h"

#include <QCoreApplication>
#include <QDir>

QString ApplicationFolder() {
    return AddPathSep(QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath());
}
