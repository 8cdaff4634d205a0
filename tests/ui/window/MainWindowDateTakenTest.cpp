#include "WindowSupport.h"
#include "support/PhotoSamples.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace quorvane::ui {
namespace {

using testing::TempFolder;
using testing::writePhoto;

std::int64_t modifiedSeconds(const TempFolder& folder, const std::string& name)
{
    struct stat info
    {};
    return stat(folder.pathOf(name).c_str(), &info) == 0 ? static_cast<std::int64_t>(info.st_mtim.tv_sec)
                                                         : -1;
}

// Photos of two cameras, one that writes its offset from UTC and one that does not, and a file
// without a date taken, in a window on UTC time.
struct TwoCameras
{
    testing::TimeZone zone{"UTC"};
    TempFolder folder;
    TestWindow w;

    TwoCameras()
    {
        writePhoto(folder.pathOf("a.jpg"), testing::takenAt("2024:08:12 14:35:01"));
        writePhoto(folder.pathOf("b.jpg"), {{"Exif.Photo.DateTimeOriginal", "2024:08:12 09:00:00"},
                                            {"Exif.Photo.OffsetTimeOriginal", "+09:00"}});
        writePhoto(folder.pathOf("c.jpg"), testing::takenAt("2024:08:12 14:35:01"));
        folder.writeFile("notes.txt", "text");
        folder.setTimes("notes.txt", {1000000000, 0}, {1234567890, 0});
        for (const std::string name : {"a.jpg", "b.jpg", "c.jpg"}) {
            folder.setTimes(name, {1000000000, 0}, {1500000000, 0});
        }
    }

    void chooseSerialPieces(const QString& front)
    {
        w->cbo_FileName1->setEditText(front);
        w->cbo_FileName2->setEditText(QStringLiteral("_(アンダーライン)"));
        w->cbo_FileName3->setEditText(QStringLiteral("連番"));
        w->num_FileNameNo->setValue(10000);
        w->num_NumberCnt->setText(QStringLiteral("3"));
    }

    QString noteOf(int fileRow) const
    {
        return w->grd_FileList2->model().index(fileRow - 1, 0).data(Qt::ToolTipRole).toString();
    }
};

TEST(MainWindowDateTaken, TheThreePiecesNameEachFileByWhenItWasTakenAndMarkTheRowsWithoutADate)
{
    const struct
    {
        const char* says;
        QString piece;
        std::vector<std::string> names;
    } cases[] = {
        {"the date taken",
         QStringLiteral("撮影日(YYYYMMDD)"),
         {"20240812_001.jpg", "20240812_002.jpg", "20240812_003.jpg", "20090213_004.txt"}},
        {"the time taken",
         QStringLiteral("撮影時刻(HHMMSS)"),
         {"143501_001.jpg", "090000_002.jpg", "143501_003.jpg", "233130_004.txt"}},
        {"the date and time taken",
         QStringLiteral("撮影日+時刻(YYYYMMDDHHMMSS)"),
         {"20240812143501_001.jpg", "20240812090000_002.jpg", "20240812143501_003.jpg",
          "20090213233130_004.txt"}},
    };
    TwoCameras t;
    ASSERT_TRUE(t.w.choose(t.folder.path()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        t.chooseSerialPieces(c.piece);
        t.w->btn_AllChangeNameTest->click();
        EXPECT_EQ(column(t.w->after, core::NameColumn), c.names);
        EXPECT_EQ(t.noteOf(1), QString());
        EXPECT_EQ(t.noteOf(4), QStringLiteral("撮影日時がないため、更新日時を使います"));
    }
}

TEST(MainWindowDateTaken, ADateTakenNameThatIsTakenAlreadyIsFlaggedAsAConflict)
{
    TwoCameras t;
    t.folder.makeFolder("20240812143501_001.jpg");
    ASSERT_TRUE(t.w.choose(t.folder.path()));
    t.chooseSerialPieces(QStringLiteral("撮影日+時刻(YYYYMMDDHHMMSS)"));
    t.w->btn_AllChangeNameTest->click();
    EXPECT_EQ(t.noteOf(1), QStringLiteral("同じ名前のファイルがすでにあります"));
    EXPECT_TRUE(t.w->sta_Conflicts->isVisibleTo(t.w.window.get()));
    EXPECT_EQ(t.w->sta_Conflicts->text(), QStringLiteral("衝突: 1 件"));
}

TEST(MainWindowDateTaken, TheOrderButtonSortsByDateTakenWithTiesByNameAndFilesWithoutADateLast)
{
    TwoCameras t;
    t.folder.writeFile("0.txt");
    ASSERT_TRUE(t.w.choose(t.folder.path()));
    t.chooseSerialPieces(QStringLiteral("元ファイル名"));
    t.w->btn_AllChangeNameTest->click();
    t.w->btn_SortByDateTaken->click();
    EXPECT_EQ(column(t.w->before, core::NameColumn),
              (std::vector<std::string>{"b.jpg", "a.jpg", "c.jpg", "0.txt", "notes.txt"}));
    // The planned names stay beside their files, as a row move leaves them.
    EXPECT_EQ(
        column(t.w->after, core::NameColumn),
        (std::vector<std::string>{"b_003.jpg", "a_002.jpg", "c_004.jpg", "0_001.txt", "notes_005.txt"}));
    t.w->btn_AllChangeNameTest->click();
    EXPECT_EQ(
        column(t.w->after, core::NameColumn),
        (std::vector<std::string>{"b_001.jpg", "a_002.jpg", "c_003.jpg", "0_004.txt", "notes_005.txt"}));
}

TEST(MainWindowDateTaken, ARunSetsTheModifiedTimesToTheDatesTakenLeavesTheOthersAndIsUndone)
{
    TwoCameras t;
    ASSERT_TRUE(t.w.choose(t.folder.path()));
    t.w->chk_ModifyTime->setChecked(true);
    t.w->chk_AccessTime->setChecked(false);
    t.w->chk_DateTaken->setChecked(true);
    EXPECT_FALSE(t.w->dtt_ModifyDate->isEnabled());
    t.w->btn_ChangeDateTest->click();
    EXPECT_EQ(column(t.w->after, core::ModifiedColumn),
              (std::vector<std::string>{"2024/08/12 14:35:01", "2024/08/12 00:00:00", "2024/08/12 14:35:01",
                                        "2009/02/13 23:31:30"}));
    EXPECT_EQ(t.noteOf(4), QStringLiteral("撮影日時がないため、日付を変更しません"));

    t.w->btn_ChangeDateRun->click();
    EXPECT_EQ(t.w.boxes.told.back(), QStringLiteral("ファイル日付の変更が完了しました\r\n\r\n"
                                                    "撮影日時のない 1 個のファイルは変更しませんでした"));
    EXPECT_EQ(modifiedSeconds(t.folder, "a.jpg"), 1723473301);
    EXPECT_EQ(modifiedSeconds(t.folder, "b.jpg"), 1723420800);
    EXPECT_EQ(modifiedSeconds(t.folder, "notes.txt"), 1234567890);

    t.w->btn_Return->click();
    EXPECT_EQ(modifiedSeconds(t.folder, "a.jpg"), 1500000000);
    EXPECT_EQ(modifiedSeconds(t.folder, "b.jpg"), 1500000000);
}

TEST(MainWindowDateTaken, NumbersSortByTheirValueOnlyWhileTheSettingIsChecked)
{
    TempFolder folder;
    for (const char* name : {"IMG_10.jpg", "IMG_2.jpg", "IMG_1.jpg"}) {
        folder.writeFile(name);
    }
    TestWindow w;
    ASSERT_TRUE(w.choose(folder.path()));
    EXPECT_EQ(column(w->before, core::NameColumn),
              (std::vector<std::string>{"IMG_1.jpg", "IMG_10.jpg", "IMG_2.jpg"}));
    const auto pressNameHeader = [&] {
        QHeaderView* header = w->grd_FileList1->horizontalHeader();
        QTest::mousePress(
            header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(0) + header->sectionSize(0) / 2, header->height() / 2));
    };
    w->chk_Set_NumericSort->setChecked(true);
    pressNameHeader();
    EXPECT_EQ(column(w->before, core::NameColumn),
              (std::vector<std::string>{"IMG_1.jpg", "IMG_2.jpg", "IMG_10.jpg"}));
    w->chk_Set_NumericSort->setChecked(false);
    pressNameHeader();
    EXPECT_EQ(column(w->before, core::NameColumn),
              (std::vector<std::string>{"IMG_1.jpg", "IMG_10.jpg", "IMG_2.jpg"}));
}

} // namespace
} // namespace quorvane::ui
