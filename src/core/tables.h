#pragma once

#include "core/model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quomble {

// The two tables of the log data window: their texts, their row order and their sort.
enum class LogTable { Boots, Days };

// One column of a table: its header title (with a blank on each side), its design width
// in pixels, the colour of its cells and their side.
struct TableColumn {
    enum class Colour { Plain, Green, Red, Navy };
    const char* title;
    int width;
    Colour colour = Colour::Plain;
    bool leftAligned = false;
};
// The columns of each table, left to right; everything that numbers a column goes by these.
const std::vector<TableColumn>& tableColumns(LogTable table);

int columnCount(LogTable table);
// A column's title without its blanks and sort mark: "Nr.", "LogIn", ...
std::string columnTitle(LogTable table, int column);

// A cell as the window writes it, trailing blank included: boots table row `record`
// shows BootList[record], days table row `record` shows DayList[record].
std::string cellText(const LogModel& model, LogTable table, int record, int column);
// A boots table cell of row `record` showing the boot `r`.
std::string bootCellText(const BootRecord& r, int record, int column);
// The same cell as the sort compares it: numbers padded with leading zeros to 20
// characters, weekdays prefixed with their number (Monday "1Monday").
std::string sortText(const LogModel& model, LogTable table, int record, int column);

// "Monday" for "Mo" ... "Sunday" for "Su"; "" for anything else.
std::string weekdayLongName(std::string_view code);

// Row order and sort marks of one table. Rows are 1-based like the window's data rows.
class TableOrder {
public:
    explicit TableOrder(LogTable table);

    // Log order again, marks reset ("." on Nr., the degree sign on all others), the last
    // row selected. The table's texts are those of this moment until the next fill: the
    // running boot, the only record a refresh changes, is kept as it is now.
    void fill(const LogModel& model);
    // The boot a boots table row of `record` shows (the running one as at the last fill).
    const BootRecord& boot(const LogModel& model, int record) const;
    // The cell of a row as written at the last fill; the sorts compare these texts.
    std::string cell(const LogModel& model, int row, int column) const;

    LogTable table() const { return table_; }
    int rowCount() const { return static_cast<int>(records_.size()); }
    int record(int row) const { return records_[static_cast<std::size_t>(row - 1)]; }
    int selectedRow() const { return selectedRow_; }
    void select(int row) { selectedRow_ = row; }

    // The header text, ending in its sort mark: "." (next press sorts descending) or
    // the degree sign (next press sorts ascending). UTF-8.
    std::string header(int column) const;
    bool nextPressAscending(int column) const { return nextAscending_[static_cast<std::size_t>(column)]; }

    // A press on the header: turns the mark and sorts that way. Returns the direction.
    bool press(const LogModel& model, int column);
    // Sorts as a press in that direction would, leaving the mark as such a press does.
    void sortAs(const LogModel& model, int column, bool ascending);
    // Sorts the rows by a column; the selected record stays selected.
    void sortRowsByColumn(const LogModel& model, int column, bool ascending);

private:
    std::string recordCell(const LogModel& model, int record, int column) const;

    LogTable table_;
    std::vector<std::int32_t> records_;
    std::vector<bool> nextAscending_;
    int selectedRow_ = 0;
    BootRecord running_{};
    int runningRecord_ = 0;  // 0: no running boot kept
};

}  // namespace quomble
