#include "ProfitReport.h"

#include "Json.h"
#include "patdata/SaleDayReader.h"
#include "views/ProfitTable.h"

QByteArray ProfitJson(const SaleDayReader& pat) {
    const ProfitTable table = BuildProfitTable(pat.colKaisai(), pat.CurDate());
    JsonWriter j;
    j.BeginObject();
    j.Key(QStringLiteral("caption")).Value(table.Caption);
    j.Key(QStringLiteral("meetings")).BeginArray();
    for (const ProfitMeeting& m : table.Meetings) {
        j.BeginObject();
        j.Key(QStringLiteral("title")).Value(m.Title);
        j.Key(QStringLiteral("rows")).BeginArray();
        for (const ProfitRow& row : m.Rows) {
            j.BeginObject();
            j.Key(QStringLiteral("index")).Value(qint64(row.Index));
            j.Key(QStringLiteral("stake")).Value(row.Stake);
            j.Key(QStringLiteral("profit")).Value(row.Profit);
            WriteColour(j.Key(QStringLiteral("profitFore")), row.ProfitFore);
            WriteColour(j.Key(QStringLiteral("profitBack")), row.ProfitBack);
            j.EndObject();
        }
        j.EndArray();
        j.Key(QStringLiteral("tomorrow"));
        m.HasTomorrow ? void(j.Value(m.Tomorrow)) : void(j.Null());
        j.Key(QStringLiteral("stakeTotal")).Value(m.StakeTotal);
        j.Key(QStringLiteral("profitTotal")).Value(m.ProfitTotal);
        j.Key(QStringLiteral("profitTotalRed")).Value(m.ProfitTotalRed);
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return j.ToUtf8() + '\n';
}

namespace {
// The window tells a settled race by its cell's background; text has only a word for it.
QString Mark(const OptionalRgb& back) {
    if (!back) {
        return QString();
    }
    if (*back == Rgb::Black) {
        return QStringLiteral(" [黒]");
    }
    if (*back == Rgb::Red) {
        return QStringLiteral(" [赤]");
    }
    return QStringLiteral(" [%1]").arg(Rgb::Hex(*back));
}
} // namespace

QString ProfitText(const SaleDayReader& pat) {
    const ProfitTable table = BuildProfitTable(pat.colKaisai(), pat.CurDate());
    QString t = table.Caption + QLatin1Char('\n');
    for (const ProfitMeeting& m : table.Meetings) {
        t += QLatin1Char('\n') + m.Title + QLatin1Char('\n');
        t += QStringLiteral("           投票      損益\n");
        for (const ProfitRow& row : m.Rows) {
            t += QStringLiteral("  %1R %2 %3%4\n")
                     .arg(PickRaceCell(row.Index).Race, 2)
                     .arg(row.Stake, 9)
                     .arg(row.Profit, 9)
                     .arg(Mark(row.ProfitBack));
        }
        if (m.HasTomorrow) {
            t += QStringLiteral("  前日%1\n").arg(m.Tomorrow, 9);
        }
        t += QStringLiteral("    計%1 %2%3\n")
                 .arg(m.StakeTotal, 9)
                 .arg(m.ProfitTotal, 9)
                 .arg(m.ProfitTotalRed ? QStringLiteral(" [赤]") : QString());
    }
    return t;
}
