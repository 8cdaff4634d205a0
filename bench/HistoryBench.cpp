// Opens the history window over a journal of 100 runs, one of 100,000 files and 99 of 1,000, until
// it is shown and painted, and compares it with the core listing of a folder of 100,000 files.

#include "BenchSupport.h"
#include "core/journal/Journal.h"
#include "core/listing/Listing.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"
#include "ui/history/HistoryWindow.h"

#include <QApplication>
#include <QTableView>
#include <cstdio>

using namespace quorvane;

namespace {

constexpr int fileCount = 100000;

// A finished rename run of count files in folder, recorded as a run records itself.
void recordRun(core::Journal& journal, const std::string& folder, int count)
{
    core::UndoSnapshot run;
    run.Folder = {folder, {1, 2}};
    for (int i = 0; i < count; ++i) {
        const std::string number = std::to_string(100000 + i);
        run.BeforeRows.emplace_back("IMG_" + number + ".jpg", "", "", "", "", "");
        run.AfterRows.emplace_back("PIC_" + number + ".jpg", "", "", "", "", "");
        run.Identities.push_back({1, static_cast<std::uint64_t>(1000 + i)});
    }
    run.BeforeStates.resize(run.BeforeRows.size());
    run.AfterStates.resize(run.BeforeRows.size());
    run.Renamed.assign(run.BeforeRows.size(), false);
    journal.begin(core::RunKind::Rename, run);
    run.Renamed.assign(run.BeforeRows.size(), true);
    journal.finish(run, 0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    const testing::TempFolder folder;
    bench::makePhotoFiles(folder, fileCount);
    const testing::TempFolder state;
    std::string reason;
    const std::unique_ptr<core::Journal> journal =
        core::Journal::open(state.pathOf("history.sqlite3"), reason);
    if (!journal) {
        std::fprintf(stderr, "%s\n", reason.c_str());
        return 1;
    }
    recordRun(*journal, folder.path(), fileCount);
    for (int i = 1; i < 100; ++i) {
        recordRun(*journal, folder.path(), 1000);
    }

    platform::PosixFileSystem fileSystem;
    int rows = 0;
    const double ratio = bench::alternatingRatio(
        7,
        [&] {
            ui::HistoryWindow window(*journal);
            window.show();
            QApplication::processEvents();
            window.grd_History->viewport()->repaint();
            rows = window.grd_History->model()->rowCount();
        },
        [&] {
            core::FileTable before;
            core::FileTable after;
            core::listFolder(fileSystem, {folder.path(), "*", false, false}, before, after);
        });
    bench::report("history-open", ratio, 0.5);
    if (rows != 100) {
        std::fprintf(stderr, "the history shows %d runs, not 100\n", rows);
        return 1;
    }
    return 0;
}
