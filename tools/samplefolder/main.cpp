// Writes a sample client folder for trying the program without the betting client, or a heavy day for
// measuring:
//     vq-sample-folder FOLDER
//     vq-sample-folder --heavy FOLDER          the mixed heavy day
//     vq-sample-folder --heavy-boxes FOLDER    the heavy day of trio boxes and open races
#include "HeavyDay.h"
#include "SampleDay.h"

#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool boxes = !args.isEmpty() && args.first() == QLatin1String("--heavy-boxes");
    const bool heavy = boxes || (!args.isEmpty() && args.first() == QLatin1String("--heavy"));
    if (heavy) {
        args.removeFirst();
    }
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--"))) {
        std::fprintf(stderr, "usage: vq-sample-folder [--heavy | --heavy-boxes] FOLDER\n");
        return 2;
    }
    const QString folder = QDir(args.first()).absolutePath();
    QString error;
    if (!(heavy ? HeavyDay::write(folder, &error, boxes ? HeavyDay::Shape::Boxes : HeavyDay::Shape::Mixed)
                : writeSampleDay(folder, &error))) {
        std::fprintf(stderr, "vq-sample-folder: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("vq-sample-folder: %s sale day %s written to %s\n", heavy ? "heavy" : "sample",
                qPrintable(heavy ? HeavyDay::saleDate() : SampleDay::saleDate()),
                qPrintable(QDir::toNativeSeparators(folder)));
    return 0;
}
