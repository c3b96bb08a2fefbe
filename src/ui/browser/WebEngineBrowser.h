#pragma once

#include "ui/BrowserEngine.h"

#include <QObject>
#include <QPointer>

class QWebEngineLoadingInfo;
class QWebEngineView;

// The results browser on a web engine view. The page's text is what the engine renders as plain text
// (the text a select-all and copy would give), so the clipboard, which belongs to the user, is never
// touched.
class WebEngineBrowser : public QObject, public BrowserEngine {
    Q_OBJECT
public:
    WebEngineBrowser();
    ~WebEngineBrowser() override;

    void navigate(const QUrl& url, const QByteArray& postBody, const QByteArray& extraHeader) override;
    bool busy() const override { return m_pending; }
    void stop() override;
    QWidget* widget() override;
    void showNotice(const QString& html) override;

private:
    void onLoadingChanged(const QWebEngineLoadingInfo& info);

    // The view ends up in the window's layout, which then owns it; until then (or if it never gets there)
    // this object does.
    QPointer<QWebEngineView> m_view;
    // A page has been asked for and has not been reported yet. Events of a load given up on are dropped.
    bool m_pending = false;
    // Counts the navigations, so a text that arrives for an earlier page is not taken for the current one.
    quint64 m_load = 0;
};

// The plugin: makes the engines.
class WebEnginePlugin : public QObject, public BrowserEngineFactory {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VQ_BROWSER_ENGINE_IID)
    Q_INTERFACES(BrowserEngineFactory)
public:
    std::unique_ptr<BrowserEngine> makeEngine() override;
};
