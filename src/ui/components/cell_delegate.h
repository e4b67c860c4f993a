#pragma once

#include <QStyledItemDelegate>

namespace quomble {

// Draws the cells of our tables.
// - Whole text: the column widths were made for a narrow font at one pixel per point; where
//   a cell's text with a small margin is wider than its place (a wider desktop font, a
//   fractional scale factor that rounds the glyphs up), its font is narrowed just enough, so
//   no digit is cut off and no text touches a line.
// - A text colour of the model is drawn so that it reads on the view's background
//   (makeCellColourReadable).
// - A table that selects whole rows still has a current cell, whose column a key sorts by:
//   while the table has the focus, that cell has a dotted frame.
class CellDelegate : public QStyledItemDelegate {
public:
    // Free logical pixels on each side of the text within the style's text area.
    static constexpr int kMargin = 2;

    // narrowToFit false: a text too wide for its cell is elided as usual (free texts such as
    // a cause, where a narrowed font would not help).
    explicit CellDelegate(QObject* parent, bool narrowToFit = true)
        : QStyledItemDelegate(parent), narrowToFit_(narrowToFit)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    bool narrowToFit_;
};

}  // namespace quomble
