#include "OddsText.h"

#include "core/AppError.h"
#include "core/Bytes.h"
#include "core/Paths.h"

#include <QFileInfo>

namespace OddsText {

bool IsVoidOrBlank(QStringView text, QStringView voidText) {
    if (text == voidText) {
        return true;
    }
    for (const QChar c : text) {
        if (c != u' ') {
            return false;
        }
    }
    return true;
}

QString ReplaceNotYet(const QString& text, QStringView notYet, QStringView shown) {
    return text == notYet ? shown.toString() : text;
}

std::optional<QByteArray> Load(const QString& folder, const QString& name, const QString& source) {
    const QString path = ClientFiles::FindFile(folder, name);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    if (QFileInfo(path).size() > kMaxFileBytes) {
        return std::nullopt;
    }
    auto data = ReadWholeFile(path);
    if (!data) {
        throw AppError(ErrNo::FileAccess, source, QStringLiteral("Path/File access error"));
    }
    return data;
}

qint16 RunnerCount(QByteArrayView data, const QString& strDate) {
    if (Bytes::Text(data, 1, 8) != strDate) {
        return 0;
    }
    const qint32 tosu = Bytes::Number(data, 141, 2);
    return (tosu >= 1 && tosu <= kMaxRunners) ? static_cast<qint16>(tosu) : 0;
}

} // namespace OddsText
