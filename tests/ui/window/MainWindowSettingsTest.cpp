#include "WindowSupport.h"
#include "core/settings/IniFile.h"
#include "support/CaseName.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSplitter>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quorvane::ui {
namespace {

core::IniFile settingsOf(const TestWindow& window)
{
    return core::IniFile::parse(window.settingsFolder.readFile("quorvn.ini"));
}

TEST(MainWindowSettings, ClosingWritesTheNineKeysAndTheNextStartRestoresTheArrangement)
{
    TestWindow first;
    first->resize(780, 560);
    first->btn_SortRightToLeft->click();
    first->btn_Preview->click();
    first->chk_Set_AutoPlay->setChecked(true);
    first->chk_Set_HideHideFile->setChecked(false);
    first->chk_Set_HideSysFile->setChecked(true);
    first->spl_002->setSizes({120, first->spl_002->height() - 123});
    const int beforeHeight = first->grd_FileList1->height();
    first->close();
    const core::IniFile written = settingsOf(first);
    EXPECT_EQ(written.value("WindowState", "Width"), "780");
    EXPECT_EQ(written.value("WindowState", "Height"), "560");
    EXPECT_EQ(written.value("WindowState", "DivMode"), "1");
    EXPECT_EQ(written.value("WindowState", "PreMode"), "1");
    EXPECT_EQ(written.value("WindowState", "FilesHeight"), std::to_string(beforeHeight));
    EXPECT_EQ(written.value("Options", "ViewMode"), "2");
    EXPECT_EQ(written.value("Options", "AutoPlay"), "1");

    TestWindow second(nullptr, first.settingsFolder.readFile("quorvn.ini"), true);
    EXPECT_EQ(second->width(), 780);
    EXPECT_TRUE(second->stacked());
    EXPECT_EQ(second->grd_FileList1->height(), beforeHeight);
    EXPECT_TRUE(second->btn_Preview->isChecked());
    EXPECT_TRUE(second->PreviewOn);
    EXPECT_TRUE(second->chk_Set_AutoPlay->isChecked());
    EXPECT_TRUE(second->chk_Set_HideSysFile->isChecked());
    EXPECT_FALSE(second->chk_Set_HideHideFile->isChecked());
}

struct ViewModeCase
{
    const char* says;
    const char* viewMode;
    bool hideHidden;
    bool hideSystem;
};

const ViewModeCase viewModes[] = {
    {"three hides both kinds", "3", true, true},
    {"one hides hidden files only", "1", true, false},
    {"a stored zero hides neither", "0", false, false},
    {"five leaves the options as they start", "5", true, false},
    {"without a value dot files and other hidden files are hidden", nullptr, true, false},
    {"a value that is no number counts as none", "12abc", true, false},
};

class ViewMode : public ::testing::TestWithParam<ViewModeCase>
{};

TEST_P(ViewMode, SetsTheHideOptions)
{
    const ViewModeCase& c = GetParam();
    const std::string stored = c.viewMode != nullptr ? std::string("ViewMode=") + c.viewMode + "\n" : "";
    TestWindow w(nullptr, "[Options]\n" + stored, true);
    EXPECT_EQ(w->chk_Set_HideHideFile->isChecked(), c.hideHidden);
    EXPECT_EQ(w->chk_Set_HideSysFile->isChecked(), c.hideSystem);
}

INSTANTIATE_TEST_SUITE_P(MainWindowSettings, ViewMode, ::testing::ValuesIn(viewModes), testing::SaysName());

TEST(MainWindowSettings, PatternsAreReadUpToTheFirstMissingKeyAndNotWrittenBack)
{
    TestWindow w(nullptr, "[ExtList]\n0=*.jpg\n1=*.bmp\n3=*.txt\n", true);
    ASSERT_EQ(w->cbo_FileType->count(), 2);
    EXPECT_EQ(w->cbo_FileType->itemText(1), QStringLiteral("*.bmp"));
    EXPECT_EQ(w->cbo_FileType->currentText(), QStringLiteral("*.*"))
        << "the window starts by listing every file";
    EXPECT_FALSE(settingsOf(w).hasKey("ExtList", "4"));
}

TEST(MainWindowSettings, APatternListWithoutKeyZeroOffersTheBuiltInPatternsAndLeavesTheFileAsItIs)
{
    const std::string text = "[ExtList]\n1=*.mine\n2=*.other\n3=*.third\n";
    TestWindow w(nullptr, text, true);
    EXPECT_EQ(w->cbo_FileType->count(), 30);
    EXPECT_EQ(w.settingsFolder.readFile("quorvn.ini"), text);
}

TEST(MainWindowSettings, ADivModeOfTwoLaysTheListsSideBySideAndTheNextCloseWritesZero)
{
    TestWindow w(nullptr, "[WindowState]\nDivMode=2\nDirWidth=200\nFilesWidth=250\n", true);
    EXPECT_FALSE(w->stacked());
    EXPECT_EQ(w->trr_DirList->width(), 200);
    EXPECT_EQ(w->grd_FileList1->width(), 250);
    w->close();
    EXPECT_EQ(settingsOf(w).value("WindowState", "DivMode"), "0");
    EXPECT_EQ(settingsOf(w).value("WindowState", "FilesWidth"), "250");
}

struct ListSizeCase
{
    const char* says;
    std::string text;
    const char* key;
};

const ListSizeCase listSizes[] = {
    {"a huge height of the stacked before list", "[WindowState]\nDivMode=1\nFilesHeight=2147483647\n",
     "FilesHeight"},
    {"a huge width of the before list side by side", "[WindowState]\nFilesWidth=2147483647\n", "FilesWidth"},
};

class ListSizeFromTheFile : public ::testing::TestWithParam<ListSizeCase>
{};

TEST_P(ListSizeFromTheFile, IsClampedToTheFilesPanelAndWrittenBackSo)
{
    TestWindow w(nullptr, GetParam().text, true);
    const bool stacked = w->stacked();
    const auto extent = [stacked](const QWidget* widget) {
        return stacked ? widget->height() : widget->width();
    };
    const int panel = extent(w->spl_002);
    EXPECT_LE(extent(w->grd_FileList1), panel);
    EXPECT_GE(extent(w->grd_FileList2), w->grd_FileList2->minimumHeight());
    w->close();
    const std::optional<std::string> written = settingsOf(w).value("WindowState", GetParam().key);
    ASSERT_TRUE(written.has_value());
    EXPECT_LE(std::stoll(*written), panel);
}

INSTANTIATE_TEST_SUITE_P(MainWindowSettings, ListSizeFromTheFile, ::testing::ValuesIn(listSizes),
                         testing::SaysName());

TEST(MainWindowSettings, UnknownKeysAndCommentsSurviveTheClose)
{
    TestWindow w(nullptr, "; mine\n[Mine]\nKeep=this\n[WindowState]\nWidth=820\n", true);
    w->close();
    const std::string text = w.settingsFolder.readFile("quorvn.ini");
    EXPECT_EQ(text.rfind("; mine\n[Mine]\nKeep=this\n", 0), 0u);
}

struct BadFileCase
{
    const char* says;
    std::string text;
};

const BadFileCase badFiles[] = {
    {"binary garbage", std::string("\0\xff\xfe[\x01=\x02\n\r\r\0", 12)},
    {"a line of a megabyte", "[WindowState]\nWidth=" + std::string(1 << 20, '9') + "\n"},
    {"duplicate sections and keys without an equals sign",
     "[WindowState]\nWidth\n[WindowState]\nWidth=700\n[Options]\nViewMode\n"},
    {"negative and huge numbers", "[WindowState]\nWidth=-5\nHeight=99999999999999999999\nDirWidth=-70\n"
                                  "FilesWidth=-3\nFilesHeight=123456789\n"},
};

class BadSettingsFile : public ::testing::TestWithParam<BadFileCase>
{};

TEST_P(BadSettingsFile, StillOpensTheWindow)
{
    TestWindow w(nullptr, GetParam().text, true);
    EXPECT_GE(w->width(), 100);
    EXPECT_LE(w->width(), 20000);
    EXPECT_GT(w->cbo_FileType->count(), 0);
    w->close();
    EXPECT_TRUE(w.boxes.errors.empty());
}

INSTANTIATE_TEST_SUITE_P(MainWindowSettings, BadSettingsFile, ::testing::ValuesIn(badFiles),
                         testing::SaysName());

TEST(MainWindowSettings, AnExtListOfOneHundredThousandKeysOpensTheWindow)
{
    std::string text = "[ExtList]\n";
    for (int i = 0; i < 100000; ++i) {
        text += std::to_string(i) + "=*." + std::to_string(i) + "\n";
    }
    TestWindow w(nullptr, text, true);
    EXPECT_EQ(w->cbo_FileType->count(), 100000);
}

TEST(MainWindowSettings, AFailedWriteIsReportedAndTheWindowStillCloses)
{
    testing::TempFolder folder;
    folder.writeFile("not-a-folder");
    const std::string path = folder.pathOf("not-a-folder") + "/quorvn.ini";
    ScriptedBoxes boxes;
    Tfom_Main window(boxes, path);
    window.show();
    EXPECT_TRUE(window.close());
    EXPECT_EQ(boxes.errors,
              std::vector<QString>{QString::fromStdString(path) + QStringLiteral(" に書き込めません")});
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace quorvane::ui
