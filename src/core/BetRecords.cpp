#include "BetRecords.h"

#include "Numbers.h"

namespace {
// Zero-padded to exactly `width` digits. A value that does not fit (negative, or too many digits) would
// shift every later field of the line, so it is clamped to the field's range instead.
void Put(QString& out, qint64 value, int width) {
    qint64 max = 1;
    for (int i = 0; i < width; ++i) {
        max *= 10;
    }
    if (value < 0) {
        value = 0;
    } else if (value >= max) {
        value = max - 1;
    }
    const QString digits = QString::number(value);
    out += QString(width - digits.size(), QLatin1Char('0'));
    out += digits;
}

QStringView Field(QStringView text, qsizetype pos, qsizetype width) {
    if (pos > text.size()) {
        return QStringView();
    }
    return text.mid(pos - 1, width);
}

qint16 Small(QStringView text, qsizetype pos, qsizetype width) {
    return Num::ToInt16(Field(text, pos, width));
}
} // namespace

QString LogToStr(const udtLog& log) {
    QString s;
    s.reserve(kLogTextLength);
    Put(s, log.Sale, 1);
    Put(s, log.Venue, 2);
    Put(s, log.RaceNum, 2);
    Put(s, log.BetType, 2);
    Put(s, log.Num1, 2);
    Put(s, log.Num2, 2);
    Put(s, log.Num3, 2);
    Put(s, log.BuyDay, 1);
    Put(s, log.Units, 4);
    Put(s, log.Payout, 8);
    Put(s, log.Hit, 1);
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
    l.Payout = Num::ToInt32(Field(text, 19, 8));
    l.Hit = Small(text, 27, 1);
    return l;
}

QString OmitToStr(const udtOmit& o) {
    QString s;
    s.reserve(kOmitTextLength);
    Put(s, o.Sale, 1);
    Put(s, o.Venue, 2);
    Put(s, o.RaceNum, 2);
    Put(s, o.Status, 2);
    Put(s, o.BetType, 2);
    Put(s, o.Kind, 1);
    Put(s, o.Num1, 2);
    Put(s, o.Num2, 2);
    Put(s, o.Num3, 2);
    Put(s, o.BuyDay, 1);
    Put(s, o.Units, 4);
    Put(s, o.LogNo, 4);
    Put(s, o.Reserved, 2);
    for (const qint16 slot : o.Slots) {
        Put(s, slot, 2);
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
