// The whole-process speed figures of a heavy sale day, each the median of many runs:
//     vq-speed [--runs N] [FOLDER]
// `velqora summary` and `velqora summary --json` (output thrown away), and the windowed program's start
// to its first painted main window (vq-startup-probe). Without FOLDER the heavy day is written into a
// temporary folder first. Prints each median against its target; exit status 1 when one is missed. Also
// prints the floor the machine sets: velqora on a folder that does not exist, which reads nothing.
#include "samplefolder/HeavyDay.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

struct Figure {
    const char* name;
    double targetMs;
    std::vector<double> runs;
};

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Wall time from start to exit, or nothing when the program did not end with the expected status.
std::optional<double> timeProcess(const QString& program, const QStringList& args, int expectedStatus = 0) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != expectedStatus) {
        return std::nullopt;
    }
    return clock.nsecsElapsed() / 1e6;
}

// The probe measures itself, from entering main to the first paint.
std::optional<double> probePaint(const QString& probe, const QString& programFolder) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    p.setProcessEnvironment(env);
    p.setStandardErrorFile(QProcess::nullDevice());
    p.start(probe, {programFolder});
    if (!p.waitForFinished(60000)) {
        return std::nullopt;
    }
    const auto m = QRegularExpression(QStringLiteral("painted after (\\d+) ms")).match(p.readAllStandardOutput());
    return m.hasMatch() ? std::optional<double>(m.captured(1).toDouble()) : std::nullopt;
}

int fail(const QString& text) {
    std::fprintf(stderr, "vq-speed: %s\n", qPrintable(text));
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    int runs = 11;
    if (args.size() >= 2 && args[0] == QLatin1String("--runs")) {
        runs = std::max(1, args[1].toInt());
        args = args.mid(2);
    }
    QTemporaryDir temp;
    QString folder;
    if (!args.isEmpty()) {
        folder = QDir(args[0]).absolutePath();
    } else {
        folder = temp.path() + QStringLiteral("/heavy");
        QString error;
        if (!HeavyDay::write(folder, &error)) {
            return fail(error);
        }
    }
    // The probe reads the client folder from the debug settings of the program folder it is given.
    const QString programFolder = temp.path() + QStringLiteral("/program");
    QDir().mkpath(programFolder);
    QFile ini(programFolder + QStringLiteral("/VQV50DEBUG.INI"));
    if (!ini.open(QIODevice::WriteOnly) ||
        ini.write(QByteArray("[FOLDER]\r\npatpath=") + QDir(folder).absolutePath().toLocal8Bit() + "/\r\n") < 0) {
        return fail(QStringLiteral("cannot write ") + ini.fileName());
    }
    ini.close();

    const QString bin = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString velqora = bin + QStringLiteral("velqora");
    const QString probe = bin + QStringLiteral("vq-startup-probe");
    std::array<Figure, 4> figures = {Figure{"velqora summary", 12, {}}, Figure{"velqora summary --json", 20, {}},
                                     Figure{"main window painted (vq-startup-probe)", 40, {}},
                                     Figure{"floor: velqora summary, no folder", 0, {}}};
    const QString missing = temp.path() + QStringLiteral("/no-such-folder");
    // One run of each first, not counted, so the files are in the cache.
    for (int r = 0; r <= runs; ++r) {
        const std::array<std::optional<double>, 4> times = {
            timeProcess(velqora, {QStringLiteral("summary"), folder}),
            timeProcess(velqora, {QStringLiteral("summary"), QStringLiteral("--json"), folder}),
            probePaint(probe, programFolder), timeProcess(velqora, {QStringLiteral("summary"), missing}, 3)};
        for (std::size_t f = 0; f < figures.size(); ++f) {
            if (!times[f]) {
                return fail(QStringLiteral("%1 failed on %2").arg(QString::fromLatin1(figures[f].name), folder));
            }
            if (r > 0) {
                figures[f].runs.push_back(*times[f]);
            }
        }
    }

    std::printf("heavy day %s, median of %d runs\n", qPrintable(QDir::toNativeSeparators(folder)), runs);
    bool met = true;
    for (const Figure& f : figures) {
        const double median = medianOf(f.runs);
        const auto [lo, hi] = std::minmax_element(f.runs.begin(), f.runs.end());
        std::printf("  %-40s %6.1f ms  (min %.1f, max %.1f", f.name, median, *lo, *hi);
        if (f.targetMs > 0) {
            met = met && median <= f.targetMs;
            std::printf("; target %.0f ms: %s", f.targetMs, median <= f.targetMs ? "met" : "NOT met");
        }
        std::printf(")\n");
    }
    return met ? 0 : 1;
}
