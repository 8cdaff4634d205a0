#include "MetafilePicture.h"

#include "Player.h"
#include "RecordReader.h"

#include <QPainter>
#include <cmath>

namespace quorvane::metafile {

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
