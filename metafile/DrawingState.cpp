#include "DrawingState.h"

#include "Player.h"

namespace quorvane::metafile {

std::optional<LogPen> stockPen(quint32 index)
{
    switch (index) {
    case 6:
        return LogPen{0, 0, Qt::white};
    case 7:
        return LogPen{0, 0, Qt::black};
    case 8:
        return LogPen{5, 0, Qt::black};
    default:
        return std::nullopt;
    }
}

std::optional<LogBrush> stockBrush(quint32 index)
{
    switch (index) {
    case 0:
        return LogBrush{0, Qt::white, 0, {}};
    case 1:
        return LogBrush{0, QColor(0xC0, 0xC0, 0xC0), 0, {}};
    case 2:
        return LogBrush{0, QColor(0x80, 0x80, 0x80), 0, {}};
    case 3:
        return LogBrush{0, QColor(0x40, 0x40, 0x40), 0, {}};
    case 4:
        return LogBrush{0, Qt::black, 0, {}};
    case 5:
        return LogBrush{1, Qt::black, 0, {}};
    default:
        return std::nullopt;
    }
}

// ---- Mapping, saved states, objects and clipping ------------------------------------------------

const QTransform& Player::transform()
{
    if (!m_dirty) {
        return m_full;
    }
    m_dirty = false;
    const DcState& s = m_state;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
    case MmLoMetric:
        sx = 0.1 * m_pixelsPerMm, sy = -sx;
        break;
    case MmHiMetric:
        sx = 0.01 * m_pixelsPerMm, sy = -sx;
        break;
    case MmLoEnglish:
        sx = 0.254 * m_pixelsPerMm, sy = -sx;
        break;
    case MmHiEnglish:
        sx = 0.0254 * m_pixelsPerMm, sy = -sx;
        break;
    case MmTwips:
        sx = 25.4 / 1440 * m_pixelsPerMm, sy = -sx;
        break;
    case MmIsotropic:
    case MmAnisotropic:
        sx = s.viewportExt.x() / s.windowExt.x();
        sy = s.viewportExt.y() / s.windowExt.y();
        if (s.mapMode == MmIsotropic && std::isfinite(sx) && std::isfinite(sy)) {
            const double scale = std::min(std::abs(sx), std::abs(sy));
            sx = std::copysign(scale, sx);
            sy = std::copysign(scale, sy);
        }
        break;
    default:
        break;
    }
    QPointF viewportOrg = s.viewportOrg;
    QTransform toTarget = m_deviceToTarget;
    if (!m_enhanced) {
        // An old-style metafile's device is the target itself: the window fills it.
        viewportOrg = m_target.topLeft();
        toTarget = QTransform();
        if (s.mapMode == MmAnisotropic || s.mapMode == MmIsotropic) {
            sx = m_target.width() / s.windowExt.x();
            sy = m_target.height() / s.windowExt.y();
            if (s.mapMode == MmIsotropic && std::isfinite(sx) && std::isfinite(sy)) {
                const double scale = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(scale, sx);
                sy = std::copysign(scale, sy);
            }
        }
    }
    const QTransform page = QTransform::fromTranslate(-s.windowOrg.x(), -s.windowOrg.y()) *
                            QTransform::fromScale(sx, sy) *
                            QTransform::fromTranslate(viewportOrg.x(), viewportOrg.y());
    m_full = (m_enhanced ? s.world : QTransform()) * page * toTarget;
    m_valid = isFinite(m_full) && sx != 0 && sy != 0 && std::isfinite(sx) && std::isfinite(sy);
    return m_full;
}

QPointF Player::map(QPointF logical)
{
    const QPointF p = transform().map(logical);
    return QPointF(clampCoordinate(p.x(), m_low.x(), m_high.x()),
                   clampCoordinate(p.y(), m_low.y(), m_high.y()));
}

QPainterPath Player::mapPath(const QPainterPath& logical)
{
    QPainterPath path = transform().map(logical);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const double x = clampCoordinate(e.x, m_low.x(), m_high.x());
        const double y = clampCoordinate(e.y, m_low.y(), m_high.y());
        if (x != e.x || y != e.y) {
            path.setElementPositionAt(i, x, y);
        }
    }
    return path;
}

// How long one logical unit is in the target, on average over both axes.
double Player::lengthScale()
{
    const QTransform& t = transform();
    const double scale = std::sqrt(std::abs(t.m11() * t.m22() - t.m12() * t.m21()));
    return std::isfinite(scale) ? scale : 0;
}

double Player::verticalScale()
{
    const QTransform& t = transform();
    const double scale = std::hypot(t.m21(), t.m22());
    return std::isfinite(scale) ? scale : 0;
}

void Player::saveState()
{
    if (int(m_saved.size()) < MetafilePicture::maxSavedStates) {
        m_saved.push_back(m_state);
    }
}

void Player::restoreState(qint32 which)
{
    // Negative counts back from the latest save; positive names a save by its depth from 1.
    const qint64 depth = qint64(m_saved.size());
    const qint64 index = which < 0 ? depth + which : qint64(which) - 1;
    if (which == 0 || index < 0 || index >= depth) {
        return;
    }
    m_state = m_saved[std::size_t(index)];
    m_saved.resize(std::size_t(index));
    m_dirty = true;
}

void Player::createObject(quint32 index, GdiObject object)
{
    // Index 0 stands for the metafile itself and is never an object.
    if (index == 0 || index >= m_objects.size()) {
        return;
    }
    m_objects[index] = std::make_unique<GdiObject>(std::move(object));
}

void Player::addWmfObject(GdiObject object)
{
    // An old-style metafile has no handles in its records: each new object takes the lowest free
    // slot of the table, and a full table drops it.
    // Every slot below m_firstFree is taken, so the search never rescans the full part.
    for (; m_firstFree < m_objects.size(); ++m_firstFree) {
        if (!m_objects[m_firstFree]) {
            m_objects[m_firstFree++] = std::make_unique<GdiObject>(std::move(object));
            return;
        }
    }
}

void Player::selectObject(quint32 index)
{
    if (m_enhanced && (index & stockObjectFlag) != 0) {
        const quint32 stock = index & ~stockObjectFlag;
        if (const auto pen = stockPen(stock)) {
            m_state.pen = *pen;
        } else if (const auto brush = stockBrush(stock)) {
            m_state.brush = *brush;
        } else if (stock >= 10 && stock <= 17 && stock != 15) {
            m_state.font = LogFont{};
        }
        return;
    }
    if (index >= m_objects.size() || !m_objects[index]) {
        return;
    }
    const GdiObject& object = *m_objects[index];
    switch (object.kind) {
    case ObjectKind::Pen:
        m_state.pen = object.pen;
        break;
    case ObjectKind::Brush:
        m_state.brush = object.brush;
        break;
    case ObjectKind::Font:
        m_state.font = object.font;
        break;
    default:
        break;
    }
}

void Player::deleteObject(quint32 index)
{
    // The device context keeps its own copy of a selected object, so deleting it changes nothing drawn.
    if (index < m_objects.size()) {
        m_objects[index].reset();
        m_firstFree = std::min<std::size_t>(m_firstFree, index);
    }
}

void Player::intersectClip(const QRectF& logical)
{
    QPainterPath path;
    path.addRect(logical.normalized());
    const QRectF box = mapPath(path).boundingRect();
    if (!m_valid) {
        return;
    }
    m_state.clip = m_state.clipped ? m_state.clip.intersected(box) : box;
    m_state.clipped = true;
}

void Player::excludeClip(const QRectF& logical)
{
    QPainterPath path;
    path.addRect(logical.normalized());
    const QRect box = mapPath(path).boundingRect().toRect();
    // Each exclusion may split the region further; past this many pieces they are ignored.
    constexpr int maxClipPieces = 256;
    if (m_valid && m_state.excluded.rectCount() < maxClipPieces) {
        m_state.excluded += box;
    }
}

void Player::applyClip()
{
    const QRectF wanted = m_state.clipped ? m_state.clip.intersected(m_target) : m_target;
    if (m_clipApplied && wanted == m_appliedClip && m_state.excluded == m_appliedExclusion) {
        return;
    }
    if (m_state.excluded.isEmpty()) {
        m_painter.setClipRect(wanted);
    } else {
        m_painter.setClipRegion(QRegion(wanted.toAlignedRect()).subtracted(m_state.excluded));
    }
    m_appliedClip = wanted;
    m_appliedExclusion = m_state.excluded;
    m_clipApplied = true;
}

} // namespace quorvane::metafile
