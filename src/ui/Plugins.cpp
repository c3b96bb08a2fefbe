#include "Plugins.h"

#include "BrowserEngine.h"
#include "ChartDrawing.h"
#include "ResultsBrowser.h"
#include "core/ErrorReporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>

namespace {
// The plugin's root object as that interface, loaded once (Qt keeps it loaded); null with the reason.
template <class Interface>
Interface* loadPlugin(const QString& name, QString* error) {
    QPluginLoader loader(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name);
    auto* found = qobject_cast<Interface*>(loader.instance());
    if (!found) {
        *error = QDir::toNativeSeparators(loader.fileName().isEmpty() ? name : loader.fileName()) +
                 QStringLiteral(": ") + loader.errorString();
    }
    return found;
}

// Why the chart plugin could not be loaded, kept for the chart page's text.
QString& chartError() {
    static QString error;
    return error;
}

// The download window's browser on an engine of the plugin: what the engine reports becomes the
// browser's signals.
class PluginBrowser : public ResultsBrowser {
public:
    explicit PluginBrowser(std::unique_ptr<BrowserEngine> engine) : m_engine(std::move(engine)) {
        m_engine->loaded = [this](const QString& title, const QString& text) { emit loadFinished(title, text); };
        m_engine->failed = [this](int status) { emit navigationError(status); };
    }
    void navigate(const QUrl& url, const QByteArray& postBody, const QByteArray& extraHeader) override {
        m_engine->navigate(url, postBody, extraHeader);
    }
    bool busy() const override { return m_engine->busy(); }
    void stop() override { m_engine->stop(); }
    QWidget* widget() override { return m_engine->widget(); }
    void showNotice(const QString& html) override { m_engine->showNotice(html); }

private:
    std::unique_ptr<BrowserEngine> m_engine;
};
} // namespace

namespace Plugins {
void prepareApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

std::unique_ptr<ResultsBrowser> webBrowser() {
    QString error;
    BrowserEngineFactory* factory = loadPlugin<BrowserEngineFactory>(QStringLiteral("vqbrowser"), &error);
    if (!factory) {
        reportFailure(QStringLiteral("ダウンロード画面のブラウザー部品 (vqbrowser) を読み込めませんでした。ダウンロード"
                                     "は使えませんが、ほかの画面と数字はそのままです。プログラムと同じフォルダーに"
                                     "vqbrowser があるか確かめ、無ければプログラムを入れ直してください。"),
                      error);
        return nullptr;
    }
    return std::make_unique<PluginBrowser>(factory->makeEngine());
}

std::unique_ptr<ChartDrawing> chartDrawing(const QFont& font) {
    ChartDrawingFactory* factory = loadPlugin<ChartDrawingFactory>(QStringLiteral("vqchart"), &chartError());
    return factory ? factory->makeDrawing(font) : nullptr;
}

QString chartMissingText() {
    return QStringLiteral("グラフの部品 (vqchart) を読み込めないため、グラフを表示できません。通帳の一覧と記録は"
                          "そのまま使えます。プログラムと同じフォルダーに vqchart があるか確かめ、無ければ"
                          "プログラムを入れ直してください。\n") +
           chartError();
}
} // namespace Plugins
