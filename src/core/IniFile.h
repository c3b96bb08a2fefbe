#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Reader and writer of Windows-style INI files (the settings file and the debug file), with the
// rules those files were always read by:
// - text in the code page; lines may end in CR LF or LF; written back with CR LF;
// - section and key names compare case-insensitively, blanks around them ignored;
// - a value starts after the "=" with leading blanks skipped; trailing blanks are kept;
// - a value reads back cut to 254 characters; a missing file, section or key reads as empty text;
// - the first of duplicate sections or keys is the one read and written;
// - writing creates the file and section as needed and keeps every other line as it was.
// Every write replaces the file through a temporary file, so an interrupted write never loses it.
class IniFile {
public:
    // The folder starts as the program's own folder.
    IniFile();
    ~IniFile();

    void setPathName(const QString& folder); // a trailing separator is added when missing
    const QString& pathName() const { return m_pathName; }
    void setFileName(const QString& name);
    const QString& fileName() const { return m_fileName; }
    // The file read and written: the one of that name in the folder whatever its letters' case.
    QString filePath() const;

    QString value(const QString& section, const QString& key) const;
    // Non-zero on success.
    qint32 setValue(const QString& section, const QString& key, const QString& value);

    // Collects the writes made while it is alive into one replacement of the file, and reads the file
    // once for all the reads made meanwhile. A batch without a write leaves the file alone.
    class Batch {
    public:
        explicit Batch(IniFile& file);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Ends the batch now (the outermost one stores its writes); false when the file could not be
        // written. The destructor does nothing after it.
        bool finish();

    private:
        IniFile& m_file;
        bool m_finished = false;
    };

    static constexpr int kMaxValueLength = 254;

private:
    QStringList loadLines() const;
    bool storeLines(const QStringList& lines) const;
    // Names map to slots of Lines, so that a line put in moves every later line by one short loop.
    struct LineIndex {
        QHash<QString, qsizetype> keys;        // folded "section\nkey" -> slot of its line
        QHash<QString, qsizetype> sectionEnds; // folded section -> slot of where a new key of it goes
        std::vector<qsizetype> lines;
        qsizetype add(QHash<QString, qsizetype>& names, const QString& name, qsizetype line);
    };
    static LineIndex indexLines(const QStringList& lines);
    // The index of the batch's lines, built at its first read or write and kept up to date by its writes.
    const LineIndex& batchIndex() const;

    QString m_pathName;
    QString m_fileName;
    int m_batchDepth = 0;
    std::optional<QStringList> m_batchLines;
    bool m_batchWritten = false;
    mutable std::optional<LineIndex> m_batchIndex;
};
