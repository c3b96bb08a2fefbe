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
    static const bool quiet = (Fuzz::quiet(), true);
    (void)quiet;
    QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    ResultsPageConverter list;
    list.addListedRaces(text);
    static const QRegularExpression raceNum(QStringLiteral("^(0[1-9]|1[0-2])$"));
    for (const QString& n : list.foundRaces()) {
        Fuzz::check(raceNum.match(n).hasMatch(), "race number 01..12", n);
    }

    const QString root = Fuzz::fresh();
    const QString save = root + QStringLiteral("save/");
    ResultsPageConverter conv;
    conv.setSavePathName(save);
    // The download window hands over the text with every space made "#".
    const bool written = conv.convertResultsPage(text.replace(u' ', u'#'));
    static const QRegularExpression name(QStringLiteral("^KS-[0-9A-Z]{5}\\.JRA$"));
    const QStringList saved =
        QDir(save).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const QStringList rootEntries =
        QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    Fuzz::check(rootEntries.size() <= 1, "nothing beside the save folder", rootEntries.join(u' '));
    if (!written) {
        Fuzz::check(conv.kekkaFileName().isEmpty() && saved.isEmpty(), "no file without success", saved.join(u' '));
        return 0;
    }
    Fuzz::check(name.match(conv.kekkaFileName()).hasMatch(), "result file name", conv.kekkaFileName());
    Fuzz::check(saved == QStringList{conv.kekkaFileName()}, "only the result file in the save folder",
                saved.join(u' '));
    Fuzz::check(QFileInfo(save + conv.kekkaFileName()).size() == 849, "result file size");

    // The same page again with a link at the result file's name: the link is never written through.
    const QString outside = root + QStringLiteral("outside");
    QFile target(outside);
    Fuzz::check(target.open(QIODevice::WriteOnly) && target.write("not ours") == 8, "outside file made");
    target.close();
    QFile::remove(save + conv.kekkaFileName());
    Fuzz::check(QFile::link(outside, save + conv.kekkaFileName()), "link made");
    ResultsPageConverter again;
    again.setSavePathName(save);
    Fuzz::check(!again.convertResultsPage(text) && !again.writeError().isEmpty(),
                "a link at the name is refused, and said");
    Fuzz::check(target.open(QIODevice::ReadOnly) && target.readAll() == "not ours", "the link's file untouched");
    Fuzz::check(QFileInfo(save + conv.kekkaFileName()).isSymLink(), "the link stays");
    return 0;
}
