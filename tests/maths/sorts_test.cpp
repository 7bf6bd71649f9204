// The index sorts leave equal keys in the published order (the statistics
// pair Friedel mates by it), always return a non-decreasing permutation, and
// the counting and text sorts order as stated.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;

namespace {

std::vector<std::int32_t> sorted_i(const std::vector<std::int32_t>& keys) {
    std::vector<std::int32_t> order(keys.size(), -99);
    sort_i(keys, static_cast<std::int32_t>(keys.size()), order);
    return order;
}

std::vector<std::int32_t> sorted_r(const std::vector<float>& keys) {
    std::vector<std::int32_t> order(keys.size(), -99);
    sort_r(keys, static_cast<std::int32_t>(keys.size()), order);
    return order;
}

using V = std::vector<std::int32_t>;

}  // namespace

TEST(IndexSort, PublishedTieOrders) {
    EXPECT_EQ(sorted_i(V(8, 4)), (V{6, 4, 7, 1, 5, 2, 3, 8}));
    EXPECT_EQ(sorted_r(std::vector<float>(8, 1.5f)), (V{6, 4, 7, 1, 5, 2, 3, 8}));
    EXPECT_EQ(sorted_i(V(10, 0)), (V{7, 5, 9, 8, 1, 6, 2, 4, 3, 10}));
    EXPECT_EQ(sorted_r(std::vector<float>{0.5f, 0.25f, 0.5f, 0.25f, 0.5f, 0.25f, 0.5f}),
              (V{2, 4, 6, 1, 3, 5, 7}));
    EXPECT_EQ(sorted_i(V{3, 1, 2, 3, 1, 2, 3, 1, 2, 3}), (V{8, 5, 2, 3, 9, 6, 1, 7, 4, 10}));
    EXPECT_EQ(sorted_i(V{2, 1, 2, 1, 2, 1, 2, 1}), (V{6, 4, 8, 2, 5, 3, 7, 1}));
    EXPECT_EQ(sorted_i(V{5, 4, 3, 2, 1, 0, -1, -2, -3}), (V{9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(sorted_i(V{42}), (V{1}));
}

TEST(IndexSort, SmallAndInvalidCounts) {
    for (std::int32_t n : {0, -3}) {
        std::vector<std::int32_t> order{7, 8, 9};
        err_mathgen = true;
        sort_i(V{3, 2, 1}, n, order);
        EXPECT_EQ(order, (V{7, 8, 9})) << "n = " << n;
        EXPECT_FALSE(err_mathgen);
    }
    // Only positions 1..n are written.
    std::vector<std::int32_t> order{0, 0, 0, 55};
    sort_r(std::vector<float>{3.0f, 1.0f, 2.0f, 0.0f}, 3, order);
    EXPECT_EQ(order, (V{2, 3, 1, 55}));
    // A count beyond the arrays is refused, never read past them.
    std::vector<std::int32_t> short_order{9, 9};
    sort_i(V{1, 2, 3}, 3, short_order);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(short_order, (V{9, 9}));
    sort_i(V{1, 2}, 3, order);
    EXPECT_TRUE(err_mathgen);
}

TEST(IndexSort, RandomKeysGiveNonDecreasingPermutations) {
    std::mt19937 gen(20261206);
    for (int trial = 0; trial < 300; ++trial) {
        const std::size_t n = 1 + gen() % 400;
        const std::int32_t range = 1 + static_cast<std::int32_t>(gen() % 50);
        std::vector<std::int32_t> ki(n);
        std::vector<float> kr(n);
        for (std::size_t p = 0; p < n; ++p) {
            ki[p] = static_cast<std::int32_t>(gen() % static_cast<unsigned>(range)) - range / 2;
            kr[p] = static_cast<float>(ki[p]) * 0.37f;
        }
        const auto oi = sorted_i(ki);
        const auto orr = sorted_r(kr);
        EXPECT_FALSE(err_mathgen);
        // Real keys proportional to the integer ones give the same order.
        EXPECT_EQ(oi, orr) << "trial " << trial;
        auto perm = oi;
        std::sort(perm.begin(), perm.end());
        std::vector<std::int32_t> expect(n);
        std::iota(expect.begin(), expect.end(), 1);
        ASSERT_EQ(perm, expect) << "trial " << trial;
        for (std::size_t p = 1; p < n; ++p)
            ASSERT_LE(ki[static_cast<std::size_t>(oi[p - 1] - 1)], ki[static_cast<std::size_t>(oi[p] - 1)])
                << "trial " << trial << " position " << p;
    }
}

TEST(IndexSort, NaNKeysStillGiveAPermutation) {
    std::mt19937 gen(99);
    const float nan_f = std::numeric_limits<float>::quiet_NaN();
    for (int trial = 0; trial < 200; ++trial) {
        const std::size_t n = 1 + gen() % 60;
        std::vector<float> keys(n);
        for (auto& k : keys) k = (gen() % 4 == 0) ? nan_f : static_cast<float>(gen() % 7);
        auto order = sorted_r(keys);
        std::sort(order.begin(), order.end());
        std::vector<std::int32_t> expect(n);
        std::iota(expect.begin(), expect.end(), 1);
        ASSERT_EQ(order, expect) << "trial " << trial;
    }
}

TEST(CountingSort, OrdersListByKeyKeepingListOrderOfTies) {
    V keys{5, 3, 5, 1};
    V out(4, 0);
    in_sort(keys, 4, V{1, 2, 3, 4}, out);
    EXPECT_EQ(out, (V{4, 2, 1, 3}));
    V out2{0, 0, 77};
    in_sort(keys, 2, V{3, 1}, out2);
    EXPECT_EQ(out2, (V{3, 1, 77}));
    // Empty keys or impossible indices leave the output untouched.
    V out3{9, 9};
    in_sort(V{}, 2, V{1, 2}, out3);
    EXPECT_EQ(out3, (V{9, 9}));
    in_sort(keys, 2, V{1, 5}, out3);
    EXPECT_EQ(out3, (V{9, 9}));
    in_sort(V{-2147483647 - 1, 2147483647}, 0, V{}, out3);
    EXPECT_EQ(out3, (V{9, 9}));
}

TEST(TextSort, SortsAndPartitions) {
    std::vector<std::string> t{"b", "a", "c", "a"};
    sort_strings(t);
    EXPECT_EQ(t, (std::vector<std::string>{"a", "a", "b", "c"}));
    std::vector<std::string> p{"b", "a"};
    std::int32_t marker = 0;
    partition(p, marker);
    EXPECT_EQ(p, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(marker, 2);
    // Unsigned character codes and blank padding.
    std::vector<std::string> u{"\xe9t", "zz", "ab ", "ab", "Ab"};
    sort_strings(u);
    EXPECT_EQ(u[0], "Ab");
    EXPECT_EQ(u[3], "zz");
    EXPECT_EQ(u[4], "\xe9t");
    // Long input already in order: bounded recursion, still sorted.
    std::vector<std::string> many(3000);
    for (std::size_t k = 0; k < many.size(); ++k) {
        std::string digits = std::to_string(k);
        many[k] = std::string(6 - digits.size(), '0') + digits;
    }
    auto expect = many;
    sort_strings(many);
    EXPECT_EQ(many, expect);
    std::vector<std::string> empty;
    sort_strings(empty);
    EXPECT_TRUE(empty.empty());
}
