#include "CliRun.h"
#include "clientfiles/AccountFiles.h"
#include "clientfiles/LogFiles.h"
#include "core/Settings.h"
#include "results/SamplePage.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonObject>

#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {
const QString kDate = QStringLiteral("20260405");

// A day at Tokyo whose index names `names` for one log of a 100-yen win ticket and `padding` zero bytes.
void WriteDay(const TempFolder& dir, const QStringList& names, qint64 padding) {
    AccountFiles::AccountFile a = AccountFiles::AllOnSale(5);
    a.Date = kDate;
    AccountFiles::SaveAccountFile(dir.Path(), QLatin1Char('A'), a);
    LogFiles::DayLog log;
    log.Tickets << LogFiles::At(LogFiles::SingleBet(LogFiles::Win, 0, 0, 4), 5, 1);
    LogFiles::SaveDayLog(dir.Path(), names.first(), log);
    QFile(dir.File(names.first() + QStringLiteral(".JRA"))).resize(22 + 54 + padding); // sparse: quick to make
    QList<LogFiles::IndexEntry> index;
    for (const QString& name : names) {
        index.append({name, kDate});
    }
    LogFiles::SaveIndex(dir.Path(), index);
}
} // namespace

// Our files are never written through a link at their name, nor where it points (a dangling link too);
// the file outside stays as it was and the write is said to have failed.
TEST(Containment, NothingIsWrittenThroughALink) {
    TempFolder dir;
    const QStringList page = ResultPages::ResultsPageLines(SamplePage());
    dir.Write(QStringLiteral("page.txt"), page.join(QStringLiteral("\r\n")).toUtf8());
    const struct {
        const char* name;
        const char* link; // in dir/save
        std::function<bool(const TempFolder&)> write;
    } rows[] = {
        {"converted result file", "KS-5628B.JRA",
         [](const TempFolder& d) {
             return RunVelqora({QStringLiteral("convert"), d.File("page.txt"), d.Path() + "save"}).exitCode == 0;
         }},
        {"passbook", "VQPROFIT.TXT",
         [](const TempFolder& d) {
             return RunVelqora({QStringLiteral("book"), d.Path() + "save", QStringLiteral("--set"),
                                QStringLiteral("20260405"), QStringLiteral("100"), QStringLiteral("0")})
                        .exitCode == 0;
         }},
        {"settings", "VQV50.INI",
         [](const TempFolder& d) {
             Settings settings;
             settings.setFolder(d.Path() + "save");
             settings.SaveSettings();
             return QFileInfo(d.Path() + "save/VQV50.INI").isFile() && !QFileInfo(d.Path() + "save/VQV50.INI").isSymLink();
         }},
    };
    for (const auto& r : rows) {
        for (const bool dangling : {false, true}) {
            SCOPED_TRACE(std::string(r.name) + (dangling ? ", dangling link" : ", link to a file"));
            QDir(dir.Path() + "save").removeRecursively();
            QFile::remove(dir.File("outside"));
            dir.Sub(QStringLiteral("save"));
            if (!dangling) {
                dir.Write(QStringLiteral("outside"), "not ours");
            }
            ASSERT_TRUE(QFile::link(dir.File("outside"), dir.Path() + "save/" + r.link));
            EXPECT_FALSE(r.write(dir));
            EXPECT_EQ(QFileInfo::exists(dir.File("outside")), !dangling);
            if (!dangling) {
                EXPECT_EQ(dir.Read(QStringLiteral("outside")), QByteArray("not ours"));
            }
        }
    }
}

// A day is read within a bound whatever the folder holds: a thousand names of one large log are one file,
// read once and counted once; several large files are refused, said, within moments.
TEST(Containment, ADaysReadIsBoundedAndKnowsFilesByWhatTheyAre) {
    TempFolder linked;
    QStringList names{QStringLiteral("L0000")};
    WriteDay(linked, names, 63 * 1024 * 1024 - 100);
    for (int i = 1; i < 999; ++i) {
        names << QStringLiteral("L%1").arg(i, 4, 10, QLatin1Char('0'));
        std::filesystem::create_hard_link(linked.File("L0000.JRA").toStdString(),
                                          linked.File(names.last() + ".JRA").toStdString());
    }
    WriteDay(linked, names, 63 * 1024 * 1024 - 100);
    QElapsedTimer timer;
    timer.start();
    CliRun run = RunVelqora({QStringLiteral("summary"), QStringLiteral("--json"), linked.Path()});
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(run.Json().object()[u"totals"].toObject()[u"amtBuy"].toInt(), 100);

    TempFolder large;
    WriteDay(large, {QStringLiteral("L0001"), QStringLiteral("L0002")}, 40 * 1024 * 1024);
    LogFiles::SaveDayLog(large.Path(), QStringLiteral("L0002"), LogFiles::DayLog{});
    QFile(large.File(QStringLiteral("L0002.JRA"))).resize(40 * 1024 * 1024);
    timer.restart();
    run = RunVelqora({QStringLiteral("summary"), large.Path()});
    EXPECT_LT(timer.elapsed(), 2000);
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.err.contains(QStringLiteral("合わせて64 MBを超えるため、読むのをやめました").toUtf8())) << run.err.data();
}

#ifdef Q_OS_UNIX
// A result file that cannot be written (a full disk, here a file-size limit) is said as what it is, not as
// a page that makes no file.
TEST(Containment, AResultFileThatCannotBeWrittenIsSaid) {
    TempFolder dir;
    dir.Write(QStringLiteral("page.txt"),
              ResultPages::ResultsPageLines(SamplePage()).join(QStringLiteral("\r\n")).toUtf8());
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 100;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN); // kept by the child, as the limit is
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const CliRun run = RunVelqora({QStringLiteral("convert"), dir.File("page.txt"), dir.Path() + "save"});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.err.startsWith("velqora: the result file could not be written: ")) << run.err.data();
    EXPECT_TRUE(run.err.contains("KS-5628B.JRA")) << run.err.data();
    EXPECT_FALSE(QFileInfo::exists(dir.Path() + "save/KS-5628B.JRA"));
}
#endif
