#include "RenamePlanner.h"

#include "core/runs/RunFailure.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>

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
};

WaitGraph buildWaitGraph(std::span<const std::string_view> current, std::span<const std::string_view> planned,
                         const NameKeys& keys)
{
    const std::size_t count = current.size();
    WaitGraph graph{
        std::vector<bool>(count), std::vector<bool>(count), std::vector<std::size_t>(count, none), {}};
    std::unordered_map<std::string_view, std::size_t> holder;
    std::unordered_map<std::string_view, std::size_t> wanted;
    holder.reserve(count);
    wanted.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        graph.moves[k] = current[k] != planned[k];
        if (graph.moves[k]) {
            holder.emplace(keys.current(k), k);
        }
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (!graph.moves[k]) {
            continue;
        }
        const auto [first, isFirst] = wanted.emplace(keys.planned(k), k);
        if (!isFirst) {
            graph.waitsFor[k] = first->second;
            graph.isDuplicate[k] = true;
            graph.duplicates.push_back(k);
        } else if (const auto h = holder.find(keys.planned(k)); h != holder.end() && h->second != k) {
            graph.waitsFor[k] = h->second;
        }
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
                                                std::span<const std::string_view> otherEntries,
                                                NameMatching matching)
{
    const std::size_t count = std::min(current.size(), planned.size());
    current = current.first(count);
    planned = planned.first(count);
    const NameKeys keys(current, planned, matching);
    const WaitGraph graph = buildWaitGraph(current, planned, keys);

    // Names that stay where they are whatever the run does: entries the lists do not hold and rows
    // that keep their name.
    std::vector<std::string> otherFolded;
    std::unordered_set<std::string_view> staying;
    staying.reserve(otherEntries.size() + count);
    for (const std::string_view name : otherEntries) {
        if (matching == NameMatching::IgnoreCase) {
            otherFolded.push_back(platform::simpleCaseFolded(name));
        } else {
            staying.insert(name);
        }
    }
    for (const std::string& folded : otherFolded) {
        staying.insert(folded);
    }
    for (std::size_t k = 0; k < count; ++k) {
        if (!graph.moves[k]) {
            staying.insert(keys.current(k));
        }
    }

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
        } else if (staying.contains(keys.planned(k))) {
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
