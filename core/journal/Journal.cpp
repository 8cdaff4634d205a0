#include "Journal.h"

#include "core/listing/FileTable.h"
#include "platform/ErrorCode.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sqlite3.h>
#include <utility>

namespace quorvane::core {
namespace {

// The journal's layout. A newer program that changes it raises the number; an older program
// refuses a journal it does not know instead of misreading it. Version 2 added the images of
// conversion runs; a journal of version 1 gains their tables when it is opened.
constexpr int schemaVersion = 2;
// Entries are stored in chunks of this many, one row each, so that a run of 100,000 files costs a
// few dozen rows to write and read.
constexpr std::size_t entriesPerChunk = 4096;
// Progress is written every this many steps.
constexpr std::size_t stepsPerProgress = 8192;

const char* const schema = R"(
CREATE TABLE IF NOT EXISTS runs(
    id INTEGER PRIMARY KEY,
    started INTEGER NOT NULL,
    folder BLOB NOT NULL,
    folder_device INTEGER NOT NULL,
    folder_inode INTEGER NOT NULL,
    kind INTEGER NOT NULL,
    files INTEGER NOT NULL,
    failures INTEGER NOT NULL DEFAULT 0,
    state INTEGER NOT NULL,
    undoable INTEGER NOT NULL DEFAULT 1,
    undo_of INTEGER NOT NULL DEFAULT 0,
    done INTEGER NOT NULL DEFAULT 0,
    states_changed INTEGER NOT NULL DEFAULT 0);
CREATE TABLE IF NOT EXISTS entries(
    run INTEGER NOT NULL,
    chunk INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(run, chunk)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS images(
    run INTEGER NOT NULL,
    chunk INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(run, chunk)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS image_steps(
    run INTEGER NOT NULL,
    image INTEGER NOT NULL,
    data BLOB NOT NULL,
    PRIMARY KEY(run, image)) WITHOUT ROWID;
)";

// One prepared statement, finalized when it goes.
class Statement
{
public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK) {
            statement_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value)
    {
        sqlite3_bind_int64(statement_, index, value);
        return *this;
    }
    Statement& bind(int index, std::string_view bytes)
    {
        // An empty blob is still a blob, never NULL.
        sqlite3_bind_blob64(statement_, index, bytes.empty() ? "" : bytes.data(), bytes.size(),
                            SQLITE_TRANSIENT);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int step() { return statement_ == nullptr ? SQLITE_ERROR : sqlite3_step(statement_); }
    bool run()
    {
        const int result = step();
        sqlite3_reset(statement_);
        return result == SQLITE_DONE;
    }
    std::int64_t integer(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string bytes(int column) const
    {
        const void* data = sqlite3_column_blob(statement_, column);
        const int size = sqlite3_column_bytes(statement_, column);
        return data == nullptr ? std::string() : std::string(static_cast<const char*>(data), size);
    }

private:
    sqlite3_stmt* statement_ = nullptr;
};

// Little-endian fields of fixed width and length-prefixed bytes.
class Writer
{
public:
    void u8(std::uint8_t value) { out_.push_back(static_cast<char>(value)); }
    void u32(std::uint32_t value) { fixed(value, 4); }
    void u64(std::uint64_t value) { fixed(value, 8); }
    void bytes(std::string_view value)
    {
        u32(static_cast<std::uint32_t>(value.size()));
        out_.append(value);
    }
    std::string& out() { return out_; }

private:
    void fixed(std::uint64_t value, int width)
    {
        for (int i = 0; i < width; ++i) {
            out_.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
        }
    }
    std::string out_;
};

// Reads what Writer wrote; a read past the end makes the whole read fail, never the program.
class Reader
{
public:
    explicit Reader(std::string_view in) : in_(in) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return in_.empty(); }
    std::uint8_t u8() { return static_cast<std::uint8_t>(fixed(1)); }
    std::uint32_t u32() { return static_cast<std::uint32_t>(fixed(4)); }
    std::uint64_t u64() { return fixed(8); }
    std::string_view bytes()
    {
        const std::uint32_t size = u32();
        if (!ok_ || size > in_.size()) {
            ok_ = false;
            return {};
        }
        const std::string_view value = in_.substr(0, size);
        in_.remove_prefix(size);
        return value;
    }

private:
    std::uint64_t fixed(std::size_t width)
    {
        if (!ok_ || in_.size() < width) {
            ok_ = false;
            return 0;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value |= std::uint64_t{static_cast<unsigned char>(in_[i])} << (8 * i);
        }
        in_.remove_prefix(width);
        return value;
    }
    std::string_view in_;
    bool ok_ = true;
};

enum EntryFlag : std::uint8_t
{
    RenamedFlag = 1,
    BeforeStateFlag = 2,
    AfterStateFlag = 4,
    CellsFlag = 8,
};

void writeState(Writer& out, const platform::FileState& state)
{
    out.u64(static_cast<std::uint64_t>(state.modified.seconds));
    out.u32(state.modified.nanoseconds);
    out.u64(static_cast<std::uint64_t>(state.accessed.seconds));
    out.u32(state.accessed.nanoseconds);
    out.u32(state.mode);
    out.u8(state.dosAttributes ? 1 : 0);
    out.u32(state.dosAttributes.value_or(0));
    out.u64(state.identity.device);
    out.u64(state.identity.inode);
}

platform::FileState readState(Reader& in)
{
    platform::FileState state;
    state.modified.seconds = static_cast<std::int64_t>(in.u64());
    state.modified.nanoseconds = in.u32();
    state.accessed.seconds = static_cast<std::int64_t>(in.u64());
    state.accessed.nanoseconds = in.u32();
    state.mode = in.u32();
    const bool hasDos = in.u8() != 0;
    const std::uint32_t dos = in.u32();
    if (hasDos) {
        state.dosAttributes = dos;
    }
    state.identity.device = in.u64();
    state.identity.inode = in.u64();
    return state;
}

void writeCells(Writer& out, const FileRow& row)
{
    for (int column = 0; column < FileRow::cellCount; ++column) {
        out.bytes(row[column]);
    }
}

FileRow readCells(Reader& in)
{
    FileRow row;
    for (int column = 0; column < FileRow::cellCount; ++column) {
        row.set(column, in.bytes());
    }
    return row;
}

// One entry: identity and the two names; where the run changes states, also the six cells of both
// rows (the texts an undo falls back on); and both states where they were read.
void writeEntry(Writer& out, const UndoSnapshot& snapshot, std::size_t k, bool withAfterState)
{
    const bool after = withAfterState && snapshot.AfterStates[k];
    const bool cells = snapshot.StatesChanged;
    const std::uint8_t flags = (snapshot.Renamed[k] ? RenamedFlag : 0) |
                               (snapshot.BeforeStates[k] ? BeforeStateFlag : 0) |
                               (after ? AfterStateFlag : 0) | (cells ? CellsFlag : 0);
    out.u8(flags);
    out.u64(snapshot.Identities[k].device);
    out.u64(snapshot.Identities[k].inode);
    if (cells) {
        writeCells(out, snapshot.BeforeRows[k]);
        writeCells(out, snapshot.AfterRows[k]);
    } else {
        out.bytes(snapshot.BeforeRows[k][NameColumn]);
        out.bytes(snapshot.AfterRows[k][NameColumn]);
    }
    if (snapshot.BeforeStates[k]) {
        writeState(out, *snapshot.BeforeStates[k]);
    }
    if (after) {
        writeState(out, *snapshot.AfterStates[k]);
    }
}

bool readEntry(Reader& in, UndoSnapshot& snapshot)
{
    const std::uint8_t flags = in.u8();
    platform::FileIdentity identity;
    identity.device = in.u64();
    identity.inode = in.u64();
    FileRow before;
    FileRow after;
    if (flags & CellsFlag) {
        before = readCells(in);
        after = readCells(in);
    } else {
        before.set(NameColumn, in.bytes());
        after.set(NameColumn, in.bytes());
    }
    before.setIdentity(identity);
    std::optional<platform::FileState> beforeState;
    std::optional<platform::FileState> afterState;
    if (flags & BeforeStateFlag) {
        beforeState = readState(in);
    }
    if (flags & AfterStateFlag) {
        afterState = readState(in);
    }
    if (!in.ok()) {
        return false;
    }
    snapshot.BeforeRows.push_back(std::move(before));
    snapshot.AfterRows.push_back(std::move(after));
    snapshot.Identities.push_back(identity);
    snapshot.BeforeStates.push_back(beforeState);
    snapshot.AfterStates.push_back(afterState);
    snapshot.Renamed.push_back((flags & RenamedFlag) != 0);
    return true;
}

enum ImageFlag : std::uint8_t
{
    ConvertedFlag = 1,
    ReplacedDeletedFlag = 2,
};

void writeIdentity(Writer& out, const platform::FileIdentity& identity)
{
    out.u64(identity.device);
    out.u64(identity.inode);
}

platform::FileIdentity readIdentity(Reader& in)
{
    platform::FileIdentity identity;
    identity.device = in.u64();
    identity.inode = in.u64();
    return identity;
}

void writeImage(Writer& out, const ConvertedImage& image)
{
    out.u8((image.converted ? ConvertedFlag : 0) | (image.replacedDeleted ? ReplacedDeletedFlag : 0));
    out.u8(static_cast<std::uint8_t>(image.fate));
    writeIdentity(out, image.source);
    out.bytes(image.sourceName);
    out.bytes(image.newName);
    writeIdentity(out, image.replaced);
    out.bytes(image.replacedTrash);
    writeIdentity(out, image.newFile);
    out.u64(image.newSize);
    out.u64(static_cast<std::uint64_t>(image.newModified.seconds));
    out.u32(image.newModified.nanoseconds);
    out.bytes(image.sourceTrash);
}

bool readImage(Reader& in, ConvertedImage& image)
{
    const std::uint8_t flags = in.u8();
    const std::uint8_t fate = in.u8();
    image.converted = (flags & ConvertedFlag) != 0;
    image.replacedDeleted = (flags & ReplacedDeletedFlag) != 0;
    image.fate = fate <= static_cast<std::uint8_t>(SourceFate::Left) ? static_cast<SourceFate>(fate)
                                                                     : SourceFate::Pending;
    image.source = readIdentity(in);
    image.sourceName = in.bytes();
    image.newName = in.bytes();
    image.replaced = readIdentity(in);
    image.replacedTrash = in.bytes();
    image.newFile = readIdentity(in);
    image.newSize = in.u64();
    image.newModified.seconds = static_cast<std::int64_t>(in.u64());
    image.newModified.nanoseconds = in.u32();
    image.sourceTrash = in.bytes();
    return in.ok();
}

constexpr const char* summaryColumns =
    "SELECT id, started, folder, folder_device, folder_inode, kind, files, "
    "failures, state, undoable, undo_of FROM runs ";

RunSummary summaryOf(const Statement& row)
{
    RunSummary summary;
    summary.id = row.integer(0);
    summary.started = row.integer(1);
    summary.folder = row.bytes(2);
    summary.folderIdentity = {static_cast<std::uint64_t>(row.integer(3)),
                              static_cast<std::uint64_t>(row.integer(4))};
    summary.kind = static_cast<RunKind>(row.integer(5));
    summary.files = row.integer(6);
    summary.failures = row.integer(7);
    summary.state = static_cast<RunState>(row.integer(8));
    summary.undoable = row.integer(9) != 0;
    summary.undoOf = row.integer(10);
    return summary;
}

std::string withoutTrailingPeriod(std::string text)
{
    while (!text.empty() && (text.back() == '.' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

} // namespace

std::string journalFilePath(std::string_view settingsPath, std::string_view xdgConfigHome,
                            std::string_view xdgStateHome, std::string_view home)
{
    const auto absoluteOr = [&](std::string_view variable, std::string_view fallback) {
        return !variable.empty() && variable.front() == '/' ? std::string(variable)
                                                            : std::string(home) + std::string(fallback);
    };
    const std::size_t slash = settingsPath.rfind('/');
    const std::string settingsFolder(slash == std::string_view::npos ? std::string_view(".")
                                                                     : settingsPath.substr(0, slash));
    if (home.empty() || settingsFolder != absoluteOr(xdgConfigHome, "/.config") + "/quorvane") {
        return settingsFolder + "/" + std::string(journalFileName);
    }
    return absoluteOr(xdgStateHome, "/.local/state") + "/quorvane/" + std::string(journalFileName);
}

std::string locateJournalFile(std::string_view settingsPath)
{
    const auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string_view(value == nullptr ? "" : value);
    };
    return journalFilePath(settingsPath, variable("XDG_CONFIG_HOME"), variable("XDG_STATE_HOME"),
                           variable("HOME"));
}

std::unique_ptr<Journal> Journal::open(const std::string& path, std::string& reason)
{
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code created;
    std::filesystem::create_directories(folder, created);
    if (created) {
        reason = withoutTrailingPeriod(folder.string() + ": " + created.message());
        return nullptr;
    }
    platform::FileLock lock;
    if (const std::error_code error = lock.acquire(path + ".lock")) {
        reason = error == std::errc::operation_would_block
                     ? translate("Journal", "別に起動しているプログラムが履歴を使用しています")
                     : withoutTrailingPeriod(path + ".lock: " + platform::errorText(error));
        return nullptr;
    }
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        reason = withoutTrailingPeriod(path + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory"));
        sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<Journal> journal(new Journal(db));
    journal->lock_ = std::move(lock);
    const auto refuse = [&](const std::string& why) {
        reason = withoutTrailingPeriod(path + ": " + why);
        return nullptr;
    };
    sqlite3_busy_timeout(db, 2000);
    // A file that is not a database fails here, a damaged one in the check below.
    if (!journal->exec("PRAGMA journal_mode=WAL") || !journal->exec("PRAGMA synchronous=NORMAL")) {
        return refuse(sqlite3_errmsg(db));
    }
    Statement version(db, "PRAGMA user_version");
    if (version.step() != SQLITE_ROW) {
        return refuse(sqlite3_errmsg(db));
    }
    const std::int64_t found = version.integer(0);
    if (found > schemaVersion) {
        return refuse(translate("Journal", "新しい版のプログラムの履歴です"));
    }
    Statement check(db, "PRAGMA quick_check");
    if (check.step() != SQLITE_ROW || check.bytes(0) != "ok") {
        return refuse(translate("Journal", "履歴のファイルが壊れています"));
    }
    if (found < schemaVersion) {
        if (!journal->exec(schema) ||
            !journal->exec(("PRAGMA user_version=" + std::to_string(schemaVersion)).c_str())) {
            return refuse(sqlite3_errmsg(db));
        }
    }
    return journal;
}

Journal::Journal(sqlite3* db) : db_(db) {}

Journal::~Journal()
{
    sqlite3_close_v2(db_);
}

bool Journal::exec(const char* sql)
{
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void Journal::fail()
{
    if (!broken_) {
        failure_ = withoutTrailingPeriod(sqlite3_errmsg(db_));
        broken_ = true;
    }
    exec("ROLLBACK");
}

std::string Journal::takeFailure()
{
    if (!broken_ || failureTaken_) {
        return {};
    }
    failureTaken_ = true;
    return failure_;
}

bool Journal::writeEntries(std::int64_t run, const UndoSnapshot& snapshot, bool withAfterStates)
{
    Statement insert(db_, "INSERT INTO entries(run, chunk, data) VALUES(?, ?, ?)");
    Writer out;
    std::int64_t chunk = 0;
    for (std::size_t first = 0; first < snapshot.size(); first += entriesPerChunk) {
        out.out().clear();
        const std::size_t last = std::min(snapshot.size(), first + entriesPerChunk);
        for (std::size_t k = first; k < last; ++k) {
            writeEntry(out, snapshot, k, withAfterStates);
        }
        if (!insert.bind(1, run).bind(2, chunk++).bind(3, out.out()).run()) {
            return false;
        }
    }
    return true;
}

std::int64_t Journal::openRun(RunKind kind, const ListedFolder& folder, std::size_t files, bool undoable,
                              std::int64_t undoOf, bool statesChanged)
{
    const std::int64_t started =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    // The plan must be on the disk before the first file changes: the commit that follows this
    // transaction waits for it.
    if (!exec("PRAGMA synchronous=FULL") || !exec("BEGIN IMMEDIATE")) {
        fail();
        return 0;
    }
    Statement insert(db_,
                     "INSERT INTO runs(started, folder, folder_device, folder_inode, kind, files, state, "
                     "undoable, undo_of, states_changed) VALUES(?, ?, ?, ?, ?, ?, 0, ?, ?, ?)");
    if (!insert.bind(1, started)
             .bind(2, std::string_view(folder.path))
             .bind(3, static_cast<std::int64_t>(folder.identity.device))
             .bind(4, static_cast<std::int64_t>(folder.identity.inode))
             .bind(5, static_cast<std::int64_t>(kind))
             .bind(6, static_cast<std::int64_t>(files))
             .bind(7, std::int64_t{undoable})
             .bind(8, undoOf)
             .bind(9, std::int64_t{statesChanged})
             .run()) {
        fail();
        return 0;
    }
    return sqlite3_last_insert_rowid(db_);
}

void Journal::begin(RunKind kind, const UndoSnapshot& plan)
{
    const std::int64_t undoOf = std::exchange(undoTarget_, 0);
    const bool undoable = std::exchange(undoable_, true);
    current_ = 0;
    written_ = 0;
    if (broken_) {
        return;
    }
    const std::int64_t id = openRun(kind, plan.Folder, plan.size(), undoable, undoOf, plan.StatesChanged);
    if (id == 0) {
        return;
    }
    // Before a timestamp or attribute run, the states it will leave are not known yet: the plan is
    // the after list's texts.
    const bool afterStatesKnown = kind != RunKind::Timestamp && kind != RunKind::Attribute;
    if (!writeEntries(id, plan, afterStatesKnown) || !exec("COMMIT") || !exec("PRAGMA synchronous=NORMAL")) {
        return fail();
    }
    current_ = id;
}

void Journal::advance(std::size_t done)
{
    if (broken_ || current_ == 0 || done < written_ + stepsPerProgress) {
        return;
    }
    written_ = done;
    Statement update(db_, "UPDATE runs SET done = ? WHERE id = ?");
    if (!update.bind(1, static_cast<std::int64_t>(done)).bind(2, current_).run()) {
        fail();
    }
}

void Journal::finish(const UndoSnapshot& result, std::size_t failures)
{
    const std::int64_t id = std::exchange(current_, 0);
    lastFinished_ = 0;
    if (id == 0) {
        return;
    }
    if (broken_) {
        return keepEndWithoutEntries(id, failures);
    }
    if (!exec("BEGIN IMMEDIATE")) {
        fail();
        return keepEndWithoutEntries(id, failures);
    }
    Statement drop(db_, "DELETE FROM entries WHERE run = ?");
    if (!drop.bind(1, id).run()) {
        return fail();
    }
    if (result.empty()) {
        Statement forget(db_, "DELETE FROM runs WHERE id = ?");
        if (!forget.bind(1, id).run() || !exec("COMMIT")) {
            return fail();
        }
        return;
    }
    Statement update(db_, "UPDATE runs SET state = 1, files = ?, failures = ?, done = ? WHERE id = ?");
    if (!update.bind(1, static_cast<std::int64_t>(result.size()))
             .bind(2, static_cast<std::int64_t>(failures))
             .bind(3, static_cast<std::int64_t>(result.size()))
             .bind(4, id)
             .run() ||
        !writeEntries(id, result, true) || !exec("COMMIT")) {
        fail();
        return keepEndWithoutEntries(id, failures);
    }
    lastFinished_ = id;
    dropOldRuns();
}

void Journal::keepEndWithoutEntries(std::int64_t id, std::size_t failures)
{
    // The run did end, though what it left could not be written (a full disk, say). One small
    // update still fits where the whole record did not; it keeps the next start from offering to
    // recover a run that is over. The record holds the plan, not the outcome, so the run cannot be
    // undone from it.
    Statement mark(db_, "UPDATE runs SET state = 1, undoable = 0, failures = ? WHERE id = ?");
    mark.bind(1, static_cast<std::int64_t>(failures)).bind(2, id).run();
}

void Journal::dropOldRuns()
{
    // Unfinished runs are never dropped: they wait for their recovery.
    const std::string cut = "(SELECT id FROM runs WHERE state <> 0 ORDER BY id DESC LIMIT -1 OFFSET " +
                            std::to_string(keptRuns) + ")";
    if (!exec("BEGIN IMMEDIATE") || !exec(("DELETE FROM entries WHERE run IN " + cut).c_str()) ||
        !exec(("DELETE FROM images WHERE run IN " + cut).c_str()) ||
        !exec(("DELETE FROM runs WHERE id IN " + cut).c_str()) || !exec("COMMIT")) {
        fail();
    }
}

std::vector<RunSummary> Journal::runs()
{
    std::vector<RunSummary> found;
    if (broken_) {
        return found;
    }
    Statement select(db_, (std::string(summaryColumns) + "ORDER BY id DESC").c_str());
    while (select.step() == SQLITE_ROW) {
        found.push_back(summaryOf(select));
    }
    return found;
}

std::optional<RunSummary> Journal::run(std::int64_t id)
{
    if (broken_) {
        return std::nullopt;
    }
    Statement select(db_, (std::string(summaryColumns) + "WHERE id = ?").c_str());
    select.bind(1, id);
    if (select.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return summaryOf(select);
}

std::optional<RunSummary> Journal::unfinishedRun()
{
    if (broken_) {
        return std::nullopt;
    }
    Statement select(db_, (std::string(summaryColumns) + "WHERE state = 0 ORDER BY id LIMIT 1").c_str());
    if (select.step() != SQLITE_ROW) {
        return std::nullopt;
    }
    return summaryOf(select);
}

bool Journal::loadRun(std::int64_t id, UndoSnapshot& snapshot)
{
    snapshot.clear();
    const std::optional<RunSummary> summary = run(id);
    if (!summary) {
        return false;
    }
    Statement states(db_, "SELECT states_changed FROM runs WHERE id = ?");
    states.bind(1, id);
    snapshot.StatesChanged = states.step() == SQLITE_ROW && states.integer(0) != 0;
    snapshot.Folder = {summary->folder, summary->folderIdentity};
    Statement select(db_, "SELECT data FROM entries WHERE run = ? ORDER BY chunk");
    select.bind(1, id);
    int result = SQLITE_ROW;
    while ((result = select.step()) == SQLITE_ROW) {
        const std::string data = select.bytes(0);
        Reader in(data);
        while (!in.atEnd()) {
            if (!readEntry(in, snapshot)) {
                snapshot.clear();
                return false;
            }
        }
    }
    if (result != SQLITE_DONE || static_cast<std::int64_t>(snapshot.size()) != summary->files) {
        snapshot.clear();
        return false;
    }
    return true;
}

void Journal::setState(std::int64_t id, RunState state)
{
    if (broken_) {
        return;
    }
    Statement update(db_, "UPDATE runs SET state = ? WHERE id = ?");
    if (!update.bind(1, static_cast<std::int64_t>(state)).bind(2, id).run()) {
        fail();
    }
}

bool Journal::identitiesOf(std::int64_t id, std::vector<platform::FileIdentity>& identities)
{
    identities.clear();
    if (holdsImages(id)) {
        ConversionRecord record;
        if (!loadConversion(id, record)) {
            return false;
        }
        for (const ConvertedImage& image : record.images) {
            identities.push_back(image.source);
            identities.push_back(image.newFile);
        }
    } else {
        UndoSnapshot snapshot;
        if (!loadRun(id, snapshot)) {
            return false;
        }
        identities = std::move(snapshot.Identities);
    }
    std::erase_if(identities, [](const platform::FileIdentity& identity) { return !identity.known(); });
    std::sort(identities.begin(), identities.end(), [](const auto& a, const auto& b) {
        return a.device != b.device ? a.device < b.device : a.inode < b.inode;
    });
    return true;
}

std::optional<RunSummary> Journal::laterRunTouching(std::int64_t id)
{
    const std::optional<RunSummary> chosen = run(id);
    std::vector<platform::FileIdentity> identities;
    if (!chosen || !identitiesOf(id, identities)) {
        return std::nullopt;
    }
    const auto byInode = [](const platform::FileIdentity& a, const platform::FileIdentity& b) {
        return a.device != b.device ? a.device < b.device : a.inode < b.inode;
    };
    Statement select(db_,
                     (std::string(summaryColumns) +
                      "WHERE id > ? AND folder_device = ? AND folder_inode = ? AND kind <> 5 AND state IN "
                      "(0, 1, 3) ORDER BY id")
                         .c_str());
    select.bind(1, id)
        .bind(2, static_cast<std::int64_t>(chosen->folderIdentity.device))
        .bind(3, static_cast<std::int64_t>(chosen->folderIdentity.inode));
    std::vector<RunSummary> later;
    while (select.step() == SQLITE_ROW) {
        later.push_back(summaryOf(select));
    }
    std::vector<platform::FileIdentity> theirs;
    for (const RunSummary& other : later) {
        if (!identitiesOf(other.id, theirs)) {
            continue;
        }
        for (const platform::FileIdentity& identity : theirs) {
            if (std::binary_search(identities.begin(), identities.end(), identity, byInode)) {
                return other;
            }
        }
    }
    return std::nullopt;
}

bool Journal::writeImages(std::int64_t run, const ConversionRecord& record)
{
    Statement insert(db_, "INSERT INTO images(run, chunk, data) VALUES(?, ?, ?)");
    Writer out;
    std::int64_t chunk = 0;
    for (std::size_t first = 0; first < record.images.size(); first += entriesPerChunk) {
        out.out().clear();
        const std::size_t last = std::min(record.images.size(), first + entriesPerChunk);
        for (std::size_t k = first; k < last; ++k) {
            writeImage(out, record.images[k]);
        }
        if (!insert.bind(1, run).bind(2, chunk++).bind(3, out.out()).run()) {
            return false;
        }
    }
    return true;
}

void Journal::beginConversion(RunKind kind, const ConversionRecord& plan)
{
    const std::int64_t undoOf = std::exchange(undoTarget_, 0);
    current_ = 0;
    written_ = 0;
    if (broken_) {
        return;
    }
    const std::int64_t id = openRun(kind, plan.Folder, plan.images.size(), true, undoOf, false);
    if (id == 0) {
        return;
    }
    if (!writeImages(id, plan) || !exec("COMMIT") || !exec("PRAGMA synchronous=NORMAL")) {
        return fail();
    }
    current_ = id;
}

void Journal::noteImage(std::size_t index, const ConvertedImage& image)
{
    if (broken_ || current_ == 0) {
        return;
    }
    Writer out;
    writeImage(out, image);
    Statement note(db_, "INSERT OR REPLACE INTO image_steps(run, image, data) VALUES(?, ?, ?)");
    if (!note.bind(1, current_).bind(2, static_cast<std::int64_t>(index)).bind(3, out.out()).run()) {
        fail();
    }
}

void Journal::finishConversion(const ConversionRecord& result, bool undoable, std::size_t failures)
{
    const std::int64_t id = std::exchange(current_, 0);
    lastFinished_ = 0;
    if (broken_ || id == 0) {
        return;
    }
    Statement dropSteps(db_, "DELETE FROM image_steps WHERE run = ?");
    Statement dropImages(db_, "DELETE FROM images WHERE run = ?");
    if (!exec("BEGIN IMMEDIATE") || !dropSteps.bind(1, id).run() || !dropImages.bind(1, id).run()) {
        return fail();
    }
    if (result.images.empty()) {
        Statement forget(db_, "DELETE FROM runs WHERE id = ?");
        if (!forget.bind(1, id).run() || !exec("COMMIT")) {
            return fail();
        }
        return;
    }
    Statement update(db_, "UPDATE runs SET state = 1, files = ?, failures = ?, done = ?, undoable = ? "
                          "WHERE id = ?");
    if (!update.bind(1, static_cast<std::int64_t>(result.images.size()))
             .bind(2, static_cast<std::int64_t>(failures))
             .bind(3, static_cast<std::int64_t>(result.images.size()))
             .bind(4, std::int64_t{undoable})
             .bind(5, id)
             .run() ||
        !writeImages(id, result) || !exec("COMMIT")) {
        return fail();
    }
    lastFinished_ = id;
    dropOldRuns();
}

bool Journal::holdsImages(std::int64_t id)
{
    if (broken_) {
        return false;
    }
    Statement select(db_, "SELECT 1 FROM images WHERE run = ? LIMIT 1");
    select.bind(1, id);
    return select.step() == SQLITE_ROW;
}

bool Journal::loadConversion(std::int64_t id, ConversionRecord& record)
{
    record = {};
    const std::optional<RunSummary> summary = run(id);
    if (!summary) {
        return false;
    }
    record.Folder = {summary->folder, summary->folderIdentity};
    Statement select(db_, "SELECT data FROM images WHERE run = ? ORDER BY chunk");
    select.bind(1, id);
    int result = SQLITE_ROW;
    while ((result = select.step()) == SQLITE_ROW) {
        const std::string data = select.bytes(0);
        Reader in(data);
        while (!in.atEnd()) {
            if (!readImage(in, record.images.emplace_back())) {
                record = {};
                return false;
            }
        }
    }
    if (result != SQLITE_DONE || static_cast<std::int64_t>(record.images.size()) != summary->files) {
        record = {};
        return false;
    }
    Statement steps(db_, "SELECT image, data FROM image_steps WHERE run = ?");
    steps.bind(1, id);
    while (steps.step() == SQLITE_ROW) {
        const std::int64_t index = steps.integer(0);
        const std::string data = steps.bytes(1);
        Reader in(data);
        ConvertedImage image;
        if (index >= 0 && static_cast<std::size_t>(index) < record.images.size() && readImage(in, image)) {
            record.images[static_cast<std::size_t>(index)] = std::move(image);
        }
    }
    return true;
}

} // namespace quorvane::core
