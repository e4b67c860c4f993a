#include "ui/components/palette.h"

#include <QEvent>
#include <QLabel>
#include <QPalette>

#include <cmath>

namespace quomble::palette {

namespace {

double channel(int value)
{
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

// The light shades of the text colours, for a dark background. They keep their hue; maroon
// turns towards salmon so that it stays apart from red, which the crash-free row turns to
// as a warning.
struct DarkShade {
    QRgb colour;
    QRgb shade;
};
constexpr DarkShade kDarkShades[] = {
    {0x000000, 0xe6e6e6},  // black
    {0x000080, 0x8fb8ff},  // navy
    {0x008000, 0x6ed46e},  // green
    {0x800000, 0xe0967a},  // maroon
    {0xff0000, 0xff6e6e},  // red
};

// The contrast a light shade is given: the anti-aliased strokes of a small text come out
// between its colour and the background, and their strongest pixels are to reach
// kLeastTextContrast still.
constexpr double kShadeContrast = 5.5;

// The light button face of the charts, whatever the desktop's scheme.
const QColor kChartButtonFace(0xef, 0xef, 0xef);

const char* const kTextColourProperty = "quombleTextColour";

// Re-applies a label's text colour when its palette changes (a new desktop scheme).
class TextColourKeeper : public QObject {
public:
    static TextColourKeeper& instance()
    {
        static TextColourKeeper keeper;
        return keeper;
    }
    static void apply(QLabel* label)
    {
        const QColor colour = label->property(kTextColourProperty).value<QColor>();
        const QColor shown = textOn(colour, label->palette().color(label->backgroundRole()));
        if (label->palette().color(QPalette::WindowText) == shown)
            return;  // also ends the palette change that setting it sends
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, shown);
        label->setPalette(pal);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::PaletteChange)
            if (auto* label = qobject_cast<QLabel*>(watched))
                apply(label);
        return false;
    }
};

}  // namespace

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool isDark(const QColor& background)
{
    return contrast(Qt::white, background) > contrast(Qt::black, background);
}

QColor textOn(const QColor& colour, const QColor& background)
{
    if (!colour.isValid() || !isDark(background))
        return colour;
    QColor base = colour;
    for (const DarkShade& s : kDarkShades)
        if ((colour.rgb() & 0xffffff) == s.colour)
            base = QColor(s.shade);
    // Towards white until it reads; white itself reads on every dark background.
    const auto towardsWhite = [](int c, int step) { return c + (255 - c) * step / 20; };
    QColor shade = base;
    for (int step = 1; step <= 20 && contrast(shade, background) < kShadeContrast; ++step)
        shade = QColor(towardsWhite(base.red(), step), towardsWhite(base.green(), step),
                       towardsWhite(base.blue(), step));
    return shade;
}

QColor chartLegendColor(const QPalette& palette)
{
    return isDark(palette.color(QPalette::Window)) ? kChartButtonFace : palette.color(QPalette::Button);
}

void setTextColour(QLabel* label, const QColor& colour)
{
    label->setProperty(kTextColourProperty, colour);
    label->removeEventFilter(&TextColourKeeper::instance());
    label->installEventFilter(&TextColourKeeper::instance());
    TextColourKeeper::apply(label);
}

}  // namespace quomble::palette
