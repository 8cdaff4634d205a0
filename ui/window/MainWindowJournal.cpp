// The journal of runs as the window uses it: opening it and recovering an unfinished run at start,
// the undo of a recorded run, and the history window.

#include "HandlerSupport.h"
#include "MainWindow.h"
#include "RunProgressWindow.h"
#include "core/journal/HistoryUndo.h"
#include "core/journal/Recovery.h"
#include "core/listing/Identity.h"
#include "ui/history/HistoryWindow.h"

#include <QToolButton>

namespace quorvane::ui {
namespace {

QString unavailableText(const std::string& reason)
{
    return fromBytes(
        core::withArguments(core::translate("Journal", core::journalUnavailableMessage), {reason}));
}

} // namespace

void Tfom_Main::openJournal()
{
    journal_ = core::Journal::open(core::locateJournalFile(settingsPath_), journalProblem_);
    if (!journal_) {
        boxes_.tell(unavailableText(journalProblem_));
        return;
    }
    std::int64_t offered = 0;
    while (const std::optional<core::RunSummary> run = journal_->unfinishedRun()) {
        if (run->id == offered) {
            break; // its folder could not be read; it is offered again at the next start
        }
        offered = run->id;
        // Closing the box chooses the safe side: the folder as it was before the run.
        const core::RecoveryChoice choice =
            boxes_.ask(MessageBoxes::Kind::Information, fromBytes(core::unfinishedRunMessage(*run))) ==
                    core::Answer::No
                ? core::RecoveryChoice::Finish
                : core::RecoveryChoice::PutBack;
        BusyCursor busy;
        const core::RecoveryResult result = core::recoverRun(*journal_, run->id, choice, fileSystem_);
        busy.restore();
        boxes_.reportCompletion(fromBytes(result.message),
                                !result.leftAlone.empty() || !result.failures.empty());
    }
    noteRecordedRun();
}

void Tfom_Main::noteRecordedRun()
{
    if (!journal_) {
        return;
    }
    if (const std::string failure = journal_->takeFailure(); !failure.empty()) {
        journalProblem_ = failure;
        boxes_.tell(unavailableText(failure));
    }
    if (journal_->broken()) {
        undoRun_ = 0;
    } else if (journal_->lastFinished() != 0) {
        undoRun_ = journal_->lastFinished();
    }
}

core::UndoResult Tfom_Main::undoRecordedRun(std::int64_t run, const core::RunProgress& progress)
{
    return core::undoRecordedRun(*journal_, run, fileSystem_, progress);
}

void Tfom_Main::showUndoRefusal(const core::UndoResult& result)
{
    if (result.refusal == core::makeError(core::IdentityError::FolderChanged)) {
        dropListing(result.message);
    } else {
        boxes_.tell(fromBytes(result.message));
    }
}

void Tfom_Main::btn_HistoryClick()
{
    if (!journal_ || journal_->broken()) {
        boxes_.tell(unavailableText(journalProblem_));
        return;
    }
    HistoryWindow window(*journal_, this);
    connect(&window, &HistoryWindow::undoRequested, this,
            [this, &window](std::int64_t run) { historyUndo(window, run); });
    window.exec();
}

void Tfom_Main::historyUndo(HistoryWindow& window, std::int64_t run)
{
    // A run that cannot be undone says so at once, not after the user has confirmed its undo.
    if (const std::optional<std::string> refusal = core::undoRefusal(*journal_, run)) {
        boxes_.tell(fromBytes(*refusal));
        return;
    }
    if (boxes_.ask(MessageBoxes::Kind::Information, tr("選んだ処理を取り消します")) == core::Answer::No) {
        return;
    }
    BusyCursor busy;
    closeMediaPlayer();
    RunProgressWindow progress(this, tr("変更を取り消しています..."));
    const core::UndoResult result = undoRecordedRun(run, progress.callback());
    progress.finish();
    busy.restore();
    const std::int64_t last = undoRun_;
    noteRecordedRun();
    // The undo is recorded as a run of its own, which the undo button never undoes.
    undoRun_ = last;
    if (result.refusal) {
        boxes_.tell(fromBytes(result.message));
        return;
    }
    if (run == undoRun_) {
        undoRun_ = 0;
        snapshot.clear();
        btn_Return->setEnabled(false);
    }
    boxes_.reportCompletion(fromBytes(result.message), !result.failures.empty());
    window.reload();
    prc_DirListChange();
}

} // namespace quorvane::ui
