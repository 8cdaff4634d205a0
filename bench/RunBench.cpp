// Renames 100,000 files with the rename run (its snapshot and its journal included) and undoes such
// a run from the journal, each compared with the bare system calls it cannot avoid: one renameat2
// per file for the run, one rename and one utimensat per file for the undo. Then a chain (every file to the
// next one's name) and one long cycle, against the bare loop renaming in the order that works.

#include "BenchSupport.h"
#include "core/journal/HistoryUndo.h"
#include "core/journal/Journal.h"
#include "core/runs/RenameRun.h"
#include "core/runs/Undo.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

using namespace quorvane;

namespace {

constexpr int fileCount = 100000;
constexpr int runs = 7;

std::string photoName(const char* stemPrefix, int number)
{
    return stemPrefix + std::to_string(100000 + number) + ".jpg";
}

// The photo names and a second set of names of the same length; shifted by one, every file takes
// the next one's name, and wrapped, the last one takes the first one's.
core::FileTable namesTable(const char* stemPrefix, int shift = 0, bool wrapped = false)
{
    core::FileTable table;
    table.setRowCount(fileCount + 1);
    for (int i = 0; i < fileCount; ++i) {
        const int number = wrapped ? (i + shift) % fileCount : i + shift;
        table.setCell(core::NameColumn, i + 1, photoName(stemPrefix, number));
    }
    return table;
}

std::vector<std::string> fullPaths(const testing::TempFolder& folder, const core::FileTable& table)
{
    std::vector<std::string> paths;
    for (int row = 1; row < table.rowCount(); ++row) {
        paths.push_back(folder.pathOf(table.cell(core::NameColumn, row)));
    }
    return paths;
}

int bareRenames(const std::vector<std::string>& from, const std::vector<std::string>& to)
{
    int failures = 0;
    for (std::size_t i = 0; i < from.size(); ++i) {
        failures += renameat2(AT_FDCWD, from[i].c_str(), AT_FDCWD, to[i].c_str(), RENAME_NOREPLACE) != 0;
    }
    return failures;
}

int bareRenamesAndTimes(const std::vector<std::string>& from, const std::vector<std::string>& to,
                        const timespec (&times)[2])
{
    int failures = 0;
    for (std::size_t i = 0; i < from.size(); ++i) {
        failures += renameat2(AT_FDCWD, from[i].c_str(), AT_FDCWD, to[i].c_str(), RENAME_NOREPLACE) != 0;
        failures += utimensat(AT_FDCWD, to[i].c_str(), times, AT_SYMLINK_NOFOLLOW) != 0;
    }
    return failures;
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    const testing::TempFolder folder;
    bench::makePhotoFiles(folder, fileCount);
    platform::PosixFileSystem fileSystem;
    // The photos as listed, each with its identity, as the window hands them to a run.
    core::FileTable photos;
    {
        core::FileTable unused;
        core::listFolder(fileSystem, {folder.path(), "*", false, false}, photos, unused);
    }
    const testing::TempFolder state;
    std::string reason;
    const std::unique_ptr<core::Journal> journal =
        core::Journal::open(state.pathOf("history.sqlite3"), reason);
    if (!journal) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 1;
    }
    const core::FileTable pictures = namesTable("PIC_");
    const std::vector<std::string> photoPaths = fullPaths(folder, photos);
    const std::vector<std::string> picturePaths = fullPaths(folder, pictures);
    const auto rollBack = [](const std::string&) {
        return core::Answer::Yes;
    };
    int failures = 0;

    // The files go from photo names to picture names and back, alternately by the run and by the
    // bare loop, so that both rename the same files in the same folder.
    {
        core::UndoSnapshot snapshot;
        std::vector<double> measured;
        std::vector<double> baseline;
        for (int i = 0; i < runs; ++i) {
            measured.push_back(bench::medianSeconds(1, [&] {
                const core::RenameRunResult result = core::runRenames(
                    photos, pictures, folder.path(), fileSystem, snapshot, rollBack, {}, journal.get());
                failures += static_cast<int>(result.failures.size());
            }));
            baseline.push_back(
                bench::medianSeconds(1, [&] { failures += bareRenames(picturePaths, photoPaths); }));
        }
        std::printf("  measured %.4f s, baseline %.4f s (medians of %d)\n", median(measured),
                    median(baseline), runs);
        bench::report("run-100k", median(measured) / median(baseline), 1.3);
    }

    // A run leaves its snapshot and the picture names; the undo puts the photo names back, and the
    // bare loop renames the files forward again with the same number of time stamps.
    {
        core::UndoSnapshot taken;
        failures += static_cast<int>(
            core::runRenames(photos, pictures, folder.path(), fileSystem, taken, rollBack, {}, journal.get())
                .failures.size());
        const std::int64_t recorded = journal->lastFinished();
        const timespec times[2] = {{1'200'000'000, 5}, {1'100'000'000, 7}};
        std::vector<double> measured;
        std::vector<double> baseline;
        for (int i = 0; i < runs; ++i) {
            // The bare loop renamed the files forward again as the run did: the run stands once more.
            journal->setState(recorded, core::RunState::Finished);
            measured.push_back(bench::medianSeconds(1, [&] {
                failures +=
                    static_cast<int>(core::undoRecordedRun(*journal, recorded, fileSystem).failures.size());
            }));
            baseline.push_back(bench::medianSeconds(
                1, [&] { failures += bareRenamesAndTimes(photoPaths, picturePaths, times); }));
        }
        std::printf("  measured %.4f s, baseline %.4f s (medians of %d)\n", median(measured),
                    median(baseline), runs);
        bench::report("undo-100k", median(measured) / median(baseline), 1.6);
    }

    // The undo's measure left the picture names.
    failures += bareRenames(picturePaths, photoPaths);

    // A chain: every photo takes the next one's name, the last a new one. The bare loop takes them
    // back in the order that works, first photo first.
    {
        const core::FileTable shifted = namesTable("IMG_", 1);
        std::vector<std::string> back;
        for (int i = 0; i <= fileCount; ++i) {
            back.push_back(folder.pathOf(photoName("IMG_", i)));
        }
        std::vector<double> measured;
        std::vector<double> baseline;
        for (int i = 0; i < runs; ++i) {
            core::UndoSnapshot snapshot;
            measured.push_back(bench::medianSeconds(1, [&] {
                failures += static_cast<int>(
                    core::runRenames(photos, shifted, folder.path(), fileSystem, snapshot, rollBack)
                        .failures.size());
            }));
            baseline.push_back(bench::medianSeconds(1, [&] {
                for (int k = 0; k < fileCount; ++k) {
                    failures += renameat2(AT_FDCWD, back[k + 1].c_str(), AT_FDCWD, back[k].c_str(),
                                          RENAME_NOREPLACE) != 0;
                }
            }));
        }
        std::printf("  measured %.4f s, baseline %.4f s (medians of %d)\n", median(measured),
                    median(baseline), runs);
        bench::report("run-chain-100k", median(measured) / median(baseline), 1.2);
    }

    // One cycle of all the photos, each to the next one's name and the last to the first one's; the
    // bare loop turns it back with one temporary step.
    {
        const core::FileTable rotated = namesTable("IMG_", 1, true);
        const std::string parking = folder.pathOf(".parked");
        std::vector<double> measured;
        std::vector<double> baseline;
        for (int i = 0; i < runs; ++i) {
            core::UndoSnapshot snapshot;
            measured.push_back(bench::medianSeconds(1, [&] {
                failures += static_cast<int>(
                    core::runRenames(photos, rotated, folder.path(), fileSystem, snapshot, rollBack)
                        .failures.size());
            }));
            baseline.push_back(bench::medianSeconds(1, [&] {
                failures += renameat2(AT_FDCWD, photoPaths[0].c_str(), AT_FDCWD, parking.c_str(),
                                      RENAME_NOREPLACE) != 0;
                for (int k = 0; k + 1 < fileCount; ++k) {
                    failures += renameat2(AT_FDCWD, photoPaths[k + 1].c_str(), AT_FDCWD,
                                          photoPaths[k].c_str(), RENAME_NOREPLACE) != 0;
                }
                failures += renameat2(AT_FDCWD, parking.c_str(), AT_FDCWD, photoPaths[fileCount - 1].c_str(),
                                      RENAME_NOREPLACE) != 0;
            }));
        }
        std::printf("  measured %.4f s, baseline %.4f s (medians of %d)\n", median(measured),
                    median(baseline), runs);
        bench::report("run-cycle-100k", median(measured) / median(baseline), 1.2);
    }

    if (failures != 0) {
        std::fprintf(stderr, "%d renames failed\n", failures);
        return 1;
    }
    return 0;
}
