// The window runs and undoes in the folder its rows were listed from, shows a folder it cannot
// read as an error, and keeps the undo of a run that a later rollback did not replace.

#include "WindowSupport.h"
#include "platform/ErrorCode.h"
#include "support/ForwardingFileSystem.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <utility>

namespace quorvane::ui {
namespace {

using testing::TempFolder;

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

const QString lostFolder = QStringLiteral("一覧のフォルダが削除されたか、別のフォルダに変わっています");

// Two sibling folders A and B with a file each; the window lists A.
struct TwoFolders
{
    TempFolder root;
    std::string a = root.pathOf("A");
    std::string b = root.pathOf("B");
    TestWindow w;

    TwoFolders()
    {
        root.makeFolder("A");
        root.makeFolder("B");
        root.writeFile("A/1.txt");
        root.writeFile("B/1.txt");
    }

    // Another program moves A away while a question is open, and the window's events go on as
    // they do under a real modal box, until the tree no longer shows A.
    void moveAwayWhileAsking(const QString& question)
    {
        w.boxes.whileAsking = [this, question](const QString& text) {
            if (text != question) {
                return;
            }
            std::filesystem::rename(a, root.pathOf("A-moved"));
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return w->selectedFolder() != QString::fromStdString(a); }, 5000));
            QTest::qWait(200);
        };
    }
};

TEST(ListedFolder, AnUndoWhoseFolderMovedAwayWhileItAskedChangesNothingAnywhereAndSaysWhy)
{
    TwoFolders f;
    ASSERT_TRUE(f.w.choose(f.a));
    f.w->edt_Ext->setText(QStringLiteral("y"));
    f.w->btn_ChangeExtRun->click();
    ASSERT_EQ(namesIn(f.a), std::vector<std::string>{"1.y"});
    f.moveAwayWhileAsking(QStringLiteral("変更を取り消します"));
    f.w->btn_Return->click();
    EXPECT_EQ(namesIn(f.b), std::vector<std::string>{"1.txt"});
    EXPECT_EQ(namesIn(f.root.pathOf("A-moved")), std::vector<std::string>{"1.y"});
    ASSERT_FALSE(f.w.boxes.told.empty());
    EXPECT_TRUE(f.w.boxes.told.back().startsWith(lostFolder)) << f.w.boxes.told.back().toStdString();
    EXPECT_TRUE(f.w->before.row(1).blank());
    EXPECT_FALSE(f.w->btn_Return->isEnabled());
}

TEST(ListedFolder, AReplaceConfirmedAfterItsFolderMovedAwayRenamesNothingInTheNeighbour)
{
    TwoFolders f;
    ASSERT_TRUE(f.w.choose(f.a));
    f.w->edt_SearchName->setText(QStringLiteral("1"));
    f.w->edt_ReplaceName->setText(QStringLiteral("z"));
    f.moveAwayWhileAsking(QStringLiteral("リネームを実行します"));
    f.w->btn_ReplaceNameRun->click();
    EXPECT_EQ(namesIn(f.b), std::vector<std::string>{"1.txt"});
    EXPECT_EQ(namesIn(f.root.pathOf("A-moved")), std::vector<std::string>{"1.txt"});
    EXPECT_TRUE(f.w->before.row(1).blank());
}

TEST(ListedFolder, ThatVanishesEmptiesTheListsWithAMessageInsteadOfListingANeighbour)
{
    TwoFolders f;
    ASSERT_TRUE(f.w.choose(f.a));
    std::filesystem::remove_all(f.a);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !f.w.boxes.told.empty(); }, 5000));
    QTest::qWait(200);
    EXPECT_EQ(f.w.boxes.told.back(),
              lostFolder + QStringLiteral("。一覧を空にしました\r\n\r\n") + QString::fromStdString(f.a));
    EXPECT_TRUE(f.w->before.row(1).blank());
    EXPECT_EQ(f.w->statusText(0), QStringLiteral("0 File(s)"));
    EXPECT_FALSE(f.w->windowTitle().contains(QString::fromStdString(f.b)));
    EXPECT_FALSE(f.w->btn_ChangeExtRun->isEnabled());
}

// A folder whose reading fails after its first entry, as a failing disk's would.
class ReadingFailsPartWay : public testing::ForwardingFileSystem
{
public:
    std::error_code enumerate(std::string_view folder, std::string_view pattern, std::uint32_t extra,
                              const platform::EntryVisitor& visit) override
    {
        bool first = true;
        ForwardingFileSystem::enumerate(folder, pattern, extra, [&](const platform::DirectoryEntry& entry) {
            if (std::exchange(first, false)) {
                visit(entry);
            }
        });
        return platform::errorFromErrno(EIO);
    }
};

TEST(ListedFolder, ThatCannotBeReadToItsEndShowsTheErrorWithEmptyLists)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.txt");
    ReadingFailsPartWay fileSystem;
    TestWindow w(&fileSystem);
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_EQ(w->statusText(0), QStringLiteral("読込エラー"));
    ASSERT_EQ(w.boxes.errors.size(), 1u);
    EXPECT_EQ(w.boxes.errors[0],
              QStringLiteral("フォルダを最後まで読み込めませんでした：") +
                  QString::fromStdString(folder.path()) + QStringLiteral("\r\n\r\n") +
                  QString::fromStdString(platform::errorText(platform::errorFromErrno(EIO))));
    EXPECT_TRUE(w->before.row(1).blank());
    EXPECT_FALSE(w->btn_ChangeExtRun->isEnabled());
}

TEST(ListedFolder, AnUndoAfterARolledBackRunUndoesTheRunBeforeIt)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("b.txt");
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    w->edt_Ext->setText(QStringLiteral("dat"));
    w->btn_ChangeExtRun->click();
    ASSERT_TRUE(w->btn_Return->isEnabled());
    // The second run fails at b.dat, whose new name another file holds, and is rolled back.
    folder.writeFile("b.x", "in the way");
    w->edt_Ext->setText(QStringLiteral("x"));
    w.boxes.answers = {core::Answer::Yes, core::Answer::Yes};
    w->btn_ChangeExtRun->click();
    ASSERT_EQ(namesIn(folder.path()), (std::vector<std::string>{"a.dat", "b.dat", "b.x"}));
    EXPECT_TRUE(w->btn_Return->isEnabled());

    w->btn_Return->click();
    EXPECT_EQ(w.boxes.told.back(), QStringLiteral("変更の取り消しが完了しました"));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"a.txt", "b.txt", "b.x"}));
}

// Refuses to give one name back, so that a rollback leaves that file renamed.
class RenameBackFails : public testing::ForwardingFileSystem
{
public:
    std::string refused;
    std::error_code renameNoReplace(std::string_view from, std::string_view to) override
    {
        if (to.ends_with("/" + refused)) {
            return std::make_error_code(std::errc::permission_denied);
        }
        return ForwardingFileSystem::renameNoReplace(from, to);
    }
};

TEST(ListedFolder, APartialRollbackOffersTheUndoOfWhatStayedRenamed)
{
    TempFolder folder;
    folder.writeFile("a.txt");
    folder.writeFile("a.log");
    RenameBackFails fileSystem;
    TestWindow w(&fileSystem);
    ASSERT_TRUE(w.choose(folder.path()));
    // The first row's file takes a.dat, the second fails, and the first cannot have its name back.
    const std::string first(w->before.cell(core::NameColumn, 1));
    const std::string second(w->before.cell(core::NameColumn, 2));
    fileSystem.refused = first;
    w->edt_Ext->setText(QStringLiteral("dat"));
    w.boxes.answers = {core::Answer::Yes, core::Answer::Yes};
    w->btn_ChangeExtRun->click();
    ASSERT_EQ(namesIn(folder.path()), (std::vector<std::string>{"a.dat", second}));
    EXPECT_TRUE(w->btn_Return->isEnabled());

    fileSystem.refused.clear();
    w->btn_Return->click();
    EXPECT_EQ(w.boxes.told.back(), QStringLiteral("変更の取り消しが完了しました"));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"a.log", "a.txt"}));
}

} // namespace
} // namespace quorvane::ui
