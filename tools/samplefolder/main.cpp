// Writes a sample client folder for trying the program without the betting client:
//     vq-sample-folder FOLDER
#include "core/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vq-sample-folder FOLDER\n");
        return 2;
    }
    const QString folder = AddPathSep(QDir(args[1]).absolutePath());
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "vq-sample-folder: cannot create %s\n", qPrintable(folder));
        return 1;
    }
    // The client's program file only has to exist; its contents are never read.
    QFile exe(folder + QStringLiteral("PAT.EXE"));
    if (!exe.open(QIODevice::WriteOnly) || exe.write("sample client\r\n") < 0) {
        std::fprintf(stderr, "vq-sample-folder: cannot write %s\n", qPrintable(exe.fileName()));
        return 1;
    }
    return 0;
}
