#include "Text.h"

namespace Text {

QStringView trimBlanks(QStringView text, QStringView blanks) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && blanks.contains(text[begin])) {
        ++begin;
    }
    while (end > begin && blanks.contains(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

} // namespace Text
