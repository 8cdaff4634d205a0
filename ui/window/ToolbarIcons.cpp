#include "ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace quorvane::ui {

namespace {

QString themeName(ToolbarIcon which)
{
    switch (which) {
    case ToolbarIcon::Quit:
        return QStringLiteral("application-exit");
    case ToolbarIcon::Undo:
        return QStringLiteral("edit-undo");
    case ToolbarIcon::History:
        return QStringLiteral("document-open-recent");
    case ToolbarIcon::MoveUp:
        return QStringLiteral("go-up");
    case ToolbarIcon::MoveDown:
        return QStringLiteral("go-down");
    case ToolbarIcon::SideBySide:
        return QStringLiteral("view-split-left-right");
    case ToolbarIcon::Stacked:
        return QStringLiteral("view-split-top-bottom");
    case ToolbarIcon::Preview:
        return QStringLiteral("image-x-generic");
    case ToolbarIcon::Program:
        return QStringLiteral("folder-pictures");
    case ToolbarIcon::SortByDateTaken:
        return QStringLiteral("view-sort-ascending");
    }
    return {};
}

void drawArrow(QPainter& p, double s, bool up)
{
    const double mid = s / 2;
    QPolygonF head;
    if (up) {
        head << QPointF(mid, s * 0.12) << QPointF(s * 0.85, s * 0.5) << QPointF(s * 0.15, s * 0.5);
        p.drawPolygon(head);
        p.drawRect(QRectF(s * 0.37, s * 0.5, s * 0.26, s * 0.38));
    } else {
        head << QPointF(mid, s * 0.88) << QPointF(s * 0.85, s * 0.5) << QPointF(s * 0.15, s * 0.5);
        p.drawPolygon(head);
        p.drawRect(QRectF(s * 0.37, s * 0.12, s * 0.26, s * 0.38));
    }
}

} // namespace

QPixmap drawnIcon(ToolbarIcon which, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const QColor ink(40, 60, 120);
    p.setPen(QPen(ink, s / 14.0));
    switch (which) {
    case ToolbarIcon::Quit: {
        // A door with an arrow leading out of it, as the desktop themes draw "application-exit";
        // a red cross would read as closing or deleting something.
        p.setPen(QPen(ink, s / 12.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.drawPolyline(QPolygonF() << QPointF(s * 0.5, s * 0.3) << QPointF(s * 0.5, s * 0.14)
                                   << QPointF(s * 0.14, s * 0.14) << QPointF(s * 0.14, s * 0.86)
                                   << QPointF(s * 0.5, s * 0.86) << QPointF(s * 0.5, s * 0.7));
        p.setPen(QPen(QColor(60, 140, 60), s / 9.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s * 0.32, s * 0.5), QPointF(s * 0.72, s * 0.5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 140, 60));
        p.drawPolygon(QPolygonF() << QPointF(s * 0.9, s * 0.5) << QPointF(s * 0.68, s * 0.32)
                                  << QPointF(s * 0.68, s * 0.68));
        break;
    }
    case ToolbarIcon::Undo: {
        p.setPen(QPen(ink, s / 9.0, Qt::SolidLine, Qt::RoundCap));
        QPainterPath curve;
        curve.moveTo(s * 0.3, s * 0.4);
        curve.cubicTo(s * 0.6, s * 0.15, s * 0.95, s * 0.45, s * 0.7, s * 0.8);
        p.drawPath(curve);
        p.setBrush(ink);
        QPolygonF head;
        head << QPointF(s * 0.12, s * 0.4) << QPointF(s * 0.38, s * 0.2) << QPointF(s * 0.4, s * 0.58);
        p.drawPolygon(head);
        break;
    }
    case ToolbarIcon::History: {
        // A clock face, as the desktop themes draw "document-open-recent".
        p.setPen(QPen(ink, s / 12.0));
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(s / 2, s / 2), s * 0.38, s * 0.38);
        p.setPen(QPen(ink, s / 10.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(s / 2, s / 2), QPointF(s / 2, s * 0.24));
        p.drawLine(QPointF(s / 2, s / 2), QPointF(s * 0.7, s * 0.6));
        break;
    }
    case ToolbarIcon::MoveUp:
    case ToolbarIcon::MoveDown:
        p.setBrush(QColor(60, 140, 60));
        p.setPen(Qt::NoPen);
        drawArrow(p, s, which == ToolbarIcon::MoveUp);
        break;
    case ToolbarIcon::SideBySide:
    case ToolbarIcon::Stacked: {
        p.setBrush(Qt::white);
        const QRectF frame(s * 0.12, s * 0.16, s * 0.76, s * 0.68);
        p.drawRect(frame);
        if (which == ToolbarIcon::SideBySide) {
            p.drawLine(QPointF(s * 0.5, frame.top()), QPointF(s * 0.5, frame.bottom()));
        } else {
            p.drawLine(QPointF(frame.left(), s * 0.5), QPointF(frame.right(), s * 0.5));
        }
        break;
    }
    case ToolbarIcon::Preview:
    case ToolbarIcon::Program: {
        p.setBrush(QColor(200, 230, 255));
        p.drawRect(QRectF(s * 0.12, s * 0.18, s * 0.76, s * 0.64));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(240, 190, 40));
        p.drawEllipse(QPointF(s * 0.35, s * 0.38), s * 0.08, s * 0.08);
        p.setBrush(QColor(60, 140, 60));
        QPolygonF hill;
        hill << QPointF(s * 0.16, s * 0.78) << QPointF(s * 0.45, s * 0.45) << QPointF(s * 0.62, s * 0.62)
             << QPointF(s * 0.7, s * 0.55) << QPointF(s * 0.84, s * 0.78);
        p.drawPolygon(hill);
        break;
    }
    case ToolbarIcon::SortByDateTaken: {
        // Bars growing from top to bottom, as the themes draw an ascending order.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 100, 170));
        for (int bar = 0; bar < 4; ++bar) {
            p.drawRect(QRectF(s * 0.14, s * (0.16 + bar * 0.19), s * (0.2 + bar * 0.18), s * 0.12));
        }
        break;
    }
    }
    return pixmap;
}

QIcon toolbarIcon(ToolbarIcon which)
{
    QIcon fallback;
    for (const int size : {16, 22, 24, 32, 48}) {
        fallback.addPixmap(drawnIcon(which, size));
    }
    return QIcon::fromTheme(themeName(which), fallback);
}

} // namespace quorvane::ui
