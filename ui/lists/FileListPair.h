#pragma once

#include "FileGrid.h"

#include <QObject>
#include <functional>

namespace quorvane::platform {
class SortCollator;
}

namespace quorvane::ui {

// The before list and the after list behaving as one view: they scroll together, show the same
// selected rows, refresh the preview as the user moves through them, and fit their columns to
// their texts while neither has the keyboard focus. Each handler serves both lists and finds the
// other list by comparing the sender with the before list.
class FileListPair : public QObject
{
    Q_OBJECT

public:
    FileListPair(FileGrid& before, FileGrid& after, const platform::SortCollator& collator,
                 std::function<void()> showPreview, QObject* parent = nullptr);

    // Whether the columns follow their texts; false at start, so the design widths hold until the
    // first full refresh. Setting it on fits both lists.
    bool autoFitColumns() const { return AutoFitColumns; }
    void setAutoFitColumns(bool on);

    // A full refresh listed the folder: the columns follow their texts again.
    void listingDone();
    // Gives the other list the selection of this one.
    void copySelection(FileGrid& from);

    // The shared handlers. Drawing a cell needs none of its own: the grids draw their cells, and
    // the fitting that drawing did while AutoFitColumns was on happens once per change instead.
    void grd_FileListTopLeftChanged(FileGrid& sender);
    void grd_FileList1Enter();
    void grd_FileList1Exit();
    void grd_FileListClick(FileGrid& sender);
    void grd_FileListPreview(FileGrid& sender, int key);
    void grd_FileListSelect(FileGrid& sender, QPoint pos, Qt::MouseButton button);
    void grd_FileListMouseMove(FileGrid& sender);

private:
    FileGrid& other(const FileGrid& list) { return &list == &before_ ? after_ : before_; }
    void connectList(FileGrid& list);

    FileGrid& before_;
    FileGrid& after_;
    const platform::SortCollator& collator_;
    std::function<void()> showPreview_;
    bool AutoFitColumns = false;
    int couplingDepth_ = 0;
    bool exitFitPending_ = false;
};

} // namespace quorvane::ui
