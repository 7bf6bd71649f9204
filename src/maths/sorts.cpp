// Index sorts of integer and real keys (quicksort with median-of-three and
// straight insertion for short stretches), the counting sort of an index list
// and the in-place sort of fixed-width texts.  The statistics program pairs
// Friedel mates in the order these sorts leave equal keys, so the sequence of
// comparisons and exchanges below is fixed and must not be "improved".
#include <algorithm>
#include <string>

#include "maths/math_gen.hpp"

namespace vorn_math_general {

namespace {

constexpr std::int32_t stack_size = 50;   // pending stretches, stored in pairs
constexpr std::int32_t insertion_limit = 7;  // r - l < 7: straight insertion

template <class K>
void index_sort(std::span<const K> keys, std::int32_t n, std::span<std::int32_t> order) {
    init_err_mathgen();
    if (n < 1) return;
    if (static_cast<std::size_t>(n) > keys.size() || static_cast<std::size_t>(n) > order.size()) {
        err_mathgen = true;
        err_mathgen_mess = " Number of items larger than the arrays in SORT";
        return;
    }
    // 1-based views: ord(p) is order(p), key(p) is keys(order(p)).
    auto ord = [&](std::int32_t p) -> std::int32_t& { return order[static_cast<std::size_t>(p - 1)]; };
    auto key = [&](std::int32_t p) -> K { return keys[static_cast<std::size_t>(ord(p) - 1)]; };
    auto exchange = [&](std::int32_t p, std::int32_t q) { std::swap(ord(p), ord(q)); };

    for (std::int32_t p = 1; p <= n; ++p) ord(p) = p;

    std::array<std::int32_t, stack_size> stack{};
    std::int32_t top = 0;
    std::int32_t l = 1;
    std::int32_t r = n;
    for (;;) {
        if (r - l < insertion_limit) {
            for (std::int32_t p = l + 1; p <= r; ++p) {
                const std::int32_t t = ord(p);
                const K k = keys[static_cast<std::size_t>(t - 1)];
                std::int32_t q = p - 1;
                while (q >= 1 && key(q) > k) {
                    ord(q + 1) = ord(q);
                    --q;
                }
                ord(q + 1) = t;
            }
            if (top == 0) return;
            r = stack[static_cast<std::size_t>(top - 1)];
            l = stack[static_cast<std::size_t>(top - 2)];
            top -= 2;
            continue;
        }
        // Median of three: afterwards key(l+1) <= key(l) <= key(r), the
        // pivot at l.
        const std::int32_t m = (l + r) / 2;
        exchange(m, l + 1);
        if (key(l + 1) > key(r)) exchange(l + 1, r);
        if (key(l) > key(r)) exchange(l, r);
        if (key(l + 1) > key(l)) exchange(l + 1, l);
        const std::int32_t v = ord(l);
        const K a = keys[static_cast<std::size_t>(v - 1)];
        std::int32_t i = l + 1;
        std::int32_t j = r;
        for (;;) {
            do ++i; while (key(i) < a);
            do --j; while (key(j) > a);
            if (j < i) break;
            exchange(i, j);
        }
        ord(l) = ord(j);
        ord(j) = v;
        if (top + 2 > stack_size) {
            err_mathgen = true;
            err_mathgen_mess = " NSTACK too small in SORT";
            return;
        }
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
