#include "ui/lists/FileGrid.h"

#include "platform/Locale.h"
#include "support/CaseName.h"
#include "ui/lists/FileListPair.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace quorvane::ui {
namespace {

core::FileRow fileRow(const std::string& name, const std::string& size = "1 KB")
{
    return core::FileRow(name, size, "2004/03/09 07:05:00", "2004/03/09 07:05:00", "2004/03/09 07:05:00",
                         "---A");
}

// Fills the before list with rows and gives the after list as many blank rows, as a listing does.
void list(core::FileTable& before, core::FileTable& after, std::vector<core::FileRow> rows)
{
    before.replaceFileRows(std::move(rows));
    after.clearFileRows(before.rowCount());
}

std::vector<core::FileRow> numberedRows(int count)
{
    std::vector<core::FileRow> rows;
    for (int i = 1; i <= count; ++i) {
        rows.push_back(fileRow("file" + std::to_string(i) + ".txt"));
    }
    return rows;
}

// Both lists side by side in a shown window, with a line edit to take the focus elsewhere, and a
// preview that records the before list's first selected row each time it is asked to show it.
struct Lists
{
    core::FileTable beforeTable;
    core::FileTable afterTable;
    platform::SortCollator collator;
    QWidget window;
    FileGrid* before = nullptr;
    FileGrid* after = nullptr;
    QLineEdit* elsewhere = nullptr;
    std::vector<int> previews;
    std::unique_ptr<FileListPair> pair;

    explicit Lists(std::vector<core::FileRow> rows, QSize size = QSize(900, 300))
    {
        beforeTable.setRow(0, core::beforeListHeader());
        afterTable.setRow(0, core::afterListHeader());
        list(beforeTable, afterTable, std::move(rows));
        before = new FileGrid(beforeTable, true, &window);
        after = new FileGrid(afterTable, false, &window);
        elsewhere = new QLineEdit(&window);
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(before);
        layout->addWidget(after);
        layout->addWidget(elsewhere);
        pair = std::make_unique<FileListPair>(*before, *after, collator,
                                              [this] { previews.push_back(beforeTable.selection().first); });
        window.resize(size);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        elsewhere->setFocus(Qt::OtherFocusReason);
        QApplication::processEvents();
    }

    void relist(std::vector<core::FileRow> rows)
    {
        list(beforeTable, afterTable, std::move(rows));
        before->reload();
        after->reload();
        pair->listingDone();
    }
};

// The centre of a file row's cell in the grid's viewport.
QPoint cellCentre(const FileGrid& grid, int row, int column)
{
    return grid.visualRect(grid.model().index(row - 1, column)).center();
}

int expectedFit(const FileGrid& grid, const core::FileTable& table, int column)
{
    const QFontMetrics metrics(grid.font());
    int widest = 0;
    for (int row = 0; row < table.rowCount(); ++row) {
        widest =
            std::max(widest, metrics.horizontalAdvance(FileTableModel::displayText(table.cell(column, row))));
    }
    return widest + 10;
}

TEST(FileTableModel, PassesTheModelTesterThroughChangesOfItsTable)
{
    core::FileTable table;
    table.setRow(0, core::beforeListHeader());
    table.replaceFileRows(numberedRows(5));
    FileTableModel model(table);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 5);
    EXPECT_EQ(model.columnCount(), 6);

    table.setCell(0, 3, "renamed.txt");
    model.tableReset();
    EXPECT_EQ(model.index(2, 0).data().toString(), QStringLiteral("renamed.txt"));

    table.replaceFileRows(numberedRows(2));
    model.tableReset();
    EXPECT_EQ(model.rowCount(), 2);

    table.replaceFileRows({});
    model.tableReset();
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.index(0, 0).data().toString(), QString());
}

TEST(FileTableModel, ShowsTheHeaderRowAsColumnHeadersAndFileRowsBelowIt)
{
    core::FileTable table;
    table.setRow(0, core::afterListHeader());
    table.replaceFileRows({fileRow("a.txt", "2 KB")});
    const FileTableModel model(table);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("変更後名"));
    EXPECT_EQ(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("ｱｸｾｽ日時"));
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("a.txt"));
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("2 KB"));
}

TEST(FileTableModel, ShowsBytesThatAreNotUtf8AsReplacementCharactersAndLeavesTheTableAlone)
{
    core::FileTable table;
    const std::string shiftJis = "\x83\x65\x83\x58\x83\x67.txt";
    table.replaceFileRows({fileRow(shiftJis)});
    const FileTableModel model(table);
    const QString shown = model.index(0, 0).data().toString();
    EXPECT_TRUE(shown.contains(QChar(0xFFFD)));
    EXPECT_TRUE(shown.endsWith(QStringLiteral(".txt")));
    EXPECT_EQ(table.cell(0, 1), shiftJis);
}

struct AlignmentCase
{
    const char* says;
    int column;
    Qt::Alignment horizontal;
};

class ColumnAlignment : public ::testing::TestWithParam<AlignmentCase>
{};

TEST_P(ColumnAlignment, OfCellsAndHeader)
{
    core::FileTable table;
    table.replaceFileRows({fileRow("a.txt")});
    const FileTableModel model(table);
    const auto expected = static_cast<int>(GetParam().horizontal | Qt::AlignVCenter);
    EXPECT_EQ(model.index(0, GetParam().column).data(Qt::TextAlignmentRole).toInt(), expected);
    EXPECT_EQ(model.headerData(GetParam().column, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), expected);
}

const AlignmentCase alignments[] = {
    {"names are left aligned", 0, Qt::AlignLeft},
    {"sizes are right aligned", 1, Qt::AlignRight},
    {"creation times are left aligned", 2, Qt::AlignLeft},
    {"attributes are left aligned", 5, Qt::AlignLeft},
};
INSTANTIATE_TEST_SUITE_P(FileTableModel, ColumnAlignment, ::testing::ValuesIn(alignments),
                         testing::SaysName());

TEST(FileGrid, LooksLikeTheListsDesign)
{
    core::FileTable beforeTable;
    core::FileTable afterTable;
    const FileGrid before(beforeTable, true);
    const FileGrid after(afterTable, false);
    const QFontInfo font(before.font());
    EXPECT_EQ(font.family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(font.pixelSize(), 15);
    const int beforeWidths[] = {98, 76, 71, 100, 100, 100};
    const int afterWidths[] = {197, 76, 71, 100, 100, 100};
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(before.columnWidth(column), beforeWidths[column]) << column;
        EXPECT_EQ(after.columnWidth(column), afterWidths[column]) << column;
    }
    EXPECT_EQ(before.rowHeight(0), 18);
    EXPECT_EQ(before.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(before.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(before.showGrid());
}

struct FitCase
{
    const char* says;
    std::vector<core::FileRow> rows;
};

class FittedWidths : public ::testing::TestWithParam<FitCase>
{};

TEST_P(FittedWidths, AreTheWidestTextOfEachColumnPlusTen)
{
    Lists lists(numberedRows(3));
    lists.relist(GetParam().rows);
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(lists.before->columnWidth(column), expectedFit(*lists.before, lists.beforeTable, column))
            << column;
        EXPECT_EQ(lists.after->columnWidth(column), expectedFit(*lists.after, lists.afterTable, column))
            << column;
    }
}

const FitCase fits[] = {
    {"an empty folder fits every column to its header", {}},
    {"a long name widens the name column",
     {fileRow("a.txt"), fileRow("a rather long name of a holiday photograph.jpeg"), fileRow("b.txt")}},
    {"wide characters count at their own width",
     {fileRow("写真_旅行_二〇〇四年.jpg"), fileRow("WWWWWW.jpg")}},
    {"a large size widens the size column", {fileRow("a", "1 KB"), fileRow("b", "9,876,543,210 KB")}},
    {"names that differ only in their digits",
     {fileRow("IMG_100000.jpg", "1,111 KB"), fileRow("IMG_111111.jpg", "8,888 KB"), fileRow("IMG_1.jpg")}},
};
INSTANTIATE_TEST_SUITE_P(FileGrid, FittedWidths, ::testing::ValuesIn(fits), testing::SaysName());

struct FontCase
{
    const char* says;
    const char* family;
    bool kerning;
};

class FittedWidthsInAnyFont : public ::testing::TestWithParam<FontCase>
{};

TEST_P(FittedWidthsInAnyFont, AreTheWidestTextPlusTen)
{
    Lists lists(numberedRows(3));
    QFont font(QString::fromUtf8(GetParam().family));
    font.setPixelSize(15);
    font.setKerning(GetParam().kerning);
    lists.before->setFont(font);
    lists.relist({fileRow("IMG_100000.jpg", "1,111 KB"), fileRow("IMG_111111.jpg", "8,888 KB"),
                  fileRow("Tiny 1.jpg", "4 KB"), fileRow("AVAVAV 7.jpg", "11 KB")});
    for (int column = 0; column < 6; ++column) {
        EXPECT_EQ(lists.before->columnWidth(column), expectedFit(*lists.before, lists.beforeTable, column))
            << column;
    }
}

const FontCase fonts[] = {
    {"a proportional font with kerning", "DejaVu Serif", true},
    {"a proportional Japanese font with kerning", "IPAPGothic", true},
    {"a fixed pitch font", "DejaVu Sans Mono", false},
};
INSTANTIATE_TEST_SUITE_P(FileGrid, FittedWidthsInAnyFont, ::testing::ValuesIn(fonts), testing::SaysName());

TEST(FileGrid, ColumnsKeepTheDesignWidthsUntilTheFirstListing)
{
    core::FileTable beforeTable;
    core::FileTable afterTable;
    FileGrid before(beforeTable, true);
    FileGrid after(afterTable, false);
    const platform::SortCollator collator;
    FileListPair pair(before, after, collator, [] {});
    beforeTable.replaceFileRows({fileRow("a very long name that would widen the column.txt")});
    before.reload();
    EXPECT_FALSE(pair.autoFitColumns());
    EXPECT_EQ(before.columnWidth(0), 98);
    pair.listingDone();
    EXPECT_EQ(before.columnWidth(0), expectedFit(before, beforeTable, 0));
}

TEST(FileGrid, FittingFollowsAChangeOfContentsWhileNeitherListHasTheFocus)
{
    Lists lists(numberedRows(3));
    lists.relist(numberedRows(3));
    lists.afterTable.setCell(0, 2, "a much longer planned name than before.txt");
    lists.after->reload();
    EXPECT_EQ(lists.after->columnWidth(0), expectedFit(*lists.after, lists.afterTable, 0));
}

TEST(FileGrid, AUserWidenedColumnStaysWhileAListHasTheFocusAndFitsAgainAfterwards)
{
    Lists lists(numberedRows(3));
    lists.relist(numberedRows(3));
    const int fitted = lists.before->columnWidth(0);

    lists.before->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_FALSE(lists.pair->autoFitColumns());
    lists.before->horizontalHeader()->resizeSection(0, 300);
    lists.beforeTable.setCell(0, 2, "x.txt");
    lists.before->reload();
    EXPECT_EQ(lists.before->columnWidth(0), 300);

    // Moving from one list to the other keeps the user's width too.
    lists.after->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(lists.before->columnWidth(0), 300);

    lists.elsewhere->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(lists.pair->autoFitColumns());
    EXPECT_EQ(lists.before->columnWidth(0), fitted);
}

TEST(FileGrid, ScrollingTheBeforeListDownScrollsTheAfterListToTheSameTopRow)
{
    Lists lists(numberedRows(200));
    lists.before->verticalScrollBar()->setValue(10);
    EXPECT_EQ(lists.before->topRow(), 11);
    EXPECT_EQ(lists.after->topRow(), 11);
    EXPECT_EQ(lists.after->rowAt(0), 10);
}

TEST(FileGrid, ScrollingTheAfterListSidewaysMovesTheBeforeListToTheSameLeftColumn)
{
    Lists lists(numberedRows(200), QSize(500, 300));
    ASSERT_GE(lists.after->horizontalScrollBar()->maximum(), 2);
    lists.after->horizontalScrollBar()->setValue(2);
    EXPECT_EQ(lists.before->leftColumn(), 2);
    EXPECT_EQ(lists.before->columnAt(0), 2);
    EXPECT_EQ(lists.after->leftColumn(), 2);
}

TEST(FileGrid, TheDownArrowInTheBeforeListMovesBothSelectionsAndShowsTheNewFile)
{
    Lists lists(numberedRows(10));
    lists.beforeTable.setSelection(3, 3);
    lists.before->applyTableSelection();
    lists.before->setFocus(Qt::TabFocusReason);
    QTest::keyClick(lists.before, Qt::Key_Down);
    EXPECT_EQ(lists.beforeTable.selection(), (core::Selection{4, 4}));
    EXPECT_EQ(lists.afterTable.selection(), (core::Selection{4, 4}));
    EXPECT_TRUE(lists.after->selectionModel()->isRowSelected(3, {}));
    EXPECT_FALSE(lists.after->selectionModel()->isRowSelected(2, {}));
    EXPECT_EQ(lists.previews, std::vector<int>{4});
}

struct KeyCase
{
    const char* says;
    int startRow;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    core::Selection selection;
};

class KeyInTheAfterList : public ::testing::TestWithParam<KeyCase>
{};

TEST_P(KeyInTheAfterList, MovesBothSelectionsAndShowsThePreview)
{
    Lists lists(numberedRows(10));
    lists.afterTable.setSelection(GetParam().startRow, GetParam().startRow);
    lists.after->applyTableSelection();
    lists.pair->copySelection(*lists.after);
    lists.after->setFocus(Qt::TabFocusReason);
    QTest::keyClick(lists.after, GetParam().key, GetParam().modifiers);
    EXPECT_EQ(lists.afterTable.selection(), GetParam().selection);
    EXPECT_EQ(lists.beforeTable.selection(), GetParam().selection);
    // Every released key refreshes the preview, a held modifier too.
    ASSERT_FALSE(lists.previews.empty());
    EXPECT_EQ(lists.previews.back(), GetParam().selection.first);
}

const KeyCase keys[] = {
    {"the up arrow moves one row up", 3, Qt::Key_Up, {}, {2, 2}},
    {"end moves to the last row", 3, Qt::Key_End, {}, {10, 10}},
    {"home moves to the first row", 5, Qt::Key_Home, {}, {1, 1}},
    {"shift with end extends the range to the last row", 3, Qt::Key_End, Qt::ShiftModifier, {3, 10}},
    {"control with a selects nothing more", 3, Qt::Key_A, Qt::ControlModifier, {3, 3}},
    {"typing a letter moves to no row", 3, Qt::Key_F, {}, {3, 3}},
};
INSTANTIATE_TEST_SUITE_P(FileGrid, KeyInTheAfterList, ::testing::ValuesIn(keys), testing::SaysName());

TEST(FileGrid, AHeldDownArrowMovesBothSelectionsAtEachRepeatAndShowsThePreviewOnceWhenLetGo)
{
    Lists lists(numberedRows(10));
    lists.before->setFocus(Qt::TabFocusReason);
    for (int repeat = 0; repeat < 3; ++repeat) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, QString(), repeat > 0);
        QApplication::sendEvent(lists.before, &press);
        if (repeat < 2) {
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(lists.before, &release);
        }
        EXPECT_EQ(lists.afterTable.selection(), (core::Selection{2 + repeat, 2 + repeat}));
    }
    EXPECT_TRUE(lists.previews.empty());
    QTest::keyRelease(lists.before, Qt::Key_Down);
    EXPECT_EQ(lists.previews, std::vector<int>{4});
}

TEST(FileGrid, ShiftWithTheDownArrowExtendsBothSelections)
{
    Lists lists(numberedRows(10));
    lists.beforeTable.setSelection(3, 3);
    lists.before->applyTableSelection();
    lists.before->setFocus(Qt::TabFocusReason);
    QTest::keyClick(lists.before, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(lists.before, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(lists.beforeTable.selection(), (core::Selection{3, 5}));
    EXPECT_EQ(lists.afterTable.selection(), (core::Selection{3, 5}));
}

TEST(FileGrid, DraggingFromRowTwoToRowFiveInTheAfterListSelectsTheSameRowsInTheBeforeList)
{
    Lists lists(numberedRows(10));
    QWidget* viewport = lists.after->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, cellCentre(*lists.after, 2, 0));
    EXPECT_EQ(lists.beforeTable.selection(), (core::Selection{2, 2}));
    EXPECT_EQ(lists.previews, std::vector<int>{2});

    for (int row = 3; row <= 5; ++row) {
        const QPoint at = cellCentre(*lists.after, row, 0);
        QMouseEvent move(QEvent::MouseMove, at, viewport->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    }
    EXPECT_EQ(lists.beforeTable.selection(), (core::Selection{2, 5}));
    EXPECT_TRUE(lists.before->selectionModel()->isRowSelected(4, {}));

    QTest::mouseRelease(viewport, Qt::LeftButton, {}, cellCentre(*lists.after, 5, 0));
    EXPECT_EQ(lists.beforeTable.selection(), (core::Selection{2, 5}));
    EXPECT_EQ(lists.afterTable.selection(), (core::Selection{2, 5}));
    EXPECT_EQ(lists.previews, std::vector<int>{2});
}

std::vector<std::string> names(const core::FileTable& table)
{
    std::vector<std::string> cells = table.column(0);
    cells.erase(cells.begin());
    return cells;
}

QPoint headerCentre(const FileGrid& grid, int column)
{
    const QHeaderView* header = grid.horizontalHeader();
    return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
}

struct HeaderPressCase
{
    const char* says;
    Qt::MouseButton button;
};

class BeforeListHeaderPress : public ::testing::TestWithParam<HeaderPressCase>
{};

TEST_P(BeforeListHeaderPress, SortsByThatColumn)
{
    Lists lists({fileRow("b.txt"), fileRow("A.txt"), fileRow("a.txt")});
    lists.afterTable.setCell(0, 1, "planned b");
    lists.after->reload();
    QTest::mousePress(lists.before->horizontalHeader()->viewport(), GetParam().button, {},
                      headerCentre(*lists.before, 0));
    EXPECT_EQ(names(lists.beforeTable), (std::vector<std::string>{"a.txt", "A.txt", "b.txt"}));
    EXPECT_EQ(lists.before->model().index(0, 0).data().toString(), QStringLiteral("a.txt"));
    EXPECT_EQ(lists.afterTable.cell(0, 1), "planned b");
    EXPECT_EQ(lists.previews.size(), 1U);
}

const HeaderPressCase headerPresses[] = {
    {"the left button sorts", Qt::LeftButton},
    {"the right button sorts too", Qt::RightButton},
    {"the middle button sorts too", Qt::MiddleButton},
};
INSTANTIATE_TEST_SUITE_P(FileGrid, BeforeListHeaderPress, ::testing::ValuesIn(headerPresses),
                         testing::SaysName());

TEST(FileGrid, ALeftPressOnAColumnBorderOfTheBeforeListHeaderResizesInsteadOfSorting)
{
    Lists lists({fileRow("b.txt"), fileRow("A.txt"), fileRow("a.txt")});
    QHeaderView* header = lists.before->horizontalHeader();
    const int width = lists.before->columnWidth(0);
    const QPoint border(header->sectionViewportPosition(1), header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, border);
    QMouseEvent drag(QEvent::MouseMove, border + QPoint(40, 0),
                     header->viewport()->mapToGlobal(border + QPoint(40, 0)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(header->viewport(), &drag);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, border + QPoint(40, 0));
    EXPECT_EQ(names(lists.beforeTable), (std::vector<std::string>{"b.txt", "A.txt", "a.txt"}));
    EXPECT_EQ(lists.before->columnWidth(0), width + 40);
    EXPECT_TRUE(lists.previews.empty());
}

TEST(FileGrid, ARightButtonPressInTheBeforeListKeepsItsSelectionCopiesItAndShowsThePreview)
{
    Lists lists(numberedRows(10));
    lists.beforeTable.setSelection(3, 3);
    lists.before->applyTableSelection();
    QTest::mousePress(lists.before->viewport(), Qt::RightButton, {}, cellCentre(*lists.before, 6, 0));
    EXPECT_TRUE(lists.before->hasFocus());
    EXPECT_EQ(lists.beforeTable.selection(), (core::Selection{3, 3}));
    EXPECT_EQ(lists.afterTable.selection(), (core::Selection{3, 3}));
    EXPECT_EQ(lists.previews, std::vector<int>{3});
}

TEST(FileGrid, ADoubleClickOnABeforeListHeaderSortsTwice)
{
    Lists lists({fileRow("b.txt"), fileRow("A.txt"), fileRow("a.txt")});
    // Through the window, as the window system delivers it: two presses, the second also a double-click.
    const QPoint at =
        lists.before->horizontalHeader()->viewport()->mapTo(&lists.window, headerCentre(*lists.before, 0));
    QTest::mouseDClick(lists.window.windowHandle(), Qt::LeftButton, {}, at);
    // The second sort exchanges the two names that compare equal.
    EXPECT_EQ(names(lists.beforeTable), (std::vector<std::string>{"A.txt", "a.txt", "b.txt"}));
}

TEST(FileGrid, AnAfterListHeaderPressOnlyCopiesItsSelectionAndShowsThePreview)
{
    Lists lists({fileRow("b.txt"), fileRow("A.txt"), fileRow("a.txt")});
    lists.afterTable.setSelection(3, 3);
    lists.after->applyTableSelection();
    QTest::mousePress(lists.after->horizontalHeader()->viewport(), Qt::RightButton, {},
                      headerCentre(*lists.after, 0));
    EXPECT_EQ(names(lists.beforeTable), (std::vector<std::string>{"b.txt", "A.txt", "a.txt"}));
    EXPECT_EQ(lists.beforeTable.selection(), (core::Selection{3, 3}));
    EXPECT_EQ(lists.previews, std::vector<int>{3});
}

// The columns of a cell's rectangle that hold pixels of its text, i.e. differ from its background.
struct Ink
{
    int left = INT_MAX;
    int right = -1;
    int top = INT_MAX;
    int bottom = -1;
};

Ink inkIn(const QImage& image, const QRect& cell, QRgb background)
{
    Ink ink;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

TEST(FileGrid, DrawsASizeFlushRightAndANameFlushLeftFivePixelsFromTheEdgesCentredVertically)
{
    Lists lists({fileRow("IMG.JPG", "1 KB"), fileRow("HAND.JPG", "12 KB")});
    lists.before->horizontalHeader()->resizeSection(0, 150);
    lists.before->horizontalHeader()->resizeSection(1, 120);
    const QImage image = lists.before->viewport()->grab().toImage();
    const QRgb background = qRgb(177, 254, 218);

    const QRect nameCell = lists.before->visualRect(lists.before->model().index(1, 0));
    const Ink name = inkIn(image, nameCell, background);
    ASSERT_GE(name.right, 0) << "no text drawn in the name cell";
    EXPECT_GE(name.left, nameCell.left() + 5);
    EXPECT_LE(name.left, nameCell.left() + 6);

    const QRect sizeCell = lists.before->visualRect(lists.before->model().index(1, 1));
    const Ink size = inkIn(image, sizeCell, background);
    ASSERT_GE(size.right, 0) << "no text drawn in the size cell";
    const int right = sizeCell.x() + sizeCell.width();
    EXPECT_LE(size.right, right - 1 - 5);
    EXPECT_GE(size.right, right - 1 - 6);
    EXPECT_GT(size.left, sizeCell.left() + 60);

    // Vertically centred: the space above the text and below it differ by the font's descent at most.
    const QFontMetrics metrics(lists.before->font());
    const int above = name.top - nameCell.top();
    const int below = nameCell.bottom() - name.bottom;
    EXPECT_LE(std::abs(above - below), metrics.descent() + 1);
    EXPECT_EQ(QColor(image.pixel(nameCell.right() - 1, nameCell.top() + 1)), QColor(177, 254, 218));

    const QImage header = lists.before->horizontalHeader()->grab().toImage();
    EXPECT_EQ(QColor(header.pixel(2, 1)), QColor(138, 158, 251));
}

} // namespace
} // namespace quorvane::ui
