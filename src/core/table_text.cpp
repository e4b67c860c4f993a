#include "core/table_text.h"

#include "core/format.h"

namespace quomble {

namespace {

std::string_view trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

void appendCell(std::string& out, std::string_view cell, int column, TableTextFormat format)
{
    if (column > 0)
        out += format == TableTextFormat::Csv ? ',' : '\t';
    if (format == TableTextFormat::Csv)
        appendCsvField(out, trimmed(cell));
    else
        out += trimmed(cell);
}

// A boots row without a string per cell: a million of them are saved in well under a
// second. The same texts as the table's cells, trimmed.
void appendBootRow(std::string& out, const BootRecord& r, int record, TableTextFormat format)
{
    const char separator = format == TableTextFormat::Csv ? ',' : '\t';
    appendNumber(out, record);
    out += separator;
    appendCell(out, r.LogIn.view(), 0, format);
    out += separator;
    appendCell(out, r.LogOut.view(), 0, format);
    out += separator;
    appendDurationText(out, r.OnDays, r.OnHours, r.OnMinutes, r.OnSeconds);
    out += separator;
    if (r.OffDays != 0 || r.OffHours != 0 || r.OffMinutes != 0 || r.OffSeconds != 0)
        appendDurationText(out, r.OffDays, r.OffHours, r.OffMinutes, r.OffSeconds);
}

void endLine(std::string& out, TableTextFormat format)
{
    out += format == TableTextFormat::Csv ? "\r\n" : "\n";
}

}  // namespace

void appendCsvField(std::string& out, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void appendTableHeader(std::string& out, const TableOrder& order, TableTextFormat format)
{
    for (int c = 0; c < columnCount(order.table()); ++c)
        appendCell(out, order.header(c), c, format);
    endLine(out, format);
}

void appendTableRow(std::string& out, const LogModel& model, const TableOrder& order, int row,
                    TableTextFormat format)
{
    // The texts as the window shows them: the running boot as at the last fill.
    if (order.table() == LogTable::Boots) {
        const int record = order.record(row);
        appendBootRow(out, order.boot(model, record), record, format);
    } else {
        for (int c = 0; c < columnCount(order.table()); ++c)
            appendCell(out, order.cell(model, row, c), c, format);
    }
    endLine(out, format);
}

std::string tableText(const LogModel& model, const TableOrder& order, TableTextFormat format)
{
    std::string out;
    // A boots line is at most about 75 bytes: the text is made without growing it.
    out.reserve(static_cast<std::size_t>(order.rowCount()) * 80 + 128);
    appendTableHeader(out, order, format);
    for (int row = 1; row <= order.rowCount(); ++row)
        appendTableRow(out, model, order, row, format);
    return out;
}

std::string tableText(const LogModel& model, const TableOrder& order, TableTextFormat format,
                      const std::vector<int>& rows)
{
    std::string out;
    appendTableHeader(out, order, format);
    for (const int row : rows)
        appendTableRow(out, model, order, row, format);
    return out;
}

std::string rowsText(const std::vector<std::vector<std::string>>& rows, TableTextFormat format)
{
    std::string out;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                out += format == TableTextFormat::Csv ? ',' : '\t';
            if (format == TableTextFormat::Csv)
                appendCsvField(out, row[i]);
            else
                out += row[i];
        }
        out += format == TableTextFormat::Csv ? "\r\n" : "\n";
    }
    return out;
}

}  // namespace quomble
