#include "HistoryModel.h"

#include "core/journal/Recovery.h"

#include <QDateTime>

namespace quorvane::ui {
namespace {

enum HistoryColumn
{
    TimeColumn,
    FolderColumn,
    KindColumn,
    FilesColumn,
    FailuresColumn,
    StateColumn,
    ColumnCount,
};

QString bytesText(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

} // namespace

void HistoryModel::setRuns(std::vector<core::RunSummary> runs)
{
    beginResetModel();
    runs_ = std::move(runs);
    endResetModel();
}

const core::RunSummary* HistoryModel::runAt(int row) const
{
    return row >= 0 && row < rowCount() ? &runs_[static_cast<std::size_t>(row)] : nullptr;
}

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(runs_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::stateText(const core::RunSummary& run)
{
    switch (run.state) {
    case core::RunState::Unfinished:
        return tr("未完了");
    case core::RunState::Finished:
        return run.undoable ? tr("完了") : tr("完了（取り消し不可）");
    case core::RunState::Undone:
        return tr("取り消し済み");
    case core::RunState::PartlyUndone:
        return tr("一部のみ取り消し");
    }
    return {};
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    const core::RunSummary* run = runAt(index.row());
    if (run == nullptr) {
        return {};
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == FilesColumn || index.column() == FailuresColumn;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    switch (index.column()) {
    case TimeColumn:
        return QDateTime::fromSecsSinceEpoch(run->started).toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    case FolderColumn:
        return bytesText(run->folder);
    case KindColumn:
        return bytesText(core::runKindText(run->kind));
    case FilesColumn:
        return QString::number(run->files);
    case FailuresColumn:
        return QString::number(run->failures);
    case StateColumn:
        return stateText(*run);
    }
    return {};
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    switch (section) {
    case TimeColumn:
        return tr("日時");
    case FolderColumn:
        return tr("フォルダ");
    case KindColumn:
        return tr("種類");
    case FilesColumn:
        return tr("ファイル数");
    case FailuresColumn:
        return tr("失敗");
    case StateColumn:
        return tr("状態");
    }
    return {};
}

} // namespace quorvane::ui
