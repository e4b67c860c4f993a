#pragma once

#include <QStyledItemDelegate>

namespace quomble {

// Draws every cell's text whole and clear of the grid lines. The column widths were made for
// a narrow font at one pixel per point; where a cell's text with a small margin is wider
// than its place (a wider desktop font, a fractional scale factor that rounds the glyphs
// up), its font is narrowed just enough, so no digit is cut off and no text touches a line.
// A text colour of the model is drawn so that it reads on the view's background
// (makeCellColourReadable).
class WholeTextDelegate : public QStyledItemDelegate {
public:
    // Free logical pixels on each side of the text within the style's text area.
    static constexpr int kMargin = 2;

    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace quomble
