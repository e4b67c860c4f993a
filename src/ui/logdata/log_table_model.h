#pragma once

#include "core/model.h"
#include "core/tables.h"

#include <QAbstractTableModel>

namespace quomble {

// One table of the log data window over the core's row order: one small record per row,
// the cell texts made only when a cell is drawn, so a million boots stay light. The texts
// are those of the last fill (the running boot as it was then), so a refresh while the
// window is open changes no row.
class LogTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    LogTableModel(const LogModel& model, LogTable table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Rebuilds the rows in log order with fresh marks and the present values (every showing
    // of the window).
    void fill();
    TableOrder& order() { return order_; }
    const TableOrder& order() const { return order_; }
    // The rows were reordered (or a mark changed) behind the model's back.
    void rowsReordered();
    // The rows were sorted by `column` in that direction: reordered, and what the header
    // tells a screen reader.
    void sortedBy(int column, bool ascending);

private:
    const LogModel& model_;
    TableOrder order_;
    // The column the rows are in order of, and its direction: a fill lists them by number.
    int sortedColumn_ = 0;
    bool sortedAscending_ = true;
};

}  // namespace quomble
