// Previews the three rename rules over the 100,000 rows of a listed folder, each with the check of
// its planned names against each other and the folder, and compares each with the listing of that
// same folder: a preview should cost well under the listing it follows.

#include "BenchSupport.h"
#include "core/listing/Listing.h"
#include "core/rules/ExtensionRule.h"
#include "core/rules/ReplaceRule.h"
#include "core/rules/SerialNaming.h"
#include "core/runs/RenameConflicts.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <fcntl.h>
#include <unistd.h>

using namespace quorvane;

namespace {

constexpr int fileCount = 100000;

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
    core::FileTable listedBefore;
    core::FileTable listedAfter;
    const auto listing = [&] {
        core::listFolder(fileSystem, options, listedBefore, listedAfter);
    };

    const core::SerialOptions serial{core::PieceKind::Date, core::PieceKind::Stem, core::PieceKind::Serial, 1,
                                     "5"};
    const core::Clock clock = platform::localNow;
    const double serialRatio = bench::alternatingRatio(
        9,
        [&] {
            core::planSerialNaming(before, after, serial, clock);
            core::checkPlannedNames(before, after, fileSystem);
        },
        listing);
    bench::report("serial-preview-100k", serialRatio, 0.5);

    const core::ReplaceOptions replace{"img_", "Photo-", false, false, core::NameConversion::LowerCase};
    const double replaceRatio = bench::alternatingRatio(
        9,
        [&] {
            core::planReplace(before, after, replace, fileSystem, folder.path());
            core::checkPlannedNames(before, after, fileSystem);
        },
        listing);
    bench::report("replace-preview-100k", replaceRatio, 0.5);

    const core::ExtensionOptions extension{"jpeg"};
    const double extensionRatio = bench::alternatingRatio(
        9,
        [&] {
            core::planExtensionChange(before, after, extension);
            core::checkPlannedNames(before, after, fileSystem);
        },
        listing);
    bench::report("extension-preview-100k", extensionRatio, 0.5);
    return 0;
}
