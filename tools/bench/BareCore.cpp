// The yardstick of a command: a Qt Core program that starts and ends, doing nothing in between.
//     vq-bare-core
#include <QCoreApplication>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    return 0;
}
