// Feeds arbitrary bytes to the metafile reader and plays whatever parses into a small image; the
// sanitizers report any read outside the input, and libFuzzer any input that hangs.
#include "ui/MetafilePicture.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text needs the font database, which needs an application object for the whole run.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto picture = quorvane::ui::MetafilePicture::parse(bytes);
    if (!picture) {
        return 0;
    }
    if (picture->size().width() < 0 || picture->size().height() < 0) {
        __builtin_trap();
    }
    QImage image(48, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    picture->draw(painter, QRectF(4, 2, 40, 36));
    return 0;
}
