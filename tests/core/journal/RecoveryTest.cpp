#include "core/journal/Recovery.h"

#include "CrashRun.h"
#include "core/listing/Listing.h"
#include "core/runs/PlanApplier.h"
#include "core/runs/RenameRun.h"
#include "core/runs/TimestampChange.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace quorvane::core {
namespace {

using Folder = std::map<std::string, std::string>; // name -> content

Folder readFolder(const std::string& path)
{
    Folder files;
    DIR* dir = opendir(path.c_str());
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        std::string content(64, '\0');
        const int fd = open((path + "/" + name).c_str(), O_RDONLY);
        content.resize(
            static_cast<std::size_t>(std::max<ssize_t>(0, read(fd, content.data(), content.size()))));
        close(fd);
        files.emplace(name, std::move(content));
    }
    closedir(dir);
    return files;
}

Folder renamedAsPlanned(const Folder& files)
{
    Folder planned;
    for (const auto& [name, content] : files) {
        planned.emplace(testing::crashName(testing::crashNext(testing::crashIndex(name))), content);
    }
    return planned;
}

// Starts the crash child on folder and gives its process id.
pid_t startRun(const std::string& folder, const std::string& journal)
{
    const std::string program = JOURNAL_CRASH_CHILD;
    char* const arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>(folder.c_str()),
                               const_cast<char*>(journal.c_str()), nullptr};
    pid_t child = 0;
    posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments, environ);
    return child;
}

// Invariant: whenever a run is killed, recovery leaves exactly the files of before the run (put
// back) or exactly the planned names (finished), each with its content, and no temporary name.
TEST(Recovery, ARunKilledAtAnyMomentIsPutBackOrFinishedWhole)
{
    const testing::TempFolder folder;
    const testing::TempFolder state;
    const std::string journalPath = state.pathOf("history.sqlite3");
    for (int i = 0; i < testing::crashFileCount; ++i) {
        folder.writeFile(testing::crashName(i), "content of " + std::to_string(i));
    }
    Folder expected = readFolder(folder.path());

    // One run to its end measures how long a run takes, so that the kills fall all through one.
    const auto started = std::chrono::steady_clock::now();
    int status = 0;
    waitpid(startRun(folder.path(), journalPath), &status, 0);
    const auto runTime = std::chrono::steady_clock::now() - started;
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    expected = renamedAsPlanned(expected);
    ASSERT_EQ(readFolder(folder.path()), expected);

    std::mt19937 random(20261210);
    const auto longest = std::chrono::duration_cast<std::chrono::microseconds>(runTime).count();
    int recovered = 0;
    for (int kill = 0; kill < 50; ++kill) {
        const pid_t child = startRun(folder.path(), journalPath);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (longest + 1)));
        ::kill(child, SIGKILL);
        waitpid(child, &status, 0);

        std::string reason;
        const std::unique_ptr<Journal> journal = Journal::open(journalPath, reason);
        ASSERT_TRUE(journal) << reason;
        const Folder planned = renamedAsPlanned(expected);
        const std::optional<RunSummary> unfinished = journal->unfinishedRun();
        if (unfinished) {
            const RecoveryChoice choice = kill % 2 == 0 ? RecoveryChoice::PutBack : RecoveryChoice::Finish;
            platform::PosixFileSystem fileSystem;
            const RecoveryResult result = recoverRun(*journal, unfinished->id, choice, fileSystem);
            EXPECT_TRUE(result.leftAlone.empty() && result.failures.empty()) << result.message;
            EXPECT_FALSE(journal->unfinishedRun());
            expected = choice == RecoveryChoice::PutBack ? expected : planned;
            ++recovered;
        }
        const Folder found = readFolder(folder.path());
        if (!unfinished && found == planned) {
            expected = planned; // killed after the run's end
        }
        ASSERT_EQ(found.size(), expected.size()) << "after kill " << kill;
        ASSERT_TRUE(found == expected) << "after kill " << kill;
    }
    // Many kills fall in the middle of a run, or the test proves nothing; the others fall before the
    // plan is written or after the run's end, and on a busy machine that is more of them.
    EXPECT_GE(recovered, 10);
}

// A file renamed, replaced or deleted by someone else since the run is left alone and named, the
// others are put back.
TEST(Recovery, AFileChangedBySomeoneElseSinceIsLeftAloneAndNamed)
{
    const testing::TempFolder folder;
    const testing::TempFolder state;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        folder.writeFile(name, name);
    }
    platform::PosixFileSystem fileSystem;
    FileTable before;
    FileTable after;
    listFolder(fileSystem, {folder.path(), "*", false, false}, before, after);
    // a -> b -> c -> a is a cycle; the crash left a parked and b, c renamed.
    for (int row = 1; row <= 3; ++row) {
        const std::string name(before.cell(NameColumn, row));
        after.setCell(NameColumn, row,
                      std::string(1, static_cast<char>(name[0] == 'c' ? 'a' : name[0] + 1)) + ".jpg");
    }
    UndoSnapshot plan;
    ASSERT_FALSE(plan.takeRows(before, after, folder.path(), fileSystem));
    std::string reason;
    const std::unique_ptr<Journal> journal = Journal::open(state.pathOf("history.sqlite3"), reason);
    ASSERT_TRUE(journal) << reason;
    journal->begin(RunKind::Rename, plan);
    const std::string parked = temporaryName();
    ASSERT_EQ(rename(folder.pathOf("c.jpg").c_str(), folder.pathOf(parked).c_str()), 0);
    ASSERT_EQ(rename(folder.pathOf("b.jpg").c_str(), folder.pathOf("c.jpg").c_str()), 0);
    // Someone else renames a.jpg to a name of their own.
    ASSERT_EQ(rename(folder.pathOf("a.jpg").c_str(), folder.pathOf("mine.jpg").c_str()), 0);

    const RecoveryResult result =
        recoverRun(*journal, journal->unfinishedRun().value().id, RecoveryChoice::PutBack, fileSystem);

    EXPECT_EQ(readFolder(folder.path()),
              (Folder{{"b.jpg", "b.jpg"}, {"c.jpg", "c.jpg"}, {"mine.jpg", "a.jpg"}}));
    ASSERT_EQ(result.leftAlone.size(), 1u);
    EXPECT_EQ(result.leftAlone[0].name, "a.jpg");
    EXPECT_NE(result.message.find("a.jpg"), std::string::npos);
}

std::int64_t modifiedSeconds(const std::string& path)
{
    struct stat status
    {};
    stat(path.c_str(), &status);
    return status.st_mtim.tv_sec;
}

// A timestamp run cut short after its first file: put back, every file has its own time again to
// the nanosecond; finished, every file has the chosen time.
TEST(Recovery, ATimestampRunCutShortIsPutBackOrFinishedOnEveryFile)
{
    struct Case
    {
        const char* says;
        RecoveryChoice choice;
        bool planned;
    };
    const Case cases[] = {
        {"put back, each file has its own time again", RecoveryChoice::PutBack, false},
        {"finished, each file has the chosen time", RecoveryChoice::Finish, true},
    };
    const platform::LocalDateTime chosen{2006, 5, 4, 9, 5, 7};
    const std::int64_t chosenSeconds = platform::fromLocalDateTime(chosen).value();
    for (const Case& c : cases) {
        const testing::TempFolder folder;
        const testing::TempFolder state;
        folder.writeFile("a.jpg");
        folder.writeFile("b.jpg");
        const std::int64_t own = modifiedSeconds(folder.pathOf("b.jpg"));
        platform::PosixFileSystem fileSystem;
        FileTable before;
        FileTable after;
        listFolder(fileSystem, {folder.path(), "*", false, false}, before, after);
        ASSERT_FALSE(planTimestampChange(before, after, {chosen, std::nullopt}));
        UndoSnapshot plan;
        ASSERT_FALSE(plan.take(before, after, folder.path(), fileSystem));
        std::string reason;
        const std::unique_ptr<Journal> journal = Journal::open(state.pathOf("history.sqlite3"), reason);
        ASSERT_TRUE(journal) << reason;
        journal->begin(RunKind::Timestamp, plan);
        {
            UndoSnapshot loaded;
            journal->loadRun(journal->unfinishedRun().value().id, loaded);
            for (std::size_t k = 0; k < loaded.size(); ++k) {
                std::fprintf(stderr, "DEBUG %s | %s | %d %d\n",
                             std::string(loaded.BeforeRows[k][ModifiedColumn]).c_str(),
                             std::string(loaded.AfterRows[k][ModifiedColumn]).c_str(),
                             (int)loaded.BeforeStates[k].has_value(), (int)loaded.AfterStates[k].has_value());
            }
        }
        ASSERT_FALSE(
            fileSystem.setTimes(folder.pathOf("a.jpg"), std::nullopt, platform::FileTime{chosenSeconds, 0}));

        const RecoveryResult result =
            recoverRun(*journal, journal->unfinishedRun().value().id, c.choice, fileSystem);

        EXPECT_TRUE(result.failures.empty() && result.leftAlone.empty()) << c.says << ": " << result.message;
        EXPECT_EQ(modifiedSeconds(folder.pathOf("a.jpg")), c.planned ? chosenSeconds : own) << c.says;
        EXPECT_EQ(modifiedSeconds(folder.pathOf("b.jpg")), c.planned ? chosenSeconds : own) << c.says;
    }
}

} // namespace
} // namespace quorvane::core
