#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>
#include <optional>

namespace {
// The length of the random part QSaveFile puts after "<final name>." in its temporary's name.
constexpr qsizetype kStrayTagLength = 6;

bool isAsciiAlnum(QChar c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// The final name a temporary was made for, or an empty text when the name is not one of a temporary.
QStringView finalNameOf(QStringView name) {
    if (name.size() < kStrayTagLength + 2 || name[name.size() - kStrayTagLength - 1] != u'.') {
        return {};
    }
    const QStringView tag = name.last(kStrayTagLength);
    if (!std::all_of(tag.begin(), tag.end(), isAsciiAlnum)) {
        return {};
    }
    return name.first(name.size() - kStrayTagLength - 1);
}
} // namespace

namespace AtomicFile {

bool replace(const QString& path, const QByteArray& bytes, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return false;
    };
    // Never through a link: the save would replace the file the link names, wherever that is, and a
    // dangling link would make a file there. What stands at the final name is ours or nothing.
    if (QFileInfo(path).isSymLink()) {
        return fail(QStringLiteral("リンクなので書き込みません"));
    }
    // Unbuffered, because a short write of buffered data (a full disk) only shows while committing, where
    // it goes unnoticed and the cut file would replace the old one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail(file.errorString());
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return true;
}

int removeStrays(const QString& folder, const QString& nameGlob) {
    if (folder.isEmpty() || nameGlob.isEmpty()) {
        return 0;
    }
    // The whole final name must match: "*.JRA" is no licence to touch "X.JRA.OLD.Ab12Cd". Made only when
    // a name looks like a temporary's, which at nearly every start none does.
    std::optional<QRegularExpression> finalName;
    const QDir dir(folder);
    int removed = 0;
    // A link is never followed: it could name a file anywhere.
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        const QStringView base = finalNameOf(name);
        if (base.isEmpty() || !entry.isFile() || entry.isSymLink()) {
            continue;
        }
        if (!finalName) {
            finalName = QRegularExpression::fromWildcard(nameGlob, Qt::CaseInsensitive);
        }
        if (!finalName->match(base.toString()).hasMatch()) {
            continue;
        }
        if (QFile::remove(entry.filePath())) {
            ++removed;
        }
    }
    return removed;
}

bool canWriteIn(const QString& folder, QString* reason, QString* systemReason) {
    const auto fail = [reason, systemReason](const QString& why, const QString& system) {
        if (reason) {
            *reason = why;
        }
        if (systemReason) {
            *systemReason = system;
        }
        return false;
    };
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir()) {
        return fail(QStringLiteral("同じ名前のファイルがあります"), QStringLiteral("not a directory"));
    }
    if (!QDir().mkpath(folder)) {
        return fail(QStringLiteral("フォルダを作れません"), QStringLiteral("mkpath failed"));
    }
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".vq-write-check-XXXXXX")));
    if (!probe.open()) {
        return fail(QStringLiteral("書き込みが許可されていません"), probe.errorString());
    }
    return true;
}

} // namespace AtomicFile
