#include "CliRun.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {
qint64 Sum(const QJsonArray& rows, const char* key) {
    qint64 sum = 0;
    for (const QJsonValue& r : rows) {
        sum += r.toObject().value(QLatin1String(key)).toInteger();
    }
    return sum;
}
} // namespace

TEST(ArchiveCli, TheSampleDayIsStoredOnceAndAnalysedAsTheSummaryCountsIt) {
    TempFolder dir;
    ASSERT_TRUE(WriteSampleDay(dir.Path()));
    for (int i = 0; i < 2; ++i) {
        const CliRun run = RunVelqora({QStringLiteral("archive"), dir.Path()});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    }
    const QJsonObject totals =
        RunVelqora({QStringLiteral("summary"), QStringLiteral("--json"), dir.Path()}).Json()["totals"].toObject();
    const CliRun run = RunVelqora({QStringLiteral("analyse"), QStringLiteral("--json"), dir.Path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject doc = run.Json().object();
    EXPECT_EQ(doc["from"].toString(), QStringLiteral("20261205"));
    EXPECT_EQ(doc["to"].toString(), QStringLiteral("20261205"));
    // Every bet of the day's races, whenever bought, once (two stores); advance sales wait for their day.
    for (const char* table : {"byBetType", "byVenue"}) {
        const QJsonArray rows = doc[QLatin1String(table)].toArray();
        EXPECT_EQ(Sum(rows, "stake"), totals["amtBuy"].toInteger() + totals["amtBuyYesterday"].toInteger()) << table;
        EXPECT_EQ(Sum(rows, "payout"), totals["amtPay"].toInteger()) << table;
    }
    const QJsonObject trio = doc["byBetType"].toArray().last().toObject();
    EXPECT_EQ(trio["betType"].toInt(), 7);
    EXPECT_EQ(trio["name"].toString(), QStringLiteral("３連複"));

    // Another period: nothing staked, nothing divided. The CSV for spreadsheets: a byte-order mark first.
    const QJsonObject none =
        RunVelqora({QStringLiteral("analyse"), QStringLiteral("--json"), dir.Path(), QStringLiteral("--from"),
                    QStringLiteral("20250101"), QStringLiteral("--to"), QStringLiteral("20250131")})
            .Json()
            .object();
    EXPECT_TRUE(none["byVenue"].toArray().isEmpty());
    const CliRun csv = RunVelqora({QStringLiteral("analyse"), QStringLiteral("--csv"), dir.Path()});
    EXPECT_TRUE(csv.out.startsWith("\xEF\xBB\xBF\xE6\x9C\x9F\xE9\x96\x93,20261205,20261205\r\n")); // 期間

    // Damage met as the analysis reads (every page after those of the tables and the version): no figures.
    const QByteArray whole = dir.Read(QStringLiteral("VQBETS.SQLITE"));
    dir.Write(QStringLiteral("VQBETS.SQLITE"), whole.left(8192) + QByteArray(whole.size() - 8192, '#'));
    const CliRun damaged = RunVelqora({QStringLiteral("analyse"), dir.Path()});
    EXPECT_EQ(damaged.exitCode, 4);
    EXPECT_TRUE(damaged.out.isEmpty() && damaged.err.contains("VQBETS.SQLITE が壊れて")) << damaged.err.constData();

    // A damaged archive: a message, an exit status, and the file left as it was.
    dir.Write(QStringLiteral("VQBETS.SQLITE"), QByteArray(2048, '#'));
    const CliRun broken = RunVelqora({QStringLiteral("archive"), dir.Path()});
    EXPECT_EQ(broken.exitCode, 4);
    EXPECT_TRUE(broken.err.contains("VQBETS.SQLITE")) << broken.err.constData();
    EXPECT_EQ(dir.Read(QStringLiteral("VQBETS.SQLITE")), QByteArray(2048, '#'));
}
