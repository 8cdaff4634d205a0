#include "FileTableModel.h"

namespace quorvane::ui {

FileTableModel::FileTableModel(core::FileTable& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table), shownRows_(table.rowCount() - 1)
{}

int FileTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

int FileTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : core::FileTable::columnCount;
}

QString FileTableModel::displayText(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

Qt::Alignment FileTableModel::columnAlignment(int column)
{
    return (column == core::SizeColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QVariant FileTableModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        // Between a change of the table and tableReset() the view may still ask for rows it knows.
        if (index.row() + 1 >= table_.rowCount()) {
            return QString();
        }
        return displayText(table_.cell(index.column(), index.row() + 1));
    case Qt::TextAlignmentRole:
        return static_cast<int>(columnAlignment(index.column()));
    case Qt::ToolTipRole:
    case WarningRole: {
        const auto note = notes_.find(index.row() + 1);
        if (index.column() != core::NameColumn || note == notes_.end()) {
            return {};
        }
        return role == WarningRole ? QVariant(note->second.warning) : QVariant(note->second.text);
    }
    default:
        return {};
    }
}

void FileTableModel::setNotes(const std::vector<RowNote>& notes)
{
    notes_.clear();
    for (const RowNote& note : notes) {
        notes_[note.row] = note;
    }
    if (shownRows_ > 0) {
        Q_EMIT dataChanged(index(0, core::NameColumn), index(shownRows_ - 1, core::NameColumn),
                           {Qt::ToolTipRole, WarningRole});
    }
}

QVariant FileTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        return role == Qt::DisplayRole && section >= 0 && section < shownRows_ ? QVariant(section + 1)
                                                                               : QVariant();
    }
    if (section < 0 || section >= core::FileTable::columnCount) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return displayText(table_.cell(section, 0));
    case Qt::TextAlignmentRole:
        return static_cast<int>(columnAlignment(section));
    default:
        return {};
    }
}

Qt::ItemFlags FileTableModel::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void FileTableModel::tableReset()
{
    notes_.clear();
    const int rows = table_.rowCount() - 1;
    if (rows == shownRows_) {
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, core::FileTable::columnCount - 1);
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, core::FileTable::columnCount - 1));
        return;
    }
    beginResetModel();
    shownRows_ = rows;
    endResetModel();
}

} // namespace quorvane::ui
