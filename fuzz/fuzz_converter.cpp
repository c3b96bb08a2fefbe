// The results page converter, on the page text as the browser copies it (UTF-8 here). Whatever the page
// says, a result file has a name of validated characters and lands in the save folder, nowhere else, and
// never through a link at its name.
#include "FuzzSupport.h"

#include "results/ResultsPageConverter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool quiet = (Fuzz::Quiet(), true);
    (void)quiet;
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    ResultsPageConverter list;
    list.GetRaceNum(text);
    static const QRegularExpression raceNum(QStringLiteral("^(0[1-9]|1[0-2])$"));
    for (const QString& n : list.colElement()) {
        Fuzz::Check(raceNum.match(n).hasMatch(), "race number 01..12", n);
    }

    const QString root = Fuzz::Fresh();
    const QString save = root + QStringLiteral("save/");
    ResultsPageConverter conv;
    conv.setSavePathName(save);
    // The download window hands over the text with every space made "#".
    const bool written = conv.GetKekka(text.replace(u' ', u'#'));
    static const QRegularExpression name(QStringLiteral("^KS-[0-9A-Z]{5}\\.JRA$"));
    const QStringList saved =
        QDir(save).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const QStringList rootEntries =
        QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    Fuzz::Check(rootEntries.size() <= 1, "nothing beside the save folder", rootEntries.join(u' '));
    if (!written) {
        Fuzz::Check(conv.KekkaFileName().isEmpty() && saved.isEmpty(), "no file without success", saved.join(u' '));
        return 0;
    }
    Fuzz::Check(name.match(conv.KekkaFileName()).hasMatch(), "result file name", conv.KekkaFileName());
    Fuzz::Check(saved == QStringList{conv.KekkaFileName()}, "only the result file in the save folder",
                saved.join(u' '));
    Fuzz::Check(QFileInfo(save + conv.KekkaFileName()).size() == 849, "result file size");

    // The same page again with a link at the result file's name: the link is never written through.
    const QString outside = root + QStringLiteral("outside");
    QFile target(outside);
    Fuzz::Check(target.open(QIODevice::WriteOnly) && target.write("not ours") == 8, "outside file made");
    target.close();
    QFile::remove(save + conv.KekkaFileName());
    Fuzz::Check(QFile::link(outside, save + conv.KekkaFileName()), "link made");
    ResultsPageConverter again;
    again.setSavePathName(save);
    Fuzz::Check(!again.GetKekka(text) && !again.WriteError().isEmpty(), "a link at the name is refused, and said");
    Fuzz::Check(target.open(QIODevice::ReadOnly) && target.readAll() == "not ours", "the link's file untouched");
    Fuzz::Check(QFileInfo(save + conv.KekkaFileName()).isSymLink(), "the link stays");
    return 0;
}
