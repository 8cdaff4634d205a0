#include "WindowSupport.h"
#include "core/settings/IniFile.h"
#include "core/settings/WindowSettings.h"
#include "imaging/Bmp.h"
#include "support/CaseName.h"
#include "support/ForwardingFileSystem.h"

#include <QAbstractItemModelTester>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>
#include <thread>

namespace quorvane::ui {
namespace {

using testing::TempFolder;

std::vector<std::string> sorted(std::vector<std::string> names)
{
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> namesOnDisk(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    return sorted(names);
}

core::IniFile settingsOf(const TestWindow& window)
{
    return core::IniFile::parse(window.settingsFolder.readFile("quorvn.ini"));
}

TEST(MainWindow, StartsWithTheDefaultsAndWritesTheBuiltInPatternsAtOnceWithoutASettingsFile)
{
    TestWindow w;
    EXPECT_EQ(w->objectName(), QStringLiteral("fom_Main"));
    EXPECT_EQ(w->width(), 800);
    EXPECT_EQ(w->height(), 600);
    EXPECT_EQ(w->trr_DirList->width(), 161);
    EXPECT_FALSE(w->stacked());
    EXPECT_FALSE(w->btn_Preview->isChecked());
    EXPECT_EQ(w->pnl_Preview->width(), 0);
    EXPECT_TRUE(w->chk_Set_HideHideFile->isChecked()) << "dot files are left alone unless asked for";
    EXPECT_FALSE(w->chk_Set_HideSysFile->isChecked());
    EXPECT_FALSE(w->chk_Set_AutoPlay->isChecked());
    EXPECT_FALSE(w->btn_Return->isEnabled());
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Quorvane"));
    EXPECT_EQ(w->lbl_CompPer->text(), QStringLiteral("100%"));
    EXPECT_EQ(w->pag_EditMenu->currentWidget(), w->tab_FileName);
    EXPECT_EQ(w->font().family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(w->font().pixelSize(), 12);

    const std::vector<std::string> patterns = core::builtInPatterns();
    ASSERT_EQ(w->cbo_FileType->count(), 30);
    EXPECT_EQ(w->cbo_FileType->itemText(0), QStringLiteral("*.*"));
    EXPECT_EQ(w->cbo_FileType->itemText(29), QStringLiteral("*.xls"));
    const core::IniFile written = settingsOf(w);
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(written.value("ExtList", std::to_string(i)), patterns[static_cast<std::size_t>(i)]);
    }
    EXPECT_TRUE(w.boxes.errors.empty());
}

TEST(MainWindow, StartsTheTimestampPickersAtTodayMidnightWithTheCreatedPickersOffAndSayingWhy)
{
    TestWindow w;
    for (QDateTimeEdit* date : {w->dtt_CreateDate, w->dtt_ModifyDate, w->dtt_AccessDate}) {
        EXPECT_EQ(date->dateTime(), QDateTime(QDate::currentDate(), QTime(0, 0, 0)));
    }
    for (QTimeEdit* time : {w->dtt_CreateTime, w->dtt_ModifyTime, w->dtt_AccessTime}) {
        EXPECT_EQ(time->time(), QTime(0, 0, 0));
    }
    EXPECT_FALSE(w->dtt_CreateDate->isEnabled());
    EXPECT_FALSE(w->dtt_CreateTime->isEnabled());
    EXPECT_TRUE(w->dtt_CreateDate->statusTip().contains(QStringLiteral("作成日時")));
}

TEST(MainWindow, ChoosingAFolderListsItSetsTheCaptionAndEndsTheUndo)
{
    TempFolder folder;
    folder.writeFile("one.txt", "1");
    folder.writeFile("two.txt", "22");
    TestWindow w;
    w->btn_Return->setEnabled(true);
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Quorvane    【") + QString::fromStdString(folder.path()) +
                                    QStringLiteral("】"));
    EXPECT_FALSE(w->btn_Return->isEnabled());
    EXPECT_EQ(sorted(column(w->before, core::NameColumn)), (std::vector<std::string>{"one.txt", "two.txt"}));
    EXPECT_EQ(w->after.rowCount(), 3);
    EXPECT_EQ(w->statusText(0), QStringLiteral("2 File(s)"));
    EXPECT_EQ(w->grd_FileList1->model().rowCount(), 2);
    EXPECT_TRUE(w->btn_AllChangeNameRun->isEnabled());
}

TEST(MainWindow, TheFilterButtonListsWithTheNewPatternButLeavesCaptionAndUndoAlone)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.jpg");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    const QString caption = w->windowTitle();
    w->btn_Return->setEnabled(true);
    w->cbo_FileType->setEditText(QStringLiteral("*.jpg"));
    EXPECT_EQ(w->before.rowCount(), 3) << "a typed pattern takes effect at the next listing only";
    w->btn_Filter->click();
    EXPECT_EQ(column(w->before, core::NameColumn), std::vector<std::string>{"b.jpg"});
    EXPECT_EQ(w->statusText(0), QStringLiteral("1 File(s)"));
    EXPECT_EQ(w->windowTitle(), caption);
    EXPECT_TRUE(w->btn_Return->isEnabled());
}

TEST(MainWindow, AHideOptionListsTheFolderAgainAtOnce)
{
    TempFolder folder;
    folder.writeFile("shown.txt");
    folder.writeFile(".hidden");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_EQ(column(w->before, core::NameColumn), std::vector<std::string>{"shown.txt"});
    w->btn_Return->setEnabled(true);
    w->chk_Set_HideHideFile->setChecked(false);
    EXPECT_EQ(column(w->before, core::NameColumn), (std::vector<std::string>{".hidden", "shown.txt"}));
    EXPECT_FALSE(w->btn_Return->isEnabled());
    w->chk_Set_HideHideFile->setChecked(true);
    EXPECT_EQ(column(w->before, core::NameColumn), std::vector<std::string>{"shown.txt"});
}

TEST(MainWindow, AnEmptyFolderSwitchesTheOperationsOffButLeavesTheIncludeExtensionBoxOn)
{
    TempFolder folder;
    folder.makeFolder("only-a-subfolder");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_EQ(w->statusText(0), QStringLiteral("0 File(s)"));
    EXPECT_TRUE(w->chk_ChangeExt->isEnabled());
    for (QWidget* control :
         {static_cast<QWidget*>(w->edt_SearchName), static_cast<QWidget*>(w->chk_UpLow),
          static_cast<QWidget*>(w->grp_Options), static_cast<QWidget*>(w->btn_ReplaceNameRun),
          static_cast<QWidget*>(w->cbo_FileName1), static_cast<QWidget*>(w->num_FileNameNo),
          static_cast<QWidget*>(w->btn_ChangeDateRun), static_cast<QWidget*>(w->chk_ReadOnly),
          static_cast<QWidget*>(w->trk_Compression), static_cast<QWidget*>(w->btn_ChangeBMP2JPEG)}) {
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_TRUE(w->btn_UpLine->isEnabled());
    EXPECT_TRUE(w->chk_Set_HideHideFile->isEnabled());

    folder.writeFile("new.txt");
    w->btn_Filter->click();
    EXPECT_TRUE(w->btn_ReplaceNameRun->isEnabled());
    EXPECT_FALSE(w->dtt_CreateDate->isEnabled()) << "the creation time cannot be set whatever was listed";
}

// --- Previews ---

struct PreviewCase
{
    const char* says;
    std::function<void(Tfom_Main&)> set;
    QPushButton* Tfom_Main::*button;
    int column;
    std::string expected;
};

const PreviewCase previews[] = {
    {"the serial tab numbers the stem from the start value",
     [](Tfom_Main& w) {
         w.cbo_FileName1->setEditText(QStringLiteral("photo-"));
         w.num_FileNameNo->setValue(70000);
         w.num_NumberCnt->setText(QStringLiteral("3"));
     },
     &Tfom_Main::btn_AllChangeNameTest, core::NameColumn, "photo-007.jpg"},
    {"the replace tab replaces and converts",
     [](Tfom_Main& w) {
         w.edt_SearchName->setText(QStringLiteral("IMG"));
         w.edt_ReplaceName->setText(QStringLiteral("pic"));
         w.grp_OptionsItems->button(2)->setChecked(true);
     },
     &Tfom_Main::btn_ReplaceNameTest, core::NameColumn, "PIC_1.jpg"},
    {"the extension tab puts the typed extension",
     [](Tfom_Main& w) { w.edt_Ext->setText(QStringLiteral("png")); }, &Tfom_Main::btn_ChangeExtTest,
     core::NameColumn, "IMG_1.png"},
    {"the date tab writes the chosen modification time",
     [](Tfom_Main& w) {
         w.dtt_ModifyDate->setDate(QDate(2006, 5, 4));
         w.dtt_ModifyTime->setTime(QTime(9, 5, 7));
     },
     &Tfom_Main::btn_ChangeDateTest, core::ModifiedColumn, "2006/05/04 09:05:07"},
    {"the attribute tab adds the checked attribute", [](Tfom_Main& w) { w.chk_ReadOnly->setChecked(true); },
     &Tfom_Main::btn_ChangeAttrTest, core::AttributesColumn, "R---"},
};

class PreviewButton : public ::testing::TestWithParam<PreviewCase>
{};

TEST_P(PreviewButton, FillsTheAfterListAndChangesNothingOnDisk)
{
    const PreviewCase& c = GetParam();
    TempFolder folder;
    folder.writeFile("IMG_1.jpg");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    c.set(*w.window);
    ((*w.window).*c.button)->click();
    EXPECT_EQ(w->after.cell(c.column, 1), c.expected);
    EXPECT_EQ(w->grd_FileList2->model().index(0, c.column).data().toString().toStdString(), c.expected);
    EXPECT_EQ(namesOnDisk(folder), std::vector<std::string>{"IMG_1.jpg"});
    EXPECT_TRUE(w.boxes.questions.empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindow, PreviewButton, ::testing::ValuesIn(previews), testing::SaysName());

TEST(MainWindow, TheSerialPreviewWithoutANameBearingPieceSaysSoInAPlainBox)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->cbo_FileName3->setEditText(QStringLiteral("_(アンダーライン)"));
    w->btn_AllChangeNameTest->click();
    EXPECT_EQ(w.boxes.told, std::vector<QString>{QStringLiteral(
                                "【元ファイル名】もしくは【連番】を必ずファイル名に含めてください")});
    EXPECT_EQ(w->after.cell(core::NameColumn, 1), "");
}

TEST(MainWindow, AReplaceOptionShowsItsExampleAsTheGroupsHintInTheStatusBar)
{
    TestWindow w;
    EXPECT_EQ(w->grp_Options->statusTip(), QStringLiteral("ex) AbC.txt -> AbC.txt"));
    w->grp_OptionsItems->button(1)->click();
    EXPECT_EQ(w->grp_Options->statusTip(), QStringLiteral("ex) abC.txt -> abc.txt"));
    EXPECT_EQ(w->statusText(1), QStringLiteral("ex) abC.txt -> abc.txt"));
    w->grp_OptionsItems->button(4)->click();
    EXPECT_EQ(w->grp_Options->statusTip(), QStringLiteral("ex) abC.txt -> abc.txt"));
}

TEST(MainWindow, ATimePickerGivesItsDatePickerItsTimeOfDayAndADateChangeKeepsIt)
{
    TestWindow w;
    w->dtt_AccessTime->setTime(QTime(13, 14, 15));
    EXPECT_EQ(w->dtt_AccessDate->time(), QTime(13, 14, 15));
    w->dtt_AccessDate->setDate(QDate(2010, 1, 2));
    EXPECT_EQ(w->dtt_AccessDate->dateTime(), QDateTime(QDate(2010, 1, 2), QTime(13, 14, 15)));
    EXPECT_EQ(w->dtt_ModifyDate->time(), QTime(0, 0, 0));
}

// --- Runs ---

TEST(MainWindow, NoToTheRenameConfirmationChangesNothingNotEvenTheAfterList)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(QStringLiteral("dat"));
    w.boxes.answers = {core::Answer::No};
    w->btn_ChangeExtRun->click();
    EXPECT_EQ(w.boxes.questions, std::vector<QString>{QStringLiteral("情報: リネームを実行します")});
    EXPECT_EQ(w->after.cell(core::NameColumn, 1), "");
    EXPECT_EQ(namesOnDisk(folder), std::vector<std::string>{"a.txt"});
    EXPECT_FALSE(w->btn_Return->isEnabled());
}

TEST(MainWindow, ACompletedRenameRelistsAndOffersTheUndoWhichPutsTheNamesBackAndEndsIt)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(QStringLiteral("dat"));
    w->btn_ChangeExtRun->click();
    EXPECT_EQ(w.boxes.told, std::vector<QString>{QStringLiteral("リネームが完了しました")});
    EXPECT_EQ(namesOnDisk(folder), (std::vector<std::string>{"a.dat", "b.dat"}));
    EXPECT_EQ(sorted(column(w->before, core::NameColumn)), (std::vector<std::string>{"a.dat", "b.dat"}));
    EXPECT_EQ(column(w->after, core::NameColumn), (std::vector<std::string>{"", ""}));
    EXPECT_TRUE(w->btn_Return->isEnabled());

    w->btn_Filter->click();
    EXPECT_TRUE(w->btn_Return->isEnabled()) << "the filter button keeps the undo";
    w->btn_Return->click();
    EXPECT_EQ(w.boxes.questions.back(), QStringLiteral("情報: 変更を取り消します"));
    EXPECT_EQ(w.boxes.told.back(), QStringLiteral("変更の取り消しが完了しました"));
    EXPECT_EQ(namesOnDisk(folder), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(sorted(column(w->before, core::NameColumn)), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_FALSE(w->btn_Return->isEnabled());
}

TEST(MainWindow, YesToAFailedRenameRollsTheRunBackWithoutACompletionMessage)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("a.log");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(QStringLiteral("dat"));
    w.boxes.answers = {core::Answer::Yes, core::Answer::Yes};
    w->btn_ChangeExtRun->click();
    ASSERT_EQ(w.boxes.questions.size(), 2u);
    EXPECT_TRUE(w.boxes.questions[1].startsWith(QStringLiteral("エラー: ")));
    EXPECT_TRUE(w.boxes.questions[1].contains(QStringLiteral("変換後ファイル名：a.dat\r\n")));
    EXPECT_TRUE(w.boxes.told.empty());
    EXPECT_EQ(namesOnDisk(folder), (std::vector<std::string>{"a.log", "a.txt"}));
    EXPECT_EQ(sorted(column(w->before, core::NameColumn)), (std::vector<std::string>{"a.log", "a.txt"}));
    EXPECT_FALSE(w->btn_Return->isEnabled());
}

// Refuses the rename back of one name, so the rollback leaves that file under its new name.
class RenameBackFails : public testing::ForwardingFileSystem
{
public:
    std::string refusedTarget;
    std::error_code renameNoReplace(std::string_view from, std::string_view to) override
    {
        if (!refusedTarget.empty() && to.ends_with("/" + refusedTarget)) {
            return std::make_error_code(std::errc::permission_denied);
        }
        return ForwardingFileSystem::renameNoReplace(from, to);
    }
};

TEST(MainWindow, ARollbackThatCannotRenameAFileBackNamesIt)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("a.log");
    RenameBackFails fileSystem;
    TestWindow w(&fileSystem);
    ASSERT_TRUE(w.choose(folder.path()));
    fileSystem.refusedTarget = w->before.cell(core::NameColumn, 1);
    w->edt_Ext->setText(QStringLiteral("dat"));
    w->btn_ChangeExtRun->click();
    ASSERT_EQ(w.boxes.told.size(), 1u);
    EXPECT_TRUE(w.boxes.told[0].contains(QString::fromStdString(fileSystem.refusedTarget)));
}

// A slow disk: each rename takes a moment, and the window is looked at in the middle of the run.
class SlowRenames : public testing::ForwardingFileSystem
{
public:
    Tfom_Main* window = nullptr;
    int renames = 0;
    bool progressShownMidway = false;
    std::error_code renameNoReplace(std::string_view from, std::string_view to) override
    {
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        if (++renames == 1500 && window != nullptr) {
            const auto* dialog = window->findChild<QProgressDialog*>(QStringLiteral("dlg_Progress"));
            progressShownMidway = dialog != nullptr && dialog->isVisible() && dialog->value() > 0;
        }
        return ForwardingFileSystem::renameNoReplace(from, to);
    }
};

TEST(MainWindow, ALongRunShowsAModalProgressDialogThatIsGoneAtTheEnd)
{
    TempFolder folder;
    for (int i = 0; i < 2000; ++i) {
        folder.writeFile("f" + std::to_string(i) + ".txt");
    }
    SlowRenames fileSystem;
    TestWindow w(&fileSystem);
    fileSystem.window = w.window.get();
    w->show();
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(QStringLiteral("dat"));
    w->btn_ChangeExtRun->click();
    EXPECT_TRUE(fileSystem.progressShownMidway);
    EXPECT_EQ(w->findChild<QProgressDialog*>(QStringLiteral("dlg_Progress")), nullptr);
    EXPECT_EQ(w.boxes.told, std::vector<QString>{QStringLiteral("リネームが完了しました")});
}

TEST(MainWindow, TimestampAndAttributeRunsSetTheFilesRelistAndOfferTheUndo)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->dtt_ModifyDate->setDate(QDate(2006, 5, 4));
    w->dtt_ModifyTime->setTime(QTime(9, 5, 7));
    w->btn_ChangeDateRun->click();
    EXPECT_EQ(w.boxes.questions.back(), QStringLiteral("情報: ファイル日付の変更を実行します"));
    EXPECT_EQ(w.boxes.told.back(), QStringLiteral("ファイル日付の変更が完了しました"));
    EXPECT_EQ(w->before.cell(core::ModifiedColumn, 1), "2006/05/04 09:05:07");
    EXPECT_TRUE(w->btn_Return->isEnabled());

    w->chk_ReadOnly->setChecked(true);
    w->btn_ChangeAttrRun->click();
    EXPECT_EQ(w.boxes.told.back(), QStringLiteral("属性変更が完了しました"));
    EXPECT_EQ(w->before.cell(core::AttributesColumn, 1), "R---");
    struct stat info
    {};
    ASSERT_EQ(stat(folder.pathOf("a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0222, 0u);

    w->btn_Return->click();
    EXPECT_EQ(w->before.cell(core::AttributesColumn, 1), "----");
    EXPECT_FALSE(w->btn_Return->isEnabled());
}

// Writes a 2 by 2 bitmap.
std::string smallBitmap()
{
    imaging::Bitmap bitmap;
    bitmap.width = 2;
    bitmap.height = 2;
    bitmap.pixels = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    return imaging::writeBmp(bitmap);
}

TEST(MainWindow, TheImageConversionReplacesABitmapByAJpegAndListsAgainWithoutTouchingTheUndo)
{
    TempFolder folder;
    folder.writeFile("Photo.BMP", smallBitmap());
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->btn_Return->setEnabled(true);
    w->btn_ChangeBMP2JPEG->click();
    EXPECT_EQ(w.boxes.questions, std::vector<QString>{QStringLiteral("情報: 画像ファイルを変換します")});
    ASSERT_EQ(w.boxes.told.size(), 1u);
    EXPECT_TRUE(w.boxes.told[0].startsWith(QStringLiteral("変換が完了しました")));
    EXPECT_EQ(namesOnDisk(folder), std::vector<std::string>{"Photo.jpg"});
    EXPECT_EQ(column(w->before, core::NameColumn), std::vector<std::string>{"Photo.jpg"});
    EXPECT_TRUE(w->btn_Return->isEnabled());
}

TEST(MainWindow, AJpegModeSwitchesTheJpegOptionsOffAndTheListingOnlyTheirControls)
{
    TempFolder folder;
    folder.writeFile("a.jpg");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->grp_JpegOptionsItems->button(1)->click();
    EXPECT_EQ(w->grp_JpegOptions->statusTip(), QStringLiteral("現在のJPEGファイルをBMPファイルに置換"));
    EXPECT_FALSE(w->grp_ArchiveOpt->isEnabled());
    EXPECT_FALSE(w->trk_Compression->isEnabledTo(w->grp_ArchiveOpt));
    w->btn_Filter->click();
    EXPECT_TRUE(w->trk_Compression->isEnabledTo(w->grp_ArchiveOpt));
    EXPECT_FALSE(w->grp_ArchiveOpt->isEnabled());
    w->grp_JpegOptionsItems->button(2)->click();
    EXPECT_TRUE(w->grp_ArchiveOpt->isEnabled());
    w->trk_Compression->setValue(75);
    EXPECT_EQ(w->lbl_CompPer->text(), QStringLiteral("75%"));
}

// Throws from the listing, as a failure nobody expected would.
class ListingThrows : public testing::ForwardingFileSystem
{
public:
    bool armed = false;
    std::error_code enumerate(std::string_view folder, std::string_view pattern, std::uint32_t extra,
                              const platform::EntryVisitor& visit) override
    {
        if (armed) {
            throw std::runtime_error("the disk went away");
        }
        return ForwardingFileSystem::enumerate(folder, pattern, extra, visit);
    }
};

TEST(MainWindow, AnErrorEscapingAHandlerIsReportedAndTheWindowGoesOn)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    ListingThrows fileSystem;
    TestWindow w(&fileSystem);
    ASSERT_TRUE(w.choose(folder.path()));
    fileSystem.armed = true;
    w->btn_Filter->click();
    EXPECT_EQ(w.boxes.errors, std::vector<QString>{QStringLiteral("the disk went away")});
    fileSystem.armed = false;
    w->btn_Filter->click();
    EXPECT_EQ(w->statusText(0), QStringLiteral("1 File(s)"));
}

TEST(MainWindow, ADigitCountThatIsNoNumberStopsTheRenameRunWithTheConversionError)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->num_NumberCnt->setText(QString());
    w->btn_AllChangeNameRun->click();
    ASSERT_EQ(w.boxes.errors.size(), 1u);
    EXPECT_EQ(w.boxes.errors[0], QStringLiteral("'' は整数ではありません"));
    EXPECT_EQ(namesOnDisk(folder), std::vector<std::string>{"a.txt"});
    EXPECT_TRUE(w->snapshot.empty());
}

TEST(MainWindow, ARightClickInTheTreeChoosesTheFolderAsALeftClickWould)
{
    TempFolder folder;
    folder.makeFolder("inner");
    folder.writeFile("inner/x.txt");
    TestWindow w;
    w->show();
    ASSERT_TRUE(w.choose(folder.path()));
    const QModelIndex inner = w->dirModel->index(QString::fromStdString(folder.pathOf("inner")));
    w->trr_DirList->expand(inner.parent());
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->trr_DirList->visualRect(inner).isValid(); }, 5000));
    w->trr_DirList->scrollTo(inner);
    QTest::mouseClick(w->trr_DirList->viewport(), Qt::RightButton, {},
                      w->trr_DirList->visualRect(inner).center());
    EXPECT_EQ(w->selectedFolder(), QString::fromStdString(folder.pathOf("inner")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->windowTitle().endsWith(QStringLiteral("inner】")); }, 5000));
    EXPECT_EQ(column(w->before, core::NameColumn), std::vector<std::string>{"x.txt"});
}

TEST(MainWindow, AHideOptionCheckedAtStartUpListsTheFolderAtOnce)
{
    TestWindow w(nullptr, "[Options]\nViewMode=3\n", true);
    EXPECT_TRUE(w->statusText(0).endsWith(QStringLiteral(" File(s)")));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Quorvane"))
        << "start-up sets the plain caption after the settings";
}

// --- Row moves, arrangement, hints ---

TEST(MainWindow, TheToolbarMovesTheSelectedRowsInBothLists)
{
    TempFolder folder;
    for (const char* name : {"1.txt", "2.txt", "3.txt"}) {
        folder.writeFile(name);
    }
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(QStringLiteral("x"));
    w->btn_ChangeExtTest->click();
    const std::vector<std::string> names = column(w->before, core::NameColumn);
    w->btn_DownLine->click();
    EXPECT_EQ(w->before.cell(core::NameColumn, 2), names[0]);
    EXPECT_EQ(w->after.cell(core::NameColumn, 2).substr(0, 1), names[0].substr(0, 1));
    EXPECT_EQ(w->before.selection(), (core::Selection{2, 2}));
    EXPECT_EQ(w->after.selection(), (core::Selection{2, 2}));
    w->btn_UpLine->click();
    EXPECT_EQ(column(w->before, core::NameColumn), names);
}

TEST(MainWindow, TheDownArrowInTheBeforeListMovesBothSelections)
{
    TempFolder folder;
    folder.writeFile("1.txt");
    folder.writeFile("2.txt");
    TestWindow w;
    w->show();
    ASSERT_TRUE(w.choose(folder.path()));
    w->grd_FileList1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(w->grd_FileList1, Qt::Key_Down);
    EXPECT_EQ(w->before.selection(), (core::Selection{2, 2}));
    EXPECT_EQ(w->after.selection(), (core::Selection{2, 2}));
}

TEST(MainWindow, ScrollingTheBeforeListScrollsTheAfterListToTheSameTopRow)
{
    TempFolder folder;
    for (int i = 0; i < 200; ++i) {
        folder.writeFile("file" + std::to_string(i) + ".txt");
    }
    TestWindow w;
    w->show();
    ASSERT_TRUE(w.choose(folder.path()));
    w->grd_FileList1->setTopRow(50);
    EXPECT_EQ(w->grd_FileList2->topRow(), 50);
}

TEST(MainWindow, TheListModelsStayConsistentThroughListingsPreviewsAndRuns)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.txt");
    TestWindow w;
    QAbstractItemModelTester beforeTester(&w->grd_FileList1->model(),
                                          QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester afterTester(&w->grd_FileList2->model(),
                                         QAbstractItemModelTester::FailureReportingMode::Fatal);
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(QStringLiteral("dat"));
    w->btn_ChangeExtTest->click();
    w->btn_ChangeExtRun->click();
    w->btn_Return->click();
    TempFolder empty;
    ASSERT_TRUE(w.choose(empty.path()));
    EXPECT_EQ(w->grd_FileList1->model().rowCount(), 1);
}

TEST(MainWindow, AFullRefreshFitsEveryColumnToItsWidestTextPlusTen)
{
    TempFolder folder;
    folder.writeFile("a-rather-long-file-name-for-fitting.txt");
    TestWindow w;
    w->show();
    ASSERT_TRUE(w.choose(folder.path()));
    const QFontMetrics metrics(w->grd_FileList1->font());
    EXPECT_EQ(w->grd_FileList1->columnWidth(0),
              metrics.horizontalAdvance(QStringLiteral("a-rather-long-file-name-for-fitting.txt")) + 10);
}

TEST(MainWindow, SwitchingToStackedAndBackGivesTheBeforeListHalfThePanelMinusOne)
{
    TestWindow w;
    w->btn_SortRightToLeft->click();
    EXPECT_TRUE(w->stacked());
    EXPECT_EQ(w->grd_FileList1->height(), w->pnl_Files->height() / 2 - 1);
    w->btn_SortUpToDown->click();
    EXPECT_FALSE(w->stacked());
    EXPECT_EQ(w->grd_FileList1->width(), w->pnl_Files->width() / 2 - 1);
}

TEST(MainWindow, TabsShareTheWidthInSevenAndANarrowPageControlKeepsThem)
{
    TestWindow w;
    w->show();
    w->resize(1000, 600);
    QApplication::processEvents();
    const int shared = w->pag_EditMenu->width() / 7 - 1;
    EXPECT_EQ(w->tabWidth(), shared);
    EXPECT_EQ(w->pag_EditMenu->tabBar()->tabRect(0).width(), shared);
    w->pag_EditMenu->resize(5, 170);
    EXPECT_EQ(w->tabWidth(), shared);
}

TEST(MainWindow, TheStatusBarPanelsAreEightyTheRestAndOneHundredSeventyWide)
{
    TestWindow w;
    w->show();
    QApplication::processEvents();
    std::vector<QLabel*> panels;
    for (int panel = 0; panel < 3; ++panel) {
        panels.push_back(
            w->sta_StatusBar->findChild<QLabel*>(QStringLiteral("sta_StatusBar_Panel%1").arg(panel)));
        ASSERT_NE(panels.back(), nullptr);
    }
    EXPECT_FALSE(w->sta_Conflicts->isVisible())
        << "the count of conflicts shows only after a preview with some";
    EXPECT_EQ(panels[0]->width(), 80);
    EXPECT_EQ(panels[2]->width(), 170);
    EXPECT_EQ(panels[1]->maximumWidth(), w->sta_StatusBar->width() - 250);
}

TEST(MainWindow, AControlsHintShowsItsLongPartInStatusPanelOne)
{
    TestWindow w;
    QStatusTipEvent tip(QStringLiteral("short|the long part"));
    QApplication::sendEvent(w.window.get(), &tip);
    EXPECT_EQ(w->statusText(1), QStringLiteral("the long part"));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(w->btn_Filter, &enter);
    EXPECT_EQ(w->statusText(1), QStringLiteral("絞り込みの実行"));
}

TEST(MainWindow, TheNumericFieldsTakeTypedDigitsOnlyAndSelectAllOnEntry)
{
    // A folder with a file, so that the fields are on whatever the start folder holds.
    TempFolder folder;
    folder.writeFile("a.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.window.get()));
    w->num_FileNameNo->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(w->num_FileNameNo->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(w->num_FileNameNo, QStringLiteral("1a2"));
    EXPECT_EQ(w->num_FileNameNo->text(), QStringLiteral("12"));
}

TEST(MainWindow, TheUpDownStepsTheDigitCountFromOneToNinetyNine)
{
    TestWindow w;
    auto* up = w->btn_UpDownNo->findChild<QToolButton*>(QStringLiteral("btn_UpDownNo_Up"));
    auto* down = w->btn_UpDownNo->findChild<QToolButton*>(QStringLiteral("btn_UpDownNo_Down"));
    down->click();
    EXPECT_EQ(w->num_NumberCnt->text(), QStringLiteral("1"));
    up->click();
    EXPECT_EQ(w->num_NumberCnt->text(), QStringLiteral("2"));
    w->num_NumberCnt->setText(QStringLiteral("99"));
    up->click();
    EXPECT_EQ(w->num_NumberCnt->text(), QStringLiteral("99"));
}

TEST(MainWindow, ThePreviewButtonShowsAndHidesThePanel)
{
    TestWindow w;
    w->btn_Preview->click();
    EXPECT_TRUE(w->PreviewOn);
    EXPECT_EQ(w->pnl_Preview->maximumWidth(), 170);
    w->btn_Preview->click();
    EXPECT_FALSE(w->PreviewOn);
    EXPECT_EQ(w->pnl_Preview->maximumWidth(), 0);
}

} // namespace
} // namespace quorvane::ui
