#include "Startup.h"

#include "AppInfo.h"
#include "IniFile.h"
#include "Paths.h"

#include <QDir>

#include <filesystem>
#include <system_error>

namespace {
const QString kClientMissing =
    QStringLiteral("本ｿﾌﾄを「JRA PAT for Win V50」がｲﾝｽﾄｰﾙされているﾌｫﾙﾀﾞへ移動させてください｡");
} // namespace

bool createOneFolder(const QString& path, QString& reason) {
    std::error_code ec;
    std::filesystem::create_directory(std::filesystem::path(path.toStdU16String()), ec);
    if (ec) {
        reason = QString::fromLocal8Bit(ec.message().c_str());
        return false;
    }
    return true;
}

StartupOutcome startUp(IStartupHost& host, Folders& folders, const FolderMaker& makeFolder) {
    IniFile debug;
    debug.setPathName(folders.program);
    debug.setFileName(QStringLiteral("VQV50DEBUG.INI"));
    // Not trimmed: a value with trailing blanks names a folder that does not hold the client.
    folders.client = addPathSep(debug.value(QStringLiteral("FOLDER"), QStringLiteral("patpath")));
    if (folders.client == QLatin1String("/") || folders.client == QLatin1String("\\")) {
        folders.client = folders.program;
    }

    if (ClientFiles::findFile(folders.client, QStringLiteral("PAT.EXE")).isEmpty()) {
        host.showCritical(AppInfo::title(), kClientMissing);
        return StartupOutcome::ClientMissing;
    }

    if (!host.claimClientFolder(folders.client)) {
        return StartupOutcome::AlreadyRunning;
    }

    const QString existing = ClientFiles::find(folders.client, QStringLiteral("VQDOWNLOAD"));
    if (!existing.isEmpty()) {
        folders.download = existing; // a plain file of that name counts as present and is left alone
    } else {
        folders.download = folders.client + QStringLiteral("VQDOWNLOAD");
        QString reason;
        if (!makeFolder(folders.download, reason)) {
            host.showCritical(AppInfo::title(), QStringLiteral("ダウンロード用フォルダを作成できませんでした。\n%1\n%2")
                                                    .arg(QDir::toNativeSeparators(folders.download), reason));
            return StartupOutcome::DownloadFolderFailed;
        }
    }

    host.showMainWindow(folders);
    return StartupOutcome::Running;
}

int exitStatusOf(StartupOutcome outcome) {
    switch (outcome) {
    case StartupOutcome::Running:
    case StartupOutcome::AlreadyRunning:
        return 0;
    case StartupOutcome::ClientMissing:
        return 1;
    case StartupOutcome::DownloadFolderFailed:
        return 2;
    }
    return 1;
}
