#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// Comma-separated files for spreadsheet programs: UTF-8 with a byte-order mark (without it they guess
// the local code page and garble Japanese texts), CR LF line ends, and a field quoted only when it holds
// a comma, a quote or a line end, its quotes doubled.
namespace Csv {
QString field(const QString& text);
QByteArray document(const QList<QStringList>& rows);
} // namespace Csv
