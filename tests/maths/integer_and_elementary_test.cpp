// Integer arithmetic (factorial, gcd, lcm with their wrap-around and zero
// rules, co-primality bounded by the prime table, co-linearity within epss),
// degree trigonometry with fixed out-of-domain answers, the angle of a point,
// overflow-safe hypotenuse and norm, and Bessel functions against their power
// series and the three-term recurrence.
#include <gtest/gtest.h>

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
    using C = std::complex<float>;
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
        co_prime_vector(c.v, reduced, &f);
        EXPECT_EQ(std::make_pair(reduced, f), std::make_pair(c.reduced, c.factor)) << testing::PrintToString(c.v);
    }
    VI r2(2);
    co_prime_vector(VI{4, 6}, r2, nullptr);
    EXPECT_EQ(r2, (VI{2, 3}));
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
}
