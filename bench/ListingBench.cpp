// Lists a folder of 100,000 files into a FileTable and compares it with the bare system calls
// any listing must make: readdir and one statx per entry.

#include "BenchSupport.h"
#include "core/listing/Listing.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;

namespace {

constexpr int fileCount = 100000;

std::size_t bareLoop(const std::string& path)
{
    std::size_t entries = 0;
    DIR* dir = opendir(path.c_str());
    const int fd = dirfd(dir);
    while (const dirent* record = readdir(dir)) {
        if (record->d_type == DT_DIR) {
            continue;
        }
        struct statx info
        {};
        if (statx(fd, record->d_name, AT_SYMLINK_NOFOLLOW, STATX_BASIC_STATS | STATX_BTIME, &info) == 0) {
            ++entries;
        }
    }
    closedir(dir);
    return entries;
}

} // namespace

int main()
{
    const testing::TempFolder folder;
    bench::makePhotoFiles(folder, fileCount);
    platform::PosixFileSystem fileSystem;
    const core::ListingOptions options{folder.path(), "*.*", false, false};

    core::FileTable before;
    core::FileTable after;
    if (!bench::listPhotoFolder(fileSystem, options, before, after, fileCount)) {
        return 1;
    }
    if (bareLoop(folder.path()) != fileCount) {
        std::fprintf(stderr, "the bare loop does not see %d files\n", fileCount);
        return 1;
    }

    const double ratio = bench::alternatingRatio(
        9, [&] { core::listFolder(fileSystem, options, before, after); }, [&] { bareLoop(folder.path()); });
    bench::report("listing-100k", ratio, 1.3);

    // The memory one full table holds, measured by the allocator around building it.
    core::FileTable fresh;
    core::FileTable freshAfter;
    malloc_trim(0);
    const std::size_t beforeBytes = mallinfo2().uordblks;
    core::listFolder(fileSystem, options, fresh, freshAfter);
    const std::size_t afterBytes = mallinfo2().uordblks;
    // The after list's blank rows are part of the listing's result but not of "one table".
    const double tableMegabytes =
        static_cast<double>(afterBytes - beforeBytes - (fileCount + 1) * sizeof(core::FileRow)) / 1e6;
    bench::report("listing-100k-table-megabytes", tableMegabytes, 40);
    return 0;
}
