#include "PlanApplier.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <random>
#include <unordered_map>

namespace quorvane::core {
namespace {

// How often a taken temporary name is replaced before the row counts as failed.
constexpr int temporaryNameAttempts = 8;

class Applier
{
public:
    Applier(std::span<const std::string_view> current, std::span<const std::string_view> planned,
            const RowRename& rename, const RowFailureAnswer& answer)
        : current_(current), planned_(planned), rename_(rename), answer_(answer)
    {}

    // Each returns false when the user asked for a rollback.
    bool direct(std::size_t row)
    {
        if (const std::error_code error = rename_(row, current_[row], planned_[row])) {
            return goOnAfter(row, error);
        }
        out_.done.push_back({row, std::string(current_[row]), std::string(planned_[row])});
        out_.renamed.push_back(row);
        return true;
    }

    bool park(std::size_t row)
    {
        std::error_code error;
        for (int attempt = 0; attempt < temporaryNameAttempts; ++attempt) {
            std::string parking = temporaryName();
            error = rename_(row, current_[row], parking);
            if (!error) {
                cycleStart_[row] = out_.done.size();
                out_.done.push_back({row, std::string(current_[row]), std::move(parking)});
                return true;
            }
            if (error != std::errc::file_exists) {
                break;
            }
        }
        return goOnAfter(row, error);
    }

    bool closeCycle(std::size_t row)
    {
        const auto start = cycleStart_.find(row);
        if (start == cycleStart_.end()) {
            return true; // parking failed and was counted then
        }
        const std::size_t parkedAt = start->second;
        cycleStart_.erase(start);
        const std::string parking = out_.done[parkedAt].to;
        if (const std::error_code error = rename_(row, parking, planned_[row])) {
            if (!goOnAfter(row, error)) {
                return false;
            }
            unwindCycle(row, parkedAt, error);
            return true;
        }
        out_.done.push_back({row, parking, std::string(planned_[row])});
        out_.renamed.push_back(row);
        return true;
    }

    // Renames back, last first, everything done so far. A file whose rename back fails stays where
    // it is: under its planned name it counts as renamed still, under a temporary one as stranded.
    void rollBack()
    {
        std::vector<AppliedRename> standing;
        std::vector<std::size_t> stillRenamed;
        for (auto it = out_.done.rbegin(); it != out_.done.rend(); ++it) {
            if (const std::error_code error = rename_(it->row, it->to, it->from)) {
                out_.rollbackFailures.push_back({it->row, error});
                if (it->to == planned_[it->row]) {
                    stillRenamed.push_back(it->row);
                } else {
                    out_.stranded.push_back(*it);
                }
                standing.push_back(std::move(*it));
            }
        }
        out_.done.assign(std::make_move_iterator(standing.rbegin()),
                         std::make_move_iterator(standing.rend()));
        out_.renamed.assign(stillRenamed.rbegin(), stillRenamed.rend());
        out_.rolledBack = true;
    }

    PlanOutcome take() { return std::move(out_); }

private:
    bool goOnAfter(std::size_t row, const std::error_code& error)
    {
        out_.failures.push_back({row, error});
        return !(answer_ && answer_(row, error));
    }

    // The cycle's renames since the file was parked are taken back, last first, so that the parked
    // file's own name is free again; those rows count as failed with the error that kept the cycle
    // open.
    void unwindCycle(std::size_t row, std::size_t parkedAt, const std::error_code& cause)
    {
        while (out_.done.size() > parkedAt + 1) {
            const AppliedRename& last = out_.done.back();
            if (rename_(last.row, last.to, last.from)) {
                break;
            }
            if (!out_.renamed.empty() && out_.renamed.back() == last.row) {
                out_.renamed.pop_back();
            }
            out_.failures.push_back({last.row, cause});
            out_.done.pop_back();
        }
        const AppliedRename parked = out_.done[parkedAt];
        if (out_.done.size() == parkedAt + 1 && !rename_(row, parked.to, parked.from)) {
            out_.done.pop_back();
            return;
        }
        out_.stranded.push_back(parked);
    }

    std::span<const std::string_view> current_;
    std::span<const std::string_view> planned_;
    const RowRename& rename_;
    const RowFailureAnswer& answer_;
    std::unordered_map<std::size_t, std::size_t> cycleStart_; // parked row -> its entry in done
    PlanOutcome out_;
};

} // namespace

std::string temporaryName()
{
    static const std::uint64_t seed = [] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device();
    }();
    static std::atomic<std::uint64_t> counter{0};
    // A multiplier with every bit pattern distinct keeps successive names unlike each other.
    const std::uint64_t value = seed ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    static constexpr char digits[] = "0123456789abcdef";
    std::string name = ".quorvane-";
    for (int shift = 60; shift >= 0; shift -= 4) {
        name.push_back(digits[(value >> shift) & 0xF]);
    }
    name += ".tmp";
    return name;
}

bool isTemporaryName(std::string_view name)
{
    constexpr std::string_view prefix = ".quorvane-";
    constexpr std::string_view suffix = ".tmp";
    constexpr std::size_t digits = 16;
    if (name.size() != prefix.size() + digits + suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(suffix)) {
        return false;
    }
    const std::string_view hex = name.substr(prefix.size(), digits);
    return std::all_of(hex.begin(), hex.end(),
                       [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

PlanOutcome applyRenamePlan(const RenamePlan& plan, std::span<const std::string_view> current,
                            std::span<const std::string_view> planned, const RowRename& rename,
                            const RowFailureAnswer& answer, const RunProgress& progress)
{
    Applier applier(current, planned, rename, answer);
    ProgressTicker ticker(progress, plan.steps.size());
    for (std::size_t i = 0; i < plan.steps.size(); ++i) {
        const RenameStep& step = plan.steps[i];
        bool goOn = true;
        switch (step.kind) {
        case RenameStep::Kind::Direct:
            goOn = applier.direct(step.row);
            break;
        case RenameStep::Kind::ToTemporary:
            goOn = applier.park(step.row);
            break;
        case RenameStep::Kind::FromTemporary:
            goOn = applier.closeCycle(step.row);
            break;
        }
        if (!goOn) {
            applier.rollBack();
            if (progress) {
                progress(plan.steps.size(), plan.steps.size());
            }
            return applier.take();
        }
        ticker.advance(i + 1);
    }
    return applier.take();
}

} // namespace quorvane::core
