#pragma once

#include <QString>
#include <QtGlobal>

// The user's special folders. The platform lookup sits behind an interface so tests can point the
// documents folder elsewhere (or make it fail).
class IFolderLocator {
public:
    virtual ~IFolderLocator() = default;
    // The folder's path, or an empty text when the platform has none for this id.
    virtual QString locate(int folderId) const = 0;
};

// Installs a locator (not owned); nullptr restores the platform's (Qt's standard locations).
void setFolderLocator(const IFolderLocator* locator);

// Folder ids of the shell that callers use.
constexpr int kFolderPersonal = 5; // the user's documents folder

// Status codes: 0 found (path set); 1 the folder is known but has no file-system path; 2 the folder id
// is unknown. On 1 and 2 the path is left as it was.
qint16 getSpecialFolder(qintptr ownerWindow, int folderId, QString& path);

// The user's documents folder, or an empty text when it cannot be found.
QString getMyDocuments();
