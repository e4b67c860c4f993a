#include "core/tables.h"
#include "report.h"

namespace quomble::report {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

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
    for (int c = 0; c < columns; ++c)
        out << (c ? "\t" : "") << trimmed(order.header(c));
    out << '\n';
    std::string line;
    for (int row = 1; row <= order.rowCount(); ++row) {
        line.clear();
        for (int c = 0; c < columns; ++c) {
            if (c)
                line += '\t';
            line += trimmed(cellText(model, table, order.record(row), c));
        }
        line += '\n';
        out << line;
    }
}

}  // namespace quomble::report
