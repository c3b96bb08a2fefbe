#include "Startup.h"

#include "AppInfo.h"
#include "Globals.h"
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

StartupOutcome Main(IStartupHost& host, const FolderMaker& makeFolder) {
    IniFile debug;
    debug.setPathName(ProgramFolder());
    debug.setFileName(QStringLiteral("VQV50DEBUG.INI"));
    // Not trimmed: a value with trailing blanks names a folder that does not hold the client.
    gstrPatPath = AddPathSep(debug.GetData(QStringLiteral("FOLDER"), QStringLiteral("patpath")));
    if (gstrPatPath == QLatin1String("/") || gstrPatPath == QLatin1String("\\")) {
        gstrPatPath = ProgramFolder();
    }

    if (ClientFiles::FindFile(gstrPatPath, QStringLiteral("PAT.EXE")).isEmpty()) {
        host.ShowCritical(AppInfo::Title(), kClientMissing);
        return StartupOutcome::ClientMissing;
    }

    if (!host.ClaimClientFolder(gstrPatPath)) {
        return StartupOutcome::AlreadyRunning;
    }

    const QString existing = ClientFiles::Find(gstrPatPath, QStringLiteral("VQDOWNLOAD"));
    if (!existing.isEmpty()) {
        gstrDownPath = existing; // a plain file of that name counts as present and is left alone
    } else {
        gstrDownPath = gstrPatPath + QStringLiteral("VQDOWNLOAD");
        QString reason;
        if (!makeFolder(gstrDownPath, reason)) {
            host.ShowCritical(AppInfo::Title(), QStringLiteral("ダウンロード用フォルダを作成できませんでした。\n%1\n%2")
                                                    .arg(QDir::toNativeSeparators(gstrDownPath), reason));
            return StartupOutcome::DownloadFolderFailed;
        }
    }

    host.ShowMainWindow();
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
