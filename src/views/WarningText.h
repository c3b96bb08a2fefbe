#pragma once

#include "core/FileWarning.h"

#include <QString>
#include <QStringList>

// The user's words for the client files a read could not take whole, shared by the main window and the
// command-line tool.
namespace WarningText {
// One line per file, its name and what is wrong: "LG002.JRA: 記録の途中で切れています（100バイト）".
QString line(const FileWarning& warning);
QStringList lines(const FileWarnings& warnings);
// The lines the main window's tooltip adds: the files, what the figures are and what is kept, what to do.
// Empty when everything was read whole.
QString tooltip(const FileWarnings& warnings);
// Why a day was not stored in the bet archive, with the files and what to do.
QString storeRefused(const FileWarnings& warnings);
} // namespace WarningText
