#pragma once

#include "core/journal/Journal.h"

#include <QDialog>
#include <cstdint>

class QPushButton;
class QTableView;

namespace quorvane::ui {

class HistoryModel;

// The history of runs, newest first, from which any run can be undone. The window only shows and
// lets the user choose; the main window undoes the chosen run and reloads the list.
class HistoryWindow : public QDialog
{
    Q_OBJECT

public:
    HistoryWindow(core::Journal& journal, QWidget* parent = nullptr);

    // Reads the runs from the journal again.
    void reload();
    // The run of the chosen row; 0 when none is chosen.
    std::int64_t chosenRun() const;
    void chooseRow(int row);

    QTableView* grd_History = nullptr;
    QPushButton* btn_HistoryUndo = nullptr;
    QPushButton* btn_Close = nullptr;

Q_SIGNALS:
    void undoRequested(std::int64_t run);

private:
    void followChoice();

    core::Journal& journal_;
    HistoryModel* model_ = nullptr;
};

} // namespace quorvane::ui
