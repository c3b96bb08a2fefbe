#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Converter of the racing authority's published results pages into result files of the betting client's
// own layout, so downloaded results read exactly like the client's. It works on a page's plain text, line
// by line, and knows nothing of HTML. A converter is meant for one page; nothing is written anywhere but
// the result file itself.
class ResultsPageConverter {
public:
    // Folder that receives result files; created when missing. A trailing separator is added.
    // When the folder exists, temporaries left by an interrupted write of a result file are removed.
    void setSavePathName(const QString& folder);

    // Payout-list page ("払戻金一覧"), spaces as they are: appends the number ("01".."12") of every race
    // the page lists to foundRaces, in the order found.
    void addListedRaces(const QString& text);
    const QStringList& foundRaces() const { return m_foundRaces; }

    // One race's results page ("競走成績") in which every half-width space was replaced by "#": writes its
    // result file into SavePathName, replacing an old one only once the new one is complete. True when the
    // file was written.
    bool convertResultsPage(const QString& text);
    // Name of the file the last successful GetKekka wrote ("KS-5328B.JRA"); empty otherwise.
    const QString& kekkaFileName() const { return m_kekkaFileName; }
    // When the last GetKekka made a result file but could not write it (a full disk, a link in its place, a
    // folder that cannot be made): the file's path and the reason. Empty otherwise.
    const QString& writeError() const { return m_writeError; }

    // What GetKekka would write for the page, without writing it: the file name and its 849 bytes (the last
    // 14 the current date and time). Nothing when the page makes no result file.
    struct KekkaFile {
        QString name;
        QByteArray bytes;
    };
    static std::optional<KekkaFile> makeKekka(const QString& text);

private:
    QString m_savePathName;
    QStringList m_foundRaces;
    QString m_kekkaFileName;
    QString m_writeError;
};
