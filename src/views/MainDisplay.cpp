#include "MainDisplay.h"

#include "WarningText.h"

#include "core/AppInfo.h"
#include "core/Dates.h"
#include "core/Formats.h"
#include "core/Money.h"

namespace {
// "投票 12,300円": a figure of the tray's tooltip, with its thousands marked (the signed profit too).
QString trayLine(const QString& caption, qint64 amount, bool signedFigure = false) {
    const QString sign = signedFigure && amount >= 1 ? QStringLiteral("+") : QString();
    return QLatin1Char('\n') + caption + QLatin1Char(' ') + sign + Fmt::thousands(amount) + QStringLiteral("円");
}
} // namespace

MainDisplay buildMainDisplay(const std::optional<DayTotals>& totals, const QString& saleDate, qint32 balance,
                             const FileWarnings& warnings) {
    MainDisplay d;
    if (!totals) {
        d.date = QStringLiteral("投票要綱なし");
        d.bets = d.payouts = d.profit = d.balance = QStringLiteral("0");
        d.recovery = QStringLiteral("0.0");
        // The meetings are read from the account files, so a day without any has no UY-A.JRA.
        d.statusTip =
            QStringLiteral("UY-A.JRA がありません。本日の投票と払戻、ダウンロードは使えません（通帳と分析は"
                           "そのまま使えます）。クライアントで本日のデータを受け取ってから「更新」してください。");
        d.trayTip = AppInfo::title() + QLatin1Char('\n') + d.date;
        return d;
    }
    static_cast<DayTotals&>(d) = *totals;
    d.hasMeetings = true;
    d.date = Dates::dateLine(saleDate);

    d.bets = QString::number(Money::add(d.amtBuy, d.amtBuyTomorrow));
    d.payouts = QString::number(d.amtPay);

    if (d.amtBuyTomorrow >= 1) {
        d.tooltip = QStringLiteral("当日：%1円 前日：%2円").arg(d.amtBuy).arg(d.amtBuyTomorrow);
    }
    if (d.amtBuyYesterday >= 1) {
        d.tooltip = QStringLiteral("前売にて %1円 投票済み").arg(d.amtBuyYesterday);
    }

    const qint32 profit = Money::sub(d.amtPay, Money::add(d.amtBuy, d.amtBuyYesterday));
    d.profit = profit >= 1 ? QLatin1Char('+') + QString::number(profit) : QString::number(profit);

    d.balance = QString::number(Money::sub(Money::add(balance, d.amtPay), Money::add(d.amtBuy, d.amtBuyTomorrow)));

    // Payouts against the day's own purchases only, in tenths of a percent, rounded half up.
    d.recovery = Fmt::tenths(Money::perMilleOf(d.amtPay, d.amtBuy).value_or(0));

    if (d.logCount == 0) {
        d.status = QStringLiteral("本日は未投票です");
    } else if (d.amtYet >= 1) {
        d.status = QStringLiteral("あと%1円未確定").arg(d.amtYet);
    } else {
        d.status = QStringLiteral("全投票が確定しました");
    }

    d.trayTip = AppInfo::title() + QLatin1Char(' ') + d.date +
                trayLine(QStringLiteral("投票"), Money::add(d.amtBuy, d.amtBuyTomorrow)) +
                trayLine(QStringLiteral("払戻"), d.amtPay) + trayLine(QStringLiteral("損益"), profit, true) +
                QLatin1Char('\n') + d.status;
    if (!warnings.empty()) {
        d.notReadWhole = true;
        d.trayTip += QStringLiteral("\n読めなかったファイルがあります（通帳はそのまま）");
        d.tooltip += (d.tooltip.isEmpty() ? QString() : QStringLiteral("\n")) + WarningText::tooltip(warnings);
    }
    return d;
}

QString minimizedTitle(const QString& balanceText) {
    return QStringLiteral("残高 ") + balanceText + QStringLiteral("円");
}
