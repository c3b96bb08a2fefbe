#include "Fonts.h"

#include <QStringList>

namespace Fonts {

QFont fixed(qreal pointSize) {
    QFont f;
    f.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                   QStringLiteral("Noto Sans Mono CJK JP")});
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPointSizeF(pointSize);
    return f;
}

QFont proportional(qreal pointSize) {
    QFont f;
    f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("Meiryo UI"),
                   QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize);
    return f;
}

} // namespace Fonts
