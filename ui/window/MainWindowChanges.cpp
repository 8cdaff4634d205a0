// The handlers of the runs that change files other than by name: timestamps, attributes and the
// image conversion. Each reads the controls, calls core and writes the result back.

#include "HandlerSupport.h"
#include "MainWindow.h"
#include "RunProgressWindow.h"
#include "core/runs/AttributeChange.h"
#include "core/runs/TimestampChange.h"
#include "imaging/Conversion.h"
#include "ui/preview/PreviewPane.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimeEdit>
#include <QToolButton>
#include <algorithm>
#include <tuple>

namespace quorvane::ui {

namespace {

platform::LocalDateTime localDateTime(const QDateTime& value)
{
    const QDate date = value.date();
    const QTime time = value.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

} // namespace

// --- Timestamps ---------------------------------------------------------------------------------

void Tfom_Main::prc_TimeChange(QTimeEdit* sender)
{
    QDateTimeEdit* date = sender == dtt_CreateTime   ? dtt_CreateDate
                          : sender == dtt_ModifyTime ? dtt_ModifyDate
                          : sender == dtt_AccessTime ? dtt_AccessDate
                                                     : nullptr;
    if (date == nullptr || date->time() == sender->time()) {
        return;
    }
    date->setDateTime(QDateTime(date->date(), sender->time()));
}

void Tfom_Main::followTimeChecks()
{
    for (const auto& [check, date, time] : {std::tuple{chk_ModifyTime, dtt_ModifyDate, dtt_ModifyTime},
                                            std::tuple{chk_AccessTime, dtt_AccessDate, dtt_AccessTime}}) {
        // The date taken stands in for the pickers' values, which are then not used.
        const bool on = check->isEnabled() && check->isChecked() && !chk_DateTaken->isChecked();
        date->setEnabled(on);
        time->setEnabled(on);
    }
}

core::TimestampOptions Tfom_Main::timestampOptions() const
{
    core::TimestampOptions options;
    if (chk_ModifyTime->isChecked()) {
        options.modified = localDateTime(dtt_ModifyDate->dateTime());
    }
    if (chk_AccessTime->isChecked()) {
        options.accessed = localDateTime(dtt_AccessDate->dateTime());
    }
    return options;
}

core::TimestampOptions Tfom_Main::timestampOptionsWithDates(std::vector<FileTableModel::RowNote>& notes)
{
    core::TimestampOptions options = timestampOptions();
    if (!chk_DateTaken->isChecked() || (!options.modified && !options.accessed)) {
        return options;
    }
    const std::vector<core::RowDateTaken> dates = readDatesTaken();
    options.ownTimes = ownTimesOf(dates);
    notes = notesWithoutDateTaken(dates, tr("撮影日時がないため、日付を変更しません"));
    return options;
}

void Tfom_Main::prc_ChangeDateTest()
{
    runTimestampPreview();
}

bool Tfom_Main::runTimestampPreview()
{
    BusyCursor busy;
    closeMediaPlayer();
    std::vector<FileTableModel::RowNote> notes;
    const core::TimestampOptions options = timestampOptionsWithDates(notes);
    const std::error_code refused = core::planTimestampChange(before, after, options);
    grd_FileList2->reload();
    clearPlanConflicts();
    grd_FileList2->model().setNotes(notes);
    busy.restore();
    if (refused) {
        boxes_.tell(fromBytes(refused.message()));
        return false;
    }
    return true;
}

void Tfom_Main::prc_ChangeDateRun()
{
    if (boxes_.ask(MessageBoxes::Kind::Information, tr("ファイル日付の変更を実行します")) ==
        core::Answer::No) {
        return;
    }
    BusyCursor busy;
    closeMediaPlayer();
    if (!runTimestampPreview()) {
        return; // a time the clock never shows: the preview said so, and nothing is changed
    }
    // The dates were read by the preview and are kept, so they are not read again.
    std::vector<FileTableModel::RowNote> notes;
    const core::TimestampOptions options = timestampOptionsWithDates(notes);
    RunProgressWindow progress(this, tr("ファイル日付を変更しています..."));
    const core::ChangeRunResult result =
        core::runTimestampChange(before, after, before.listedFolder().path, options, fileSystem_, snapshot,
                                 progress.callback(), recorder());
    progress.finish();
    busy.restore();
    showChangeRunResult(result);
}

// --- Attributes ---------------------------------------------------------------------------------

void Tfom_Main::btn_ChangeAttrTestClick()
{
    const BusyCursor busy;
    core::AttributeOptions options;
    options.readOnly = chk_ReadOnly->isChecked();
    options.hidden = chk_Hidden->isChecked();
    options.system = chk_System->isChecked();
    options.archive = chk_Archive->isChecked();
    options.mode = static_cast<core::AttributeMode>(std::clamp(grp_FileAttrOptItems->checkedId(), 0, 2));
    core::planAttributeChange(before, after, options);
    grd_FileList2->reload();
    clearPlanConflicts();
}

void Tfom_Main::btn_ChangeAttrRunClick()
{
    if (boxes_.ask(MessageBoxes::Kind::Information, tr("ファイル属性の変更を実行します")) ==
        core::Answer::No) {
        return;
    }
    BusyCursor busy;
    closeMediaPlayer();
    btn_ChangeAttrTestClick();
    RunProgressWindow progress(this, tr("ファイル属性を変更しています..."));
    const core::ChangeRunResult result = core::runAttributeChange(
        before, after, before.listedFolder().path, fileSystem_, snapshot, progress.callback(), recorder());
    progress.finish();
    busy.restore();
    showChangeRunResult(result);
}

void Tfom_Main::showChangeRunResult(const core::ChangeRunResult& result)
{
    noteRecordedRun();
    if (result.refusal) {
        dropListing(result.message);
        return;
    }
    boxes_.reportCompletion(fromBytes(result.message), !result.failures.empty());
    prc_DirListChange();
    btn_Return->setEnabled(true);
}

// --- Image conversion ---------------------------------------------------------------------------

void Tfom_Main::grp_JpegOptionsClick(int index)
{
    if (index < 0) {
        return;
    }
    jpegModeHint_ = index;
    grp_JpegOptions->setStatusTip(jpegModeHint(index));
    const bool writesJpeg = index == 0 || index == 2;
    for (QWidget* control : {static_cast<QWidget*>(grp_ArchiveOpt), static_cast<QWidget*>(trk_Compression),
                             static_cast<QWidget*>(Label15), static_cast<QWidget*>(chk_GrayScale),
                             static_cast<QWidget*>(lbl_CompPer), static_cast<QWidget*>(chk_Progressive)}) {
        control->setEnabled(writesJpeg);
    }
}

void Tfom_Main::trk_CompressionChange()
{
    lbl_CompPer->setText(QString::number(trk_Compression->value()) + QStringLiteral("%"));
}

void Tfom_Main::btn_ChangeBMP2JPEGClick()
{
    if (boxes_.ask(MessageBoxes::Kind::Information, tr("画像ファイルを変換します")) == core::Answer::No) {
        return;
    }
    BusyCursor busy;
    imaging::ConversionOptions options;
    options.mode = static_cast<imaging::ConversionMode>(std::clamp(grp_JpegOptionsItems->checkedId(), 0, 3));
    options.quality = trk_Compression->value();
    options.greyscale = chk_GrayScale->isChecked();
    options.progressive = chk_Progressive->isChecked();
    RunProgressWindow progress(this, tr("画像ファイルを変換しています..."));
    const imaging::ConversionResult result = imaging::convertImages(
        before, before.listedFolder().path, options, fileSystem_,
        [&progress](int done, int total) {
            progress.update(static_cast<std::size_t>(done), static_cast<std::size_t>(total));
        },
        journal_.get());
    progress.finish();
    // A conversion is undone from the history window; the undo button keeps undoing the run it
    // undid before, as it always has.
    const std::int64_t last = undoRun_;
    noteRecordedRun();
    undoRun_ = journal_ && !journal_->broken() ? last : 0;
    if (result.refusal) {
        busy.restore();
        dropListing(result.message);
        return;
    }
    // The pane shows the last picture the run handled, whether it is shown or not; a run that
    // handled no row leaves it alone.
    bool handledARow = false;
    for (int row = 1; row < before.rowCount() && !handledARow; ++row) {
        handledARow = !imaging::convertedName(before.cell(core::NameColumn, row), options.mode).empty();
    }
    if (handledARow) {
        preview->showBitmapFile(result.lastImage);
    }
    busy.restore();
    if (result.stop) {
        // The run stopped at a row it could not convert: the error report says why, and the folder
        // is not listed again.
        boxes_.reportError(fromBytes(result.stop->errorText));
        return;
    }
    boxes_.reportCompletion(fromBytes(result.message),
                            !result.skipped.empty() || !result.undeletedSources.empty() || !result.undoable);
    prc_DirListChange();
}

} // namespace quorvane::ui
