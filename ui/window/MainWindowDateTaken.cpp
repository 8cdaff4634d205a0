// The handlers that work with when each file was taken (the order by date taken) and the choice of
// how the lists sort digits.

#include "HandlerSupport.h"
#include "MainWindow.h"
#include "core/metadata/DateTakenOrder.h"
#include "core/metadata/DatesTaken.h"

#include <QCheckBox>
#include <QToolButton>

namespace quorvane::ui {

std::vector<core::RowDateTaken> Tfom_Main::readDatesTaken()
{
    const BusyCursor busy;
    return datesTaken_->of(before);
}

std::vector<FileTableModel::RowNote>
Tfom_Main::notesWithoutDateTaken(const std::vector<core::RowDateTaken>& dates, const QString& note)
{
    std::vector<FileTableModel::RowNote> notes;
    for (std::size_t i = 0; i < dates.size(); ++i) {
        if (!dates[i].fromContent) {
            notes.push_back({static_cast<int>(i) + 1, note, false});
        }
    }
    return notes;
}

std::vector<std::optional<platform::FileTime>>
Tfom_Main::ownTimesOf(const std::vector<core::RowDateTaken>& dates)
{
    std::vector<std::optional<platform::FileTime>> times;
    times.reserve(dates.size());
    for (const core::RowDateTaken& date : dates) {
        times.push_back(date.fromContent ? core::instantOf(date.date) : std::nullopt);
    }
    return times;
}

void Tfom_Main::btn_SortByDateTakenClick()
{
    const BusyCursor busy;
    const std::vector<core::RowDateTaken> dates = readDatesTaken();
    core::sortByDateTaken(before, after, dates, collator_);
    reloadLists();
    // The rows stand in no column's order now.
    grd_FileList1->showSortColumn(-1);
}

void Tfom_Main::chk_Set_NumericSortClick()
{
    collator_.setNumericDigits(chk_Set_NumericSort->isChecked());
}

} // namespace quorvane::ui
