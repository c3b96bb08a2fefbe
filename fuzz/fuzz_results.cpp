// A race's result: the result file ("KS-96518.JRA", the bytes before the first file marker), a "PR-"
// file in its place, or the seven payout files of the meeting day, as one archive. The last byte picks
// the runner count the refunds expand over, 0..19, so counts outside the field are tried too.
#include "FuzzSupport.h"

#include "core/AppError.h"
#include "core/Paths.h"
#include "results/RaceResultReader.h"

#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::Quiet(), true);
    (void)quiet;
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    const QString folder = Fuzz::WriteFiles(Fuzz::SplitArchive(bytes, QStringLiteral("KS-96518.JRA")));
    // The folder is read as the program reads it, within one listing of it.
    const ClientFiles::Scope scope;
    RaceResultReader ks;
    ks.setPathName(folder);
    ks.setFileName(QStringLiteral("96518"));
    ks.setTosu(size == 0 ? 0 : static_cast<qint16>(data[size - 1] % 20));
    if (!ks.GetData(QStringLiteral("20261205"))) {
        return 0;
    }
    // Seven bet types, at most 18 runners: no result, however crafted, names more combinations than
    // every trio of 18 runners (816) for each of the seven bet types.
    Fuzz::Check(ks.KekkaCount() >= 1 && ks.KekkaCount() <= 7 * 816, "result line count",
                QString::number(ks.KekkaCount()));
    for (qsizetype i = 1; i <= ks.KekkaCount(); ++i) {
        Fuzz::Check(ks.Kekka(i).size() == 27, "result line width", ks.Kekka(i));
    }
    for (int s = 1; s <= 5; ++s) {
        (void)ks.Chaku(s);
        (void)ks.Num(s);
        (void)ks.WakuNum(s);
        (void)ks.UmaName(s);
        (void)ks.Diff(s);
    }
    static const QRegularExpression horses(QStringLiteral("^ ?((1[0-8]|[1-9])(,(1[0-8]|[1-9]))*)?$"));
    Fuzz::Check(horses.match(ks.HenkanUmaNum()).hasMatch(), "refunded horses 1..18", ks.HenkanUmaNum());
    static const QRegularExpression brackets(QStringLiteral("^ ?(([1-8]-[*1-8])(,[1-8]-[*1-8])*)?$"));
    Fuzz::Check(brackets.match(ks.HenkanWakuNum()).hasMatch(), "refunded brackets 1..8", ks.HenkanWakuNum());
    return 0;
}
