// Factorial, gcd and lcm (with their wrap-around and zero rules), the
// co-prime tests limited by the prime table, and co-linearity within epss.
#include <gtest/gtest.h>

#include <complex>
#include <cstdint>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;
using V = std::vector<std::int32_t>;

TEST(IntegerArithmetic, Factorial) {
    EXPECT_EQ(factorial(0), 1);
    EXPECT_EQ(factorial(1), 1);
    EXPECT_EQ(factorial(-1), 1);
    EXPECT_EQ(factorial(5), 120);
    EXPECT_EQ(factorial(-5), 120);
    EXPECT_EQ(factorial(12), 479001600);
    EXPECT_EQ(factorial(13), static_cast<std::int32_t>(6227020800LL - 4294967296LL));
    EXPECT_EQ(factorial(33), -2147483647 - 1);
    EXPECT_EQ(factorial(34), 0);
    EXPECT_EQ(factorial(2147483647), 0);
    EXPECT_EQ(factorial(-2147483647 - 1), 0);
}

TEST(IntegerArithmetic, GreatestCommonDivisor) {
    EXPECT_EQ(pgcd(18, 12), 6);
    EXPECT_EQ(pgcd(12, 18), 6);
    EXPECT_EQ(pgcd(5, 3), 1);
    EXPECT_EQ(pgcd(9, 9), 9);
    EXPECT_EQ(pgcd(7, 7), 7);
    EXPECT_EQ(pgcd(-4, -6), -2);
    EXPECT_EQ(pgcd(-4, 6), 2);
    // The smaller argument 0: the other one, no division by zero.
    EXPECT_EQ(pgcd(8, 0), 8);
    EXPECT_EQ(pgcd(0, 0), 0);
    // A remainder by -1 is 0, also for -2^31.
    EXPECT_EQ(pgcd(-2147483647 - 1, -1), -1);
    EXPECT_EQ(pgcd(5, -1), -1);
}

TEST(IntegerArithmetic, LeastCommonMultiple) {
    EXPECT_EQ(ppcm(4, 6), 12);
    EXPECT_EQ(ppcm(9, 3), 9);
    EXPECT_EQ(ppcm(8, 1), 8);
    EXPECT_EQ(ppcm(8, 0), 8);
    EXPECT_EQ(ppcm(-3, 5), 5);
    // Factors beyond the square root are kept.
    EXPECT_EQ(ppcm(6, 10), 30);
    EXPECT_EQ(ppcm(2, 3), 6);
    EXPECT_EQ(ppcm(7919, 7907), static_cast<std::int32_t>(7919LL * 7907LL));
    EXPECT_EQ(ppcm(65536, 65537), static_cast<std::int32_t>(static_cast<std::uint32_t>(65536ULL * 65537ULL)));
}

TEST(IntegerArithmetic, CoPrime) {
    EXPECT_EQ(primes[0], 2);
    EXPECT_EQ(primes[2], 5);
    EXPECT_EQ(primes[999], 7919);
    EXPECT_TRUE(co_prime(V{1, 0, 0}));
    EXPECT_FALSE(co_prime(V{0, 0, 0}));
    EXPECT_FALSE(co_prime(V{2, 4, 6}));
    EXPECT_TRUE(co_prime(V{2, 3, 4}));
    EXPECT_FALSE(co_prime(V{0, 4}));
    EXPECT_TRUE(co_prime(V{5, 10}, 3));
    EXPECT_FALSE(co_prime(V{5, 10}, 5));
    EXPECT_FALSE(co_prime(V{14, 21}, 6));  // a bound of 6 tries 2, 3, 5, 7
    EXPECT_TRUE(co_prime(V{7927, 0}));
    EXPECT_FALSE(co_prime(V{}));
    EXPECT_FALSE(co_prime(V{-2147483647 - 1, 2}));
    EXPECT_FALSE(co_prime(V{-6, 9}));
}

TEST(IntegerArithmetic, CoPrimeVector) {
    V r(3);
    std::int32_t f = 0;
    co_prime_vector(V{4, 8, 12}, r, &f);
    EXPECT_EQ(r, (V{1, 2, 3}));
    EXPECT_EQ(f, 4);
    co_prime_vector(V{-2, 4, 6}, r, &f);
    EXPECT_EQ(r, (V{-1, 2, 3}));
    EXPECT_EQ(f, 2);
    co_prime_vector(V{0, 0, 6}, r, &f);
    EXPECT_EQ(r, (V{0, 0, 1}));
    EXPECT_EQ(f, 6);
    co_prime_vector(V{0, 0, 0}, r, &f);
    EXPECT_EQ(r, (V{0, 0, 0}));
    EXPECT_EQ(f, 1);
    V r2(2);
    co_prime_vector(V{8000, 16000}, r2, &f);
    EXPECT_EQ(r2, (V{8000, 16000}));
    EXPECT_EQ(f, 1);
    co_prime_vector(V{-2147483647 - 1, 0}, r2, nullptr);
    EXPECT_EQ(r2, (V{-2147483647 - 1, 0}));
    // Wrong length of the output: untouched, factor 1.
    V wrong{7, 7};
    co_prime_vector(V{2, 4, 6}, wrong, &f);
    EXPECT_EQ(wrong, (V{7, 7}));
    EXPECT_EQ(f, 1);
}

TEST(IntegerArithmetic, CoLinear) {
    EXPECT_TRUE(co_linear_i(V{2, 4, 6}, V{1, 2, 3}, 3));
    EXPECT_FALSE(co_linear_i(V{2, 4}, V{1, 3}, 2));
    EXPECT_TRUE(co_linear_i(V{2, 3}, V{4, 6}, 2));
    using F = std::vector<float>;
    EXPECT_TRUE(co_linear_r(F{1.0f, 2.0f, 3.0f}, F{2.0f, 4.0f, 6.0f}, 3));
    EXPECT_FALSE(co_linear_r(F{0.0f, 1.0f}, F{1.0f, 1.0f}, 2));
    EXPECT_FALSE(co_linear_r(F{1.0f, 2.0f}, F{1.0f, 2.00002f}, 2));
    EXPECT_TRUE(co_linear_r(F{3.0f}, F{-1.5f}, 1));
    using C = std::complex<float>;
    std::vector<C> a{C(0, 1), C(0, 2)};
    std::vector<C> b{C(1, 0), C(2, 0)};
    EXPECT_TRUE(co_linear_c(a, b, 2));
    EXPECT_FALSE(co_linear_c(a, std::vector<C>{C(1, 0), C(3, 0)}, 2));
    // Outside the contract: no crash, zero vectors co-linear only with each other.
    EXPECT_FALSE(co_linear_i(V{1, 2}, V{1, 2}, 0));
    EXPECT_FALSE(co_linear_i(V{1, 2}, V{1, 2}, 3));
    EXPECT_TRUE(co_linear_i(V{0, 0}, V{0, 0}, 2));
    EXPECT_FALSE(co_linear_r(F{0.0f, 0.0f}, F{0.0f, 1.0f}, 2));
}
