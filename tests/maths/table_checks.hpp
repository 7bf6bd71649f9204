// Table rows of the maths tests: a predicate or a value with what it must be
// (exact, or within a stated tolerance), the expression text naming a failure.
#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace maths_test {
struct Truth { bool got, want; const char* text; };
struct Value { double got, want, tol; const char* text; };
inline void check(std::initializer_list<Truth> rows) { for (const Truth& r : rows) EXPECT_EQ(r.got, r.want) << r.text; }
inline void check(std::initializer_list<Value> rows) {
    for (const Value& r : rows) EXPECT_TRUE(r.tol == 0 ? r.got == r.want : std::fabs(r.got - r.want) <= r.tol)
        << r.text << " = " << testing::PrintToString(r.got) << ", expected " << testing::PrintToString(r.want);
}
}  // namespace maths_test
#define YES(e) maths_test::Truth{bool(e), true, #e}
#define NO(e) maths_test::Truth{bool(e), false, #e}
#define EQ(e, w) maths_test::Value{double(e), double(w), 0.0, #e}
#define NEAR(e, w, t) maths_test::Value{double(e), double(w), double(t), #e}
