#include "MainDisplay.h"

#include "WarningText.h"

#include "core/Dates.h"
#include "core/Formats.h"
#include "core/Money.h"

MainDisplay BuildMainDisplay(const std::optional<DayTotals>& totals, const QString& curDate, qint32 amtZandaka,
                             const FileWarnings& warnings) {
    MainDisplay d;
    if (!totals) {
        d.Date = QStringLiteral("投票要綱なし");
        d.Bets = d.Payouts = d.Profit = d.Balance = QStringLiteral("0");
        d.Recovery = QStringLiteral("0.0");
        // The meetings are read from the account files, so a day without any has no UY-A.JRA.
        d.StatusTip =
            QStringLiteral("UY-A.JRA がありません。本日の投票と払戻、ダウンロードは使えません（通帳と分析は"
                           "そのまま使えます）。クライアントで本日のデータを受け取ってから「更新」してください。");
        return d;
    }
    static_cast<DayTotals&>(d) = *totals;
    d.HasMeetings = true;
    d.Date = Dates::DateLine(curDate);

    d.Bets = QString::number(Money::Add(d.AmtBuy, d.AmtBuyTomorrow));
    d.Payouts = QString::number(d.AmtPay);

    if (d.AmtBuyTomorrow >= 1) {
        d.Tooltip = QStringLiteral("当日：%1円 前日：%2円").arg(d.AmtBuy).arg(d.AmtBuyTomorrow);
    }
    if (d.AmtBuyYesterday >= 1) {
        d.Tooltip = QStringLiteral("前売にて %1円 投票済み").arg(d.AmtBuyYesterday);
    }

    const qint32 profit = Money::Sub(d.AmtPay, Money::Add(d.AmtBuy, d.AmtBuyYesterday));
    d.Profit = profit >= 1 ? QLatin1Char('+') + QString::number(profit) : QString::number(profit);

    d.Balance = QString::number(Money::Sub(Money::Add(amtZandaka, d.AmtPay), Money::Add(d.AmtBuy, d.AmtBuyTomorrow)));

    // Payouts against the day's own purchases only, in tenths of a percent, rounded half up.
    d.Recovery = Fmt::Tenths(Money::PerMilleOf(d.AmtPay, d.AmtBuy).value_or(0));

    if (d.LogCount == 0) {
        d.Status = QStringLiteral("本日は未投票です");
    } else if (d.AmtYet >= 1) {
        d.Status = QStringLiteral("あと%1円未確定").arg(d.AmtYet);
    } else {
        d.Status = QStringLiteral("全投票が確定しました");
    }

    if (!warnings.empty()) {
        d.NotReadWhole = true;
        d.Tooltip += (d.Tooltip.isEmpty() ? QString() : QStringLiteral("\n")) + WarningText::Tooltip(warnings);
    }
    return d;
}

QString MinimizedTitle(const QString& balanceText) {
    return QStringLiteral("残高 ") + balanceText + QStringLiteral("円");
}
