#include "QtWindowHost.h"

#include "ChildWindow.h"

#include <QApplication>

QtWindowHost::QtWindowHost(QWidget* owner) : m_owner(owner) {}

QtWindowHost::~QtWindowHost() = default;

void QtWindowHost::registerWindow(Window window, Factory factory) {
    m_factories[window] = std::move(factory);
}

bool QtWindowHost::hasFactory(Window window) const {
    return m_factories.count(window) > 0;
}

QWidget* QtWindowHost::loaded(Window window) const {
    const auto it = m_open.find(window);
    if (it == m_open.end() || it->second.isNull() || !it->second->isVisible()) {
        return nullptr;
    }
    return it->second.data();
}

bool QtWindowHost::isLoaded(Window window) const {
    return loaded(window) != nullptr;
}

void QtWindowHost::unload(Window window) {
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

void QtWindowHost::show(Window window, DayController& control, const ShownRace* race) {
    const auto f = m_factories.find(window);
    if (f == m_factories.end()) {
        return;
    }
    if (QWidget* open = loaded(window)) {
        open->raise();
        open->activateWindow();
        return;
    }
    QWidget* w = f->second(control, m_owner, race);
    if (!w) {
        return;
    }
    w->setAttribute(Qt::WA_DeleteOnClose);
    m_open[window] = w;
    w->show();
}

bool QtWindowHost::refill(Window window, const ShownRace* race) {
    auto* child = qobject_cast<ChildWindow*>(loaded(window));
    if (!child) {
        return false;
    }
    if (!child->busy()) {
        child->rebuild(race);
    }
    return true;
}

void QtWindowHost::unloadAll() {
    for (const Window w :
         {Window::Profit, Window::Log, Window::Record, Window::Detail, Window::Kekka, Window::Browser}) {
        unload(w);
    }
}

bool QtWindowHost::canRebuild() const {
    return !QApplication::activeModalWidget() && !QApplication::activePopupWidget();
}
