// The yardstick of a start: a Qt Widgets program that shows one label and ends once it has painted it. It
// prints when that was, in microseconds since the epoch, for the parent that started it:
//     vq-one-label
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>

#include <chrono>
#include <cstdio>

namespace {
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, [] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf("painted at %lld\n",
                            static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
                QApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("VelqoraV50"));
    FirstPaint paint;
    label.installEventFilter(&paint);
    label.show();
    return app.exec();
}
