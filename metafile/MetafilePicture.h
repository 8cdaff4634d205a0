#pragma once

#include <QByteArray>
#include <QRectF>
#include <QSize>
#include <optional>

class QPainter;

namespace quorvane::metafile {

// A Windows metafile, enhanced (EMF) or old-style (WMF, with or without the placeable header),
// checked once when parsed and played into a painter on every draw. Only the common drawing
// records are played; every other record is skipped. Every count, size and coordinate in the file
// is treated as hostile: records are checked against the bytes that remain, tables and stacks
// have fixed caps, and coordinates are clamped before the painter sees them.
class MetafilePicture
{
public:
    // The most records one picture plays; a file with more is drawn up to this many.
    static constexpr int maxRecords = 1'000'000;
    // The largest bitmap one record may decode, and all bitmaps of one draw together, in pixels.
    static constexpr qint64 maxBitmapPixels = qint64{1} << 26;
    static constexpr qint64 maxDrawnBitmapPixels = qint64{1} << 27;
    // The deepest SaveDC nesting kept; deeper saves are ignored.
    static constexpr int maxSavedStates = 1024;
    // The most object handles a picture may use, whatever its header asks for.
    static constexpr int maxObjects = 65535;

    // The picture in bytes, or nothing when they are not a metafile this reader understands: a bad
    // header, a record whose size runs past the end, an absurd count.
    static std::optional<MetafilePicture> parse(const QByteArray& bytes);

    // The picture's size in pixels: an EMF's frame at its reference device's resolution (or its
    // bounds when the frame is unusable), a placeable WMF's bounding box at 96 pixels per inch, a
    // plain WMF's window extent (0 by 0 when its records set none).
    QSize size() const { return m_size; }

    bool isEnhanced() const { return m_enhanced; }

    // Plays the records into target, the picture scaled to fill it. Drawing is clipped to target.
    void draw(QPainter& painter, const QRectF& target) const;

private:
    MetafilePicture() = default;

    QByteArray m_bytes;
    bool m_enhanced = false;
    QSize m_size{0, 0};
    // Where the first record after the header starts.
    qsizetype m_firstRecord = 0;
    // The area that target shows: for an EMF the frame in reference-device pixels, for a WMF the
    // initial window (placeable bounding box, or the window its records set first).
    QRectF m_source;
    bool m_hasWindow = false;
    int m_objectCount = 0;
    double m_pixelsPerMm = 96.0 / 25.4;
};

} // namespace quorvane::metafile
