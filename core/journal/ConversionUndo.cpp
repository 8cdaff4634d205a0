#include "ConversionUndo.h"

#include "core/listing/Identity.h"
#include "core/listing/Path.h"
#include "core/runs/PlanApplier.h"
#include "core/runs/RunFailure.h"

#include <unordered_map>

namespace quorvane::core {
namespace {

struct Found
{
    std::string name;
    std::uint64_t size = 0;
    platform::FileTime modified;
};

struct IdentityHash
{
    std::size_t operator()(const platform::FileIdentity& identity) const
    {
        return std::hash<std::uint64_t>()(identity.inode * 0x9E3779B97F4A7C15ull ^ identity.device);
    }
};

using FolderContents = std::unordered_map<platform::FileIdentity, Found, IdentityHash>;

std::error_code readFolder(platform::FileSystem& fileSystem, const std::string& folder, FolderContents& where)
{
    return fileSystem.enumerate(
        folder, "*", platform::Hidden | platform::System, [&](const platform::DirectoryEntry& entry) {
            where.emplace(entry.identity, Found{entry.name, entry.size, entry.modified});
        });
}

struct PutBackOutcome
{
    std::vector<RunFailure> leftAlone; // changed since the run: kept as they are
    std::vector<RunFailure> failures;  // could not be put back
    std::error_code synced;
};

// Takes away what the run wrote and brings back what it moved away, image by image, touching a new
// file only while it is exactly as the run left it.
PutBackOutcome putBackImages(const ConversionRecord& record, const FolderContents& where,
                             platform::FileSystem& fileSystem)
{
    PutBackOutcome outcome;
    const auto gone = std::make_error_code(std::errc::no_such_file_or_directory);
    for (std::size_t k = 0; k < record.images.size(); ++k) {
        const ConvertedImage& image = record.images[k];
        const int row = static_cast<int>(k + 1);
        const std::string newPath = fullPath(record.Folder.path, image.newName);
        const auto isAt = [&](const platform::FileIdentity& identity, const std::string& name) {
            const auto found = identity.known() ? where.find(identity) : where.end();
            return found != where.end() && found->second.name == name;
        };
        bool newNameFree = true;
        // A new file that is gone already (an undo finished after a crash, or a user's deletion)
        // leaves nothing to take away.
        if (image.converted && (!image.newFile.known() || where.count(image.newFile) != 0)) {
            const auto found = image.newFile.known() ? where.find(image.newFile) : where.end();
            const bool asLeft = found != where.end() && found->second.name == image.newName &&
                                found->second.size == image.newSize &&
                                found->second.modified == image.newModified;
            if (asLeft) {
                std::error_code error = checkEntry(fileSystem, newPath, image.newFile);
                if (error || (error = fileSystem.removeFile(newPath))) {
                    outcome.failures.push_back({row, image.newName, error});
                    newNameFree = false;
                }
            } else {
                outcome.leftAlone.push_back({row, image.newName, {}});
                newNameFree = false;
            }
        }
        if (isAt(image.replaced, image.newName)) {
            // Back already.
        } else if (!image.replacedTrash.empty()) {
            if (const std::error_code error = newNameFree
                                                  ? fileSystem.restoreFromTrash(image.replacedTrash, newPath)
                                                  : std::make_error_code(std::errc::file_exists)) {
                outcome.failures.push_back({row, image.newName, error});
            }
        } else if (image.replacedDeleted) {
            outcome.failures.push_back({row, image.newName, gone});
        }
        if (isAt(image.source, image.sourceName)) {
            // Back already, or never moved.
        } else if (image.fate == SourceFate::Trashed) {
            const std::error_code error =
                image.sourceTrash.empty()
                    ? gone
                    : fileSystem.restoreFromTrash(image.sourceTrash,
                                                  fullPath(record.Folder.path, image.sourceName));
            if (error) {
                outcome.failures.push_back({row, image.sourceName, error});
            }
        } else if (image.fate == SourceFate::Deleted) {
            outcome.failures.push_back({row, image.sourceName, gone});
        }
    }
    outcome.synced = fileSystem.syncFolder(record.Folder.path);
    return outcome;
}

std::string messageOf(std::string message, const PutBackOutcome& outcome)
{
    message = withFailureList(std::move(message),
                              translate("Journal", "処理の後で別に変更されていたため、そのままにしました"),
                              outcome.leftAlone);
    message = withFailureList(std::move(message), translate("Journal", "戻せませんでした"), outcome.failures);
    return withSyncFailure(std::move(message), outcome.synced);
}

// Undoes record (of run target) and records the undo as a run of its own, its plan being the images
// it puts back.
PutBackOutcome undoImages(Journal& journal, std::int64_t target, const ConversionRecord& record,
                          const FolderContents& where, platform::FileSystem& fileSystem)
{
    journal.setUndoTarget(target);
    journal.beginConversion(RunKind::Undo, record);
    PutBackOutcome outcome = putBackImages(record, where, fileSystem);
    journal.finishConversion(record, false, outcome.failures.size());
    return outcome;
}

} // namespace

UndoResult undoConversion(Journal& journal, std::int64_t id, platform::FileSystem& fileSystem)
{
    UndoResult result;
    ConversionRecord record;
    if (!journal.loadConversion(id, record)) {
        result.refusal = std::make_error_code(std::errc::operation_not_permitted);
        result.message = translate("Journal", "この処理の記録を読めませんでした");
        return result;
    }
    platform::FileIdentity folderIdentity;
    FolderContents where;
    if (const std::error_code error =
            checkFolder(fileSystem, record.Folder.path, record.Folder.identity, folderIdentity)) {
        result.refusal = error;
        result.message = folderChangedMessage(record.Folder.path);
        return result;
    }
    if (const std::error_code error = readFolder(fileSystem, record.Folder.path, where)) {
        result.refusal = error;
        result.message = translate("Journal", "前回の処理のフォルダを読めませんでした");
        return result;
    }
    const PutBackOutcome outcome = undoImages(journal, id, record, where, fileSystem);
    result.failures = outcome.failures;
    result.failures.insert(result.failures.end(), outcome.leftAlone.begin(), outcome.leftAlone.end());
    journal.setState(id, result.failures.empty() ? RunState::Undone : RunState::PartlyUndone);
    result.message = messageOf(translate("Runs", undoCompletedMessage), outcome);
    return result;
}

RecoveryResult recoverConversion(Journal& journal, const RunSummary& run, RecoveryChoice choice,
                                 platform::FileSystem& fileSystem)
{
    RecoveryResult result;
    const bool isUndo = run.kind == RunKind::Undo;
    const bool putBack = isUndo || choice == RecoveryChoice::PutBack;
    // Offered once: whatever the outcome, the run is no longer unfinished.
    journal.setState(run.id, putBack && !isUndo ? RunState::Undone : RunState::Finished);
    ConversionRecord record;
    if (!journal.loadConversion(run.id, record)) {
        result.message = translate("Journal", "前回の処理の記録を読めませんでした");
        return result;
    }
    platform::FileIdentity folderIdentity;
    if (checkFolder(fileSystem, record.Folder.path, record.Folder.identity, folderIdentity)) {
        result.message = folderChangedMessage(record.Folder.path);
        return result;
    }
    FolderContents where;
    if (readFolder(fileSystem, record.Folder.path, where)) {
        result.message = translate("Journal", "前回の処理のフォルダを読めませんでした");
        return result;
    }
    PutBackOutcome outcome;
    if (putBack) {
        outcome = putBackImages(record, where, fileSystem);
    }
    if (isUndo) {
        if (run.undoOf != 0) {
            journal.setState(run.undoOf, outcome.failures.empty() && outcome.leftAlone.empty()
                                             ? RunState::Undone
                                             : RunState::PartlyUndone);
        }
    } else {
        // The run's temporary files were written after it started; they go to the trash rather than
        // away, in case one is a file that another run parked under such a name.
        for (const auto& [identity, found] : where) {
            if (isTemporaryName(found.name) && found.modified.seconds >= run.started) {
                std::string trashed;
                fileSystem.moveToTrash(fullPath(record.Folder.path, found.name), trashed);
            }
        }
    }
    result.leftAlone = outcome.leftAlone;
    result.failures = outcome.failures;
    std::string message = putBack ? translate("Journal", "前回の処理の前の状態に戻しました")
                                  : translate("Journal", "前回の処理を最後まで実行しました");
    result.message = messageOf(std::move(message), outcome);
    return result;
}

} // namespace quorvane::core
