#include "LogReport.h"

#include "Json.h"
#include "patdata/SaleDayReader.h"
#include "views/LogViews.h"

namespace {
void Write(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}
} // namespace

void WriteLogJson(FILE* stream, const SaleDayReader& pat) {
    JsonWriter j(stream);
    j.BeginObject();
    j.Key(QStringLiteral("title")).Value(LogViews::Title(pat.CurDate(), pat.objLog()));
    j.Key(QStringLiteral("views")).BeginObject();
    for (qint16 view = 1; view <= LogViews::kViewCount; ++view) {
        j.Key(QString::number(view)).Value(LogViews::Text(view, pat.colKaisai()).value_or(QString()));
        j.Flush();
    }
    j.EndObject();
    j.EndObject();
    j.Flush();
    std::fputc('\n', stream);
    std::fflush(stream);
}

void WriteLogText(FILE* stream, const SaleDayReader& pat) {
    Write(stream, LogViews::Title(pat.CurDate(), pat.objLog()) + QLatin1Char('\n'));
    for (qint16 view = 1; view <= LogViews::kViewCount; ++view) {
        QString text = LogViews::Text(view, pat.colKaisai()).value_or(QString());
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        Write(stream, QStringLiteral("\n[%1 %2]\n").arg(view).arg(LogViews::Caption(view).trimmed()));
        if (!text.isEmpty()) {
            Write(stream, text + QLatin1Char('\n'));
        }
    }
    std::fflush(stream);
}
