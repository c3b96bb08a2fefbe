#pragma once

#include "core/BetRecords.h"

#include <QString>

// The words every window that lists bets shows the same way.
namespace BetText {
// The bet type's name in six cells ("単勝　", "ワイド", "３連複"); "？？？" for a code outside 1..7.
const QString& typeLabel(qint16 betType);
// The combination in eight cells: "       5" (win, place), "    3-12" (bracket quinella, quinella, wide),
// "    3>12" (exacta), " 1- 2- 3" (trio); blanks for a code outside 1..7.
QString combination(const BetLine& bet);
// A settled bet's mark: ○ hit, × missed, 返 refunded; "？" for any other state.
QString settledMark(qint16 hit);
} // namespace BetText
