#pragma once

#include "core/listing/FileTable.h"

#include <string>

namespace quorvane::core {

struct ExtensionOptions
{
    std::string newExtension; // as typed, never trimmed, its case and any leading period kept
};

// Writes the planned names of every before-list row into the after list: the stem, a period and the
// new extension, or the stem alone when the new extension is empty.
void planExtensionChange(const FileTable& before, FileTable& after, const ExtensionOptions& options);

} // namespace quorvane::core
