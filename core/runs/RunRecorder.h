#pragma once

#include <cstddef>

namespace quorvane::core {

struct UndoSnapshot;

// What kind of run a record is of; the values are stored in the journal, so they never change.
enum class RunKind
{
    Rename = 1,
    Timestamp = 2,
    Attribute = 3,
    Conversion = 4,
    Undo = 5,
};

// Where a run writes down what it is about to do, how far it got and how it ended, so that a run cut
// short by a crash can be finished or put back later, and a finished one undone. A recorder that
// cannot write says so itself and lets the run go on: no file is ever kept from its change, or lost,
// for want of a record.
class RunRecorder
{
public:
    virtual ~RunRecorder() = default;

    // The plan: every entry's identity, its names now and after the run, and its state; written to
    // stay before the run's first change.
    virtual void begin(RunKind kind, const UndoSnapshot& plan) = 0;
    // How many of the run's steps are done; written now and then, never at the cost of the run.
    virtual void advance(std::size_t done) = 0;
    // The run's end, with what it left: which entries it renamed, their states, the failures. A run
    // that left nothing changed is forgotten.
    virtual void finish(const UndoSnapshot& result, std::size_t failures) = 0;
};

// The progress callback of a run that also tells recorder how far the run got.
inline auto recordedProgress(RunRecorder* recorder, const auto& progress)
{
    return [recorder, &progress](std::size_t done, std::size_t total) {
        if (recorder != nullptr) {
            recorder->advance(done);
        }
        if (progress) {
            progress(done, total);
        }
    };
}

} // namespace quorvane::core
