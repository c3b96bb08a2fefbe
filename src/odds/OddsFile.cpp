#include "OddsFile.h"

#include "core/AppError.h"
#include "core/Bytes.h"
#include "core/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace {
// The record areas of every odds file are sized for 18 runners; a larger count would run past them.
constexpr qint32 kMaxRunners = 18;
} // namespace

bool OddsFile::readFile(const QString& folder, const QString& raceId, const QString& date,
                        ClientFiles::FolderRead& files, FileWarnings& warnings) {
    const QString path = files.findFile(folder, m_prefix + raceId + QStringLiteral(".JRA"));
    // Something far too large to be an odds file is not read at all, rather than reported as unreadable.
    if (path.isEmpty() || QFileInfo(path).size() > kMaxFileBytes) {
        return false;
    }
    const auto data = files.readWhole(path);
    if (!data) {
        throw AppError(ErrNo::FileAccess, m_source,
                       QStringLiteral("オッズのファイル %1 を読めません。").arg(QDir::toNativeSeparators(path)));
    }
    if (data->size() != m_length) {
        Warnings::add(warnings, FileWarning{QFileInfo(path).fileName(), FileWarning::Problem::WrongLength, data->size(),
                                            m_length});
    }
    return readBytes(*data, date);
}

bool OddsFile::readBytes(QByteArrayView data, const QString& date) {
    if (Bytes::text(data, 1, 8) != date) {
        return false;
    }
    const qint32 tosu = Bytes::number(data, 141, 2);
    if (tosu < 1 || tosu > kMaxRunners) {
        return false;
    }
    parse(data, static_cast<qint16>(tosu));
    return true;
}
