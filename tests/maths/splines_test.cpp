// Cubic splines against closed forms (a clamped spline reproduces a cubic,
// a line has zero curvature, the natural spline through four points solved
// by hand), central-difference derivatives, the seven-point binomial
// smoothing and equally spaced points on a segment; too few knots refused.
#include <gtest/gtest.h>

#include "maths/math_gen.hpp"
#include "maths/table_checks.hpp"

using namespace vorn_math_general;

namespace {
double cubic(double x) { return 0.5 * x * x * x - 2.0 * x * x + x + 3.0; }
double cubic_slope(double x) { return 1.5 * x * x - 4.0 * x + 1.0; }
float at(const VF& x, const VF& y, const VF& d2, float t) { float v = -99; splint(x, y, d2, std::int32_t(x.size()), t, v); return v; }
VF natural(const VF& x, const VF& y, float s1, float sn) { VF d(x.size(), 9.0f); spline(x, y, std::int32_t(x.size()), s1, sn, d); return d; }
}  // namespace

TEST(Splines, LinesAndWorkedCurvatures) {
    EXPECT_EQ(natural({0, 1}, {3, 5}, 1.0e31f, 1.0e31f), (VF{0, 0}));
    EXPECT_NE(natural({0, 1}, {0, 0}, 1.0e30f, 1.0e31f)[0], 0.0f);  // a slope of exactly 1e30 is clamped
    const VF x{0, 1, 3, 4}, y{1, 3, 7, 9};
    VF d2(2, 9.0f), d4(4), d1(4);
    second_derivative(VF{0, 1}, VF{3, 5}, 2, d2);
    second_derivative(x, y, 4, d4);  // clamped to the end intervals' slopes
    first_derivative(x, y, 4, d4, d1);
    for (std::size_t k = 0; k < x.size(); ++k)
        EXPECT_TRUE(std::fabs(d4[k]) <= 1e-6f && std::fabs(at(x, y, d4, x[k]) - y[k]) <= 1e-6f && std::fabs(d1[k] - 2) <= 1e-5f) << k;
    EXPECT_TRUE(d2 == (VF{0, 0}) && std::fabs(at(x, y, d4, 6.0f) - 13.0f) <= 1e-5f);  // extrapolated along the line
}

TEST(Splines, ClampedSplineReproducesACubic) {
    const VF x{-1.0f, 0.5f, 2.0f, 4.0f};
    VF y, d1(4);
    for (float t : x) y.push_back(float(cubic(t)));
    const VF d2 = natural(x, y, float(cubic_slope(-1.0)), float(cubic_slope(4.0)));
    first_derivative(x, y, 4, d2, d1);
    const std::array<double, 4> steps{1.5, 1.5, 2.0, 2.0};  // central differences: p' + p''' h^2 / 24
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(d2[k], 3.0 * x[k] - 4.0, 2e-4) << "knot " << k;
        EXPECT_NEAR(d1[k], cubic_slope(x[k]) + 3.0 * steps[k] * steps[k] / 24.0, 2e-4) << "knot " << k;
    }
    for (float t = -1.0f; t <= 4.0f; t += 0.125f) EXPECT_NEAR(at(x, y, d2, t), cubic(t), 2e-4) << "x = " << t;
}

TEST(Splines, NaturalSplineThroughFourPointsSolvedByHand) {
    const std::array<double, 4> xd{0.0, 1.0, 2.5, 4.0}, yd{1.0, -0.5, 2.0, 0.25};
    // h1 M1 + 2(h1+h2) M2 + h2 M3 = 6(s2 - s1), M1 = M4 = 0, solved by Cramer.
    const double h1 = xd[1] - xd[0], h2 = xd[2] - xd[1], h3 = xd[3] - xd[2];
    const double s1 = (yd[1] - yd[0]) / h1, s2 = (yd[2] - yd[1]) / h2, s3 = (yd[3] - yd[2]) / h3;
    const double a11 = 2 * (h1 + h2), a22 = 2 * (h2 + h3), r1 = 6 * (s2 - s1), r2 = 6 * (s3 - s2), det = a11 * a22 - h2 * h2;
    const std::array<double, 4> m{0.0, (r1 * a22 - h2 * r2) / det, (a11 * r2 - h2 * r1) / det, 0.0};
    const VF d2 = natural(VF(xd.begin(), xd.end()), VF(yd.begin(), yd.end()), 2.0e30f, 5.0e30f);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(d2[k], m[k], 1e-5) << "knot " << k;
}

TEST(Splines, TooFewKnotsAndShortSmoothingAreRefused) {
    VF d(1, 7.0f), five{1, 2, 3, 4, 5};
    float v = 5;
    auto flagged = [] { bool f = err_mathgen; init_err_mathgen(); return f; };
    init_err_mathgen();
    spline(VF{1}, VF{1}, 1, 0.0f, 0.0f, d);
    const bool f1 = flagged();
    second_derivative(VF{1, 2}, VF{1, 2}, 3, d);
    const bool f2 = flagged();
    splint(VF{}, VF{}, VF{}, 0, 1.0f, v);
    const bool f3 = flagged();
    first_derivative(VF{1}, VF{1}, 1, VF{0}, d);
    const bool f4 = flagged();
    smoothingvec(five, 5, 1);  // fewer than 6 values
    EXPECT_EQ(std::make_tuple(f1, f2, f3, f4, flagged(), v, d[0], five), std::make_tuple(true, true, true, true, true, 0.0f, 7.0f, VF{1, 2, 3, 4, 5}));
}

TEST(Smoothing, BinomialWeights) {
    VF seven{1, 2, 4, 8, 16, 32, 64}, y{1, 4, 2, 8, 5, 7, 3, 9, 0}, out(9, -1.0f), six{1, 2, 3, 4, 5, 6};
    smoothingvec(seven, 7, 1);  // weights 1 5 10 . 10 5 1, the missing ones dropped at the ends
    EXPECT_EQ(seven, (VF{3, 106.0f / 26, 7, 435.0f / 32, 742.0f / 31, 844.0f / 26, 25.5f}));
    const VF y0 = y;
    smoothingvec(y, 9, 0, out);
    EXPECT_EQ(std::tie(y, out), std::make_tuple(y0, VF(9, -1.0f)));
    smoothingvec(y, 9, 2, out);  // into out, y unchanged, the same as in place
    EXPECT_EQ(y, y0);
    smoothingvec(y, 9, 2);
    EXPECT_EQ(out, y);
    smoothingvec(six, 6, 1);  // n = 6: the end rows cover everything
    EXPECT_EQ(six, (VF{39.0f / 16, 65.0f / 26, 96.0f / 31, 121.0f / 31, 117.0f / 26, 73.0f / 16}));
}

TEST(PointsOnASegment, HorizontalVerticalGeneralAndDegenerate) {
    using P = std::array<float, 2>;
    Matrix<float> p;
    struct Case { P s, e; std::int32_t n; Matrix<float> want; };
    const Case cases[] = {{{4, 1}, {0, 1}, 3, {{4, 2, 0}, {1, 1, 1}}}, {{2, 0}, {2, -3}, 4, {{2, 2, 2, 2}, {0, -1, -2, -3}}},
                          {{0, 0}, {3, 4}, 1, {{0}, {0}}},  // n < 2: zeros
                          {{0, 0}, {5.0e-5f, 0}, 4, Matrix<float>(2, 4, 0.0f)},  // end points within 1e-4
                          {{1, 2}, {7, -3}, 2, {{1, 7}, {2, -3}}}, {{0, 0}, {3, 4}, 3, {{0, 1.5f, 3}, {0, 2, 4}}}};
    for (const Case& c : cases) {
        points_in_line2d(c.s, c.e, c.n, p);
        EXPECT_EQ(p, c.want) << c.e[0] << " " << c.e[1] << " n " << c.n;
    }
    points_in_line2d(P{1000.1f, 1000.2f}, P{1000.0f, 1000.0f}, 5, p);  // short, far out, backwards
    for (std::int32_t i = 1; i <= 5; ++i)
        EXPECT_TRUE(std::fabs(p.at1(1, i) - (1000.1 - (i - 1) * 0.025)) <= 2e-4 && std::fabs(p.at1(2, i) - (1000.2 - (i - 1) * 0.05)) <= 2e-4) << i;
}
