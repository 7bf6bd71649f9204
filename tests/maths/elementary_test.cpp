// Degree trigonometry with its fixed out-of-domain answers, the angle of a
// point, overflow-safe hypotenuse and norm, and Bessel functions checked
// against their power series and the three-term recurrence.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;

namespace {

// J_n(x) by its power series, in long double (accurate for |x| <= 20).
double bessel_series(int n, double x) {
    long double term = 1.0L;
    for (int k = 1; k <= n; ++k) term *= static_cast<long double>(x) / (2.0L * k);
    long double sum = term;
    const long double q = -static_cast<long double>(x) * x / 4.0L;
    for (int k = 1; k < 200; ++k) {
        term *= q / (static_cast<long double>(k) * (k + n));
        sum += term;
    }
    return static_cast<double>(sum);
}

}  // namespace

TEST(Elementary, DegreeFunctions) {
    EXPECT_EQ(acosd_dp(1.5), 0.0);
    EXPECT_EQ(acosd_dp(-1.5), 180.0);
    EXPECT_EQ(asind_dp(2.0), 90.0);
    EXPECT_EQ(asind_dp(-2.0), -90.0);
    EXPECT_NEAR(acosd_dp(0.5), 60.0, 1e-12);
    EXPECT_EQ(acosd_sp(1.5f), 0.0f);
    EXPECT_EQ(acosd_sp(-1.0001f), 180.0f);
    EXPECT_EQ(asind_sp(3.0f), 90.0f);
    EXPECT_NEAR(asind_sp(0.5f), 30.0f, 2e-5f);
    EXPECT_NEAR(atan2d_dp(1.0, -1.0), 135.0, 1e-12);
    EXPECT_NEAR(atan2d_sp(-1.0f, 0.0f), -90.0f, 1e-5f);
    EXPECT_NEAR(atand_dp(1.0), 45.0, 1e-12);
    EXPECT_NEAR(atand_sp(-1.0f), -45.0f, 1e-5f);
    EXPECT_NEAR(cosd_dp(60.0), 0.5, 1e-15);
    EXPECT_NEAR(sind_dp(30.0), 0.5, 1e-15);
    EXPECT_NEAR(tand_dp(45.0), 1.0, 1e-15);
    // The _sp members evaluate cos/sin/tan in double and round once.
    EXPECT_EQ(cosd_sp(60.0f), static_cast<float>(std::cos(60.0 * 0.017453292519943295)));
    EXPECT_EQ(sind_sp(90.0f), 1.0f);
    EXPECT_EQ(tand_sp(45.0f), static_cast<float>(std::tan(45.0 * 0.017453292519943295)));
}

TEST(Elementary, AngleOfAPoint) {
    const double pi = 3.141592653589793;
    double a = -1;
    rtan_dp(0.0, -1.0, a);
    EXPECT_EQ(a, pi);
    rtan_dp(0.0, -1.0, a, true);
    EXPECT_EQ(a, 180.0);
    rtan_dp(1.0e-6, 1.0e-6, a);
    EXPECT_EQ(a, 0.0);
    rtan_dp(-1.0, 1.0e-6, a);
    EXPECT_EQ(a, -pi / 2);
    rtan_dp(1.0, 1.0, a, true);
    EXPECT_NEAR(a, 45.0, 1e-12);
    rtan_dp(-1.0, -2.0, a);
    EXPECT_NEAR(a, std::atan2(-1.0, -2.0), 1e-15);
    float b = -1;
    rtan_sp(0.0f, -3.0f, b);
    EXPECT_EQ(b, static_cast<float>(pi));
    rtan_sp(1.0f, 1.0f, b, true);
    EXPECT_NEAR(b, 45.0f, 1e-5f);
    rtan_sp(2.0f, -1.0f, b);
    EXPECT_NEAR(b, std::atan2(2.0f, -1.0f), 1e-6f);
}

TEST(Elementary, HypotenuseAndNorm) {
    EXPECT_EQ(pythag_dp(3.0, 4.0), 5.0);
    EXPECT_EQ(pythag_sp(0.0f, 0.0f), 0.0f);
    EXPECT_EQ(pythag_sp(-3.0e30f, 4.0e30f), 5.0e30f);
    EXPECT_EQ(pythag_sp(5.0e-40f, 1.0e-39f), 0.0f);
    EXPECT_EQ(pythag_sp(1.0e-39f, 5.0e-40f), 1.0e-39f * std::sqrt(1.0f + 0.25f));
    EXPECT_EQ(pythag_sp(1.0e-39f, 0.0f), 1.0e-39f);
    EXPECT_EQ(pythag_dp(1.0e-310, 0.0), 1.0e-310);
    EXPECT_EQ(pythag_dp(0.0, 1.0e-310), 0.0);

    std::vector<float> none;
    EXPECT_EQ(euclidean_norm(0, none), 0.0f);
    EXPECT_EQ(euclidean_norm(2, std::vector<float>{3.0f, 4.0f}), 5.0f);
    EXPECT_EQ(euclidean_norm(1, std::vector<float>{1.0e-25f}), 1.0e-25f);
    EXPECT_EQ(euclidean_norm(1, std::vector<float>{-1.0e25f}), 1.0e25f);
    EXPECT_NEAR(euclidean_norm(3, std::vector<float>{3.0e20f, 4.0e20f, 1.0f}), 5.0e20f, 1e14f);
    EXPECT_NEAR(euclidean_norm(2, std::vector<float>{3.0e-21f, 4.0e-21f}), 5.0e-21f, 1e-27f);
    EXPECT_NEAR(euclidean_norm(2, std::vector<float>{1.0e-21f, 1.0f}), 1.0f, 1e-7f);
    // A count beyond the array reads only the array.
    EXPECT_EQ(euclidean_norm(5, std::vector<float>{3.0f, 4.0f}), 5.0f);
}

TEST(Elementary, BesselFunctions) {
    EXPECT_EQ(bessj0(0.0f), 1.0f);
    EXPECT_EQ(bessj1(0.0f), 0.0f);
    for (int n = 2; n <= 5; ++n) EXPECT_EQ(bessj(n, 0.0f), 0.0f);
    for (float x : {0.3f, 1.0f, 2.5f, 5.0f, 7.9f, 8.1f, 12.0f, 17.5f}) {
        EXPECT_NEAR(bessj0(x), bessel_series(0, x), 2e-7) << "x = " << x;
        EXPECT_NEAR(bessj1(x), bessel_series(1, x), 2e-7) << "x = " << x;
        EXPECT_EQ(bessj1(-x), -bessj1(x)) << "x = " << x;
        EXPECT_EQ(bessj0(-x), bessj0(x)) << "x = " << x;
        for (int n = 2; n <= 6; ++n) {
            EXPECT_NEAR(bessj(n, x), bessel_series(n, x), 2e-6) << "n = " << n << " x = " << x;
            EXPECT_EQ(bessj(n, -x), (n % 2 ? -1.0f : 1.0f) * bessj(n, x)) << "n = " << n << " x = " << x;
        }
        // Recurrence J(n-1) + J(n+1) = (2n/x) J(n).
        for (int n = 1; n <= 4; ++n)
            EXPECT_NEAR(bessj(n - 1, x) + bessj(n + 1, x), 2.0 * n / x * bessj(n, x), 5e-6)
                << "n = " << n << " x = " << x;
    }
    // Either side of |x| = n the two recurrences agree with the series.
    EXPECT_NEAR(bessj(2, 2.0f), bessel_series(2, 2.0), 1e-6);
    EXPECT_NEAR(bessj(2, 2.0001f), bessel_series(2, 2.0001), 1e-6);
    EXPECT_EQ(bessj(3, -10.0f), -bessj(3, 10.0f));
    EXPECT_EQ(bessj(3, -2.0f), -bessj(3, 2.0f));
    EXPECT_EQ(bessj(2, -3.0f), bessj(2, 3.0f));
    EXPECT_NEAR(bessj(20, 1.0f), bessel_series(20, 1.0), 1e-20);
}
