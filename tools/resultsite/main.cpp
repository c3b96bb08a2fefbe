// vq-results-site [--port N] [--slow MEETINGRACE]... DATAFOLDER
// Serves the results of a client data folder's races as the results site does, on 127.0.0.1, until
// killed. --slow 052026020801 answers that race (or, with ten digits, that meeting's payout list) only
// after a minute, so the download window's time-out can be seen.
#include "ResultsSite.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: vq-results-site [--port N] [--slow MEETINGRACE]... DATAFOLDER\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    int port = 0;
    QStringList slow;
    QString folder;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if ((a == u"--port" || a == u"--slow") && i + 1 < args.size()) {
            const QString value = args[++i];
            if (a == u"--port") {
                bool ok = false;
                port = value.toInt(&ok);
                if (!ok || port < 0 || port > 65535) {
                    return usage();
                }
            } else if ((value.size() == 10 || value.size() == 12) &&
                       std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c.isDigit(); })) {
                slow << value;
            } else {
                return usage();
            }
        } else if (a.startsWith(u'-') || !folder.isEmpty()) {
            return usage();
        } else {
            folder = a;
        }
    }
    if (folder.isEmpty()) {
        return usage();
    }

    ResultsSite site;
    for (const auto& race : ResultsSite::racesOfFolder(folder)) {
        site.addRace(race);
    }
    for (const QString& s : slow) {
        site.setAnswer(s.left(10), s.mid(10), ResultsSite::Answer::Slow);
    }
    if (!site.listen(static_cast<quint16>(port))) {
        std::fprintf(stderr, "vq-results-site: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    std::printf("%s\n", qPrintable(site.base()));
    std::fflush(stdout);
    return app.exec();
}
