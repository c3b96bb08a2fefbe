#pragma once

#include <QByteArray>
#include <QString>

// Replacement of our own files (the profit book, the settings file, converted result files) as a whole:
// the new contents go to a temporary file beside the old one, which is then renamed over it. Whenever the
// program dies, the file holds either its old contents or its new ones, never a part of either.
namespace AtomicFile {
// Writes the bytes to the file at path, replacing it. On failure the old file stays as it was and *error
// (when given) holds the reason. A symbolic link at path (even one naming nothing) is refused, never
// written through.
bool replace(const QString& path, const QByteArray& bytes, QString* error);

// Removes what an interrupted Replace of a file matching nameGlob (case-insensitive, "*" and "?") can have
// left in the folder: a regular file named "<final name>.XXXXXX", six ASCII letters or digits. Nothing
// else is ever touched. Returns the number of files removed.
int removeStrays(const QString& folder, const QString& nameGlob);

// Whether files can be made in the folder (made first when missing), tried with a real file that is removed
// at once: permissions, a read-only disk or a file standing where the folder should be all show only then.
// On failure *reason says why in the user's words and *systemReason (when given) as the system put it.
bool canWriteIn(const QString& folder, QString* reason, QString* systemReason = nullptr);
} // namespace AtomicFile
