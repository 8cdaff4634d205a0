#pragma once

#include "FileTableModel.h"

#include <QTableView>
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quorvane::ui {

// One of the two file lists: a table view over a FileTable with the lists' look (colours, font,
// widths, whole-row range selection, no editing) and the events the two lists share, raised as
// signals for FileListPair. Rows are numbered as in the table: file row r is view row r - 1.
class FileGrid : public QTableView
{
    Q_OBJECT

public:
    static constexpr int defaultRowHeight = 18;
    static constexpr int textMargin = 5;
    static constexpr int fitSpacing = 10;

    // The colour of a name that its row's warning marks, on the cells of palette (selected or not):
    // a red that reads on the lists' own colours in a light theme and in a dark one.
    static QColor warningInk(const QPalette& palette, bool selected);

    FileGrid(core::FileTable& table, bool isBeforeList, QWidget* parent = nullptr);

    FileTableModel& model() { return model_; }
    const FileTableModel& model() const { return model_; }
    core::FileTable& table() { return model_.table(); }
    bool isBeforeList() const { return isBeforeList_; }

    // After the table changed: shows its contents and its selection.
    void reload();
    // Selects the table's selection range in the view, without scrolling.
    void applyTableSelection();
    // Writes the view's selected range into the table. The view does this itself whenever its
    // selection changes; an empty view selection leaves the table's as it was.
    void storeSelection();

    // The first visible file row (table numbering) and the first visible column.
    int topRow() const;
    int leftColumn() const;
    void setTopRow(int row);
    void setLeftColumn(int column);

    // Sets each column to its widest text, header included, plus 10 pixels, in the list's font.
    // The widths are measured once per change of the contents or the font; fitting again without
    // such a change only applies them.
    void fitColumns();
    // While on, every change of the contents or the font fits the columns again.
    void setAutoFit(bool on);
    bool autoFit() const { return autoFit_; }

    // Shows Qt's sort indicator on the header of the column the rows are sorted by (always
    // ascending), or on none for -1; sortColumn() gives it back.
    void showSortColumn(int column);
    int sortColumn() const;

    // The column of the header cell at a point of this widget, or -1 when the point is not on one.
    int headerColumnAt(QPoint pos) const;

    // Typing letters does not jump to a row: rows move only by the keys both lists share.
    void keyboardSearch(const QString& search) override;

Q_SIGNALS:
    void focusEntered();
    void focusLeft();
    void keyReleased(int key);
    // Any mouse button went down on a cell or a header cell (not on a column border); the grid
    // has handled the press already. pos is in this widget's coordinates.
    void mousePressed(QPoint pos, Qt::MouseButton button);
    void mouseMoved();
    // The current row was moved by the keyboard, or a mouse selection ended with the release.
    void clickNotified();
    void topLeftChanged();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

private:
    friend class FileGridHeader;

    struct TextHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    struct KnownWidth
    {
        int width;
        unsigned pass; // the last measuring pass that met the text
    };
    using WidthMap = std::unordered_map<std::string, KnownWidth, TextHash, std::equal_to<>>;

    void contentsChanged();
    bool fitIsStale() const;
    void measureColumns();
    bool measureWidest(bool collapseDigits);
    void headerPressed(QPoint headerPos, Qt::MouseButton button);

    FileTableModel model_;
    bool isBeforeList_;
    bool autoFit_ = false;
    bool applyingSelection_ = false;
    bool mouseSelecting_ = false;
    bool holdsFocus_ = false;
    bool fitQueued_ = false;
    // Measured widest text per column, valid while measuredVersion_ == contentsVersion_ and the
    // font is measuredFont_.
    std::array<int, core::FileTable::columnCount> widest_{};
    unsigned contentsVersion_ = 1;
    unsigned measuredVersion_ = 0;
    QFont measuredFont_;
    bool collapseDigits_ = false;
    // Widths of texts (or of their digit shapes) measured at earlier fittings, so a change that
    // keeps most texts (a sort, a row move, a preview copying columns) measures only the new ones.
    WidthMap knownWidths_;
    unsigned measuringPass_ = 0;
};

} // namespace quorvane::ui
