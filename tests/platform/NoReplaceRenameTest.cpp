#include "platform/posix/NoReplaceRename.h"

#include "platform/posix/PosixFileSystem.h"
#include "support/CaseName.h"
#include "support/TempFolder.h"
#include "support/UnreadableFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>
#include <vector>

namespace quorvane::platform {
namespace {

using testing::TempFolder;

// One entry of a folder as a test sets it up and expects it: a file with its content, a folder,
// or a symbolic link with its target. A hard link names the file it shares.
struct Entry
{
    enum Kind
    {
        File,
        Folder,
        Link,
        HardLink,
    };
    Kind kind;
    std::string name;
    std::string contentOrTarget;
};

void make(const TempFolder& folder, const Entry& entry)
{
    switch (entry.kind) {
    case Entry::File:
        folder.writeFile(entry.name, entry.contentOrTarget);
        break;
    case Entry::Folder:
        folder.makeFolder(entry.name);
        break;
    case Entry::Link:
        ASSERT_EQ(symlink(entry.contentOrTarget.c_str(), folder.pathOf(entry.name).c_str()), 0);
        break;
    case Entry::HardLink:
        ASSERT_EQ(link(folder.pathOf(entry.contentOrTarget).c_str(), folder.pathOf(entry.name).c_str()), 0);
        break;
    }
}

// What the folder holds: each name with "file:" and its content, "folder", or "link:" and target.
std::map<std::string, std::string> contentsOf(const TempFolder& folder)
{
    std::map<std::string, std::string> contents;
    DIR* dir = opendir(folder.path().c_str());
    while (const dirent* record = readdir(dir)) {
        const std::string name = record->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info
        {};
        lstat(folder.pathOf(name).c_str(), &info);
        if (S_ISLNK(info.st_mode)) {
            std::string target(256, '\0');
            target.resize(static_cast<std::size_t>(
                readlink(folder.pathOf(name).c_str(), target.data(), target.size())));
            contents[name] = "link:" + target;
        } else if (S_ISDIR(info.st_mode)) {
            contents[name] = "folder";
        } else {
            contents[name] = "file:" + folder.readFile(name);
        }
    }
    closedir(dir);
    return contents;
}

struct RenameCase
{
    const char* says;
    std::vector<Entry> before;
    std::string from;
    std::string to;
    std::errc error; // std::errc{} for success
    std::map<std::string, std::string> after;
};

const std::string shiftJisFrom = "\x83\x5C\x83\x74\x83\x67.txt";
const std::string shiftJisTo = "\x83\x74\x83\x5C.txt";

const RenameCase renameCases[] = {
    {"a file takes a free name", {{Entry::File, "a.txt", "A"}}, "a.txt", "b.txt", {}, {{"b.txt", "file:A"}}},
    {"an existing file is never replaced",
     {{Entry::File, "a.txt", "A"}, {Entry::File, "b.txt", "B"}},
     "a.txt",
     "b.txt",
     std::errc::file_exists,
     {{"a.txt", "file:A"}, {"b.txt", "file:B"}}},
    {"an existing folder is never replaced",
     {{Entry::File, "a.txt", "A"}, {Entry::Folder, "b.txt", ""}},
     "a.txt",
     "b.txt",
     std::errc::file_exists,
     {{"a.txt", "file:A"}, {"b.txt", "folder"}}},
    {"an existing symbolic link is never replaced",
     {{Entry::File, "a.txt", "A"}, {Entry::Link, "b.txt", "a.txt"}},
     "a.txt",
     "b.txt",
     std::errc::file_exists,
     {{"a.txt", "file:A"}, {"b.txt", "link:a.txt"}}},
    {"an identical name succeeds",
     {{Entry::File, "a.txt", "A"}},
     "a.txt",
     "a.txt",
     {},
     {{"a.txt", "file:A"}}},
    {"another hard link of the same file is never renamed over",
     {{Entry::File, "a.txt", "A"}, {Entry::HardLink, "b.txt", "a.txt"}},
     "a.txt",
     "b.txt",
     std::errc::file_exists,
     {{"a.txt", "file:A"}, {"b.txt", "file:A"}}},
    {"a hard link differing only in case is another entry on a case-sensitive file system",
     {{Entry::File, "a.txt", "A"}, {Entry::HardLink, "A.txt", "a.txt"}},
     "a.txt",
     "A.txt",
     std::errc::file_exists,
     {{"a.txt", "file:A"}, {"A.txt", "file:A"}}},
    {"a symbolic link is renamed as itself",
     {{Entry::File, "target.txt", "T"}, {Entry::Link, "link", "target.txt"}},
     "link",
     "renamed",
     {},
     {{"target.txt", "file:T"}, {"renamed", "link:target.txt"}}},
    {"a dangling symbolic link is renamed as itself",
     {{Entry::Link, "link", "nowhere"}},
     "link",
     "renamed",
     {},
     {{"renamed", "link:nowhere"}}},
    {"a folder takes a free name", {{Entry::Folder, "old", ""}}, "old", "new", {}, {{"new", "folder"}}},
    {"names that are not UTF-8 are kept byte for byte",
     {{Entry::File, shiftJisFrom, "S"}},
     shiftJisFrom,
     shiftJisTo,
     {},
     {{shiftJisTo, "file:S"}}},
    {"a missing file is an error",
     {{Entry::File, "b.txt", "B"}},
     "a.txt",
     "c.txt",
     std::errc::no_such_file_or_directory,
     {{"b.txt", "file:B"}}},
};

using Rename = std::error_code (*)(const std::string&, const std::string&);

struct Way
{
    const char* says;
    Rename rename;
};

std::error_code throughTheFileSystem(const std::string& from, const std::string& to)
{
    PosixFileSystem fileSystem;
    return fileSystem.renameNoReplace(from, to);
}

const Way ways[] = {
    {"the system call with the flag", throughTheFileSystem},
    // What file systems that refuse the flag get; on this file system the same answers are due.
    {"the fallback without the flag", posix::renameNoReplaceByHand},
};

class NoReplaceRenameTest : public ::testing::TestWithParam<std::tuple<RenameCase, Way>>
{};

TEST_P(NoReplaceRenameTest, NeverReplacesAnotherEntry)
{
    const auto& [c, way] = GetParam();
    const TempFolder folder;
    for (const Entry& entry : c.before) {
        make(folder, entry);
    }
    const std::error_code error = way.rename(folder.pathOf(c.from), folder.pathOf(c.to));
    EXPECT_EQ(error.value(), static_cast<int>(c.error))
        << c.says << " through " << way.says << ": " << error.message();
    EXPECT_EQ(contentsOf(folder), c.after) << c.says << " through " << way.says;
}

std::string caseName(const ::testing::TestParamInfo<std::tuple<RenameCase, Way>>& info)
{
    struct Named
    {
        const char* says;
    };
    const std::string sentence =
        std::string(std::get<0>(info.param).says) + " through " + std::get<1>(info.param).says;
    const ::testing::TestParamInfo<Named> named(Named{sentence.c_str()}, info.index);
    return testing::SaysName()(named);
}

INSTANTIATE_TEST_SUITE_P(Entries, NoReplaceRenameTest,
                         ::testing::Combine(::testing::ValuesIn(renameCases), ::testing::ValuesIn(ways)),
                         caseName);

TEST(NoReplaceRename, TheSameEntryCheckTakesAFolderThatFailsPartWayForAFailureNotForAnAbsence)
{
    const testing::UnreadableFolder unreadable;
    const int folderFd = open(unreadable.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folderFd, 0);
    bool holds = true;
    EXPECT_EQ(posix::folderHoldsExactly(folderFd, "dev", holds), std::errc::invalid_argument);
    EXPECT_FALSE(holds);
    close(folderFd);
}

} // namespace
} // namespace quorvane::platform
