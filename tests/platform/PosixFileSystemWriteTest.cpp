#include "platform/posix/PosixFileSystem.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace quorvane::platform {
namespace {

using namespace std::string_view_literals;
using testing::TempFolder;

constexpr std::uint32_t allFour =
    AttributeBit::ReadOnly | AttributeBit::Hidden | AttributeBit::System | AttributeBit::Archive;

struct stat lstatOf(const std::string& path)
{
    struct stat info
    {};
    EXPECT_EQ(lstat(path.c_str(), &info), 0) << path;
    return info;
}

// The raw user.DOSATTRIB value of path, or nothing when it has none.
std::optional<std::string> dosAttribOf(const std::string& path)
{
    std::string value(256, '\0');
    const ssize_t length = lgetxattr(path.c_str(), "user.DOSATTRIB", value.data(), value.size());
    if (length < 0) {
        return std::nullopt;
    }
    value.resize(static_cast<std::size_t>(length));
    return value;
}

void setDosAttribBytes(const std::string& path, std::string_view value)
{
    ASSERT_EQ(lsetxattr(path.c_str(), "user.DOSATTRIB", value.data(), value.size(), 0), 0) << path;
}

std::uint32_t listedAttributes(const TempFolder& folder, const std::string& name)
{
    PosixFileSystem fileSystem;
    std::uint32_t attributes = 0xFFFF;
    fileSystem.enumerate(folder.path(), "*", AttributeBit::Hidden | AttributeBit::System,
                         [&](const DirectoryEntry& entry) {
                             if (entry.name == name) {
                                 attributes = entry.attributes;
                             }
                         });
    return attributes;
}

struct TimesCase
{
    const char* says;
    mode_t mode; // 0: a symbolic link to a file
};

const TimesCase timesCases[] = {
    {"a writable file", 0644},
    {"a read-only file", 0444},
    {"a file nobody may read or write", 0000},
    {"a symbolic link itself, never its target", 0},
};

class SetTimesTest : public ::testing::TestWithParam<TimesCase>
{};

TEST_P(SetTimesTest, SetsBothTimesToTheNanosecond)
{
    const TimesCase& c = GetParam();
    const TempFolder folder;
    folder.writeFile("target.txt");
    folder.setTimes("target.txt", {1000000000, 0}, {1000000000, 0});
    std::string name = "target.txt";
    if (c.mode == 0) {
        name = "link";
        ASSERT_EQ(symlink("target.txt", folder.pathOf(name).c_str()), 0);
    } else {
        ASSERT_EQ(chmod(folder.pathOf(name).c_str(), c.mode), 0);
    }
    PosixFileSystem fileSystem;
    const std::error_code error = fileSystem.setTimes(folder.pathOf(name), FileTime{1078783500, 123456789},
                                                      FileTime{1078783501, 987654321});
    ASSERT_FALSE(error) << c.says << ": " << error.message();
    const struct stat info = lstatOf(folder.pathOf(name));
    EXPECT_EQ(info.st_atim.tv_sec, 1078783500);
    EXPECT_EQ(info.st_atim.tv_nsec, 123456789);
    EXPECT_EQ(info.st_mtim.tv_sec, 1078783501);
    EXPECT_EQ(info.st_mtim.tv_nsec, 987654321);
    if (c.mode == 0) {
        EXPECT_EQ(lstatOf(folder.pathOf("target.txt")).st_mtim.tv_sec, 1000000000)
            << "the target is untouched";
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, SetTimesTest, ::testing::ValuesIn(timesCases), testing::SaysName());

TEST(PosixFileSystemWrites, AnEmptyTimeIsLeftToTheNanosecond)
{
    const TempFolder folder;
    folder.writeFile("a.txt");
    folder.setTimes("a.txt", {1100000000, 111}, {1200000000, 222});
    PosixFileSystem fileSystem;
    ASSERT_FALSE(fileSystem.setTimes(folder.pathOf("a.txt"), std::nullopt, FileTime{1300000000, 333}));
    struct stat info = lstatOf(folder.pathOf("a.txt"));
    EXPECT_EQ(info.st_atim.tv_sec, 1100000000);
    EXPECT_EQ(info.st_atim.tv_nsec, 111);
    EXPECT_EQ(info.st_mtim.tv_nsec, 333);
    ASSERT_FALSE(fileSystem.setTimes(folder.pathOf("a.txt"), FileTime{1400000000, 444}, std::nullopt));
    info = lstatOf(folder.pathOf("a.txt"));
    EXPECT_EQ(info.st_atim.tv_nsec, 444);
    EXPECT_EQ(info.st_mtim.tv_sec, 1300000000);
    EXPECT_EQ(info.st_mtim.tv_nsec, 333);
}

TEST(PosixFileSystemWrites, SettingTheTimesOfAMissingFileFails)
{
    const TempFolder folder;
    PosixFileSystem fileSystem;
    EXPECT_EQ(fileSystem.setTimes(folder.pathOf("missing"), FileTime{1, 0}, FileTime{1, 0}),
              std::errc::no_such_file_or_directory);
}

struct AttributeCase
{
    const char* says;
    std::string name;
    mode_t mode;
    std::optional<std::string_view> dosAttribBefore;
    std::uint32_t requested;
    std::errc error; // std::errc{} for success
    std::uint32_t listed;
    mode_t modeAfter;
    std::optional<std::string_view> dosAttribAfter;
};

// A version 4 record under an empty text, as Samba writes it, with the archive bit and two time
// stamps; and the same after the hidden bit is added.
constexpr std::string_view sambaRecord =
    "\0\0\x04\0\x04\0\0\0\x01\0\0\0\x20\0\0\0\1\2\3\4\5\6\7\x08\x11\x12\x13\x14\x15\x16\x17\x18"sv;
constexpr std::string_view sambaRecordHidden =
    "0x22\0\0\x04\0\x04\0\0\0\x01\0\0\0\x22\0\0\0\1\2\3\4\5\6\7\x08\x11\x12\x13\x14\x15\x16\x17\x18"sv;

const AttributeCase attributeCases[] = {
    {"read-only clears every write bit",
     "a.txt",
     0664,
     {},
     AttributeBit::ReadOnly,
     {},
     AttributeBit::ReadOnly,
     0444,
     {}},
    {"clearing read-only gives the owner the write bit", "a.txt", 0444, {}, 0, {}, 0, 0644, {}},
    {"clearing read-only leaves a file that another write bit keeps writable",
     "a.txt",
     0464,
     {},
     0,
     {},
     0,
     0464,
     {}},
    {"hidden and system are written as Samba's text",
     "a.txt",
     0644,
     {},
     AttributeBit::Hidden | AttributeBit::System,
     {},
     AttributeBit::Hidden | AttributeBit::System,
     0644,
     "0x6\0"sv},
    {"archive alone", "a.txt", 0644, {}, AttributeBit::Archive, {}, AttributeBit::Archive, 0644, "0x20\0"sv},
    {"all four together", "a.txt", 0644, {}, allFour, {}, allFour, 0444, "0x27\0"sv},
    {"clearing every bit keeps the other bits of Samba's value",
     "a.txt",
     0644,
     "0x86\0"sv,
     0,
     {},
     0,
     0644,
     "0x80\0"sv},
    {"the stored read-only copy follows the write bits",
     "a.txt",
     0644,
     "0x20\0"sv,
     AttributeBit::ReadOnly | AttributeBit::Archive,
     {},
     AttributeBit::ReadOnly | AttributeBit::Archive,
     0444,
     "0x21\0"sv},
    {"Samba's record gets the bits too and keeps its other bytes",
     "a.txt",
     0644,
     sambaRecord,
     AttributeBit::Hidden | AttributeBit::Archive,
     {},
     AttributeBit::Hidden | AttributeBit::Archive,
     0644,
     sambaRecordHidden},
    {"nothing to change writes nothing", "a.txt", 0644, {}, 0, {}, 0, 0644, {}},
    {"read-only alone adds no Samba value",
     "a.txt",
     0644,
     {},
     AttributeBit::ReadOnly,
     {},
     AttributeBit::ReadOnly,
     0444,
     {}},
    {"a dot file stays hidden",
     ".profile",
     0644,
     {},
     AttributeBit::Hidden,
     {},
     AttributeBit::Hidden,
     0644,
     "0x2\0"sv},
    {"a dot file cannot lose its hidden bit but the others are written",
     ".profile",
     0644,
     {},
     AttributeBit::Archive | AttributeBit::ReadOnly,
     std::errc::operation_not_permitted,
     AttributeBit::Hidden | AttributeBit::Archive | AttributeBit::ReadOnly,
     0444,
     "0x21\0"sv},
};

class SetAttributesTest : public ::testing::TestWithParam<AttributeCase>
{};

TEST_P(SetAttributesTest, MakesTheRequestedBitsTheWholeSet)
{
    const AttributeCase& c = GetParam();
    const TempFolder folder;
    folder.writeFile(c.name, "content");
    const std::string path = folder.pathOf(c.name);
    if (c.dosAttribBefore) {
        setDosAttribBytes(path, *c.dosAttribBefore);
    }
    ASSERT_EQ(chmod(path.c_str(), c.mode), 0);

    PosixFileSystem fileSystem;
    const std::error_code error = fileSystem.setAttributes(path, c.requested);
    EXPECT_EQ(error.value(), static_cast<int>(c.error)) << c.says << ": " << error.message();
    EXPECT_EQ(listedAttributes(folder, c.name), c.listed) << c.says;
    EXPECT_EQ(lstatOf(path).st_mode & 07777, c.modeAfter) << c.says;
    EXPECT_EQ(dosAttribOf(path),
              c.dosAttribAfter ? std::optional<std::string>(*c.dosAttribAfter) : std::nullopt)
        << c.says;
    EXPECT_EQ(folder.readFile(c.name), "content");
}

INSTANTIATE_TEST_SUITE_P(Files, SetAttributesTest, ::testing::ValuesIn(attributeCases), testing::SaysName());

struct LinkAttributeCase
{
    const char* says;
    std::uint32_t requested;
    bool fails;
};

const LinkAttributeCase linkAttributeCases[] = {
    {"a symbolic link needs no change for no bits", 0, false},
    {"a symbolic link cannot be read-only", AttributeBit::ReadOnly, true},
    {"a symbolic link carries no hidden bit of its own here", AttributeBit::Hidden, true},
};

class LinkAttributesTest : public ::testing::TestWithParam<LinkAttributeCase>
{};

TEST_P(LinkAttributesTest, LeavesTheTargetAlone)
{
    const LinkAttributeCase& c = GetParam();
    const TempFolder folder;
    folder.writeFile("target.txt");
    ASSERT_EQ(chmod(folder.pathOf("target.txt").c_str(), 0644), 0);
    ASSERT_EQ(symlink("target.txt", folder.pathOf("link").c_str()), 0);
    PosixFileSystem fileSystem;
    EXPECT_EQ(static_cast<bool>(fileSystem.setAttributes(folder.pathOf("link"), c.requested)), c.fails)
        << c.says;
    EXPECT_EQ(lstatOf(folder.pathOf("target.txt")).st_mode & 07777, 0644u);
    EXPECT_EQ(dosAttribOf(folder.pathOf("target.txt")), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Links, LinkAttributesTest, ::testing::ValuesIn(linkAttributeCases),
                         testing::SaysName());

struct StateCase
{
    const char* says;
    std::string name;
    mode_t mode; // 0: a symbolic link
    std::optional<std::string_view> dosAttrib;
};

const StateCase stateCases[] = {
    {"a plain file", "plain.txt", 0644, {}},
    {"a read-only file with Samba's attributes", "locked.txt", 0444, "0x23\0"sv},
    {"a file with Samba's record", "record.txt", 0640, sambaRecord},
    {"a file with unusual permission bits", "tool", 02751, {}},
    {"a dot file", ".hidden", 0600, "0x20\0"sv},
    {"a symbolic link", "link", 0, {}},
};

class StateTest : public ::testing::TestWithParam<StateCase>
{};

TEST_P(StateTest, RestoresTheExactStateAfterChanges)
{
    const StateCase& c = GetParam();
    const TempFolder folder;
    folder.writeFile("target.txt");
    const std::string path = folder.pathOf(c.name);
    if (c.mode == 0) {
        ASSERT_EQ(symlink("target.txt", path.c_str()), 0);
    } else {
        folder.writeFile(c.name, "content");
        if (c.dosAttrib) {
            setDosAttribBytes(path, *c.dosAttrib);
        }
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
    }
    folder.setTimes(c.name, {1078783500, 123456789}, {1078783501, 987654321});

    PosixFileSystem fileSystem;
    FileState before;
    ASSERT_FALSE(fileSystem.readState(path, before));
    EXPECT_EQ(before.accessed, (FileTime{1078783500, 123456789}));
    EXPECT_EQ(before.modified, (FileTime{1078783501, 987654321}));
    EXPECT_EQ(before.mode, c.mode == 0 ? 0777u : c.mode);
    EXPECT_EQ(before.dosAttributes.has_value(), c.dosAttrib.has_value());

    // Everything a run may change, changed.
    fileSystem.setAttributes(path, allFour);
    if (c.mode != 0) {
        ASSERT_EQ(chmod(path.c_str(), 0600), 0);
    }
    ASSERT_FALSE(fileSystem.setTimes(path, FileTime{1500000000, 1}, FileTime{1500000000, 2}));

    const std::error_code error = fileSystem.restoreState(path, before);
    EXPECT_FALSE(error) << c.says << ": " << error.message();
    FileState after;
    ASSERT_FALSE(fileSystem.readState(path, after));
    EXPECT_EQ(after, before) << c.says;
    EXPECT_EQ(dosAttribOf(path).has_value(), c.dosAttrib.has_value()) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Entries, StateTest, ::testing::ValuesIn(stateCases), testing::SaysName());

TEST(PosixFileSystemWrites, RestoringTriesEveryPartAndReportsTheFirstFailure)
{
    // A symbolic link can carry no user.DOSATTRIB, so that part fails; its times are still set.
    const TempFolder folder;
    folder.writeFile("target.txt");
    ASSERT_EQ(symlink("target.txt", folder.pathOf("link").c_str()), 0);
    PosixFileSystem fileSystem;
    FileState state;
    ASSERT_FALSE(fileSystem.readState(folder.pathOf("link"), state));
    state.dosAttributes = AttributeBit::Hidden;
    state.accessed = {1078783500, 5};
    state.modified = {1078783501, 6};
    EXPECT_TRUE(fileSystem.restoreState(folder.pathOf("link"), state));
    FileState after;
    ASSERT_FALSE(fileSystem.readState(folder.pathOf("link"), after));
    EXPECT_EQ(after.accessed, state.accessed);
    EXPECT_EQ(after.modified, state.modified);
    EXPECT_EQ(after.dosAttributes, std::nullopt);
}

} // namespace
} // namespace quorvane::platform
