#include "ui/components/durationgrid.h"

#include "ui/components/keyboard.h"
#include "ui/components/palette.h"

#include <QMouseEvent>
#include <QPainter>

#include <stdexcept>

namespace quomble {

namespace {
constexpr int kDefaultColumnWidth = 64;
constexpr int kDefaultRowHeight = 16;
constexpr int kTextMargin = 2;  // text inset from the cell's top and right edge
}  // namespace

DurationGrid::DurationGrid(int columns, int rows, QWidget* parent)
    : QWidget(parent), widths_(static_cast<std::size_t>(columns), kDefaultColumnWidth),
      heights_(static_cast<std::size_t>(rows), kDefaultRowHeight),
      cells_(static_cast<std::size_t>(columns * rows))
{
    setFocusPolicy(Qt::StrongFocus);  // a screen reader's user reaches it with Tab
}

DurationGrid::Cell& DurationGrid::at(int column, int row)
{
    if (column < 0 || row < 0 || column >= columnCount() || row >= rowCount())
        throw std::out_of_range("DurationGrid cell");
    return cells_[static_cast<std::size_t>(row * columnCount() + column)];
}

const DurationGrid::Cell& DurationGrid::at(int column, int row) const
{
    return const_cast<DurationGrid*>(this)->at(column, row);
}

void DurationGrid::setColumnWidth(int column, int width)
{
    widths_.at(static_cast<std::size_t>(column)) = width;
    update();
}

int DurationGrid::columnWidth(int column) const { return widths_.at(static_cast<std::size_t>(column)); }

void DurationGrid::setRowHeight(int row, int height)
{
    heights_.at(static_cast<std::size_t>(row)) = height;
    update();
}

int DurationGrid::rowHeight(int row) const { return heights_.at(static_cast<std::size_t>(row)); }

QRect DurationGrid::cellRect(int column, int row) const
{
    int x = 0;
    for (int c = 0; c < column; ++c)
        x += columnWidth(c);
    int y = 0;
    for (int r = 0; r < row; ++r)
        y += rowHeight(r);
    return QRect(x, y, columnWidth(column), rowHeight(row));
}

void DurationGrid::setCell(int column, int row, const QString& text)
{
    Cell& c = at(column, row);
    if (c.text == text)
        return;
    c.text = text;
    update(cellRect(column, row));
}

QString DurationGrid::cell(int column, int row) const { return at(column, row).text; }

void DurationGrid::setCellColor(int column, int row, const QColor& color)
{
    Cell& c = at(column, row);
    if (c.color == color)
        return;
    c.color = color;
    update(cellRect(column, row));
}

QColor DurationGrid::cellColor(int column, int row) const { return at(column, row).color; }

void DurationGrid::setCellBold(int column, int row, bool bold)
{
    at(column, row).bold = bold;
    update(cellRect(column, row));
}

bool DurationGrid::cellBold(int column, int row) const { return at(column, row).bold; }

void DurationGrid::clearSelection()
{
    selectedColumn_ = -1;
    selectedRow_ = -1;
}

void DurationGrid::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    QFont normal = font();
    normal.setBold(false);
    QFont bold = normal;
    bold.setBold(true);
    int y = 0;
    for (int r = 0; r < rowCount(); ++r) {
        int x = 0;
        for (int c = 0; c < columnCount(); ++c) {
            const Cell& cell = at(c, r);
            const QRect box(x, y, columnWidth(c), rowHeight(r));
            if (!cell.text.isEmpty()) {
                p.setFont(cell.bold ? bold : normal);
                p.setPen(cell.color.isValid() ? palette::textOn(cell.color, palette().color(QPalette::Button))
                                              : palette().color(QPalette::WindowText));
                p.save();
                p.setClipRect(box);
                p.drawText(box.adjusted(0, kTextMargin, -kTextMargin, 0), Qt::AlignRight | Qt::AlignTop,
                           cell.text);
                p.restore();
            }
            x += columnWidth(c);
        }
        y += rowHeight(r);
    }
    p.end();
    drawFocusFrame(this);
}

void DurationGrid::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    int x = 0;
    int column = -1;
    for (int c = 0; c < columnCount(); ++c) {
        if (pos.x() >= x && pos.x() < x + columnWidth(c))
            column = c;
        x += columnWidth(c);
    }
    int y = 0;
    int row = -1;
    for (int r = 0; r < rowCount(); ++r) {
        if (pos.y() >= y && pos.y() < y + rowHeight(r))
            row = r;
        y += rowHeight(r);
    }
    if (event->button() == Qt::LeftButton && column >= 0 && row >= 0) {
        selectedColumn_ = column;
        selectedRow_ = row;
        emit clicked();
    }
    QWidget::mousePressEvent(event);
}

}  // namespace quomble
