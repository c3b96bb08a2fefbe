#include "BetRecords.h"

#include "Numbers.h"

namespace {
// Zero-padded to exactly `width` digits, written in place (these lines are made by the ten thousand).
// A value that does not fit (negative, or too many digits) would shift every later field of the line, so
// it is clamped to the field's range instead.
QChar* Put(QChar* out, qint64 value, int width) {
    qint64 max = 1;
    for (int i = 0; i < width; ++i) {
        max *= 10;
    }
    if (value < 0) {
        value = 0;
    } else if (value >= max) {
        value = max - 1;
    }
    for (int i = width - 1; i >= 0; --i) {
        out[i] = QChar(u'0' + static_cast<char16_t>(value % 10));
        value /= 10;
    }
    return out + width;
}

QStringView Field(QStringView text, qsizetype pos, qsizetype width) {
    if (pos > text.size()) {
        return QStringView();
    }
    return text.mid(pos - 1, width);
}

qint32 Number(QStringView text, qsizetype pos, qsizetype width) {
    return Num::ToInt32(Field(text, pos, width));
}

qint16 Small(QStringView text, qsizetype pos, qsizetype width) {
    return Num::ClampToInt16(Number(text, pos, width));
}
} // namespace

QString LogToStr(const udtLog& log) {
    QString s(kLogTextLength, Qt::Uninitialized);
    QChar* p = s.data();
    p = Put(p, log.Sale, 1);
    p = Put(p, log.Venue, 2);
    p = Put(p, log.RaceNum, 2);
    p = Put(p, log.BetType, 2);
    p = Put(p, log.Num1, 2);
    p = Put(p, log.Num2, 2);
    p = Put(p, log.Num3, 2);
    p = Put(p, log.BuyDay, 1);
    p = Put(p, log.Units, 4);
    p = Put(p, log.Payout, 8);
    Put(p, log.Hit, 1);
    return s;
}

udtLog StrToLog(QStringView text) {
    udtLog l;
    l.Sale = Small(text, 1, 1);
    l.Venue = Small(text, 2, 2);
    l.RaceNum = Small(text, 4, 2);
    l.BetType = Small(text, 6, 2);
    l.Num1 = Small(text, 8, 2);
    l.Num2 = Small(text, 10, 2);
    l.Num3 = Small(text, 12, 2);
    l.BuyDay = Small(text, 14, 1);
    l.Units = Small(text, 15, 4);
    l.Payout = Number(text, 19, 8);
    l.Hit = Small(text, 27, 1);
    return l;
}

QString OmitToStr(const udtOmit& o) {
    QString s(kOmitTextLength, Qt::Uninitialized);
    QChar* p = s.data();
    p = Put(p, o.Sale, 1);
    p = Put(p, o.Venue, 2);
    p = Put(p, o.RaceNum, 2);
    p = Put(p, o.Status, 2);
    p = Put(p, o.BetType, 2);
    p = Put(p, o.Kind, 1);
    p = Put(p, o.Num1, 2);
    p = Put(p, o.Num2, 2);
    p = Put(p, o.Num3, 2);
    p = Put(p, o.BuyDay, 1);
    p = Put(p, o.Units, 4);
    p = Put(p, o.LogNo, 4);
    p = Put(p, o.Reserved, 2);
    for (const qint16 slot : o.Slots) {
        p = Put(p, slot, 2);
    }
    return s;
}

udtOmit StrToOmit(QStringView text) {
    udtOmit o;
    o.Sale = Small(text, 1, 1);
    o.Venue = Small(text, 2, 2);
    o.RaceNum = Small(text, 4, 2);
    o.Status = Small(text, 6, 2);
    o.BetType = Small(text, 8, 2);
    o.Kind = Small(text, 10, 1);
    o.Num1 = Small(text, 11, 2);
    o.Num2 = Small(text, 13, 2);
    o.Num3 = Small(text, 15, 2);
    o.BuyDay = Small(text, 17, 1);
    o.Units = Small(text, 18, 4);
    o.LogNo = Small(text, 22, 4);
    o.Reserved = Small(text, 26, 2);
    for (int i = 0; i < 18; ++i) {
        o.Slots[i] = Small(text, 28 + 2 * i, 2);
    }
    return o;
}
