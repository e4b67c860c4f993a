#include "core/table_text.h"
#include "report.h"

namespace quomble::report {

void writeTable(std::ostream& out, const LogModel& model, const Options& options)
{
    const LogTable table = *options.table == "days" ? LogTable::Days : LogTable::Boots;
    const int columns = columnCount(table);
    TableOrder order(table);
    order.fill(model);
    for (const Options::Sort& sort : options.sorts) {
        if (sort.column < columns)
            order.sortAs(model, sort.column, sort.ascending);
    }
    const TableTextFormat format = options.csv ? TableTextFormat::Csv : TableTextFormat::Tsv;
    std::string text;
    appendTableHeader(text, order, format);
    for (int row = 1; row <= order.rowCount(); ++row) {
        appendTableRow(text, model, order, row, format);
        if (text.size() >= 1 << 16) {  // in pieces, so a million rows are never held at once
            out << text;
            text.clear();
        }
    }
    out << text;
}

}  // namespace quomble::report
