#include "core/tables.h"
#include "core/table_text.h"
#include "literal_sort.h"
#include "support/log_builder.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>

using namespace quomble;
using quomble::testing::KeyedRow;
using quomble::testing::kNow;
using quomble::testing::literalQuicksort;
using quomble::testing::logText;
using quomble::testing::readAndRefresh;

namespace {

// A log of `boots` boots over a few weeks before kNow, with crashes, zero off-times,
// long sessions and equal values, so that every column has ties.
std::string randomLog(std::mt19937& rng, int boots)
{
    DateTime t = *parseTimestamp("01.11.2026 00:00:00");
    std::string text;
    for (int i = 0; i < boots; ++i) {
        t += static_cast<DateTime>(rng() % 3 == 0 ? 0 : rng() % 20000);
        const std::string login = formatTimestamp(t);
        const int kind = static_cast<int>(rng() % 10);
        if (rng() % 40 == 0)
            t -= static_cast<DateTime>(rng() % 300000);  // out of order: negative times
        const DateTime on = kind == 0   ? 5
                            : kind == 1 ? 86400 * 2 + 17
                            : kind == 3 ? -static_cast<DateTime>(rng() % 2000000)
                                        : static_cast<DateTime>(rng() % 30000);
        t += on;
        if (i + 1 < boots && kind == 2)
            text += login + " \r\n";  // a crash
        else
            text += login + ' ' + formatTimestamp(t) + "\r\n";
    }
    return text;
}

// The rows as the window shows them after the literal sort of the padded texts.
std::vector<int> literalSortedRecords(const LogModel& m, LogTable table, const std::vector<int>& records,
                                      int column, bool ascending)
{
    std::vector<KeyedRow<std::string>> rows;
    for (int rec : records)
        rows.push_back({sortText(m, table, rec, column), rec});
    literalQuicksort(
        rows, 0, static_cast<int>(rows.size()) - 1,
        [ascending](const std::string& a, const std::string& b) { return ascending ? a < b : a > b; });
    std::vector<int> out;
    for (const auto& r : rows)
        out.push_back(r.id);
    return out;
}

std::vector<int> recordsOf(const TableOrder& order)
{
    std::vector<int> out;
    for (int row = 1; row <= order.rowCount(); ++row)
        out.push_back(order.record(row));
    return out;
}

}  // namespace

TEST(Tables, BootCellsAsTheWindowWritesThem)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"01.12.2026 08:00:00 ", "01.12.2026 09:00:00 02.12.2026 09:00:05",
                               "02.12.2026 09:00:06 02.12.2026 09:00:06", "07.12.2026 11:00:00 "}));
    EXPECT_EQ(cellText(m, LogTable::Boots, 1, 0), "1 ");
    EXPECT_EQ(cellText(m, LogTable::Boots, 1, 1), "01.12.2026 08:00:00 ");
    EXPECT_EQ(cellText(m, LogTable::Boots, 1, 2), " ");  // a crash
    EXPECT_EQ(cellText(m, LogTable::Boots, 1, 3), "0 / 01:00:00 ");
    EXPECT_EQ(cellText(m, LogTable::Boots, 1, 4), " ");
    EXPECT_EQ(cellText(m, LogTable::Boots, 2, 3), "1 / 00:00:05 ");
    EXPECT_EQ(cellText(m, LogTable::Boots, 2, 4), "0 / 00:00:01 ");
    EXPECT_EQ(cellText(m, LogTable::Boots, 3, 3), "0 / 00:00:00 ");  // on-time zero stays
    EXPECT_EQ(cellText(m, LogTable::Boots, 4, 2), "07.12.2026 12:00:00 ");
    EXPECT_EQ(cellText(m, LogTable::Boots, 4, 4), " ");  // the running boot
    EXPECT_EQ(sortText(m, LogTable::Boots, 2, 0), "0000000000000000002 ");
    EXPECT_EQ(sortText(m, LogTable::Boots, 2, 3), "00000001 / 00:00:05 ");
    EXPECT_EQ(sortText(m, LogTable::Boots, 4, 4), " ");
    EXPECT_EQ(weekdayLongName("Th"), "Thursday");
    EXPECT_EQ(weekdayLongName("th"), "");
}

TEST(Tables, FillResetsOrderMarksAndSelection)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(
        m, logText({"01.12.2026 08:00:00 01.12.2026 09:00:00", "02.12.2026 08:00:00 02.12.2026 08:00:09",
                    "02.12.2026 10:00:00 02.12.2026 10:00:10", "07.12.2026 11:00:00 "}));
    TableOrder order(LogTable::Boots);
    order.fill(m);
    EXPECT_EQ(order.header(0), " Nr. .");
    EXPECT_EQ(order.header(1), " LogIn \u00B0");
    EXPECT_EQ(order.selectedRow(), 4);

    EXPECT_FALSE(order.press(m, 0));  // first press on Nr. sorts descending
    EXPECT_EQ(order.header(0), " Nr. \u00B0");
    EXPECT_EQ(recordsOf(order), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(order.selectedRow(), 1);  // the selection moved with its record
    EXPECT_TRUE(order.press(m, 0));
    EXPECT_EQ(recordsOf(order), (std::vector<int>{1, 2, 3, 4}));

    EXPECT_TRUE(order.press(m, 3));  // OnTime ascending: 9 s, 10 s, 1 h, 1 h
    EXPECT_EQ(order.header(3), " OnTime .");
    EXPECT_EQ(order.header(0), " Nr. .");  // other marks stay
    order.fill(m);
    EXPECT_EQ(recordsOf(order), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(order.header(3), " OnTime \u00B0");
}

TEST(Tables, SortMatchesTheLiteralSortOfThePaddedTexts)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 12; ++round) {
        LogModel m(fixedClock(kNow));
        readAndRefresh(m, randomLog(rng, 20 + round * 25));
        m.BC_Array_fuellen();
        for (LogTable table : {LogTable::Boots, LogTable::Days}) {
            TableOrder order(table);
            order.fill(m);
            for (int press = 0; press < 3 * columnCount(table); ++press) {
                const int column = static_cast<int>(rng() % static_cast<unsigned>(columnCount(table)));
                const bool ascending = order.nextPressAscending(column);
                const auto expected = literalSortedRecords(m, table, recordsOf(order), column, ascending);
                order.press(m, column);
                ASSERT_EQ(recordsOf(order), expected) << "round " << round << " column " << column;
            }
        }
    }
}

TEST(Tables, NumberLikeColumnsSortAsNumbers)
{
    std::string log;
    for (int i = 0; i < 12; ++i)
        log += formatTimestamp(*parseTimestamp("01.12.2026 00:00:00") + i * 3600) + ' ' +
               formatTimestamp(*parseTimestamp("01.12.2026 00:00:00") + i * 3600 + (12 - i)) + "\r\n";
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, log);
    TableOrder order(LogTable::Boots);
    order.fill(m);
    order.press(m, 0);
    order.press(m, 0);  // ascending again: 9 before 10
    EXPECT_EQ(order.record(9), 9);
    EXPECT_EQ(order.record(10), 10);
    order.press(m, 4);  // OffTime ascending: the running boot's blank cell first
    EXPECT_EQ(order.record(1), 12);
}

TEST(TableText, CsvQuotesOnlyFieldsThatNeedIt)
{
    const std::pair<const char*, const char*> cases[] = {
        {"0 / 00:03:10", "0 / 00:03:10"},
        {"", ""},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
    };
    for (const auto& [field, quoted] : cases) {
        std::string out;
        appendCsvField(out, field);
        EXPECT_EQ(out, quoted) << field;
    }
}

TEST(TableText, RowsAreTheTrimmedCellsInTheShownOrder)
{
    LogModel m(fixedClock(kNow));
    readAndRefresh(m, logText({"01.12.2026 08:00:00 ", "01.12.2026 09:00:00 02.12.2026 09:00:05",
                               "02.12.2026 09:00:06 02.12.2026 09:00:06", "07.12.2026 11:00:00 "}));
    m.BC_Array_fuellen();
    for (const LogTable table : {LogTable::Boots, LogTable::Days}) {
        TableOrder order(table);
        order.fill(m);
        order.sortAs(m, 3, false);
        std::string expected;
        for (int row = 1; row <= order.rowCount(); ++row) {
            std::string line;
            for (int c = 0; c < columnCount(table); ++c) {
                std::string cell = cellText(m, table, order.record(row), c);
                cell.erase(0, cell.find_first_not_of(' '));
                cell.erase(cell.find_last_not_of(' ') + 1);
                line += (c ? "\t" : "") + cell;
            }
            expected += line + '\n';
        }
        std::vector<int> rows(static_cast<std::size_t>(order.rowCount()));
        std::iota(rows.begin(), rows.end(), 1);
        const std::string all = tableText(m, order, TableTextFormat::Tsv);
        EXPECT_EQ(all.substr(all.find('\n') + 1), expected);
        EXPECT_EQ(tableText(m, order, TableTextFormat::Tsv, rows), all);
    }
}
