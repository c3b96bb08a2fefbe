#include "OddsText.h"

#include "core/Bytes.h"

namespace OddsText {

namespace {
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

QString ReplaceNotYet(const QString& text, const Field& field) {
    return text == field.notYet ? field.notYetShown.toString() : text;
}
} // namespace

QString Odds(QByteArrayView data, qsizetype pos, const Field& field) {
    return ReplaceNotYet(Bytes::Text(data, pos, field.width), field);
}

std::optional<QString> Offered(QByteArrayView data, qsizetype pos, const Field& field) {
    const QString text = Bytes::Text(data, pos, field.width);
    if (IsVoidOrBlank(text, field.voidText)) {
        return std::nullopt;
    }
    return ReplaceNotYet(text, field);
}

} // namespace OddsText
