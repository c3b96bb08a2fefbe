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
    const auto kept = m_kept.find(window);
    if (kept == m_kept.end()) {
        w->show();
        return;
    }
    // Built again by a refresh, perhaps while the user works in the betting client: the focus stays
    // where it is.
    w->setAttribute(Qt::WA_ShowWithoutActivating);
    w->show();
    if (auto* child = qobject_cast<ChildWindow*>(w)) {
        child->restoreViewState(kept->second);
    }
    m_kept.erase(kept);
}

std::vector<IWindowHost::Window> QtWindowHost::closeForRebuild() {
    m_kept.clear();
    std::vector<Window> closed;
    // The race windows first: the profit table closes the ones it opened as it goes.
    for (const Window w : {Window::Detail, Window::Kekka, Window::Profit, Window::Log, Window::Record}) {
        auto* child = qobject_cast<ChildWindow*>(loaded(w));
        if (!child || child->busy()) {
            continue;
        }
        m_kept[w] = child->viewState();
        unload(w);
        closed.push_back(w);
    }
    return closed;
}

void QtWindowHost::endRebuild() {
    m_kept.clear();
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
