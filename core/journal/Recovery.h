#pragma once

#include "core/journal/Journal.h"
#include "core/runs/RunFailure.h"
#include "core/text/Translation.h"
#include "platform/FileSystem.h"

#include <string>
#include <vector>

namespace quorvane::core {

inline constexpr const char* unfinishedRunQuestion = QT_TRANSLATE_NOOP(
    "Journal", "前回の処理が完了していません。\r\n\r\nフォルダ：%1\r\n処理：%2\r\n\r\n"
               "「はい」で処理の前の状態に戻し、「いいえ」で予定どおり最後まで処理します。");

// What recovery makes of an unfinished run.
enum class RecoveryChoice
{
    PutBack, // every file as it was before the run
    Finish,  // every file as the run planned it
};

struct RecoveryResult
{
    std::string message;
    // Entries that someone else changed since (renamed elsewhere, replaced, deleted), left alone,
    // and those whose name could not be given.
    std::vector<RunFailure> leftAlone;
    std::vector<RunFailure> failures;
};

// The kind's word as the history and the question show it, in the user's language.
std::string runKindText(RunKind kind);

// The question that offers recovery of run.
std::string unfinishedRunMessage(const RunSummary& run);

// Puts the folder of the unfinished run id back as it was before the run, or finishes the run as it
// was planned. The file system is the truth: each entry's file is found where it is now by its
// identity, and is moved only when it has the run's before-name, its planned name or one of the
// run's temporary names; chains and cycles are ordered as a run orders them, and no file is left
// under a temporary name that can have another. Then the times and attributes a timestamp or
// attribute run changes are put to the chosen side. The run is marked finished (Finish) or undone
// (PutBack) either way, so that it is offered once.
RecoveryResult recoverRun(Journal& journal, std::int64_t id, RecoveryChoice choice,
                          platform::FileSystem& fileSystem);

} // namespace quorvane::core
