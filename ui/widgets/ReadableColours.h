#pragma once

#include <QColor>
#include <QPalette>
#include <vector>

class QWidget;

namespace quorvane::ui {

// Text whose contrast with its background reaches this ratio reads for most users (WCAG 2, AA).
inline constexpr double readableContrast = 4.5;

// The WCAG 2 contrast ratio of two colours: 1 for equal colours, 21 for black on white.
double contrastRatio(const QColor& first, const QColor& second);

// preferred where it reaches readableContrast on background, else black or white, whichever
// contrasts more; one of the two always reaches it.
QColor readableOn(const QColor& background, const QColor& preferred);

// Whether the palette is a dark theme's: its window colour darker than its window text.
bool isDarkPalette(const QPalette& palette);

// One of the window's fixed colours as the theme of palette shows it: as designed in a light
// theme; in a dark one a quarter of it over the palette's base colour, so the area keeps its hue
// without glaring.
QColor themedColour(const QColor& designed, const QPalette& palette);

// A background role of a widget's palette and the role of the text drawn on it.
struct ColourPair
{
    QPalette::ColorRole background;
    QPalette::ColorRole text;
    QColor designed; // the fixed background; invalid to keep the theme's and only mend the text
};

// Gives widget, for every pair, the designed background (themed) and a text colour that reads on
// it, now and again whenever the theme's palette changes.
void keepReadable(QWidget& widget, std::vector<ColourPair> pairs);

} // namespace quorvane::ui
