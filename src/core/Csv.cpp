#include "Csv.h"

namespace Csv {

QString field(const QString& text) {
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                       text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quote) {
        return text;
    }
    QString out = text;
    out.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QByteArray document(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0) {
                text += QLatin1Char(',');
            }
            text += field(row[i]);
        }
        text += QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

} // namespace Csv
