#include "ReadableColours.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <utility>

namespace quorvane::ui {

namespace {

double linearChannel(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double relativeLuminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linearChannel(rgb.redF()) + 0.7152 * linearChannel(rgb.greenF()) +
           0.0722 * linearChannel(rgb.blueF());
}

// Keeps a widget's fixed colours readable: applies them at once and again whenever the theme's
// palette changes. The theme is the application's palette, which is current when the change
// reaches a widget, whereas the palettes of its parents may not have followed yet.
class FixedColours : public QObject
{
public:
    FixedColours(QWidget& widget, std::vector<ColourPair> pairs)
        : QObject(&widget), widget_(widget), pairs_(std::move(pairs))
    {
        apply();
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool themeChanged =
            event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange;
        if (watched == &widget_ && themeChanged && !applying_) {
            apply();
        }
        return false;
    }

private:
    void apply()
    {
        applying_ = true;
        const QPalette theme = QApplication::palette(&widget_);
        QPalette colours = widget_.palette();
        for (const ColourPair& pair : pairs_) {
            const QColor background = pair.designed.isValid()
                                          ? themedColour(pair.designed, theme)
                                          : theme.color(QPalette::Active, pair.background);
            colours.setColor(pair.background, background);
            colours.setColor(pair.text, readableOn(background, theme.color(QPalette::Active, pair.text)));
        }
        widget_.setPalette(colours);
        applying_ = false;
    }

    QWidget& widget_;
    std::vector<ColourPair> pairs_;
    bool applying_ = false;
};

} // namespace

double contrastRatio(const QColor& first, const QColor& second)
{
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor readableOn(const QColor& background, const QColor& preferred)
{
    if (contrastRatio(background, preferred) >= readableContrast) {
        return preferred;
    }
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(background, black) >= contrastRatio(background, white) ? black : white;
}

bool isDarkPalette(const QPalette& palette)
{
    return relativeLuminance(palette.color(QPalette::Active, QPalette::Window)) <
           relativeLuminance(palette.color(QPalette::Active, QPalette::WindowText));
}

QColor themedColour(const QColor& designed, const QPalette& palette)
{
    if (!isDarkPalette(palette)) {
        return designed;
    }
    const QColor base = palette.color(QPalette::Active, QPalette::Base).toRgb();
    const QColor own = designed.toRgb();
    const auto mix = [](int ownChannel, int baseChannel) {
        return (ownChannel + 3 * baseChannel + 2) / 4;
    };
    return QColor(mix(own.red(), base.red()), mix(own.green(), base.green()), mix(own.blue(), base.blue()));
}

void keepReadable(QWidget& widget, std::vector<ColourPair> pairs)
{
    new FixedColours(widget, std::move(pairs));
}

} // namespace quorvane::ui
