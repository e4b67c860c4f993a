#pragma once

#include <QColor>
#include <QLabel>

namespace quomble {

// Labels that size themselves to their text, as the windows lay them out.
struct LabelStyle {
    QColor color;  // invalid: the window's text colour
    bool bold = false;
    int pixelHeight = 0;  // 0: the window's font
    bool underline = false;
};

QLabel* makeLabel(QWidget* parent, const QString& name, int x, int y, const QString& text,
                  const LabelStyle& style = {});
// Sets the text and fits the label's size to it.
void setLabelText(QLabel* label, const QString& text);
// The desktop's sans-serif font at a pixel height.
QFont sansFont(int pixelHeight, bool bold = false);
// A hint shown on hover, held for a minute.
void setHint(QWidget* widget, const QString& hint);

}  // namespace quomble
