#include "core/tables.h"

#include "core/format.h"
#include "core/table_sort.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <optional>

namespace quomble {

namespace {

constexpr std::size_t kFillWidth = 20;

const std::array<std::pair<const char*, const char*>, 7> kWeekdays = {{{"Mo", "Monday"},
                                                                       {"Tu", "Tuesday"},
                                                                       {"We", "Wednesday"},
                                                                       {"Th", "Thursday"},
                                                                       {"Fr", "Friday"},
                                                                       {"Sa", "Saturday"},
                                                                       {"Su", "Sunday"}}};

std::string padded(std::string text)
{
    if (text.size() < kFillWidth)
        text.insert(0, kFillWidth - text.size(), '0');
    return text;
}

std::string bootDuration(std::int32_t days, int hours, int minutes, int seconds)
{
    return durationText(days, hours, minutes, seconds);
}

// A sort text of at most 24 characters, compared byte by byte.
struct SortKey {
    std::array<unsigned char, 24> bytes{};
    std::uint8_t size = 0;
    friend bool operator<(const SortKey& a, const SortKey& b)
    {
        const int c = std::memcmp(a.bytes.data(), b.bytes.data(), std::min(a.size, b.size));
        return c != 0 ? c < 0 : a.size < b.size;
    }
};

// The digits of a timestamp text as one number: its text order is their numeric order,
// because every such text has the same length and the same separators in the same places.
std::optional<std::int64_t> timestampDigits(std::string_view text)
{
    if (text.size() != 19)
        return std::nullopt;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i == 2 || i == 5 || i == 10 || i == 13 || i == 16)
            continue;
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A duration cell padded to 20 characters is "<days, zero-filled to 8>" " / hh:mm:ss ".
// The zero-filled days compare character by character, '-' below the digits: as base 11.
std::int64_t paddedDurationKey(std::int32_t days, int hours, int minutes, int seconds)
{
    const std::string digits = std::to_string(days);
    std::int64_t code = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t fill = 8 - std::min<std::size_t>(digits.size(), 8);
        const char c = i < fill ? '0' : digits[i - fill];
        code = code * 11 + (c == '-' ? 0 : c - '0' + 1);
    }
    return code * 86400 + hours * 3600 + minutes * 60 + seconds;
}

// Sort keys of the boots table's time and duration columns as numbers, ordered exactly as
// their padded texts; nullopt where a text does not have the usual form.
std::optional<std::vector<std::int64_t>> numericBootKeys(const LogModel& m, const TableOrder& order,
                                                         int column)
{
    if (column < 1 || column > 4)
        return std::nullopt;
    std::vector<std::int64_t> keys(static_cast<std::size_t>(m.BootCount) + 1, 0);
    for (int rec = 1; rec <= m.BootCount; ++rec) {
        const BootRecord& r = order.boot(m, rec);
        std::int64_t& key = keys[static_cast<std::size_t>(rec)];
        if (column == 1 || column == 2) {
            const Timestamp& text = column == 1 ? r.LogIn : r.LogOut;
            if (text.empty()) {
                key = -1;  // a single blank sorts before every digit
                continue;
            }
            const auto digits = timestampDigits(text.view());
            if (!digits)
                return std::nullopt;
            key = *digits;
        } else if (column == 3) {
            key = paddedDurationKey(r.OnDays, r.OnHours, r.OnMinutes, r.OnSeconds);
        } else if (r.OffDays == 0 && r.OffHours == 0 && r.OffMinutes == 0 && r.OffSeconds == 0) {
            key = -1;  // the blank cell of a zero off-time
        } else {
            key = paddedDurationKey(r.OffDays, r.OffHours, r.OffMinutes, r.OffSeconds);
        }
        if (std::to_string(column == 3 ? r.OnDays : r.OffDays).size() > 8)
            return std::nullopt;
    }
    return keys;
}

// Ranks from keys: equal keys, equal ranks; rank order is key order.
template <typename Key>
void rankRecords(const std::vector<Key>& keys, std::vector<std::int32_t>& rankOfRecord)
{
    const int rows = static_cast<int>(keys.size()) - 1;
    std::vector<std::int32_t> byKey(static_cast<std::size_t>(rows));
    std::iota(byKey.begin(), byKey.end(), 1);
    std::sort(byKey.begin(), byKey.end(), [&](std::int32_t a, std::int32_t b) {
        return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
    });
    std::int32_t rank = 0;
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && keys[static_cast<std::size_t>(byKey[i - 1])] < keys[static_cast<std::size_t>(byKey[i])])
            ++rank;
        rankOfRecord[static_cast<std::size_t>(byKey[i])] = rank;
    }
}

}  // namespace

const std::vector<TableColumn>& tableColumns(LogTable table)
{
    using Colour = TableColumn::Colour;
    static const std::vector<TableColumn> boots = {
        {" Nr. ", 42},
        {" LogIn ", 110, Colour::Green},
        {" LogOut ", 110, Colour::Red},
        {" OnTime ", 80, Colour::Green},
        {" OffTime ", 80, Colour::Red},
    };
    static const std::vector<TableColumn> days = {
        {" Nr. ", 42},
        {" DayofWeek ", 82, Colour::Plain, true},
        {" Date ", 66},
        {" Boots ", 54, Colour::Green},
        {" Crashs ", 54, Colour::Red},
        {" OnTime ", 60, Colour::Navy},
    };
    return table == LogTable::Boots ? boots : days;
}

int columnCount(LogTable table) { return static_cast<int>(tableColumns(table).size()); }

std::string columnTitle(LogTable table, int column)
{
    const std::string_view title = tableColumns(table)[static_cast<std::size_t>(column)].title;
    return std::string(title.substr(1, title.size() - 2));  // one blank on each side
}

std::string weekdayLongName(std::string_view code)
{
    for (const auto& [shortName, longName] : kWeekdays)
        if (code == shortName)
            return longName;
    return {};
}

std::string cellText(const LogModel& m, LogTable table, int record, int column)
{
    if (table == LogTable::Boots)
        return bootCellText(m.boot(record), record, column);
    const DayRecord& d = m.day(record);
    switch (column) {
    case 0:
        return std::to_string(record) + ' ';
    case 1:
        return weekdayLongName(d.Weekday.view());
    case 2:
        return d.Date.str() + ' ';
    case 3:
        return std::to_string(d.Boots) + ' ';
    case 4:
        return std::to_string(d.Crashs) + ' ';
    default:
        return clockText(d.OnTime) + ' ';
    }
}

std::string bootCellText(const BootRecord& r, int record, int column)
{
    switch (column) {
    case 0:
        return std::to_string(record) + ' ';
    case 1:
        return r.LogIn.str() + ' ';
    case 2:
        return r.LogOut.str() + ' ';
    case 3:
        return bootDuration(r.OnDays, r.OnHours, r.OnMinutes, r.OnSeconds) + ' ';
    default: {
        std::string text = bootDuration(r.OffDays, r.OffHours, r.OffMinutes, r.OffSeconds);
        if (text == "0 / 00:00:00")
            text.clear();
        return text + ' ';
    }
    }
}

namespace {

// A cell's text as the sort compares it (see sortText).
std::string sortTextOf(std::string text, LogTable table, int column)
{
    if (table == LogTable::Boots) {
        if (column == 0 || ((column == 3 || column == 4) && text.size() > 1))
            return padded(std::move(text));
        return text;
    }
    if (column == 0 || column == 3 || column == 4)
        return padded(std::move(text));
    if (column == 1) {
        for (std::size_t i = 0; i < kWeekdays.size(); ++i)
            if (text == kWeekdays[i].second)
                return std::to_string(i + 1) + text;
    }
    return text;
}

}  // namespace

std::string sortText(const LogModel& m, LogTable table, int record, int column)
{
    return sortTextOf(cellText(m, table, record, column), table, column);
}

TableOrder::TableOrder(LogTable table)
    : table_(table), nextAscending_(static_cast<std::size_t>(columnCount(table)))
{
}

void TableOrder::fill(const LogModel& model)
{
    const int rows = table_ == LogTable::Boots ? model.BootCount : std::max(model.DayCount, 0);
    records_.resize(static_cast<std::size_t>(rows));
    std::iota(records_.begin(), records_.end(), 1);
    std::fill(nextAscending_.begin(), nextAscending_.end(), true);
    nextAscending_[0] = false;  // the numbers start ascending
    selectedRow_ = rows;
    runningRecord_ = table_ == LogTable::Boots && rows > 0 ? rows : 0;
    if (runningRecord_ > 0)
        running_ = model.boot(runningRecord_);
}

const BootRecord& TableOrder::boot(const LogModel& model, int record) const
{
    return record == runningRecord_ ? running_ : model.boot(record);
}

std::string TableOrder::cell(const LogModel& model, int row, int column) const
{
    return recordCell(model, record(row), column);
}

std::string TableOrder::recordCell(const LogModel& model, int record, int column) const
{
    return table_ == LogTable::Boots ? bootCellText(boot(model, record), record, column)
                                     : cellText(model, table_, record, column);
}

std::string TableOrder::header(int column) const
{
    const char* title = tableColumns(table_)[static_cast<std::size_t>(column)].title;
    return std::string(title) + (nextPressAscending(column) ? "\u00B0" : ".");
}

bool TableOrder::press(const LogModel& model, int column)
{
    const bool ascending = nextPressAscending(column);
    sortAs(model, column, ascending);
    return ascending;
}

void TableOrder::sortAs(const LogModel& model, int column, bool ascending)
{
    nextAscending_[static_cast<std::size_t>(column)] = !ascending;
    sortRowsByColumn(model, column, ascending);
}

void TableOrder::sortRowsByColumn(const LogModel& model, int column, bool ascending)
{
    const int rows = rowCount();
    if (rows < 2)
        return;
    // Rank every record's sort text once; equal texts share a rank.
    std::vector<std::int32_t> rankOfRecord(static_cast<std::size_t>(rows) + 1, 0);
    if (column == 0) {
        std::iota(rankOfRecord.begin(), rankOfRecord.end(), 0);  // padded numbers sort as numbers
    } else if (auto numeric =
                   table_ == LogTable::Boots ? numericBootKeys(model, *this, column) : std::nullopt) {
        rankRecords(*numeric, rankOfRecord);
    } else {
        std::vector<SortKey> keys(static_cast<std::size_t>(rows) + 1);
        for (int rec = 1; rec <= rows; ++rec) {
            const std::string text = sortTextOf(recordCell(model, rec, column), table_, column);
            SortKey& k = keys[static_cast<std::size_t>(rec)];
            k.size = static_cast<std::uint8_t>(std::min(text.size(), k.bytes.size()));
            std::memcpy(k.bytes.data(), text.data(), k.size);
        }
        rankRecords(keys, rankOfRecord);
    }
    std::vector<std::int32_t> keys(static_cast<std::size_t>(rows));
    for (int row = 0; row < rows; ++row)
        keys[static_cast<std::size_t>(row)] =
            rankOfRecord[static_cast<std::size_t>(records_[static_cast<std::size_t>(row)])];

    const int selectedRecord = selectedRow_ >= 1 && selectedRow_ <= rows ? record(selectedRow_) : 0;
    sortRowsByKey(keys, records_, ascending);
    if (selectedRecord != 0) {
        const auto it = std::find(records_.begin(), records_.end(), selectedRecord);
        selectedRow_ = static_cast<int>(it - records_.begin()) + 1;
    }
}

}  // namespace quomble
