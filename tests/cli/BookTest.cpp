#include "CliRun.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <array>

#include <gtest/gtest.h>

namespace {
const QString kBook = QStringLiteral("VQPROFIT.TXT");
// Lines of the book written out by hand: date 1-8, bet 9-16, payout 17-24, profit 25-33, update 34.
const QByteArray kNewBook = "0000000000000000000000000000000000\r\n";
const QByteArray kSentinel = "000000000       0       0        0\r\n";
const QByteArray kDay6 = "202405061200    5000    3800     1\r\n";
const QByteArray kDay7 = "202405072000    500     -1500    0\r\n";
const QDateTime kOld(QDate(2020, 1, 2), QTime(3, 4, 5));

QJsonObject book(const TempFolder& dir, QStringList args) {
    args.prepend(dir.path());
    args.prepend(QStringLiteral("book"));
    args << QStringLiteral("--json");
    const CliRun run = runVelqora(args);
    EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString() << ": " << run.err.constData();
    return run.json().object();
}

// Dates of a list in the document, and the record fields "date buy pay profit update" of one entry.
QStringList dates(const QJsonObject& doc, const char* list) {
    QStringList dates;
    for (const QJsonValue& v : doc.value(QLatin1String(list)).toArray()) {
        dates << v.toObject().value(QLatin1String("date")).toString();
    }
    return dates;
}
QString fields(const QJsonValue& v) {
    const QJsonObject o = v.toObject();
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(o.value(QLatin1String("date")).toString())
        .arg(o.value(QLatin1String("buy")).toInt())
        .arg(o.value(QLatin1String("pay")).toInt())
        .arg(o.value(QLatin1String("profit")).toInt())
        .arg(o.value(QLatin1String("update")).toInt(-1));
}

void age(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(kOld, QFileDevice::FileModificationTime));
}
} // namespace

TEST(BookCommand, EveryFormOnOneBook) {
    TempFolder dir;
    QJsonObject doc = book(dir, {});
    EXPECT_EQ(dir.read(kBook), kNewBook); // created as the program does at load
    EXPECT_EQ(fields(doc.value(QLatin1String("records")).toArray().at(0)), QStringLiteral("00000000 0 0 0 0"));
    EXPECT_EQ(doc.value(QLatin1String("records")).toArray().size(), 1);

    doc = book(dir, {"--set", "20240506", "1200", "5000", "--protect"});
    EXPECT_EQ(dir.read(kBook), kDay6 + kSentinel);
    EXPECT_EQ(fields(doc.value(QLatin1String("records")).toArray().at(0)), QStringLiteral("20240506 1200 5000 3800 1"));
    EXPECT_EQ(fields(doc.value(QLatin1String("best")).toArray().at(0)), QStringLiteral("20240506 1200 5000 3800 -1"));
    EXPECT_EQ(doc.value(QLatin1String("totals")).toObject(),
              (QJsonObject{{"buy", 1200}, {"pay", 5000}, {"profit", 3800}}));

    const CliRun text = runVelqora({QStringLiteral("book"), dir.path()});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.startsWith("現在までの収支 3,800円\n投票 1,200   払戻 5,000   損益 3,800\n"))
        << text.out.constData();
    EXPECT_TRUE(text.out.contains("\n2024/05/06      1200      5000      3800\n")) << text.out.constData();

    // The automatic update leaves the protected day alone, and an edit that changes nothing writes nothing.
    age(dir.file(kBook));
    doc = book(dir, {"--auto", "20240506", "100", "0"});
    EXPECT_EQ(dir.read(kBook), kDay6 + kSentinel);
    EXPECT_EQ(QFileInfo(dir.file(kBook)).lastModified(), kOld);
    book(dir, {"--set", "20240506", "1200", "5000", "--protect"});
    EXPECT_EQ(QFileInfo(dir.file(kBook)).lastModified(), kOld);

    doc = book(dir, {"--auto", "20240507", "2000", "500"});
    EXPECT_EQ(dir.read(kBook), kDay7 + kDay6 + kSentinel);
    doc = book(dir, {"--set", "20240506", "1200", "900"}); // corrected, no longer protected
    EXPECT_EQ(fields(doc.value(QLatin1String("records")).toArray().at(1)), QStringLiteral("20240506 1200 900 -300 0"));
    EXPECT_EQ(dates(doc, "worst"), (QStringList{"20240507", "20240506"}));
    EXPECT_TRUE(dates(doc, "best").isEmpty());

    doc = book(dir, {"--set", "20240507", "0", "0"}); // a bet of 0 deletes, as in the passbook
    EXPECT_EQ(dates(doc, "records"), (QStringList{"20240506", "00000000"}));
    doc = book(dir, {"--delete", "20240506"});
    EXPECT_EQ(dir.read(kBook), kSentinel);
    EXPECT_EQ(doc.value(QLatin1String("totals")).toObject(), (QJsonObject{{"buy", 0}, {"pay", 0}, {"profit", 0}}));
}

TEST(BookCommand, RefusedEditsLeaveTheFileAsItWas) {
    TempFolder dir;
    dir.write(kBook, kDay6 + kSentinel);
    age(dir.file(kBook));
    TempFolder none; // no book yet: a refused edit does not create one
    const QList<QStringList> refused = {{"--set", "20240231", "100", "0"},
                                        {"--set", "20240506", "-5", "0"},
                                        {"--set", "20240506", "12abc", "0"},
                                        {"--set", "20240506", "100", "100000000"},
                                        {"--delete", "2024056"},
                                        {"--delete", "00000000"},
                                        {"--auto", "2024-05-06", "1", "1"},
                                        {"--set", "20240506", "100"},
                                        {"--auto", "20240506", "1", "1", "--protect"}};
    for (const QStringList& edit : refused) {
        for (const TempFolder* folder : {&dir, &none}) {
            const CliRun run = runVelqora(QStringList{"book", folder->path()} + edit);
            EXPECT_EQ(run.exitCode, 2) << edit.join(' ').toStdString();
            EXPECT_FALSE(run.err.isEmpty()) << edit.join(' ').toStdString();
            EXPECT_TRUE(run.out.isEmpty()) << edit.join(' ').toStdString();
        }
        EXPECT_EQ(dir.read(kBook), kDay6 + kSentinel) << edit.join(' ').toStdString();
        EXPECT_EQ(QFileInfo(dir.file(kBook)).lastModified(), kOld) << edit.join(' ').toStdString();
        EXPECT_FALSE(none.exists(kBook)) << edit.join(' ').toStdString();
    }
}

TEST(BookCommand, CsvIsTheHeaderAndOneRowPerDay) {
    TempFolder dir;
    const QByteArray header = "\xEF\xBB\xBF日付,投票,払戻,損益,保護\r\n";
    struct Case {
        QByteArray book;
        QStringList edit;
        QByteArray csv;
    };
    const Case cases[] = {
        {kSentinel, {}, header},
        {kDay7 + kDay6 + kSentinel, {}, header + "20240507,2000,500,-1500,0\r\n20240506,1200,5000,3800,1\r\n"},
        // With an edit: the book after it.
        {kDay6 + kSentinel,
         {"--set", "20240601", "100", "0"},
         header + "20240601,100,0,-100,0\r\n20240506,1200,5000,3800,1\r\n"},
    };
    for (const Case& c : cases) {
        dir.write(kBook, c.book);
        const CliRun run = runVelqora(QStringList{"book", "--csv", dir.path()} + c.edit);
        EXPECT_EQ(run.exitCode, 0) << run.err.constData();
        EXPECT_EQ(run.out, c.csv);
    }
    EXPECT_EQ(runVelqora({"book", "--csv", "--json", dir.path()}).exitCode, 2);
}

// Two processes editing one book in turns, each its own days, as two copies of the program or a copy and
// the tool would: every edit is made under the book's lock on the file as it then is, so all survive.
TEST(BookCommand, EditsFromTwoProcessesAtOnceAllSurvive) {
    TempFolder dir;
    // Years of older days make each edit read and write for a while, as a real book does.
    dir.write(kBook, QByteArray("19700101100     0       -100     0\r\n").repeated(5000) + kSentinel);
    // The days from 2025/01/01 on: the even ones entered by one process, the odd ones by the other.
    constexpr int kEdits = 100;
    const auto day = [](int i) { return QDate(2025, 1, 1).addDays(i).toString(QStringLiteral("yyyyMMdd")); };
    std::array<QProcess, 2> lanes;
    std::array<int, 2> at{0, 1};
    int failed = 0;
    const auto next = [&](int lane) {
        if (at[lane] < kEdits) {
            const QStringList args = {QStringLiteral("book"), dir.path(), QStringLiteral("--set"), day(at[lane])};
            lanes[lane].start(QStringLiteral(VQ_VELQORA),
                              args + QStringList{QStringLiteral("1000"), QStringLiteral("0")});
            at[lane] += 2;
        }
    };
    for (int lane : {0, 1}) {
        QObject::connect(&lanes[lane], &QProcess::finished, [&, lane](int code, QProcess::ExitStatus status) {
            failed += code != 0 || status != QProcess::NormalExit ? 1 : 0;
            next(lane);
        });
        next(lane);
    }
    const auto done = [&] {
        return at[0] >= kEdits && at[1] >= kEdits && lanes[0].state() == QProcess::NotRunning &&
               lanes[1].state() == QProcess::NotRunning;
    };
    ASSERT_TRUE(QTest::qWaitFor(done, 120000));
    EXPECT_EQ(failed, 0);
    QStringList expected;
    for (int i = kEdits - 1; i >= 0; --i) {
        expected << day(i);
    }
    EXPECT_EQ(dates(book(dir, {}), "records").mid(0, kEdits), expected);
    EXPECT_EQ(dir.read(kBook).size(), (5000 + kEdits + 1) * 36);
    EXPECT_FALSE(dir.exists(QStringLiteral("VQPROFIT.LCK")));
}
