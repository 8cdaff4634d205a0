#include "HistoryWindow.h"

#include "HistoryModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace quorvane::ui {

HistoryWindow::HistoryWindow(core::Journal& journal, QWidget* parent) : QDialog(parent), journal_(journal)
{
    setObjectName(QStringLiteral("fom_History"));
    setWindowTitle(tr("履歴"));
    resize(720, 400);
    model_ = new HistoryModel(this);
    grd_History = new QTableView(this);
    grd_History->setObjectName(QStringLiteral("grd_History"));
    grd_History->setModel(model_);
    grd_History->setSelectionBehavior(QAbstractItemView::SelectRows);
    grd_History->setSelectionMode(QAbstractItemView::SingleSelection);
    grd_History->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grd_History->verticalHeader()->hide();
    // Fixed widths and row heights: nothing is measured per row, so a long history opens at once.
    grd_History->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grd_History->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    grd_History->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {140, 260, 80, 80, 50};
    for (int column = 0; column < 5; ++column) {
        grd_History->setColumnWidth(column, widths[column]);
    }

    btn_HistoryUndo = new QPushButton(tr("取り消す"), this);
    btn_HistoryUndo->setObjectName(QStringLiteral("btn_HistoryUndo"));
    btn_Close = new QPushButton(tr("閉じる"), this);
    btn_Close->setObjectName(QStringLiteral("btn_Close"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btn_HistoryUndo);
    buttons->addWidget(btn_Close);
    auto* column = new QVBoxLayout(this);
    column->addWidget(grd_History, 1);
    column->addLayout(buttons);

    connect(btn_Close, &QPushButton::clicked, this, &QDialog::accept);
    connect(btn_HistoryUndo, &QPushButton::clicked, this, [this] {
        if (const std::int64_t run = chosenRun()) {
            Q_EMIT undoRequested(run);
        }
    });
    reload();
}

void HistoryWindow::reload()
{
    const std::int64_t chosen = chosenRun();
    model_->setRuns(journal_.runs());
    connect(grd_History->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &HistoryWindow::followChoice, Qt::UniqueConnection);
    int row = 0;
    for (int r = 0; r < model_->rowCount(); ++r) {
        if (model_->runAt(r)->id == chosen) {
            row = r;
        }
    }
    chooseRow(row);
    followChoice();
}

std::int64_t HistoryWindow::chosenRun() const
{
    const QModelIndex current = grd_History->currentIndex();
    const core::RunSummary* run = current.isValid() ? model_->runAt(current.row()) : nullptr;
    return run == nullptr ? 0 : run->id;
}

void HistoryWindow::chooseRow(int row)
{
    if (model_->rowCount() > 0) {
        grd_History->selectRow(row);
    }
}

void HistoryWindow::followChoice()
{
    const core::RunSummary* run = model_->runAt(grd_History->currentIndex().row());
    btn_HistoryUndo->setEnabled(
        run != nullptr && run->kind != core::RunKind::Undo && run->undoable &&
        (run->state == core::RunState::Finished || run->state == core::RunState::PartlyUndone));
}

} // namespace quorvane::ui
