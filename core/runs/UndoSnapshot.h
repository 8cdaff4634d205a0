#pragma once

#include "core/listing/FileTable.h"
#include "platform/FileSystem.h"

#include <optional>
#include <string_view>
#include <system_error>
#include <vector>

namespace quorvane::core {

// The starting state of the last run, which its rollback and the undo read. Entry k stands for
// file row k + 1 of both lists.
struct UndoSnapshot
{
    // The folder the run worked in, and which folder it was: the undo works there and nowhere else.
    ListedFolder Folder;
    std::vector<FileRow> BeforeRows; // all six cells of every before-list file row
    std::vector<FileRow> AfterRows;  // the plan: all six cells of every after-list file row
    // Whether the run set times or attributes, which the undo puts back. A rename changes neither,
    // so the undo of a rename run only renames back.
    bool StatesChanged = false;
    // Each file's exact times, permission bits and DOS bits, read by its before-name when the
    // snapshot was taken; empty where they could not be read. The undo puts these back, so that
    // no fraction of a second is lost; the texts of BeforeRows are only the fallback.
    std::vector<std::optional<platform::FileState>> BeforeStates;
    // Each file's state as the run left it, so that the undo can tell a file edited since: it
    // puts the before state back only on a file that is still so, and keeps what a later edit made
    // of it. The rename run keeps here the modification time and permission bits it saw just before
    // its rename, which the rename does not change.
    std::vector<std::optional<platform::FileState>> AfterStates;
    // Which file each entry stands for: the listing's identity of the row, or where the row has
    // none, the one read with its state. Every change checks that the name still leads there.
    std::vector<platform::FileIdentity> Identities;
    // Set by the rename run for every entry whose file it gave the after-name, and cleared again by
    // its rollback; the undo renames back only these, so a row whose rename failed never has
    // another file's name, times or attributes pushed onto it.
    std::vector<bool> Renamed;

    // Copies the file rows of both lists (a missing after-list row as a blank row) with their
    // identities, for a rename run. Replaces everything the snapshot held. When folder is gone, or
    // is not the folder the before list was listed from, gives FolderChanged and leaves the
    // snapshot as it was.
    std::error_code takeRows(const FileTable& before, const FileTable& after, std::string_view folder,
                             platform::FileSystem& fileSystem);
    // The same for a run that changes times or attributes, which also reads each file's state, for
    // a large folder from several threads at once (fileSystem.readState must allow that).
    std::error_code take(const FileTable& before, const FileTable& after, std::string_view folder,
                         platform::FileSystem& fileSystem);
    void clear();
    // Reads the state in which a run left the file of entry at path; unknown when it cannot be read.
    void readAfterState(platform::FileSystem& fileSystem, const std::string& path, std::size_t entry);
    // Reads which file each entry without a known identity stands for, by its before-name, so that
    // a record of the run can find the file again whatever name it has then.
    void identifyUnknown(platform::FileSystem& fileSystem);
    // Keeps only the entries for which keep(k) is true, in order.
    template <class Keep>
    void keepOnly(Keep&& keep);
    bool empty() const { return BeforeRows.empty(); }
    std::size_t size() const { return BeforeRows.size(); }
};

template <class Keep>
void UndoSnapshot::keepOnly(Keep&& keep)
{
    std::size_t kept = 0;
    for (std::size_t k = 0; k < size(); ++k) {
        if (!keep(k)) {
            continue;
        }
        if (kept != k) {
            BeforeRows[kept] = std::move(BeforeRows[k]);
            AfterRows[kept] = std::move(AfterRows[k]);
            BeforeStates[kept] = std::move(BeforeStates[k]);
            AfterStates[kept] = std::move(AfterStates[k]);
            Identities[kept] = Identities[k];
            Renamed[kept] = Renamed[k];
        }
        ++kept;
    }
    BeforeRows.resize(kept);
    AfterRows.resize(kept);
    BeforeStates.resize(kept);
    AfterStates.resize(kept);
    Identities.resize(kept);
    Renamed.resize(kept);
}

} // namespace quorvane::core
