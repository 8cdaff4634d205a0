#include "Player.h"

#include "imaging/Bmp.h"

#include <QFontMetricsF>
#include <QStringDecoder>
#include <string>

namespace quorvane::metafile {
namespace {

// Decodes a device-independent bitmap (its information header, colour table and pixels) through
// the bitmap file reader by putting the 14-byte file header in front of it.
QImage decodeDib(Bytes info, Bytes bits, qint64 pixelLimit)
{
    if (info.size() < 12) {
        return {};
    }
    std::string file;
    file.reserve(std::size_t(14 + info.size() + bits.size()));
    const auto put32 = [&file](quint32 v) {
        for (int i = 0; i < 4; ++i) {
            file.push_back(char((v >> (8 * i)) & 0xFF));
        }
    };
    file += "BM";
    put32(quint32(14 + info.size() + bits.size()));
    put32(0);
    put32(quint32(14 + info.size()));
    file.append(reinterpret_cast<const char*>(info.data()), std::size_t(info.size()));
    if (bits.size() > 0) {
        file.append(reinterpret_cast<const char*>(bits.data()), std::size_t(bits.size()));
    }
    const auto bitmap = imaging::readBmp(file, std::uint64_t(std::max<qint64>(pixelLimit, 0)));
    if (!bitmap || bitmap->bitsPerPixel != 24 || bitmap->width <= 0 || bitmap->height <= 0) {
        return {};
    }
    QImage image(bitmap->width, bitmap->height, QImage::Format_RGB888);
    if (image.isNull()) {
        return {};
    }
    for (int y = 0; y < bitmap->height; ++y) {
        std::memcpy(image.scanLine(y), bitmap->row(y), bitmap->rowBytes());
    }
    return image;
}

// The bytes an information header's colour table (or BITFIELDS masks) takes, for a DIB whose
// pixels follow it directly, as in old-style metafiles. Negative when the header is unusable.
qint64 dibColourTableBytes(Bytes dib)
{
    const quint32 headerSize = dib.u32(0);
    if (headerSize == 12) {
        const quint32 bitCount = dib.u16(10);
        return bitCount <= 8 ? 3 * (qint64{1} << bitCount) : 0;
    }
    if (headerSize < 40) {
        return -1;
    }
    const quint32 bitCount = dib.u16(14);
    const quint32 compression = dib.u32(16);
    const quint32 used = dib.u32(32);
    if (bitCount <= 8) {
        const qint64 entries = used != 0 ? qint64(used) : qint64{1} << bitCount;
        return entries > 256 ? -1 : entries * 4;
    }
    qint64 table = qint64(used) * 4;
    if (compression == 3 && headerSize == 40) {
        table += 12;
    }
    return table;
}

} // namespace

QPen Player::pen()
{
    const LogPen& p = m_state.pen;
    const quint32 style = p.style & 0x0F;
    if (style == 5) {
        return QPen(Qt::NoPen);
    }
    QPen pen(p.color);
    const double width = std::min(std::abs(p.width) * lengthScale(), m_maxPenWidth);
    pen.setWidthF(width >= 1 ? width : 0);
    switch (style) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        break;
    }
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

QBrush Player::brush()
{
    const LogBrush& b = m_state.brush;
    switch (b.style) {
    case 0:
        return QBrush(b.color);
    case 2: {
        static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                                     Qt::FDiagPattern, Qt::BDiagPattern,
                                                     Qt::CrossPattern, Qt::DiagCrossPattern};
        return QBrush(b.color, b.hatch < 6 ? hatches[b.hatch] : Qt::SolidPattern);
    }
    case 1:
        return QBrush(Qt::NoBrush);
    default:
        // A pattern brush whose bitmap did not decode still shows its shape, in grey.
        return b.pattern.isNull() ? QBrush(Qt::gray) : QBrush(b.pattern);
    }
}

void Player::drawPath(const QPainterPath& logical, bool stroke, bool fill)
{
    QPainterPath path = mapPath(logical);
    if (!m_valid) {
        return;
    }
    if (m_inPath) {
        m_path.addPath(path);
        return;
    }
    applyClip();
    path.setFillRule(m_state.fillRule);
    m_painter.setBackgroundMode(m_state.opaqueBackground ? Qt::OpaqueMode : Qt::TransparentMode);
    m_painter.setBackground(m_state.backgroundColor);
    m_painter.setPen(stroke ? pen() : QPen(Qt::NoPen));
    m_painter.setBrush(fill ? brush() : QBrush(Qt::NoBrush));
    m_painter.drawPath(path);
}

void Player::moveTo(QPointF point)
{
    m_state.position = point;
    if (m_inPath) {
        const QPointF p = map(point);
        if (m_valid) {
            m_path.moveTo(p);
        }
    }
}

void Player::lineTo(QPointF point)
{
    if (m_inPath) {
        const QPointF p = map(point);
        if (m_valid) {
            if (m_path.elementCount() == 0) {
                m_path.moveTo(map(m_state.position));
            }
            m_path.lineTo(p);
        }
    } else {
        QPainterPath line(m_state.position);
        line.lineTo(point);
        drawPath(line, true, false);
    }
    m_state.position = point;
}

void Player::polyline(const std::vector<QPointF>& points, bool fromCurrent)
{
    if (points.empty()) {
        return;
    }
    if (fromCurrent) {
        for (const QPointF& p : points) {
            lineTo(p);
        }
        return;
    }
    QPainterPath path(points.front());
    for (std::size_t i = 1; i < points.size(); ++i) {
        path.lineTo(points[i]);
    }
    drawPath(path, true, false);
}

void Player::polygon(const std::vector<std::vector<QPointF>>& polygons)
{
    QPainterPath path;
    for (const auto& points : polygons) {
        if (points.empty()) {
            continue;
        }
        path.moveTo(points.front());
        for (std::size_t i = 1; i < points.size(); ++i) {
            path.lineTo(points[i]);
        }
        path.closeSubpath();
    }
    drawPath(path, true, true);
}

void Player::polyBezier(const std::vector<QPointF>& points, bool fromCurrent)
{
    // Three points per curve, after the start point that a curve from the current position lacks.
    const std::size_t first = fromCurrent ? 0 : 1;
    if (points.size() <= first || (points.size() - first) % 3 != 0) {
        return;
    }
    QPainterPath path(fromCurrent ? m_state.position : points.front());
    for (std::size_t i = first; i + 2 < points.size(); i += 3) {
        path.cubicTo(points[i], points[i + 1], points[i + 2]);
    }
    if (fromCurrent) {
        m_state.position = points.back();
    }
    if (m_inPath && fromCurrent) {
        const QPainterPath mapped = mapPath(path);
        if (m_valid) {
            if (m_path.elementCount() == 0) {
                m_path.moveTo(mapped.elementAt(0));
            }
            m_path.connectPath(mapped);
        }
        return;
    }
    drawPath(path, true, false);
}

void Player::rectangle(const QRectF& box)
{
    QPainterPath path;
    path.addRect(box.normalized());
    drawPath(path, true, true);
}

void Player::roundRect(const QRectF& box, QSizeF corner)
{
    QPainterPath path;
    path.addRoundedRect(box.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
    drawPath(path, true, true);
}

void Player::ellipse(const QRectF& box)
{
    QPainterPath path;
    path.addEllipse(box.normalized());
    drawPath(path, true, true);
}

// kind: 0 arc (outline only), 1 chord (closed by a straight line), 2 pie (closed through the centre).
void Player::arc(const QRectF& logicalBox, QPointF start, QPointF end, int kind)
{
    const QRectF box = logicalBox.normalized();
    if (box.width() <= 0 || box.height() <= 0) {
        return;
    }
    const QPointF c = box.center();
    // Angles on the ellipse as Qt counts them: counter-clockwise with y pointing down.
    const auto angle = [&](QPointF p) {
        return std::atan2(-(p.y() - c.y()) / box.height(), (p.x() - c.x()) / box.width()) * 180 / M_PI;
    };
    const double from = angle(start);
    double sweep = angle(end) - from;
    if (sweep <= 0) {
        sweep += 360;
    }
    if (m_state.clockwiseArcs) {
        sweep -= 360;
    }
    QPainterPath path;
    if (kind == 2) {
        path.moveTo(c);
        path.arcTo(box, from, sweep);
        path.closeSubpath();
    } else {
        path.arcMoveTo(box, from);
        path.arcTo(box, from, sweep);
        if (kind == 1) {
            path.closeSubpath();
        }
    }
    drawPath(path, true, kind != 0);
}

// advances: the logical distance from each character to the next, as the file lays the text out;
// empty to let the font space it.
void Player::text(QPointF reference, const QString& text, quint32 options, const QRectF& opaqueRect,
                  const std::vector<double>& advances)
{
    transform();
    if (!m_valid || text.isEmpty()) {
        return;
    }
    const LogFont& f = m_state.font;
    QFont font(f.face.isEmpty() ? QStringLiteral("Sans Serif") : f.face);
    const double height = std::abs(f.height == 0 ? 12.0 : f.height) * verticalScale();
    const double cap = std::max(4 * std::max(m_target.width(), m_target.height()), 1.0);
    font.setPixelSize(std::max(1, int(std::lround(std::min(height, cap)))));
    if (f.height > 0) {
        // A positive height is the whole cell, ascent and descent together, not the em.
        const QFontMetricsF cell(font);
        const double ratio = cell.height() > 0 ? font.pixelSize() / cell.height() : 1;
        font.setPixelSize(std::max(1, int(std::lround(std::min(height * ratio, cap)))));
    }
    font.setWeight(QFont::Weight(std::clamp(f.weight == 0 ? 400 : f.weight, 1, 1000)));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStrikeOut(f.strikeOut);

    applyClip();
    if ((options & 0x2) != 0 && opaqueRect.isValid()) { // ETO_OPAQUE
        QPainterPath box;
        box.addRect(opaqueRect.normalized());
        m_painter.fillPath(mapPath(box), m_state.backgroundColor);
    }
    const bool updateCurrent = (m_state.textAlign & 1) != 0; // TA_UPDATECP
    const QPointF origin = map(updateCurrent ? m_state.position : reference);
    const QFontMetricsF metrics(font);
    // With the file's own spacing the text keeps its layout even when another font stands in.
    const bool spaced = advances.size() == std::size_t(text.size());
    const double horizontalScale = std::hypot(transform().m11(), transform().m12());
    double width = 0;
    if (spaced) {
        for (double advance : advances) {
            width += advance * horizontalScale;
        }
        if (!std::isfinite(width)) {
            return;
        }
    } else {
        width = metrics.horizontalAdvance(text);
    }
    double x = 0;
    if ((m_state.textAlign & 6) == 6) { // TA_CENTER
        x = -width / 2;
    } else if ((m_state.textAlign & 6) == 2) { // TA_RIGHT
        x = -width;
    }
    double y = metrics.ascent(); // TA_TOP
    if ((m_state.textAlign & 24) == 24) {
        y = 0; // TA_BASELINE
    } else if ((m_state.textAlign & 8) != 0) {
        y = -metrics.descent(); // TA_BOTTOM
    }
    m_painter.save();
    m_painter.translate(origin);
    if (f.escapement != 0 && std::isfinite(f.escapement)) {
        m_painter.rotate(-f.escapement / 10);
    }
    m_painter.setFont(font);
    if (m_state.opaqueBackground) {
        m_painter.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()), m_state.backgroundColor);
    }
    m_painter.setPen(m_state.textColor);
    if (spaced) {
        double at = x;
        for (qsizetype i = 0; i < text.size(); ++i) {
            // A surrogate pair is one character drawn at its first half's place.
            const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
            m_painter.drawText(QPointF(at, y), text.mid(i, length));
            for (qsizetype k = 0; k < length; ++k) {
                at += advances[std::size_t(i + k)] * horizontalScale;
            }
            i += length - 1;
        }
    } else {
        m_painter.drawText(QPointF(x, y), text);
    }
    m_painter.restore();
    if (updateCurrent && (m_state.textAlign & 6) == 0) {
        // Left-aligned text moves the current position to its end.
        const QPointF advanced = transform().inverted().map(origin + QPointF(width, 0));
        if (std::isfinite(advanced.x()) && std::isfinite(advanced.y())) {
            m_state.position = advanced;
        }
    }
}

QImage Player::dib(Bytes info, Bytes bits)
{
    if (m_bitmapPixelsLeft <= 0) {
        return {};
    }
    QImage image = decodeDib(info, bits, std::min(MetafilePicture::maxBitmapPixels, m_bitmapPixelsLeft));
    m_bitmapPixelsLeft -= qint64(image.width()) * image.height();
    return image;
}

// A DIB whose pixels follow its colour table directly, as old-style metafiles store them.
QImage Player::packedDib(Bytes bytes)
{
    const qint64 table = dibColourTableBytes(bytes);
    const qint64 headerSize = bytes.u32(0);
    if (table < 0 || !bytes.holds(0, headerSize + table)) {
        return {};
    }
    return dib(bytes.sub(0, headerSize + table),
               bytes.sub(headerSize + table, bytes.size() - headerSize - table));
}

void Player::bitmap(const QImage& image, QRectF source, const QRectF& destination)
{
    const QTransform& t = transform();
    if (!m_valid || image.isNull() || source.width() == 0 || source.height() == 0) {
        return;
    }
    source = source.normalized().intersected(QRectF(image.rect()));
    if (source.isEmpty()) {
        return;
    }
    // The image's source rectangle onto the destination rectangle, then into the target.
    const QTransform place =
        QTransform::fromTranslate(-source.left(), -source.top()) *
        QTransform::fromScale(destination.width() / source.width(), destination.height() / source.height()) *
        QTransform::fromTranslate(destination.left(), destination.top()) * t;
    const QRectF drawn = place.mapRect(QRectF(QPointF(0, 0), source.size()));
    // A bitmap placed beyond the clamping range is skipped rather than distorted.
    if (!isFinite(place) || drawn.left() < m_low.x() || drawn.top() < m_low.y() ||
        drawn.right() > m_high.x() || drawn.bottom() > m_high.y()) {
        return;
    }
    if (m_inPath) {
        return;
    }
    applyClip();
    m_painter.save();
    m_painter.setTransform(place, true);
    m_painter.drawImage(QPointF(0, 0), image, source);
    m_painter.restore();
}

void Player::patternBlt(const QRectF& destination, quint32 rop)
{
    QPainterPath path;
    path.addRect(destination.normalized());
    const QPainterPath mapped = mapPath(path);
    if (!m_valid || m_inPath) {
        return;
    }
    applyClip();
    // Raster operations that combine with the destination are not reproduced.
    constexpr quint32 blackness = 0x00000042, whiteness = 0x00FF0062, patternCopy = 0x00F00021;
    if (rop == blackness) {
        m_painter.fillPath(mapped, Qt::black);
    } else if (rop == whiteness) {
        m_painter.fillPath(mapped, Qt::white);
    } else if (rop == patternCopy && m_state.brush.style != 1) {
        m_painter.fillPath(mapped, brush());
    }
}

// Sets the logical pixel at point: one logical unit square, at least one target pixel.
void Player::setPixel(QPointF point, quint32 colorRef)
{
    QPainterPath path;
    path.addRect(QRectF(point, QSizeF(1, 1)));
    QPainterPath mapped = mapPath(path);
    if (!m_valid || m_inPath) {
        return;
    }
    applyClip();
    const QRectF box = mapped.boundingRect();
    m_painter.fillRect(QRectF(box.topLeft(), box.size().expandedTo(QSizeF(1, 1))), colorOf(colorRef));
}

void Player::scaleExtent(QPointF& extent, qint32 xNum, qint32 xDenom, qint32 yNum, qint32 yDenom)
{
    if (xNum == 0 || xDenom == 0 || yNum == 0 || yDenom == 0) {
        return;
    }
    extent = QPointF(extent.x() * xNum / xDenom, extent.y() * yNum / yDenom);
    m_dirty = true;
}

QString decodeAnsi(const char* data, qsizetype size, quint32 charset)
{
    // Shift-JIS text is common in the files this program meets; other code pages read as Latin-1,
    // which keeps ASCII right and shows every other byte as some character.
    if (charset == 128) {
        QStringDecoder decoder("Shift_JIS");
        if (decoder.isValid()) {
            QString text = decoder.decode(QByteArrayView(data, size));
            if (!decoder.hasError()) {
                return text;
            }
        }
    }
    return QString::fromLatin1(data, size);
}

} // namespace quorvane::metafile
