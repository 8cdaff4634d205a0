#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane::ui {

// What the preview pane does with a file, decided by its extension alone.
enum class PreviewKind
{
    None,
    Jpeg,
    Bitmap,
    Icon,
    EnhancedMetafile,
    WindowsMetafile,
    Media,
};

// The kind of a file name: its extension (from the last "." on, when no "/" follows it) with the
// ASCII letters folded to lower case, looked up in the preview's table; the first entry that
// matches decides. "song.mid" has no kind, "song.midi" is media.
PreviewKind previewKind(std::string_view name);

// The largest picture the preview decodes, in pixels: a larger one, or a header claiming one, is an
// invalid image, so that a small hostile file cannot take the window's memory.
inline constexpr std::uint64_t previewPixelLimit = std::uint64_t{1} << 26;

// Where a picture of this size is drawn in an area of this size: stretched to touch the area on two
// sides keeping its aspect ratio (truncating), centred; the whole area when a side is 0.
QRect drawnRect(QSize picture, QSize area);

// A decoded picture, ready to be drawn into an area.
struct PreviewPicture
{
    QSize size;           // the picture's own width and height in pixels
    QImage image;         // what is drawn: already at the drawn size, or an icon at its own size
    bool ownSize = false; // an icon: drawn unscaled at the drawn rectangle's top-left corner
};

// Decodes the bytes of an image file of the given kind for an area of the given size. Nothing when
// the bytes are not a valid image of that kind or the picture is over the pixel limit.
std::optional<PreviewPicture> decodePreviewPicture(std::string_view bytes, PreviewKind kind, QSize area);

} // namespace quorvane::ui
