#include "LogReport.h"

#include "Json.h"
#include "patdata/SaleDayReader.h"
#include "views/LogViews.h"

namespace {
void write(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}
} // namespace

void writeLogJson(FILE* stream, const SaleDayReader& pat) {
    JsonWriter j(stream);
    j.beginObject();
    j.key(QStringLiteral("title")).value(LogViews::title(pat.saleDate(), pat.betLog()));
    j.key(QStringLiteral("views")).beginObject();
    for (qint16 view = 1; view <= LogViews::kViewCount; ++view) {
        j.key(QString::number(view)).value(LogViews::text(view, pat.meetings()).value_or(QString()));
        j.flush();
    }
    j.endObject();
    j.endObject();
    j.flush();
    std::fputc('\n', stream);
    std::fflush(stream);
}

void writeLogText(FILE* stream, const SaleDayReader& pat) {
    write(stream, LogViews::title(pat.saleDate(), pat.betLog()) + QLatin1Char('\n'));
    for (qint16 view = 1; view <= LogViews::kViewCount; ++view) {
        QString text = LogViews::text(view, pat.meetings()).value_or(QString());
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        write(stream, QStringLiteral("\n[%1 %2]\n").arg(view).arg(LogViews::caption(view).trimmed()));
        if (!text.isEmpty()) {
            write(stream, text + QLatin1Char('\n'));
        }
    }
    std::fflush(stream);
}
