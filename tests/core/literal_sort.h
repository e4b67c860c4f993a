#pragma once

// The row sort exactly as the log data window describes it, stepping row by row. Slow on
// ordered columns; kept as the reference that the fast sort must match.

#include <string>
#include <utility>
#include <vector>

namespace quomble::testing {

template <typename Row, typename Less>
void literalQuicksort(std::vector<Row>& rows, int lo, int hi, Less before)
{
    while (hi - lo > 0) {
        const auto pivot = rows[static_cast<std::size_t>(hi)].key;
        int i = lo;
        int j = hi - 1;
        for (;;) {
            while (before(rows[static_cast<std::size_t>(i)].key, pivot))
                ++i;
            while (before(pivot, rows[static_cast<std::size_t>(j)].key)) {
                if (j == lo)
                    break;
                --j;
            }
            if (j <= i)
                break;
            std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(j)]);
            ++i;
            --j;
        }
        std::swap(rows[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(hi)]);
        // Smaller side first by recursion, larger by the loop: same result, shallow stack.
        if (i - lo < hi - i) {
            literalQuicksort(rows, lo, i - 1, before);
            lo = i + 1;
        } else {
            literalQuicksort(rows, i + 1, hi, before);
            hi = i - 1;
        }
    }
}

template <typename Key>
struct KeyedRow {
    Key key;
    int id;
};

}  // namespace quomble::testing
