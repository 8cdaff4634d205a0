#pragma once

#include "core/listing/FileTable.h"
#include "platform/FileSystem.h"

#include <optional>
#include <string_view>
#include <vector>

namespace quorvane::core {

// The starting state of the last run, which its rollback and the undo read. Entry k stands for
// file row k + 1 of both lists.
struct UndoSnapshot
{
    std::vector<FileRow> BeforeRows; // all six cells of every before-list file row
    std::vector<FileRow> AfterRows;  // the plan: all six cells of every after-list file row
    // Each file's exact times, permission bits and DOS bits, read by its before-name when the
    // snapshot was taken; empty where they could not be read. The undo puts these back, so that
    // no fraction of a second is lost; the texts of BeforeRows are only the fallback.
    std::vector<std::optional<platform::FileState>> BeforeStates;
    // Set by the rename run for every entry whose file it gave the after-name, and cleared again by
    // its rollback; the undo renames back only these, so a row whose rename failed never has
    // another file's name, times or attributes pushed onto it.
    std::vector<bool> Renamed;

    // Copies the file rows of both lists (a missing after-list row as a blank row) and reads each
    // file's state, for a large folder from several threads at once (fileSystem.readState must
    // allow that). Replaces everything the snapshot held.
    void take(const FileTable& before, const FileTable& after, std::string_view folder,
              platform::FileSystem& fileSystem);
    void clear();
    bool empty() const { return BeforeRows.empty(); }
    std::size_t size() const { return BeforeRows.size(); }
};

} // namespace quorvane::core
