#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

// Helpers shared by the odds tables and the odds file readers.
namespace OddsText {
// A race has at most 18 runners; the record areas of every odds file are sized for that many.
constexpr qint16 kMaxRunners = 18;

// The special texts of the five-character odds fields (win, place, bracket quinella) ...
inline constexpr QStringView kVoid5 = u" ﾄﾘｹｼ";
inline constexpr QStringView kNotYet5 = u"  0.0";
inline constexpr QStringView kNotYetShown5 = u"999.9";
// ... and of the six-character ones (quinella, wide, exacta, trio).
inline constexpr QStringView kVoid6 = u"  ﾄﾘｹｼ";
inline constexpr QStringView kNotYet6 = u"   0.0";
inline constexpr QStringView kNotYetShown6 = u"9999.9";

// True when the field holds no odds: the void text, or nothing but blanks (a field cut short by the end
// of a truncated file counts as blank too).
bool IsVoidOrBlank(QStringView text, QStringView voidText);

// "No odds yet" is shown as the largest odds, so it sorts and reads as the least likely outcome.
QString ReplaceNotYet(const QString& text, QStringView notYet, QStringView shown);

// The file folder + name read whole. Nothing when it does not exist or is far too large to be an odds file;
// an existing file that cannot be opened raises the path/file access error with the given source.
std::optional<QByteArray> Load(const QString& folder, const QString& name, const QString& source);

// The runner count of an odds file of that date: bytes 1-8 must equal strDate and bytes 141-142 must give
// 1..18. Any other file gives 0 (unreadable): a count beyond 18 would run the records past their areas.
qint16 RunnerCount(QByteArrayView data, const QString& strDate);
} // namespace OddsText
