#include "PreviewPicture.h"

#include "imaging/Bmp.h"
#include "imaging/Jpeg.h"
#include "metafile/MetafilePicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <array>

namespace quorvane::ui {

namespace {

struct KindEntry
{
    std::string_view extension;
    PreviewKind kind;
};

constexpr std::array<KindEntry, 13> kindTable{{
    {".jpeg", PreviewKind::Jpeg},
    {".jpg", PreviewKind::Jpeg},
    {".bmp", PreviewKind::Bitmap},
    {".ico", PreviewKind::Icon},
    {".emf", PreviewKind::EnhancedMetafile},
    {".wmf", PreviewKind::WindowsMetafile},
    {".mpg", PreviewKind::Media},
    {".mpeg", PreviewKind::Media},
    {".avi", PreviewKind::Media},
    {".mov", PreviewKind::Media},
    {".mp3", PreviewKind::Media},
    {".midi", PreviewKind::Media},
    {".wav", PreviewKind::Media},
}};

bool equalFolded(std::string_view text, std::string_view lower)
{
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != lower[i]) {
            return false;
        }
    }
    return true;
}

QByteArray viewOf(std::string_view bytes)
{
    return QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A picture drawn stretched: kept at the size it is drawn, since the area never changes.
PreviewPicture scaledPicture(const QImage& full, QSize area)
{
    PreviewPicture picture;
    picture.size = full.size();
    const QSize drawn = drawnRect(full.size(), area).size();
    if (!drawn.isEmpty()) {
        picture.image = full.scaled(drawn, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return picture;
}

std::optional<PreviewPicture> rasterPicture(const imaging::Bitmap& bitmap, QSize area)
{
    const QImage view(bitmap.pixels.data(), bitmap.width, bitmap.height,
                      static_cast<qsizetype>(bitmap.rowBytes()),
                      bitmap.bitsPerPixel == 8 ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (view.isNull()) {
        return std::nullopt;
    }
    return scaledPicture(view, area);
}

std::optional<PreviewPicture> iconPicture(std::string_view bytes)
{
    QByteArray data = viewOf(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    reader.setDecideFormatFromContent(false);
    const QSize claimed = reader.size();
    if (claimed.isValid() &&
        static_cast<std::uint64_t>(claimed.width()) * static_cast<std::uint64_t>(claimed.height()) >
            previewPixelLimit) {
        return std::nullopt;
    }
    QImage image;
    if (!reader.read(&image) || image.isNull()) {
        return std::nullopt;
    }
    PreviewPicture picture;
    picture.size = image.size();
    picture.image = std::move(image);
    picture.ownSize = true;
    return picture;
}

// A metafile is played once into an image of the size it is drawn; an enhanced metafile named as
// a Windows one, or the other way round, is no valid image of its kind.
std::optional<PreviewPicture> metafilePicture(std::string_view bytes, bool enhanced, QSize area)
{
    const std::optional<metafile::MetafilePicture> metafile = metafile::MetafilePicture::parse(viewOf(bytes));
    if (!metafile || metafile->isEnhanced() != enhanced) {
        return std::nullopt;
    }
    PreviewPicture picture;
    picture.size = metafile->size();
    const QSize drawn = drawnRect(picture.size, area).size();
    if (!drawn.isEmpty()) {
        picture.image = QImage(drawn, QImage::Format_ARGB32_Premultiplied);
        picture.image.fill(Qt::transparent);
        QPainter painter(&picture.image);
        metafile->draw(painter, QRectF(QPointF(0, 0), QSizeF(drawn)));
    }
    return picture;
}

} // namespace

PreviewKind previewKind(std::string_view name)
{
    const std::size_t period = name.rfind('.');
    if (period == std::string_view::npos || name.find('/', period) != std::string_view::npos) {
        return PreviewKind::None;
    }
    const std::string_view extension = name.substr(period);
    for (const KindEntry& entry : kindTable) {
        if (equalFolded(extension, entry.extension)) {
            return entry.kind;
        }
    }
    return PreviewKind::None;
}

QRect drawnRect(QSize picture, QSize area)
{
    const int cw = area.width();
    const int ch = area.height();
    const int w = picture.width();
    const int h = picture.height();
    int width = cw;
    int height = ch;
    if (w > 0 && h > 0) {
        const double aspect = static_cast<double>(w) / static_cast<double>(h);
        if (w > h) {
            width = cw;
            height = static_cast<int>(cw / aspect);
            if (height > ch) {
                height = ch;
                width = static_cast<int>(ch * aspect);
            }
        } else {
            height = ch;
            width = static_cast<int>(ch * aspect);
            if (width > cw) {
                width = cw;
                height = static_cast<int>(cw / aspect);
            }
        }
    }
    return {(cw - width) / 2, (ch - height) / 2, width, height};
}

std::optional<PreviewPicture> decodePreviewPicture(std::string_view bytes, PreviewKind kind, QSize area)
{
    switch (kind) {
    case PreviewKind::Jpeg:
        if (const auto bitmap = imaging::decodeJpeg(bytes, previewPixelLimit)) {
            return rasterPicture(*bitmap, area);
        }
        return std::nullopt;
    case PreviewKind::Bitmap:
        if (const auto bitmap = imaging::readBmp(bytes, previewPixelLimit)) {
            return rasterPicture(*bitmap, area);
        }
        return std::nullopt;
    case PreviewKind::Icon:
        return iconPicture(bytes);
    case PreviewKind::EnhancedMetafile:
        return metafilePicture(bytes, true, area);
    case PreviewKind::WindowsMetafile:
        return metafilePicture(bytes, false, area);
    case PreviewKind::None:
    case PreviewKind::Media:
        break;
    }
    return std::nullopt;
}

} // namespace quorvane::ui
