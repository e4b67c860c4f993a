#pragma once

#include "core/model.h"
#include "core/tables.h"

#include <string>
#include <string_view>
#include <vector>

namespace quomble {

// The boots and days tables as text, the same for the terminal, the clipboard and a saved
// file: a header line, then one line per row in the order given, each cell as the window
// shows it without its padding blanks. UTF-8.
enum class TableTextFormat {
    Tsv,  // cells separated by a tab, lines ended by LF
    Csv,  // RFC 4180: cells separated by a comma, quoted where needed, lines ended by CR LF
};

// `field` as one CSV field: in double quotes, its own quotes doubled, when it holds a comma,
// a quote, CR or LF; as it is otherwise.
void appendCsvField(std::string& out, std::string_view field);

// Any table of texts, a line per row (the first row being its header), as above.
std::string rowsText(const std::vector<std::vector<std::string>>& rows, TableTextFormat format);

void appendTableHeader(std::string& out, const TableOrder& order, TableTextFormat format);
// Row `row` (1-based, in the order's shown order).
void appendTableRow(std::string& out, const LogModel& model, const TableOrder& order, int row,
                    TableTextFormat format);

// The header and every row in the order's shown order.
std::string tableText(const LogModel& model, const TableOrder& order, TableTextFormat format);
// The header and the rows `rows` (1-based, in the order given).
std::string tableText(const LogModel& model, const TableOrder& order, TableTextFormat format,
                      const std::vector<int>& rows);

}  // namespace quomble
