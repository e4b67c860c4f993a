#include "ui/logdata/log_table_model.h"

#include "ui/components/palette.h"

#include <QColor>

namespace quomble {

LogTableModel::LogTableModel(const LogModel& model, LogTable table, QObject* parent)
    : QAbstractTableModel(parent), model_(model), order_(table)
{
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
    const TableColumn& column = tableColumns(order_.table())[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(order_.cell(model_, index.row() + 1, index.column()));
    case Qt::AccessibleTextRole: {
        // Read without the blank that ends a cell; an empty cell says what it stands for.
        const QString text =
            QString::fromStdString(order_.cell(model_, index.row() + 1, index.column())).trimmed();
        if (!text.isEmpty())
            return text;
        return order_.table() == LogTable::Boots && index.column() == 2 ? QStringLiteral("no logout")
                                                                        : QStringLiteral("none");
    }
    case Qt::ForegroundRole:
        switch (column.colour) {
        case TableColumn::Colour::Green:
            return palette::Green;
        case TableColumn::Colour::Red:
            return palette::Red;
        case TableColumn::Colour::Navy:
            return palette::Navy;
        case TableColumn::Colour::Plain:
            break;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (column.leftAligned ? Qt::AlignLeft : Qt::AlignRight));
    default:
        return {};
    }
}

QVariant LogTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical && role == Qt::AccessibleTextRole && section >= 0 && section < rowCount())
        return QStringLiteral("Row %1").arg(section + 1);  // the rows' header is hidden, not gone
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(order_.header(section));
    case Qt::AccessibleTextRole: {
        // The title without its sort mark, and the order in words.
        QString text = QString::fromStdString(columnTitle(order_.table(), section));
        if (section == sortedColumn_)
            text += sortedAscending_ ? QStringLiteral(", sorted ascending")
                                     : QStringLiteral(", sorted descending");
        return text;
    }
    case Qt::AccessibleDescriptionRole:
        return order_.nextPressAscending(section) ? QStringLiteral("Sorts ascending when pressed")
                                                  : QStringLiteral("Sorts descending when pressed");
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignCenter);
    default:
        return {};
    }
}

void LogTableModel::fill()
{
    beginResetModel();
    order_.fill(model_);
    sortedColumn_ = 0;
    sortedAscending_ = true;
    endResetModel();
}

void LogTableModel::rowsReordered()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void LogTableModel::sortedBy(int column, bool ascending)
{
    sortedColumn_ = column;
    sortedAscending_ = ascending;
    rowsReordered();
}

}  // namespace quomble
