#include "WmfRecords.h"

#include "Player.h"

namespace quorvane::metafile {
namespace {

LogFont wmfFont(Bytes p)
{
    LogFont font;
    font.height = p.i16(0);
    font.escapement = p.i16(4);
    font.weight = p.i16(8);
    font.italic = p.u8(10) != 0;
    font.underline = p.u8(11) != 0;
    font.strikeOut = p.u8(12) != 0;
    font.charset = p.u8(13);
    QByteArray face;
    for (qint64 i = 18; i < std::min<qint64>(p.size(), 18 + 32); ++i) {
        const char c = char(p.u8(i));
        if (c == 0) {
            break;
        }
        face.append(c);
    }
    font.face = decodeAnsi(face.constData(), face.size(), font.charset);
    return font;
}

} // namespace

void Player::wmfText(Bytes p, bool extended)
{
    qint64 count = 0;
    qint64 stringAt = 0;
    QPointF reference;
    quint32 options = 0;
    QRectF box;
    if (!extended) {
        count = p.i16(0);
        stringAt = 2;
        const qint64 padded = (std::max<qint64>(count, 0) + 1) / 2 * 2;
        reference = QPointF(p.i16(stringAt + padded + 2), p.i16(stringAt + padded));
        if (!p.holds(stringAt + padded, 4)) {
            return;
        }
    } else {
        reference = QPointF(p.i16(2), p.i16(0));
        count = p.i16(4);
        options = p.u16(6);
        stringAt = 8;
        if ((options & 0x6) != 0) { // ETO_OPAQUE or ETO_CLIPPED carry a rectangle
            box = QRectF(QPointF(p.i16(8), p.i16(10)), QPointF(p.i16(12), p.i16(14)));
            stringAt = 16;
        }
    }
    count = std::min<qint64>(count, maxTextLength);
    if (count <= 0 || !p.holds(stringAt, count)) {
        return;
    }
    const QString string =
        decodeAnsi(reinterpret_cast<const char*>(p.data() + stringAt), count, m_state.font.charset);
    std::vector<double> advances;
    const qint64 dxAt = stringAt + (count + 1) / 2 * 2;
    // The spacing is per byte; it applies only where every byte became one character.
    if (extended && string.size() == count && p.holds(dxAt, count * 2)) {
        advances.reserve(std::size_t(count));
        for (qint64 i = 0; i < count; ++i) {
            advances.push_back(p.i16(dxAt + 2 * i));
        }
    }
    text(reference, string, options, box, advances);
}

void Player::wmfBlt(Bytes p, quint32 function, quint32 sizeWords)
{
    // The records without a bitmap are three words longer than their function's high byte says.
    const bool withBitmap = sizeWords != (function >> 8) + 3;
    const quint32 rop = p.u32(0);
    QRectF source, destination;
    qint64 dibAt = 0;
    switch (function) {
    case MetaDibBitBlt:
        if (withBitmap) {
            destination = QRectF(p.i16(14), p.i16(12), p.i16(10), p.i16(8));
            source = QRectF(p.i16(6), p.i16(4), destination.width(), destination.height());
            dibAt = 16;
        } else {
            destination = QRectF(p.i16(16), p.i16(14), p.i16(12), p.i16(10));
        }
        break;
    case MetaDibStretchBlt:
        if (withBitmap) {
            source = QRectF(p.i16(10), p.i16(8), p.i16(6), p.i16(4));
            destination = QRectF(p.i16(18), p.i16(16), p.i16(14), p.i16(12));
            dibAt = 20;
        } else {
            destination = QRectF(p.i16(20), p.i16(18), p.i16(16), p.i16(14));
        }
        break;
    case MetaStretchDib:
        source = QRectF(p.i16(12), p.i16(10), p.i16(8), p.i16(6));
        destination = QRectF(p.i16(20), p.i16(18), p.i16(16), p.i16(14));
        dibAt = 22;
        break;
    default:
        return;
    }
    if (dibAt == 0) {
        patternBlt(destination, rop);
        return;
    }
    const Bytes dibBytes = p.sub(dibAt, p.size() - dibAt);
    const QImage image = packedDib(dibBytes);
    if (image.isNull()) {
        return;
    }
    const qint64 headerSize = dibBytes.u32(0);
    const bool bottomUp = headerSize == 12 || dibBytes.i32(8) > 0;
    if (bottomUp) {
        source.moveTop(image.height() - source.top() - source.height());
    }
    bitmap(image, source, destination);
}

void Player::playWmf(Bytes record, quint32 function)
{
    const quint32 sizeWords = record.u32(0);
    const Bytes p = record.sub(6, record.size() - 6);
    const qint64 size = p.size();
    // Old-style records list their coordinates in reverse: y before x, bottom before top.
    const auto point = [&p](qint64 at) {
        return QPointF(p.i16(at + 2), p.i16(at));
    };
    const auto box = [&p](qint64 at) {
        return QRectF(QPointF(p.i16(at + 6), p.i16(at + 4)), QPointF(p.i16(at + 2), p.i16(at)));
    };
    const auto points = [&p](qint64 countAt, qint64 count) {
        std::vector<QPointF> result;
        if (count < 0 || count > (p.size() - countAt) / 4) {
            return result;
        }
        result.reserve(std::size_t(count));
        for (qint64 i = 0; i < count; ++i) {
            result.emplace_back(p.i16(countAt + 4 * i), p.i16(countAt + 4 * i + 2));
        }
        return result;
    };
    switch (function) {
    case MetaSetWindowOrg:
        if (size >= 4) {
            m_state.windowOrg = point(0);
            m_dirty = true;
        }
        break;
    case MetaSetWindowExt:
        if (size >= 4 && p.i16(0) != 0 && p.i16(2) != 0) {
            m_state.windowExt = point(0);
            m_dirty = true;
        }
        break;
    case MetaScaleWindowExt:
        if (size >= 8) {
            scaleExtent(m_state.windowExt, p.i16(6), p.i16(4), p.i16(2), p.i16(0));
        }
        break;
    case MetaSetPixel:
        if (size >= 8) {
            setPixel(point(4), p.u32(0));
        }
        break;
    case MetaOffsetWindowOrg:
        if (size >= 4) {
            m_state.windowOrg += point(0);
            m_dirty = true;
        }
        break;
    case MetaSetMapMode:
        // The device is the target, so only the choice between stretching and keeping the
        // aspect matters; fixed-unit modes stretch too, the window being the picture's extent.
        m_state.mapMode = p.u16(0) == MmIsotropic ? MmIsotropic : MmAnisotropic;
        m_dirty = true;
        break;
    case MetaSetBkMode:
        m_state.opaqueBackground = p.u16(0) == 2;
        break;
    case MetaSetPolyFillMode:
        m_state.fillRule = p.u16(0) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
        break;
    case MetaSetTextAlign:
        m_state.textAlign = p.u16(0);
        break;
    case MetaSetTextColor:
        m_state.textColor = colorOf(p.u32(0));
        break;
    case MetaSetBkColor:
        m_state.backgroundColor = colorOf(p.u32(0));
        break;
    case MetaMoveTo:
        if (size >= 4) {
            moveTo(point(0));
        }
        break;
    case MetaLineTo:
        if (size >= 4) {
            lineTo(point(0));
        }
        break;
    case MetaPolygon:
        polygon({points(2, p.i16(0))});
        break;
    case MetaPolyline:
        polyline(points(2, p.i16(0)), false);
        break;
    case MetaPolyPolygon: {
        const qint64 polys = p.u16(0);
        if (polys > (size - 2) / 2) {
            break;
        }
        std::vector<std::vector<QPointF>> shapes;
        qint64 at = 2 + polys * 2;
        for (qint64 i = 0; i < polys; ++i) {
            const qint64 count = p.u16(2 + 2 * i);
            if (count > (size - at) / 4) {
                return;
            }
            shapes.push_back(points(at, count));
            at += count * 4;
        }
        polygon(shapes);
        break;
    }
    case MetaRectangle:
        if (size >= 8) {
            rectangle(box(0));
        }
        break;
    case MetaRoundRect:
        if (size >= 12) {
            roundRect(box(4), QSizeF(p.i16(2), p.i16(0)));
        }
        break;
    case MetaEllipse:
        if (size >= 8) {
            ellipse(box(0));
        }
        break;
    case MetaArc:
    case MetaPie:
    case MetaChord:
        if (size >= 16) {
            arc(box(8), point(4), point(0), function == MetaArc ? 0 : function == MetaChord ? 1 : 2);
        }
        break;
    case MetaExcludeClipRect:
        if (size >= 8) {
            excludeClip(box(0));
        }
        break;
    case MetaIntersectClipRect:
        if (size >= 8) {
            intersectClip(box(0));
        }
        break;
    case MetaSaveDc:
        saveState();
        break;
    case MetaRestoreDc:
        restoreState(p.i16(0));
        break;
    case MetaSelectObject:
        selectObject(p.u16(0));
        break;
    case MetaDeleteObject:
        deleteObject(p.u16(0));
        break;
    case MetaCreatePenIndirect:
        addWmfObject(
            GdiObject{ObjectKind::Pen, LogPen{p.u16(0), double(p.i16(2)), colorOf(p.u32(6))}, {}, {}});
        break;
    case MetaCreateBrushIndirect:
        addWmfObject(
            GdiObject{ObjectKind::Brush, {}, LogBrush{p.u16(0), colorOf(p.u32(2)), p.u16(6), {}}, {}});
        break;
    case MetaDibCreatePatternBrush: {
        GdiObject object{ObjectKind::Brush, {}, LogBrush{5, Qt::gray, 0, {}}, {}};
        object.brush.pattern = packedDib(p.sub(4, size - 4));
        addWmfObject(object);
        break;
    }
    case MetaCreatePatternBrush:
        addWmfObject(GdiObject{ObjectKind::Brush, {}, LogBrush{5, Qt::gray, 0, {}}, {}});
        break;
    case MetaCreateFontIndirect:
        addWmfObject(GdiObject{ObjectKind::Font, {}, {}, wmfFont(p)});
        break;
    case MetaCreatePalette:
    case MetaCreateRegion:
    case MetaCreateBitmap:
    case MetaCreateBitmapIndirect:
        addWmfObject(GdiObject{ObjectKind::Other, {}, {}, {}});
        break;
    case MetaTextOut:
        wmfText(p, false);
        break;
    case MetaExtTextOut:
        wmfText(p, true);
        break;
    case MetaPatBlt:
        if (size >= 12) {
            patternBlt(QRectF(p.i16(10), p.i16(8), p.i16(6), p.i16(4)), p.u32(0));
        }
        break;
    case MetaDibBitBlt:
    case MetaDibStretchBlt:
    case MetaStretchDib:
        wmfBlt(p, function, sizeWords);
        break;
    default:
        break;
    }
}

} // namespace quorvane::metafile
