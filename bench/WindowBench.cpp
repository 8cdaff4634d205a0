// Chooses a folder of 100,000 files in the window until both lists are filled and painted once,
// and compares it with the core listing of the same folder.

#include "BenchSupport.h"
#include "core/listing/Listing.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"
#include "ui/window/MainWindow.h"
#include "ui/window/MessageBoxes.h"

#include <QApplication>
#include <cstdio>

using namespace quorvane;

namespace {

constexpr int fileCount = 100000;

// Nobody answers during a benchmark; a box that would be shown counts as a failure.
class SilentBoxes : public ui::MessageBoxes
{
public:
    int shown = 0;
    core::Answer ask(Kind, const QString&) override
    {
        ++shown;
        return core::Answer::No;
    }
    core::Answer askAboutFailure(const QString&, bool&) override
    {
        ++shown;
        return core::Answer::No;
    }
    void tell(const QString&) override { ++shown; }
    void reportCompletion(const QString&, bool) override { ++shown; }
    void reportError(const QString&) override { ++shown; }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const testing::TempFolder folder;
    const testing::TempFolder empty;
    const testing::TempFolder settings;
    bench::makePhotoFiles(folder, fileCount);

    SilentBoxes boxes;
    ui::Tfom_Main window(boxes, settings.pathOf("quorvn.ini"));
    window.show();
    QApplication::processEvents();

    // The tree's change notification runs the full refresh; choosing the empty folder between two
    // runs makes every run fill the lists afresh.
    const auto choose = [&window](const std::string& path) {
        window.selectFolder(QString::fromStdString(path));
        window.trr_DirListChange();
    };
    choose(folder.path());
    if (window.before.rowCount() != fileCount + 1 || boxes.shown != 0) {
        std::fprintf(stderr, "the window did not list %d files\n", fileCount);
        return 1;
    }

    platform::PosixFileSystem fileSystem;
    const core::ListingOptions options{folder.path(), "*.*", false, false};
    core::FileTable before;
    core::FileTable after;
    const double ratio = bench::alternatingRatio(
        7,
        [&] {
            choose(empty.path());
            choose(folder.path());
        },
        [&] { core::listFolder(fileSystem, options, before, after); });
    bench::report("window-list-100k", ratio, 1.5);
    return 0;
}
