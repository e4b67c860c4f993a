#include "ui/logdata/log_table_model.h"

#include "ui/components/palette.h"

#include <QColor>
#include <QFont>

namespace quomble {

namespace {

}  // namespace

LogTableModel::LogTableModel(const LogModel& model, LogTable table, QObject* parent)
    : QAbstractTableModel(parent), model_(model), order_(table)
{
}

const std::vector<int>& LogTableModel::columnWidths(LogTable table)
{
    static const std::vector<int> boots = {42, 110, 110, 80, 80};
    static const std::vector<int> days = {42, 82, 66, 54, 54, 60};
    return table == LogTable::Boots ? boots : days;
}

int LogTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : order_.rowCount();
}

int LogTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : quomble::columnCount(order_.table());
}

QVariant LogTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column();
    const bool boots = order_.table() == LogTable::Boots;
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(order_.cell(model_, index.row() + 1, column));
    case Qt::ForegroundRole:
        if (boots) {
            if (column == 1 || column == 3)
                return palette::Green;
            if (column == 2 || column == 4)
                return palette::Red;
        } else {
            if (column == 3)
                return palette::Green;
            if (column == 4)
                return palette::Red;
            if (column == 5)
                return palette::Navy;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (!boots && column == 1 ? Qt::AlignLeft : Qt::AlignRight));
    default:
        return {};
    }
}

QVariant LogTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(order_.header(section));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignCenter);
    case Qt::FontRole: {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    default:
        return {};
    }
}

void LogTableModel::fill()
{
    beginResetModel();
    order_.fill(model_);
    endResetModel();
}

void LogTableModel::rowsReordered()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

}  // namespace quomble
