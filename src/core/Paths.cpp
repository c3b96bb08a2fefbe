#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>

QString AddPathSep(const QString& path) {
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'))) {
        return path;
    }
    return path + QLatin1Char('/');
}

namespace ClientFiles {
namespace {
int g_scopeDepth = 0;
// folder -> (upper-case name -> actual name)
QHash<QString, QHash<QString, QString>> g_listings;

QHash<QString, QString> ListFolder(const QString& folder) {
    QHash<QString, QString> names;
    const QDir dir(folder);
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& e : entries) {
        const QString key = e.toUpper();
        if (!names.contains(key)) {
            names.insert(key, e);
        }
    }
    return names;
}

QString FindCaseInsensitive(const QString& folder, const QString& name) {
    const QString key = name.toUpper();
    if (g_scopeDepth > 0) {
        auto it = g_listings.find(folder);
        if (it == g_listings.end()) {
            it = g_listings.insert(folder, ListFolder(folder));
        }
        const auto found = it->constFind(key);
        return found == it->constEnd() ? QString() : folder + *found;
    }
    const auto names = ListFolder(folder);
    const auto found = names.constFind(key);
    return found == names.constEnd() ? QString() : folder + *found;
}

// Names are built from bytes of the client's own files. A name that names another folder, or carries a
// control character (a NUL makes Qt warn on every lookup), is no client file: it is simply not there.
bool IsPlainName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        return false;
    }
    return std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7F || c == QLatin1Char('/') || c == QLatin1Char('\\');
    });
}
} // namespace

QString Find(const QString& folder, const QString& name) {
    if (!IsPlainName(name)) {
        return QString();
    }
    const QString dir = AddPathSep(folder);
    const QString exact = dir + name;
    if (QFileInfo::exists(exact)) {
        return exact;
    }
    return FindCaseInsensitive(dir, name);
}

QString FindFile(const QString& folder, const QString& name) {
    const QString path = Find(folder, name);
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        return path;
    }
    return QString();
}

QString PathForWrite(const QString& folder, const QString& name) {
    const QString found = Find(folder, name);
    return found.isEmpty() ? AddPathSep(folder) + name : found;
}

Scope::Scope() {
    ++g_scopeDepth;
}

Scope::~Scope() {
    if (--g_scopeDepth == 0) {
        g_listings.clear();
    }
}
} // namespace ClientFiles

std::optional<QByteArray> ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    if (file.size() > kMaxFileBytes) {
        return std::nullopt;
    }
    return file.readAll();
}
