#pragma once

#include "core/FileWarning.h"
#include "core/Paths.h"
#include "odds/OddsFile.h"

#include <memory>

// One odds file read on its own, as a race's opening reads it: the reader, or none when the file is
// missing, of another day or of an impossible runner count.
template <class Reader>
std::unique_ptr<Reader> readOdds(const QString& folder, const QString& raceId, const QString& date) {
    ClientFiles::FolderRead files;
    FileWarnings warnings;
    return OddsFile::read<Reader>(folder, raceId, date, files, warnings);
}
