#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QString>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <optional>

// The drawing state a metafile's records change: the logical objects (pens, brushes, fonts), the
// device context with its mapping and clipping, and the limits that keep coordinates drawable.
namespace quorvane::metafile {

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

inline QColor colorOf(quint32 colorRef)
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

// The stock pen or brush an index with stockObjectFlag names, or nothing for another stock object.
std::optional<LogPen> stockPen(quint32 index);
std::optional<LogBrush> stockBrush(quint32 index);

inline double clampCoordinate(double value, double low, double high)
{
    if (!std::isfinite(value)) {
        return value > 0 ? high : low;
    }
    return std::clamp(value, low, high);
}

inline bool isFinite(const QTransform& t)
{
    return std::isfinite(t.m11()) && std::isfinite(t.m12()) && std::isfinite(t.m21()) &&
           std::isfinite(t.m22()) && std::isfinite(t.dx()) && std::isfinite(t.dy());
}

} // namespace quorvane::metafile
