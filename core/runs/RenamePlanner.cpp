#include "RenamePlanner.h"

#include "core/runs/RunFailure.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

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
// whether the folder holds it.
struct NameSlot
{
    std::size_t holder = none;
    std::size_t wanted = none;
    bool inFolder = false;
};

// Builds the waits with one look-up table of every name involved, so that a preview of 100,000
// rows hashes each name about once.
WaitGraph buildWaitGraph(std::span<const std::string_view> current, std::span<const std::string_view> planned,
                         const NameKeys& keys, std::span<const std::string_view> folderEntries = {})
{
    const std::size_t count = current.size();
    WaitGraph graph{std::vector<bool>(count),
                    std::vector<bool>(count),
                    std::vector<std::size_t>(count, none),
                    {},
                    std::vector<bool>(count)};
    std::unordered_map<std::string_view, NameSlot> names;
    names.reserve(2 * count + folderEntries.size());
    for (std::size_t k = 0; k < count; ++k) {
        graph.moves[k] = current[k] != planned[k];
        NameSlot& slot = names[keys.current(k)];
        if (!graph.moves[k]) {
            slot.inFolder = true;
        } else if (slot.holder == none) {
            slot.holder = k;
        }
    }
    for (const std::string_view entry : folderEntries) {
        names[entry].inFolder = true;
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
        graph.plannedTaken[k] = slot.inFolder && slot.holder == none;
    }
    return graph;
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

std::vector<RenameConflict> findRenameConflicts(std::span<const std::string_view> current,
                                                std::span<const std::string_view> planned,
                                                std::span<const std::string_view> folderEntries,
                                                NameMatching matching)
{
    const std::size_t count = std::min(current.size(), planned.size());
    current = current.first(count);
    planned = planned.first(count);
    const NameKeys keys(current, planned, matching);
    std::vector<std::string> foldedEntries;
    if (matching == NameMatching::IgnoreCase) {
        foldedEntries.reserve(folderEntries.size());
        for (const std::string_view name : folderEntries) {
            foldedEntries.push_back(platform::simpleCaseFolded(name));
        }
    }
    const std::vector<std::string_view> entryKeys =
        matching == NameMatching::IgnoreCase
            ? std::vector<std::string_view>(foldedEntries.begin(), foldedEntries.end())
            : std::vector<std::string_view>(folderEntries.begin(), folderEntries.end());
    const WaitGraph graph = buildWaitGraph(current, planned, keys, entryKeys);

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

} // namespace quorvane::core
