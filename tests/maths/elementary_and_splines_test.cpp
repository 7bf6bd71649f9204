// Integer arithmetic (factorial, gcd, lcm with their wrap-around and zero
// rules, co-primality bounded by the prime table, co-linearity within epss),
// degree trigonometry with fixed out-of-domain answers, the angle of a point,
// overflow-safe hypotenuse and norm, Bessel functions against their power
// series; cubic splines against closed forms (a clamped spline reproduces a
// cubic, the natural spline through four points solved by hand), central
// differences, the seven-point binomial smoothing and points on a segment.
#include "maths/math_gen.hpp"
#include "maths/table_checks.hpp"

using namespace vorn_math_general;

namespace {
// J_n(x) by its power series, in long double (accurate for |x| <= 20).
double bessel_series(int n, double x) {
    long double term = 1.0L;
    for (int k = 1; k <= n; ++k) term *= static_cast<long double>(x) / (2.0L * k);
    long double sum = term;
    const long double q = -static_cast<long double>(x) * x / 4.0L;
    for (int k = 1; k < 200; ++k) sum += (term *= q / (static_cast<long double>(k) * (k + n)));
    return static_cast<double>(sum);
}
double cubic(double x) { return 0.5 * x * x * x - 2.0 * x * x + x + 3.0; }
double cubic_slope(double x) { return 1.5 * x * x - 4.0 * x + 1.0; }
float at(const VF& x, const VF& y, const VF& d2, float t) { float v = -99; splint(x, y, d2, std::int32_t(x.size()), t, v); return v; }
VF natural(const VF& x, const VF& y, float s1, float sn) { VF d(x.size(), 9.0f); spline(x, y, std::int32_t(x.size()), s1, sn, d); return d; }
}  // namespace

TEST(IntegerArithmetic, FactorialGcdLcm) {
    check({EQ(factorial(0), 1), EQ(factorial(1), 1), EQ(factorial(-1), 1), EQ(factorial(-5), 120), EQ(factorial(12), 479001600),
           EQ(factorial(13), 6227020800LL - 4294967296LL), EQ(factorial(33), int_min), EQ(factorial(34), 0), EQ(factorial(2147483647), 0),
           EQ(factorial(int_min), 0), EQ(pgcd(18, 12), 6), EQ(pgcd(12, 18), 6), EQ(pgcd(9, 9), 9), EQ(pgcd(-4, -6), -2), EQ(pgcd(-4, 6), 2),
           EQ(pgcd(8, 0), 8), EQ(pgcd(0, 0), 0),  // smaller 0: the other
           EQ(pgcd(int_min, -1), -1), EQ(pgcd(5, -1), -1),  // a remainder by -1 is 0, also for -2^31
           EQ(ppcm(4, 6), 12), EQ(ppcm(9, 3), 9), EQ(ppcm(8, 1), 8), EQ(ppcm(8, 0), 8), EQ(ppcm(-3, 5), 5),
           EQ(ppcm(7919, 7907), 7919LL * 7907LL), EQ(ppcm(65536, 65537), std::int32_t(std::uint32_t(65536ULL * 65537ULL)))});
}

TEST(IntegerArithmetic, CoPrimeAndCoLinear) {
    using F = VF;
    using VC = std::vector<C>;
    check({YES(co_prime(VI{1, 0, 0})), NO(co_prime(VI{0, 0, 0})), NO(co_prime(VI{2, 4, 6})), YES(co_prime(VI{2, 3, 4})),
           YES(co_prime(VI{5, 10}, 3)), NO(co_prime(VI{5, 10}, 5)), NO(co_prime(VI{14, 21}, 6)), YES(co_prime(VI{7927, 0})),
           NO(co_prime(VI{})), NO(co_prime(VI{int_min, 2})), NO(co_prime(VI{-6, 9})),
           YES(co_linear_i(VI{2, 4, 6}, VI{1, 2, 3}, 3)), NO(co_linear_i(VI{2, 4}, VI{1, 3}, 2)), YES(co_linear_i(VI{2, 3}, VI{4, 6}, 2)),
           YES(co_linear_r(F{1, 2, 3}, F{2, 4, 6}, 3)), NO(co_linear_r(F{0, 1}, F{1, 1}, 2)), NO(co_linear_r(F{1, 2}, F{1, 2.00002f}, 2)),
           YES(co_linear_r(F{3}, F{-1.5f}, 1)), YES(co_linear_c(VC{C(0, 1), C(0, 2)}, VC{C(1, 0), C(2, 0)}, 2)),
           NO(co_linear_c(VC{C(0, 1), C(0, 2)}, VC{C(1, 0), C(3, 0)}, 2)),
           // outside the contract; the zero vector is co-linear only with itself
           NO(co_linear_i(VI{1, 2}, VI{1, 2}, 0)), NO(co_linear_i(VI{1, 2}, VI{1, 2}, 3)),
           YES(co_linear_i(VI{0, 0}, VI{0, 0}, 2)), NO(co_linear_r(F{0, 0}, F{0, 1}, 2))});
    struct Case { VI v, reduced_before, reduced; std::int32_t factor; };
    const Case cases[] = {{{-2, 4, 6}, VI(3), {-1, 2, 3}, 2}, {{0, 0, 6}, VI(3), {0, 0, 1}, 6}, {{0, 0, 0}, VI(3), {0, 0, 0}, 1},
                          {{8000, 16000}, VI(2), {8000, 16000}, 1},  // beyond the prime table
                          {{int_min, 0}, VI(2), {int_min, 0}, 1}, {{2, 4, 6}, {7, 7}, {7, 7}, 1}};  // wrong output length: untouched
    for (const Case& c : cases) {
        VI reduced = c.reduced_before;
        std::int32_t f = 0;
        EXPECT_EQ((co_prime_vector(c.v, reduced, &f), std::make_pair(reduced, f)), std::make_pair(c.reduced, c.factor)) << testing::PrintToString(c.v);
    }
    VI r2(2);
    EXPECT_EQ((co_prime_vector(VI{4, 6}, r2, nullptr), r2), (VI{2, 3}));
}

TEST(Elementary, DegreeTrigonometryAndAngleOfAPoint) {
    const double pi = 3.141592653589793, rad = 0.017453292519943295;
    auto rd = [](double y, double x, bool deg) { double a = -1; rtan_dp(y, x, a, deg); return a; };
    auto rs = [](float y, float x, bool deg) { float a = -1; rtan_sp(y, x, a, deg); return a; };
    check({EQ(acosd_dp(1.5), 0), EQ(acosd_dp(-1.5), 180), EQ(asind_dp(2.0), 90), EQ(asind_dp(-2.0), -90),
           NEAR(acosd_dp(0.5), 60, 1e-12), EQ(acosd_sp(1.5f), 0), EQ(acosd_sp(-1.0001f), 180), EQ(asind_sp(3.0f), 90),
           NEAR(asind_sp(0.5f), 30, 2e-5), NEAR(atan2d_dp(1.0, -1.0), 135, 1e-12), NEAR(atan2d_sp(-1.0f, 0.0f), -90, 1e-5),
           NEAR(atand_dp(1.0), 45, 1e-12), NEAR(atand_sp(-1.0f), -45, 1e-5), NEAR(cosd_dp(60.0), 0.5, 1e-15),
           NEAR(sind_dp(30.0), 0.5, 1e-15), NEAR(tand_dp(45.0), 1.0, 1e-15),
           // the _sp members evaluate in double and round once
           EQ(cosd_sp(60.0f), float(std::cos(60.0 * rad))), EQ(sind_sp(90.0f), 1), EQ(tand_sp(45.0f), float(std::tan(45.0 * rad))),
           EQ(rd(0, -1, false), pi), EQ(rd(0, -1, true), 180), EQ(rd(1e-6, 1e-6, false), 0),  // 0 within 1e-5 of the origin
           EQ(rd(-1, 1e-6, false), -pi / 2), NEAR(rd(1, 1, true), 45, 1e-12), NEAR(rd(-1, -2, false), std::atan2(-1.0, -2.0), 1e-15),
           EQ(rs(0, -3, false), float(pi)), NEAR(rs(1, 1, true), 45, 1e-5), NEAR(rs(2, -1, false), std::atan2(2.0f, -1.0f), 1e-6)});
}

TEST(Elementary, HypotenuseAndNorm) {
    check({EQ(pythag_dp(3.0, 4.0), 5), EQ(pythag_sp(0.0f, 0.0f), 0), EQ(pythag_sp(-3.0e30f, 4.0e30f), 5.0e30f),
           EQ(pythag_sp(5.0e-40f, 1.0e-39f), 0), EQ(pythag_sp(1.0e-39f, 5.0e-40f), 1.0e-39f * std::sqrt(1.0f + 0.25f)),
           EQ(pythag_sp(1.0e-39f, 0.0f), 1.0e-39f), EQ(pythag_dp(1.0e-310, 0.0), 1.0e-310),
           EQ(pythag_dp(0.0, 1.0e-310), 0), EQ(euclidean_norm(0, VF{}), 0), EQ(euclidean_norm(2, VF{3, 4}), 5),
           EQ(euclidean_norm(1, VF{1.0e-25f}), 1.0e-25f), EQ(euclidean_norm(1, VF{-1.0e25f}), 1.0e25f),
           NEAR(euclidean_norm(4, VF{3.0e20f, 4.0e20f, 3.0e20f, 1}), 5.830951895e20, 1e14),
           NEAR(euclidean_norm(2, VF{3.0e-21f, 4.0e-21f}), 5.0e-21f, 1e-27), NEAR(euclidean_norm(2, VF{1.0e-21f, 1}), 1, 1e-7),
           EQ(euclidean_norm(5, VF{3, 4}), 5)});  // a count beyond the array reads only the array
}

TEST(Elementary, BesselFunctionsAgainstSeriesAndParity) {
    EXPECT_TRUE(bessj0(0.0f) == 1 && bessj1(0.0f) == 0 && bessj(2, 0.0f) == 0 && bessj(5, 0.0f) == 0);
    for (float x : {0.3f, 1.0f, 2.5f, 5.0f, 7.9f, 8.1f, 12.0f, 17.5f}) {
        SCOPED_TRACE(x);
        EXPECT_TRUE(std::fabs(bessj0(x) - bessel_series(0, x)) <= 2e-7 && std::fabs(bessj1(x) - bessel_series(1, x)) <= 2e-7);
        EXPECT_TRUE(bessj1(-x) == -bessj1(x) && bessj0(-x) == bessj0(x));
        for (int n = 2; n <= 6; ++n)
            EXPECT_TRUE(std::fabs(bessj(n, x) - bessel_series(n, x)) <= 2e-6 && bessj(n, -x) == (n % 2 ? -1.0f : 1.0f) * bessj(n, x)) << n;
    }
    // Either side of |x| = n the upward and downward recurrences agree with the series.
    check({NEAR(bessj(2, 2.0f), bessel_series(2, 2.0), 1e-6), NEAR(bessj(2, 2.0001f), bessel_series(2, 2.0001), 1e-6),
           EQ(bessj(3, -10.0f), -bessj(3, 10.0f)), EQ(bessj(3, -2.0f), -bessj(3, 2.0f)), NEAR(bessj(20, 1.0f), bessel_series(20, 1.0), 1e-20)});
    // An order near 2^31: the downward recurrence starts about sqrt(40 n) above it, past 2^31 - 1, and runs its two
    // thousand million steps without overflow, to a value that has fallen below the smallest 32-bit real.
    const float j = bessj(2147483642, 1.0f);
    EXPECT_TRUE(j == 0.0f && !std::signbit(j)) << j;
}

TEST(Splines, LinesAndWorkedCurvatures) {
    EXPECT_EQ(natural({0, 1}, {3, 5}, 1.0e31f, 1.0e31f), (VF{0, 0}));
    EXPECT_NE(natural({0, 1}, {0, 0}, 1.0e30f, 1.0e31f)[0], 0.0f);  // a slope of exactly 1e30 is clamped
    const VF x{0, 1, 3, 4}, y{1, 3, 7, 9};
    VF d2(2, 9.0f), d4(4), d1(4);
    second_derivative(VF{0, 1}, VF{3, 5}, 2, d2), second_derivative(x, y, 4, d4);  // d4 clamped to the end intervals' slopes
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
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_TRUE(std::fabs(d2[k] - (3.0 * x[k] - 4.0)) <= 2e-4 && std::fabs(d1[k] - (cubic_slope(x[k]) + 3.0 * steps[k] * steps[k] / 24.0)) <= 2e-4) << k;
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
    const bool f1 = (spline(VF{1}, VF{1}, 1, 0.0f, 0.0f, d), flagged()), f2 = (second_derivative(VF{1, 2}, VF{1, 2}, 3, d), flagged());
    const bool f3 = (splint(VF{}, VF{}, VF{}, 0, 1.0f, v), flagged()), f4 = (first_derivative(VF{1}, VF{1}, 1, VF{0}, d), flagged());
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
    VF in_place = y;
    smoothingvec(y, 9, 2, out), smoothingvec(in_place, 9, 2);  // into out, y unchanged, the same as in place
    EXPECT_EQ(std::tie(y, out), std::tie(y0, in_place));
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
    for (const Case& c : cases) EXPECT_EQ((points_in_line2d(c.s, c.e, c.n, p), p), c.want) << c.e[0] << " " << c.e[1] << " n " << c.n;
}
