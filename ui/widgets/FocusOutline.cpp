#include "FocusOutline.h"

#include <QPainter>
#include <QPen>

namespace quorvane::ui {

void drawFocusOutline(QPainter& painter, const QRect& rect, const QColor& colour, OutlineEdges edges)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    const QRect inner = rect.adjusted(0, 0, -1, -1);
    painter.drawLine(inner.topLeft(), inner.topRight());
    painter.drawLine(inner.bottomLeft(), inner.bottomRight());
    if (edges.left) {
        painter.drawLine(inner.topLeft(), inner.bottomLeft());
    }
    if (edges.right) {
        painter.drawLine(inner.topRight(), inner.bottomRight());
    }
    painter.restore();
}

void FocusOutlineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    QStyleOptionViewItem plain = option;
    // The style's own focus frame would double the outline where the style draws one at all.
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);
    if (option.state & QStyle::State_HasFocus) {
        const bool selected = option.state & QStyle::State_Selected;
        drawFocusOutline(
            *painter, option.rect,
            option.palette.color(QPalette::Active, selected ? QPalette::HighlightedText : QPalette::Text));
    }
}

} // namespace quorvane::ui
