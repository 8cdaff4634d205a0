#include "core/runs/UndoSnapshot.h"

#include "RunSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace quorvane::core {
namespace {

using testing::FaultyFileSystem;
using testing::TempFolder;

TEST(UndoSnapshot, KeepsEveryFileRowOfBothListsAndEachFilesOwnState)
{
    // Enough files that the states are read by several threads.
    constexpr int count = 8192;
    const TempFolder folder;
    std::vector<std::string> names;
    std::vector<std::string> planned;
    for (int i = 0; i < count; ++i) {
        names.push_back("f" + std::to_string(i));
        planned.push_back("p" + std::to_string(i));
        const int fd = open(folder.pathOf(names.back()).c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        ASSERT_GE(fd, 0);
        const timespec times[2] = {testing::at(1'000'000'000, i), testing::at(1'100'000'000 + i, i)};
        futimens(fd, times);
        close(fd);
    }
    names.push_back("missing");
    FaultyFileSystem fileSystem;
    FileTable before = testing::tableOfNames(names);
    before.setCell(SizeColumn, 1, "1 KB");
    const FileTable after = testing::tableOfNames(planned); // one row short

    UndoSnapshot snapshot;
    snapshot.take(before, after, folder.path(), fileSystem);
    ASSERT_EQ(snapshot.size(), static_cast<std::size_t>(count + 1));
    EXPECT_EQ(snapshot.BeforeRows[0], before.row(1));
    EXPECT_EQ(snapshot.AfterRows[count - 1][NameColumn], planned.back());
    EXPECT_TRUE(snapshot.AfterRows[count].blank());
    for (int i = 0; i < count; ++i) {
        const auto& state = snapshot.BeforeStates[static_cast<std::size_t>(i)];
        ASSERT_TRUE(state) << names[static_cast<std::size_t>(i)];
        EXPECT_EQ(state->modified, (platform::FileTime{1'100'000'000 + i, static_cast<std::uint32_t>(i)}));
        EXPECT_EQ(state->mode, 0644u);
    }
    EXPECT_FALSE(snapshot.BeforeStates[count]);
    EXPECT_EQ(std::count(snapshot.Renamed.begin(), snapshot.Renamed.end(), true), 0);

    snapshot.clear();
    EXPECT_TRUE(snapshot.empty());
}

} // namespace
} // namespace quorvane::core
