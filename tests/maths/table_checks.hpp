// Shared by the maths tests: table rows of a predicate or a value with what it must be
// (exact, or within a stated tolerance), the expression text naming a failure; common types.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>
#include <tuple>
#include <vector>

struct Truth { bool got, want; const char* text; };
struct Value { double got, want, tol; const char* text; };
inline void check(std::initializer_list<Truth> rows) { for (const Truth& r : rows) EXPECT_EQ(r.got, r.want) << r.text; }
inline void check(std::initializer_list<Value> rows) {
    for (const Value& r : rows) EXPECT_TRUE(r.tol == 0 ? r.got == r.want : std::fabs(r.got - r.want) <= r.tol)
        << r.text << " = " << testing::PrintToString(r.got) << ", expected " << testing::PrintToString(r.want);
}
using VI = std::vector<std::int32_t>;
using VF = std::vector<float>;
using C = std::complex<float>;
inline const float nan_f = std::numeric_limits<float>::quiet_NaN();
inline constexpr std::int32_t int_min = std::numeric_limits<std::int32_t>::min();
#define YES(e) ::Truth{bool(e), true, #e}
#define NO(e) ::Truth{bool(e), false, #e}
#define EQ(e, w) ::Value{double(e), double(w), 0.0, #e}
#define NEAR(e, w, t) ::Value{double(e), double(w), double(t), #e}
