#include "core/listing/Listing.h"
#include "core/runs/AttributeChange.h"
#include "core/runs/RenameRun.h"
#include "core/runs/Undo.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/FuseMount.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

using testing::FuseMount;

struct Listed
{
    FileTable before;
    FileTable after;
};

Listed listed(platform::FileSystem& fileSystem, const std::string& folder)
{
    Listed lists;
    listFolder(fileSystem, {folder, "*.*", false, false}, lists.before, lists.after);
    return lists;
}

TEST(RunsOnNtfs, HiddenSystemAndArchiveAreSetForRealAndUndone)
{
    const FuseMount ntfs(FuseMount::Ntfs);
    if (!ntfs.mounted()) {
        GTEST_SKIP() << ntfs.skipReason();
    }
    for (const char* name : {"a.jpg", "b.jpg"}) {
        const int fd = open(ntfs.pathOf(name).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        close(fd);
    }
    platform::PosixFileSystem fileSystem;
    Listed lists = listed(fileSystem, ntfs.path());
    ASSERT_EQ(lists.before.rowCount(), 3);
    const std::vector<std::string> startingTexts = lists.before.column(AttributesColumn);

    planAttributeChange(lists.before, lists.after, {false, true, true, true, AttributeMode::Add});
    UndoSnapshot snapshot;
    EXPECT_EQ(runAttributeChange(lists.before, lists.after, ntfs.path(), fileSystem, snapshot).message,
              "属性変更が完了しました");
    const Listed changed = listed(fileSystem, ntfs.path());
    for (int row = 1; row < changed.before.rowCount(); ++row) {
        EXPECT_EQ(changed.before.cell(AttributesColumn, row), "-HSA") << changed.before.cell(NameColumn, row);
    }

    EXPECT_EQ(undoLastRun(snapshot, fileSystem).message, "変更の取り消しが完了しました");
    EXPECT_EQ(listed(fileSystem, ntfs.path()).before.column(AttributesColumn), startingTexts);
}

TEST(RunsOnExfat, ALetterCaseChangeIsAppliedAndUndoneOnAFileSystemThatIgnoresCase)
{
    const FuseMount exfat(FuseMount::Exfat);
    if (!exfat.mounted()) {
        GTEST_SKIP() << exfat.skipReason();
    }
    const int fd = open(exfat.pathOf("Photo.JPG").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "jpeg", 4), 4);
    close(fd);
    platform::PosixFileSystem fileSystem;
    FileTable before;
    before.setRowCount(2);
    before.setCell(NameColumn, 1, "Photo.JPG");
    FileTable after;
    after.setRowCount(2);
    after.setCell(NameColumn, 1, "photo.jpg");
    UndoSnapshot snapshot;
    int questions = 0;
    const RenameRunResult run =
        runRenames(before, after, exfat.path(), fileSystem, snapshot, [&](const std::string&) {
            ++questions;
            return Answer::No;
        });
    EXPECT_EQ(questions, 0);
    EXPECT_EQ(run.message, "リネームが完了しました");
    EXPECT_EQ(listed(fileSystem, exfat.path()).before.column(NameColumn).at(1), "photo.jpg");

    EXPECT_EQ(undoLastRun(snapshot, fileSystem).message, "変更の取り消しが完了しました");
    const Listed undone = listed(fileSystem, exfat.path());
    ASSERT_EQ(undone.before.rowCount(), 2);
    EXPECT_EQ(undone.before.cell(NameColumn, 1), "Photo.JPG");
}

} // namespace
} // namespace quorvane::core
