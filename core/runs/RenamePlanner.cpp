#include "RenamePlanner.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace quorvane::core {
namespace {

constexpr std::size_t none = static_cast<std::size_t>(-1);

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
                currentFolded_.push_back(platform::foldCase(current[k]));
                plannedFolded_.push_back(platform::foldCase(planned[k]));
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

} // namespace

RenamePlan planRenames(std::span<const std::string_view> current, std::span<const std::string_view> planned,
                       NameMatching matching)
{
    const std::size_t count = std::min(current.size(), planned.size());
    const NameKeys keys(current.first(count), planned.first(count), matching);
    RenamePlan plan;

    // Each moving row waits for at most one other row: the one that holds its planned name now, or,
    // for a row that wants a name an earlier row wants too, that earlier row. The rows and their
    // waits form chains that end in a free name, and cycles.
    std::vector<bool> moves(count);
    std::vector<bool> isDuplicate(count);
    std::unordered_map<std::string_view, std::size_t> holder;
    std::unordered_map<std::string_view, std::size_t> wanted;
    holder.reserve(count);
    wanted.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        moves[k] = current[k] != planned[k];
        if (moves[k]) {
            holder.emplace(keys.current(k), k);
        }
    }
    std::vector<std::size_t> waitsFor(count, none);
    for (std::size_t k = 0; k < count; ++k) {
        if (!moves[k]) {
            continue;
        }
        const auto [first, isFirst] = wanted.emplace(keys.planned(k), k);
        if (!isFirst) {
            waitsFor[k] = first->second;
            isDuplicate[k] = true;
            plan.duplicates.push_back(k);
            continue;
        }
        if (const auto h = holder.find(keys.planned(k)); h != holder.end() && h->second != k) {
            waitsFor[k] = h->second;
        }
    }

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
        if (!moves[start] || state[start] != Unplanned) {
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
                holdsDuplicate = holdsDuplicate || isDuplicate[walk[i]];
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

} // namespace quorvane::core
