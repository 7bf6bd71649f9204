// The index sorts move keys with their rows and list the stops of each
// partition in blocks; the order they leave must be the one of the plain
// quicksort that looks every key up through the order, equal keys included:
// random lists with and without ties, sorted and reversed runs, NaN keys.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;

namespace {

// The quicksort as stated: median of three, the pivot at l, stops at keys
// not below / not above the pivot, straight insertion below 7, the longer
// stretch waiting on the stack.
template <class K>
std::vector<std::int32_t> stated_index_sort(const std::vector<K>& keys) {
    const auto n = static_cast<std::int32_t>(keys.size());
    std::vector<std::int32_t> order(keys.size());
    auto ord = [&](std::int32_t p) -> std::int32_t& { return order[static_cast<std::size_t>(p - 1)]; };
    auto key = [&](std::int32_t p) { return keys[static_cast<std::size_t>(ord(p) - 1)]; };
    for (std::int32_t p = 1; p <= n; ++p) ord(p) = p;
    std::array<std::int32_t, 50> stack{};
    std::int32_t top = 0, l = 1, r = n;
    for (;;) {
        if (r - l < 7) {
            for (std::int32_t p = l + 1; p <= r; ++p) {
                const std::int32_t t = ord(p);
                const K k = keys[static_cast<std::size_t>(t - 1)];
                std::int32_t q = p - 1;
                for (; q >= 1 && key(q) > k; --q) ord(q + 1) = ord(q);
                ord(q + 1) = t;
            }
            if (top == 0) return order;
            r = stack[static_cast<std::size_t>(--top)];
            l = stack[static_cast<std::size_t>(--top)];
            continue;
        }
        const std::int32_t m = (l + r) / 2;
        std::swap(ord(m), ord(l + 1));
        if (key(l + 1) > key(r)) std::swap(ord(l + 1), ord(r));
        if (key(l) > key(r)) std::swap(ord(l), ord(r));
        if (key(l + 1) > key(l)) std::swap(ord(l + 1), ord(l));
        const std::int32_t v = ord(l);
        const K a = keys[static_cast<std::size_t>(v - 1)];
        std::int32_t i = l + 1, j = r;
        for (;;) {
            do ++i; while (key(i) < a);
            do --j; while (key(j) > a);
            if (j < i) break;
            std::swap(ord(i), ord(j));
        }
        ord(l) = ord(j);
        ord(j) = v;
        if (r - i + 1 >= j - l) {
            stack[static_cast<std::size_t>(top++)] = i;
            stack[static_cast<std::size_t>(top++)] = r;
            r = j - 1;
        } else {
            stack[static_cast<std::size_t>(top++)] = l;
            stack[static_cast<std::size_t>(top++)] = j - 1;
            l = i;
        }
    }
}

}  // namespace

TEST(IndexSortEquivalence, SameOrderAsTheStatedSortWithAndWithoutTies) {
    // distinct: keys of 2^31 values; values: how many distinct keys (ties when small).
    struct Case { std::int32_t n; std::uint32_t values; char shape; };
    const Case cases[] = {
        {1, 0, 'r'}, {2, 2, 'r'}, {7, 3, 'r'}, {8, 8, 'r'}, {129, 0, 'r'}, {300, 0, 'r'}, {300, 5, 'r'},
        {5000, 0, 'r'}, {5000, 2, 'r'}, {5000, 40, 'r'}, {5000, 2500, 'r'}, {100000, 0, 'r'}, {100000, 1000, 'r'},
        {300000, 0, 'r'}, {300000, 150000, 'r'}, {20000, 0, 's'}, {20000, 0, 'd'}, {20000, 7, 's'}, {20000, 1, 'r'},
        {20000, 0, 'p'},  // two interleaved runs, each key twice: Friedel keys
    };
    std::mt19937 random(20261206u);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n=" << c.n << " values=" << c.values << " shape=" << c.shape);
        std::vector<std::int32_t> ints(static_cast<std::size_t>(c.n));
        for (std::int32_t p = 0; p < c.n; ++p) {
            const std::uint32_t draw = random();
            std::int32_t k = c.values == 0 ? static_cast<std::int32_t>(draw >> 1) : static_cast<std::int32_t>(draw % c.values);
            if (c.shape == 's') k = c.values == 0 ? p : p % static_cast<std::int32_t>(c.values);
            if (c.shape == 'd') k = c.n - p;
            if (c.shape == 'p') k = static_cast<std::int32_t>(p % 2 == 0 ? p : c.n - p);
            ints[static_cast<std::size_t>(p)] = k - (c.values == 0 ? 0 : static_cast<std::int32_t>(c.values / 2));
        }
        std::vector<float> reals(ints.size());
        for (std::size_t p = 0; p < ints.size(); ++p) reals[p] = -static_cast<float>(ints[p]) / 1024.0f;
        std::vector<std::int32_t> order(ints.size(), -9);
        sort_i(ints, c.n, order);
        ASSERT_FALSE(err_mathgen);
        ASSERT_EQ(order, stated_index_sort(ints));
        sort_r(reals, c.n, order);
        ASSERT_EQ(order, stated_index_sort(reals));
    }
}

TEST(IndexSortEquivalence, NaNKeysLeaveTheSameOrder) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::mt19937 random(7u);
    for (const std::uint32_t every : {2u, 5u, 50u, 1000u, 100000u}) {
        SCOPED_TRACE(every);
        std::vector<float> keys(every == 100000u ? 70000 : 20000);  // the long list: sorted on threads were it not for NaN
        for (float& k : keys) k = random() % every == 0 ? nan : static_cast<float>(random() % 997);
        std::vector<std::int32_t> order(keys.size());
        sort_r(keys, static_cast<std::int32_t>(keys.size()), order);
        ASSERT_EQ(order, stated_index_sort(keys));
    }
}
