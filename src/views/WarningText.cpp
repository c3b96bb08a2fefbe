#include "WarningText.h"

namespace WarningText {
namespace {
QString reason(const FileWarning& w) {
    switch (w.what) {
    case FileWarning::Problem::Missing:
        return QStringLiteral("一覧にありますが、見つかりません");
    case FileWarning::Problem::NotAFile:
        return QStringLiteral("ファイルではありません（フォルダーなど）");
    case FileWarning::Problem::Unreadable:
        return QStringLiteral("開けません（読み取りの権限を確かめてください）");
    case FileWarning::Problem::CutRecord:
        return QStringLiteral("記録の途中で切れています（%1バイト）").arg(w.size);
    case FileWarning::Problem::FewerRecords:
        return QStringLiteral("%1件のはずが%2件しかありません").arg(w.expected).arg(w.size);
    case FileWarning::Problem::WrongLength:
        return QStringLiteral("長さが%1バイトで、正しい%2バイトではありません").arg(w.size).arg(w.expected);
    case FileWarning::Problem::Changing:
        return QStringLiteral("読み込みの間ずっと書き換えられていました");
    }
    return QString();
}

QStringList names(const FileWarnings& warnings) {
    QStringList names;
    for (const FileWarning& w : warnings) {
        names << w.file;
    }
    return names;
}
} // namespace

QString line(const FileWarning& warning) {
    return warning.file + QStringLiteral(": ") + reason(warning);
}

QStringList lines(const FileWarnings& warnings) {
    QStringList lines;
    for (const FileWarning& w : warnings) {
        lines << line(w);
    }
    return lines;
}

QString tooltip(const FileWarnings& warnings) {
    if (warnings.empty()) {
        return QString();
    }
    return QStringLiteral("読み込めないファイルがあります: ") + names(warnings).join(QStringLiteral(", ")) +
           QStringLiteral("\n数字は読めた分だけのものです。通帳と分析用の投票記録には保存せず、前のままにしています。"
                          "\nクライアントの書き込みが終わってから「更新」を押してください。");
}

QString storeRefused(const FileWarnings& warnings) {
    QString text = QStringLiteral("読み込めないファイルがあるため、この日の投票は保存しませんでした。\n");
    for (const QString& line : lines(warnings)) {
        text += QStringLiteral("  ") + line + QLatin1Char('\n');
    }
    return text + QStringLiteral(
                      "保存済みの分析用の投票記録は前のままです。クライアントの書き込みが終わってから、もう一度実行し"
                      "てください。\n");
}
} // namespace WarningText
