// Renames every file of a folder as CrashRun.h says, through the rename run with the journal, so
// that a test can kill it at any moment: journal_crash_child FOLDER JOURNAL.

#include "CrashRun.h"
#include "core/journal/Journal.h"
#include "core/listing/Listing.h"
#include "core/runs/RenameRun.h"
#include "platform/posix/PosixFileSystem.h"

#include <cstdio>

using namespace quorvane;

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fputs("usage: journal_crash_child FOLDER JOURNAL\n", stderr);
        return 2;
    }
    std::string reason;
    const std::unique_ptr<core::Journal> journal = core::Journal::open(argv[2], reason);
    if (!journal) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 1;
    }
    platform::PosixFileSystem fileSystem;
    core::FileTable before;
    core::FileTable after;
    core::listFolder(fileSystem, {argv[1], "*", false, false}, before, after);
    for (int row = 1; row < before.rowCount(); ++row) {
        const int index = testing::crashIndex(before.cell(core::NameColumn, row));
        after.setCell(core::NameColumn, row, testing::crashName(testing::crashNext(index)));
    }
    core::UndoSnapshot snapshot;
    const core::RenameRunResult result = core::runRenames(
        before, after, argv[1], fileSystem, snapshot, [](const std::string&) { return core::Answer::No; }, {},
        journal.get());
    return result.failures.empty() && !journal->broken() ? 0 : 1;
}
