#pragma once

#include "MessageBoxes.h"
#include "core/journal/Journal.h"
#include "core/listing/FileTable.h"
#include "core/metadata/DatesTaken.h"
#include "core/rules/SerialNaming.h"
#include "core/runs/RunFailure.h"
#include "core/runs/TimestampChange.h"
#include "core/runs/Undo.h"
#include "core/runs/UndoSnapshot.h"
#include "core/settings/InputSettings.h"
#include "platform/Locale.h"
#include "ui/lists/FileGrid.h"
#include "ui/lists/FileListPair.h"
#include "ui/widgets/NumEdit.h"

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTimeEdit;
class QToolBar;
class QToolButton;
class QTreeView;

namespace quorvane::platform {
class FileSystem;
}

namespace quorvane::ui {

class HistoryWindow;
class PreviewPane;

// The one window of the program. It owns both lists, the undo snapshot and every control; each
// handler reads the controls, calls one core function and writes the result back.
class Tfom_Main : public QMainWindow
{
    Q_OBJECT

public:
    // Reads its settings from settingsPath at once and writes them there when it closes. The file
    // system is the real one unless a test hands in another, which must outlive the window.
    Tfom_Main(MessageBoxes& boxes, std::string settingsPath, platform::FileSystem* fileSystem = nullptr,
              QWidget* parent = nullptr);
    ~Tfom_Main() override;

    // The folder chosen in the tree (empty when none) and choosing one as the user would; the
    // full refresh follows after the tree's change delay.
    QString selectedFolder() const;
    void selectFolder(const QString& path);

    // The texts of the status bar's three panels.
    QString statusText(int panel) const;
    // Whether the lists are stacked (before list on top) rather than side by side.
    bool stacked() const;
    int tabWidth() const { return tabWidth_; }

    // --- The lists and the state the window owns.
    core::FileTable before;
    core::FileTable after;
    core::UndoSnapshot snapshot;
    bool PreviewOn = false;

    // --- Toolbar.
    QToolBar* tol_ToolBar = nullptr;
    QToolButton* btn_Quit = nullptr;
    QToolButton* btn_Return = nullptr;
    QToolButton* btn_History = nullptr;
    QToolButton* btn_UpLine = nullptr;
    QToolButton* btn_DownLine = nullptr;
    QToolButton* btn_SortByDateTaken = nullptr;
    QToolButton* btn_SortUpToDown = nullptr;
    QToolButton* btn_SortRightToLeft = nullptr;
    QToolButton* btn_Preview = nullptr;
    QComboBox* cbo_FileType = nullptr;
    QPushButton* btn_Filter = nullptr;

    // --- Upper area.
    QSplitter* spl_001 = nullptr;
    QTreeView* trr_DirList = nullptr;
    QFileSystemModel* dirModel = nullptr;
    QWidget* pnl_Files = nullptr;
    QSplitter* spl_002 = nullptr;
    FileGrid* grd_FileList1 = nullptr;
    FileGrid* grd_FileList2 = nullptr;
    FileListPair* fileLists = nullptr;

    // --- Lower area.
    QWidget* pnl_Space = nullptr;
    QTabWidget* pag_EditMenu = nullptr;
    QWidget* pnl_Preview = nullptr;
    PreviewPane* preview = nullptr; // img_Preview, mdi_Player and tim_Timer
    QStatusBar* sta_StatusBar = nullptr;
    // How many rows of the last rename preview will fail when run; hidden when none will.
    QLabel* sta_Conflicts = nullptr;

    // "連番"
    QWidget* tab_FileName = nullptr;
    QGroupBox* grp_FileName = nullptr;
    QLabel* lbl_FileName1 = nullptr;
    QLabel* lbl_FileName2 = nullptr;
    QLabel* lbl_FileName3 = nullptr;
    QComboBox* cbo_FileName1 = nullptr;
    QComboBox* cbo_FileName2 = nullptr;
    QComboBox* cbo_FileName3 = nullptr;
    QGroupBox* grp_Number = nullptr;
    QLabel* lbl_FileNameNo = nullptr;
    QLabel* lbl_NumberCnt = nullptr;
    TNumEdit* num_FileNameNo = nullptr;
    TNumEdit* num_NumberCnt = nullptr;
    QWidget* btn_UpDownNo = nullptr;
    QPushButton* btn_AllChangeNameTest = nullptr;
    QPushButton* btn_AllChangeNameRun = nullptr;

    // "置換"
    QWidget* tab_FileName2 = nullptr;
    QGroupBox* grp_SearchReplace = nullptr;
    QLabel* lbl_SearchName = nullptr;
    QLabel* lbl_ReplaceName = nullptr;
    QLineEdit* edt_SearchName = nullptr;
    QLineEdit* edt_ReplaceName = nullptr;
    QCheckBox* chk_UpLow = nullptr;
    QCheckBox* chk_ChangeExt = nullptr;
    QGroupBox* grp_Options = nullptr;
    QButtonGroup* grp_OptionsItems = nullptr;
    QPushButton* btn_ReplaceNameTest = nullptr;
    QPushButton* btn_ReplaceNameRun = nullptr;

    // "拡張子"
    QWidget* tab_FileNameExt = nullptr;
    QGroupBox* grp_Ext = nullptr;
    QLabel* lbl_Ext = nullptr;
    QLabel* lbl_ExtPeriod = nullptr;
    QLineEdit* edt_Ext = nullptr;
    QPushButton* btn_ChangeExtTest = nullptr;
    QPushButton* btn_ChangeExtRun = nullptr;

    // "日付変更"
    QWidget* tab_FileNameDate = nullptr;
    QGroupBox* grp_FileDate = nullptr;
    QLabel* lbl_CreateDate = nullptr;
    QLabel* lbl_ModifyDate = nullptr;
    QLabel* lbl_AccessDate = nullptr;
    QCheckBox* chk_ModifyTime = nullptr; // whether the run sets the modified time
    QCheckBox* chk_AccessTime = nullptr; // whether the run sets the accessed time
    QCheckBox* chk_DateTaken = nullptr;  // each file's date taken instead of the pickers' values
    QDateTimeEdit* dtt_CreateDate = nullptr;
    QDateTimeEdit* dtt_ModifyDate = nullptr;
    QDateTimeEdit* dtt_AccessDate = nullptr;
    QTimeEdit* dtt_CreateTime = nullptr;
    QTimeEdit* dtt_ModifyTime = nullptr;
    QTimeEdit* dtt_AccessTime = nullptr;
    QPushButton* btn_ChangeDateTest = nullptr;
    QPushButton* btn_ChangeDateRun = nullptr;

    // "属性変更"
    QWidget* tab_FileNameAttr = nullptr;
    QGroupBox* grp_FileAttr = nullptr;
    QCheckBox* chk_ReadOnly = nullptr;
    QCheckBox* chk_Hidden = nullptr;
    QCheckBox* chk_System = nullptr;
    QCheckBox* chk_Archive = nullptr;
    QGroupBox* grp_FileAttrOpt = nullptr;
    QButtonGroup* grp_FileAttrOptItems = nullptr;
    QPushButton* btn_ChangeAttrTest = nullptr;
    QPushButton* btn_ChangeAttrRun = nullptr;

    // "画像変換"
    QWidget* tab_Bmp2Jpeg = nullptr;
    QGroupBox* grp_JpegOptions = nullptr;
    QButtonGroup* grp_JpegOptionsItems = nullptr;
    QGroupBox* grp_ArchiveOpt = nullptr;
    QLabel* Label15 = nullptr;
    QSlider* trk_Compression = nullptr;
    QLabel* lbl_CompPer = nullptr;
    QCheckBox* chk_GrayScale = nullptr;
    QCheckBox* chk_Progressive = nullptr;
    QPushButton* btn_ChangeBMP2JPEG = nullptr;

    // "設定"
    QWidget* tab_Setting = nullptr;
    QGroupBox* grp_PreviewSetting = nullptr;
    QCheckBox* chk_Set_AutoPlay = nullptr;
    QGroupBox* grp_ViewSetting = nullptr;
    QCheckBox* chk_Set_HideHideFile = nullptr;
    QCheckBox* chk_Set_HideSysFile = nullptr;
    QCheckBox* chk_Set_NumericSort = nullptr; // runs of digits sort by their value
    QGroupBox* grp_Language = nullptr;
    QComboBox* cbo_Language = nullptr; // the language choice: "auto" or a language code as item data
    QLabel* lbl_Version = nullptr;

    // --- Handlers, under the names the operations have always had.
    void trr_DirListChange();
    void prc_DirListChange();
    void prc_EnablesMode(bool flag);
    void prc_ShowPreview();
    void DisplayHint(const QString& hint);

    void btn_QuitClick();
    void btn_SortRightToLeftClick(); // side by side
    void tbn_SortUpToDownClick();    // stacked
    void btn_PreviewClick();
    void btn_UpLineClick();
    void btn_DownLineClick();
    void btn_SortByDateTakenClick();
    void chk_Set_NumericSortClick();

    void proc_FileNameChange();
    void proc_ReplaceName();
    void prc_ChangeExtTest();
    void btn_ChanegNameRun(QAbstractButton* sender);
    void btn_ReturnClick();
    void btn_HistoryClick();
    // The journal of runs; none when it cannot be used, which the window said once.
    core::Journal* journal() const { return journal_.get(); }
    void prc_ChangeDateTest();
    void prc_ChangeDateRun();
    void prc_TimeChange(QTimeEdit* sender);
    void btn_ChangeAttrTestClick();
    void btn_ChangeAttrRunClick();
    void btn_ChangeBMP2JPEGClick();
    void grp_OptionsClick(int index);
    void grp_JpegOptionsClick(int index);
    void trk_CompressionChange();
    // Shows the window in the language chosen in cbo_Language, at once.
    void cbo_LanguageChange();

protected:
    bool event(QEvent* event) override;
    // A change of language words every text of the window again (retranslateUi).
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildToolbar();
    void buildUpperArea();
    QWidget* buildLowerArea();
    void buildSerialTab();
    void buildReplaceTab();
    void buildExtensionTab();
    void buildDateTab();
    void buildAttributeTab();
    void buildImageTab();
    void buildSettingTab();
    void connectHandlers();
    // Ctrl+Z undoes (when undo is offered), F5 lists the folder again, Ctrl+Q quits.
    void buildShortcuts();
    void FormCreate();
    // Gives every control its caption, hint and items in the language shown, keeping what the
    // user chose and typed; the texts that depend on a state are worded from that state.
    void retranslateUi();
    // The title: the program's name followed by the folder listed, which is empty when it went away.
    void showFolderInTitle(const QString& folder);
    // The piece a selector of the serial tab shows: the item whose words it shows, else its text.
    core::SerialPiece selectedPiece(const QComboBox* selector) const;
    void selectPiece(QComboBox* selector, const core::SerialPiece& piece);
    // The hint of the conversion tab's mode group for each mode; for -1, before the first pick, its own.
    static QString jpegModeHint(int index);
    void openStartFolder();

    // Brings a window that a size saved on another screen or at another scale makes larger than
    // the primary screen back onto it, centred.
    void fitOntoPrimaryScreen();

    void LoadSettings();
    // The inputs of the operation tabs as the settings file keeps them.
    void applyInputs(const core::InputSettings& inputs);
    core::InputSettings currentInputs() const;
    // Writes the settings; a failed write is reported and the window closes all the same.
    void SaveSettings();

    // Lays out every widget now, also before the window is first shown, so that sizes read at
    // start-up are the ones the user will see.
    void settleLayout();
    void setBeforeListWidth(int width);
    void setBeforeListHeight(int height);
    void pag_EditMenuResize();
    void sta_StatusBarResize();
    void EditBoxClick(QLineEdit* field);

    // Runs a handler; an exception it throws is shown by the error report.
    void guarded(const std::function<void()>& handler);
    template <class Sender, class Signal, class Handler>
    void on(Sender* sender, Signal signal, Handler handler);

    // Commits the numeric field that has the focus as leaving it would, so that a preview or run
    // started by its accelerator, which leaves the focus where it is, uses the number shown. False
    // when the field's text cannot be read; the error has then been reported.
    bool commitFocusedNumber();
    // The preview of the serial tab; false when it wrote no name (a refusal or an error), so that a
    // run must not go on with whatever the after list held before.
    bool runSerialPreview();
    // Marks the rows of the after list's plan that will fail, with their reasons, and shows how
    // many there are; the other previews and a listing clear the count.
    // Notes given are shown too, on rows without a conflict as they stand.
    void showPlanConflicts(std::vector<FileTableModel::RowNote> notes = {});
    void clearPlanConflicts();
    // The times the timestamp tab sets: those whose check box is checked.
    core::TimestampOptions timestampOptions() const;
    // The same with each file's date taken in place of the pickers' values when chk_DateTaken is
    // checked, and a note for every row whose file states none.
    core::TimestampOptions timestampOptionsWithDates(std::vector<FileTableModel::RowNote>& notes);
    // The instants of the dates taken that files state; empty for the others.
    static std::vector<std::optional<platform::FileTime>>
    ownTimesOf(const std::vector<core::RowDateTaken>& dates);
    // The pickers of a time are on while its check box is checked and on.
    void followTimeChecks();
    // The preview of the date tab; false when it refused a chosen time, which it says.
    bool runTimestampPreview();
    // Shows what a timestamp or attribute run did, lists again and offers the undo.
    void showChangeRunResult(const core::ChangeRunResult& result);
    // Empties both lists with a message, ending the undo, when the listed folder is gone or is
    // another folder now.
    void dropListing(const std::string& message);
    // The listed folder was deleted or moved away: the tree chooses nothing instead of a neighbour.
    void listedFolderVanished(const QString& folder);
    // Closes the media player of the preview pane before a run touches files.
    void closeMediaPlayer();
    // When each file of the before list was taken, read once per file and kept (DatesTaken).
    std::vector<core::RowDateTaken> readDatesTaken();
    // A note on each row whose file states no date taken, saying what was done instead.
    static std::vector<FileTableModel::RowNote>
    notesWithoutDateTaken(const std::vector<core::RowDateTaken>& dates, const QString& note);
    void reloadLists();
    std::string folderBytes() const;
    // Opens the journal, saying once why when it cannot be used, and offers to recover a run that
    // it holds as unfinished; before anything is listed.
    void openJournal();
    // Where the runs write their record; none without a journal.
    core::RunRecorder* recorder() const { return journal_.get(); }
    // After a run: the run the undo button undoes, and a journal that stopped working, said once.
    void noteRecordedRun();
    // Undoes a recorded run from the journal, relisting as the undo does.
    core::UndoResult undoRecordedRun(std::int64_t run, const core::RunProgress& progress);
    // An undo that changed nothing: a folder gone empties the lists, any other reason is told.
    void showUndoRefusal(const core::UndoResult& result);
    void historyUndo(HistoryWindow& window, std::int64_t run);

    MessageBoxes& boxes_;
    std::string settingsPath_;
    std::unique_ptr<core::Journal> journal_;
    std::int64_t undoRun_ = 0;   // the recorded run the undo button undoes; 0: the snapshot
    std::string journalProblem_; // why the journal cannot be used; empty while it can
    std::unique_ptr<platform::FileSystem> ownFileSystem_;
    platform::FileSystem& fileSystem_;
    platform::SortCollator collator_;
    std::unique_ptr<core::DatesTaken> datesTaken_;
    QTimer dirChangeDelay_;
    QLabel* statusPanels_[3] = {};
    std::size_t conflictCount_ = 0; // rows of the last rename preview that will fail
    // What the texts that depend on a state were worded from, to word them again in another language.
    std::string_view replaceOptionHint_; // the source text of grp_Options' hint
    int jpegModeHint_ = -1;              // the mode grp_JpegOptions' hint names; -1 before a pick
    int listedFileCount_ = -1;           // the last listing's file count; -1 before one
    bool listingFailed_ = false;         // the last listing could not read its folder to the end
    std::optional<QString> titleFolder_; // the folder the title names; none before a listing
    int tabWidth_ = 120;
    bool revealPending_ = false; // the chosen folder is scrolled into view as its parents load
    QString folderToKeep_;       // the current folder while the model drops and reads its entries again
    bool destroying_ = false;    // children are being deleted; their events are no concern of ours
};

} // namespace quorvane::ui
