#include "FileWarning.h"

#include <algorithm>

namespace Warnings {
void add(FileWarnings& list, FileWarning warning) {
    const bool known =
        std::any_of(list.cbegin(), list.cend(), [&](const FileWarning& w) { return w.file == warning.file; });
    if (!known) {
        list.push_back(std::move(warning));
    }
}

void addAll(FileWarnings& list, const FileWarnings& more) {
    for (const FileWarning& w : more) {
        add(list, w);
    }
}
} // namespace Warnings
