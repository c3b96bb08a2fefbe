// The yardstick of a start: a Qt Widgets program that shows one label and ends once it has painted it. It
// prints when that was, in microseconds since the epoch, for the parent that started it:
//     vq-one-label
#include "FirstPaint.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("VelqoraV50"));
    FirstPaint paint(&QApplication::quit);
    label.installEventFilter(&paint);
    label.show();
    return app.exec();
}
