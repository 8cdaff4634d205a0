#pragma once

#include <QList>
#include <QSplitter>

namespace quorvane::ui {

// A splitter of two panes that keeps the share of its first pane when it grows or shrinks, so that
// both panes gain room with the window. The share is the one the panes last had from the user's
// drag or from setSizes; a resize alone never changes it.
class ProportionalSplitter : public QSplitter
{
    Q_OBJECT

public:
    using QSplitter::QSplitter;

    // The first pane's share of the room both panes have, 0 to 1.
    double firstShare() const { return share_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    double share_ = 0.5;
    QList<int> sizesGiven_; // the sizes the last resize gave the panes
};

} // namespace quorvane::ui
