#include "Paths.h"

#include "AppError.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <vector>

QString addPathSep(const QString& path) {
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

// A file as it was when it was read whole inside a scope.
struct ReadNote {
    QString path;
    qint64 size = 0;
    QDateTime modified;
};
std::vector<ReadNote> g_reads;
qint64 g_scopeBytes = 0; // read whole since the outermost scope began
std::function<void(const QString&)> g_readHook;

QHash<QString, QString> listFolder(const QString& folder) {
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

QString findCaseInsensitive(const QString& folder, const QString& name) {
    const QString key = name.toUpper();
    if (g_scopeDepth > 0) {
        auto it = g_listings.find(folder);
        if (it == g_listings.end()) {
            it = g_listings.insert(folder, listFolder(folder));
        }
        const auto found = it->constFind(key);
        return found == it->constEnd() ? QString() : folder + *found;
    }
    const auto names = listFolder(folder);
    const auto found = names.constFind(key);
    return found == names.constEnd() ? QString() : folder + *found;
}

// Names are built from bytes of the client's own files. A name that names another folder, or carries a
// control character (a NUL makes Qt warn on every lookup), is no client file: it is simply not there.
bool isPlainName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        return false;
    }
    return std::none_of(name.cbegin(), name.cend(), [](QChar c) {
        return c.unicode() < 0x20 || c.unicode() == 0x7F || c == QLatin1Char('/') || c == QLatin1Char('\\');
    });
}
} // namespace

QString find(const QString& folder, const QString& name) {
    if (!isPlainName(name)) {
        return QString();
    }
    const QString dir = addPathSep(folder);
    const QString exact = dir + name;
    if (QFileInfo::exists(exact)) {
        return exact;
    }
    return findCaseInsensitive(dir, name);
}

QString findFile(const QString& folder, const QString& name) {
    const QString path = find(folder, name);
    if (!path.isEmpty() && QFileInfo(path).isFile()) {
        return path;
    }
    return QString();
}

QString pathForWrite(const QString& folder, const QString& name) {
    const QString found = find(folder, name);
    return found.isEmpty() ? addPathSep(folder) + name : found;
}

Scope::Scope() : m_firstRead(static_cast<qsizetype>(g_reads.size())) {
    if (g_scopeDepth++ == 0) {
        g_scopeBytes = 0;
    }
}

Scope::~Scope() {
    if (--g_scopeDepth == 0) {
        g_listings.clear();
        g_reads.clear();
    }
}

QStringList Scope::changedFiles() const {
    QStringList changed;
    QSet<QString> seen;
    for (auto it = g_reads.cbegin() + m_firstRead; it != g_reads.cend(); ++it) {
        const QFileInfo now(it->path);
        if (now.exists() && now.size() == it->size && now.lastModified() == it->modified) {
            continue;
        }
        const QString name = now.fileName();
        if (!seen.contains(name)) {
            seen.insert(name);
            changed << name;
        }
    }
    return changed;
}

void setReadHook(std::function<void(const QString& path)> hook) {
    g_readHook = std::move(hook);
}

namespace {
// Size and time come from the opened file, so they describe the bytes about to be read even when the
// name is given to another file a moment later.
void noteRead(const QString& path, const QFile& file) {
    if (g_scopeDepth > 0) {
        g_reads.push_back({path, file.size(), file.fileTime(QFileDevice::FileModificationTime)});
    }
}

void afterRead(const QString& path) {
    if (g_scopeDepth > 0 && g_readHook) {
        g_readHook(path);
    }
}
} // namespace
} // namespace ClientFiles

std::optional<QByteArray> readWholeFile(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    if (file.size() > kMaxFileBytes) {
        return std::nullopt;
    }
    if (ClientFiles::g_scopeDepth > 0) {
        ClientFiles::g_scopeBytes += file.size();
        if (ClientFiles::g_scopeBytes > kMaxScopeBytes) {
            throw AppError(
                ErrNo::Overflow, QStringLiteral("ReadWholeFile"),
                QStringLiteral("このフォルダのファイルは合わせて%1 MBを超えるため、読むのをやめました (%2)。"
                               "クライアントのフォルダに大きなファイルやリンクが置かれていないか確かめてください。")
                    .arg(kMaxScopeBytes / (1024 * 1024))
                    .arg(QDir::toNativeSeparators(path)));
        }
    }
    ClientFiles::noteRead(path, file);
    QByteArray bytes = file.readAll();
    ClientFiles::afterRead(path);
    return bytes;
}
