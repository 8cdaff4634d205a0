#include "platform/posix/PosixFileSystem.h"
#include "support/CaseName.h"
#include "support/FuseMount.h"

#include <gtest/gtest.h>
#include <map>
#include <sys/xattr.h>

namespace quorvane::platform {
namespace {

using testing::FuseMount;

constexpr std::uint32_t storedBits = AttributeBit::Hidden | AttributeBit::System | AttributeBit::Archive;
// NTFS's "normal" bit, which it sets by itself on a file that has no other attribute.
constexpr std::uint32_t ntfsNormal = 0x80;

std::map<std::string, DirectoryEntry> listAll(const std::string& folder)
{
    PosixFileSystem fileSystem;
    std::map<std::string, DirectoryEntry> entries;
    const std::error_code error =
        fileSystem.enumerate(folder, "*", AttributeBit::Hidden | AttributeBit::System,
                             [&](const DirectoryEntry& entry) { entries.emplace(entry.name, entry); });
    EXPECT_FALSE(error) << error.message();
    return entries;
}

std::string contentOf(const std::string& path)
{
    PosixFileSystem fileSystem;
    std::string bytes;
    EXPECT_FALSE(fileSystem.readFile(path, bytes)) << path;
    return bytes;
}

void write(const std::string& path, std::string_view content)
{
    PosixFileSystem fileSystem;
    std::string temporary;
    const std::string folder = path.substr(0, path.rfind('/'));
    ASSERT_FALSE(fileSystem.writeTemporaryFile(folder, content, std::nullopt, temporary));
    ASSERT_FALSE(fileSystem.renameReplacing(temporary, path));
}

// NTFS's own attribute bits, as ntfs-3g shows them.
std::uint32_t ntfsBitsOf(const std::string& path)
{
    unsigned char value[4] = {};
    EXPECT_EQ(lgetxattr(path.c_str(), "system.ntfs_attrib_be", value, sizeof value), 4) << path;
    return (std::uint32_t{value[0]} << 24) | (std::uint32_t{value[1]} << 16) |
           (std::uint32_t{value[2]} << 8) | value[3];
}

struct NtfsCase
{
    const char* says;
    std::uint32_t attributes;
};

const NtfsCase ntfsCases[] = {
    {"hidden", AttributeBit::Hidden},
    {"system", AttributeBit::System},
    {"archive", AttributeBit::Archive},
    {"hidden system and archive", storedBits},
    {"none of them", 0},
};

class NtfsAttributesTest : public ::testing::TestWithParam<NtfsCase>
{};

TEST_P(NtfsAttributesTest, SetsAndRestoresTheBitsOfARealNtfs)
{
    const NtfsCase& c = GetParam();
    const FuseMount ntfs(FuseMount::Ntfs);
    if (!ntfs.mounted()) {
        GTEST_SKIP() << ntfs.skipReason();
    }
    const std::string path = ntfs.pathOf("photo.jpg");
    write(path, "photo");
    PosixFileSystem fileSystem;
    // NTFS keeps times in units of 100 nanoseconds.
    ASSERT_FALSE(fileSystem.setTimes(path, FileTime{1078783500, 123456700}, FileTime{1078783501, 987654300}));
    FileState before;
    ASSERT_FALSE(fileSystem.readState(path, before));
    ASSERT_TRUE(before.dosAttributes.has_value()) << "ntfs-3g gives every file its attribute bits";
    const std::uint32_t otherBits = ntfsBitsOf(path) & ~(storedBits | ntfsNormal);

    const std::error_code error = fileSystem.setAttributes(path, c.attributes);
    EXPECT_FALSE(error) << c.says << ": " << error.message();
    EXPECT_EQ(listAll(ntfs.path()).at("photo.jpg").attributes, c.attributes) << c.says;
    EXPECT_EQ(ntfsBitsOf(path) & storedBits, c.attributes) << c.says;
    EXPECT_EQ(ntfsBitsOf(path) & ~(storedBits | ntfsNormal), otherBits)
        << c.says << ": NTFS's other bits are kept";

    ASSERT_FALSE(fileSystem.restoreState(path, before));
    FileState after;
    ASSERT_FALSE(fileSystem.readState(path, after));
    EXPECT_EQ(after, before) << c.says;
    EXPECT_EQ(listAll(ntfs.path()).at("photo.jpg").attributes, before.dosAttributes.value() & storedBits);
    EXPECT_EQ(contentOf(path), "photo");
}

INSTANTIATE_TEST_SUITE_P(Bits, NtfsAttributesTest, ::testing::ValuesIn(ntfsCases), testing::SaysName());

struct FuseRenameCase
{
    const char* says;
    FuseMount::Kind kind;
    std::vector<std::string> before; // each file's content is its own name
    std::string from;
    std::string to;
    std::errc error; // std::errc{} for success
    std::map<std::string, std::string> after;
};

const FuseRenameCase fuseRenameCases[] = {
    {"a case-only change renames the file on a file system that ignores case",
     FuseMount::Exfat,
     {"photo.JPG"},
     "photo.JPG",
     "photo.jpg",
     {},
     {{"photo.jpg", "photo.JPG"}}},
    {"a case-only change of letters beyond ASCII renames the file on a file system that ignores case",
     FuseMount::Exfat,
     {"ÄPFEL.TXT"},
     "ÄPFEL.TXT",
     "äpfel.txt",
     {},
     {{"äpfel.txt", "ÄPFEL.TXT"}}},
    {"an existing file is never replaced on a file system that ignores case",
     FuseMount::Exfat,
     {"a.txt", "b.txt"},
     "a.txt",
     "b.txt",
     std::errc::file_exists,
     {{"a.txt", "a.txt"}, {"b.txt", "b.txt"}}},
    {"a name that differs from another file's only in case is taken",
     FuseMount::Exfat,
     {"a.txt", "b.txt"},
     "a.txt",
     "B.TXT",
     std::errc::file_exists,
     {{"a.txt", "a.txt"}, {"b.txt", "b.txt"}}},
    {"a free name is taken on a file system without hard links",
     FuseMount::Exfat,
     {"a.txt"},
     "a.txt",
     "c.txt",
     {},
     {{"c.txt", "a.txt"}}},
    {"a free name is taken on NTFS through a hard link",
     FuseMount::Ntfs,
     {"a.txt"},
     "a.txt",
     "c.txt",
     {},
     {{"c.txt", "a.txt"}}},
    {"an existing file is never replaced on NTFS",
     FuseMount::Ntfs,
     {"a.txt", "b.txt"},
     "a.txt",
     "b.txt",
     std::errc::file_exists,
     {{"a.txt", "a.txt"}, {"b.txt", "b.txt"}}},
    {"a case-only change on NTFS, which keeps case apart",
     FuseMount::Ntfs,
     {"photo.JPG"},
     "photo.JPG",
     "photo.jpg",
     {},
     {{"photo.jpg", "photo.JPG"}}},
};

class FuseRenameTest : public ::testing::TestWithParam<FuseRenameCase>
{};

TEST_P(FuseRenameTest, NeverReplacesAnotherFile)
{
    const FuseRenameCase& c = GetParam();
    const FuseMount mount(c.kind);
    if (!mount.mounted()) {
        GTEST_SKIP() << mount.skipReason();
    }
    for (const std::string& name : c.before) {
        write(mount.pathOf(name), name);
    }
    PosixFileSystem fileSystem;
    const std::error_code error = fileSystem.renameNoReplace(mount.pathOf(c.from), mount.pathOf(c.to));
    EXPECT_EQ(error.value(), static_cast<int>(c.error)) << c.says << ": " << error.message();
    std::map<std::string, std::string> after;
    for (const auto& [name, entry] : listAll(mount.path())) {
        after[name] = contentOf(mount.pathOf(name));
    }
    EXPECT_EQ(after, c.after) << c.says;
}

INSTANTIATE_TEST_SUITE_P(FileSystems, FuseRenameTest, ::testing::ValuesIn(fuseRenameCases),
                         testing::SaysName());

TEST(FuseFileSystem, AttributesAFileSystemCannotStoreAreAFailure)
{
    const FuseMount exfat(FuseMount::Exfat);
    if (!exfat.mounted()) {
        GTEST_SKIP() << exfat.skipReason();
    }
    const std::string path = exfat.pathOf("a.txt");
    write(path, "a");
    PosixFileSystem fileSystem;
    EXPECT_EQ(fileSystem.setAttributes(path, AttributeBit::Hidden), std::errc::operation_not_supported);
    EXPECT_FALSE(fileSystem.setAttributes(path, 0));
    EXPECT_EQ(listAll(exfat.path()).at("a.txt").attributes, 0u);
}

TEST(FuseFileSystem, ReadOnlyThatNtfsDoesNotShowInTheWriteBitsIsAFailure)
{
    // ntfs-3g without a permission mapping shows every file writable and ignores chmod.
    const FuseMount ntfs(FuseMount::Ntfs);
    if (!ntfs.mounted()) {
        GTEST_SKIP() << ntfs.skipReason();
    }
    const std::string path = ntfs.pathOf("a.txt");
    write(path, "a");
    PosixFileSystem fileSystem;
    EXPECT_EQ(fileSystem.setAttributes(path, AttributeBit::ReadOnly | AttributeBit::Archive),
              std::errc::operation_not_supported);
    EXPECT_EQ(listAll(ntfs.path()).at("a.txt").attributes, std::uint32_t{AttributeBit::Archive})
        << "the bits it could store are written";
}

} // namespace
} // namespace quorvane::platform
