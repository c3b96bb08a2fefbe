#pragma once

#include "core/FileWarning.h"

#include <QByteArrayView>
#include <QString>

#include <optional>
#include <utility>

// What every reader of a race's odds files shares: the file prefix + race id + ".JRA" in the data folder,
// and the check that the file belongs to the expected day and has a runner count the record areas hold.
class OddsFile {
public:
    void setPathName(const QString& folder); // a trailing separator is added when missing
    void setFileName(const QString& raceId); // the race id, stored unchanged

    // Reads the file. True only when it exists, its first eight bytes equal date and its runner count
    // is 1..18; otherwise false and nothing changes. A file that exists but cannot be opened raises the
    // path/file access error.
    bool getData(const QString& date);
    // The same for bytes already read.
    bool getDataFromBytes(QByteArrayView data, const QString& date);
    // Set by GetData when the file read is not of its layout's length: the client was still writing it.
    // What the file holds is read all the same.
    const std::optional<FileWarning>& warning() const { return m_warning; }

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
    // Called only for a file of the right day with a runner count of 1..18.
    virtual void read(QByteArrayView data, qint16 tosu) = 0;

    QString m_prefix;
    QString m_source;
    qsizetype m_length;
    QString m_pathName;
    QString m_fileName;
    std::optional<FileWarning> m_warning;
};
