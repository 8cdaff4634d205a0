#include "platform/posix/PosixFileSystem.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"
#include "support/TemporaryTrash.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace quorvane::platform {
namespace {

using testing::TempFolder;

std::string infoOf(const std::string& trashedPath)
{
    const std::filesystem::path path(trashedPath);
    return (path.parent_path().parent_path() / "info" / path.filename()).string() + ".trashinfo";
}

struct TrashCase
{
    const char* says;
    std::string name;
    int alreadyTrashed; // files of the same name the trash holds before
};

const TrashCase trashCases[] = {
    {"a file whose name the trash does not hold comes back", "photo.bmp", 0},
    {"a file whose name the trash holds twice already comes back", "photo.bmp", 2},
    {"a file without an extension comes back", "README", 1},
    {"a hidden file comes back", ".profile.bak", 1},
};

class TrashRoundTrip : public ::testing::TestWithParam<TrashCase>
{};

TEST_P(TrashRoundTrip, KeepsTheFileAndItsBytesAndDropsItsRecord)
{
    const TrashCase& c = GetParam();
    const TempFolder folder;
    PosixFileSystem fileSystem;
    for (int i = 0; i < c.alreadyTrashed; ++i) {
        folder.writeFile(c.name, "older " + std::to_string(i));
        std::string trashed;
        ASSERT_FALSE(fileSystem.moveToTrash(folder.path() + "/" + c.name, trashed));
    }
    const std::string path = folder.path() + "/" + c.name;
    folder.writeFile(c.name, "the bytes");
    EntryStamp before;
    ASSERT_FALSE(fileSystem.identify(path, before));

    std::string trashed;
    ASSERT_FALSE(fileSystem.moveToTrash(path, trashed));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::path(trashed).parent_path(),
              std::filesystem::path(testing::trashFilesFolder()));
    EntryStamp inTrash;
    ASSERT_FALSE(fileSystem.identify(trashed, inTrash));
    EXPECT_EQ(inTrash.identity, before.identity);
    EXPECT_TRUE(std::filesystem::exists(infoOf(trashed)));

    ASSERT_FALSE(fileSystem.restoreFromTrash(trashed, path));
    EXPECT_EQ(folder.readFile(c.name), "the bytes");
    EXPECT_FALSE(std::filesystem::exists(trashed));
    EXPECT_FALSE(std::filesystem::exists(infoOf(trashed)));
}

INSTANTIATE_TEST_SUITE_P(Trash, TrashRoundTrip, ::testing::ValuesIn(trashCases), testing::SaysName());

TEST(Trash, RestoringOntoATakenNameChangesNothing)
{
    const TempFolder folder;
    PosixFileSystem fileSystem;
    const std::string path = folder.path() + "/a.jpg";
    folder.writeFile("a.jpg", "first");
    std::string trashed;
    ASSERT_FALSE(fileSystem.moveToTrash(path, trashed));
    folder.writeFile("a.jpg", "second");

    EXPECT_EQ(fileSystem.restoreFromTrash(trashed, path), std::errc::file_exists);
    EXPECT_EQ(folder.readFile("a.jpg"), "second");
    EXPECT_TRUE(std::filesystem::exists(trashed));
    EXPECT_TRUE(std::filesystem::exists(infoOf(trashed)));
}

} // namespace
} // namespace quorvane::platform
