// Iw, Fw.d and Ew.d writers and readers follow formatted Fortran I/O to the digit: ties to even from
// the exact binary value, asterisks on overflow, implied decimals, correctly rounded 32-bit reads,
// 32-bit wrap-around and blank-padded fixed texts.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "text/fixed_text.hpp"
#include "text/fortran_format.hpp"
#include "text/fortran_int.hpp"

using namespace vorn_string_utilities;

namespace {
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr long long llmin = std::numeric_limits<long long>::min(), llmax = std::numeric_limits<long long>::max();
struct Lcg { std::uint32_t s; std::uint32_t operator()() { return s = s * 1664525u + 1013904223u; } };
}  // namespace

// Every row written alone and appended to one buffer that keeps what it held before.
TEST(FortranWriters, FieldsOfEveryWriterAlsoAppended) {
    struct Case { char kind; long long i; double x; int w, d; const char* expected; };
    const Case cases[] = {
        {'I', 42, 0, 8, 0, "      42"}, {'I', -7, 0, 4, 0, "  -7"}, {'I', 12345, 0, 4, 0, "****"}, {'I', -999, 0, 4, 0, "-999"},
        {'I', -1000, 0, 4, 0, "****"}, {'I', llmin, 0, 21, 0, " -9223372036854775808"}, {'I', llmax, 0, 0, 0, "9223372036854775807"},
        {'F', 0, 0.5, 8, 4, "  0.5000"}, {'F', 0, 0.125, 5, 2, " 0.12"}, {'F', 0, 0.375, 5, 2, " 0.38"}, {'F', 0, 2.675, 5, 2, " 2.67"},
        {'F', 0, 1.38299f, 10, 5, "   1.38299"}, {'F', 0, -0.00001, 8, 4, " -0.0000"}, {'F', 0, -0.0, 8, 4, " -0.0000"},
        {'F', 0, 123456.0, 8, 4, "********"}, {'F', 0, 0.5, 5, 4, ".5000"}, {'F', 0, -0.5, 6, 4, "-.5000"}, {'F', 0, 3.0, 5, 0, "   3."},
        {'F', 0, std::nan(""), 8, 4, "     NaN"}, {'F', 0, 2.5f, 4, 0, "  2."}, {'F', 0, 3.5f, 4, 0, "  4."}, {'F', 0, -1.25f, 10, 5, "  -1.25000"},
        {'F', 0, inf, 9, 2, " Infinity"}, {'F', 0, -inf, 8, 2, "    -Inf"}, {'F', 0, -inf, 9, 2, "-Infinity"}, {'F', 0, 2.0, 0, 1, "2.0"},
        {'F', 0, 0.1, 20, 15, "   0.100000000000000"}, {'E', 0, 1234.5, 12, 4, "  0.1234E+04"}, {'E', 0, -0.00012345, 12, 4, " -0.1234E-03"},
        {'E', 0, 0.0, 10, 3, " 0.000E+00"}, {'E', 0, 1e-120, 10, 3, " 0.100-119"},
    };
    std::string row = "ab", expected_row = "ab";
    for (const Case& c : cases) {
        const std::string got = c.kind == 'I' ? format_i(c.i, c.w) : c.kind == 'F' ? format_f(c.x, c.w, c.d) : format_e(c.x, c.w, c.d);
        EXPECT_EQ(got, c.expected) << c.kind << " " << c.x << " w=" << c.w;
        if (c.kind == 'I') append_i(row, c.i, c.w);
        if (c.kind == 'F') append_f(row, c.x, c.w, c.d);
        if (c.kind != 'E') expected_row += c.expected;
    }
    EXPECT_EQ(row, expected_row);
}

// Iw and Fw.d fields read back what the writers wrote (the writers themselves are checked against the
// exact expansion on a million values in fixed_field_equivalence_test.cpp).
TEST(FortranWriters, GeneratedFieldsReadBack) {
    Lcg gen{99u};
    for (int i = 0; i < 20000; ++i) {
        const auto n = static_cast<std::int32_t>(gen());
        std::int32_t back = 7;
        ASSERT_TRUE(read_i_field(format_i(n, 12), back) && back == n) << n;
    }
    for (float x : {0.0f, 1.0f, -2.5f, 123.4567f, -0.0001f, 9999.999f}) {
        float back = 1e30f;
        ASSERT_TRUE(read_f_field(format_f(x, 12, 4), 4, back));
        EXPECT_NEAR(back, x, 0.00005f) << x;
    }
}

// Kind 'I' reads an Iw field (a refused one leaves the value untouched), 'F' an Fw.d field to 32
// bits (sign of zero included) and to 64 bits.
TEST(FortranReaders, FieldsBlanksImpliedDecimalsExponentsAndRefusals) {
    struct Case { char kind; const char* field; int d; bool ok; float expected; };
    const Case cases[] = {
        {'I', "    ", 0, true, 0}, {'I', " 1 2", 0, true, 12}, {'I', "  -3", 0, true, -3}, {'I', " 1.2", 0, false, -5}, {'I', "  - ", 0, false, -5},
        {'I', "99999999999", 0, false, -5}, {'I', "-2147483648", 0, true, -2147483648.0f}, {'F', "12345", 2, true, 123.45f},
        {'F', "  12.5  ", 2, true, 12.5f}, {'F', "        ", 2, true, 0.0f}, {'F', "1.5E2", 2, true, 150.0f}, {'F', "1.5D-1", 2, true, 0.15f},
        {'F', "1.5+3", 2, true, 1500.0f}, {'F', "-0.05", 2, true, -0.05f}, {'F', "1 2.5", 2, true, 12.5f}, {'F', "16777217", 0, true, 16777216.0f},
        {'F', "0.100000001490116119384765625", 0, true, 0.1f}, {'F', " - 0. 00 ", 2, true, -0.0f}, {'F', "   123456789.12", 2, true, 123456789.12f},
        {'F', " 00000000001498.20", 2, true, 1498.2f}, {'F', "1.2.3", 2, false, 0}, {'F', "abc", 2, false, 0}, {'F', "1E", 2, false, 0},
        {'F', "1E99999", 2, false, 0}, {'F', ".", 2, false, 0}, {'F', "   12.50 -", 2, false, 0}, {'F', "  +", 2, false, 0},
    };
    for (const Case& c : cases) {
        std::int32_t i = -5;  // the value a refused Iw field leaves
        float v = 7;
        double dv = 7;
        ASSERT_EQ(c.kind == 'I' ? read_i_field(c.field, i) : read_f_field(c.field, c.d, v), c.ok) << c.field;
        EXPECT_EQ(i, c.kind == 'I' ? static_cast<std::int32_t>(c.expected) : -5) << c.field;
        if (c.kind == 'I') continue;
        EXPECT_EQ(read_f_field(c.field, c.d, dv), c.ok) << c.field;
        if (!c.ok) continue;
        EXPECT_EQ(std::tuple(v, std::signbit(v), static_cast<float>(dv)), std::tuple(c.expected, std::signbit(c.expected), c.expected)) << c.field;
    }
}

// Short fields (with or without exponents, implied decimals) and eight-digit mantissas on both
// sides of 2^24 with blanks, tabs and leading zeros read as the correctly rounded strtof.
TEST(FortranReaders, GeneratedFieldsAgreeWithCorrectRounding) {
    Lcg next{777u}, gen{4242u};
    for (int i = 0; i < 200000; ++i) {
        const std::string digits = std::to_string(next() % 10000000u);
        const int point = static_cast<int>(next() % 8), exponent = static_cast<int>(next() % 7) - 3;
        const bool has_point = point < static_cast<int>(digits.size());
        const std::string field = has_point ? std::string(digits).insert(digits.size() - static_cast<std::size_t>(point), ".") : digits;
        const std::string e = i % 3 == 0 ? "E" + std::to_string(exponent) : "";
        const std::string exact = has_point ? field + (e.empty() ? "" : "e" + e.substr(1))
                                            : digits + "e" + std::to_string((e.empty() ? 0 : exponent) - 2);
        float fast = 0;
        ASSERT_TRUE(read_f_field(field + e, 2, fast) && fast == std::strtof(exact.c_str(), nullptr)) << field + e;
    }
    for (int i = 0; i < 200000; ++i) {
        const std::string digits = std::to_string(10000000u + gen() % 90000000u);
        const int decimals = static_cast<int>(gen() % 9);
        std::string field = (i % 2 == 0 ? "  -00" : "") + std::string(digits).insert(digits.size() - static_cast<std::size_t>(decimals), ".");
        if (i % 5 == 0) field.insert(field.size() / 2, " \t ");
        const std::string exact = (i % 2 == 0 ? "-" : "") + digits + "e-" + std::to_string(decimals);
        float value = 0;
        ASSERT_TRUE(read_f_field(field, 2, value) && value == std::strtof(exact.c_str(), nullptr)) << field << " read " << value;
    }
}

TEST(FortranInt, WrapAroundNintAndFixedTexts) {
    EXPECT_EQ(std::tuple(wrap_add(INT32_MAX, 1), wrap_mul(65536, 65536), wrap_abs(INT32_MIN)), std::tuple(INT32_MIN, 0, INT32_MIN));
    EXPECT_EQ(std::tuple(nint(1.5), nint(-1.5), nint(2.4999)), std::tuple(2, -2, 2));
    FixedText<12> a("P 21 21 21");
    EXPECT_EQ(a.view(), "P 21 21 21  ");
    EXPECT_TRUE(a == "P 21 21 21" && a == FixedText<20>("P 21 21 21") && !(a == "P 21 21 2"));
    EXPECT_EQ(FixedText<3>("ABCDEF").view(), "ABC");
    EXPECT_EQ(fixed("ab", 4), "ab  ");
    EXPECT_EQ(trim_both("  x y  "), "x y");
}
