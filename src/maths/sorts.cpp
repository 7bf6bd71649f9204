// Index sorts of integer and real keys (quicksort with median-of-three and
// straight insertion for short stretches), the counting sort of an index list
// and the in-place sort of fixed-width texts.  The statistics program pairs
// Friedel mates in the order these sorts leave equal keys, so the exchanges
// below are fixed and must not be "improved": the keys travel with their
// rows, the stops of a partition are listed in blocks and long lists are
// sorted on several threads, but the exchanges, and so the order, are those
// of the plain quicksort.
#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <system_error>
#include <thread>
#include <type_traits>
#include <utility>
#include <vector>

#include "maths/math_gen.hpp"

namespace vorn_math_general {

namespace {

constexpr std::int32_t stack_size = 50;   // pending stretches, stored in pairs
constexpr std::int32_t insertion_limit = 7;  // r - l < 7: straight insertion

// A key travelling with its 1-based row number.  The sort moves these pairs
// rather than the row numbers alone, so that every comparison reads
// neighbouring memory instead of looking the key up through the order: the
// comparisons and exchanges are the same ones, step for step, and so is the
// resulting order, ties included.
template <class K>
struct KeyedRow {
    K key;
    std::int32_t row;
};

// The bulk of one partition step without a data-dependent branch per key.
// The scans of the step stop, from the left, at keys not below the pivot a
// and, from the right, at keys not above it, and exchange the k-th left stop
// with the k-th right stop while they have not crossed.  Here the stops are
// listed in blocks of positions, each key adding its position to the list
// unconditionally and advancing the list by the comparison's result, and the
// exchanges are made from the lists.  A listed stop is used only while it
// lies strictly between the last exchanged pair (i, j): those positions still
// hold their original keys, so the listed stops are exactly those the scans
// would meet, and the same exchanges happen in the same order.  At the first
// stop outside that range, or when the two next stops have met, it returns
// with (i, j) the last exchanged pair, from where the plain scans finish the
// step.  rows is 0-based; i and j are 1-based positions.
template <class K>
void exchange_in_blocks(std::vector<KeyedRow<K>>& rows, K a, std::int32_t& i, std::int32_t& j) {
    constexpr std::int32_t block = 64;
    std::array<std::int32_t, block> left_stops{}, right_stops{};
    std::int32_t left_count = 0, left_used = 0, right_count = 0, right_used = 0;
    std::int32_t left_next = i + 1, right_next = j - 1;  // next positions to list
    const auto key = [&](std::int32_t p) { return rows[static_cast<std::size_t>(p - 1)].key; };
    for (;;) {
        if (left_used == left_count) {
            if (right_next - left_next < 2 * block) return;
            left_count = 0;
            left_used = 0;
            for (std::int32_t t = 0; t < block; ++t) {
                left_stops[static_cast<std::size_t>(left_count)] = left_next + t;
                left_count += !(key(left_next + t) < a);
            }
            left_next += block;
        }
        if (right_used == right_count) {
            if (right_next - left_next < 2 * block) return;
            right_count = 0;
            right_used = 0;
            for (std::int32_t t = 0; t < block; ++t) {
                right_stops[static_cast<std::size_t>(right_count)] = right_next - t;
                right_count += !(key(right_next - t) > a);
            }
            right_next -= block;
        }
        // Exchange listed pairs while both lists hold stops.
        while (left_used < left_count && right_used < right_count) {
            const std::int32_t p = left_stops[static_cast<std::size_t>(left_used)];
            const std::int32_t q = right_stops[static_cast<std::size_t>(right_used)];
            if (!(p < q && p > i && q < j)) return;
            std::swap(rows[static_cast<std::size_t>(p - 1)], rows[static_cast<std::size_t>(q - 1)]);
            i = p;
            j = q;
            ++left_used;
            ++right_used;
        }
    }
}

// rows is 0-based; l, r and the results are 1-based positions.
template <class K>
K key_at(const std::vector<KeyedRow<K>>& rows, std::int32_t p) {
    return rows[static_cast<std::size_t>(p - 1)].key;
}

// Straight insertion of positions l+1..r.
template <class K>
void insertion_step(std::vector<KeyedRow<K>>& rows, std::int32_t l, std::int32_t r) {
    for (std::int32_t p = l + 1; p <= r; ++p) {
        const KeyedRow<K> t = rows[static_cast<std::size_t>(p - 1)];
        std::int32_t q = p - 1;
        while (q >= 1 && key_at(rows, q) > t.key) {
            rows[static_cast<std::size_t>(q)] = rows[static_cast<std::size_t>(q - 1)];
            --q;
        }
        rows[static_cast<std::size_t>(q)] = t;
    }
}

// One partition step of the stretch l..r (r - l >= insertion_limit): median
// of three, afterwards key(l+1) <= key(l) <= key(r) with the pivot at l; the
// exchanges; the pivot placed at j.  Returns i and j: the stretches left to
// sort are l..j-1 and i..r.
template <class K>
std::pair<std::int32_t, std::int32_t> partition_step(std::vector<KeyedRow<K>>& rows, std::int32_t l, std::int32_t r) {
    auto item = [&](std::int32_t p) -> KeyedRow<K>& { return rows[static_cast<std::size_t>(p - 1)]; };
    auto key = [&](std::int32_t p) { return key_at(rows, p); };
    auto exchange = [&](std::int32_t p, std::int32_t q) { std::swap(item(p), item(q)); };
    const std::int32_t m = (l + r) / 2;
    exchange(m, l + 1);
    if (key(l + 1) > key(r)) exchange(l + 1, r);
    if (key(l) > key(r)) exchange(l, r);
    if (key(l + 1) > key(l)) exchange(l + 1, l);
    const KeyedRow<K> v = item(l);
    const K a = v.key;
    std::int32_t i = l + 1;
    std::int32_t j = r;
    exchange_in_blocks(rows, a, i, j);
    for (;;) {
        do ++i; while (key(i) < a);
        do --j; while (key(j) > a);
        if (j < i) break;
        exchange(i, j);
    }
    item(l) = item(j);
    item(j) = v;
    return {i, j};
}

// The sort of the stretch l..r with its own stack of waiting stretches.
// False when the stack would overflow (the stretch is then left part done).
template <class K>
bool sort_stretch(std::vector<KeyedRow<K>>& rows, std::int32_t l, std::int32_t r) {
    std::array<std::int32_t, stack_size> stack{};
    std::int32_t top = 0;
    for (;;) {
        if (r - l < insertion_limit) {
            insertion_step(rows, l, r);
            if (top == 0) return true;
            r = stack[static_cast<std::size_t>(top - 1)];
            l = stack[static_cast<std::size_t>(top - 2)];
            top -= 2;
            continue;
        }
        const auto [i, j] = partition_step(rows, l, r);
        if (top + 2 > stack_size) return false;
        // The longer stretch waits; the shorter is worked on at once.
        if (r - i + 1 >= j - l) {
            stack[static_cast<std::size_t>(top)] = i;
            stack[static_cast<std::size_t>(top + 1)] = r;
            r = j - 1;
        } else {
            stack[static_cast<std::size_t>(top)] = l;
            stack[static_cast<std::size_t>(top + 1)] = j - 1;
            l = i;
        }
        top += 2;
    }
}

// Long lists are sorted on several threads.  After a partition step the two
// stretches never touch each other again (every key left of the pivot is at
// most every key right of it, so no insertion crosses between them), and
// each is sorted by the same steps whenever it is taken up: the first two
// levels of steps are made here, and the up to four stretches are then
// sorted side by side, giving the order of the one-thread sort.  This needs
// comparable keys (no NaN) and a list too short for the stack to overflow
// (below 2^26 keys the stack holds at most 48 of its 50 entries).
constexpr std::int32_t shared_sort_minimum = 1 << 16;
constexpr std::int32_t shared_sort_maximum = 1 << 26;

template <class K>
void sort_shared(std::vector<KeyedRow<K>>& rows, std::int32_t n) {
    std::vector<std::pair<std::int32_t, std::int32_t>> stretches{{1, n}};
    for (int level = 0; level < 2; ++level) {
        std::vector<std::pair<std::int32_t, std::int32_t>> next;
        for (const auto& [l, r] : stretches) {
            if (r - l < shared_sort_minimum / 4) {
                next.emplace_back(l, r);
                continue;
            }
            const auto [i, j] = partition_step(rows, l, r);
            next.emplace_back(l, j - 1);
            next.emplace_back(i, r);
        }
        stretches = std::move(next);
    }
    std::vector<std::thread> threads;
    threads.reserve(stretches.size());
    std::vector<std::pair<std::int32_t, std::int32_t>> on_caller;
    for (std::size_t s = 1; s < stretches.size(); ++s) {
        try {
            threads.emplace_back([&rows, stretch = stretches[s]] { sort_stretch(rows, stretch.first, stretch.second); });
        } catch (const std::system_error&) {
            on_caller.push_back(stretches[s]);
        }
    }
    sort_stretch(rows, stretches[0].first, stretches[0].second);
    for (const auto& [l, r] : on_caller) sort_stretch(rows, l, r);
    for (std::thread& t : threads) t.join();
}

template <class K>
bool comparable(const std::vector<KeyedRow<K>>& rows) {
    if constexpr (std::is_floating_point_v<K>) {
        for (const KeyedRow<K>& row : rows)
            if (std::isnan(row.key)) return false;
    }
    return true;
}

template <class K>
void index_sort(std::span<const K> keys, std::int32_t n, std::span<std::int32_t> order) {
    init_err_mathgen();
    if (n < 1) return;
    if (static_cast<std::size_t>(n) > keys.size() || static_cast<std::size_t>(n) > order.size()) {
        err_mathgen = true;
        err_mathgen_mess = " Number of items larger than the arrays in SORT";
        return;
    }
    std::vector<KeyedRow<K>> rows(static_cast<std::size_t>(n));
    for (std::int32_t p = 1; p <= n; ++p) rows[static_cast<std::size_t>(p - 1)] = {keys[static_cast<std::size_t>(p - 1)], p};
    if (n >= shared_sort_minimum && n < shared_sort_maximum && comparable(rows)) {
        sort_shared(rows, n);
    } else if (!sort_stretch(rows, 1, n)) {
        err_mathgen = true;
        err_mathgen_mess = " NSTACK too small in SORT";
    }
    // The order as it stands, also when the sort stopped early.
    for (std::int32_t p = 1; p <= n; ++p) order[static_cast<std::size_t>(p - 1)] = rows[static_cast<std::size_t>(p - 1)].row;
}

}  // namespace

void sort_i(std::span<const std::int32_t> keys, std::int32_t n, std::span<std::int32_t> order) {
    index_sort(keys, n, order);
}

void sort_r(std::span<const float> keys, std::int32_t n, std::span<std::int32_t> order) {
    index_sort(keys, n, order);
}

void in_sort(std::span<const std::int32_t> keys, std::int32_t n, std::span<const std::int32_t> list,
             std::span<std::int32_t> sorted_list) {
    if (n < 1 || keys.empty()) return;
    if (static_cast<std::size_t>(n) > list.size() || static_cast<std::size_t>(n) > sorted_list.size()) return;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t li = list[static_cast<std::size_t>(i)];
        if (li < 1 || static_cast<std::size_t>(li) > keys.size()) return;
    }
    const auto [kmin_it, kmax_it] = std::minmax_element(keys.begin(), keys.end());
    const std::int64_t kmin = *kmin_it;
    const std::int64_t range = static_cast<std::int64_t>(*kmax_it) - kmin + 1;
    std::vector<std::int32_t> count(static_cast<std::size_t>(range), 0);
    auto slot = [&](std::int32_t li) {
        return static_cast<std::size_t>(keys[static_cast<std::size_t>(li - 1)] - kmin);
    };
    for (std::int32_t i = 0; i < n; ++i) ++count[slot(list[static_cast<std::size_t>(i)])];
    std::int32_t running = 0;
    for (auto& c : count) {
        const std::int32_t here = c;
        c = running;
        running += here;
    }
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t li = list[static_cast<std::size_t>(i)];
        const std::size_t m = slot(li);
        ++count[m];
        sorted_list[static_cast<std::size_t>(count[m] - 1)] = li;
    }
}

namespace {

// Texts compare by unsigned character codes, the shorter padded with blanks.
int compare_texts(const std::string& a, const std::string& b) {
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t k = 0; k < n; ++k) {
        const unsigned char ca = k < a.size() ? static_cast<unsigned char>(a[k]) : ' ';
        const unsigned char cb = k < b.size() ? static_cast<unsigned char>(b[k]) : ' ';
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return 0;
}

// Hoare partition with the first text as pivot, on texts[first .. last]
// (0-based, inclusive); returns the 1-based marker relative to `first`.
std::int32_t partition_range(std::span<std::string> texts) {
    const std::string x = texts[0];
    std::int64_t i = 0;
    std::int64_t j = static_cast<std::int64_t>(texts.size()) + 1;
    auto at = [&](std::int64_t p) -> std::string& { return texts[static_cast<std::size_t>(p - 1)]; };
    for (;;) {
        do --j; while (compare_texts(at(j), x) > 0);
        do ++i; while (compare_texts(at(i), x) < 0);
        if (i < j) {
            std::swap(at(i), at(j));
        } else {
            return static_cast<std::int32_t>(i == j ? i + 1 : i);
        }
    }
}

}  // namespace

void partition(std::span<std::string> texts, std::int32_t& marker) {
    if (texts.empty()) {
        marker = 0;
        return;
    }
    marker = partition_range(texts);
}

void sort_strings(std::span<std::string> texts) {
    // Recurse into the smaller part and loop over the larger: the same order,
    // with a stack depth bounded by log2 of the size.
    while (texts.size() > 1) {
        const std::size_t marker = static_cast<std::size_t>(partition_range(texts));
        std::span<std::string> left = texts.subspan(0, marker - 1);
        std::span<std::string> right = texts.subspan(marker - 1);
        if (left.size() < right.size()) {
            sort_strings(left);
            texts = right;
        } else {
            sort_strings(right);
            texts = left;
        }
    }
}

}  // namespace vorn_math_general
