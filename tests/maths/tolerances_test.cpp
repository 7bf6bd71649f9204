// The tolerance tests, exact comparisons, traces and the reduction into the
// cell behave as space-group construction expects, at the epss boundary too.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;

namespace {
const float nan_f = std::numeric_limits<float>::quiet_NaN();
}

TEST(Tolerances, StateDefaultsAndReset) {
    EXPECT_EQ(epss, 1.0e-5f);
    set_epsg(0.5f);
    EXPECT_EQ(epss, 0.5f);
    EXPECT_TRUE(negligibler(0.4f));
    set_epsg_default();
    EXPECT_EQ(epss, 1.0e-5f);
    err_mathgen = true;
    err_mathgen_mess = "x";
    init_err_mathgen();
    EXPECT_FALSE(err_mathgen);
    EXPECT_TRUE(err_mathgen_mess.empty());
}

TEST(Tolerances, ScalarTestsAtTheBoundary) {
    EXPECT_TRUE(negligibler(1.0e-5f));
    EXPECT_TRUE(negligibler(-1.0e-5f));
    EXPECT_FALSE(negligibler(std::nextafter(1.0e-5f, 1.0f)));
    EXPECT_TRUE(negligibler(nan_f));
    EXPECT_TRUE(negligiblec({3.0e-6f, 4.0e-6f}));
    EXPECT_FALSE(negligiblec({6.0e-6f, 9.0e-6f}));
    EXPECT_TRUE(negligiblec({nan_f, 0.0f}));
    EXPECT_FALSE(negligiblec({3.0e38f, 3.0e38f}));  // no overflow to a NaN-free false
    EXPECT_TRUE(negligiblec({1.0e-30f, -1.0e-30f}));

    EXPECT_FALSE(zbelongn(2.99999f));
    EXPECT_TRUE(zbelongn(2.999991f));
    EXPECT_FALSE(zbelongn(0.5f));
    EXPECT_TRUE(zbelongn(-7.0f));
    EXPECT_TRUE(zbelongn(nan_f));
    // Beyond 2^23 every float is an integer; beyond 2^31 nint is not asked.
    EXPECT_FALSE(zbelongn(8388607.5f));
    EXPECT_TRUE(zbelongn(8388608.0f));
    EXPECT_TRUE(zbelongn(3.0e9f));
    EXPECT_TRUE(zbelongn(-1.0e30f));
    EXPECT_TRUE(zbelongn(std::numeric_limits<float>::infinity()));
}

TEST(Tolerances, ArrayTests) {
    EXPECT_TRUE(zbelongv(std::vector<float>{}));
    EXPECT_TRUE(zbelongv(std::vector<float>{1.0f, -2.000001f, 0.0f}));
    EXPECT_FALSE(zbelongv(std::vector<float>{1.0f, 0.5f, 0.0f}));
    EXPECT_TRUE(zbelongm(Matrix<float>{}));
    EXPECT_TRUE(zbelongm(Matrix<float>{{1.0f, 2.0f}, {3.0f, 4.000001f}}));
    EXPECT_FALSE(zbelongm(Matrix<float>{{1.0f, 2.0f}, {3.0f, 4.25f}}));

    std::array<std::array<std::int32_t, 3>, 3> a{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    auto b = a;
    b[2][1] = 5;
    b[1][2] = 7;
    EXPECT_TRUE(equal_matrix_i(a, b, 2));
    EXPECT_FALSE(equal_matrix_i(a, b, 3));
    EXPECT_TRUE(equal_matrix_i(a, b, 0));
    EXPECT_TRUE(equal_matrix_i(a, b, -3));
    const std::int32_t c_style[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    EXPECT_TRUE(equal_matrix_i(a, c_style, 3));

    Matrix<float> r{{1.0f, 2.0f}, {3.0f, 4.0f}};
    Matrix<float> s{{1.000005f, 2.0f}, {3.0f, 4.0f + nan_f}};
    EXPECT_TRUE(equal_matrix_r(r, s, 2));  // a NaN finds no difference above epss
    s.at1(1, 2) = 2.0001f;
    EXPECT_FALSE(equal_matrix_r(r, s, 2));
    EXPECT_TRUE(equal_matrix_r(r, s, 1));

    std::array<std::int32_t, 3> u{1, 2, 3};
    std::array<std::int32_t, 3> v{1, 2, 4};
    EXPECT_TRUE(equal_vector_i(u, v, 2));
    EXPECT_FALSE(equal_vector_i(u, v, 3));
    EXPECT_TRUE(equal_vector_i(u, v, 0));
    std::array<float, 2> x{0.5f, 0.25f};
    std::array<float, 2> y{0.500005f, 0.2501f};
    EXPECT_TRUE(equal_vector_r(x, y, 1));
    // Sizes beyond the arrays are answered "not equal", never read.
    EXPECT_FALSE(equal_vector_i(u, v, 4));
    EXPECT_FALSE(equal_vector_r(x, x, 3));
    EXPECT_FALSE(equal_matrix_i(a, a, 4));
    EXPECT_FALSE(equal_matrix_r(r, r, 3));
    EXPECT_FALSE(equal_vector_r(x, y, 2));
}

TEST(Tolerances, BoxTests) {
    Matrix<std::int32_t> lim{{0, -1}, {5, 1}};
    EXPECT_TRUE(in_limits_int(2, lim, std::vector<std::int32_t>{0, 1}));
    EXPECT_FALSE(in_limits_int(2, lim, std::vector<std::int32_t>{6, 0}));
    EXPECT_FALSE(in_limits_int(2, lim, std::vector<std::int32_t>{3, -2}));
    EXPECT_TRUE(in_limits_int(0, lim, std::vector<std::int32_t>{}));
    EXPECT_FALSE(in_limits_int(3, lim, std::vector<std::int32_t>{0, 0, 0}));
    EXPECT_FALSE(in_limits_int(2, lim, std::vector<std::int32_t>{0}));
    EXPECT_TRUE(in_limits_int(-1, Matrix<std::int32_t>{}, std::vector<std::int32_t>{}));

    Matrix<float> lims{{0.0f, 0.0f}, {1.0f, 0.5f}};
    EXPECT_TRUE(in_limits_sp(2, lims, std::vector<float>{1.0f, 0.0f}));
    EXPECT_FALSE(in_limits_sp(2, lims, std::vector<float>{0.5f, nan_f}));
    Matrix<double> limd{{0.0, 0.0}, {1.0, 0.5}};
    EXPECT_TRUE(in_limits_dp(2, limd, std::vector<double>{0.5, 0.5}));
    EXPECT_FALSE(in_limits_dp(1, limd, std::vector<double>{std::nan("")}));
}

TEST(Tolerances, Traces) {
    Matrix<std::int32_t> a{{1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ(trace_i(a), 6);
    EXPECT_EQ(trace_i(Matrix<std::int32_t>{}), 0);
    Matrix<std::int32_t> big{{2147483647, 0}, {0, 2}};
    EXPECT_EQ(trace_i(big), -2147483647);  // wraps modulo 2^32
    std::array<std::array<std::int32_t, 3>, 3> rot{{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}};
    EXPECT_EQ(trace_i(rot), 0);

    // Accumulated in double: 1 + 2^-24 + 2^-24 rounds once to 1 + 2^-23.
    Matrix<float> r{{1.0f, 0.0f, 0.0f}, {0.0f, 0x1p-24f, 0.0f}, {0.0f, 0.0f, 0x1p-24f}};
    EXPECT_EQ(trace_r(r), 1.0f + 0x1p-23f);
    EXPECT_EQ(trace_r(Matrix<float>{}), 0.0f);
    Matrix<std::complex<float>> c{{{1.0f, 2.0f}, {9.0f, 9.0f}}, {{9.0f, 9.0f}, {3.0f, -5.0f}}};
    EXPECT_EQ(trace_c(c), std::complex<float>(4.0f, -3.0f));
}

TEST(Tolerances, ReductionIntoTheCell) {
    auto a = modulo_lat(std::array<float, 3>{1.25f, -1.25f, -0.0000001f});
    EXPECT_EQ(a[0], 0.25f);
    EXPECT_EQ(a[1], 0.75f);
    EXPECT_EQ(a[2], 0.0f);
    auto b = modulo_lat(std::vector<float>{-10.0f, -10.3f, -20.5f, 0.99999994f, -5.0e-7f});
    ASSERT_EQ(b.size(), 5u);
    EXPECT_EQ(b[0], 0.0f);
    EXPECT_NEAR(b[1], -0.3000002f, 1e-7f);
    EXPECT_EQ(b[1], -10.3f + 10.0f - (-0.0f));
    EXPECT_EQ(b[2], -0.5f);
    EXPECT_EQ(b[3], 0.0f);
    EXPECT_EQ(b[4], 0.99999905f);
    EXPECT_TRUE(modulo_lat(std::vector<float>{}).empty());
}
