#include "WindowSupport.h"
#include "support/CaseName.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

using testing::TempFolder;

std::vector<std::string> namesOnDisk(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A shown, active window with a.txt and b.txt listed, so that keys reach it as they reach the
// user's window.
struct ActiveWindow
{
    TempFolder folder;
    TestWindow w;

    ActiveWindow()
    {
        folder.writeFile("a.txt");
        folder.writeFile("b.txt");
        w->show();
        w->activateWindow();
    }

    bool ready() { return QTest::qWaitForWindowActive(w.window.get()) && w.choose(folder.path()); }
};

TEST(MainWindowSerial, ARunThatItsPreviewRefusesEndsAfterTheMessageWithNothingRenamed)
{
    ActiveWindow a;
    ASSERT_TRUE(a.ready());
    // The after list still holds another tab's preview, which the refused run must not apply.
    a.w->edt_SearchName->setText(QStringLiteral("a"));
    a.w->edt_ReplaceName->setText(QStringLiteral("z"));
    a.w->btn_ReplaceNameTest->click();
    const std::vector<std::string> replaced = column(a.w->after, core::NameColumn);
    ASSERT_NE(std::find(replaced.begin(), replaced.end(), "z.txt"), replaced.end());
    a.w->cbo_FileName3->setEditText(QStringLiteral("_(アンダーライン)"));
    a.w->btn_AllChangeNameRun->click();
    EXPECT_EQ(a.w.boxes.told, std::vector<QString>{QStringLiteral(
                                  "【元ファイル名】もしくは【連番】を必ずファイル名に含めてください")});
    EXPECT_EQ(namesOnDisk(a.folder), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_TRUE(a.w->snapshot.empty());
    EXPECT_FALSE(a.w->btn_Return->isEnabled());
}

struct TypedStartCase
{
    const char* says;
    Qt::Key accelerator; // Alt with P previews, with R runs
    QString typed;       // into the start field, which keeps the focus
    std::vector<std::string> afterList;
    std::vector<std::string> onDisk;
    std::vector<QString> errors;
};

const TypedStartCase typedStarts[] = {
    {"alt p previews from the typed start",
     Qt::Key_P,
     QStringLiteral("500"),
     {"500.txt", "501.txt"},
     {"a.txt", "b.txt"},
     {}},
    {"alt r renames from the typed start",
     Qt::Key_R,
     QStringLiteral("0500"),
     {"", ""},
     {"500.txt", "501.txt"},
     {}},
    {"a start that cannot be read stops the run after its error",
     Qt::Key_R,
     QStringLiteral("5-"),
     {"", ""},
     {"a.txt", "b.txt"},
     {QStringLiteral("'5-' は浮動小数点数ではありません")}},
};

class TypedStart : public ::testing::TestWithParam<TypedStartCase>
{};

TEST_P(TypedStart, IsCommittedBeforeTheSerialPreviewOrRun)
{
    const TypedStartCase& c = GetParam();
    ActiveWindow a;
    ASSERT_TRUE(a.ready());
    a.w->num_FileNameNo->setFocus();
    a.w->num_FileNameNo->clear();
    // Pasted, as the field takes typed digits only.
    a.w->num_FileNameNo->insert(c.typed);
    ASSERT_TRUE(a.w->num_FileNameNo->hasFocus());
    QTest::keyClick(a.w->num_FileNameNo, c.accelerator, Qt::AltModifier);
    // A button's accelerator shows the button pressed for a moment and clicks when it comes up.
    QPushButton* button = c.accelerator == Qt::Key_P ? a.w->btn_AllChangeNameTest : a.w->btn_AllChangeNameRun;
    ASSERT_TRUE(button->isDown());
    ASSERT_TRUE(QTest::qWaitFor([button] { return !button->isDown(); }, 5000));
    EXPECT_EQ(column(a.w->after, core::NameColumn), c.afterList);
    EXPECT_EQ(namesOnDisk(a.folder), c.onDisk);
    EXPECT_EQ(a.w.boxes.errors, c.errors);
    if (c.errors.empty()) {
        EXPECT_EQ(a.w->num_FileNameNo->value(), 5000000);
        EXPECT_EQ(a.w->num_FileNameNo->text(), QStringLiteral("500"));
    }
}

INSTANTIATE_TEST_SUITE_P(MainWindowSerial, TypedStart, ::testing::ValuesIn(typedStarts), testing::SaysName());

} // namespace
} // namespace quorvane::ui
