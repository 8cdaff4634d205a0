#include "EmfRecords.h"

#include "Player.h"

namespace quorvane::metafile {
namespace {

LogFont emfFont(Bytes r)
{
    LogFont font;
    font.height = r.i32(12);
    font.escapement = r.i32(20);
    font.weight = r.i32(28);
    font.italic = r.u8(32) != 0;
    font.underline = r.u8(33) != 0;
    font.strikeOut = r.u8(34) != 0;
    font.charset = r.u8(35);
    for (int i = 0; i < 32; ++i) {
        const quint32 c = r.u16(40 + 2 * i);
        if (c == 0) {
            break;
        }
        font.face.append(QChar(char16_t(c)));
    }
    return font;
}

} // namespace

std::vector<QPointF> Player::emfPoints(Bytes r, qint64 countAt, qint64 pointsAt, bool small)
{
    const qint64 count = r.u32(countAt);
    const qint64 pointSize = small ? 4 : 8;
    std::vector<QPointF> points;
    if (count > (r.size() - pointsAt) / pointSize || pointsAt > r.size()) {
        return points;
    }
    points.reserve(std::size_t(count));
    for (qint64 i = 0; i < count; ++i) {
        const qint64 at = pointsAt + i * pointSize;
        points.emplace_back(small ? r.i16(at) : r.i32(at), small ? r.i16(at + 2) : r.i32(at + 4));
    }
    return points;
}

void Player::emfPolyPoly(Bytes r, bool small, bool closed)
{
    const qint64 polys = r.u32(24);
    const qint64 total = r.u32(28);
    const qint64 pointSize = small ? 4 : 8;
    if (polys > (r.size() - 32) / 4) {
        return;
    }
    const qint64 pointsAt = 32 + polys * 4;
    if (total > (r.size() - pointsAt) / pointSize) {
        return;
    }
    std::vector<std::vector<QPointF>> shapes;
    qint64 next = 0;
    for (qint64 i = 0; i < polys; ++i) {
        const qint64 count = r.u32(32 + i * 4);
        if (count > total - next) {
            return;
        }
        std::vector<QPointF> points;
        points.reserve(std::size_t(count));
        for (qint64 k = 0; k < count; ++k, ++next) {
            const qint64 at = pointsAt + next * pointSize;
            points.emplace_back(small ? r.i16(at) : r.i32(at), small ? r.i16(at + 2) : r.i32(at + 4));
        }
        shapes.push_back(std::move(points));
    }
    if (closed) {
        polygon(shapes);
    } else {
        for (const auto& points : shapes) {
            polyline(points, false);
        }
    }
}

void Player::emfText(Bytes r, bool wide)
{
    if (r.size() < 76) {
        return;
    }
    const QPointF reference(r.i32(36), r.i32(40));
    const qint64 count = std::min<qint64>(r.u32(44), maxTextLength);
    const qint64 offset = r.u32(48);
    const quint32 options = r.u32(52);
    const QRectF box(QPointF(r.i32(56), r.i32(60)), QPointF(r.i32(64), r.i32(68)));
    const qint64 unit = wide ? 2 : 1;
    if (count <= 0 || !r.holds(offset, count * unit)) {
        return;
    }
    QString string;
    if (wide) {
        string.resize(count);
        for (qint64 i = 0; i < count; ++i) {
            string[i] = QChar(char16_t(r.u16(offset + 2 * i)));
        }
    } else {
        string = decodeAnsi(reinterpret_cast<const char*>(r.data() + offset), count, m_state.font.charset);
    }
    std::vector<double> advances;
    const qint64 dxAt = r.u32(72);
    if (dxAt != 0 && r.holds(dxAt, count * 4)) {
        advances.reserve(std::size_t(count));
        for (qint64 i = 0; i < count; ++i) {
            advances.push_back(r.i32(dxAt + 4 * i));
        }
    }
    text(reference, string, options, box, advances);
}

void Player::emfBlt(Bytes r, quint32 type)
{
    if (type == EmrStretchDiBits || type == EmrSetDiBitsToDevice) {
        // Both share their first fields; SetDIBitsToDevice copies the source at its own size.
        const bool stretch = type == EmrStretchDiBits;
        if (r.size() < (stretch ? 80 : 76)) {
            return;
        }
        const QRectF destination(r.i32(24), r.i32(28), r.i32(stretch ? 72 : 40), r.i32(stretch ? 76 : 44));
        const QImage image = dib(r.sub(r.u32(48), r.u32(52)), r.sub(r.u32(56), r.u32(60)));
        if (image.isNull()) {
            return;
        }
        // The source rectangle counts from the bitmap's lower-left corner for bottom-up bitmaps.
        const Bytes info = r.sub(r.u32(48), r.u32(52));
        const bool bottomUp = info.u32(0) == 12 || info.i32(8) > 0;
        const double cx = r.i32(40), cy = r.i32(44), xSrc = r.i32(32), ySrc = r.i32(36);
        const double top = bottomUp ? image.height() - ySrc - cy : ySrc;
        bitmap(image, QRectF(xSrc, top, cx, cy), destination);
        return;
    }
    const qint64 minimum = type == EmrStretchBlt ? 108 : 100;
    if (r.size() < minimum) {
        return;
    }
    const QRectF destination(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
    const quint32 rop = r.u32(40);
    if (r.u32(88) == 0) {
        patternBlt(destination, rop);
        return;
    }
    const QImage image = dib(r.sub(r.u32(84), r.u32(88)), r.sub(r.u32(92), r.u32(96)));
    const double cx = type == EmrStretchBlt ? r.i32(100) : destination.width();
    const double cy = type == EmrStretchBlt ? r.i32(104) : destination.height();
    bitmap(image, QRectF(r.i32(44), r.i32(48), cx, cy), destination);
}

void Player::playEmf(Bytes r, quint32 type)
{
    const qint64 size = r.size();
    const auto point = [&r](qint64 at) {
        return QPointF(r.i32(at), r.i32(at + 4));
    };
    const auto box = [&r](qint64 at) {
        return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
    };
    switch (type) {
    case EmrPolyBezier:
    case EmrPolyBezier16:
        polyBezier(emfPoints(r, 24, 28, type == EmrPolyBezier16), false);
        break;
    case EmrPolyBezierTo:
    case EmrPolyBezierTo16:
        polyBezier(emfPoints(r, 24, 28, type == EmrPolyBezierTo16), true);
        break;
    case EmrPolygon:
    case EmrPolygon16:
        polygon({emfPoints(r, 24, 28, type == EmrPolygon16)});
        break;
    case EmrPolyline:
    case EmrPolyline16:
        polyline(emfPoints(r, 24, 28, type == EmrPolyline16), false);
        break;
    case EmrPolylineTo:
    case EmrPolylineTo16:
        polyline(emfPoints(r, 24, 28, type == EmrPolylineTo16), true);
        break;
    case EmrPolyPolyline:
    case EmrPolyPolyline16:
        emfPolyPoly(r, type == EmrPolyPolyline16, false);
        break;
    case EmrPolyPolygon:
    case EmrPolyPolygon16:
        emfPolyPoly(r, type == EmrPolyPolygon16, true);
        break;
    case EmrSetWindowExtEx:
        if (size >= 16 && r.i32(8) != 0 && r.i32(12) != 0) {
            m_state.windowExt = point(8);
            m_dirty = true;
        }
        break;
    case EmrSetWindowOrgEx:
        if (size >= 16) {
            m_state.windowOrg = point(8);
            m_dirty = true;
        }
        break;
    case EmrSetViewportExtEx:
        if (size >= 16 && r.i32(8) != 0 && r.i32(12) != 0) {
            m_state.viewportExt = point(8);
            m_dirty = true;
        }
        break;
    case EmrSetViewportOrgEx:
        if (size >= 16) {
            m_state.viewportOrg = point(8);
            m_dirty = true;
        }
        break;
    case EmrScaleViewportExtEx:
    case EmrScaleWindowExtEx:
        if (size >= 24) {
            scaleExtent(type == EmrScaleViewportExtEx ? m_state.viewportExt : m_state.windowExt, r.i32(8),
                        r.i32(12), r.i32(16), r.i32(20));
        }
        break;
    case EmrSetArcDirection:
        m_state.clockwiseArcs = r.u32(8) == 2;
        break;
    case EmrSetPixelV:
        if (size >= 20) {
            setPixel(point(8), r.u32(16));
        }
        break;
    case EmrSetMapMode:
        if (size >= 12 && r.u32(8) >= MmText && r.u32(8) <= MmAnisotropic) {
            m_state.mapMode = int(r.u32(8));
            m_dirty = true;
        }
        break;
    case EmrSetBkMode:
        m_state.opaqueBackground = r.u32(8) == 2;
        break;
    case EmrSetPolyFillMode:
        m_state.fillRule = r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case EmrSetTextAlign:
        m_state.textAlign = r.u32(8);
        break;
    case EmrSetTextColor:
        m_state.textColor = colorOf(r.u32(8));
        break;
    case EmrSetBkColor:
        m_state.backgroundColor = colorOf(r.u32(8));
        break;
    case EmrMoveToEx:
        if (size >= 16) {
            moveTo(point(8));
        }
        break;
    case EmrLineTo:
        if (size >= 16) {
            lineTo(point(8));
        }
        break;
    case EmrExcludeClipRect:
        if (size >= 24) {
            excludeClip(box(8));
        }
        break;
    case EmrIntersectClipRect:
        if (size >= 24) {
            intersectClip(box(8));
        }
        break;
    case EmrExtSelectClipRgn:
        // Only the reset (no region data, RGN_COPY) is followed; regions are not decoded.
        if (size >= 16 && r.u32(8) == 0 && r.u32(12) == 5) {
            m_state.clipped = false;
            m_state.excluded = QRegion();
        }
        break;
    case EmrSaveDc:
        saveState();
        break;
    case EmrRestoreDc:
        restoreState(r.i32(8));
        break;
    case EmrSetWorldTransform:
    case EmrModifyWorldTransform: {
        if (size < (type == EmrSetWorldTransform ? 32 : 36)) {
            break;
        }
        const QTransform xform(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
        const quint32 mode = type == EmrSetWorldTransform ? 4 : r.u32(32);
        if (mode == 1) {
            m_state.world = QTransform();
        } else if (!isFinite(xform)) {
            break;
        } else if (mode == 2) {
            m_state.world = xform * m_state.world;
        } else if (mode == 3) {
            m_state.world = m_state.world * xform;
        } else if (mode == 4) {
            m_state.world = xform;
        }
        m_dirty = true;
        break;
    }
    case EmrSelectObject:
        selectObject(r.u32(8));
        break;
    case EmrDeleteObject:
        deleteObject(r.u32(8));
        break;
    case EmrCreatePen:
        if (size >= 28) {
            GdiObject object{
                ObjectKind::Pen, LogPen{r.u32(12), double(r.i32(16)), colorOf(r.u32(24))}, {}, {}};
            createObject(r.u32(8), object);
        }
        break;
    case EmrExtCreatePen:
        if (size >= 52) {
            const quint32 style = r.u32(28);
            // A geometric pen's width is logical; a cosmetic pen is always one pixel wide.
            const double width = (style & 0x00010000) != 0 ? double(r.u32(32)) : 0.0;
            const quint32 brushStyle = r.u32(36);
            GdiObject object{
                ObjectKind::Pen, LogPen{brushStyle == 1 ? 5u : style, width, colorOf(r.u32(40))}, {}, {}};
            createObject(r.u32(8), object);
        }
        break;
    case EmrCreateBrushIndirect:
        if (size >= 24) {
            GdiObject object{
                ObjectKind::Brush, {}, LogBrush{r.u32(12), colorOf(r.u32(16)), r.u32(20), {}}, {}};
            createObject(r.u32(8), object);
        }
        break;
    case EmrCreateMonoBrush:
    case EmrCreateDibPatternBrushPt:
        if (size >= 32) {
            GdiObject object{ObjectKind::Brush, {}, LogBrush{5, Qt::gray, 0, {}}, {}};
            object.brush.pattern = dib(r.sub(r.u32(16), r.u32(20)), r.sub(r.u32(24), r.u32(28)));
            createObject(r.u32(8), object);
        }
        break;
    case EmrExtCreateFontIndirectW:
        if (size >= 104) {
            createObject(r.u32(8), GdiObject{ObjectKind::Font, {}, {}, emfFont(r)});
        }
        break;
    case EmrCreatePalette:
    case EmrCreateColorSpace:
    case EmrCreateColorSpaceW:
        if (size >= 12) {
            createObject(r.u32(8), GdiObject{ObjectKind::Other, {}, {}, {}});
        }
        break;
    case EmrEllipse:
        if (size >= 24) {
            ellipse(box(8));
        }
        break;
    case EmrRectangle:
        if (size >= 24) {
            rectangle(box(8));
        }
        break;
    case EmrRoundRect:
        if (size >= 32) {
            roundRect(box(8), QSizeF(r.i32(24), r.i32(28)));
        }
        break;
    case EmrArc:
    case EmrChord:
    case EmrPie:
        if (size >= 40) {
            arc(box(8), point(24), point(32), type == EmrArc ? 0 : type == EmrChord ? 1 : 2);
        }
        break;
    case EmrBeginPath:
        m_inPath = true;
        m_path = QPainterPath();
        break;
    case EmrEndPath:
        m_inPath = false;
        break;
    case EmrCloseFigure:
        if (m_inPath) {
            m_path.closeSubpath();
        }
        break;
    case EmrAbortPath:
        m_inPath = false;
        m_path = QPainterPath();
        break;
    case EmrFillPath:
    case EmrStrokeAndFillPath:
    case EmrStrokePath:
        if (!m_inPath && !m_path.isEmpty()) {
            // The path is already in target coordinates: draw it as it stands.
            applyClip();
            QPainterPath path = m_path;
            path.setFillRule(m_state.fillRule);
            m_painter.setPen(type != EmrFillPath ? pen() : QPen(Qt::NoPen));
            m_painter.setBrush(type != EmrStrokePath ? brush() : QBrush(Qt::NoBrush));
            m_painter.drawPath(path);
            m_path = QPainterPath();
        }
        break;
    case EmrExtTextOutA:
    case EmrExtTextOutW:
        emfText(r, type == EmrExtTextOutW);
        break;
    case EmrBitBlt:
    case EmrStretchBlt:
    case EmrSetDiBitsToDevice:
    case EmrStretchDiBits:
        emfBlt(r, type);
        break;
    default:
        break;
    }
}

} // namespace quorvane::metafile
