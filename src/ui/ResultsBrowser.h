#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QWidget;

// The embedded browser the download window drives: it posts a form, reports the loaded page's title and
// text, or the error that stopped it, and says whether it is still busy. The real one is a web engine
// view; tests give the window a scripted one, so the run is tested without a network or a browser.
class ResultsBrowser : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ResultsBrowser() override;

    // Loads the address; with a body the page is asked for as a form post with the body and the extra
    // header lines ("Name: value" followed by CR LF each), without one as a plain visit.
    virtual void navigate(const QUrl& url, const QByteArray& postBody, const QByteArray& extraHeader) = 0;
    // True from navigate until the page's text has been reported (or the load failed or was stopped).
    virtual bool busy() const = 0;
    // Gives up on the page being loaded; it reports nothing more.
    virtual void stop() = 0;
    // What the window shows in its browser area.
    virtual QWidget* widget() = 0;
    // Gives up on any page being loaded and shows this page of our own instead (an empty text: a blank
    // area); it is no page of the site and reports nothing.
    virtual void showNotice(const QString& html) = 0;

signals:
    // The page's title and its text as the browser would copy it: lines joined by CR LF, tabs as spaces.
    void loadFinished(const QString& title, const QString& plainText);
    // The page could not be loaded; the HTTP status when the server answered with one, else the
    // browser's own error number.
    void navigationError(int httpStatus);
};
