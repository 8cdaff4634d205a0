// Feeds arbitrary bytes to the metafile reader and plays whatever parses into a small image; the
// sanitizers report any read outside the input, and libFuzzer any input that hangs.
#include "metafile/MetafilePicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text needs the font database, which needs an application object for the whole run.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

namespace {

quint32 get(const QByteArray& bytes, qsizetype at, int width)
{
    quint32 value = 0;
    for (int i = 0; i < width; ++i) {
        value |= quint32(quint8(bytes[at + i])) << (8 * i);
    }
    return value;
}

void put(QByteArray& bytes, qsizetype at, quint32 value, int width)
{
    for (int i = 0; i < width; ++i) {
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
    }
}

// Most mutations break some record's size, which the reader rightly rejects. A copy whose record
// sizes are mended to fit the bytes lets the same mutations reach the record handlers as well.
QByteArray mended(QByteArray bytes)
{
    const qsizetype size = bytes.size();
    if (size >= 88 && get(bytes, 0, 4) == 1 && get(bytes, 40, 4) == 0x464D4520) {
        qsizetype at = std::clamp<qsizetype>(get(bytes, 4, 4) & ~3u, 88, size & ~qsizetype{3});
        put(bytes, 4, quint32(at), 4);
        while (at + 8 <= size) {
            qsizetype length = get(bytes, at + 4, 4);
            if (length < 8 || length % 4 != 0 || length > size - at) {
                length = std::max<qsizetype>(8, (size - at) & ~qsizetype{3});
                put(bytes, at + 4, quint32(length), 4);
            }
            at += length;
        }
        bytes.truncate(at);
        return bytes;
    }
    qsizetype at = size >= 22 && get(bytes, 0, 4) == 0x9AC6CDD7 ? 22 : 0;
    if (size < at + 18) {
        return bytes;
    }
    if (at == 22 && get(bytes, 14, 2) == 0) {
        put(bytes, 14, 1440, 2);
    }
    put(bytes, at, 1, 2);
    put(bytes, at + 2, 9, 2);
    for (at += 18; at + 6 <= size;) {
        qsizetype length = qsizetype(get(bytes, at, 4)) * 2;
        if (length < 6 || length > size - at) {
            length = std::max<qsizetype>(6, (size - at) & ~qsizetype{1});
            put(bytes, at, quint32(length / 2), 4);
        }
        at += length;
    }
    bytes.truncate(at);
    return bytes;
}

void play(const QByteArray& bytes)
{
    const auto picture = quorvane::metafile::MetafilePicture::parse(bytes);
    if (!picture) {
        return;
    }
    if (picture->size().width() < 0 || picture->size().height() < 0) {
        __builtin_trap();
    }
    QImage image(48, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture->draw(painter, QRectF(4, 2, 40, 36));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    play(bytes);
    const QByteArray mendedBytes = mended(bytes);
    if (mendedBytes != bytes) {
        play(mendedBytes);
    }
    return 0;
}
