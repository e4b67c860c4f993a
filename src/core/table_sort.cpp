#include "core/table_sort.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace quomble {

namespace {

// Ranges at most this long are sorted by stepping, as written, without the tree.
constexpr int kSmallRange = 48;

// Minimum and maximum key over ranges of positions, with point updates.
class PositionTree {
public:
    explicit PositionTree(const std::vector<std::int32_t>& keys)
    {
        n_ = static_cast<int>(keys.size());
        size_ = 1;
        while (size_ < n_)
            size_ *= 2;
        min_.assign(2 * static_cast<std::size_t>(size_), INT32_MAX);
        max_.assign(2 * static_cast<std::size_t>(size_), INT32_MIN);
        for (int p = 0; p < n_; ++p)
            min_[leaf(p)] = max_[leaf(p)] = keys[static_cast<std::size_t>(p)];
        for (int node = size_ - 1; node >= 1; --node)
            pull(node);
    }

    void set(int p, std::int32_t key)
    {
        std::size_t node = leaf(p);
        min_[node] = max_[node] = key;
        for (node /= 2; node >= 1; node /= 2)
            pull(static_cast<int>(node));
    }

    // First position in [from, to] whose key is at least `key`; -1 when there is none.
    int firstAtLeast(int from, int to, std::int32_t key) const
    {
        return firstAtLeast(1, 0, size_ - 1, from, to, key);
    }

    // Last position in [from, to] whose key is at most `key`; -1 when there is none.
    int lastAtMost(int from, int to, std::int32_t key) const
    {
        return lastAtMost(1, 0, size_ - 1, from, to, key);
    }

private:
    std::size_t leaf(int p) const { return static_cast<std::size_t>(size_ + p); }
    void pull(int node)
    {
        const auto n = static_cast<std::size_t>(node);
        min_[n] = std::min(min_[2 * n], min_[2 * n + 1]);
        max_[n] = std::max(max_[2 * n], max_[2 * n + 1]);
    }

    int firstAtLeast(int node, int l, int r, int from, int to, std::int32_t key) const
    {
        if (r < from || l > to || max_[static_cast<std::size_t>(node)] < key)
            return -1;
        if (l == r)
            return l;
        const int mid = (l + r) / 2;
        const int left = firstAtLeast(2 * node, l, mid, from, to, key);
        return left != -1 ? left : firstAtLeast(2 * node + 1, mid + 1, r, from, to, key);
    }

    int lastAtMost(int node, int l, int r, int from, int to, std::int32_t key) const
    {
        if (r < from || l > to || min_[static_cast<std::size_t>(node)] > key)
            return -1;
        if (l == r)
            return l;
        const int mid = (l + r) / 2;
        const int right = lastAtMost(2 * node + 1, mid + 1, r, from, to, key);
        return right != -1 ? right : lastAtMost(2 * node, l, mid, from, to, key);
    }

    int n_ = 0;
    int size_ = 1;
    std::vector<std::int32_t> min_;
    std::vector<std::int32_t> max_;
};

class Sorter {
public:
    Sorter(std::vector<std::int32_t>& keys, std::vector<std::int32_t>& rows)
        : keys_(keys), rows_(rows), tree_(keys)
    {
    }

    // Sorts [lo, hi]; the smaller side recurses, the larger one loops, so the depth
    // stays logarithmic. The two sides are independent, so this order changes nothing.
    void sort(int lo, int hi)
    {
        while (hi - lo > 0) {
            if (hi - lo < kSmallRange) {
                sortSmall(lo, hi);
                return;
            }
            const int p = partition(lo, hi);
            if (p - lo < hi - p) {
                sort(lo, p - 1);
                lo = p + 1;
            } else {
                sort(p + 1, hi);
                hi = p - 1;
            }
        }
    }

private:
    std::int32_t key(int p) const { return keys_[static_cast<std::size_t>(p)]; }

    void exchange(int a, int b, bool updateTree)
    {
        if (a == b)
            return;
        std::swap(keys_[static_cast<std::size_t>(a)], keys_[static_cast<std::size_t>(b)]);
        std::swap(rows_[static_cast<std::size_t>(a)], rows_[static_cast<std::size_t>(b)]);
        if (updateTree) {
            tree_.set(a, key(a));
            tree_.set(b, key(b));
        }
    }

    int partition(int lo, int hi)
    {
        const std::int32_t pivot = key(hi);
        int i = lo;
        int j = hi - 1;
        for (;;) {
            // Step while the key is before the pivot; the pivot itself stops the scan.
            if (key(i) < pivot)
                i = tree_.firstAtLeast(i, hi, pivot);
            // Step back while the pivot is before the key, but not past lo.
            if (pivot < key(j)) {
                const int k = tree_.lastAtMost(lo, j, pivot);
                j = k == -1 ? lo : k;
            }
            if (j <= i)
                break;
            exchange(i, j, true);
            ++i;
            --j;
        }
        exchange(i, hi, true);
        return i;
    }

    // The same quicksort, stepping row by row; nothing outside [lo, hi] is queried again,
    // so the tree need not follow.
    void sortSmall(int lo, int hi)
    {
        while (hi - lo > 0) {
            const std::int32_t pivot = key(hi);
            int i = lo;
            int j = hi - 1;
            for (;;) {
                while (key(i) < pivot)
                    ++i;
                while (pivot < key(j)) {
                    if (j == lo)
                        break;
                    --j;
                }
                if (j <= i)
                    break;
                exchange(i, j, false);
                ++i;
                --j;
            }
            exchange(i, hi, false);
            if (i - lo < hi - i) {
                sortSmall(lo, i - 1);
                lo = i + 1;
            } else {
                sortSmall(i + 1, hi);
                hi = i - 1;
            }
        }
    }

    std::vector<std::int32_t>& keys_;
    std::vector<std::int32_t>& rows_;
    PositionTree tree_;
};

}  // namespace

void sortRowsByKey(std::vector<std::int32_t>& keys, std::vector<std::int32_t>& rows, bool ascending)
{
    if (keys.size() < 2)
        return;
    if (!ascending) {
        // "Before" means greater: mirror the ranks and sort ascending.
        for (auto& k : keys)
            k = -k - 1;
    }
    Sorter sorter(keys, rows);
    sorter.sort(0, static_cast<int>(keys.size()) - 1);
    if (!ascending) {
        for (auto& k : keys)
            k = -(k + 1);
    }
}

}  // namespace quomble
