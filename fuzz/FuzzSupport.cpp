#include "FuzzSupport.h"

#include "core/ErrorReporter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace Fuzz {
namespace {

bool nameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.';
}

QString cleanName(QByteArrayView raw) {
    QString name;
    for (const char c : raw) {
        if (nameChar(c) && name.size() < 32) {
            name += QLatin1Char(c);
        }
    }
    return (name == QLatin1String(".") || name == QLatin1String("..")) ? QString() : name;
}

class DropAll : public IErrorReporter {
public:
    void showError(const QString&, const QString&) override {}
};

} // namespace

std::vector<NamedFile> splitArchive(QByteArrayView input, const QString& defaultName) {
    const QByteArrayView marker(kFileMarker);
    std::vector<NamedFile> files;
    qsizetype pos = input.indexOf(marker);
    if (pos != 0) {
        files.push_back({defaultName, input.first(pos < 0 ? input.size() : pos).toByteArray()});
    }
    while (pos >= 0) {
        const qsizetype nameStart = pos + marker.size();
        qsizetype nameEnd = input.indexOf('\n', nameStart);
        if (nameEnd < 0) {
            nameEnd = input.size();
        }
        const qsizetype dataStart = qMin(nameEnd + 1, input.size());
        const qsizetype next = input.indexOf(marker, dataStart);
        const qsizetype dataEnd = next < 0 ? input.size() : next;
        const QString name = cleanName(input.sliced(nameStart, nameEnd - nameStart));
        if (!name.isEmpty()) {
            files.push_back({name, input.sliced(dataStart, dataEnd - dataStart).toByteArray()});
        }
        pos = next;
    }
    return files;
}

QByteArray joinArchive(const std::vector<NamedFile>& files) {
    QByteArray out;
    for (const NamedFile& f : files) {
        out += kFileMarker;
        out += f.name.toLatin1();
        out += '\n';
        out += f.bytes;
    }
    return out;
}

QString fresh() {
    static std::unique_ptr<QTemporaryDir> dir;
    if (!dir) {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/vq-fuzz-XXXXXX"));
        check(dir->isValid(), "scratch folder", dir->errorString());
    }
    QDir folder(dir->path());
    for (const QString& entry :
         folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = folder.filePath(entry);
        if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink()) {
            QDir(path).removeRecursively();
        } else {
            QFile::remove(path);
        }
    }
    return dir->path() + QLatin1Char('/');
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString writeFiles(const std::vector<NamedFile>& files) {
    const QString folder = fresh();
    for (const NamedFile& f : files) {
        QFile out(folder + f.name);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            out.write(f.bytes);
        }
    }
    return folder;
}

void quiet() {
    static DropAll reporter;
    setErrorReporter(&reporter);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtFatalMsg) {
            fail("Qt fatal message", message);
        }
    });
}

void fail(const char* what, const QString& detail) {
    std::fprintf(stderr, "property failed: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

} // namespace Fuzz
