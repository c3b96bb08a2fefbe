// velqora: read-only reports on a client data folder, for checking figures without the windows.
//
//     velqora summary [--json] DATAFOLDER
#include "SummaryReport.h"
#include "core/AppError.h"
#include "core/Paths.h"
#include "patdata/clsControlPAT.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {
void Print(FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

int Usage() {
    Print(stderr, "usage: velqora summary [--json] DATAFOLDER\n");
    return 2;
}

int Summary(const QStringList& args) {
    bool json = false;
    QStringList rest;
    for (const QString& a : args) {
        if (a == QLatin1String("--json")) {
            json = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            Print(stderr, "velqora: unknown option " + a.toUtf8() + "\n");
            return Usage();
        } else {
            rest << a;
        }
    }
    if (rest.size() != 1) {
        return Usage();
    }
    const QFileInfo folder(rest[0]);
    if (!folder.isDir()) {
        Print(stderr, "velqora: no such folder: " + rest[0].toUtf8() + "\n");
        return 3;
    }
    const QString path = AddPathSep(folder.absoluteFilePath());
    clsControlPAT pat;
    pat.setPathName(path);
    // Results downloaded into the folder's own download folder count, as they do for the program.
    pat.setDownPath(ClientFiles::Find(path, QStringLiteral("VQDOWNLOAD")));
    try {
        const bool ok = pat.Initialize();
        Print(stdout, json ? SummaryJson(pat, ok) : SummaryText(pat, ok).toUtf8());
    } catch (const AppError& e) {
        Print(stderr,
              QStringLiteral("velqora: %1 (%2) %3\n").arg(e.Source()).arg(e.Number()).arg(e.Description()).toUtf8());
        return 4;
    }
    return 0;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        return Usage();
    }
    const QString command = args.takeFirst();
    if (command == QLatin1String("summary")) {
        return Summary(args);
    }
    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        Print(stdout, "usage: velqora summary [--json] DATAFOLDER\n");
        return 0;
    }
    Print(stderr, "velqora: unknown command " + command.toUtf8() + "\n");
    return Usage();
}
