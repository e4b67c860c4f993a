#include "core/tables.h"

#include "core/format.h"
#include "core/table_sort.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>

namespace quomble {

namespace {

constexpr std::size_t kFillWidth = 20;

const std::array<const char*, 5> kBootTitles = {" Nr. ", " LogIn ", " LogOut ", " OnTime ", " OffTime "};
const std::array<const char*, 6> kDayTitles = {" Nr. ", " DayofWeek ", " Date ", " Boots ", " Crashs ",
                                               " OnTime "};
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
    friend bool operator==(const SortKey& a, const SortKey& b)
    {
        return a.size == b.size && std::memcmp(a.bytes.data(), b.bytes.data(), a.size) == 0;
    }
};

}  // namespace

int columnCount(LogTable table) { return table == LogTable::Boots ? 5 : 6; }

std::string weekdayLongName(std::string_view code)
{
    for (const auto& [shortName, longName] : kWeekdays)
        if (code == shortName)
            return longName;
    return {};
}

std::string cellText(const LogModel& m, LogTable table, int record, int column)
{
    if (table == LogTable::Boots) {
        const BootRecord& r = m.boot(record);
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

std::string sortText(const LogModel& m, LogTable table, int record, int column)
{
    std::string text = cellText(m, table, record, column);
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

TableOrder::TableOrder(LogTable table) : table_(table), nextAscending_(static_cast<std::size_t>(columnCount(table)))
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
}

std::string TableOrder::header(int column) const
{
    const char* title = table_ == LogTable::Boots ? kBootTitles[static_cast<std::size_t>(column)]
                                                  : kDayTitles[static_cast<std::size_t>(column)];
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
    } else {
        std::vector<SortKey> keys(static_cast<std::size_t>(rows) + 1);
        for (int rec = 1; rec <= rows; ++rec) {
            const std::string text = sortText(model, table_, rec, column);
            SortKey& k = keys[static_cast<std::size_t>(rec)];
            k.size = static_cast<std::uint8_t>(std::min(text.size(), k.bytes.size()));
            std::memcpy(k.bytes.data(), text.data(), k.size);
        }
        std::vector<std::int32_t> byText(static_cast<std::size_t>(rows));
        std::iota(byText.begin(), byText.end(), 1);
        std::sort(byText.begin(), byText.end(), [&](std::int32_t a, std::int32_t b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
        std::int32_t rank = 0;
        for (std::size_t i = 0; i < byText.size(); ++i) {
            if (i > 0 && !(keys[static_cast<std::size_t>(byText[i - 1])] ==
                           keys[static_cast<std::size_t>(byText[i])]))
                ++rank;
            rankOfRecord[static_cast<std::size_t>(byText[i])] = rank;
        }
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
