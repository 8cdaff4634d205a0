#pragma once

#include "core/journal/Journal.h"

#include <QAbstractTableModel>
#include <vector>

namespace quorvane::ui {

// The runs of the journal as rows: date and time, folder, kind, files, failures, state. Cells are
// worded only when the view draws them, so a long history opens at once.
class HistoryModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit HistoryModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setRuns(std::vector<core::RunSummary> runs);
    const core::RunSummary* runAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The state's word as the list shows it.
    static QString stateText(const core::RunSummary& run);

private:
    std::vector<core::RunSummary> runs_;
};

} // namespace quorvane::ui
