// The handlers of the main window: listing, previews, the rename run and its undo, settings and the
// small handlers of its controls. Each reads the controls, calls core and writes the result back.

#include "Application.h"
#include "HandlerSupport.h"
#include "MainWindow.h"
#include "RunProgressWindow.h"
#include "core/listing/Listing.h"
#include "core/listing/Path.h"
#include "core/listing/RowOrder.h"
#include "core/rules/ExtensionRule.h"
#include "core/rules/ReplaceRule.h"
#include "core/rules/SerialNaming.h"
#include "core/runs/RenameConflicts.h"
#include "core/runs/RenameRun.h"
#include "core/runs/TimestampChange.h"
#include "core/runs/Undo.h"
#include "core/settings/LanguageSetting.h"
#include "core/settings/SettingsFile.h"
#include "core/settings/WindowSettings.h"
#include "ui/preview/PreviewPane.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <optional>

namespace quorvane::ui {

namespace {

// The normal arrow while the user answers a box in the middle of a busy operation.
class ArrowCursor
{
public:
    ArrowCursor() { QApplication::setOverrideCursor(Qt::ArrowCursor); }
    ~ArrowCursor() { QApplication::restoreOverrideCursor(); }
    ArrowCursor(const ArrowCursor&) = delete;
    ArrowCursor& operator=(const ArrowCursor&) = delete;
};

// Suspends the drawing of a widget and resumes it also when the operation ends with an error.
class DrawingSuspended
{
public:
    explicit DrawingSuspended(QWidget* widget) : widget_(widget) { widget_->setUpdatesEnabled(false); }
    ~DrawingSuspended() { widget_->setUpdatesEnabled(true); }
    DrawingSuspended(const DrawingSuspended&) = delete;
    DrawingSuspended& operator=(const DrawingSuspended&) = delete;

private:
    QWidget* widget_;
};

bool typedNonDigit(const QKeyEvent* key)
{
    const QString text = key->text();
    if (text.isEmpty()) {
        return false;
    }
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            return false; // a control key (Ctrl+V and the like), not typed text
        }
    }
    return std::any_of(text.begin(), text.end(), [](QChar c) { return !c.isDigit(); });
}

} // namespace

void Tfom_Main::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (...) {
        boxes_.reportError(currentExceptionText());
    }
}

template <class Sender, class Signal, class Handler>
void Tfom_Main::on(Sender* sender, Signal signal, Handler handler)
{
    connect(sender, signal, this, [this, handler] { guarded(handler); });
}

void Tfom_Main::connectHandlers()
{
    on(btn_Quit, &QToolButton::clicked, [this] { btn_QuitClick(); });
    on(btn_Return, &QToolButton::clicked, [this] { btn_ReturnClick(); });
    on(btn_History, &QToolButton::clicked, [this] { btn_HistoryClick(); });
    on(btn_UpLine, &QToolButton::clicked, [this] { btn_UpLineClick(); });
    on(btn_DownLine, &QToolButton::clicked, [this] { btn_DownLineClick(); });
    on(btn_SortByDateTaken, &QToolButton::clicked, [this] { btn_SortByDateTakenClick(); });
    on(btn_SortUpToDown, &QToolButton::clicked, [this] { btn_SortRightToLeftClick(); });
    on(btn_SortRightToLeft, &QToolButton::clicked, [this] { tbn_SortUpToDownClick(); });
    on(btn_Preview, &QToolButton::clicked, [this] { btn_PreviewClick(); });
    on(btn_Filter, &QPushButton::clicked, [this] { prc_DirListChange(); });

    on(trr_DirList->selectionModel(), &QItemSelectionModel::currentChanged,
       [this] { dirChangeDelay_.start(); });
    on(&dirChangeDelay_, &QTimer::timeout, [this] { trr_DirListChange(); });
    on(chk_Set_HideHideFile, &QCheckBox::toggled, [this] {
        // Hidden folders follow the option in the tree as hidden files do in the lists.
        QDir::Filters filter = QDir::AllDirs | QDir::NoDotAndDotDot;
        if (!chk_Set_HideHideFile->isChecked()) {
            filter |= QDir::Hidden;
        }
        dirModel->setFilter(filter);
        trr_DirListChange();
    });
    on(chk_Set_HideSysFile, &QCheckBox::toggled, [this] { trr_DirListChange(); });
    on(chk_Set_NumericSort, &QCheckBox::toggled, [this] { chk_Set_NumericSortClick(); });
    on(cbo_Language, &QComboBox::currentIndexChanged, [this] { cbo_LanguageChange(); });

    on(btn_AllChangeNameTest, &QPushButton::clicked, [this] { proc_FileNameChange(); });
    on(btn_ReplaceNameTest, &QPushButton::clicked, [this] { proc_ReplaceName(); });
    on(btn_ChangeExtTest, &QPushButton::clicked, [this] { prc_ChangeExtTest(); });
    for (QPushButton* run : {btn_AllChangeNameRun, btn_ReplaceNameRun, btn_ChangeExtRun}) {
        on(run, &QPushButton::clicked, [this, run] { btn_ChanegNameRun(run); });
    }
    on(grp_OptionsItems, &QButtonGroup::idClicked,
       [this] { grp_OptionsClick(grp_OptionsItems->checkedId()); });
    on(btn_ChangeDateTest, &QPushButton::clicked, [this] { prc_ChangeDateTest(); });
    on(btn_ChangeDateRun, &QPushButton::clicked, [this] { prc_ChangeDateRun(); });
    for (QTimeEdit* time : {dtt_CreateTime, dtt_ModifyTime, dtt_AccessTime}) {
        on(time, &QTimeEdit::timeChanged, [this, time] { prc_TimeChange(time); });
    }
    for (QCheckBox* check : {chk_ModifyTime, chk_AccessTime, chk_DateTaken}) {
        on(check, &QCheckBox::toggled, [this] { followTimeChecks(); });
    }
    on(btn_ChangeAttrTest, &QPushButton::clicked, [this] { btn_ChangeAttrTestClick(); });
    on(btn_ChangeAttrRun, &QPushButton::clicked, [this] { btn_ChangeAttrRunClick(); });
    on(grp_JpegOptionsItems, &QButtonGroup::idClicked,
       [this] { grp_JpegOptionsClick(grp_JpegOptionsItems->checkedId()); });
    on(trk_Compression, &QSlider::valueChanged, [this] { trk_CompressionChange(); });
    on(btn_ChangeBMP2JPEG, &QPushButton::clicked, [this] { btn_ChangeBMP2JPEGClick(); });

    for (TNumEdit* field : {num_FileNameNo, num_NumberCnt}) {
        connect(field, &TNumEdit::conversionFailed, this,
                [this](const QString& message) { boxes_.reportError(message); });
    }
    for (const bool up : {true, false}) {
        auto* arrow = btn_UpDownNo->findChild<QToolButton*>(up ? QStringLiteral("btn_UpDownNo_Up")
                                                               : QStringLiteral("btn_UpDownNo_Down"));
        on(arrow, &QToolButton::clicked, [this, up] {
            // The up-down steps from the number the field shows, 1 to 99 without wrapping.
            bool ok = false;
            int position = num_NumberCnt->text().toInt(&ok);
            if (!ok) {
                position = btn_UpDownNo->property("Position").toInt();
            }
            position = std::clamp(position + (up ? 1 : -1), 1, 99);
            btn_UpDownNo->setProperty("Position", position);
            num_NumberCnt->setText(QString::number(position));
        });
    }
    for (QLineEdit* field : {static_cast<QLineEdit*>(num_FileNameNo), static_cast<QLineEdit*>(num_NumberCnt),
                             edt_SearchName, edt_ReplaceName, edt_Ext}) {
        field->installEventFilter(this);
    }
}

// --- Events -----------------------------------------------------------------------------------

bool Tfom_Main::event(QEvent* event)
{
    // Every control's hint arrives here as a status tip; it belongs in panel 1, not in a message
    // that would cover the panels.
    if (event->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool Tfom_Main::eventFilter(QObject* watched, QEvent* event)
{
    if (destroying_) {
        return false;
    }
    if (watched == trr_DirList->viewport() && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            const QModelIndex index = trr_DirList->indexAt(press->position().toPoint());
            if (index.isValid()) {
                trr_DirList->setCurrentIndex(index);
            }
        }
    } else if (watched == pag_EditMenu && event->type() == QEvent::Resize) {
        pag_EditMenuResize();
    } else if (watched == sta_StatusBar && event->type() == QEvent::Resize) {
        sta_StatusBarResize();
    } else if (auto* field = qobject_cast<QLineEdit*>(watched)) {
        if ((field == num_FileNameNo || field == num_NumberCnt) && event->type() == QEvent::KeyPress &&
            typedNonDigit(static_cast<QKeyEvent*>(event))) {
            return true;
        }
        const bool selectsOnEntry = field != edt_Ext;
        if (event->type() == QEvent::MouseButtonRelease) {
            EditBoxClick(field);
        } else if (event->type() == QEvent::FocusIn && selectsOnEntry) {
            // After the focus change, so that the click that brought the focus does not undo it.
            QTimer::singleShot(0, field, [this, field] { EditBoxClick(field); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void Tfom_Main::closeEvent(QCloseEvent* event)
{
    SaveSettings();
    event->accept();
}

void Tfom_Main::DisplayHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    statusPanels_[1]->setText(bar < 0 ? hint : hint.mid(bar + 1));
}

void Tfom_Main::EditBoxClick(QLineEdit* field)
{
    field->selectAll();
}

void Tfom_Main::pag_EditMenuResize()
{
    const int width = pag_EditMenu->width();
    if (width <= 5) {
        return;
    }
    tabWidth_ = width / 7 - 1;
    pag_EditMenu->tabBar()->setStyleSheet(
        QStringLiteral("QTabBar::tab { width: %1px; padding: 3px 0px; }").arg(std::max(1, tabWidth_)));
}

void Tfom_Main::sta_StatusBarResize()
{
    const int conflicts = sta_Conflicts->isVisibleTo(sta_StatusBar) ? sta_Conflicts->width() : 0;
    statusPanels_[1]->setMaximumWidth(std::max(1, sta_StatusBar->width() - 250 - conflicts));
}

// --- Window, arrangement and settings -------------------------------------------------------------

void Tfom_Main::btn_QuitClick()
{
    close();
}

void Tfom_Main::btn_SortRightToLeftClick()
{
    spl_002->setOrientation(Qt::Horizontal);
    setBeforeListWidth(pnl_Files->width() / 2 - 1);
}

void Tfom_Main::tbn_SortUpToDownClick()
{
    spl_002->setOrientation(Qt::Vertical);
    setBeforeListHeight(pnl_Files->height() / 2 - 1);
}

void Tfom_Main::btn_PreviewClick()
{
    statusPanels_[2]->clear();
    if (btn_Preview->isChecked()) {
        pnl_Preview->setFixedWidth(170);
        PreviewOn = true;
        preview->img_Preview->clear();
        statusPanels_[2]->clear();
        prc_ShowPreview();
    } else {
        // The bar stays and the timer runs on; the pane has no width and the position display
        // draws nothing while the preview is off.
        preview->closePlayer();
        pnl_Preview->setFixedWidth(0);
        PreviewOn = false;
        preview->img_Preview->clear();
    }
}

void Tfom_Main::prc_ShowPreview()
{
    if (!PreviewOn) {
        return;
    }
    preview->empty();
    const core::Selection selection = before.selection();
    const std::string name(before.cell(core::NameColumn, selection.first));
    if (name.empty()) {
        return;
    }
    preview->showFile(core::fullPath(before.listedFolder().path, name));
}

void Tfom_Main::closeMediaPlayer()
{
    preview->closePlayer();
}

void Tfom_Main::LoadSettings()
{
    const core::SettingsFile file(settingsPath_);
    core::IniFile ini = file.load();
    core::WindowSettings settings = core::readWindowSettings(ini);
    // With no pattern in the file the built-in ones are offered, and written back at once so the
    // next start reads them from the file.
    const bool patternsAdded = core::addBuiltInPatternsWhenNone(settings, ini);

    // A window larger than any screen is of no use, and its pixels would cost memory.
    QSize largest(4096, 4096);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        largest = largest.expandedTo(screen->virtualSize());
    }
    resize(std::clamp(settings.Width, 100, largest.width()),
           std::clamp(settings.Height, 100, largest.height()));
    settleLayout();
    const int dirWidth = std::clamp(settings.DirWidth, 0, std::max(0, spl_001->width()));
    spl_001->setSizes({dirWidth, std::max(0, spl_001->width() - spl_001->handleWidth() - dirWidth)});
    if (settings.stacked()) {
        tbn_SortUpToDownClick();
    }
    if (settings.previewPressed()) {
        btn_Preview->setChecked(true);
    }
    btn_PreviewClick();
    settleLayout();
    setBeforeListWidth(std::max(0, settings.FilesWidth.value_or(pnl_Files->width() / 2)));
    setBeforeListHeight(std::max(0, settings.FilesHeight.value_or(pnl_Files->height())));
    for (const std::string& pattern : settings.extList) {
        cbo_FileType->addItem(fromBytes(pattern));
    }
    if (const auto hide = settings.hideOptions()) {
        chk_Set_HideHideFile->setChecked(hide->hideHidden);
        chk_Set_HideSysFile->setChecked(hide->hideSystem);
    }
    chk_Set_AutoPlay->setChecked(settings.autoPlay());
    // A language the selector does not offer follows the locale.
    const int language = cbo_Language->findData(QString::fromStdString(core::readLanguageChoice(ini)));
    cbo_Language->setCurrentIndex(std::max(0, language));
    cbo_LanguageChange();
    applyInputs(core::readInputSettings(ini));
    if (patternsAdded) {
        // A settings folder that cannot be written is reported when the window closes.
        (void)file.save(ini);
    }
    // Whatever the file lists first, the window starts by listing every file.
    cbo_FileType->setCurrentIndex(cbo_FileType->findText(QStringLiteral("*.*")));
    cbo_FileType->setEditText(QStringLiteral("*.*"));
}

void Tfom_Main::SaveSettings()
{
    const core::SettingsFile file(settingsPath_);
    core::IniFile ini = file.load();
    core::WindowSettings settings;
    settings.Width = width();
    settings.Height = height();
    settings.DirWidth = trr_DirList->width();
    settings.FilesWidth = grd_FileList1->width();
    settings.FilesHeight = grd_FileList1->height();
    settings.DivMode = core::WindowSettings::divModeFor(stacked());
    settings.PreMode = core::WindowSettings::preModeFor(btn_Preview->isChecked());
    settings.ViewMode = core::WindowSettings::viewModeFor(chk_Set_HideHideFile->isChecked(),
                                                          chk_Set_HideSysFile->isChecked());
    settings.AutoPlay = core::WindowSettings::autoPlayFor(chk_Set_AutoPlay->isChecked());
    core::writeWindowSettings(ini, settings);
    core::writeInputSettings(ini, currentInputs());
    core::writeLanguageChoice(ini, toBytes(cbo_Language->currentData().toString()));
    if (file.save(ini)) {
        boxes_.reportError(fromBytes(file.writeFailureMessage()));
    }
}

// --- Listing ------------------------------------------------------------------------------------

std::string Tfom_Main::folderBytes() const
{
    return QFile::encodeName(selectedFolder()).toStdString();
}

void Tfom_Main::reloadLists()
{
    grd_FileList1->reload();
    grd_FileList2->reload();
}

void Tfom_Main::trr_DirListChange()
{
    const BusyCursor busy;
    {
        const DrawingSuspended beforeList(grd_FileList1);
        const DrawingSuspended afterList(grd_FileList2);
        prc_DirListChange();
        try {
            prc_ShowPreview();
        } catch (...) {
            // A file that cannot be read leaves the pane empty; a change of folder reports nothing.
        }
        fileLists->listingDone();
    }
    grd_FileList1->repaint();
    grd_FileList2->repaint();
    showFolderInTitle(selectedFolder());
    btn_Return->setEnabled(false);
}

void Tfom_Main::prc_DirListChange()
{
    if (selectedFolder().isEmpty()) {
        return;
    }
    const core::ListingOptions options{folderBytes(), toBytes(cbo_FileType->currentText()),
                                       chk_Set_HideHideFile->isChecked(), chk_Set_HideSysFile->isChecked(),
                                       chk_Set_NumericSort->isChecked()};
    prc_EnablesMode(true);
    const core::ListingResult result = core::listFolder(fileSystem_, options, before, after);
    if (!result.operationsEnabled) {
        prc_EnablesMode(false);
    }
    listedFileCount_ = result.fileCount;
    listingFailed_ = !result.errorMessage.empty();
    statusPanels_[0]->setText(fromBytes(result.statusText));
    clearPlanConflicts();
    reloadLists();
    grd_FileList1->showSortColumn(core::NameColumn);
    grd_FileList1->setLeftColumn(0);
    fileLists->copySelection(*grd_FileList1);
    if (!result.errorMessage.empty()) {
        boxes_.reportError(fromBytes(result.errorMessage));
    }
}

void Tfom_Main::dropListing(const std::string& message)
{
    const core::ListingResult result = core::clearLists(before, after);
    prc_EnablesMode(false);
    listedFileCount_ = result.fileCount;
    listingFailed_ = false;
    statusPanels_[0]->setText(fromBytes(result.statusText));
    clearPlanConflicts();
    reloadLists();
    fileLists->copySelection(*grd_FileList1);
    btn_Return->setEnabled(false);
    boxes_.tell(fromBytes(message));
}

void Tfom_Main::listedFolderVanished(const QString& folder)
{
    // Without a chosen folder the tree lists nothing by itself; the caption shows no folder.
    trr_DirList->setCurrentIndex(QModelIndex());
    dirChangeDelay_.stop();
    showFolderInTitle(QString());
    dropListing(core::lostFolderMessage(QFile::encodeName(folder).toStdString()));
}

void Tfom_Main::prc_EnablesMode(bool flag)
{
    QWidget* const controls[] = {
        lbl_FileName1,
        lbl_FileName2,
        lbl_FileName3,
        lbl_FileNameNo,
        lbl_NumberCnt,
        cbo_FileName1,
        cbo_FileName2,
        cbo_FileName3,
        num_FileNameNo,
        num_NumberCnt,
        btn_UpDownNo,
        btn_AllChangeNameTest,
        btn_AllChangeNameRun,
        lbl_SearchName,
        lbl_ReplaceName,
        edt_SearchName,
        edt_ReplaceName,
        chk_UpLow,
        grp_Options,
        btn_ReplaceNameTest,
        btn_ReplaceNameRun,
        lbl_Ext,
        lbl_ExtPeriod,
        edt_Ext,
        btn_ChangeExtTest,
        btn_ChangeExtRun,
        lbl_CreateDate,
        lbl_ModifyDate,
        lbl_AccessDate,
        dtt_ModifyDate,
        dtt_ModifyTime,
        dtt_AccessDate,
        dtt_AccessTime,
        btn_ChangeDateTest,
        chk_DateTaken,
        btn_ChangeDateRun,
        chk_ReadOnly,
        chk_Hidden,
        chk_System,
        chk_Archive,
        grp_FileAttrOpt,
        btn_ChangeAttrTest,
        btn_ChangeAttrRun,
        grp_JpegOptions,
        Label15,
        trk_Compression,
        lbl_CompPer,
        chk_GrayScale,
        chk_Progressive,
        btn_ChangeBMP2JPEG,
    };
    for (QWidget* control : controls) {
        control->setEnabled(flag);
    }
    // The creation time cannot be set on this system; its pickers stay off whatever the listing found.
    dtt_CreateDate->setEnabled(false);
    dtt_CreateTime->setEnabled(false);
    // The time check boxes switch with the tab; the pickers of a time left alone stay off.
    chk_ModifyTime->setEnabled(flag);
    chk_AccessTime->setEnabled(flag);
    followTimeChecks();
}

void Tfom_Main::btn_UpLineClick()
{
    const int top = grd_FileList1->topRow();
    const core::Selection moved = before.selection();
    core::moveSelectionUp(before, after);
    reloadLists();
    if (before.selection() != moved) {
        // The rows no longer stand in the order of a sort.
        grd_FileList1->showSortColumn(-1);
    }
    grd_FileList1->setTopRow(top);
    grd_FileList1->scrollTo(grd_FileList1->model().index(before.selection().first - 1, 0));
}

void Tfom_Main::btn_DownLineClick()
{
    const int top = grd_FileList1->topRow();
    const core::Selection moved = before.selection();
    core::moveSelectionDown(before, after);
    reloadLists();
    if (before.selection() != moved) {
        // The rows no longer stand in the order of a sort.
        grd_FileList1->showSortColumn(-1);
    }
    grd_FileList1->setTopRow(top);
    grd_FileList1->scrollTo(grd_FileList1->model().index(before.selection().last - 1, 0));
}

// --- Rename previews and the rename run ---------------------------------------------------------------

bool Tfom_Main::commitFocusedNumber()
{
    // A field without the focus was committed when it was left.
    for (TNumEdit* field : {num_FileNameNo, num_NumberCnt}) {
        if (field->hasFocus() && !field->commitAsLeaving()) {
            return false;
        }
    }
    return true;
}

bool Tfom_Main::runSerialPreview()
{
    BusyCursor busy;
    core::SerialOptions options;
    options.front = selectedPiece(cbo_FileName1);
    options.middle = selectedPiece(cbo_FileName2);
    options.back = selectedPiece(cbo_FileName3);
    options.start = num_FileNameNo->value() / 10000;
    options.digitCountText = toBytes(num_NumberCnt->text());
    core::TakenTimes taken;
    std::vector<FileTableModel::RowNote> notes;
    if (core::usesDateTaken(options)) {
        const std::vector<core::RowDateTaken> dates = readDatesTaken();
        taken.reserve(dates.size());
        for (const core::RowDateTaken& date : dates) {
            taken.push_back(date.date.local);
        }
        notes = notesWithoutDateTaken(dates, wordedCoreText("DateTaken", core::noDateTakenNote));
    }
    const core::SerialResult result = core::planSerialNaming(
        before, after, options, [] { return platform::localNow(); }, taken);
    grd_FileList2->reload();
    busy.restore();
    switch (result.outcome) {
    case core::SerialOutcome::Planned:
        showPlanConflicts(std::move(notes));
        return true;
    case core::SerialOutcome::NoNameBearingPiece:
        boxes_.tell(fromBytes(result.message));
        return false;
    case core::SerialOutcome::DigitCountNotInteger:
        boxes_.reportError(fromBytes(result.message));
        return false;
    }
    return false;
}

void Tfom_Main::proc_FileNameChange()
{
    if (commitFocusedNumber()) {
        runSerialPreview();
    }
}

void Tfom_Main::proc_ReplaceName()
{
    const BusyCursor busy;
    core::ReplaceOptions options;
    options.searchText = toBytes(edt_SearchName->text());
    options.replacement = toBytes(edt_ReplaceName->text());
    options.caseSensitive = chk_UpLow->isChecked();
    options.includeExtension = chk_ChangeExt->isChecked();
    options.conversion = static_cast<core::NameConversion>(std::max(0, grp_OptionsItems->checkedId()));
    core::planReplace(before, after, options, fileSystem_, before.listedFolder().path);
    grd_FileList2->reload();
    showPlanConflicts();
}

void Tfom_Main::prc_ChangeExtTest()
{
    const BusyCursor busy;
    core::planExtensionChange(before, after, {toBytes(edt_Ext->text())});
    grd_FileList2->reload();
    showPlanConflicts();
}

void Tfom_Main::showPlanConflicts(std::vector<FileTableModel::RowNote> notes)
{
    const std::vector<core::RenameConflict> conflicts = core::checkPlannedNames(before, after, fileSystem_);
    notes.reserve(notes.size() + conflicts.size());
    for (const core::RenameConflict& conflict : conflicts) {
        const int row = static_cast<int>(conflict.row + 1);
        QString reason = fromBytes(core::conflictReason(conflict));
        // A row's remark stays beneath the reason it will fail, which is what matters first.
        const auto remark =
            std::find_if(notes.begin(), notes.end(),
                         [row](const FileTableModel::RowNote& note) { return note.row == row; });
        if (remark != notes.end()) {
            remark->text = reason + QLatin1Char('\n') + remark->text;
            remark->warning = true;
        } else {
            notes.push_back({row, std::move(reason), true});
        }
    }
    grd_FileList2->model().setNotes(notes);
    if (conflicts.empty()) {
        clearPlanConflicts();
        return;
    }
    conflictCount_ = conflicts.size();
    sta_Conflicts->setText(fromBytes(core::conflictCountText(conflictCount_)));
    sta_Conflicts->show();
    sta_StatusBarResize();
}

void Tfom_Main::clearPlanConflicts()
{
    conflictCount_ = 0;
    sta_Conflicts->clear();
    sta_Conflicts->hide();
    sta_StatusBarResize();
}

void Tfom_Main::grp_OptionsClick(int index)
{
    if (const auto hint = core::replaceOptionHint(index)) {
        replaceOptionHint_ = *hint;
        grp_Options->setStatusTip(wordedCoreText("ReplaceOptions", *hint));
        DisplayHint(grp_Options->statusTip());
    }
}

void Tfom_Main::btn_ChanegNameRun(QAbstractButton* sender)
{
    if (!commitFocusedNumber()) {
        return;
    }
    if (boxes_.ask(MessageBoxes::Kind::Information, tr("リネームを実行します")) == core::Answer::No) {
        return;
    }
    BusyCursor busy;
    closeMediaPlayer();
    if (sender == btn_AllChangeNameRun) {
        if (!runSerialPreview()) {
            return;
        }
    } else if (sender == btn_ReplaceNameRun) {
        proc_ReplaceName();
    } else {
        prc_ChangeExtTest();
    }
    RunProgressWindow progress(this, tr("ファイル名を変更しています..."));
    // An answer the user chose to keep stands for every later failure of this run.
    std::optional<core::Answer> standingAnswer;
    const core::RenameRunResult result = core::runRenames(
        before, after, before.listedFolder().path, fileSystem_, snapshot,
        [this, &standingAnswer](const std::string& message) {
            if (standingAnswer) {
                return *standingAnswer;
            }
            const ArrowCursor arrow;
            bool sameForLaterErrors = false;
            const core::Answer answer = boxes_.askAboutFailure(fromBytes(message), sameForLaterErrors);
            if (sameForLaterErrors && answer != core::Answer::Closed) {
                standingAnswer = answer;
            }
            return answer;
        },
        progress.callback(), recorder());
    progress.finish();
    busy.restore();
    noteRecordedRun();
    if (result.refusal) {
        dropListing(result.message);
        return;
    }
    if (result.rolledBack) {
        // Files the rollback could not rename back would otherwise go unnoticed; they are what the
        // undo can still put back. A complete rollback leaves the earlier run's undo as it was.
        if (!result.rollbackFailures.empty()) {
            boxes_.reportCompletion(
                fromBytes(core::withStrandedFiles(
                    core::withFailureList(toBytes(tr("ファイル名の変更を取り消しました")),
                                          toBytes(tr("元の名前に戻せませんでした")), result.rollbackFailures),
                    result.strandedFiles)),
                true);
            btn_Return->setEnabled(true);
        }
        prc_DirListChange();
        return;
    }
    boxes_.reportCompletion(fromBytes(result.message), !result.failures.empty());
    prc_DirListChange();
    btn_Return->setEnabled(true);
}

// --- Undo ---------------------------------------------------------------------------------------

void Tfom_Main::btn_ReturnClick()
{
    if (boxes_.ask(MessageBoxes::Kind::Information, tr("変更を取り消します")) == core::Answer::No) {
        return;
    }
    BusyCursor busy;
    closeMediaPlayer();
    RunProgressWindow progress(this, tr("変更を取り消しています..."));
    // The snapshot knows its folder; the tree may show another by now. A run the journal holds is
    // undone from there, as the history window does; without a journal, from the snapshot.
    const core::UndoResult result =
        undoRun_ != 0 ? undoRecordedRun(std::exchange(undoRun_, 0), progress.callback())
                      : core::undoLastRun(snapshot, fileSystem_, progress.callback(), recorder());
    snapshot.clear();
    progress.finish();
    busy.restore();
    noteRecordedRun();
    undoRun_ = 0; // the undo's own record is never undone by this button
    if (result.refusal) {
        showUndoRefusal(result);
        return;
    }
    boxes_.reportCompletion(fromBytes(result.message), !result.failures.empty());
    prc_DirListChange();
    btn_Return->setEnabled(false);
}

} // namespace quorvane::ui
