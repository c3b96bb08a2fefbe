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

bool CreateOneFolder(const QString& path, QString& reason) {
    std::error_code ec;
    std::filesystem::create_directory(std::filesystem::path(path.toStdU16String()), ec);
    if (ec) {
        reason = QString::fromLocal8Bit(ec.message().c_str());
        return false;
    }
    return true;
}

StartupOutcome Main(IStartupHost& host, Folders& folders, const FolderMaker& makeFolder) {
    IniFile debug;
    debug.setPathName(folders.Program);
    debug.setFileName(QStringLiteral("VQV50DEBUG.INI"));
    // Not trimmed: a value with trailing blanks names a folder that does not hold the client.
    folders.Client = AddPathSep(debug.GetData(QStringLiteral("FOLDER"), QStringLiteral("patpath")));
    if (folders.Client == QLatin1String("/") || folders.Client == QLatin1String("\\")) {
        folders.Client = folders.Program;
    }

    if (ClientFiles::FindFile(folders.Client, QStringLiteral("PAT.EXE")).isEmpty()) {
        host.ShowCritical(AppInfo::Title(), kClientMissing);
        return StartupOutcome::ClientMissing;
    }

    if (!host.ClaimClientFolder(folders.Client)) {
        return StartupOutcome::AlreadyRunning;
    }

    const QString existing = ClientFiles::Find(folders.Client, QStringLiteral("VQDOWNLOAD"));
    if (!existing.isEmpty()) {
        folders.Download = existing; // a plain file of that name counts as present and is left alone
    } else {
        folders.Download = folders.Client + QStringLiteral("VQDOWNLOAD");
        QString reason;
        if (!makeFolder(folders.Download, reason)) {
            host.ShowCritical(AppInfo::Title(), QStringLiteral("ダウンロード用フォルダを作成できませんでした。\n%1\n%2")
                                                    .arg(QDir::toNativeSeparators(folders.Download), reason));
            return StartupOutcome::DownloadFolderFailed;
        }
    }

    host.ShowMainWindow(folders);
    return StartupOutcome::Running;
}

int ExitStatusOf(StartupOutcome outcome) {
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
