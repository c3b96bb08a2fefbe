#include "Paths.h"

#include "AppError.h"
#include "Platform.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

QString addPathSep(const QString& path) {
    if (path.endsWith(QLatin1Char('/')) || path.endsWith(QLatin1Char('\\'))) {
        return path;
    }
    return path + QLatin1Char('/');
}

namespace ClientFiles {
namespace {
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

// The exact name first, then the folder's listing (given by `listing`) by upper case.
template <class Listing>
QString findIn(const QString& folder, const QString& name, Listing&& listing) {
    if (!isPlainName(name)) {
        return QString();
    }
    const QString dir = addPathSep(folder);
    const QString exact = dir + name;
    if (QFileInfo::exists(exact)) {
        return exact;
    }
    const QHash<QString, QString>& names = listing(dir);
    const auto found = names.constFind(name.toUpper());
    return found == names.constEnd() ? QString() : dir + *found;
}

QString fileOnly(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}
} // namespace

QString find(const QString& folder, const QString& name) {
    QHash<QString, QString> names;
    return findIn(folder, name, [&names](const QString& dir) -> const QHash<QString, QString>& {
        names = listFolder(dir);
        return names;
    });
}

QString findFile(const QString& folder, const QString& name) {
    return fileOnly(find(folder, name));
}

QString pathForWrite(const QString& folder, const QString& name) {
    const QString found = find(folder, name);
    return found.isEmpty() ? addPathSep(folder) + name : found;
}

QString FolderRead::find(const QString& folder, const QString& name) {
    return findIn(folder, name, [this](const QString& dir) -> const QHash<QString, QString>& {
        auto it = m_listings.find(dir);
        if (it == m_listings.end()) {
            it = m_listings.insert(dir, listFolder(dir));
        }
        return *it;
    });
}

QString FolderRead::findFile(const QString& folder, const QString& name) {
    return fileOnly(find(folder, name));
}

std::optional<QByteArray> FolderRead::readWhole(const QString& path) {
    // Size and time are those of the opened file, so they describe the bytes read even when the name is
    // given to another file a moment later.
    std::optional<Platform::WholeFile> file = Platform::readRegularFile(path, kMaxFileBytes);
    if (!file) {
        return std::nullopt;
    }
    m_bytes += file->stamp.size;
    if (m_bytes > kMaxFolderReadBytes) {
        throw AppError(
            ErrNo::Overflow, QStringLiteral("ReadWholeFile"),
            QStringLiteral("このフォルダのファイルは合わせて%1 MBを超えるため、読むのをやめました (%2)。"
                           "クライアントのフォルダに大きなファイルやリンクが置かれていないか確かめてください。")
                .arg(kMaxFolderReadBytes / (1024 * 1024))
                .arg(QDir::toNativeSeparators(path)));
    }
    m_reads.push_back({path, file->stamp});
    if (m_hook) {
        m_hook(path);
    }
    return std::move(file->bytes);
}

QByteArray FolderRead::fingerprint() const {
    std::vector<const ReadNote*> notes;
    for (const ReadNote& read : m_reads) {
        notes.push_back(&read);
    }
    std::sort(notes.begin(), notes.end(), [](const ReadNote* a, const ReadNote* b) { return a->path < b->path; });
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (const ReadNote* read : notes) {
        hash.addData(read->path.toUtf8());
        hash.addData(QStringLiteral("\t%1\t%2\n").arg(read->stamp.size).arg(read->stamp.modified).toUtf8());
    }
    return hash.result().toHex();
}

QStringList FolderRead::changedFiles() const {
    QStringList changed;
    QSet<QString> seen;
    for (const ReadNote& read : m_reads) {
        if (Platform::stampOf(read.path) == read.stamp) {
            continue;
        }
        const QString name = QFileInfo(read.path).fileName();
        if (!seen.contains(name)) {
            seen.insert(name);
            changed << name;
        }
    }
    return changed;
}
} // namespace ClientFiles

std::optional<QByteArray> readWholeFile(const QString& path) {
    std::optional<Platform::WholeFile> file = Platform::readRegularFile(path, kMaxFileBytes);
    if (!file) {
        return std::nullopt;
    }
    return std::move(file->bytes);
}
