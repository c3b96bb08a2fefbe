#include "Globals.h"

#include "Paths.h"

#include <QCoreApplication>
#include <QDir>

QString gstrPatPath;
QString gstrDownPath;

namespace {
QString g_programFolder;
}

QString ProgramFolder() {
    if (!g_programFolder.isEmpty()) {
        return g_programFolder;
    }
    if (QCoreApplication::instance()) {
        return AddPathSep(QCoreApplication::applicationDirPath());
    }
    return AddPathSep(QDir::currentPath());
}

void SetProgramFolder(const QString& folder) {
    g_programFolder = folder.isEmpty() ? QString() : AddPathSep(folder);
}
