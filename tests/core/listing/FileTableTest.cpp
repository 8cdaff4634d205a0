#include "core/listing/FileTable.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

TEST(FileTable, StartsWithOneBlankFileRow)
{
    const FileTable table;
    EXPECT_EQ(table.rowCount(), 2);
    for (int column = 0; column < FileTable::columnCount; ++column) {
        EXPECT_EQ(table.cell(column, 1), "");
    }
    EXPECT_EQ(table.selection(), (Selection{1, 1}));
}

TEST(FileTable, NeverHasFewerThanTwoRows)
{
    FileTable table;
    table.setRowCount(5);
    table.setRowCount(0);
    EXPECT_EQ(table.rowCount(), 2);
}

TEST(FileTable, GrowingAddsBlankRowsAndShrinkingCutsFromTheEnd)
{
    FileTable table;
    table.setRowCount(4);
    table.setCell(NameColumn, 2, "second");
    table.setCell(NameColumn, 3, "third");
    table.setRowCount(3);
    table.setRowCount(5);
    EXPECT_EQ(table.cell(NameColumn, 2), "second");
    EXPECT_EQ(table.cell(NameColumn, 3), "");
    EXPECT_EQ(table.cell(NameColumn, 4), "");
}

TEST(FileTable, AChangeOfRowCountReducesTheSelectionToOneRow)
{
    FileTable table;
    table.setRowCount(10);
    table.setSelection(4, 8);
    table.setRowCount(12);
    EXPECT_EQ(table.selection(), (Selection{4, 4}));
    table.setSelection(6, 9);
    table.setRowCount(4);
    EXPECT_EQ(table.selection(), (Selection{3, 3}));
}

TEST(FileTable, SelectionStaysWithinTheFileRows)
{
    FileTable table;
    table.setRowCount(5);
    table.setSelection(0, 9);
    EXPECT_EQ(table.selection(), (Selection{1, 4}));
    table.setSelection(3, 2);
    EXPECT_EQ(table.selection(), (Selection{3, 3}));
}

TEST(FileTable, ColumnReadsTopToBottomWithTheHeader)
{
    FileTable table;
    table.setRow(0, beforeListHeader());
    table.setRowCount(3);
    table.setCell(SizeColumn, 1, "1 KB");
    table.setCell(SizeColumn, 2, "2 KB");
    EXPECT_EQ(table.column(SizeColumn), (std::vector<std::string>{"サイズ", "1 KB", "2 KB"}));
}

TEST(FileTable, AnyRowOrColumnOutsideTheTableIsRefused)
{
    FileTable table;
    EXPECT_THROW(table.cell(0, 2), std::out_of_range);
    EXPECT_THROW(table.cell(0, -1), std::out_of_range);
    EXPECT_THROW(table.cell(6, 1), std::out_of_range);
    EXPECT_THROW(table.setCell(-1, 1, "x"), std::out_of_range);
}

TEST(FileRow, CellsChangeIndependently)
{
    FileRow row("name.txt", "1 KB", "2004/03/09 07:05:00", "", "2004/03/09 07:05:01", "---A");
    row.set(ModifiedColumn, "2005/01/01 00:00:00");
    row.set(NameColumn, "a much longer name than before.txt");
    row.set(SizeColumn, "");
    EXPECT_EQ(row[NameColumn], "a much longer name than before.txt");
    EXPECT_EQ(row[SizeColumn], "");
    EXPECT_EQ(row[CreatedColumn], "2004/03/09 07:05:00");
    EXPECT_EQ(row[ModifiedColumn], "2005/01/01 00:00:00");
    EXPECT_EQ(row[AccessedColumn], "2004/03/09 07:05:01");
    EXPECT_EQ(row[AttributesColumn], "---A");
}

TEST(FileTable, HeadersNameTheColumns)
{
    const FileRow before = beforeListHeader();
    const FileRow after = afterListHeader();
    EXPECT_EQ(before[NameColumn], "変更前名");
    EXPECT_EQ(after[NameColumn], "変更後名");
    const char* shared[] = {"サイズ", "作成日時", "更新日時", "ｱｸｾｽ日時", "属性"};
    for (int column = 1; column < FileTable::columnCount; ++column) {
        EXPECT_EQ(before[column], shared[column - 1]);
        EXPECT_EQ(after[column], shared[column - 1]);
    }
}

} // namespace
} // namespace quorvane::core
