#pragma once

#include <QAbstractTableModel>

#include <cstdint>
#include <string>
#include <vector>

namespace quomble {

// A table of texts with a sort key per cell (a time or a duration sorts by its value, a
// text by itself). A press on a header sorts by that column, the next press the other way.
class CrashTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        std::vector<std::string> cells;
        std::vector<std::int64_t> keys;  // per cell; equal keys fall back to the text
        std::string detail;              // shown below the table for the current row
    };

    CrashTableModel(std::vector<std::string> header, QObject* parent = nullptr);
    void setRows(std::vector<Row> rows);
    const Row& row(int index) const { return rows_[static_cast<std::size_t>(index)]; }
    const std::vector<std::string>& header() const { return header_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

private:
    std::vector<std::string> header_;
    std::vector<Row> rows_;
};

}  // namespace quomble
