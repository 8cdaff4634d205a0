#include "WindowSupport.h"
#include "core/journal/Journal.h"
#include "core/listing/Listing.h"
#include "core/runs/RenameRun.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/CaseName.h"
#include "ui/history/HistoryWindow.h"

#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace quorvane::ui {
namespace {

using testing::TempFolder;

std::vector<std::string> namesIn(const TempFolder& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Lists folder and renames its files by renames, recording the run in the journal.
void renameRecorded(core::Journal& journal, const TempFolder& folder,
                    const std::map<std::string, std::string>& renames)
{
    platform::PosixFileSystem fileSystem;
    core::FileTable before;
    core::FileTable after;
    core::listFolder(fileSystem, {folder.path(), "*", false, false}, before, after);
    for (int row = 1; row < before.rowCount(); ++row) {
        const std::string name(before.cell(core::NameColumn, row));
        after.setCell(core::NameColumn, row, renames.contains(name) ? renames.at(name) : name);
    }
    core::UndoSnapshot snapshot;
    core::runRenames(before, after, folder.path(), fileSystem, snapshot, {}, {}, &journal);
}

TEST(MainWindowJournal, TheHistoryButtonFollowsTheUndoButton)
{
    TestWindow w;
    const QList<QAction*> actions = w->tol_ToolBar->actions();
    const auto at = [&](QWidget* widget) {
        return actions.indexOf(w->tol_ToolBar->actionAt(widget->pos()));
    };
    EXPECT_EQ(at(w->btn_History), at(w->btn_Return) + 1);
    EXPECT_EQ(w->btn_History->statusTip(), QStringLiteral("履歴"));
}

struct RecoveryCase
{
    const char* says;
    core::Answer answer;
    std::vector<std::string> names;
};

class UnfinishedRun : public ::testing::TestWithParam<RecoveryCase>
{};

TEST_P(UnfinishedRun, IsOfferedBeforeAnythingIsListedAndTheAnswerLeavesAWholeFolder)
{
    const RecoveryCase& c = GetParam();
    TempFolder folder;
    folder.writeFile("a.jpg", "A");
    folder.writeFile("b.jpg", "B");
    TempFolder settings;
    {
        std::string reason;
        const auto journal = core::Journal::open(settings.pathOf("history.sqlite3"), reason);
        platform::PosixFileSystem fileSystem;
        core::FileTable before;
        core::FileTable after;
        core::listFolder(fileSystem, {folder.path(), "*", false, false}, before, after);
        after.setCell(core::NameColumn, 1, "x.jpg");
        after.setCell(core::NameColumn, 2, "y.jpg");
        core::UndoSnapshot plan;
        ASSERT_FALSE(plan.takeRows(before, after, folder.path(), fileSystem));
        journal->begin(core::RunKind::Rename, plan);
        // The program died after the first rename.
        ASSERT_EQ(rename(folder.pathOf("a.jpg").c_str(), folder.pathOf("x.jpg").c_str()), 0);
    }
    ScriptedBoxes boxes;
    boxes.answers = {c.answer};
    Tfom_Main window(boxes, settings.pathOf("quorvn.ini"));

    ASSERT_FALSE(boxes.questions.empty());
    EXPECT_TRUE(boxes.questions.front().contains(QStringLiteral("前回の処理が完了していません")));
    EXPECT_TRUE(boxes.questions.front().contains(QString::fromStdString(folder.path())));
    EXPECT_TRUE(boxes.questions.front().contains(QStringLiteral("リネーム")));
    EXPECT_EQ(namesIn(folder), c.names) << c.says;
    EXPECT_FALSE(window.journal()->unfinishedRun());
}

const RecoveryCase recoveryCases[] = {
    {"Yes puts the folder back as it was before the run", core::Answer::Yes, {"a.jpg", "b.jpg"}},
    {"No finishes the run as planned", core::Answer::No, {"x.jpg", "y.jpg"}},
};
INSTANTIATE_TEST_SUITE_P(MainWindowJournal, UnfinishedRun, ::testing::ValuesIn(recoveryCases),
                         testing::SaysName());

TEST(MainWindowJournal, TheHistoryWindowListsRunsNewestFirstAndUndoesTheChosenOne)
{
    TempFolder folder;
    folder.writeFile("a.jpg", "A");
    TestWindow w;
    ASSERT_TRUE(w->journal());
    renameRecorded(*w->journal(), folder, {{"a.jpg", "b.jpg"}});
    renameRecorded(*w->journal(), folder, {{"b.jpg", "c.jpg"}});

    int rows = 0;
    QString firstRunState;
    QTimer::singleShot(0, [&] {
        auto* history = w->findChild<HistoryWindow*>(QStringLiteral("fom_History"));
        ASSERT_TRUE(history);
        rows = history->grd_History->model()->rowCount();
        // The older run is refused while the newer one stands; the newer one goes first.
        history->chooseRow(1);
        history->btn_HistoryUndo->click();
        history->chooseRow(0);
        history->btn_HistoryUndo->click();
        history->chooseRow(2);
        history->btn_HistoryUndo->click();
        firstRunState = history->grd_History->model()->index(3, 5).data().toString();
        history->accept();
    });
    w->btn_History->click();

    EXPECT_EQ(rows, 2);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"a.jpg"});
    EXPECT_EQ(folder.readFile("a.jpg"), "A");
    EXPECT_TRUE(w.boxes.told.front().contains(QStringLiteral("先にその処理を取り消してください")))
        << w.boxes.told.front().toStdString();
    EXPECT_EQ(w.boxes.questions.size(), 2u) << "the refused undo is never offered for confirmation";
    EXPECT_EQ(firstRunState, QStringLiteral("取り消し済み"));
}

TEST(MainWindowJournal, AJournalThatCannotBeUsedIsSaidOnceAndTheRunsGoOnWithoutIt)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    TempFolder settings;
    settings.writeFile("history.sqlite3", std::string(4096, 'x'));
    ScriptedBoxes boxes;
    Tfom_Main window(boxes, settings.pathOf("quorvn.ini"));
    ASSERT_EQ(boxes.told.size(), 1u);
    EXPECT_TRUE(boxes.told.front().startsWith(QStringLiteral("履歴を使用できません: ")))
        << boxes.told.front().toStdString();

    window.selectFolder(QString::fromStdString(folder.path()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.before.cell(core::NameColumn, 1) == "a.txt"; }, 5000));
    window.edt_Ext->setText(QStringLiteral("dat"));
    window.btn_ChangeExtRun->click();
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"a.dat"});
    window.btn_Return->click();
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(std::count_if(boxes.told.begin(), boxes.told.end(),
                            [](const QString& text) {
                                return text.startsWith(QStringLiteral("履歴を使用できません"));
                            }),
              1);
}

} // namespace
} // namespace quorvane::ui
