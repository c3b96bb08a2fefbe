#include "NavigationError.h"

namespace {
bool isHttpStatus(int status) {
    return status >= 100 && status <= 599;
}

QString httpReason(int status) {
    QString what;
    switch (status) {
    case 403:
        what = QStringLiteral("アクセスが拒否されました");
        break;
    case 404:
        what = QStringLiteral("ページが見つかりません");
        break;
    case 500:
        what = QStringLiteral("サーバーのエラーです");
        break;
    case 502:
    case 504:
        what = QStringLiteral("サーバーが応答しません");
        break;
    case 503:
        what = QStringLiteral("サーバーが一時的に使えません");
        break;
    default:
        what = QStringLiteral("サイトがエラーを返しました");
        break;
    }
    return what + QStringLiteral("（HTTP %1）").arg(status);
}

// The web engine's network error numbers are those of the browser it is built on; only the ones a user
// meets at home get words of their own.
QString networkReason(int code) {
    switch (code) {
    case -7:
    case -118:
        return QStringLiteral("接続がタイムアウトしました");
    case -21:
        return QStringLiteral("ネットワークが切り替わりました");
    case -100:
        return QStringLiteral("接続が切れました");
    case -101:
        return QStringLiteral("接続がリセットされました");
    case -102:
        return QStringLiteral("接続が拒否されました");
    case -105:
    case -137:
        return QStringLiteral("サイトのアドレスが見つかりません");
    case -106:
        return QStringLiteral("インターネットに接続されていません");
    case -109:
        return QStringLiteral("サイトに到達できません");
    case -130:
        return QStringLiteral("プロキシに接続できません");
    case -324:
        return QStringLiteral("サイトから応答がありません");
    default:
        break;
    }
    if (code == -107 || (code <= -200 && code > -300)) {
        return QStringLiteral("証明書に問題があり安全に接続できません");
    }
    return QStringLiteral("エラー番号 %1").arg(code);
}
} // namespace

namespace NavigationError {

QString reason(int status) {
    return isHttpStatus(status) ? httpReason(status) : networkReason(status);
}

QString shortText(int status) {
    return isHttpStatus(status) ? QStringLiteral("HTTP %1").arg(status) : QStringLiteral("接続できません");
}

QString headline(int status) {
    return (isHttpStatus(status) ? QStringLiteral("成績ページを表示できません: %1")
                                 : QStringLiteral("成績ページに接続できません（%1）"))
        .arg(reason(status));
}

QString timedOutHeadline() {
    return QStringLiteral("成績ページが30秒たっても表示されませんでした（タイムアウト）");
}

QString page(const QString& headline) {
    return QStringLiteral("<!DOCTYPE html><html lang=\"ja\"><head><meta charset=\"utf-8\"><title>%1</title></head>"
                          "<body style=\"font-family: sans-serif; margin: 12px\"><p style=\"font-weight: bold\">%1</p>"
                          "<p>このページの結果は保存していません。これまでに保存した結果ファイルはそのままです。"
                          "回線と成績サイトのアドレス（VQV50.INI の resultsite）を確かめてから、もう一度"
                          "「ﾀﾞｳﾝﾛｰﾄﾞ」を押してください。</p></body></html>")
        .arg(headline.toHtmlEscaped());
}

} // namespace NavigationError
