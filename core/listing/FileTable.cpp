#include "FileTable.h"

#include "core/text/Translation.h"

#include <algorithm>
#include <stdexcept>

namespace quorvane::core {

FileRow::FileRow(std::string_view name, std::string_view size, std::string_view created,
                 std::string_view modified, std::string_view accessed, std::string_view attributes)
{
    const std::array<std::string_view, cellCount> cells{name, size, created, modified, accessed, attributes};
    std::size_t total = 0;
    for (const std::string_view cell : cells) {
        total += cell.size();
    }
    text_.reserve(total);
    for (int column = 0; column < cellCount; ++column) {
        text_.append(cells[static_cast<std::size_t>(column)]);
        ends_[static_cast<std::size_t>(column)] = static_cast<std::uint32_t>(text_.size());
    }
}

std::string_view FileRow::operator[](int column) const
{
    if (column < 0 || column >= cellCount) {
        throw std::out_of_range("column out of range");
    }
    const auto index = static_cast<std::size_t>(column);
    const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    return std::string_view(text_).substr(begin, ends_[index] - begin);
}

void FileRow::set(int column, std::string_view text)
{
    if (column < 0 || column >= cellCount) {
        throw std::out_of_range("column out of range");
    }
    const auto index = static_cast<std::size_t>(column);
    const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
    const std::uint32_t oldLength = ends_[index] - begin;
    text_.replace(begin, oldLength, text);
    const auto delta = static_cast<std::int64_t>(text.size()) - oldLength;
    for (std::size_t i = index; i < cellCount; ++i) {
        ends_[i] = static_cast<std::uint32_t>(ends_[i] + delta);
    }
}

FileTable::FileTable() : rows_(2) {}

void FileTable::setRowCount(int count)
{
    count = std::max(count, 2);
    if (count == rowCount()) {
        return;
    }
    rows_.resize(static_cast<std::size_t>(count));
    const int current = std::min(selection_.first, count - 1);
    selection_ = {current, current};
}

std::vector<std::string> FileTable::column(int column) const
{
    std::vector<std::string> cells;
    cells.reserve(rows_.size());
    for (const FileRow& row : rows_) {
        cells.emplace_back(row[column]);
    }
    return cells;
}

void FileTable::setSelection(int first, int last)
{
    const int lastRow = rowCount() - 1;
    first = std::clamp(first, 1, lastRow);
    last = std::clamp(last, first, lastRow);
    selection_ = {first, last};
}

void FileTable::replaceFileRows(std::vector<FileRow>&& rows)
{
    FileRow header = std::move(rows_.front());
    if (rows.empty()) {
        rows.emplace_back();
    }
    rows.insert(rows.begin(), std::move(header));
    rows_ = std::move(rows);
    selection_ = {1, 1};
}

void FileTable::clearFileRows(int count)
{
    setRowCount(count);
    std::fill(rows_.begin() + 1, rows_.end(), FileRow());
}

namespace {

// The header cells after the name's, the same in both lists.
FileRow listHeader(const std::string& name)
{
    return {name,
            translate("FileList", "サイズ"),
            translate("FileList", "作成日時"),
            translate("FileList", "更新日時"),
            translate("FileList", "ｱｸｾｽ日時"),
            translate("FileList", "属性")};
}

} // namespace

FileRow beforeListHeader()
{
    return listHeader(translate("FileList", "変更前名"));
}

FileRow afterListHeader()
{
    return listHeader(translate("FileList", "変更後名"));
}

} // namespace quorvane::core
