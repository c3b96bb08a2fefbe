#include "ConvertCommand.h"

#include "results/ResultsPageConverter.h"

#include <QFile>

#include <cstdio>
#include <optional>

namespace {
void print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// The page as the browser copies it: UTF-8 (a byte-order mark from a Windows editor dropped), lines
// separated by CR LF whatever the file used.
std::optional<QString> readPage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        print(stderr, "velqora: cannot read " + path.toUtf8() + "\n");
        return std::nullopt;
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF))) {
        text.remove(0, 1);
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    return text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
}
} // namespace

int convertCommand(const QStringList& args) {
    const bool raceList = !args.isEmpty() && args[0] == QLatin1String("--race-list");
    if (args.size() != 2 || (!raceList && args[0].startsWith(QLatin1String("--")))) {
        print(stderr, "usage: velqora convert PAGEFILE SAVEDIR\n"
                      "       velqora convert --race-list PAGEFILE\n");
        return 2;
    }
    const std::optional<QString> page = readPage(args[raceList ? 1 : 0]);
    if (!page) {
        return 3;
    }
    ResultsPageConverter conv;
    if (raceList) {
        conv.addListedRaces(*page);
        for (const QString& race : conv.foundRaces()) {
            print(stdout, race.toUtf8() + "\n");
        }
        return 0;
    }
    // The download window hands the converter the copied text with every half-width space made "#".
    QString text = *page;
    conv.setSavePathName(args[1]);
    if (!conv.convertResultsPage(text.replace(u' ', u'#'))) {
        if (!conv.writeError().isEmpty()) {
            print(stderr, "velqora: the result file could not be written: " + conv.writeError().toUtf8() + "\n");
            return 4;
        }
        print(stderr, "velqora: the page makes no result file; nothing was written\n");
        return 1;
    }
    print(stdout, conv.kekkaFileName().toUtf8() + "\n");
    return 0;
}
