#pragma once

#include <QStyledItemDelegate>

class QPainter;

namespace quorvane::ui {

// The edges of a cell that a focus outline around a whole row draws: top and bottom always, the
// left edge on the row's first cell and the right edge on its last.
struct OutlineEdges
{
    bool left = true;
    bool right = true;
};

// Draws the keyboard focus as a dotted line one pixel inside rect, in the colour of the text it
// surrounds, so it reads wherever the text does.
void drawFocusOutline(QPainter& painter, const QRect& rect, const QColor& colour, OutlineEdges edges = {});

// Draws items as the style does and outlines the item that has the keyboard focus whenever its
// view has it, whatever the style shows of the focus.
class FocusOutlineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

} // namespace quorvane::ui
