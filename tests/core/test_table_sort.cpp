#include "core/table_sort.h"
#include "core/tables.h"
#include "literal_sort.h"
#include "support/log_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

using namespace quomble;
using quomble::testing::KeyedRow;
using quomble::testing::literalQuicksort;

namespace {

std::vector<int> literalOrder(const std::vector<std::int32_t>& keys, bool ascending)
{
    std::vector<KeyedRow<std::int32_t>> rows;
    for (std::size_t i = 0; i < keys.size(); ++i)
        rows.push_back({keys[i], static_cast<int>(i)});
    if (!rows.empty()) {
        literalQuicksort(rows, 0, static_cast<int>(rows.size()) - 1,
                         [ascending](std::int32_t a, std::int32_t b) { return ascending ? a < b : a > b; });
    }
    std::vector<int> ids;
    for (const auto& r : rows)
        ids.push_back(r.id);
    return ids;
}

std::vector<int> fastOrder(std::vector<std::int32_t> keys, bool ascending)
{
    std::vector<std::int32_t> rows(keys.size());
    std::iota(rows.begin(), rows.end(), 0);
    sortRowsByKey(keys, rows, ascending);
    return {rows.begin(), rows.end()};
}

std::vector<std::int32_t> applyOrder(const std::vector<std::int32_t>& keys, const std::vector<int>& order)
{
    std::vector<std::int32_t> out;
    for (int id : order)
        out.push_back(keys[static_cast<std::size_t>(id)]);
    return out;
}

}  // namespace

TEST(TableSort, MatchesTheLiteralQuicksortOnEveryKindOfColumn)
{
    std::mt19937 rng(20261207);
    for (int round = 0; round < 400; ++round) {
        const int n = static_cast<int>(rng() % 600);
        const int distinct = 1 + static_cast<int>(rng() % (round % 4 == 0 ? 3 : 1000));
        std::vector<std::int32_t> keys(static_cast<std::size_t>(n));
        for (auto& k : keys)
            k = static_cast<std::int32_t>(rng() % static_cast<unsigned>(distinct));
        switch (round % 5) {
        case 1:
            std::sort(keys.begin(), keys.end());
            break;
        case 2:
            std::sort(keys.rbegin(), keys.rend());
            break;
        case 3:  // runs of equal keys in order, the shape of dates and counts
            std::sort(keys.begin(), keys.end());
            std::rotate(keys.begin(), keys.begin() + n / 3, keys.end());
            break;
        default:
            break;
        }
        // Press the same column again and again: each sort starts from the previous result.
        for (int press = 0; press < 3; ++press) {
            const bool ascending = (round + press) % 2 == 0;
            const auto expected = literalOrder(keys, ascending);
            const auto actual = fastOrder(keys, ascending);
            ASSERT_EQ(actual, expected) << "round " << round << " press " << press << " n " << n;
            keys = applyOrder(keys, actual);
        }
    }
}

TEST(TableSort, LargeOrderedAndTieHeavyColumnsStayExact)
{
    for (int n : {5000, 20000}) {
        std::vector<std::int32_t> ordered(static_cast<std::size_t>(n));
        std::iota(ordered.begin(), ordered.end(), 0);
        EXPECT_EQ(fastOrder(ordered, false), literalOrder(ordered, false));
        std::vector<std::int32_t> ties(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            ties[static_cast<std::size_t>(i)] = i % 2 + (i > n / 2 ? 2 : 0);
        EXPECT_EQ(fastOrder(ties, true), literalOrder(ties, true));
        std::vector<std::int32_t> same(static_cast<std::size_t>(n), 7);
        EXPECT_EQ(fastOrder(same, true), literalOrder(same, true));
    }
}

TEST(TableSort, EmptyAndSingleRows)
{
    EXPECT_TRUE(fastOrder({}, true).empty());
    EXPECT_EQ(fastOrder({5}, false), std::vector<int>{0});
    EXPECT_EQ(fastOrder({2, 1}, true), (std::vector<int>{1, 0}));
}
