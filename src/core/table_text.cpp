#include "core/table_text.h"

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

void endLine(std::string& out, TableTextFormat format) { out += format == TableTextFormat::Csv ? "\r\n" : "\n"; }

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
    for (int c = 0; c < columnCount(order.table()); ++c)
        appendCell(out, cellText(model, order.table(), order.record(row), c), c, format);
    endLine(out, format);
}

std::string tableText(const LogModel& model, const TableOrder& order, TableTextFormat format)
{
    std::string out;
    // A boots line is about 60 bytes; one growth step less for the large tables.
    out.reserve(static_cast<std::size_t>(order.rowCount()) * 64 + 64);
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

}  // namespace quomble
