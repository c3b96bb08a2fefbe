#include "ProfitReport.h"

#include "Json.h"
#include "patdata/SaleDayReader.h"
#include "views/ProfitTable.h"

QByteArray profitJson(const SaleDayReader& pat) {
    const ProfitTable table = buildProfitTable(pat.meetings(), pat.saleDate());
    JsonWriter j;
    j.beginObject();
    j.key(QStringLiteral("caption")).value(table.caption);
    j.key(QStringLiteral("meetings")).beginArray();
    for (const ProfitMeeting& m : table.meetings) {
        j.beginObject();
        j.key(QStringLiteral("title")).value(m.title);
        j.key(QStringLiteral("rows")).beginArray();
        for (const ProfitRow& row : m.rows) {
            j.beginObject();
            j.key(QStringLiteral("index")).value(qint64(row.index));
            j.key(QStringLiteral("stake")).value(row.stake);
            j.key(QStringLiteral("profit")).value(row.profit);
            writeColour(j.key(QStringLiteral("profitFore")), row.profitFore);
            writeColour(j.key(QStringLiteral("profitBack")), row.profitBack);
            j.endObject();
        }
        j.endArray();
        j.key(QStringLiteral("tomorrow"));
        m.hasTomorrow ? void(j.value(m.tomorrow)) : void(j.null());
        j.key(QStringLiteral("stakeTotal")).value(m.stakeTotal);
        j.key(QStringLiteral("profitTotal")).value(m.profitTotal);
        j.key(QStringLiteral("profitTotalRed")).value(m.profitTotalRed);
        j.endObject();
    }
    j.endArray();
    j.endObject();
    return j.toUtf8() + '\n';
}

namespace {
// The window tells a settled race by its cell's background; text has only a word for it.
QString mark(const OptionalRgb& back) {
    if (!back) {
        return QString();
    }
    if (*back == Rgb::Black) {
        return QStringLiteral(" [黒]");
    }
    if (*back == Rgb::Red) {
        return QStringLiteral(" [赤]");
    }
    return QStringLiteral(" [%1]").arg(Rgb::hex(*back));
}
} // namespace

QString profitText(const SaleDayReader& pat) {
    const ProfitTable table = buildProfitTable(pat.meetings(), pat.saleDate());
    QString t = table.caption + QLatin1Char('\n');
    for (const ProfitMeeting& m : table.meetings) {
        t += QLatin1Char('\n') + m.title + QLatin1Char('\n');
        t += QStringLiteral("           投票      損益\n");
        for (const ProfitRow& row : m.rows) {
            t += QStringLiteral("  %1R %2 %3%4\n")
                     .arg(pickRaceCell(row.index).race, 2)
                     .arg(row.stake, 9)
                     .arg(row.profit, 9)
                     .arg(mark(row.profitBack));
        }
        if (m.hasTomorrow) {
            t += QStringLiteral("  前日%1\n").arg(m.tomorrow, 9);
        }
        t += QStringLiteral("    計%1 %2%3\n")
                 .arg(m.stakeTotal, 9)
                 .arg(m.profitTotal, 9)
                 .arg(m.profitTotalRed ? QStringLiteral(" [赤]") : QString());
    }
    return t;
}
