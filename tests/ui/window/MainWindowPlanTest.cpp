#include "WindowSupport.h"
#include "support/CaseName.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>
#include <ostream>

namespace quorvane::ui {
namespace {

using testing::TempFolder;

struct ConflictCase
{
    const char* says;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    QString extension;
    std::vector<QString> toolTips; // of the after list's name cells, in list order
    QString count;                 // empty: no count is shown
};

void PrintTo(const ConflictCase& c, std::ostream* out)
{
    *out << c.says;
}

const ConflictCase conflictCases[] = {
    {"two files that would get one name mark the later row",
     {"a.jpg", "a.png"},
     {},
     QStringLiteral("gif"),
     {QString(), QStringLiteral("同じ名前になるファイルがあります: 1 行目")},
     QStringLiteral("衝突: 1 件")},
    {"a name a folder already holds marks its row",
     {"a.txt", "b.txt"},
     {"a.dat"},
     QStringLiteral("dat"),
     {QStringLiteral("同じ名前のファイルがすでにあります"), QString()},
     QStringLiteral("衝突: 1 件")},
    {"names the system refuses mark every row",
     {"a.txt", "b.txt"},
     {},
     QStringLiteral("x/y"),
     {QStringLiteral("使用できない名前です"), QStringLiteral("使用できない名前です")},
     QStringLiteral("衝突: 2 件")},
    {"a plan without conflicts marks nothing",
     {"a.txt", "b.txt"},
     {},
     QStringLiteral("png"),
     {QString(), QString()},
     QString()},
};

class PreviewConflicts : public ::testing::TestWithParam<ConflictCase>
{};

TEST_P(PreviewConflicts, AreMarkedWithTheirReasonAndCounted)
{
    const ConflictCase& c = GetParam();
    TempFolder folder;
    for (const std::string& name : c.files) {
        folder.writeFile(name);
    }
    for (const std::string& name : c.folders) {
        folder.makeFolder(name);
    }
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(c.extension);
    w->btn_ChangeExtTest->click();

    const FileTableModel& model = w->grd_FileList2->model();
    std::vector<QString> toolTips;
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex name = model.index(row, core::NameColumn);
        toolTips.push_back(name.data(Qt::ToolTipRole).toString());
        EXPECT_EQ(name.data(FileTableModel::WarningRole).toBool(), !toolTips.back().isEmpty());
    }
    EXPECT_EQ(toolTips, c.toolTips);
    EXPECT_EQ(w->sta_Conflicts->isVisibleTo(w.window.get()), !c.count.isEmpty());
    EXPECT_EQ(w->sta_Conflicts->text(), c.count);

    // The count stays until the next preview; a listing clears it with the marks.
    w->btn_ChangeAttrTest->click();
    EXPECT_TRUE(w->sta_Conflicts->text().isEmpty());
    EXPECT_TRUE(model.index(0, core::NameColumn).data(Qt::ToolTipRole).toString().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(MainWindowPlans, PreviewConflicts, ::testing::ValuesIn(conflictCases),
                         testing::SaysName());

TEST(MainWindowPlans, RenumberingANumberedFolderAfterMovingAPhotoRunsAndUndoes)
{
    TempFolder folder;
    for (int i = 1; i <= 5; ++i) {
        folder.writeFile(std::to_string(i) + ".jpg", "photo " + std::to_string(i));
    }
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    for (int move = 0; move < 4; ++move) {
        w->btn_DownLine->click(); // the first photo goes to the bottom
    }
    ASSERT_EQ(w->before.cell(core::NameColumn, 5), "1.jpg");
    w->cbo_FileName1->setEditText(QStringLiteral("連番"));
    w->cbo_FileName2->setEditText(QString());
    w->cbo_FileName3->setEditText(QString());
    w->num_FileNameNo->setValue(10000);
    w->num_NumberCnt->setText(QStringLiteral("1"));
    w->btn_AllChangeNameTest->click();
    EXPECT_TRUE(w->sta_Conflicts->text().isEmpty()) << "a cycle of names is no conflict";

    w->btn_AllChangeNameRun->click();
    EXPECT_EQ(w.boxes.questions, std::vector<QString>{QStringLiteral("情報: リネームを実行します")});
    EXPECT_EQ(w.boxes.told, std::vector<QString>{QStringLiteral("リネームが完了しました")});
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(folder.readFile(std::to_string(i) + ".jpg"), "photo " + std::to_string(i == 5 ? 1 : i + 1));
    }

    w->btn_Return->click();
    EXPECT_EQ(w.boxes.told.back(), QStringLiteral("変更の取り消しが完了しました"));
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(folder.readFile(std::to_string(i) + ".jpg"), "photo " + std::to_string(i));
    }
    EXPECT_EQ(column(w->before, core::NameColumn),
              (std::vector<std::string>{"1.jpg", "2.jpg", "3.jpg", "4.jpg", "5.jpg"}));
}

} // namespace
} // namespace quorvane::ui
