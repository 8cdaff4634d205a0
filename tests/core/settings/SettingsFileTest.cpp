#include "core/settings/SettingsFile.h"

#include "platform/ErrorCode.h"
#include "support/CaseName.h"
#include "support/ForwardingFileSystem.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <optional>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::core {
namespace {

using testing::TempFolder;

struct PathCase
{
    const char* says;
    std::string executableFolder;
    bool writable;
    bool exists;
    std::string xdgConfigHome;
    std::string home;
    std::string expected;
};

const PathCase pathCases[] = {
    {"a writable executable folder keeps the file beside the executable", "/opt/q", true, false, "/x",
     "/home/u", "/opt/q/quorvn.ini"},
    {"a file already beside the executable is used though the folder is read-only", "/opt/q", false, true,
     "/x", "/home/u", "/opt/q/quorvn.ini"},
    {"a read-only executable folder sends the file to the configuration home", "/usr/bin", false, false,
     "/home/u/.cfg", "/home/u", "/home/u/.cfg/quorvane/quorvn.ini"},
    {"without a configuration home the file goes to the home's config folder", "/usr/bin", false, false, "",
     "/home/u", "/home/u/.config/quorvane/quorvn.ini"},
    {"a relative configuration home is ignored", "/usr/bin", false, false, "cfg", "/home/u",
     "/home/u/.config/quorvane/quorvn.ini"},
    {"a home given with its slash gets no second one", "/usr/bin", false, false, "", "/root/",
     "/root/.config/quorvane/quorvn.ini"},
    {"without any home the file stays beside the executable", "/usr/bin", false, false, "", "",
     "/usr/bin/quorvn.ini"},
    {"a system program folder that root may write still sends the file to the configuration home", "/usr/bin",
     true, false, "", "/root", "/root/.config/quorvane/quorvn.ini"},
    {"a local program folder that root may write is no portable folder either", "/usr/local/bin/", true,
     false, "/x", "/root", "/x/quorvane/quorvn.ini"},
    {"a file already in a system program folder is still used", "/usr/bin", true, true, "", "/root",
     "/usr/bin/quorvn.ini"},
    {"an executable in the root folder gets no double slash", "/", true, false, "", "/home/u", "/quorvn.ini"},
};

class SettingsFilePathTest : public ::testing::TestWithParam<PathCase>
{};

TEST_P(SettingsFilePathTest, ChoosesTheFolder)
{
    const PathCase& c = GetParam();
    EXPECT_EQ(settingsFilePath(c.executableFolder, c.writable, c.exists, c.xdgConfigHome, c.home),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(Paths, SettingsFilePathTest, ::testing::ValuesIn(pathCases), testing::SaysName());

// Sets an environment variable for the life of the object.
class Environment
{
public:
    Environment(const char* name, const std::string& value) : name_(name)
    {
        const char* previous = std::getenv(name);
        if (previous != nullptr) {
            previous_ = previous;
        }
        setenv(name, value.c_str(), 1);
    }
    ~Environment()
    {
        if (previous_) {
            setenv(name_, previous_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

private:
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(LocateSettingsFileTest, AWritableExecutableFolderHoldsTheFile)
{
    const TempFolder folder;
    EXPECT_EQ(locateSettingsFile(folder.pathOf("quorvane")), folder.pathOf("quorvn.ini"));
}

// A folder marked immutable for the life of the object: nobody, root included, may create a file
// in it, as with a program installed under /usr/bin for a user. Where the file system or the
// missing capability refuses the mark, reason says why.
class ImmutableFolder
{
public:
    explicit ImmutableFolder(const std::string& path)
        : fd_(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (fd_ < 0 || ioctl(fd_, FS_IOC_GETFLAGS, &flags_) != 0) {
            reason = "the folder's inode flags cannot be read here";
            return;
        }
        int immutable = flags_ | FS_IMMUTABLE_FL;
        if (ioctl(fd_, FS_IOC_SETFLAGS, &immutable) != 0) {
            reason = "the folder cannot be made immutable here (file system or capability)";
        }
    }
    ~ImmutableFolder()
    {
        if (fd_ >= 0) {
            ioctl(fd_, FS_IOC_SETFLAGS, &flags_);
            close(fd_);
        }
    }
    ImmutableFolder(const ImmutableFolder&) = delete;
    ImmutableFolder& operator=(const ImmutableFolder&) = delete;

    std::string reason; // empty when the folder is immutable

private:
    int fd_;
    int flags_ = 0;
};

TEST(LocateSettingsFileTest,
     AnExecutableFolderNobodyCanWriteSendsTheFileToTheConfigurationHomeWhereASaveCreatesIt)
{
    const TempFolder folder;
    folder.makeFolder("bin");
    folder.writeFile("bin/quorvane", "");
    const Environment config("XDG_CONFIG_HOME", folder.pathOf("config"));
    const ImmutableFolder bin(folder.pathOf("bin"));
    if (!bin.reason.empty()) {
        GTEST_SKIP() << bin.reason;
    }

    const std::string path = locateSettingsFile(folder.pathOf("bin/quorvane"));
    EXPECT_EQ(path, folder.pathOf("config/quorvane/quorvn.ini"));
    ASSERT_FALSE(SettingsFile(path).save(IniFile::parse("[Options]\nAutoPlay=1\n")));
    EXPECT_EQ(folder.readFile("config/quorvane/quorvn.ini"), "[Options]\nAutoPlay=1\n");
    EXPECT_FALSE(std::filesystem::exists(folder.pathOf("bin/quorvn.ini")));
}

TEST(LocateSettingsFileTest, AMissingExecutableFolderSendsTheFileToTheConfigurationHome)
{
    const TempFolder folder;
    const Environment config("XDG_CONFIG_HOME", folder.pathOf("config"));
    EXPECT_EQ(locateSettingsFile(folder.pathOf("gone/quorvane")),
              folder.pathOf("config/quorvane/quorvn.ini"));
}

TEST(SettingsFileTest, AMissingFileLoadsEmpty)
{
    const TempFolder folder;
    EXPECT_EQ(SettingsFile(folder.pathOf("quorvn.ini")).load().text(), "");
    EXPECT_EQ(SettingsFile(folder.path()).load().text(), "");
}

TEST(SettingsFileTest, APipeOrADeviceInPlaceOfTheFileLoadsEmpty)
{
    const TempFolder folder;
    ASSERT_EQ(mkfifo(folder.pathOf("quorvn.ini").c_str(), 0600), 0);
    EXPECT_EQ(SettingsFile(folder.pathOf("quorvn.ini")).load().text(), "");
    EXPECT_EQ(SettingsFile("/dev/zero").load().text(), "");
}

TEST(SettingsFileTest, BinaryGarbageLoadsAsItIsAndGivesTheDefaults)
{
    const TempFolder folder;
    std::string garbage;
    for (int n = 0; n < 70000; ++n) {
        garbage.push_back(static_cast<char>((n * 7919) % 256));
    }
    folder.writeFile("quorvn.ini", garbage);
    const IniFile file = SettingsFile(folder.pathOf("quorvn.ini")).load();
    EXPECT_EQ(file.text(), garbage);
    const WindowSettings s = readWindowSettings(file);
    EXPECT_EQ(s.Width, 800);
    EXPECT_TRUE(s.extList.empty());
}

TEST(SettingsFileTest, SavingReplacesTheFileAndKeepsEverythingElse)
{
    const TempFolder folder;
    const std::string before = "; hand-made\n[Other]\nk=v\n[WindowState]\nWidth=800\n";
    folder.writeFile("quorvn.ini", before);
    chmod(folder.pathOf("quorvn.ini").c_str(), 0640);
    const SettingsFile settings(folder.pathOf("quorvn.ini"));
    IniFile file = settings.load();
    file.setValue("WindowState", "Width", "1024");
    ASSERT_FALSE(settings.save(file));
    EXPECT_EQ(folder.readFile("quorvn.ini"), "; hand-made\n[Other]\nk=v\n[WindowState]\nWidth=1024\n");
    struct stat info
    {};
    ASSERT_EQ(stat(folder.pathOf("quorvn.ini").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

TEST(SettingsFileTest, SavingCreatesTheMissingConfigurationFolder)
{
    const TempFolder folder;
    const SettingsFile settings(folder.pathOf("config/quorvane/quorvn.ini"));
    IniFile file = settings.load();
    writeExtList(file, builtInPatterns());
    ASSERT_FALSE(settings.save(file));
    EXPECT_EQ(readWindowSettings(settings.load()).extList, builtInPatterns());
}

TEST(SettingsFileTest, ALinkedFileIsWrittenAtItsTarget)
{
    const TempFolder folder;
    folder.writeFile("real.ini", "[A]\nk=1\n");
    std::filesystem::create_symlink(folder.pathOf("real.ini"), folder.pathOf("quorvn.ini"));
    const SettingsFile settings(folder.pathOf("quorvn.ini"));
    IniFile file = settings.load();
    file.setValue("A", "k", "2");
    ASSERT_FALSE(settings.save(file));
    EXPECT_TRUE(std::filesystem::is_symlink(folder.pathOf("quorvn.ini")));
    EXPECT_EQ(folder.readFile("real.ini"), "[A]\nk=2\n");
}

TEST(SettingsFileTest, TheFailureMessageNamesThePath)
{
    EXPECT_EQ(SettingsFile("/opt/q/quorvn.ini").writeFailureMessage(), "/opt/q/quorvn.ini に書き込めません");
}

// Fails one chosen call of the real file system.
class FailingFileSystem : public testing::ForwardingFileSystem
{
public:
    bool failTemporary = false;
    bool failRename = false;

    std::error_code writeTemporaryFile(std::string_view folder, std::string_view bytes,
                                       std::optional<std::uint32_t> permissions,
                                       std::string& temporaryPath) override
    {
        if (failTemporary) {
            return platform::errorFromErrno(ENOSPC);
        }
        return ForwardingFileSystem::writeTemporaryFile(folder, bytes, permissions, temporaryPath);
    }
    std::error_code renameReplacing(std::string_view from, std::string_view to) override
    {
        if (failRename) {
            return platform::errorFromErrno(EACCES);
        }
        return ForwardingFileSystem::renameReplacing(from, to);
    }
};

struct FailureCase
{
    const char* says;
    std::string settingsName; // inside the temporary folder
    std::function<void(const TempFolder&, FailingFileSystem&)> arrange;
};

const std::string oldText = "[WindowState]\nWidth=800\n; keep me\n";

const FailureCase failureCases[] = {
    {"a refused rename leaves the old file whole and no temporary file", "quorvn.ini",
     [](const TempFolder&, FailingFileSystem& fs) {
         fs.failRename = true;
     }},
    {"a full disk leaves the old file whole", "quorvn.ini",
     [](const TempFolder&, FailingFileSystem& fs) {
         fs.failTemporary = true;
     }},
    {"a read-only settings file is not replaced", "quorvn.ini",
     [](const TempFolder& folder, FailingFileSystem&) {
         chmod(folder.pathOf("quorvn.ini").c_str(), 0444);
     }},
    {"a folder that is a file cannot hold the settings", "plain/quorvn.ini",
     [](const TempFolder& folder, FailingFileSystem&) {
         folder.writeFile("plain", oldText);
     }},
};

class SettingsFileFailureTest : public ::testing::TestWithParam<FailureCase>
{};

TEST_P(SettingsFileFailureTest, ReportsTheFailureAndKeepsTheOldFile)
{
    const FailureCase& c = GetParam();
    const TempFolder folder;
    folder.writeFile("quorvn.ini", oldText);
    FailingFileSystem fileSystem;
    c.arrange(folder, fileSystem);
    const SettingsFile settings(folder.pathOf(c.settingsName), fileSystem);
    IniFile file = IniFile::parse(oldText);
    file.setValue("WindowState", "Width", "1024");
    EXPECT_TRUE(settings.save(file));
    EXPECT_EQ(settings.writeFailureMessage(), folder.pathOf(c.settingsName) + " に書き込めません");
    EXPECT_EQ(folder.readFile("quorvn.ini"), oldText);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expectedNames = c.settingsName == "quorvn.ini"
                                                       ? std::vector<std::string>{"quorvn.ini"}
                                                       : std::vector<std::string>{"plain", "quorvn.ini"};
    EXPECT_EQ(names, expectedNames);
}

INSTANTIATE_TEST_SUITE_P(Failures, SettingsFileFailureTest, ::testing::ValuesIn(failureCases),
                         testing::SaysName());

} // namespace
} // namespace quorvane::core
