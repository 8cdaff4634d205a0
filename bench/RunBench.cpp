// Renames 100,000 files with the rename run (its snapshot included) and undoes such a run, each
// compared with the bare system calls it cannot avoid: one renameat2 per file for the run, one
// rename and one utimensat per file for the undo.

#include "BenchSupport.h"
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

// The photo names and a second set of names of the same length.
core::FileTable namesTable(const char* stemPrefix)
{
    core::FileTable table;
    table.setRowCount(fileCount + 1);
    for (int i = 0; i < fileCount; ++i) {
        table.setCell(core::NameColumn, i + 1, stemPrefix + std::to_string(100000 + i) + ".jpg");
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
    const core::FileTable photos = namesTable("IMG_");
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
                const core::RenameRunResult result =
                    core::runRenames(photos, pictures, folder.path(), fileSystem, snapshot, rollBack);
                failures += static_cast<int>(result.failures.size());
            }));
            baseline.push_back(
                bench::medianSeconds(1, [&] { failures += bareRenames(picturePaths, photoPaths); }));
        }
        std::printf("  measured %.4f s, baseline %.4f s (medians of %d)\n", median(measured),
                    median(baseline), runs);
        bench::report("run-100k", median(measured) / median(baseline), 1.2);
    }

    // A run leaves its snapshot and the picture names; the undo puts the photo names back, and the
    // bare loop renames the files forward again with the same number of time stamps.
    {
        core::UndoSnapshot taken;
        failures += static_cast<int>(
            core::runRenames(photos, pictures, folder.path(), fileSystem, taken, rollBack).failures.size());
        const timespec times[2] = {{1'200'000'000, 5}, {1'100'000'000, 7}};
        std::vector<double> measured;
        std::vector<double> baseline;
        for (int i = 0; i < runs; ++i) {
            core::UndoSnapshot snapshot = taken;
            measured.push_back(bench::medianSeconds(1, [&] {
                failures += static_cast<int>(core::undoLastRun(snapshot, fileSystem).failures.size());
            }));
            baseline.push_back(bench::medianSeconds(
                1, [&] { failures += bareRenamesAndTimes(photoPaths, picturePaths, times); }));
        }
        std::printf("  measured %.4f s, baseline %.4f s (medians of %d)\n", median(measured),
                    median(baseline), runs);
        bench::report("undo-100k", median(measured) / median(baseline), 1.5);
    }

    if (failures != 0) {
        std::fprintf(stderr, "%d renames failed\n", failures);
        return 1;
    }
    return 0;
}
