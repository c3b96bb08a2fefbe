#include "SpecialFolder.h"

#include <QStandardPaths>

namespace {
class StandardLocator : public IFolderLocator {
public:
    QString locate(int folderId) const override {
        if (folderId == kFolderPersonal) {
            return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        }
        return QString();
    }
};

const StandardLocator g_standard;
const IFolderLocator* g_locator = nullptr;

bool known(int folderId) {
    return folderId == kFolderPersonal;
}
} // namespace

void setFolderLocator(const IFolderLocator* locator) {
    g_locator = locator;
}

qint16 getSpecialFolder(qintptr /*ownerWindow*/, int folderId, QString& path) {
    if (!known(folderId)) {
        return 2;
    }
    const QString found = (g_locator ? g_locator : &g_standard)->locate(folderId);
    if (found.isEmpty()) {
        return 1;
    }
    // The shell's buffer held 255 characters and ended at the first NUL.
    QString p = found.left(255);
    const qsizetype nul = p.indexOf(QChar(0));
    if (nul >= 0) {
        p.truncate(nul);
    }
    path = p;
    return 0;
}

QString getMyDocuments() {
    QString path;
    getSpecialFolder(0, kFolderPersonal, path);
    return path;
}
