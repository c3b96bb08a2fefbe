#include "QtWindowHost.h"

QtWindowHost::QtWindowHost(QWidget* owner) : m_owner(owner) {}

QtWindowHost::~QtWindowHost() = default;

void QtWindowHost::Register(Window window, Factory factory) {
    m_factories[window] = std::move(factory);
}

bool QtWindowHost::HasFactory(Window window) const {
    return m_factories.count(window) > 0;
}

QWidget* QtWindowHost::Loaded(Window window) const {
    const auto it = m_open.find(window);
    if (it == m_open.end() || it->second.isNull() || !it->second->isVisible()) {
        return nullptr;
    }
    return it->second.data();
}

bool QtWindowHost::IsLoaded(Window window) const {
    return Loaded(window) != nullptr;
}

void QtWindowHost::Unload(Window window) {
    const auto it = m_open.find(window);
    if (it == m_open.end()) {
        return;
    }
    QPointer<QWidget> w = it->second;
    m_open.erase(it);
    if (w) {
        w->close(); // saves its place
        delete w.data();
    }
}

void QtWindowHost::Show(Window window, DayController& control) {
    const auto f = m_factories.find(window);
    if (f == m_factories.end()) {
        return;
    }
    if (QWidget* open = Loaded(window)) {
        open->raise();
        open->activateWindow();
        return;
    }
    QWidget* w = f->second(control, m_owner);
    if (!w) {
        return;
    }
    w->setAttribute(Qt::WA_DeleteOnClose);
    m_open[window] = w;
    w->show();
}

void QtWindowHost::UnloadAll() {
    for (const Window w :
         {Window::Profit, Window::Log, Window::Record, Window::Detail, Window::Kekka, Window::Browser}) {
        Unload(w);
    }
}
