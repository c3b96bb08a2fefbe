// The speed figures of a heavy sale day, each the median of many runs and each beside the floor it is
// measured against in the same run:
//     vq-speed [--runs N] [FOLDER]
// - the windowed program's start to its first painted main window (vq-startup-probe), against a Qt Widgets
//   program that paints one label (vq-one-label), both timed from their start as processes;
// - from closing the main window to the end of the process, the day stored before;
// - `velqora summary` and `velqora summary --json`, whole processes, against a Qt Core program that does
//   nothing (vq-bare-core), on the day and (without FOLDER) on the heavy day of another shape, all boxes
//   with a third of the races open;
// - in this process: the day read, evaluated and summed; the bet log window opened, and each of its views.
// Without FOLDER the heavy days are written into a temporary folder first. Exit status 1 when a target is
// missed.
#include "control/DayController.h"
#include "core/Folders.h"
#include "patdata/DayTotals.h"
#include "patdata/SaleDayReader.h"
#include "samplefolder/HeavyDay.h"
#include "ui/BetLogWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace {
using Clock = std::chrono::system_clock;

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double sinceEpochUs() {
    return double(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count());
}

QProcessEnvironment offscreen() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains(QStringLiteral("QT_QPA_PLATFORM"))) {
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    return env;
}

// Wall time from start to exit, or nothing when the program did not end with the expected status.
std::optional<double> timeProcess(const QString& program, const QStringList& args, int expectedStatus = 0) {
    QProcess p;
    p.setProcessEnvironment(offscreen());
    p.setStandardOutputFile(QProcess::nullDevice());
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != expectedStatus) {
        return std::nullopt;
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

// From starting the program to the moment it says it painted ("painted at" µs since the epoch), or from
// the moment it says it closed its window ("closing at" ms since the epoch) to its end.
std::optional<double> timeMark(const QString& program, const QStringList& args, bool toExit) {
    QProcess p;
    p.setProcessEnvironment(offscreen());
    p.setStandardErrorFile(QProcess::nullDevice());
    const double started = sinceEpochUs();
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        return std::nullopt;
    }
    const double ended = sinceEpochUs();
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    const auto m =
        QRegularExpression(toExit ? QStringLiteral("closing at (\\d+)") : QStringLiteral("painted at (\\d+)"))
            .match(out);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    return toExit ? (ended / 1000 - m.captured(1).toDouble()) : (m.captured(1).toDouble() - started) / 1000;
}

double timeCall(const std::function<void()>& call) {
    QElapsedTimer clock;
    clock.start();
    call();
    return double(clock.nsecsElapsed()) / 1e6;
}

struct Figure {
    const char* name;
    std::function<std::optional<double>()> measure;
    const char* floorName = nullptr; // a ratio to this floor is the target; else the target is in ms
    std::function<std::optional<double>()> floor;
    double target = 0;
};

int fail(const QString& text) {
    std::fprintf(stderr, "vq-speed: %s\n", qPrintable(text));
    return 2;
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
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
    folder = QDir(folder).absolutePath() + QLatin1Char('/');
    QString boxes; // the second shape, only when the days are ours
    if (args.isEmpty()) {
        boxes = temp.path() + QStringLiteral("/boxes/");
        QString error;
        if (!HeavyDay::write(boxes, &error, HeavyDay::Shape::Boxes)) {
            return fail(error);
        }
    }
    // The probe reads the client folder from the debug settings of the program folder it is given; the
    // manual refresh, so nothing watches the folder while the figures are taken.
    const QString programFolder = temp.path() + QStringLiteral("/program/");
    QDir().mkpath(programFolder);
    for (const auto& [name, text] :
         {std::pair{"VQV50DEBUG.INI", "[FOLDER]\r\npatpath=" + folder.toLocal8Bit() + "\r\n"},
          std::pair{"VQV50.INI", QByteArray("[OPTION]\r\nautorefresh=0\r\n")}}) {
        QFile ini(programFolder + QLatin1String(name));
        if (!ini.open(QIODevice::WriteOnly) || ini.write(text) < 0) {
            return fail(QStringLiteral("cannot write ") + ini.fileName());
        }
    }

    const QString bin = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    const QString velqora = bin + QStringLiteral("velqora");
    const QString probe = bin + QStringLiteral("vq-startup-probe");
    const auto bareCore = [bin] { return timeProcess(bin + QStringLiteral("vq-bare-core"), {}); };

    // In this process: the day as a refresh reads it, and a controller for the bet log window.
    DayController control(Folders{programFolder, folder, folder + QStringLiteral("VQDOWNLOAD")});
    control.start();
    std::vector<double> openLog;
    std::vector<double> switchViews;

    std::vector<Figure> figures = {
        {"start to first paint", [&] { return timeMark(probe, {programFolder}, false); }, "one-label program",
         [bin] { return timeMark(bin + QStringLiteral("vq-one-label"), {}, false); }, 1.5},
        {"main window closed to exit",
         [&] {
             return timeMark(probe, {QStringLiteral("--close-after"), QStringLiteral("1500"), programFolder}, true);
         },
         nullptr, nullptr, 50},
        {"velqora summary",
         [&] {
             return timeProcess(velqora, {QStringLiteral("summary"), folder});
         },
         "bare Qt Core", bareCore, 2},
        {"velqora summary --json",
         [&] {
             return timeProcess(velqora, {QStringLiteral("summary"), QStringLiteral("--json"), folder});
         },
         "bare Qt Core", bareCore, 2},
        {"refresh: read, evaluate, sum (in process)",
         [&] {
             return std::optional<double>(
                 timeCall([&] { (void)sumDayTotals(SaleDayReader::read(folder).meetings()); }));
         },
         nullptr, nullptr, 10},
        {"bet log window opened",
         [&] {
             std::unique_ptr<BetLogWindow> log;
             const double opened = timeCall([&] {
                 log = std::make_unique<BetLogWindow>(control, nullptr);
                 log->show();
                 QApplication::processEvents();
             });
             // Each view pressed and painted; the slowest is the figure of the next row.
             double slowest = 0;
             for (const int view : {1, 2, 3, 4, 5}) {
                 slowest = std::max(slowest, timeCall([&] {
                                        log->button(view)->click();
                                        log->textView()->viewport()->repaint();
                                    }));
             }
             switchViews.push_back(slowest);
             return std::optional<double>(opened);
         },
         nullptr, nullptr, 50},
    };

    if (!boxes.isEmpty()) {
        figures.push_back({"velqora summary, boxes day",
                           [&] {
                               return timeProcess(velqora, {QStringLiteral("summary"), boxes});
                           },
                           "bare Qt Core", bareCore, 2});
        figures.push_back(
            {"velqora summary --json, boxes day",
             [&] {
                 return timeProcess(velqora, {QStringLiteral("summary"), QStringLiteral("--json"), boxes});
             },
             "bare Qt Core", bareCore, 2});
    }

    // One run of each first, not counted, so the files are in the cache.
    std::vector<std::vector<double>> times(figures.size());
    std::vector<std::vector<double>> floors(figures.size());
    for (int r = 0; r <= runs; ++r) {
        for (std::size_t i = 0; i < figures.size(); ++i) {
            const Figure& f = figures[i];
            const std::optional<double> t = f.measure();
            const std::optional<double> floor = f.floor ? f.floor() : std::optional<double>(0);
            if (!t || !floor) {
                return fail(QStringLiteral("%1 failed on %2").arg(QString::fromLatin1(f.name), folder));
            }
            if (r > 0) {
                times[i].push_back(*t);
                floors[i].push_back(*floor);
            }
        }
    }
    switchViews.erase(switchViews.begin());

    std::printf("heavy day %s, median of %d runs\n", qPrintable(QDir::toNativeSeparators(folder)), runs);
    bool met = true;
    const auto report = [&met](const char* name, const std::vector<double>& v, double target, const char* floorName,
                               const std::vector<double>& floorRuns) {
        const double median = medianOf(v);
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        std::printf("  %-42s %7.1f ms  (min %.1f, max %.1f)", name, median, *lo, *hi);
        if (floorName) {
            const double floor = medianOf(floorRuns);
            const double ratio = median / floor;
            met = met && ratio <= target;
            std::printf("  floor %s %.1f ms: %.2fx, target %.1fx: %s\n", floorName, floor, ratio, target,
                        ratio <= target ? "met" : "NOT met");
        } else {
            met = met && median <= target;
            std::printf("  target %.0f ms: %s\n", target, median <= target ? "met" : "NOT met");
        }
    };
    for (std::size_t i = 0; i < figures.size(); ++i) {
        report(figures[i].name, times[i], figures[i].target, figures[i].floorName, floors[i]);
    }
    report("bet log view changed (slowest of five)", switchViews, 50, nullptr, {});
    return met ? 0 : 1;
}
