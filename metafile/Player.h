#pragma once

#include "DrawingState.h"
#include "RecordReader.h"

#include <QPainter>
#include <QPainterPath>
#include <memory>
#include <vector>

namespace quorvane::metafile {

// Plays records into a painter: the mapping from logical units to the target, the object table,
// the saved states and clipping (DrawingState.cpp), the drawing primitives (Player.cpp), and one
// handler per record table (EmfRecords.cpp, WmfRecords.cpp).
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

// Text in an ANSI code page: Shift-JIS for charset 128 when it decodes, else Latin-1.
QString decodeAnsi(const char* data, qsizetype size, quint32 charset);

} // namespace quorvane::metafile
