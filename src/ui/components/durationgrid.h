#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <vector>

namespace quomble {

// A borderless table of right-aligned texts without grid lines or scroll bars, on the
// button face colour: per-cell font colour and bold, per-column widths and per-row
// heights. A click selects a cell, but a selection is never drawn; clearSelection
// removes it. Cells are addressed (column, row).
class DurationGrid : public QWidget {
    Q_OBJECT
public:
    DurationGrid(int columns, int rows, QWidget* parent = nullptr);

    int columnCount() const { return static_cast<int>(widths_.size()); }
    int rowCount() const { return static_cast<int>(heights_.size()); }
    void setColumnWidth(int column, int width);
    int columnWidth(int column) const;
    void setRowHeight(int row, int height);
    int rowHeight(int row) const;
    // Top-left of a cell in the grid's coordinates.
    QRect cellRect(int column, int row) const;

    void setCell(int column, int row, const QString& text);
    QString cell(int column, int row) const;
    // An invalid colour means the window's text colour.
    void setCellColor(int column, int row, const QColor& color);
    QColor cellColor(int column, int row) const;
    void setCellBold(int column, int row, bool bold);
    bool cellBold(int column, int row) const;

    void clearSelection();
    bool hasSelection() const { return selectedColumn_ >= 0; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Cell {
        QString text;
        QColor color;
        bool bold = false;
    };
    Cell& at(int column, int row);
    const Cell& at(int column, int row) const;

    std::vector<int> widths_;
    std::vector<int> heights_;
    std::vector<Cell> cells_;
    int selectedColumn_ = -1;
    int selectedRow_ = -1;
};

}  // namespace quomble
