#pragma once

#include <QString>

// What the download window says when the browser could not load a page. The browser reports a number: an
// HTTP status when the site answered with one, else the web engine's own (negative) network error number.
// Users read neither, so each is put in their words.
namespace NavigationError {
// The reason in a few words: "接続が拒否されました", "サーバーのエラーです（HTTP 500）".
QString reason(int status);
// Short enough for a race's box beside "取得不可": "HTTP 500", "接続できません".
QString shortText(int status);
// The first line of our page: "成績ページに接続できません（接続が拒否されました）", "成績ページを表示できません:
// ページが見つかりません（HTTP 404）".
QString headline(int status);
// The first line of our page for a page given up on after the waiting time.
QString timedOutHeadline();
// Our own small page for the browser area in place of the engine's English one: the headline, then what
// was kept and what to do.
QString page(const QString& headline);
} // namespace NavigationError
