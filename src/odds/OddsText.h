#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// The odds fields of the odds files: right-aligned texts with one decimal, five characters wide for win,
// place and bracket quinella, six for quinella, wide, exacta and trio.
namespace OddsText {
struct Field {
    qsizetype width;
    QStringView voidText;    // the combination is void (a runner scratched)
    QStringView notYet;      // no odds yet ...
    QStringView notYetShown; // ... shown as the largest odds, so it sorts and reads as the least likely outcome
};
inline constexpr Field kField5{5, u" ﾄﾘｹｼ", u"  0.0", u"999.9"};
inline constexpr Field kField6{6, u"  ﾄﾘｹｼ", u"   0.0", u"9999.9"};

// The text of the field at byte pos, "no odds yet" replaced.
QString odds(QByteArrayView data, qsizetype pos, const Field& field);
// The same, or nothing when the field is void or all blanks (a field cut short by the end of a truncated
// file counts as blank too).
std::optional<QString> offered(QByteArrayView data, qsizetype pos, const Field& field);
} // namespace OddsText
