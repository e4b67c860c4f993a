#pragma once

#include <QColor>

class QLabel;
class QPalette;

// The colours of the windows' texts, cells and series, by the names the windows use for them.
//
// A text keeps its colour on a light background. On a dark one (a dark desktop scheme) it is
// drawn in a light shade of the same colour instead, so that it reads at least 4.5:1 against
// what is behind it: textOn gives that shade for the background the text is drawn on, and
// the widgets ask it whenever they draw or their palette changes.
namespace quomble::palette {

inline const QColor Black(0x00, 0x00, 0x00);
inline const QColor Navy(0x00, 0x00, 0x80);
inline const QColor Green(0x00, 0x80, 0x00);
inline const QColor Maroon(0x80, 0x00, 0x00);
inline const QColor Red(0xFF, 0x00, 0x00);
inline const QColor Lime(0x00, 0xFF, 0x00);
inline const QColor Blue(0x00, 0x00, 0xFF);
inline const QColor CrashTrend(0xFF, 0x00, 0x80);

// The least contrast of a text against its background on a dark scheme (WCAG AA).
inline constexpr double kLeastTextContrast = 4.5;

// The contrast of two colours, 1 to 21 (WCAG 2: relative luminances, +0.05 each).
double contrast(const QColor& a, const QColor& b);
// A background is dark when white text reads better on it than black text.
bool isDark(const QColor& background);
// The colour a text of `colour` is drawn in on `background`: the colour itself on a light
// background; on a dark one its light shade (navy a light blue, green a light green, maroon a
// salmon, red a light red, black a light grey), lighter still where it would not reach
// kLeastTextContrast.
QColor textOn(const QColor& colour, const QColor& background);

// The legend's background: the button face of a light scheme. The charts keep their white
// ground and series colours on every scheme, so on a dark one their legend keeps the light
// button face too.
QColor chartLegendColor(const QPalette& palette);

// Draws `label`'s text in `colour` (textOn over the label's background), now and after every
// change of its palette.
void setTextColour(QLabel* label, const QColor& colour);

}  // namespace quomble::palette
