#pragma once

#include "platform/FileSystem.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::core {

// Column numbers of both lists.
enum Column : int
{
    NameColumn = 0,
    SizeColumn = 1,
    CreatedColumn = 2,
    ModifiedColumn = 3,
    AccessedColumn = 4,
    AttributesColumn = 5,
};

// The six text cells of one row. They are kept in one buffer, so a row costs one allocation and
// copying a row (a move, a sort, a snapshot) copies one string. A listed row also carries the
// identity of the file it shows, which travels with it through moves, sorts and snapshots.
class FileRow
{
public:
    static constexpr int cellCount = 6;

    FileRow() = default;
    FileRow(std::string_view name, std::string_view size, std::string_view created, std::string_view modified,
            std::string_view accessed, std::string_view attributes);

    std::string_view operator[](int column) const;
    void set(int column, std::string_view text);
    bool blank() const { return text_.empty(); }

    // The file the listing found under the row's name; unknown for a row made otherwise.
    const platform::FileIdentity& identity() const { return identity_; }
    void setIdentity(const platform::FileIdentity& identity) { identity_ = identity; }
    // The file's modified time as the listing found it, to the nanosecond, which with the identity
    // tells one state of a file from another; zero for a row made otherwise.
    const platform::FileTime& listedModified() const { return listedModified_; }
    void setListedModified(const platform::FileTime& modified) { listedModified_ = modified; }

    friend bool operator==(const FileRow&, const FileRow&) = default;

private:
    std::string text_;
    std::array<std::uint32_t, cellCount> ends_{}; // end offset of each cell within text_
    platform::FileIdentity identity_;
    platform::FileTime listedModified_;
};

// The folder a listing read its rows from: its path as listed and which folder it was then
// (unknown for rows no listing read).
struct ListedFolder
{
    std::string path;
    platform::FileIdentity identity;

    friend bool operator==(const ListedFolder&, const ListedFolder&) = default;
};

// A consecutive range of whole rows.
struct Selection
{
    int first = 1;
    int last = 1;

    friend bool operator==(const Selection&, const Selection&) = default;
};

// One of the two lists: a header row 0 and file rows 1 to rowCount() - 1, six text columns.
// A table never has fewer than two rows; a table without files holds one blank file row.
class FileTable
{
public:
    static constexpr int columnCount = FileRow::cellCount;

    FileTable();

    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Grows with blank rows or shrinks from the end; counts below 2 are raised to 2. A change of
    // the count reduces the selection to its first row, moved up to the last row if it is gone.
    void setRowCount(int count);

    std::string_view cell(int column, int row) const { return rows_.at(checkedRow(row))[column]; }
    void setCell(int column, int row, std::string_view text) { rows_.at(checkedRow(row)).set(column, text); }

    const FileRow& row(int row) const { return rows_.at(checkedRow(row)); }
    void setRow(int row, const FileRow& cells) { rows_.at(checkedRow(row)) = cells; }
    void setRow(int row, FileRow&& cells) { rows_.at(checkedRow(row)) = std::move(cells); }

    // Every cell of one column, header included, top to bottom.
    std::vector<std::string> column(int column) const;

    Selection selection() const { return selection_; }
    // Clamped to the file rows, first <= last.
    void setSelection(int first, int last);

    // The listing's fast path: replaces every file row at once (a blank row when rows is empty)
    // and selects row 1, as shrinking to two rows and growing again would.
    void replaceFileRows(std::vector<FileRow>&& rows);
    // Sets the row count and empties every cell of every file row; the header stays.
    void clearFileRows(int count);

    // The folder the rows were listed from; the listing sets it, and every run works there.
    const ListedFolder& listedFolder() const { return listedFolder_; }
    void setListedFolder(ListedFolder folder) { listedFolder_ = std::move(folder); }

private:
    static std::size_t checkedRow(int row) { return static_cast<std::size_t>(row); }

    std::vector<FileRow> rows_;
    Selection selection_;
    ListedFolder listedFolder_;
};

// The header texts of the before list and of the after list.
FileRow beforeListHeader();
FileRow afterListHeader();

} // namespace quorvane::core
