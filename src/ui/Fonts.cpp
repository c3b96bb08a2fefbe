#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace Fonts {
namespace {

// The first of the families that is installed, alone; all of them when none is. A font asks the font
// configuration about every family it names that is missing, at every size and weight it is made in: on
// Linux the Windows names are, and that was a third of the time the main window's first layout took.
QStringList firstInstalled(const QStringList& families) {
    for (const QString& family : families) {
        if (QFontDatabase::hasFamily(family)) {
            return {family};
        }
    }
    return families;
}

} // namespace

QFont fixed(qreal pointSize) {
    static const QStringList families =
        firstInstalled({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"),
                        QStringLiteral("Noto Sans Mono CJK JP")});
    QFont f;
    f.setFamilies(families);
    f.setStyleHint(QFont::Monospace);
    f.setFixedPitch(true);
    f.setPointSizeF(pointSize);
    return f;
}

QFont proportional(qreal pointSize) {
    static const QStringList families =
        firstInstalled({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("Meiryo UI"),
                        QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    QFont f;
    f.setFamilies(families);
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(pointSize);
    return f;
}

} // namespace Fonts
