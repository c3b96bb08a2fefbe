// A race's result: the result file ("KS-96518.JRA", the bytes before the first file marker), a "PR-"
// file in its place, or the seven payout files of the meeting day, as one archive. The last byte picks
// the runner count the refunds expand over, 0..19, so counts outside the field are tried too.
#include "FuzzSupport.h"

#include "core/AppError.h"
#include "core/Paths.h"
#include "results/RaceResultReader.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::quiet(), true);
    (void)quiet;
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString folder = Fuzz::writeFiles(Fuzz::splitArchive(bytes, QStringLiteral("KS-96518.JRA")));
    const RaceResultReader ks =
        RaceResultReader::read(folder, QStringLiteral("96518"),
                               size == 0 ? 0 : static_cast<qint16>(data[size - 1] % 20), QStringLiteral("20261205"));
    if (ks.kekkaCount() == 0) {
        return 0;
    }
    // Seven bet types, at most 18 runners: no result, however crafted, names more combinations than
    // every trio of 18 runners (816) for each of the seven bet types.
    Fuzz::check(ks.kekkaCount() >= 1 && ks.kekkaCount() <= 7 * 816, "result line count",
                QString::number(ks.kekkaCount()));
    for (qsizetype i = 1; i <= ks.kekkaCount(); ++i) {
        Fuzz::check(ks.kekka(i).size() == 27, "result line width", ks.kekka(i));
    }
    for (int s = 1; s <= 5; ++s) {
        (void)ks.chaku(s);
        (void)ks.num(s);
        (void)ks.wakuNum(s);
        (void)ks.umaName(s);
        (void)ks.diff(s);
    }
    static const QRegularExpression horses(QStringLiteral("^ ?((1[0-8]|[1-9])(,(1[0-8]|[1-9]))*)?$"));
    Fuzz::check(horses.match(ks.henkanUmaNum()).hasMatch(), "refunded horses 1..18", ks.henkanUmaNum());
    static const QRegularExpression brackets(QStringLiteral("^ ?(([1-8]-[*1-8])(,[1-8]-[*1-8])*)?$"));
    Fuzz::check(brackets.match(ks.henkanWakuNum()).hasMatch(), "refunded brackets 1..8", ks.henkanWakuNum());
    return 0;
}
