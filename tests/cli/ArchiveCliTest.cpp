#include "CliRun.h"
#include "samplefolder/SampleDay.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {
qint64 sum(const QJsonArray& rows, const char* key) {
    qint64 sum = 0;
    for (const QJsonValue& r : rows) {
        sum += r.toObject().value(QLatin1String(key)).toInteger();
    }
    return sum;
}
} // namespace

TEST(ArchiveCli, TheSampleDayIsStoredOnceAndAnalysedAsTheSummaryCountsIt) {
    TempFolder dir;
    ASSERT_TRUE(writeSampleDay(dir.path()));
    for (int i = 0; i < 2; ++i) {
        const CliRun run = runVelqora({QStringLiteral("archive"), dir.path()});
        ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    }
    const QJsonObject totals =
        runVelqora({QStringLiteral("summary"), QStringLiteral("--json"), dir.path()}).json()["totals"].toObject();
    const CliRun run = runVelqora({QStringLiteral("analyse"), QStringLiteral("--json"), dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err.constData();
    const QJsonObject doc = run.json().object();
    EXPECT_EQ(doc["from"].toString(), QStringLiteral("20261205"));
    EXPECT_EQ(doc["to"].toString(), QStringLiteral("20261205"));
    // Every bet of the day's races, whenever bought, once (two stores); advance sales wait for their day.
    for (const char* table : {"byBetType", "byVenue"}) {
        const QJsonArray rows = doc[QLatin1String(table)].toArray();
        EXPECT_EQ(sum(rows, "stake"), totals["amtBuy"].toInteger() + totals["amtBuyYesterday"].toInteger()) << table;
        EXPECT_EQ(sum(rows, "payout"), totals["amtPay"].toInteger()) << table;
    }
    const QJsonObject trio = doc["byBetType"].toArray().last().toObject();
    EXPECT_EQ(trio["betType"].toInt(), 7);
    EXPECT_EQ(trio["name"].toString(), QStringLiteral("３連複"));

    // Another period: nothing staked, nothing divided. The CSV for spreadsheets: a byte-order mark first.
    const QJsonObject none =
        runVelqora({QStringLiteral("analyse"), QStringLiteral("--json"), dir.path(), QStringLiteral("--from"),
                    QStringLiteral("20250101"), QStringLiteral("--to"), QStringLiteral("20250131")})
            .json()
            .object();
    EXPECT_TRUE(none["byVenue"].toArray().isEmpty());
    const CliRun csv = runVelqora({QStringLiteral("analyse"), QStringLiteral("--csv"), dir.path()});
    EXPECT_TRUE(csv.out.startsWith("\xEF\xBB\xBF\xE6\x9C\x9F\xE9\x96\x93,20261205,20261205\r\n")); // 期間

    // Damage met as the analysis reads (every page after those of the tables and the version): no figures.
    const QByteArray whole = dir.read(QStringLiteral("VQBETS.SQLITE"));
    dir.write(QStringLiteral("VQBETS.SQLITE"), whole.left(8192) + QByteArray(whole.size() - 8192, '#'));
    const CliRun damaged = runVelqora({QStringLiteral("analyse"), dir.path()});
    EXPECT_EQ(damaged.exitCode, 4);
    EXPECT_TRUE(damaged.out.isEmpty() && damaged.err.contains("VQBETS.SQLITE が壊れて")) << damaged.err.constData();

    // A damaged archive: a message, an exit status, and the file left as it was.
    dir.write(QStringLiteral("VQBETS.SQLITE"), QByteArray(2048, '#'));
    const CliRun broken = runVelqora({QStringLiteral("archive"), dir.path()});
    EXPECT_EQ(broken.exitCode, 4);
    EXPECT_TRUE(broken.err.contains("VQBETS.SQLITE")) << broken.err.constData();
    EXPECT_EQ(dir.read(QStringLiteral("VQBETS.SQLITE")), QByteArray(2048, '#'));
}
