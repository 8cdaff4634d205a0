// Shows a listing of 100,000 files in both lists, as a full refresh does: the lists take the new
// tables and fit every column to its widest text. Compared with the core listing of the same folder.

#include "BenchSupport.h"
#include "core/listing/Listing.h"
#include "platform/Locale.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"
#include "ui/lists/FileListPair.h"

#include <QApplication>
#include <memory>

using namespace quorvane;

namespace {

constexpr int fileCount = 100000;

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const testing::TempFolder folder;
    bench::makePhotoFiles(folder, fileCount);
    platform::PosixFileSystem fileSystem;
    const platform::SortCollator collator;
    const core::ListingOptions options{folder.path(), "*.*", false, false};

    core::FileTable before;
    core::FileTable after;
    if (!bench::listPhotoFolder(fileSystem, options, before, after, fileCount)) {
        return 1;
    }

    // Fresh lists for every run, so no width is remembered from an earlier run.
    const auto showListing = [&] {
        ui::FileGrid beforeList(before, true);
        ui::FileGrid afterList(after, false);
        ui::FileListPair pair(beforeList, afterList, collator, [] {});
        beforeList.reload();
        afterList.reload();
        pair.listingDone();
    };
    const double ratio = bench::alternatingRatio(
        7, showListing, [&] { core::listFolder(fileSystem, options, before, after); });
    bench::report("grid-fit-100k", ratio, 0.3);
    return 0;
}
