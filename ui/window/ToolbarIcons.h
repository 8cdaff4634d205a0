#pragma once

#include <QIcon>

namespace quorvane::ui {

enum class ToolbarIcon
{
    Quit,
    Undo,
    History,
    MoveUp,
    MoveDown,
    SideBySide,
    Stacked,
    Preview,
    Program,
    SortByDateTaken,
};

// The icon of the desktop's freedesktop theme for a toolbar button, or a small picture of our own
// where the theme has none, so that no button is ever empty.
QIcon toolbarIcon(ToolbarIcon which);

// The picture of our own, drawn at the given size.
QPixmap drawnIcon(ToolbarIcon which, int size);

} // namespace quorvane::ui
