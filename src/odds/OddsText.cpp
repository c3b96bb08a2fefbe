#include "OddsText.h"

#include "core/Bytes.h"

namespace OddsText {

namespace {
bool isVoidOrBlank(QStringView text, QStringView voidText) {
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

QString replaceNotYet(const QString& text, const Field& field) {
    return text == field.notYet ? field.notYetShown.toString() : text;
}
} // namespace

QString odds(QByteArrayView data, qsizetype pos, const Field& field) {
    return replaceNotYet(Bytes::text(data, pos, field.width), field);
}

std::optional<QString> offered(QByteArrayView data, qsizetype pos, const Field& field) {
    const QString text = Bytes::text(data, pos, field.width);
    if (isVoidOrBlank(text, field.voidText)) {
        return std::nullopt;
    }
    return replaceNotYet(text, field);
}

} // namespace OddsText
