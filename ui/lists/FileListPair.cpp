#include "FileListPair.h"

#include "core/listing/RowOrder.h"

#include <QTimer>

namespace quorvane::ui {

FileListPair::FileListPair(FileGrid& before, FileGrid& after, const platform::SortCollator& collator,
                           std::function<void()> showPreview, QObject* parent)
    : QObject(parent), before_(before), after_(after), collator_(collator),
      showPreview_(std::move(showPreview))
{
    connectList(before_);
    connectList(after_);
}

void FileListPair::connectList(FileGrid& list)
{
    connect(&list, &FileGrid::topLeftChanged, this, [this, &list] { grd_FileListTopLeftChanged(list); });
    connect(&list, &FileGrid::focusEntered, this, [this] { grd_FileList1Enter(); });
    connect(&list, &FileGrid::focusLeft, this, [this] { grd_FileList1Exit(); });
    connect(&list, &FileGrid::clickNotified, this, [this, &list] { grd_FileListClick(list); });
    connect(&list, &FileGrid::keyReleased, this, [this, &list](int key) { grd_FileListPreview(list, key); });
    connect(&list, &FileGrid::mousePressed, this,
            [this, &list](QPoint pos, Qt::MouseButton button) { grd_FileListSelect(list, pos, button); });
    connect(&list, &FileGrid::mouseMoved, this, [this, &list] { grd_FileListMouseMove(list); });
}

void FileListPair::setAutoFitColumns(bool on)
{
    AutoFitColumns = on;
    before_.setAutoFit(on);
    after_.setAutoFit(on);
}

void FileListPair::listingDone()
{
    setAutoFitColumns(true);
}

void FileListPair::copySelection(FileGrid& from)
{
    from.storeSelection();
    FileGrid& to = other(from);
    const core::Selection selection = from.table().selection();
    to.table().setSelection(selection.first, selection.last);
    to.applyTableSelection();
}

void FileListPair::grd_FileListTopLeftChanged(FileGrid& sender)
{
    // Each position set below raises this handler again in the other list; the nested calls stop
    // as soon as both lists agree. The depth limit only guards against lists that never could.
    if (couplingDepth_ > 4) {
        return;
    }
    if (before_.topRow() == after_.topRow() && before_.leftColumn() == after_.leftColumn()) {
        return;
    }
    ++couplingDepth_;
    FileGrid& target = other(sender);
    target.setTopRow(sender.topRow());
    target.setLeftColumn(sender.leftColumn());
    --couplingDepth_;
}

void FileListPair::grd_FileList1Enter()
{
    AutoFitColumns = false;
    before_.setAutoFit(false);
    after_.setAutoFit(false);
}

void FileListPair::grd_FileList1Exit()
{
    AutoFitColumns = true;
    // The lists fit when they are next drawn. When the focus only moves from one list to the
    // other, that list's entry switches fitting off again before then, and the widths stay.
    if (!exitFitPending_) {
        exitFitPending_ = true;
        QTimer::singleShot(0, this, [this] {
            exitFitPending_ = false;
            if (AutoFitColumns) {
                setAutoFitColumns(true);
            }
        });
    }
}

void FileListPair::grd_FileListClick(FileGrid& sender)
{
    copySelection(sender);
}

void FileListPair::grd_FileListPreview(FileGrid& sender, int key)
{
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        copySelection(sender);
    }
    showPreview_();
}

void FileListPair::grd_FileListSelect(FileGrid& sender, QPoint pos, Qt::MouseButton)
{
    if (&sender == &before_) {
        const int column = before_.headerColumnAt(pos);
        if (column >= 0) {
            core::gridSort(before_.table(), column, collator_);
            before_.reload();
            before_.showSortColumn(column);
        }
    }
    copySelection(sender);
    showPreview_();
}

void FileListPair::grd_FileListMouseMove(FileGrid& sender)
{
    sender.storeSelection();
    const core::Selection selection = sender.table().selection();
    if (selection.first != selection.last) {
        copySelection(sender);
    }
}

} // namespace quorvane::ui
