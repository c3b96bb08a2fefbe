// vq-archive-bench FOLDER [DAYS]: the bet archive's two heavy paths, timed in-process (median of 11).
//   1. storing the heavy day (about 65,000 bet lines), replacing it each time, as every refresh does;
//   2. the analysis of a year: an archive of DAYS (365) generated heavy days, analysed for the whole year.
// FOLDER is made when missing; the year's archive in it is kept for later runs (it takes a minute to
// write), so `velqora analyse --json FOLDER/year` can be timed as a whole process afterwards.
#include "archive/BetArchive.h"
#include "archive/DayBets.h"
#include "patdata/SaleDayReader.h"
#include "samplefolder/HeavyDay.h"
#include "views/Analysis.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: vq-archive-bench FOLDER [DAYS]\n", stderr);
        return 2;
    }
    const QString root = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const int days = argc > 2 ? std::max(1, std::atoi(argv[2])) : 365;
    const QString heavy = root + QStringLiteral("heavy/");
    const QString year = root + QStringLiteral("year/");
    QDir().mkpath(heavy);
    QDir().mkpath(year);
    QString error;
    if (!HeavyDay::write(heavy, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const SaleDayReader pat = SaleDayReader::read(heavy);
    const std::vector<Archive::Bet> bets = Archive::dayBets(pat);

    BetArchive archive;
    if (!archive.open(heavy)) {
        std::fprintf(stderr, "%s\n", qPrintable(archive.errorText()));
        return 1;
    }
    const double gather = medianMs(11, [&pat] { (void)Archive::dayBets(pat); });
    const double store = medianMs(11, [&] { archive.storeDay(pat.saleDate(), bets); });
    std::printf("heavy day: %zu bet lines; gathered in %.1f ms, stored in %.1f ms (median of 11)\n", bets.size(),
                gather, store);

    BetArchive yearly;
    if (!yearly.open(year)) {
        std::fprintf(stderr, "%s\n", qPrintable(yearly.errorText()));
        return 1;
    }
    const QDate first(2025, 1, 1);
    if (yearly.days().size() < days) {
        QElapsedTimer t;
        t.start();
        for (int d = 0; d < days; ++d) {
            yearly.storeDay(first.addDays(d).toString(QStringLiteral("yyyyMMdd")), bets);
        }
        std::printf("year archive: %d heavy days written in %.1f s\n", days, static_cast<double>(t.elapsed()) / 1000);
    }
    const QString from = first.toString(QStringLiteral("yyyyMMdd"));
    const QString to = first.addDays(days - 1).toString(QStringLiteral("yyyyMMdd"));
    qint64 staked = 0;
    const double analyse = medianMs(11, [&] {
        const AnalysisTables t = buildAnalysis(yearly.figuresOf(from, to), from, to);
        staked = t.total.sum.stake;
    });
    std::printf("year analysis: %d days, %lld yen staked; analysed in %.1f ms (median of 11); archive %.0f MB\n", days,
                static_cast<long long>(staked), analyse,
                static_cast<double>(QFileInfo(year + BetArchive::fileName()).size()) / 1e6);
    return 0;
}
