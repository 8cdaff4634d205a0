#include "HistoryUndo.h"

#include "core/journal/ConversionUndo.h"
#include "core/journal/Recovery.h"
#include "platform/LocalTime.h"

#include <cstdio>

namespace quorvane::core {

std::string runTitle(const RunSummary& run)
{
    const platform::LocalDateTime local = platform::toLocalDateTime(run.started);
    char text[32];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", local.year, local.month, local.day,
                  local.hour, local.minute, local.second);
    return std::string(text) + " " + runKindText(run.kind);
}

std::optional<std::string> undoRefusal(Journal& journal, std::int64_t id)
{
    const std::optional<RunSummary> chosen = journal.run(id);
    if (!chosen) {
        return translate("Journal", "この処理の記録はありません");
    }
    if (chosen->kind == RunKind::Undo || chosen->state == RunState::Undone ||
        chosen->state == RunState::Unfinished) {
        return translate("Journal", "この処理は取り消せません");
    }
    if (!chosen->undoable) {
        return chosen->kind == RunKind::Conversion
                   ? translate("Journal", "元のファイルをごみ箱に移せなかったため、この処理は取り消せません")
                   : translate("Journal", "この処理の結果を記録できなかったため、取り消せません");
    }
    if (const std::optional<RunSummary> later = journal.laterRunTouching(id)) {
        return withArguments(translate("Journal", "後の処理（%1）が同じファイルを変更しているため、"
                                                  "先にその処理を取り消してください"),
                             {runTitle(*later)});
    }
    return std::nullopt;
}

UndoResult undoRecordedRun(Journal& journal, std::int64_t id, platform::FileSystem& fileSystem,
                           const RunProgress& progress)
{
    UndoResult result;
    const auto refuse = [&](std::string message) {
        result.refusal = std::make_error_code(std::errc::operation_not_permitted);
        result.message = std::move(message);
        return result;
    };
    if (std::optional<std::string> refusal = undoRefusal(journal, id)) {
        return refuse(std::move(*refusal));
    }
    if (journal.holdsImages(id)) {
        return undoConversion(journal, id, fileSystem);
    }
    UndoSnapshot snapshot;
    if (!journal.loadRun(id, snapshot)) {
        return refuse(translate("Journal", "この処理の記録を読めませんでした"));
    }
    journal.setUndoTarget(id);
    result = undoLastRun(snapshot, fileSystem, progress, &journal);
    journal.setUndoTarget(0);
    if (!result.refusal) {
        journal.setState(id, result.failures.empty() ? RunState::Undone : RunState::PartlyUndone);
    }
    return result;
}

} // namespace quorvane::core
