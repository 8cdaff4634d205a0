#include "MetafilePicture.h"

#include "imaging/Bmp.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QStringDecoder>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace quorvane::metafile {
namespace {

// ---- Reading little-endian fields --------------------------------------------------------------

// A window on the file's bytes. Every read outside it gives 0, so a short record can never make a
// read leave the buffer; the handlers check sizes to skip such records rather than to stay safe.
class Bytes
{
public:
    Bytes() = default;
    Bytes(const uchar* data, qint64 size) : m_data(data), m_size(size) {}

    qint64 size() const { return m_size; }
    bool holds(qint64 offset, qint64 count) const
    {
        return offset >= 0 && count >= 0 && offset <= m_size && count <= m_size - offset;
    }
    quint32 u8(qint64 at) const { return holds(at, 1) ? m_data[at] : 0; }
    quint32 u16(qint64 at) const
    {
        return holds(at, 2) ? quint32(m_data[at]) | quint32(m_data[at + 1]) << 8 : 0;
    }
    qint32 i16(qint64 at) const { return static_cast<qint16>(u16(at)); }
    quint32 u32(qint64 at) const { return holds(at, 4) ? u16(at) | u16(at + 2) << 16 : 0; }
    qint32 i32(qint64 at) const { return static_cast<qint32>(u32(at)); }
    float f32(qint64 at) const
    {
        const quint32 bits = u32(at);
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    Bytes sub(qint64 offset, qint64 count) const
    {
        return holds(offset, count) ? Bytes(m_data + offset, count) : Bytes();
    }
    const uchar* data() const { return m_data; }

private:
    const uchar* m_data = nullptr;
    qint64 m_size = 0;
};

Bytes bytesOf(const QByteArray& array)
{
    return Bytes(reinterpret_cast<const uchar*>(array.constData()), array.size());
}

// ---- Format constants -------------------------------------------------------------------------

constexpr quint32 emfSignature = 0x464D4520; // " EMF"
constexpr quint32 placeableKey = 0x9AC6CDD7;
constexpr int placeableSize = 22;
constexpr int metaHeaderSize = 18;
constexpr int emfHeaderMinimum = 88;

enum Emf : quint32
{
    EmrHeader = 1,
    EmrPolyBezier = 2,
    EmrPolygon = 3,
    EmrPolyline = 4,
    EmrPolyBezierTo = 5,
    EmrPolylineTo = 6,
    EmrPolyPolyline = 7,
    EmrPolyPolygon = 8,
    EmrSetWindowExtEx = 9,
    EmrSetWindowOrgEx = 10,
    EmrSetViewportExtEx = 11,
    EmrSetViewportOrgEx = 12,
    EmrEof = 14,
    EmrSetPixelV = 15,
    EmrSetMapMode = 17,
    EmrSetBkMode = 18,
    EmrSetPolyFillMode = 19,
    EmrSetTextAlign = 22,
    EmrSetTextColor = 24,
    EmrSetBkColor = 25,
    EmrMoveToEx = 27,
    EmrExcludeClipRect = 29,
    EmrIntersectClipRect = 30,
    EmrScaleViewportExtEx = 31,
    EmrScaleWindowExtEx = 32,
    EmrSaveDc = 33,
    EmrRestoreDc = 34,
    EmrSetWorldTransform = 35,
    EmrModifyWorldTransform = 36,
    EmrSelectObject = 37,
    EmrCreatePen = 38,
    EmrCreateBrushIndirect = 39,
    EmrDeleteObject = 40,
    EmrEllipse = 42,
    EmrRectangle = 43,
    EmrRoundRect = 44,
    EmrArc = 45,
    EmrChord = 46,
    EmrPie = 47,
    EmrCreatePalette = 49,
    EmrLineTo = 54,
    EmrSetArcDirection = 57,
    EmrBeginPath = 59,
    EmrEndPath = 60,
    EmrCloseFigure = 61,
    EmrFillPath = 62,
    EmrStrokeAndFillPath = 63,
    EmrStrokePath = 64,
    EmrAbortPath = 68,
    EmrExtSelectClipRgn = 75,
    EmrBitBlt = 76,
    EmrStretchBlt = 77,
    EmrSetDiBitsToDevice = 80,
    EmrStretchDiBits = 81,
    EmrExtCreateFontIndirectW = 82,
    EmrExtTextOutA = 83,
    EmrExtTextOutW = 84,
    EmrPolyBezier16 = 85,
    EmrPolygon16 = 86,
    EmrPolyline16 = 87,
    EmrPolyBezierTo16 = 88,
    EmrPolylineTo16 = 89,
    EmrPolyPolyline16 = 90,
    EmrPolyPolygon16 = 91,
    EmrCreateMonoBrush = 93,
    EmrCreateDibPatternBrushPt = 94,
    EmrExtCreatePen = 95,
    EmrCreateColorSpace = 99,
    EmrCreateColorSpaceW = 122,
};

enum Wmf : quint32
{
    MetaEof = 0x0000,
    MetaSaveDc = 0x001E,
    MetaCreatePalette = 0x00F7,
    MetaSetBkMode = 0x0102,
    MetaSetMapMode = 0x0103,
    MetaSetPolyFillMode = 0x0106,
    MetaRestoreDc = 0x0127,
    MetaSelectObject = 0x012D,
    MetaSetTextAlign = 0x012E,
    MetaDibCreatePatternBrush = 0x0142,
    MetaDeleteObject = 0x01F0,
    MetaCreatePatternBrush = 0x01F9,
    MetaSetBkColor = 0x0201,
    MetaSetTextColor = 0x0209,
    MetaSetWindowOrg = 0x020B,
    MetaSetWindowExt = 0x020C,
    MetaOffsetWindowOrg = 0x020F,
    MetaScaleWindowExt = 0x0410,
    MetaSetPixel = 0x041F,
    MetaLineTo = 0x0213,
    MetaMoveTo = 0x0214,
    MetaCreatePenIndirect = 0x02FA,
    MetaCreateFontIndirect = 0x02FB,
    MetaCreateBrushIndirect = 0x02FC,
    MetaCreateBitmapIndirect = 0x02FD,
    MetaPolygon = 0x0324,
    MetaPolyline = 0x0325,
    MetaExcludeClipRect = 0x0415,
    MetaIntersectClipRect = 0x0416,
    MetaEllipse = 0x0418,
    MetaRectangle = 0x041B,
    MetaTextOut = 0x0521,
    MetaPolyPolygon = 0x0538,
    MetaPatBlt = 0x061D,
    MetaRoundRect = 0x061C,
    MetaCreateBitmap = 0x06FE,
    MetaCreateRegion = 0x06FF,
    MetaArc = 0x0817,
    MetaPie = 0x081A,
    MetaChord = 0x0830,
    MetaDibBitBlt = 0x0940,
    MetaExtTextOut = 0x0A32,
    MetaDibStretchBlt = 0x0B41,
    MetaStretchDib = 0x0F43,
};

enum MapMode
{
    MmText = 1,
    MmLoMetric,
    MmHiMetric,
    MmLoEnglish,
    MmHiEnglish,
    MmTwips,
    MmIsotropic,
    MmAnisotropic
};

// Stock objects are selected by index with the high bit set.
constexpr quint32 stockObjectFlag = 0x80000000;

// A drawn coordinate may lie at most this far outside the target; further out it is clamped, so
// the painter's fixed-point rasteriser never sees a value it cannot hold.
constexpr double coordinateMargin = 1 << 20;
// Longer texts are cut: nothing beyond the frame is visible, and each glyph costs time.
constexpr int maxTextLength = 4096;

// ---- Device context state --------------------------------------------------------------------

QColor colorOf(quint32 colorRef)
{
    return QColor(int(colorRef & 0xFF), int((colorRef >> 8) & 0xFF), int((colorRef >> 16) & 0xFF));
}

struct LogPen
{
    quint32 style = 0; // PS_SOLID
    double width = 0;  // logical units; 0 is one device pixel
    QColor color = Qt::black;
};

struct LogBrush
{
    quint32 style = 0; // BS_SOLID
    QColor color = Qt::white;
    quint32 hatch = 0;
    QImage pattern; // for pattern brushes whose bitmap decoded
};

struct LogFont
{
    double height = 0; // logical units: negative for the character height, positive for the cell
    double escapement = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    quint32 charset = 1; // DEFAULT_CHARSET
    QString face;
};

enum class ObjectKind
{
    Empty,
    Pen,
    Brush,
    Font,
    Other
};

struct GdiObject
{
    ObjectKind kind = ObjectKind::Empty;
    LogPen pen;
    LogBrush brush;
    LogFont font;
};

struct DcState
{
    int mapMode = MmText;
    QPointF windowOrg{0, 0};
    QPointF windowExt{1, 1};
    QPointF viewportOrg{0, 0};
    QPointF viewportExt{1, 1};
    QTransform world;
    LogPen pen;
    LogBrush brush;
    LogFont font;
    QColor textColor = Qt::black;
    QColor backgroundColor = Qt::white;
    bool opaqueBackground = true;
    quint32 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    bool clockwiseArcs = false;
    QPointF position{0, 0}; // the current position, logical
    bool clipped = false;
    QRectF clip;      // in target coordinates
    QRegion excluded; // in target pixels, subtracted from the clip
};

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

double clampCoordinate(double value, double low, double high)
{
    if (!std::isfinite(value)) {
        return value > 0 ? high : low;
    }
    return std::clamp(value, low, high);
}

bool isFinite(const QTransform& t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
           std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

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

// ---- The player -----------------------------------------------------------------------------

class Player
{
public:
    Player(QPainter& painter, const QRectF& target, bool enhanced, int objectCount)
        : m_painter(painter), m_target(target), m_enhanced(enhanced),
          m_objects(std::size_t(std::clamp(objectCount, 0, MetafilePicture::maxObjects)))
    {
        m_low = QPointF(target.left() - coordinateMargin, target.top() - coordinateMargin);
        m_high = QPointF(target.right() + coordinateMargin, target.bottom() + coordinateMargin);
        m_maxPenWidth = 4 * std::max(target.width(), target.height()) + 1;
    }

    // For an EMF: the frame in reference-device pixels fills the target.
    void setDeviceToTarget(const QRectF& source, double pixelsPerMm)
    {
        m_pixelsPerMm = pixelsPerMm;
        m_deviceToTarget =
            QTransform::fromTranslate(-source.left(), -source.top()) *
            QTransform::fromScale(m_target.width() / source.width(), m_target.height() / source.height()) *
            QTransform::fromTranslate(m_target.left(), m_target.top());
        m_dirty = true;
    }

    // For a WMF: the window maps onto the target, whatever viewport the records set.
    void setInitialWindow(const QRectF& window)
    {
        m_state.mapMode = MmAnisotropic;
        m_state.windowOrg = window.topLeft();
        m_state.windowExt = QPointF(window.width(), window.height());
        m_dirty = true;
    }

    void playEmf(Bytes record, quint32 type);
    void playWmf(Bytes record, quint32 function);

private:
    // Mapping
    const QTransform& transform();
    QPointF map(QPointF logical);
    QPainterPath mapPath(const QPainterPath& logical);
    double lengthScale();
    double verticalScale();

    // State
    void saveState();
    void restoreState(qint32 which);
    void createObject(quint32 index, GdiObject object);
    void addWmfObject(GdiObject object);
    void selectObject(quint32 index);
    void deleteObject(quint32 index);
    void intersectClip(const QRectF& logical);

    // Drawing
    void applyClip();
    void excludeClip(const QRectF& logical);
    QPen pen();
    QBrush brush();
    void drawPath(const QPainterPath& logical, bool stroke, bool fill);
    void moveTo(QPointF point);
    void lineTo(QPointF point);
    void polyline(const std::vector<QPointF>& points, bool fromCurrent);
    void polygon(const std::vector<std::vector<QPointF>>& polygons);
    void polyBezier(const std::vector<QPointF>& points, bool fromCurrent);
    void rectangle(const QRectF& box);
    void roundRect(const QRectF& box, QSizeF corner);
    void ellipse(const QRectF& box);
    void arc(const QRectF& box, QPointF start, QPointF end, int kind);
    void text(QPointF reference, const QString& text, quint32 options, const QRectF& opaqueRect,
              const std::vector<double>& advances);
    void bitmap(const QImage& image, QRectF source, const QRectF& destination);
    void patternBlt(const QRectF& destination, quint32 rop);
    void setPixel(QPointF point, quint32 colorRef);
    void scaleExtent(QPointF& extent, qint32 xNum, qint32 xDenom, qint32 yNum, qint32 yDenom);
    QImage dib(Bytes info, Bytes bits);
    QImage packedDib(Bytes dib);

    // EMF records
    std::vector<QPointF> emfPoints(Bytes record, qint64 countAt, qint64 pointsAt, bool small);
    void emfPolyPoly(Bytes record, bool small, bool closed);
    void emfText(Bytes record, bool wide);
    void emfBlt(Bytes record, quint32 type);

    // WMF records
    void wmfText(Bytes params, bool extended);
    void wmfBlt(Bytes params, quint32 function, quint32 sizeWords);

    QPainter& m_painter;
    QRectF m_target;
    bool m_enhanced;
    DcState m_state;
    std::vector<DcState> m_saved;
    std::vector<std::unique_ptr<GdiObject>> m_objects;
    std::size_t m_firstFree = 0;
    QTransform m_deviceToTarget;
    QTransform m_full;
    bool m_dirty = true;
    bool m_valid = true;
    double m_pixelsPerMm = 96.0 / 25.4;
    QPointF m_low, m_high;
    double m_maxPenWidth = 1;
    qint64 m_bitmapPixelsLeft = MetafilePicture::maxDrawnBitmapPixels;
    bool m_inPath = false;
    QPainterPath m_path; // in target coordinates
    bool m_clipApplied = false;
    QRectF m_appliedClip;
    QRegion m_appliedExclusion;
};

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

// ---- EMF records -----------------------------------------------------------------------------

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

// ---- WMF records -----------------------------------------------------------------------------

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

// ---- Walking the records ----------------------------------------------------------------------

// Calls visit(record, type) for each record after the header, at most maxRecords, stopping at the
// end-of-file record. Returns false when a record's size is impossible or runs past the end.
template <class Visit>
bool walkEmf(Bytes file, qint64 first, int& count, Visit&& visit)
{
    qint64 at = first;
    count = 0;
    while (at < file.size() && count < MetafilePicture::maxRecords) {
        const quint32 type = file.u32(at);
        const qint64 size = file.u32(at + 4);
        if (size < 8 || size % 4 != 0 || !file.holds(at, size)) {
            return false;
        }
        ++count;
        if (!visit(file.sub(at, size), type) || type == EmrEof) {
            break;
        }
        at += size;
    }
    return true;
}

template <class Visit>
bool walkWmf(Bytes file, qint64 first, int& count, Visit&& visit)
{
    qint64 at = first;
    count = 0;
    while (at < file.size() && count < MetafilePicture::maxRecords) {
        if (!file.holds(at, 6)) {
            return false;
        }
        const qint64 size = qint64(file.u32(at)) * 2;
        const quint32 function = file.u16(at + 4);
        if (size < 6 || !file.holds(at, size)) {
            return false;
        }
        ++count;
        if (!visit(file.sub(at, size), function) || function == MetaEof) {
            break;
        }
        at += size;
    }
    return true;
}

} // namespace

std::optional<MetafilePicture> MetafilePicture::parse(const QByteArray& bytes)
{
    const Bytes file = bytesOf(bytes);
    MetafilePicture picture;
    if (file.u32(0) == EmrHeader && file.size() >= emfHeaderMinimum && file.u32(40) == emfSignature) {
        const qint64 headerSize = file.u32(4);
        if (headerSize < emfHeaderMinimum || headerSize % 4 != 0 || !file.holds(0, headerSize)) {
            return std::nullopt;
        }
        picture.m_enhanced = true;
        picture.m_firstRecord = headerSize;
        picture.m_objectCount = int(file.u16(56));
        const QRectF bounds(QPointF(file.i32(8), file.i32(12)),
                            QPointF(file.i32(16) + 1.0, file.i32(20) + 1.0));
        const QRectF frame(QPointF(file.i32(24), file.i32(28)), QPointF(file.i32(32), file.i32(36)));
        const double deviceX = file.i32(72), deviceY = file.i32(76);
        const double millimetresX = file.i32(80), millimetresY = file.i32(84);
        if (deviceX > 0 && deviceY > 0 && millimetresX > 0 && millimetresY > 0 && frame.width() > 0 &&
            frame.height() > 0) {
            const double perMmX = deviceX / millimetresX, perMmY = deviceY / millimetresY;
            picture.m_pixelsPerMm = (perMmX + perMmY) / 2;
            picture.m_source = QRectF(QPointF(frame.left() * perMmX / 100, frame.top() * perMmY / 100),
                                      QPointF(frame.right() * perMmX / 100, frame.bottom() * perMmY / 100));
        } else if (bounds.width() > 0 && bounds.height() > 0) {
            picture.m_source = bounds;
        }
        int count = 0;
        if (!walkEmf(file, headerSize, count, [](Bytes, quint32) { return true; })) {
            return std::nullopt;
        }
    } else {
        qint64 header = 0;
        if (file.u32(0) == placeableKey) {
            const double inch = file.u16(14);
            const QRectF box(QPointF(file.i16(6), file.i16(8)), QPointF(file.i16(10), file.i16(12)));
            if (inch == 0 || !file.holds(0, placeableSize + metaHeaderSize)) {
                return std::nullopt;
            }
            picture.m_source = box.normalized();
            picture.m_hasWindow = picture.m_source.width() > 0 && picture.m_source.height() > 0;
            picture.m_size = QSize(int(std::lround(picture.m_source.width() * 96 / inch)),
                                   int(std::lround(picture.m_source.height() * 96 / inch)));
            header = placeableSize;
        }
        const quint32 type = file.u16(header);
        const quint32 headerWords = file.u16(header + 2);
        if (!file.holds(header, metaHeaderSize) || (type != 1 && type != 2) || headerWords != 9) {
            return std::nullopt;
        }
        picture.m_firstRecord = header + metaHeaderSize;
        picture.m_objectCount = int(file.u16(header + 10));
        // A plain file's size is the window its records set first.
        QPointF windowOrg(0, 0);
        std::optional<QPointF> windowExt;
        int count = 0;
        const bool placeable = header != 0;
        if (!walkWmf(file, picture.m_firstRecord, count, [&](Bytes record, quint32 function) {
                if (!placeable && function == MetaSetWindowOrg && !windowExt && record.size() >= 10) {
                    windowOrg = QPointF(record.i16(8), record.i16(6));
                } else if (!placeable && function == MetaSetWindowExt && !windowExt && record.size() >= 10) {
                    windowExt = QPointF(record.i16(8), record.i16(6));
                }
                return true;
            })) {
            return std::nullopt;
        }
        if (windowExt) {
            picture.m_source = QRectF(windowOrg, QSizeF(windowExt->x(), windowExt->y()));
            picture.m_hasWindow = windowExt->x() != 0 && windowExt->y() != 0;
            picture.m_size = QSize(int(std::abs(windowExt->x())), int(std::abs(windowExt->y())));
        }
    }
    if (picture.m_enhanced) {
        const double limit = 1 << 20;
        picture.m_size = QSize(int(std::lround(std::min(picture.m_source.width(), limit))),
                               int(std::lround(std::min(picture.m_source.height(), limit))));
    }
    picture.m_bytes = bytes;
    return picture;
}

void MetafilePicture::draw(QPainter& painter, const QRectF& target) const
{
    if (!target.isValid() || !std::isfinite(target.width()) || !std::isfinite(target.height())) {
        return;
    }
    const Bytes file = bytesOf(m_bytes);
    Player player(painter, target, m_enhanced, m_objectCount);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(target, Qt::IntersectClip);
    int count = 0;
    if (m_enhanced) {
        if (m_source.width() <= 0 || m_source.height() <= 0) {
            painter.restore();
            return;
        }
        player.setDeviceToTarget(m_source, m_pixelsPerMm);
        walkEmf(file, m_firstRecord, count, [&](Bytes record, quint32 type) {
            player.playEmf(record, type);
            return true;
        });
    } else {
        player.setInitialWindow(m_hasWindow ? m_source : QRectF(0, 0, target.width(), target.height()));
        walkWmf(file, m_firstRecord, count, [&](Bytes record, quint32 function) {
            player.playWmf(record, function);
            return true;
        });
    }
    painter.restore();
}

} // namespace quorvane::metafile
