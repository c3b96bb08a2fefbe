#include "WebEngineBrowser.h"

#include <QList>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
// The engine's error number for a load that was interrupted (by stop() or by the next navigation): not an
// answer of the site.
constexpr int kAborted = -3;

// The engine gives LF line ends and keeps tabs between table cells; the converter reads lines joined by
// CR LF with spaces between the cells.
QString asCopied(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return text;
}
} // namespace

std::unique_ptr<BrowserEngine> WebEnginePlugin::makeEngine() {
    return std::make_unique<WebEngineBrowser>();
}

WebEngineBrowser::WebEngineBrowser() : m_view(new QWebEngineView) {
    // The engine's own error page is English and names nothing the user can do; the window puts its own
    // page there (showNotice).
    m_view->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    connect(m_view->page(), &QWebEnginePage::loadingChanged, this, &WebEngineBrowser::onLoadingChanged);
}

WebEngineBrowser::~WebEngineBrowser() {
    if (m_view && !m_view->parent()) {
        delete m_view.data();
    }
}

QWidget* WebEngineBrowser::widget() {
    return m_view.data();
}

void WebEngineBrowser::navigate(const QUrl& url, const QByteArray& postBody, const QByteArray& extraHeader) {
    if (!m_view) {
        return;
    }
    ++m_load;
    m_pending = true;
    if (url.scheme() == QLatin1String("about")) {
        // The engine only knows about:blank; any other start page is a blank page too.
        m_view->setUrl(QUrl(QStringLiteral("about:blank")));
        return;
    }
    if (postBody.isEmpty()) {
        m_view->setUrl(url);
        return;
    }
    QWebEngineHttpRequest request(url, QWebEngineHttpRequest::Post);
    request.setPostData(postBody);
    for (const QByteArray& line : extraHeader.split('\n')) {
        const int colon = line.indexOf(':');
        if (colon > 0) {
            request.setHeader(line.left(colon).trimmed(), line.mid(colon + 1).trimmed());
        }
    }
    m_view->load(request);
}

void WebEngineBrowser::stop() {
    m_pending = false;
    ++m_load;
    if (m_view) {
        m_view->stop();
    }
}

void WebEngineBrowser::showNotice(const QString& html) {
    stop();
    if (m_view) {
        m_view->setHtml(html.isEmpty() ? QStringLiteral("<html><body></body></html>") : html);
    }
}

void WebEngineBrowser::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    // Our own pages come as data addresses: their events may arrive after the next page was asked for and
    // must never be taken for its answer.
    if (!m_pending || info.url().scheme() == QLatin1String("data")) {
        return;
    }
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        return;
    case QWebEngineLoadingInfo::LoadStoppedStatus:
        m_pending = false;
        return;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        if (info.errorCode() == kAborted && info.errorDomain() != QWebEngineLoadingInfo::HttpStatusCodeDomain) {
            return; // the previous page giving way to this one
        }
        m_pending = false;
        if (failed) {
            failed(info.errorCode());
        }
        return;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        break;
    }
    const quint64 load = m_load;
    const QPointer<WebEngineBrowser> self(this);
    m_view->page()->toPlainText([self, load](const QString& text) {
        if (!self || !self->m_pending || self->m_load != load || !self->m_view) {
            return;
        }
        self->m_pending = false;
        if (self->loaded) {
            self->loaded(self->m_view->page()->title(), asCopied(text));
        }
    });
}
