#include "Bytes.h"

#include "CodePage.h"
#include "Numbers.h"

namespace Bytes {

QByteArrayView cut(QByteArrayView data, qsizetype pos, qsizetype len) {
    if (pos < 1 || len <= 0 || pos > data.size()) {
        return QByteArrayView();
    }
    const qsizetype start = pos - 1;
    const qsizetype available = data.size() - start;
    return data.sliced(start, len < available ? len : available);
}

char at(QByteArrayView data, qsizetype pos) {
    return (pos >= 1 && pos <= data.size()) ? data[pos - 1] : '\0';
}

QString text(QByteArrayView data, qsizetype pos, qsizetype len) {
    return CodePage::decode(cut(data, pos, len));
}

qint32 number(QByteArrayView data, qsizetype pos, qsizetype len) {
    return Num::toInt32(cut(data, pos, len)); // the same number as decoding first, without the decoding
}

} // namespace Bytes
