#pragma once

#include "core/listing/FileTable.h"

#include <QAbstractTableModel>
#include <unordered_map>
#include <vector>

namespace quorvane::ui {

// Shows one FileTable to a view: model row r is file row r + 1 of the table, and the table's
// header row 0 gives the column headers. The model reads the table on demand and keeps no copy of
// its texts, so a list of 100,000 files costs nothing beyond the table itself.
class FileTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit FileTableModel(core::FileTable& table, QObject* parent = nullptr);

    core::FileTable& table() { return table_; }
    const core::FileTable& table() const { return table_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // To be called after any change of the table. A change that keeps the row count is announced
    // as changed data, so the views keep their scroll position, selection and column widths. Notes
    // belong to the plan they were made for and are dropped.
    void tableReset();

    // A remark on one file row (counted from 1) of the table: its name cell shows the text as a
    // tool tip and, for a warning, draws its name in the warning colour.
    struct RowNote
    {
        int row = 0;
        QString text;
        bool warning = true;
    };
    // Replaces every note, until the next tableReset().
    void setNotes(const std::vector<RowNote>& notes);
    // True for the name cell of a row with a warning note.
    static constexpr int WarningRole = Qt::UserRole + 1;

    // The on-screen form of a cell's bytes: UTF-8 decoded, with U+FFFD for bytes that are not.
    static QString displayText(std::string_view bytes);
    // Column 1 (sizes) is right-aligned, every other column left-aligned; all centred vertically.
    static Qt::Alignment columnAlignment(int column);

private:
    core::FileTable& table_;
    int shownRows_;
    std::unordered_map<int, RowNote> notes_; // by file row
};

} // namespace quorvane::ui
