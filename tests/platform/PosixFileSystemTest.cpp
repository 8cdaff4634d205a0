#include "platform/posix/PosixFileSystem.h"

#include "support/CaseName.h"
#include "support/TempFolder.h"
#include "support/UnreadableFolder.h"

#include <algorithm>
#include <dirent.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>

namespace quorvane::platform {
namespace {

using testing::TempFolder;

constexpr std::uint32_t bothExtras = AttributeBit::Hidden | AttributeBit::System;

std::map<std::string, DirectoryEntry> listAll(std::string_view folder, std::string_view pattern = "*.*",
                                              std::uint32_t extras = bothExtras)
{
    PosixFileSystem fileSystem;
    std::map<std::string, DirectoryEntry> entries;
    const std::error_code error = fileSystem.enumerate(
        folder, pattern, extras, [&](const DirectoryEntry& entry) { entries.emplace(entry.name, entry); });
    EXPECT_FALSE(error) << error.message();
    return entries;
}

std::vector<std::string> namesOf(const std::map<std::string, DirectoryEntry>& entries)
{
    std::vector<std::string> names;
    for (const auto& [name, entry] : entries) {
        names.push_back(name);
    }
    return names;
}

TEST(PosixFileSystem, ListsEveryEntryThatIsNotAFolder)
{
    const TempFolder folder;
    folder.writeFile("plain.txt", "x");
    folder.makeFolder("subfolder");
    ASSERT_EQ(mkfifo(folder.pathOf("pipe").c_str(), 0644), 0);
    ASSERT_EQ(symlink("subfolder", folder.pathOf("link-to-folder").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", folder.pathOf("dangling").c_str()), 0);

    const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = folder.pathOf("socket");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(bind(socketFd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(socketFd);

    EXPECT_EQ(namesOf(listAll(folder.path())),
              (std::vector<std::string>{"dangling", "link-to-folder", "pipe", "plain.txt", "socket"}));
}

TEST(PosixFileSystem, KeepsNamesByteForByte)
{
    const TempFolder folder;
    const std::string shiftJis = "\x83\x5C\x83\x74\x83\x67.txt"; // not UTF-8
    const std::string withNewline = "two\nlines.txt";
    const std::string longest(255, 'n');
    for (const std::string& name : {shiftJis, withNewline, longest}) {
        folder.writeFile(name);
    }
    EXPECT_EQ(namesOf(listAll(folder.path())), (std::vector<std::string>{longest, withNewline, shiftJis}));
}

TEST(PosixFileSystem, ReportsTheFullSixtyFourBitSize)
{
    const TempFolder folder;
    folder.writeFile("huge.bin");
    const std::uint64_t fiveGiB = 5ULL << 30;
    ASSERT_EQ(truncate(folder.pathOf("huge.bin").c_str(), static_cast<off_t>(fiveGiB)), 0);
    EXPECT_EQ(listAll(folder.path()).at("huge.bin").size, fiveGiB);
}

TEST(PosixFileSystem, ReportsTimesWithNanoseconds)
{
    const TempFolder folder;
    folder.writeFile("stamped.txt");
    folder.setTimes("stamped.txt", {1078783500, 123456789}, {1078783501, 987654321});
    const DirectoryEntry entry = listAll(folder.path()).at("stamped.txt");
    EXPECT_EQ(entry.accessed, (FileTime{1078783500, 123456789}));
    EXPECT_EQ(entry.modified, (FileTime{1078783501, 987654321}));
    ASSERT_TRUE(entry.created.has_value()) << "this file system reports birth times";
    EXPECT_GT(entry.created->seconds, 1078783501);
}

struct AttributeCase
{
    const char* says;
    std::string name;
    std::string dosAttrib; // empty: none set
    bool writable;
    std::uint32_t attributes;
};

const AttributeCase attributeCases[] = {
    {"a plain file has no attribute", "plain.txt", "", true, 0},
    {"a dot file is hidden", ".profile", "", true, AttributeBit::Hidden},
    {"the DOS hidden bit hides a file", "hidden.txt", "0x2", true, AttributeBit::Hidden},
    {"the DOS system and archive bits are read", "system.sys", "0x24", true,
     AttributeBit::System | AttributeBit::Archive},
    {"read-only comes from the write bits", "locked.txt", "", false, AttributeBit::ReadOnly},
    {"a stored read-only bit on a writable file is not shown", "stored.txt", "0x21", true,
     AttributeBit::Archive},
    {"all four together", "all.txt", "0x27", false,
     AttributeBit::ReadOnly | AttributeBit::Hidden | AttributeBit::System | AttributeBit::Archive},
};

class PosixAttributesTest : public ::testing::TestWithParam<AttributeCase>
{};

TEST_P(PosixAttributesTest, ReadsTheAttributeBits)
{
    const AttributeCase& c = GetParam();
    const TempFolder folder;
    folder.writeFile(c.name);
    if (!c.dosAttrib.empty()) {
        folder.setDosAttrib(c.name, c.dosAttrib);
    }
    if (!c.writable) {
        ASSERT_EQ(chmod(folder.pathOf(c.name).c_str(), 0444), 0);
    }
    EXPECT_EQ(listAll(folder.path()).at(c.name).attributes, c.attributes) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Files, PosixAttributesTest, ::testing::ValuesIn(attributeCases),
                         testing::SaysName());

TEST(PosixFileSystem, LeavesOutHiddenAndSystemEntriesUnlessAskedFor)
{
    const TempFolder folder;
    folder.writeFile("plain.txt");
    folder.writeFile(".dotfile");
    folder.writeFile("hidden.txt");
    folder.setDosAttrib("hidden.txt", "0x22");
    folder.writeFile("system.txt");
    folder.setDosAttrib("system.txt", "0x24");
    folder.writeFile("both.txt");
    folder.setDosAttrib("both.txt", "0x06");

    EXPECT_EQ(namesOf(listAll(folder.path(), "*.*", 0)), (std::vector<std::string>{"plain.txt"}));
    EXPECT_EQ(namesOf(listAll(folder.path(), "*.*", AttributeBit::Hidden)),
              (std::vector<std::string>{".dotfile", "hidden.txt", "plain.txt"}));
    EXPECT_EQ(namesOf(listAll(folder.path(), "*.*", AttributeBit::System)),
              (std::vector<std::string>{"plain.txt", "system.txt"}));
    EXPECT_EQ(namesOf(listAll(folder.path(), "*.*", bothExtras)),
              (std::vector<std::string>{".dotfile", "both.txt", "hidden.txt", "plain.txt", "system.txt"}));
}

TEST(PosixFileSystem, ReturnsEntriesInTheSystemsOrder)
{
    const TempFolder folder;
    // Enough entries that several threads share the work.
    for (int i = 0; i < 5000; ++i) {
        folder.writeFile("file" + std::to_string(i * 7919 % 10000));
    }
    std::vector<std::string> systemOrder;
    DIR* dir = opendir(folder.path().c_str());
    while (const dirent* record = readdir(dir)) {
        if (record->d_type != DT_DIR) {
            systemOrder.emplace_back(record->d_name);
        }
    }
    closedir(dir);

    PosixFileSystem fileSystem;
    std::vector<std::string> listed;
    fileSystem.enumerate(folder.path(), "*", bothExtras,
                         [&](const DirectoryEntry& entry) { listed.push_back(entry.name); });
    EXPECT_EQ(listed, systemOrder);
}

TEST(PosixFileSystem, AFolderThatCannotBeReadToItsEndIsAnError)
{
    const TempFolder folder;
    folder.writeFile("file.txt");
    const testing::UnreadableFolder unreadable;
    PosixFileSystem fileSystem;
    int visits = 0;
    const auto count = [&](const DirectoryEntry&) {
        ++visits;
    };
    EXPECT_EQ(fileSystem.enumerate(folder.pathOf("missing"), "*.*", 0, count),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(fileSystem.enumerate(folder.pathOf("file.txt"), "*.*", 0, count), std::errc::not_a_directory);
    EXPECT_EQ(fileSystem.enumerate(unreadable.path(), "*", 0, count), std::errc::invalid_argument)
        << "a failed read is never the end of the folder";
    EXPECT_EQ(visits, 0);
}

TEST(PosixFileSystem, GivesEachEntryTheIdentityItsNameLeadsToAndKeepsItThroughARename)
{
    const TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.txt");
    PosixFileSystem fileSystem;
    const auto entries = listAll(folder.path());
    EntryStamp stamp;
    ASSERT_FALSE(fileSystem.identify(folder.pathOf("a.txt"), stamp));
    const FileIdentity a = stamp.identity;
    EXPECT_TRUE(a.known());
    EXPECT_EQ(entries.at("a.txt").identity, a);
    EXPECT_NE(entries.at("b.txt").identity, a);
    ASSERT_FALSE(fileSystem.renameNoReplace(folder.pathOf("a.txt"), folder.pathOf("c.txt")));
    ASSERT_FALSE(fileSystem.identify(folder.pathOf("c.txt"), stamp));
    EXPECT_EQ(stamp.identity, a);

    FileIdentity folderIdentity;
    EXPECT_FALSE(fileSystem.identifyFolder(folder.path(), folderIdentity));
    EXPECT_NE(folderIdentity, a);
    EXPECT_EQ(fileSystem.identifyFolder(folder.pathOf("c.txt"), folderIdentity), std::errc::not_a_directory);
    EXPECT_EQ(fileSystem.identify(folder.pathOf("a.txt"), stamp), std::errc::no_such_file_or_directory);
}

TEST(PosixFileSystem, ShortNameOfAnEntryWithoutAShortFormIsItsName)
{
    const TempFolder folder;
    folder.writeFile("Abcdefghij.txt");
    PosixFileSystem fileSystem;
    std::string shortName = "unchanged";
    EXPECT_FALSE(fileSystem.shortName(folder.pathOf("Abcdefghij.txt"), shortName));
    EXPECT_EQ(shortName, "Abcdefghij.txt");
    EXPECT_TRUE(fileSystem.shortName(folder.pathOf("missing.txt"), shortName));
}

struct ReadCase
{
    const char* says;
    std::string content;
    std::string earlier; // what the string held before the read
};

std::string pattern(std::size_t size)
{
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>(i * 7 + i / 251);
    }
    return bytes;
}

const ReadCase readCases[] = {
    {"an empty file reads as nothing", "", "left over"},
    {"bytes of every value read unchanged", std::string("a\0b\xFF\r\n", 6), ""},
    {"a large file reads whole", pattern((1 << 20) + 3), ""},
    {"a string that held more keeps nothing of it", "short", pattern(4096)},
    {"a string that held less is grown", pattern(70000), "tiny"},
};

class PosixReadFile : public ::testing::TestWithParam<ReadCase>
{};

TEST_P(PosixReadFile, GivesTheWholeContent)
{
    const TempFolder folder;
    folder.writeFile("f.bin", GetParam().content);
    PosixFileSystem fileSystem;
    std::string bytes = GetParam().earlier;
    EXPECT_FALSE(fileSystem.readFile(folder.pathOf("f.bin"), bytes));
    EXPECT_TRUE(bytes == GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(Contents, PosixReadFile, ::testing::ValuesIn(readCases), testing::SaysName());

TEST(PosixFileSystem, ReadingAMissingFileOrAFolderFailsAndGivesNothing)
{
    const TempFolder folder;
    folder.makeFolder("sub");
    PosixFileSystem fileSystem;
    std::string bytes = "earlier";
    EXPECT_EQ(fileSystem.readFile(folder.pathOf("missing"), bytes), std::errc::no_such_file_or_directory);
    EXPECT_EQ(bytes, "");
    bytes = "earlier";
    EXPECT_EQ(fileSystem.readFile(folder.pathOf("sub"), bytes), std::errc::is_a_directory);
    EXPECT_EQ(bytes, "");
}

TEST(PosixFileSystem, ReadingTheStartOfAFileGivesAtMostTheLimitAndFailsForAMissingFileOrAFolder)
{
    const TempFolder folder;
    folder.writeFile("long.bin", pattern(70000));
    folder.writeFile("short.bin", "short");
    folder.makeFolder("sub");
    PosixFileSystem fileSystem;
    std::string bytes = "earlier";
    EXPECT_FALSE(fileSystem.readStart(folder.pathOf("long.bin"), 4096, bytes));
    EXPECT_TRUE(bytes == pattern(70000).substr(0, 4096));
    EXPECT_FALSE(fileSystem.readStart(folder.pathOf("short.bin"), 4096, bytes));
    EXPECT_EQ(bytes, "short");
    EXPECT_EQ(fileSystem.readStart(folder.pathOf("missing"), 4096, bytes),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(bytes, "");
    EXPECT_EQ(fileSystem.readStart(folder.pathOf("sub"), 4096, bytes), std::errc::is_a_directory);
}

std::vector<std::string> filesIn(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(PosixFileSystem, ATemporaryFileIsHiddenInItsFolderAndHoldsTheBytes)
{
    const TempFolder folder;
    PosixFileSystem fileSystem;
    std::string first;
    std::string second;
    ASSERT_FALSE(fileSystem.writeTemporaryFile(folder.path(), pattern(100000), std::nullopt, first));
    ASSERT_FALSE(fileSystem.writeTemporaryFile(folder.path(), "", std::nullopt, second));
    EXPECT_NE(first, second);
    for (const std::string& path : {first, second}) {
        EXPECT_EQ(path.rfind(folder.path() + "/.", 0), 0u) << path;
        EXPECT_EQ(path.find('/', folder.path().size() + 1), std::string::npos) << path;
    }
    EXPECT_TRUE(folder.readFile(first.substr(folder.path().size() + 1)) == pattern(100000));
    EXPECT_EQ(folder.readFile(second.substr(folder.path().size() + 1)), "");
    EXPECT_EQ(filesIn(folder).size(), 2u);
}

// The conversion writes its new files from several worker threads at once.
TEST(PosixFileSystem, TemporaryFilesWrittenFromSeveralThreadsAreDistinctAndComplete)
{
    const TempFolder folder;
    PosixFileSystem fileSystem;
    std::vector<std::vector<std::string>> paths(4);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < paths.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 10; ++i) {
                std::string path;
                if (!fileSystem.writeTemporaryFile(folder.path(), pattern(1000 + t), std::nullopt, path)) {
                    paths[t].push_back(path);
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    std::set<std::string> distinct;
    for (std::size_t t = 0; t < paths.size(); ++t) {
        ASSERT_EQ(paths[t].size(), 10u);
        for (const std::string& path : paths[t]) {
            distinct.insert(path);
            EXPECT_TRUE(folder.readFile(path.substr(folder.path().size() + 1)) == pattern(1000 + t));
        }
    }
    EXPECT_EQ(distinct.size(), 40u);
}

TEST(PosixFileSystem, ATemporaryFileThatCannotBeCreatedLeavesNothing)
{
    const TempFolder folder;
    PosixFileSystem fileSystem;
    std::string path = "unchanged";
    EXPECT_EQ(fileSystem.writeTemporaryFile(folder.pathOf("missing"), "bytes", std::nullopt, path),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(path, "unchanged");
    EXPECT_TRUE(filesIn(folder).empty());
}

struct RenameCase
{
    const char* says;
    bool targetExists;
    mode_t targetMode;
    std::errc expected; // std::errc() for success
};

const RenameCase renameCases[] = {
    {"a rename to a new name moves the file", false, 0644, std::errc()},
    {"a rename over a writable file replaces it", true, 0644, std::errc()},
    {"a rename over a read-only file is refused and keeps both", true, 0444, std::errc::permission_denied},
};

class PosixRenameReplacing : public ::testing::TestWithParam<RenameCase>
{};

TEST_P(PosixRenameReplacing, ActsAsWritingOverTheTarget)
{
    const RenameCase& c = GetParam();
    const TempFolder folder;
    folder.writeFile("from", "new content");
    if (c.targetExists) {
        folder.writeFile("to", "old content");
        chmod(folder.pathOf("to").c_str(), c.targetMode);
    }
    PosixFileSystem fileSystem;
    const std::error_code error = fileSystem.renameReplacing(folder.pathOf("from"), folder.pathOf("to"));
    if (c.expected == std::errc()) {
        EXPECT_FALSE(error) << error.message();
        EXPECT_EQ(filesIn(folder), std::vector<std::string>{"to"});
        EXPECT_EQ(folder.readFile("to"), "new content");
    } else {
        EXPECT_EQ(error, c.expected);
        EXPECT_EQ(filesIn(folder), (std::vector<std::string>{"from", "to"}));
        EXPECT_EQ(folder.readFile("to"), "old content");
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, PosixRenameReplacing, ::testing::ValuesIn(renameCases),
                         testing::SaysName());

TEST(PosixFileSystem, RenamingAMissingFileFails)
{
    const TempFolder folder;
    PosixFileSystem fileSystem;
    EXPECT_EQ(fileSystem.renameReplacing(folder.pathOf("missing"), folder.pathOf("to")),
              std::errc::no_such_file_or_directory);
}

TEST(PosixFileSystem, RemovesAFileAndReportsAMissingOne)
{
    const TempFolder folder;
    folder.writeFile("gone.txt", "x");
    folder.writeFile("kept.txt", "y");
    PosixFileSystem fileSystem;
    EXPECT_FALSE(fileSystem.removeFile(folder.pathOf("gone.txt")));
    EXPECT_EQ(filesIn(folder), std::vector<std::string>{"kept.txt"});
    EXPECT_EQ(fileSystem.removeFile(folder.pathOf("gone.txt")), std::errc::no_such_file_or_directory);
}

} // namespace
} // namespace quorvane::platform
