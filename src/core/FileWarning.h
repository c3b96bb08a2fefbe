#pragma once

#include <QString>

#include <vector>

// A client file a reader could not take whole. The client rewrites its files during the day, so a read
// can meet one half-written: what was read whole is still shown, but such a day must never be stored as
// the day's figures, and the user is told which file it was.
struct FileWarning {
    enum class Problem {
        Missing,      // listed, but not in the folder
        NotAFile,     // a folder (or anything but a file) stands in its place
        Unreadable,   // there, but it cannot be opened
        CutRecord,    // ends inside a record; Size: its length
        FewerRecords, // holds fewer records than it declares; Size: held, Expected: declared
        WrongLength,  // not the length of its layout; Size: its length, Expected: the layout's
        Changing,     // kept changing while it was read
    };
    QString file; // the name as it stands in the folder ("LG002.JRA", or "lg002.jra" in a copied folder)
    Problem what = Problem::Missing;
    qint64 size = 0;
    qint64 expected = 0;
};
using FileWarnings = std::vector<FileWarning>;

namespace Warnings {
// Adds the warning unless its file has one already: one entry per file, the first reason found.
void add(FileWarnings& list, FileWarning warning);
void addAll(FileWarnings& list, const FileWarnings& more);
} // namespace Warnings
