#pragma once

#include <QEvent>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <functional>
#include <utility>

// Watches a window (as its event filter) for its first paint. Once that paint has finished it prints
// "painted at" and the moment, in microseconds since the epoch, for the process that started this one to
// time the start by, then runs `then`.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(std::function<void()> then) : m_then(std::move(then)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, [this] {
                const auto now = std::chrono::system_clock::now().time_since_epoch();
                std::printf("painted at %lld\n",
                            static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
                std::fflush(stdout);
                m_then();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_then;
    bool m_done = false;
};
