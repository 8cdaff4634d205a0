#include "core/journal/Journal.h"

#include "core/journal/HistoryUndo.h"
#include "core/listing/Listing.h"
#include "core/runs/RenameRun.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TempFolder.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>

namespace quorvane::core {
namespace {

struct Lists
{
    FileTable before;
    FileTable after;
};

// Lists folder and plans the renames of renames (before -> after name), in list order.
Lists planned(platform::FileSystem& fileSystem, const testing::TempFolder& folder,
              const std::map<std::string, std::string>& renames)
{
    Lists lists;
    listFolder(fileSystem, {folder.path(), "*", false, false}, lists.before, lists.after);
    for (int row = 1; row < lists.before.rowCount(); ++row) {
        const std::string name(lists.before.cell(NameColumn, row));
        const auto found = renames.find(name);
        lists.after.setCell(NameColumn, row, found == renames.end() ? name : found->second);
    }
    return lists;
}

struct History
{
    testing::TempFolder state;
    platform::PosixFileSystem fileSystem;
    std::unique_ptr<Journal> journal = open();

    // The journal as the next start of the program finds it.
    void reopen()
    {
        journal.reset();
        journal = open();
    }
    std::unique_ptr<Journal> open() const
    {
        std::string reason;
        auto opened = Journal::open(state.pathOf("history.sqlite3"), reason);
        EXPECT_TRUE(opened) << reason;
        return opened;
    }
    std::int64_t rename(const testing::TempFolder& folder, const std::map<std::string, std::string>& renames)
    {
        const Lists lists = planned(fileSystem, folder, renames);
        UndoSnapshot snapshot;
        runRenames(lists.before, lists.after, folder.path(), fileSystem, snapshot, {}, {}, journal.get());
        return journal->lastFinished();
    }
};

TEST(Journal, KeepsEveryNameByteForByteAndListsRunsNewestFirst)
{
    const testing::TempFolder folder;
    folder.writeFile("a\xff\xfe.jpg");
    folder.writeFile("b.jpg");
    History history;
    const std::int64_t first = history.rename(folder, {{"a\xff\xfe.jpg", "\x82\xa0.jpg"}});
    const std::int64_t second = history.rename(folder, {{"b.jpg", "c.jpg"}});
    history.reopen();

    const std::vector<RunSummary> runs = history.journal->runs();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].id, second);
    EXPECT_EQ(runs[1].id, first);
    EXPECT_EQ(runs[1].folder, folder.path());
    EXPECT_EQ(runs[1].state, RunState::Finished);
    UndoSnapshot loaded;
    ASSERT_TRUE(history.journal->loadRun(first, loaded));
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded.BeforeRows[0][NameColumn], "a\xff\xfe.jpg");
    EXPECT_EQ(loaded.AfterRows[0][NameColumn], "\x82\xa0.jpg");
    EXPECT_TRUE(loaded.Renamed[0]);
    EXPECT_TRUE(loaded.Identities[0].known());
}

TEST(Journal, AJournalThatCannotBeUsedIsRefusedWithItsReason)
{
    const testing::TempFolder state;
    state.writeFile("file");
    state.writeFile("garbage.sqlite3", std::string(4096, 'x'));
    {
        sqlite3* db = nullptr;
        sqlite3_open(state.pathOf("newer.sqlite3").c_str(), &db);
        sqlite3_exec(db, "PRAGMA user_version=99", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    struct Case
    {
        const char* says;
        std::string path;
    };
    const Case cases[] = {
        {"a folder that cannot be made", state.pathOf("file") + "/quorvane/history.sqlite3"},
        {"a file that is not a journal", state.pathOf("garbage.sqlite3")},
        {"a journal of a newer version", state.pathOf("newer.sqlite3")},
        {"a journal another copy of the program is using", state.pathOf("used.sqlite3")},
    };
    std::string unused;
    const std::unique_ptr<Journal> inUse = Journal::open(state.pathOf("used.sqlite3"), unused);
    ASSERT_TRUE(inUse) << unused;
    for (const Case& c : cases) {
        std::string reason;
        EXPECT_FALSE(Journal::open(c.path, reason)) << c.says;
        EXPECT_FALSE(reason.empty()) << c.says;
    }
}

TEST(Journal, AJournalOfTheFirstVersionKeepsItsRunsAndRecordsConversions)
{
    const testing::TempFolder state;
    const std::string path = state.pathOf("history.sqlite3");
    {
        // The layout the first version of the journal wrote, with one finished rename run.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        const char* firstVersion =
            "PRAGMA journal_mode=WAL;"
            "CREATE TABLE runs(id INTEGER PRIMARY KEY, started INTEGER NOT NULL, folder BLOB NOT NULL,"
            " folder_device INTEGER NOT NULL, folder_inode INTEGER NOT NULL, kind INTEGER NOT NULL,"
            " files INTEGER NOT NULL, failures INTEGER NOT NULL DEFAULT 0, state INTEGER NOT NULL,"
            " undoable INTEGER NOT NULL DEFAULT 1, undo_of INTEGER NOT NULL DEFAULT 0,"
            " done INTEGER NOT NULL DEFAULT 0, states_changed INTEGER NOT NULL DEFAULT 0);"
            "CREATE TABLE entries(run INTEGER NOT NULL, chunk INTEGER NOT NULL, data BLOB NOT NULL,"
            " PRIMARY KEY(run, chunk)) WITHOUT ROWID;"
            "INSERT INTO runs(started, folder, folder_device, folder_inode, kind, files, state)"
            " VALUES(1700000000, CAST('/photos' AS BLOB), 1, 2, 1, 0, 1);"
            "PRAGMA user_version=1;";
        ASSERT_EQ(sqlite3_exec(db, firstVersion, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }
    std::string reason;
    const std::unique_ptr<Journal> journal = Journal::open(path, reason);
    ASSERT_TRUE(journal) << reason;
    ASSERT_EQ(journal->runs().size(), 1u);
    EXPECT_EQ(journal->runs().front().folder, "/photos");

    ConversionRecord record{{"/photos", {1, 2}}, {}};
    ConvertedImage& image = record.images.emplace_back();
    image.sourceName = "a.bmp";
    image.source = {1, 7};
    image.newName = "a.jpg";
    image.converted = true;
    journal->beginConversion(RunKind::Conversion, record);
    journal->finishConversion(record, true, 0);
    ASSERT_NE(journal->lastFinished(), 0);
    ConversionRecord read;
    ASSERT_TRUE(journal->loadConversion(journal->lastFinished(), read));
    EXPECT_EQ(read.images, record.images);
    EXPECT_FALSE(journal->broken());
}

TEST(Journal, KeepsTheLastHundredRuns)
{
    const testing::TempFolder folder;
    folder.writeFile("a0");
    History history;
    std::int64_t last = 0;
    for (int i = 0; i < static_cast<int>(keptRuns) + 5; ++i) {
        last = history.rename(folder, {{"a" + std::to_string(i), "a" + std::to_string(i + 1)}});
    }
    const std::vector<RunSummary> runs = history.journal->runs();
    ASSERT_EQ(runs.size(), keptRuns);
    EXPECT_EQ(runs.front().id, last);
    EXPECT_EQ(runs.back().id, last - static_cast<std::int64_t>(keptRuns) + 1);
}

TEST(Journal, ARunIsUndoneFromTheHistoryAfterARestart)
{
    const testing::TempFolder folder;
    folder.writeFile("a.jpg", "A");
    folder.writeFile("b.jpg", "B");
    History history;
    const std::int64_t run = history.rename(folder, {{"a.jpg", "b.jpg"}, {"b.jpg", "a.jpg"}});
    history.reopen();

    const UndoResult result = undoRecordedRun(*history.journal, run, history.fileSystem);

    EXPECT_FALSE(result.refusal) << result.message;
    EXPECT_EQ(folder.readFile("a.jpg"), "A");
    EXPECT_EQ(folder.readFile("b.jpg"), "B");
    EXPECT_EQ(history.journal->run(run)->state, RunState::Undone);
    EXPECT_EQ(history.journal->runs().front().kind, RunKind::Undo);
    EXPECT_TRUE(undoRecordedRun(*history.journal, run, history.fileSystem).refusal);
}

TEST(Journal, ARunWhoseFilesALaterRunChangedIsRefusedUntilThatRunIsUndone)
{
    const testing::TempFolder folder;
    folder.writeFile("a.jpg", "A");
    History history;
    const std::int64_t first = history.rename(folder, {{"a.jpg", "b.jpg"}});
    const std::int64_t second = history.rename(folder, {{"b.jpg", "c.jpg"}});

    const UndoResult refused = undoRecordedRun(*history.journal, first, history.fileSystem);
    EXPECT_TRUE(refused.refusal);
    EXPECT_NE(refused.message.find(runTitle(*history.journal->run(second))), std::string::npos)
        << refused.message;
    EXPECT_EQ(folder.readFile("c.jpg"), "A");

    EXPECT_FALSE(undoRecordedRun(*history.journal, second, history.fileSystem).refusal);
    EXPECT_FALSE(undoRecordedRun(*history.journal, first, history.fileSystem).refusal);
    EXPECT_EQ(folder.readFile("a.jpg"), "A");
}

// Lets the journal's files grow by only a few pages from the moment a run ends, as on a disk that
// fills up during the run: the whole record of the run's end does not fit, one small update does.
class DiskFullAtEnd : public RunRecorder
{
public:
    DiskFullAtEnd(Journal& journal, std::string walPath) : journal_(journal), walPath_(std::move(walPath))
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    }
    ~DiskFullAtEnd() override
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    void begin(RunKind kind, const UndoSnapshot& plan) override { journal_.begin(kind, plan); }
    void advance(std::size_t done) override { journal_.advance(done); }
    void finish(const UndoSnapshot& result, std::size_t failures) override
    {
        constexpr rlim_t fewPages = 4 * (4096 + 24);
        const rlimit full{std::filesystem::file_size(walPath_) + fewPages, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        journal_.finish(result, failures);
    }

private:
    Journal& journal_;
    std::string walPath_;
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST(Journal, ARunWhoseEndCannotBeWrittenIsKeptAsFinishedAndCannotBeUndone)
{
    const testing::TempFolder folder;
    std::map<std::string, std::string> renames;
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "photo" + std::to_string(i) + ".jpg";
        folder.writeFile(name);
        renames[name] = "renamed" + std::to_string(i) + ".jpg";
    }
    History history;
    const Lists lists = planned(history.fileSystem, folder, renames);
    UndoSnapshot snapshot;
    {
        DiskFullAtEnd recorder(*history.journal, history.state.pathOf("history.sqlite3-wal"));
        runRenames(lists.before, lists.after, folder.path(), history.fileSystem, snapshot, {}, {}, &recorder);
    }
    EXPECT_FALSE(history.journal->takeFailure().empty());
    EXPECT_TRUE(std::filesystem::exists(folder.pathOf("renamed2999.jpg")));
    history.reopen();

    EXPECT_FALSE(history.journal->unfinishedRun());
    const std::vector<RunSummary> runs = history.journal->runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].state, RunState::Finished);
    EXPECT_FALSE(runs[0].undoable);
    EXPECT_TRUE(undoRecordedRun(*history.journal, runs[0].id, history.fileSystem).refusal);
    EXPECT_TRUE(std::filesystem::exists(folder.pathOf("renamed0.jpg")));
}

} // namespace
} // namespace quorvane::core
