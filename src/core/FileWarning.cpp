#include "FileWarning.h"

#include <algorithm>

namespace Warnings {
void Add(FileWarnings& list, FileWarning warning) {
    const bool known =
        std::any_of(list.cbegin(), list.cend(), [&](const FileWarning& w) { return w.File == warning.File; });
    if (!known) {
        list.push_back(std::move(warning));
    }
}

void AddAll(FileWarnings& list, const FileWarnings& more) {
    for (const FileWarning& w : more) {
        Add(list, w);
    }
}
} // namespace Warnings
