#include "core/listing/RowOrder.h"

#include "platform/Locale.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace quorvane::core {
namespace {

// Builds a table whose file rows carry the given names, each row's other cells tagged with its
// name so that whole-row moves can be checked.
FileTable tableOf(const std::vector<std::string>& names)
{
    FileTable table;
    table.setRow(0, beforeListHeader());
    table.setRowCount(static_cast<int>(names.size()) + 1);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        table.setRow(static_cast<int>(i) + 1,
                     FileRow(name, name + "-size", name + "-c", name + "-m", name + "-a", name + "-attr"));
    }
    return table;
}

std::vector<std::string> namesOf(const FileTable& table, int column = NameColumn)
{
    std::vector<std::string> cells = table.column(column);
    cells.erase(cells.begin());
    return cells;
}

struct MoveCase
{
    const char* says;
    int rows;
    Selection selection;
    bool up;
    std::vector<std::string> order;
    Selection selectionAfter;
};

const MoveCase moveCases[] = {
    {"the first row cannot move up", 5, {1, 1}, true, {"1", "2", "3", "4", "5"}, {1, 1}},
    {"the first row moves down past the second", 5, {1, 1}, false, {"2", "1", "3", "4", "5"}, {2, 2}},
    {"the last row cannot move down", 5, {5, 5}, false, {"1", "2", "3", "4", "5"}, {5, 5}},
    {"a range covering every row stays up", 5, {1, 5}, true, {"1", "2", "3", "4", "5"}, {1, 5}},
    {"a range covering every row stays down", 5, {1, 5}, false, {"1", "2", "3", "4", "5"}, {1, 5}},
    {"rows three to five move up over row two", 6, {3, 5}, true, {"1", "3", "4", "5", "2", "6"}, {2, 4}},
    {"rows two to four move down under row five", 6, {2, 4}, false, {"1", "5", "2", "3", "4", "6"}, {3, 5}},
};

class RowMoveTest : public ::testing::TestWithParam<MoveCase>
{};

TEST_P(RowMoveTest, MovesTheSameRowsInBothLists)
{
    const MoveCase& c = GetParam();
    std::vector<std::string> names;
    std::vector<std::string> planned;
    for (int i = 1; i <= c.rows; ++i) {
        names.push_back(std::to_string(i));
        planned.push_back("new" + std::to_string(i));
    }
    FileTable before = tableOf(names);
    FileTable after = tableOf(planned);
    before.setSelection(c.selection.first, c.selection.last);
    after.setSelection(c.selection.first, c.selection.last);

    if (c.up) {
        moveSelectionUp(before, after);
    } else {
        moveSelectionDown(before, after);
    }

    EXPECT_EQ(namesOf(before), c.order) << c.says;
    std::vector<std::string> plannedOrder;
    for (const std::string& name : c.order) {
        plannedOrder.push_back("new" + name);
    }
    EXPECT_EQ(namesOf(after), plannedOrder) << c.says;
    EXPECT_EQ(namesOf(before, AttributesColumn).front(), c.order.front() + "-attr") << "whole rows move";
    EXPECT_EQ(before.selection(), c.selectionAfter) << c.says;
    EXPECT_EQ(after.selection(), c.selectionAfter) << c.says;
}

INSTANTIATE_TEST_SUITE_P(Moves, RowMoveTest, ::testing::ValuesIn(moveCases), testing::SaysName());

TEST(RowMove, AnEmptyFolderHasNothingToMove)
{
    FileTable before;
    FileTable after;
    moveSelectionDown(before, after);
    moveSelectionUp(before, after);
    EXPECT_EQ(before.rowCount(), 2);
    EXPECT_EQ(before.selection(), (Selection{1, 1}));
}

TEST(RowMove, TheAfterListsOwnSelectionIsNotConsulted)
{
    FileTable before = tableOf({"a", "b", "c"});
    FileTable after = tableOf({"x", "y", "z"});
    before.setSelection(2, 2);
    after.setSelection(3, 3);
    moveSelectionUp(before, after);
    EXPECT_EQ(namesOf(after), (std::vector<std::string>{"y", "x", "z"}));
}

TEST(GridSort, EqualNamesAreExchangedAtEverySort)
{
    const platform::SortCollator collator;
    FileTable table = tableOf({"b.txt", "A.txt", "a.txt"});
    gridSort(table, NameColumn, collator);
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"a.txt", "A.txt", "b.txt"}));
    gridSort(table, NameColumn, collator);
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"A.txt", "a.txt", "b.txt"}));
    gridSort(table, NameColumn, collator);
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"a.txt", "A.txt", "b.txt"}));
}

TEST(GridSort, ASortedTableExchangesPairsAndReversesRunsOfThree)
{
    const platform::SortCollator collator;
    // Keys in the size column; rows tagged by name so the order among equal keys shows.
    FileTable table = tableOf({"p1", "p2", "t1", "t2", "t3", "u"});
    const char* sizes[] = {"1 KB", "1 KB", "2 KB", "2 KB", "2 KB", "3 KB"};
    for (int row = 1; row <= 6; ++row) {
        table.setCell(SizeColumn, row, sizes[row - 1]);
    }
    gridSort(table, SizeColumn, collator);
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"p2", "p1", "t3", "t2", "t1", "u"}));
}

TEST(GridSort, TwoRowsWithEqualKeysAreExchangedEveryTime)
{
    const platform::SortCollator collator;
    FileTable table = tableOf({"first", "second"});
    table.setCell(AttributesColumn, 1, "---A");
    table.setCell(AttributesColumn, 2, "---A");
    gridSort(table, AttributesColumn, collator);
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"second", "first"}));
    gridSort(table, AttributesColumn, collator);
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"first", "second"}));
}

TEST(GridSort, SizesSortAsTextAndAttributesIgnoreHyphens)
{
    const platform::SortCollator collator;
    FileTable table = tableOf({"nine", "ten", "big"});
    table.setCell(SizeColumn, 1, "9 KB");
    table.setCell(SizeColumn, 2, "10 KB");
    table.setCell(SizeColumn, 3, "1,024 KB");
    gridSort(table, SizeColumn, collator);
    EXPECT_EQ(namesOf(table, SizeColumn), (std::vector<std::string>{"1,024 KB", "10 KB", "9 KB"}));

    FileTable attributes = tableOf({"s", "h"});
    attributes.setCell(AttributesColumn, 1, "--SA");
    attributes.setCell(AttributesColumn, 2, "-H--");
    gridSort(attributes, AttributesColumn, collator);
    EXPECT_EQ(namesOf(attributes, AttributesColumn), (std::vector<std::string>{"-H--", "--SA"}));
}

TEST(GridSort, ASingleFileRowStaysAndTheSelectionKeepsItsRowNumbers)
{
    const platform::SortCollator collator;
    FileTable single = tableOf({"only"});
    gridSort(single, NameColumn, collator);
    EXPECT_EQ(namesOf(single), (std::vector<std::string>{"only"}));

    FileTable table = tableOf({"c", "b", "a"});
    table.setSelection(1, 2);
    gridSort(table, NameColumn, collator);
    EXPECT_EQ(namesOf(table), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(table.selection(), (Selection{1, 2}));
}

// Property: the sort is a permutation that leaves the keys in ascending order, on any input,
// including many equal keys, orders built to be awkward for a middle pivot, and lists long enough
// that two threads share the sort.
TEST(GridSort, AlwaysGivesAnAscendingPermutation)
{
    const platform::SortCollator collator;
    std::uint32_t seed = 12345;
    const auto next = [&seed] {
        return seed = seed * 1103515245 + 12345;
    };
    for (int round = 0; round < 32; ++round) {
        const int count =
            round < 30 ? 1 + static_cast<int>(next() % 400) : 20000 + static_cast<int>(next() % 400);
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) {
            names.push_back(std::to_string(next() % (round % 3 == 0 ? 5 : 1000)) + "#" + std::to_string(i));
        }
        FileTable table = tableOf(names);
        for (int row = 1; row <= count; ++row) {
            table.setCell(SizeColumn, row,
                          names[static_cast<std::size_t>(row - 1)].substr(0, names[row - 1].find('#')));
        }
        gridSort(table, SizeColumn, collator);
        std::vector<std::string> sortedNames = namesOf(table);
        std::vector<std::string> expectedSet = names;
        std::sort(sortedNames.begin(), sortedNames.end());
        std::sort(expectedSet.begin(), expectedSet.end());
        ASSERT_EQ(sortedNames, expectedSet);
        for (int row = 2; row <= count; ++row) {
            ASSERT_LE(collator.compare(table.cell(SizeColumn, row - 1), table.cell(SizeColumn, row)), 0);
        }
    }
}

} // namespace
} // namespace quorvane::core
