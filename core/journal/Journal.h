#pragma once

#include "core/runs/ConversionRecord.h"
#include "core/runs/RunRecorder.h"
#include "core/runs/UndoSnapshot.h"
#include "core/text/Translation.h"
#include "platform/FileSystem.h"
#include "platform/posix/FileLock.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;

namespace quorvane::core {

// How a recorded run stands; the values are stored, so they never change.
enum class RunState
{
    Unfinished = 0, // begun and never marked finished: cut short by a crash, a kill or a power cut
    Finished = 1,
    Undone = 2,
    PartlyUndone = 3,
};

// One run as the history window lists it.
struct RunSummary
{
    std::int64_t id = 0;
    std::int64_t started = 0; // seconds since the Unix epoch
    std::string folder;
    platform::FileIdentity folderIdentity;
    RunKind kind = RunKind::Rename;
    std::int64_t files = 0;
    std::int64_t failures = 0;
    RunState state = RunState::Unfinished;
    // False for a conversion whose sources could not go to the trash, and for a run whose end could
    // not be written.
    bool undoable = true;
    std::int64_t undoOf = 0; // for an undo: the run it undid
};

// The name of the journal's file.
inline constexpr std::string_view journalFileName = "history.sqlite3";

// How many finished runs the journal keeps; the oldest beyond it are dropped.
inline constexpr std::size_t keptRuns = 100;

// Where the journal lives: beside the settings file of a portable copy (one whose settings file is
// not $XDG_CONFIG_HOME/quorvane/quorvn.ini), else $XDG_STATE_HOME/quorvane/history.sqlite3, where an
// empty or relative XDG_STATE_HOME means home/.local/state.
std::string journalFilePath(std::string_view settingsPath, std::string_view xdgConfigHome,
                            std::string_view xdgStateHome, std::string_view home);
// journalFilePath for the running system's environment.
std::string locateJournalFile(std::string_view settingsPath);

inline constexpr const char* journalUnavailableMessage =
    QT_TRANSLATE_NOOP("Journal", "履歴を使用できません: %1");

// The journal of runs: an SQLite database in WAL mode. Each run's plan is committed to the disk
// before the run's first change; its progress is written in batches without waiting for the disk,
// and its end with the final state of every entry. Names are stored as bytes, exactly.
class Journal : public RunRecorder, public ConversionRecorder
{
public:
    // Opens or creates the journal at path, creating its folder. On failure gives nothing and says
    // why in reason (a folder nobody may write, a file that is not a journal, one of a newer version,
    // a journal that another copy of the program is using).
    static std::unique_ptr<Journal> open(const std::string& path, std::string& reason);
    ~Journal() override;
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    void begin(RunKind kind, const UndoSnapshot& plan) override;
    void advance(std::size_t done) override;
    void finish(const UndoSnapshot& result, std::size_t failures) override;

    void beginConversion(RunKind kind, const ConversionRecord& plan) override;
    void noteImage(std::size_t index, const ConvertedImage& image) override;
    void finishConversion(const ConversionRecord& result, bool undoable, std::size_t failures) override;
    // Whether run id holds images of a conversion (a conversion, or the undo of one).
    bool holdsImages(std::int64_t id);
    // The images of run id: its plan with the progress noted since, or its end; false when they
    // cannot be read whole.
    bool loadConversion(std::int64_t id, ConversionRecord& record);

    // The next run begun is an undo of the run id (0: it is not).
    void setUndoTarget(std::int64_t id) { undoTarget_ = id; }
    // Marks the next run begun as one that cannot be undone (its sources are gone for good).
    void setNotUndoable() { undoable_ = false; }
    // The run that the last finish kept; 0 when it was forgotten or no run was recorded.
    std::int64_t lastFinished() const { return lastFinished_; }

    // Every run kept, newest first, without their entries.
    std::vector<RunSummary> runs();
    std::optional<RunSummary> run(std::int64_t id);
    // The oldest run never marked finished, if any.
    std::optional<RunSummary> unfinishedRun();
    // The entries of run id as the snapshot an undo reads; false when they cannot be read whole.
    bool loadRun(std::int64_t id, UndoSnapshot& snapshot);
    void setState(std::int64_t id, RunState state);
    // A later run of the same folder, neither undone nor an undo, that changed one of the files of
    // run id.
    std::optional<RunSummary> laterRunTouching(std::int64_t id);

    // Why the journal stopped working (a full disk, say), once; empty otherwise and after the first
    // call. After a failure every later call does nothing.
    std::string takeFailure();
    bool broken() const { return broken_; }

private:
    explicit Journal(sqlite3* db);
    bool exec(const char* sql);
    void fail();
    bool writeEntries(std::int64_t run, const UndoSnapshot& snapshot, bool withAfterStates);
    // Begins the transaction that writes a run's plan and inserts the run; its id, or 0 after a
    // failure.
    std::int64_t openRun(RunKind kind, const ListedFolder& folder, std::size_t files, bool undoable,
                         std::int64_t undoOf, bool statesChanged);
    void keepEndWithoutEntries(std::int64_t id, std::size_t failures);
    bool writeImages(std::int64_t run, const ConversionRecord& record);
    // The identities of the files run id changed, sorted; false when its record cannot be read.
    bool identitiesOf(std::int64_t id, std::vector<platform::FileIdentity>& identities);
    void dropOldRuns();

    sqlite3* db_;
    // Held while the journal is open, so that a second copy of the program never takes a run in
    // progress for one cut short.
    platform::FileLock lock_;
    bool broken_ = false;
    std::string failure_;
    bool failureTaken_ = false;
    std::int64_t current_ = 0;
    std::size_t written_ = 0;
    std::int64_t undoTarget_ = 0;
    std::int64_t lastFinished_ = 0;
    bool undoable_ = true;
};

} // namespace quorvane::core
