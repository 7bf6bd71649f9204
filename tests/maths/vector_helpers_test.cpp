// Exchanges, first extreme positions, bisection brackets, metric lengths and
// outer products, with the failure value for mismatched sizes.
#include <gtest/gtest.h>

#include <array>
#include <complex>
#include <limits>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;
using VI = std::vector<std::int32_t>;
using VF = std::vector<float>;

TEST(VectorHelpers, Exchanges) {
    std::int32_t i = 1, j = 2;
    swap_i(i, j);
    EXPECT_EQ(i, 2);
    EXPECT_EQ(j, 1);
    float x = 1, y = 2;
    masked_swap_r(x, y, false);
    EXPECT_EQ(x, 1.0f);
    masked_swap_r(x, y, true);
    EXPECT_EQ(x, 2.0f);
    swap_r(x, y);
    EXPECT_EQ(x, 1.0f);
    std::complex<float> c1(1, 2), c2(3, 4);
    swap_c(c1, c2);
    EXPECT_EQ(c1, std::complex<float>(3, 4));

    VF a{1, 2, 3}, b{4, 5, 6};
    std::array<bool, 3> mask{true, false, true};
    masked_swap_rv(a, b, mask);
    EXPECT_EQ(a, (VF{4, 2, 6}));
    EXPECT_EQ(b, (VF{1, 5, 3}));
    swap_rv(a, b);
    EXPECT_EQ(a, (VF{1, 5, 3}));
    VF shorter{9};
    swap_rv(a, shorter);  // different sizes: refused
    EXPECT_EQ(shorter, (VF{9}));
    VI p{1, 2}, q{3, 4};
    swap_iv(p, q);
    EXPECT_EQ(p, (VI{3, 4}));

    // Two rows of one matrix, passed as sections.
    Matrix<float> m{{1, 2}, {3, 4}};
    swap_rv(std::span<float>(&m.at1(1, 1), 2), std::span<float>(&m.at1(2, 1), 2));
    EXPECT_EQ(m, (Matrix<float>{{3, 4}, {1, 2}}));
    Matrix<float> n{{5, 6}, {7, 8}};
    swap_rm(m, n);
    EXPECT_EQ(m, (Matrix<float>{{5, 6}, {7, 8}}));
    std::array<std::array<bool, 2>, 2> mm{{{true, false}, {false, true}}};
    masked_swap_rm(m, n, mm);
    EXPECT_EQ(m, (Matrix<float>{{3, 6}, {7, 2}}));
    EXPECT_EQ(n, (Matrix<float>{{5, 4}, {1, 8}}));
    Matrix<std::int32_t> mi{{1}}, ni{{2}};
    swap_im(mi, ni);
    EXPECT_EQ(mi.at1(1, 1), 2);
}

TEST(VectorHelpers, ExtremePositions) {
    EXPECT_EQ(imaxloc_i(VI{3, 7, 7, 1}), 2);
    EXPECT_EQ(iminloc_r(VF{2.0f, -1.0f, -1.0f}), 2);
    EXPECT_EQ(iminloc_i(VI{5, 4, 4}), 2);
    EXPECT_EQ(imaxloc_r(VF{1.0f, 9.0f, 9.0f}), 2);
    EXPECT_EQ(imaxloc_i(VI{}), 0);
    EXPECT_EQ(iminloc_r(VF{}), 0);
}

TEST(VectorHelpers, Bisection) {
    const VI t{10, 20, 30, 40};
    const std::vector<std::pair<std::int32_t, std::int32_t>> cases{{5, 1}, {10, 1}, {15, 1}, {20, 1}, {25, 2},
                                                                    {30, 2}, {40, 4}, {99, 4}, {35, 3}};
    for (auto [x, want] : cases) {
        EXPECT_EQ(locate_i(t, 4, x), want) << "x = " << x;
        EXPECT_EQ(locate_ib(t, x), want) << "x = " << x;
    }
    const VF r{1, 2, 2, 2, 5};
    EXPECT_EQ(locate_r(r, 5, 2.0f), 1);
    EXPECT_EQ(locate_r(r, 5, 3.0f), 4);
    EXPECT_EQ(locate_rb(r, 3.0f), 4);
    init_err_mathgen();
    EXPECT_EQ(locate_i(t, 0, 15), 0);
    EXPECT_TRUE(err_mathgen);
    init_err_mathgen();
    EXPECT_EQ(locate_r(r, 9, 3.0f), 0);
    EXPECT_TRUE(err_mathgen);
    init_err_mathgen();
    EXPECT_EQ(locate_ib(VI{}, 3), 0);
    EXPECT_TRUE(err_mathgen);
}

TEST(VectorHelpers, MetricAndOuterProducts) {
    const float failure = std::numeric_limits<float>::min();
    Matrix<float> g{{4, 0, 0}, {0, 9, 0}, {0, 0, 16}};
    EXPECT_EQ(norm_r(VF{1, 0, 0}, g), 2.0f);
    EXPECT_EQ(norm_i(VI{0, 1, 1}, g), 5.0f);
    Matrix<float> h{{1, 0.5f, 0}, {0.5f, 1, 0}, {0, 0, 1}};
    EXPECT_EQ(scalar_r(VF{1, 0, 0}, VF{0, 1, 0}, h), 0.5f);
    EXPECT_EQ(scalar_i(VI{1, 1, 0}, VI{1, 0, 0}, h), 1.5f);
    Matrix<float> g2{{1, 0}, {0, 1}};
    EXPECT_EQ(norm_r(VF{1, 0, 0}, g2), failure);
    EXPECT_EQ(scalar_i(VI{1, 0, 0}, VI{1, 0}, g), failure);
    EXPECT_TRUE(std::isnan(norm_r(VF{1, 0}, Matrix<float>{{-1, 0}, {0, 1}})));

    auto o = outerprod_sp(VF{1, 2}, VF{3, 4, 5});
    EXPECT_EQ(o, (Matrix<float>{{3, 4, 5}, {6, 8, 10}}));
    auto od = outerprod_dp(std::vector<double>{0.5}, std::vector<double>{2, 4});
    EXPECT_EQ(od, (Matrix<double>{{1, 2}}));
    EXPECT_EQ(outerprod_sp(VF{}, VF{1}).rows, 0);
}
