#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class QWidget;

// The web engine the download window's browser is built on. It lives in a plugin loaded when the first
// download window opens, so the program starts without the engine's libraries. Only Qt's own types cross
// between the program and the plugin: what the engine reports comes through the two callbacks.
class BrowserEngine {
public:
    virtual ~BrowserEngine() = default;
    // As ResultsBrowser's functions of the same names.
    virtual void navigate(const QUrl& url, const QByteArray& postBody, const QByteArray& extraHeader) = 0;
    virtual bool busy() const = 0;
    virtual void stop() = 0;
    virtual QWidget* widget() = 0;
    virtual void showNotice(const QString& html) = 0;

    // The page's title and its text, lines joined by CR LF; or the error that stopped it.
    std::function<void(const QString& title, const QString& plainText)> loaded;
    std::function<void(int httpStatus)> failed;
};

// What the plugin gives: a new engine with its view.
class BrowserEngineFactory {
public:
    virtual ~BrowserEngineFactory() = default;
    virtual std::unique_ptr<BrowserEngine> makeEngine() = 0;
};

#define VQ_BROWSER_ENGINE_IID "VelqoraV50.BrowserEngineFactory/1"
Q_DECLARE_INTERFACE(BrowserEngineFactory, VQ_BROWSER_ENGINE_IID)
