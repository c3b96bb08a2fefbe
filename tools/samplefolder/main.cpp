// Writes a sample client folder for trying the program without the betting client:
//     vq-sample-folder FOLDER
#include "SampleDay.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vq-sample-folder FOLDER\n");
        return 2;
    }
    const QString folder = QDir(args[1]).absolutePath();
    QString error;
    if (!WriteSampleDay(folder, &error)) {
        std::fprintf(stderr, "vq-sample-folder: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("vq-sample-folder: sale day %s written to %s\n", qPrintable(SampleDay::SaleDate()),
                qPrintable(QDir::toNativeSeparators(folder)));
    return 0;
}
