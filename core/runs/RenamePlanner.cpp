#include "RenamePlanner.h"

#include "core/runs/RunFailure.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

namespace quorvane::core {
namespace {

constexpr std::size_t none = static_cast<std::size_t>(-1);
// The longest name Linux file systems store.
constexpr std::size_t maxNameBytes = 255;

// The names of both lists as the file system compares them; folded copies are made only for a
// folder that ignores letter case.
class NameKeys
{
public:
    NameKeys(std::span<const std::string_view> current, std::span<const std::string_view> planned,
             NameMatching matching)
        : current_(current), planned_(planned), folded_(matching == NameMatching::IgnoreCase)
    {
        if (folded_) {
            currentFolded_.reserve(current.size());
            plannedFolded_.reserve(planned.size());
            for (std::size_t k = 0; k < current.size(); ++k) {
                currentFolded_.push_back(platform::simpleCaseFolded(current[k]));
                plannedFolded_.push_back(platform::simpleCaseFolded(planned[k]));
            }
        }
    }

    std::string_view current(std::size_t k) const { return folded_ ? currentFolded_[k] : current_[k]; }
    std::string_view planned(std::size_t k) const { return folded_ ? plannedFolded_[k] : planned_[k]; }

private:
    std::span<const std::string_view> current_;
    std::span<const std::string_view> planned_;
    bool folded_;
    std::vector<std::string> currentFolded_;
    std::vector<std::string> plannedFolded_;
};

// Each moving row waits for at most one other row: the one that holds its planned name now, or,
// for a row that wants a name an earlier row wants too, that earlier row. The rows and their waits
// form chains that end in a free name, and cycles.
struct WaitGraph
{
    std::vector<bool> moves;
    std::vector<bool> isDuplicate;
    std::vector<std::size_t> waitsFor;
    std::vector<std::size_t> duplicates; // in row order
    // Whether a row's planned name is held by an entry that no row moves away: a row that keeps its
    // name, or an entry of the folder the lists do not hold.
    std::vector<bool> plannedTaken;
};

// What one name is to the plan: which moving row holds it now, which row wants it first, and
// whether a row that keeps its name holds it.
struct NameSlot
{
    std::size_t holder = none;
    std::size_t wanted = none;
    bool keptByRow = false;
};

// An open-addressing table of the rows' names, sized once for every name it will hold, so that a
// preview of 100,000 rows hashes each name about once and allocates no node per name. The probed
// cells are small (part of the hash and where the name's slot is), so a probe touches little
// memory; the names are views into the lists, which outlive the table. A reference to a slot holds
// until the next look-up.
class SlotTable
{
public:
    explicit SlotTable(std::size_t names) : cells_(std::bit_ceil(std::max<std::size_t>(16, 2 * names)))
    {
        slots_.reserve(names);
    }

    NameSlot& operator[](std::string_view key)
    {
        const std::size_t hash = std::hash<std::string_view>{}(key);
        const auto tag = static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32);
        const std::size_t mask = cells_.size() - 1;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            Cell& cell = cells_[i];
            if (cell.position == 0) {
                slots_.push_back({key, {}});
                cell = {tag, static_cast<std::uint32_t>(slots_.size())};
                return slots_.back().slot;
            }
            if (cell.tag == tag) {
                KeyedSlot& keyed = slots_[cell.position - 1];
                if (keyed.key == key) {
                    return keyed.slot;
                }
            }
        }
    }

private:
    struct Cell
    {
        std::uint32_t tag = 0;
        std::uint32_t position = 0; // one past the name's index in slots_; 0 for an empty cell
    };

    struct KeyedSlot
    {
        std::string_view key;
        NameSlot slot;
    };

    std::vector<Cell> cells_;
    std::vector<KeyedSlot> slots_;
};

// Builds the waits from the rows alone. The folder's entries matter only to rows whose planned
// name no row holds; those are left in mayBeTaken for markTakenNames, so the folder can be read
// while this runs.
WaitGraph buildWaitGraph(std::span<const std::string_view> current, std::span<const std::string_view> planned,
                         const NameKeys& keys, std::vector<std::size_t>* mayBeTaken = nullptr)
{
    const std::size_t count = current.size();
    WaitGraph graph{std::vector<bool>(count),
                    std::vector<bool>(count),
                    std::vector<std::size_t>(count, none),
                    {},
                    std::vector<bool>(count)};
    SlotTable names(2 * count);
    for (std::size_t k = 0; k < count; ++k) {
        graph.moves[k] = current[k] != planned[k];
        NameSlot& slot = names[keys.current(k)];
        if (!graph.moves[k]) {
            slot.keptByRow = true;
        } else if (slot.holder == none) {
            slot.holder = k;
        }
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (!graph.moves[k]) {
            continue;
        }
        NameSlot& slot = names[keys.planned(k)];
        if (slot.wanted != none) {
            graph.waitsFor[k] = slot.wanted;
            graph.isDuplicate[k] = true;
            graph.duplicates.push_back(k);
            continue;
        }
        slot.wanted = k;
        if (slot.holder != none && slot.holder != k) {
            graph.waitsFor[k] = slot.holder;
        }
        if (slot.holder == none) {
            if (slot.keptByRow) {
                graph.plannedTaken[k] = true;
            } else if (mayBeTaken != nullptr) {
                mayBeTaken->push_back(k);
            }
        }
    }
    return graph;
}

// Marks the rows whose planned name, held by no row, is held by an entry of the folder.
void markTakenNames(WaitGraph& graph, const NameKeys& keys, std::span<const std::size_t> mayBeTaken,
                    const FolderNames& folder)
{
    for (const std::size_t k : mayBeTaken) {
        graph.plannedTaken[k] = folder.contains(keys.planned(k));
    }
}

// A name the system can take as a new name in a folder.
bool isPlannableName(std::string_view name)
{
    return isUsableName(name) && name.size() <= maxNameBytes;
}

} // namespace

RenamePlan planRenames(std::span<const std::string_view> current, std::span<const std::string_view> planned,
                       NameMatching matching)
{
    const std::size_t count = std::min(current.size(), planned.size());
    current = current.first(count);
    planned = planned.first(count);
    const NameKeys keys(current, planned, matching);
    const WaitGraph graph = buildWaitGraph(current, planned, keys);
    const std::vector<std::size_t>& waitsFor = graph.waitsFor;
    RenamePlan plan;
    plan.duplicates = graph.duplicates;

    // Walks each chain from its first unplanned row to where it ends, then plans it last row first.
    enum : std::uint8_t
    {
        Unplanned,
        OnWalk,
        Planned
    };
    std::vector<std::uint8_t> state(count, Unplanned);
    std::vector<std::size_t> positionOnWalk(count, 0);
    std::vector<std::size_t> walk;
    plan.steps.reserve(count + 2);
    const auto add = [&](std::size_t row, RenameStep::Kind kind) {
        plan.steps.push_back({row, kind});
    };
    for (std::size_t start = 0; start < count; ++start) {
        if (!graph.moves[start] || state[start] != Unplanned) {
            continue;
        }
        walk.clear();
        std::size_t row = start;
        while (row != none && state[row] == Unplanned) {
            state[row] = OnWalk;
            positionOnWalk[row] = walk.size();
            walk.push_back(row);
            row = waitsFor[row];
        }
        std::size_t tail = walk.size(); // walk[0, tail) is the chain leading into a cycle, if any
        if (row != none && state[row] == OnWalk) {
            tail = positionOnWalk[row];
            bool holdsDuplicate = false;
            for (std::size_t i = tail; i < walk.size(); ++i) {
                holdsDuplicate = holdsDuplicate || graph.isDuplicate[walk[i]];
            }
            // A cycle through a row that loses its name to an earlier row can never close: its rows
            // go in order and fail, and no file is parked under a temporary name for it.
            if (!holdsDuplicate) {
                add(walk[tail], RenameStep::Kind::ToTemporary);
            }
            for (std::size_t i = walk.size(); i-- > tail + 1;) {
                add(walk[i], RenameStep::Kind::Direct);
            }
            add(walk[tail], holdsDuplicate ? RenameStep::Kind::Direct : RenameStep::Kind::FromTemporary);
        }
        for (std::size_t i = tail; i-- > 0;) {
            add(walk[i], RenameStep::Kind::Direct);
        }
        for (const std::size_t walked : walk) {
            state[walked] = Planned;
        }
    }
    return plan;
}

namespace {

// The rows that fail, once the waits are known and marked with the folder's names.
std::vector<RenameConflict> conflictsOf(const WaitGraph& graph, std::span<const std::string_view> planned)
{
    const std::size_t count = planned.size();
    // A row's own reason to fail, before its waits are followed.
    std::vector<std::optional<RenameConflict>> verdict(count);
    std::vector<bool> decided(count);
    for (std::size_t k = 0; k < count; ++k) {
        decided[k] = !graph.moves[k];
        if (!graph.moves[k]) {
            continue;
        }
        if (!isPlannableName(planned[k])) {
            verdict[k] = RenameConflict{k, ConflictKind::UnusableName, 0};
        } else if (graph.isDuplicate[k]) {
            verdict[k] = RenameConflict{k, ConflictKind::SameNameAsRow, graph.waitsFor[k]};
        } else if (graph.plannedTaken[k]) {
            verdict[k] = RenameConflict{k, ConflictKind::NameTaken, 0};
        }
        decided[k] = verdict[k].has_value() || graph.waitsFor[k] == none;
    }

    // A row that waits for another fails when that one cannot move; a cycle fails as a whole when
    // one of its rows fails by itself, and otherwise closes.
    std::vector<std::size_t> walk;
    std::vector<bool> onWalk(count);
    for (std::size_t start = 0; start < count; ++start) {
        walk.clear();
        std::size_t row = start;
        while (!decided[row] && !onWalk[row]) {
            onWalk[row] = true;
            walk.push_back(row);
            row = graph.waitsFor[row];
        }
        // A walk that came round to itself is a cycle whose rows have no reason of their own to fail.
        const bool fails = decided[row] && verdict[row].has_value();
        for (std::size_t i = walk.size(); i-- > 0;) {
            const std::size_t waiting = walk[i];
            if (fails) {
                verdict[waiting] = RenameConflict{waiting, ConflictKind::NameTaken, 0};
            }
            decided[waiting] = true;
            onWalk[waiting] = false;
        }
    }

    std::vector<RenameConflict> conflicts;
    for (std::size_t k = 0; k < count; ++k) {
        if (verdict[k]) {
            conflicts.push_back(*verdict[k]);
        }
    }
    return conflicts;
}

} // namespace

FolderNames::FolderNames(NameMatching matching) : folded_(matching == NameMatching::IgnoreCase), slots_(16) {}

void FolderNames::add(std::string_view name)
{
    std::string folded;
    if (folded_) {
        folded = platform::simpleCaseFolded(name);
        name = folded;
    }
    if (2 * (count_ + 1) > slots_.size()) {
        grow();
    }
    const std::size_t hash = std::hash<std::string_view>{}(name);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (!slot.used) {
            slot = {hash, text_.size(), name.size(), true};
            text_.append(name);
            ++count_;
            return;
        }
        if (slot.hash == hash && nameAt(slot) == name) {
            return;
        }
    }
}

bool FolderNames::contains(std::string_view key) const
{
    const std::size_t hash = std::hash<std::string_view>{}(key);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (!slot.used) {
            return false;
        }
        if (slot.hash == hash && nameAt(slot) == key) {
            return true;
        }
    }
}

void FolderNames::grow()
{
    std::vector<Slot> old(2 * slots_.size());
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.used) {
            continue;
        }
        std::size_t i = slot.hash & mask;
        while (slots_[i].used) {
            i = (i + 1) & mask;
        }
        slots_[i] = slot;
    }
}

std::vector<RenameConflict> findRenameConflicts(std::span<const std::string_view> current,
                                                std::span<const std::string_view> planned,
                                                std::span<const std::string_view> folderEntries,
                                                NameMatching matching)
{
    const std::size_t count = std::min(current.size(), planned.size());
    current = current.first(count);
    planned = planned.first(count);
    const NameKeys keys(current, planned, matching);
    std::vector<std::size_t> mayBeTaken;
    WaitGraph graph = buildWaitGraph(current, planned, keys, &mayBeTaken);
    FolderNames folder(matching);
    for (const std::string_view name : folderEntries) {
        folder.add(name);
    }
    markTakenNames(graph, keys, mayBeTaken, folder);
    return conflictsOf(graph, planned);
}

std::vector<RenameConflict> findRenameConflicts(std::span<const std::string_view> current,
                                                std::span<const std::string_view> planned,
                                                const std::function<FolderNames()>& readFolder,
                                                NameMatching matching)
{
    FolderNames folder(matching);
    std::exception_ptr readFailure;
    std::jthread reader;
    if (std::thread::hardware_concurrency() >= 2) {
        try {
            reader = std::jthread([&] {
                try {
                    folder = readFolder();
                } catch (...) {
                    readFailure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to spare: the folder is read below, on this thread.
        }
    }
    const bool readHere = !reader.joinable();
    const std::size_t count = std::min(current.size(), planned.size());
    current = current.first(count);
    planned = planned.first(count);
    const NameKeys keys(current, planned, matching);
    std::vector<std::size_t> mayBeTaken;
    WaitGraph graph = buildWaitGraph(current, planned, keys, &mayBeTaken);
    if (readHere) {
        folder = readFolder();
    } else {
        reader.join();
        if (readFailure) {
            std::rethrow_exception(readFailure);
        }
    }
    markTakenNames(graph, keys, mayBeTaken, folder);
    return conflictsOf(graph, planned);
}

} // namespace quorvane::core
