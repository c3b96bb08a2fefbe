#pragma once

#include "core/FileWarning.h"
#include "core/Paths.h"

#include <QByteArrayView>
#include <QString>

#include <memory>
#include <optional>
#include <utility>

// What every reader of a race's odds files shares: the file prefix + race id + ".JRA" in the data folder,
// and the check that the file belongs to the expected day and has a runner count the record areas hold.
class OddsFile {
public:
    // Reads the race's file of the reader's layout (prefix + race id + ".JRA") in the folder, within a
    // reading of the folder: a reader when the file exists, its first eight bytes equal date and its runner
    // count is 1..18; none otherwise. A file not of its layout's length (the client was still writing it)
    // is read all the same and named in `warnings`. A file that exists but cannot be opened raises the
    // path/file access error.
    template <class Reader>
    static std::unique_ptr<Reader> read(const QString& folder, const QString& raceId, const QString& date,
                                        ClientFiles::FolderRead& files, FileWarnings& warnings) {
        auto reader = std::make_unique<Reader>();
        return reader->readFile(folder, raceId, date, files, warnings) ? std::move(reader) : nullptr;
    }
    // Reads bytes already read: true only when their first eight bytes equal date and their runner count is
    // 1..18; otherwise false and nothing changes.
    bool readBytes(QByteArrayView data, const QString& date);

protected:
    // source names the reader in the errors it raises; length is the layout's, in bytes.
    OddsFile(QString prefix, QString source, qsizetype length)
        : m_prefix(std::move(prefix)), m_source(std::move(source)), m_length(length) {}
    ~OddsFile() = default;

    // Sizes each table to the runner count, every cell empty.
    template <class... Tables>
    static void reset(qint16 tosu, const Tables&... tables) {
        ((tables->setTosu(tosu), tables->initialize()), ...);
    }

private:
    bool readFile(const QString& folder, const QString& raceId, const QString& date, ClientFiles::FolderRead& files,
                  FileWarnings& warnings);
    // Called only for a file of the right day with a runner count of 1..18.
    virtual void parse(QByteArrayView data, qint16 tosu) = 0;

    QString m_prefix;
    QString m_source;
    qsizetype m_length;
};
