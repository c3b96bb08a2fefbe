#pragma once

#include <QHashFunctions>
#include <QString>
#include <QtGlobal>

#include <optional>

// What a file is, whatever name it is reached by: its device (volume) and its number there. Every name of
// one file (hard links, symbolic links, another case of a name) has the same identity. This is the one
// place that asks the operating system for it.
struct FileIdentity {
    quint64 device = 0;
    quint64 number = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

inline size_t qHash(const FileIdentity& id, size_t seed = 0) noexcept {
    return qHashMulti(seed, id.device, id.number);
}

// None when the file cannot be looked at.
std::optional<FileIdentity> identityOf(const QString& path);
