#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quomble {

// The log data window's row sort: a quicksort with the last row of each range as pivot,
// whose order of equal keys callers can rely on. This reproduces that quicksort's result
// exactly, but fast: keys are integer ranks, and the partition scans jump over whole runs
// with a min/max tree over positions instead of stepping row by row.
//
// keys[r] is the rank of row r's sort text (equal texts, equal ranks); rows are 0-based
// here. Every exchange of two rows is applied to keys and to rows (the caller's row
// contents), so both end up in the sorted order.
void sortRowsByKey(std::vector<std::int32_t>& keys, std::vector<std::int32_t>& rows, bool ascending);

}  // namespace quomble
