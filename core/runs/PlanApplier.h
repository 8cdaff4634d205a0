#pragma once

#include "core/runs/RenamePlanner.h"
#include "core/runs/RunFailure.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace quorvane::core {

// Renames the file of a row from one bare name to another in the run's folder; the caller checks
// that the name still leads to the row's file before it reaches the system.
using RowRename = std::function<std::error_code(std::size_t row, std::string_view from, std::string_view to)>;

// Asked when a row fails: true rolls back everything done so far and ends, false goes on.
using RowFailureAnswer = std::function<bool(std::size_t row, const std::error_code& error)>;

// One rename that was made, temporary steps included.
struct AppliedRename
{
    std::size_t row = 0;
    std::string from;
    std::string to;
};

struct RowError
{
    std::size_t row = 0;
    std::error_code error;
};

struct PlanOutcome
{
    std::vector<AppliedRename> done; // the renames that stand, in the order they were made
    // Rows whose file has its planned name now, in that order; after a rollback, the rows whose
    // rename back failed.
    std::vector<std::size_t> renamed;
    std::vector<RowError> failures;         // rows that did not get their planned name, as they failed
    bool rolledBack = false;                // the failure answer asked for a rollback
    std::vector<RowError> rollbackFailures; // renames back that failed, leaving a file elsewhere
    // Files left under a temporary name because neither their planned nor their own name could
    // be given back; empty unless someone else took a name during the run.
    std::vector<AppliedRename> stranded;
};

// A name for a file parked while its cycle is closed: hidden (a leading "."), unlike anything a
// user names a file, and short. Each call gives another name.
std::string temporaryName();
// Whether name is one that temporaryName gives.
bool isTemporaryName(std::string_view name);

// Applies the steps of plan: current[row] and planned[row] are the row's names. A temporary name
// that is taken is replaced by another. When a row fails, answer decides (no answer means go on);
// a rollback renames back, last first, every rename made so far, temporary ones included. A cycle
// that cannot be closed is unwound: its renames are taken back and the parked file returns to its
// own name, so no file is left under a temporary name.
PlanOutcome applyRenamePlan(const RenamePlan& plan, std::span<const std::string_view> current,
                            std::span<const std::string_view> planned, const RowRename& rename,
                            const RowFailureAnswer& answer, const RunProgress& progress = {});

} // namespace quorvane::core
