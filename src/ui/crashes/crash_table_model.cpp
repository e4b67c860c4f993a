#include "crash_table_model.h"

#include <algorithm>

namespace quomble {

CrashTableModel::CrashTableModel(std::vector<std::string> header, QObject* parent)
    : QAbstractTableModel(parent), header_(std::move(header))
{
}

void CrashTableModel::setRows(std::vector<Row> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int CrashTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CrashTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(header_.size());
}

QVariant CrashTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() ||
        (role != Qt::DisplayRole && role != Qt::ToolTipRole && role != Qt::AccessibleTextRole))
        return {};
    const auto& cells = rows_[static_cast<std::size_t>(index.row())].cells;
    const auto column = static_cast<std::size_t>(index.column());
    const QString text = column < cells.size() ? QString::fromStdString(cells[column]) : QString();
    // A screen reader says in words what the "-" of a value not known shows.
    if (role == Qt::AccessibleTextRole && text == QLatin1String("-"))
        return QStringLiteral("not known");
    return text;
}

QVariant CrashTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section < static_cast<int>(header_.size())
               ? QString::fromStdString(header_[static_cast<std::size_t>(section)])
               : QVariant();
}

void CrashTableModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    const auto c = static_cast<std::size_t>(column);
    beginResetModel();
    std::stable_sort(rows_.begin(), rows_.end(), [c, order](const Row& a, const Row& b) {
        const auto key = [c](const Row& r) { return c < r.keys.size() ? r.keys[c] : 0; };
        const auto& ta = c < a.cells.size() ? a.cells[c] : std::string();
        const auto& tb = c < b.cells.size() ? b.cells[c] : std::string();
        const bool less = key(a) != key(b) ? key(a) < key(b) : ta < tb;
        const bool greater = key(a) != key(b) ? key(a) > key(b) : ta > tb;
        return order == Qt::AscendingOrder ? less : greater;
    });
    endResetModel();
}

}  // namespace quomble
