// Cubic splines against closed forms (a clamped spline reproduces a cubic;
// the natural spline through 4 points solved by hand), derivatives, the
// binomial smoothing and equally spaced points on a segment.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;
using VF = std::vector<float>;

namespace {

double cubic(double x) { return 0.5 * x * x * x - 2.0 * x * x + x + 3.0; }
double cubic_slope(double x) { return 1.5 * x * x - 4.0 * x + 1.0; }
double cubic_curvature(double x) { return 3.0 * x - 4.0; }

}  // namespace

TEST(Splines, WorkedExamples) {
    VF d2(2, 9.0f);
    spline(VF{0, 1}, VF{3, 5}, 2, 1.0e31f, 1.0e31f, d2);
    EXPECT_EQ(d2, (VF{0, 0}));
    VF d3(3);
    spline(VF{0, 1, 2}, VF{0, 1, 0}, 3, 1.0e31f, 1.0e31f, d3);
    EXPECT_EQ(d3, (VF{0, -3, 0}));
    // y = 2x with clamped slopes 2: all zero; a slope of exactly 1e30 is clamped.
    VF d4(4);
    spline(VF{0, 1, 3, 4}, VF{0, 2, 6, 8}, 4, 2.0f, 2.0f, d4);
    for (float v : d4) EXPECT_NEAR(v, 0.0f, 1e-6f);
    spline(VF{0, 1}, VF{0, 0}, 2, 1.0e30f, 1.0e31f, d2);
    EXPECT_NE(d2[0], 0.0f);
    second_derivative(VF{0, 1}, VF{3, 5}, 2, d2);
    EXPECT_EQ(d2, (VF{0, 0}));
    second_derivative(VF{0, 1, 3, 4}, VF{1, 3, 7, 9}, 4, d4);
    for (float v : d4) EXPECT_NEAR(v, 0.0f, 1e-6f);

    // splint at the knots gives the ordinates; first derivatives of a line.
    const VF x{0, 1, 3, 4}, y{1, 3, 7, 9};
    for (std::size_t k = 0; k < x.size(); ++k) {
        float at = 0;
        splint(x, y, d4, 4, x[k], at);
        EXPECT_NEAR(at, y[k], 1e-6f) << "knot " << k;
    }
    float beyond = 0;
    splint(x, y, d4, 4, 6.0f, beyond);
    EXPECT_NEAR(beyond, 13.0f, 1e-5f);
    VF d1(4);
    first_derivative(x, y, 4, d4, d1);
    for (float v : d1) EXPECT_NEAR(v, 2.0f, 1e-5f);
}

TEST(Splines, ClampedReproducesACubic) {
    const VF x{-1.0f, 0.5f, 2.0f, 4.0f};
    VF y;
    for (float t : x) y.push_back(float(cubic(t)));
    VF d2(4);
    spline(x, y, 4, float(cubic_slope(-1.0)), float(cubic_slope(4.0)), d2);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(d2[k], cubic_curvature(x[k]), 2e-4) << "knot " << k;
    for (float t = -1.0f; t <= 4.0f; t += 0.125f) {
        float at = 0;
        splint(x, y, d2, 4, t, at);
        EXPECT_NEAR(at, cubic(t), 2e-5 * 10) << "x = " << t;
    }
    VF d1(4);
    first_derivative(x, y, 4, d2, d1);
    // Central differences of a cubic over a step h: p' + p''' h^2 / 24.
    const std::array<double, 4> steps{1.5, 1.5, 2.0, 2.0};
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_NEAR(d1[k], cubic_slope(x[k]) + 3.0 * steps[k] * steps[k] / 24.0, 2e-4) << "knot " << k;
}

TEST(Splines, NaturalSplineThroughFourPoints) {
    const std::array<double, 4> xd{0.0, 1.0, 2.5, 4.0}, yd{1.0, -0.5, 2.0, 0.25};
    // Interior second derivatives from the 2x2 system
    // h1 M1 + 2(h1+h2) M2 + h2 M3 = 6(s2 - s1), with M1 = M4 = 0.
    const double h1 = xd[1] - xd[0], h2 = xd[2] - xd[1], h3 = xd[3] - xd[2];
    const double s1 = (yd[1] - yd[0]) / h1, s2 = (yd[2] - yd[1]) / h2, s3 = (yd[3] - yd[2]) / h3;
    const double a11 = 2 * (h1 + h2), a12 = h2, a21 = h2, a22 = 2 * (h2 + h3);
    const double r1 = 6 * (s2 - s1), r2 = 6 * (s3 - s2);
    const double det = a11 * a22 - a12 * a21;
    const std::array<double, 4> m{0.0, (r1 * a22 - a12 * r2) / det, (a11 * r2 - a21 * r1) / det, 0.0};
    VF x(xd.begin(), xd.end()), y(yd.begin(), yd.end()), d2(4);
    spline(x, y, 4, 2.0e30f, 5.0e30f, d2);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(d2[k], m[k], 1e-5) << "knot " << k;
    for (double t = 0.0; t <= 4.0; t += 0.2) {
        std::size_t i = t < xd[1] ? 0 : (t < xd[2] ? 1 : 2);
        const double h = xd[i + 1] - xd[i];
        const double a = (xd[i + 1] - t) / h, b = (t - xd[i]) / h;
        const double want = a * yd[i] + b * yd[i + 1] + ((a * a * a - a) * m[i] + (b * b * b - b) * m[i + 1]) * h * h / 6;
        float at = 0;
        splint(x, y, d2, 4, float(t), at);
        EXPECT_NEAR(at, want, 1e-5) << "x = " << t;
    }
}

TEST(Splines, TooFewKnotsAreRefused) {
    VF d(1, 7.0f);
    init_err_mathgen();
    spline(VF{1}, VF{1}, 1, 0.0f, 0.0f, d);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(d[0], 7.0f);
    init_err_mathgen();
    second_derivative(VF{1, 2}, VF{1, 2}, 3, d);
    EXPECT_TRUE(err_mathgen);
    init_err_mathgen();
    float at = 5;
    splint(VF{}, VF{}, VF{}, 0, 1.0f, at);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(at, 0.0f);
    init_err_mathgen();
    first_derivative(VF{1}, VF{1}, 1, VF{0}, d);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(d[0], 7.0f);
}

TEST(Smoothing, BinomialWeights) {
    VF c(8, 2.5f);
    smoothingvec(c, 8, 3);
    for (float v : c) EXPECT_NEAR(v, 2.5f, 1e-6f);
    VF spike{0, 0, 0, 1, 0, 0, 0};
    smoothingvec(spike, 7, 1);
    const VF want{1.0f / 16, 5.0f / 26, 10.0f / 31, 0, 10.0f / 31, 5.0f / 26, 1.0f / 16};
    for (std::size_t k = 0; k < 7; ++k) EXPECT_FLOAT_EQ(spike[k], want[k]) << "k = " << k;

    VF y{1, 4, 2, 8, 5, 7, 3, 9, 0};
    const VF y0 = y;
    VF out(9, -1.0f);
    smoothingvec(y, 9, 0, out);
    EXPECT_EQ(y, y0);
    EXPECT_EQ(out, VF(9, -1.0f));
    smoothingvec(y, 9, 2, out);
    EXPECT_EQ(y, y0);
    VF in_place = y0;
    smoothingvec(in_place, 9, 2);
    EXPECT_EQ(out, in_place);
    // n = 6: the end rows cover everything.
    VF six{1, 2, 3, 4, 5, 6};
    smoothingvec(six, 6, 1);
    EXPECT_FLOAT_EQ(six[0], (10 * 2 + 5 * 3 + 4) / 16.0f);
    EXPECT_FLOAT_EQ(six[5], (10 * 5 + 5 * 4 + 3) / 16.0f);
    // Fewer than 6 values: refused and flagged.
    VF five{1, 2, 3, 4, 5};
    init_err_mathgen();
    smoothingvec(five, 5, 1);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(five, (VF{1, 2, 3, 4, 5}));
}

TEST(PointsOnASegment, HorizontalVerticalAndGeneral) {
    Matrix<float> p;
    std::array<float, 2> s{0, 0}, e{3, 4};
    points_in_line2d(s, e, 3, p);
    ASSERT_EQ(p.cols, 3);
    EXPECT_EQ(p.at1(1, 1), 0.0f);
    EXPECT_NEAR(p.at1(1, 2), 1.5f, 1e-6f);
    EXPECT_NEAR(p.at1(2, 2), 2.0f, 1e-6f);
    EXPECT_EQ(p.at1(1, 3), 3.0f);
    EXPECT_EQ(p.at1(2, 3), 4.0f);

    points_in_line2d(std::array<float, 2>{4, 1}, std::array<float, 2>{0, 1}, 3, p);
    EXPECT_EQ(p, (Matrix<float>{{4, 2, 0}, {1, 1, 1}}));
    points_in_line2d(std::array<float, 2>{2, 0}, std::array<float, 2>{2, -3}, 4, p);
    EXPECT_EQ(p, (Matrix<float>{{2, 2, 2, 2}, {0, -1, -2, -3}}));

    points_in_line2d(s, e, 1, p);
    EXPECT_EQ(p, (Matrix<float>{{0}, {0}}));
    points_in_line2d(s, std::array<float, 2>{5.0e-5f, 0}, 4, p);
    EXPECT_EQ(p, Matrix<float>(2, 4, 0.0f));
    points_in_line2d(std::array<float, 2>{1, 2}, std::array<float, 2>{7, -3}, 2, p);
    EXPECT_EQ(p, (Matrix<float>{{1, 7}, {2, -3}}));

    // A short segment far from the origin, running to smaller abscissae.
    points_in_line2d(std::array<float, 2>{1000.1f, 1000.2f}, std::array<float, 2>{1000.0f, 1000.0f}, 5, p);
    for (std::int32_t i = 1; i <= 5; ++i) {
        const double f = (i - 1) / 4.0;
        EXPECT_NEAR(p.at1(1, i), 1000.1 - f * 0.1, 2e-4) << "point " << i;
        EXPECT_NEAR(p.at1(2, i), 1000.2 - f * 0.2, 2e-4) << "point " << i;
    }
}
