#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

// What every harness shares: a scratch folder of its own that is emptied before each input, the archive
// form in which one input carries several named files, a reporter that keeps error messages out of the
// fuzzer's output, and the check that stops the run with a message when a property fails.
namespace Fuzz {

// The separator of an archive: every file starts with it, followed by its name and a line feed. Bytes
// before the first separator belong to the harness's default file.
inline constexpr char kFileMarker[] = "@@FILE ";

struct NamedFile {
    QString name;
    QByteArray bytes;
};

// Splits an input into files. Names are cut to the characters a client file name may hold (letters,
// digits, '-', '_', '.'), at most 32 of them; an entry whose name comes out empty, "." or ".." is dropped.
std::vector<NamedFile> splitArchive(QByteArrayView input, const QString& defaultName);
// The archive form of files, the way seeds are written.
QByteArray joinArchive(const std::vector<NamedFile>& files);

// A folder under /dev/shm (or the temporary folder) owned by this process, created on first use.
// fresh() empties it and returns its path with a trailing separator.
QString fresh();
// Writes the files into the fresh scratch folder; returns the folder.
QString writeFiles(const std::vector<NamedFile>& files);
// The whole file, or nothing when it cannot be read.
QByteArray fileBytes(const QString& path);

// Installs a reporter that drops every message (the default one writes to stderr) and tells Qt to keep
// its warnings to itself. Call once, from LLVMFuzzerInitialize or the first input.
void quiet();

// Aborts with the message when a property does not hold; the fuzzer then saves the input.
[[noreturn]] void fail(const char* what, const QString& detail = QString());
inline void check(bool ok, const char* what, const QString& detail = QString()) {
    if (!ok) {
        fail(what, detail);
    }
}

} // namespace Fuzz
