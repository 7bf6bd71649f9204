// Fixed-field writers and readers follow formatted Fortran I/O to the digit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <limits>

#include "text/fixed_text.hpp"
#include "text/fortran_format.hpp"
#include "text/fortran_int.hpp"

using namespace vorn_string_utilities;

TEST(FortranWriters, IntegerFields) {
    EXPECT_EQ(format_i(42, 8), "      42");
    EXPECT_EQ(format_i(-7, 4), "  -7");
    EXPECT_EQ(format_i(12345, 4), "****");
    EXPECT_EQ(format_i(-999, 4), "-999");
    EXPECT_EQ(format_i(-1000, 4), "****");
}

TEST(FortranWriters, FixedPointRoundsHalfEvenFromExactBinary) {
    EXPECT_EQ(format_f(0.5, 8, 4), "  0.5000");
    EXPECT_EQ(format_f(0.125, 5, 2), " 0.12");   // exact tie goes to even
    EXPECT_EQ(format_f(0.375, 5, 2), " 0.38");
    EXPECT_EQ(format_f(2.675, 5, 2), " 2.67");   // 2.675 is below the tie in binary
    EXPECT_EQ(format_f(static_cast<float>(1.38299), 10, 5), "   1.38299");
    EXPECT_EQ(format_f(-0.00001, 8, 4), " -0.0000");
    EXPECT_EQ(format_f(-0.0, 8, 4), " -0.0000");
    EXPECT_EQ(format_f(123456.0, 8, 4), "********");
    EXPECT_EQ(format_f(0.5, 5, 4), ".5000");     // optional leading zero dropped
    EXPECT_EQ(format_f(-0.5, 6, 4), "-.5000");
    EXPECT_EQ(format_f(3.0, 5, 0), "   3.");
    EXPECT_EQ(format_f(std::nan(""), 8, 4), "     NaN");
}

TEST(FortranWriters, ExponentForm) {
    EXPECT_EQ(format_e(1234.5, 12, 4), "  0.1234E+04");
    EXPECT_EQ(format_e(-0.00012345, 12, 4), " -0.1234E-03");
    EXPECT_EQ(format_e(0.0, 10, 3), " 0.000E+00");
    EXPECT_EQ(format_e(1e-120, 10, 3), " 0.100-119");
}

TEST(FortranReaders, IntegerFieldsIgnoreBlanks) {
    std::int32_t v = -5;
    ASSERT_TRUE(read_i_field("    ", v));
    EXPECT_EQ(v, 0);
    ASSERT_TRUE(read_i_field(" 1 2", v));
    EXPECT_EQ(v, 12);
    ASSERT_TRUE(read_i_field("  -3", v));
    EXPECT_EQ(v, -3);
    EXPECT_FALSE(read_i_field(" 1.2", v));
    EXPECT_FALSE(read_i_field("  - ", v));
    EXPECT_FALSE(read_i_field("99999999999", v));
    ASSERT_TRUE(read_i_field("-2147483648", v));
    EXPECT_EQ(v, INT32_MIN);
}

TEST(FortranReaders, RealFieldsImpliedDecimalsAndExponents) {
    float v = 0;
    ASSERT_TRUE(read_f_field("12345", 2, v));
    EXPECT_EQ(v, 123.45f);
    ASSERT_TRUE(read_f_field("  12.5  ", 2, v));
    EXPECT_EQ(v, 12.5f);
    ASSERT_TRUE(read_f_field("        ", 2, v));
    EXPECT_EQ(v, 0.0f);
    ASSERT_TRUE(read_f_field("1.5E2", 2, v));
    EXPECT_EQ(v, 150.0f);
    ASSERT_TRUE(read_f_field("1.5D-1", 2, v));
    EXPECT_EQ(v, 0.15f);
    ASSERT_TRUE(read_f_field("1.5+3", 2, v));
    EXPECT_EQ(v, 1500.0f);
    ASSERT_TRUE(read_f_field("-0.05", 2, v));
    EXPECT_EQ(v, -0.05f);
    ASSERT_TRUE(read_f_field("1 2.5", 2, v));
    EXPECT_EQ(v, 12.5f);
    // correctly rounded from a long digit string
    ASSERT_TRUE(read_f_field("0.100000001490116119384765625", 0, v));
    EXPECT_EQ(v, 0.1f);
    ASSERT_TRUE(read_f_field("16777217", 0, v));
    EXPECT_EQ(v, 16777216.0f);
    EXPECT_FALSE(read_f_field("1.2.3", 2, v));
    EXPECT_FALSE(read_f_field("abc", 2, v));
    EXPECT_FALSE(read_f_field("1E", 2, v));
    EXPECT_FALSE(read_f_field("1E99999", 2, v));
    EXPECT_FALSE(read_f_field(".", 2, v));
}

TEST(FortranReaders, WrittenValuesReadBack) {
    for (float x : {0.0f, 1.0f, -2.5f, 123.4567f, -0.0001f, 9999.999f}) {
        float back = 1e30f;
        ASSERT_TRUE(read_f_field(format_f(x, 12, 4), 4, back));
        EXPECT_NEAR(back, x, 0.00005f) << x;
    }
    for (int i : {0, 1, -1, 4096, -2147483647}) {
        std::int32_t back = 7;
        ASSERT_TRUE(read_i_field(format_i(i, 12), back));
        EXPECT_EQ(back, i);
    }
}

TEST(FortranInt, WrapAroundAndNint) {
    EXPECT_EQ(wrap_add(INT32_MAX, 1), INT32_MIN);
    EXPECT_EQ(wrap_mul(65536, 65536), 0);
    EXPECT_EQ(wrap_abs(INT32_MIN), INT32_MIN);
    EXPECT_EQ(nint(1.5), 2);
    EXPECT_EQ(nint(-1.5), -2);
    EXPECT_EQ(nint(2.4999), 2);
}

TEST(FixedTexts, BlankPaddedComparison) {
    FixedText<12> a("P 21 21 21");
    EXPECT_EQ(a.view(), "P 21 21 21  ");
    EXPECT_TRUE(a == "P 21 21 21");
    EXPECT_TRUE(a == FixedText<20>("P 21 21 21"));
    EXPECT_FALSE(a == "P 21 21 2");
    FixedText<3> cut("ABCDEF");
    EXPECT_EQ(cut.view(), "ABC");
    EXPECT_EQ(fixed("ab", 4), "ab  ");
    EXPECT_EQ(trim_both("  x y  "), "x y");
}

// The fast path for 32-bit values must agree with the exact decimal expansion
// that printf gives, ties included.
TEST(FortranWriters, FloatPathAgreesWithExactExpansion) {
    std::uint32_t state = 12345u;
    auto next = [&state] { state = state * 1664525u + 1013904223u; return state; };
    for (int i = 0; i < 200000; ++i) {
        float x;
        std::uint32_t bits = next();
        std::memcpy(&x, &bits, sizeof x);
        if (!std::isfinite(x) || std::fabs(x) > 1e7f) x = static_cast<float>(static_cast<std::int32_t>(next())) / 4096.0f;
        int d = static_cast<int>(next() % 8);
        char buf[128];
        std::snprintf(buf, sizeof buf, "%*.*f", 40, d, static_cast<double>(x));
        std::string expected(buf);
        if (d == 0) expected = expected.substr(1) + ".";
        ASSERT_EQ(format_f(x, 40, d), expected) << x << " d=" << d;
    }
    EXPECT_EQ(format_f(0.125f, 5, 2), " 0.12");
    EXPECT_EQ(format_f(2.5f, 4, 0), "  2.");
    EXPECT_EQ(format_f(3.5f, 4, 0), "  4.");
}

// Short fields take the exact fast conversion; it must agree with the
// correctly rounded library conversion everywhere.
TEST(FortranReaders, ShortFieldsAgreeWithCorrectRounding) {
    std::uint32_t state = 777u;
    auto next = [&state] { state = state * 1664525u + 1013904223u; return state; };
    for (int i = 0; i < 200000; ++i) {
        std::uint32_t mantissa = next() % 10000000u;
        int point = static_cast<int>(next() % 8);
        int exponent = static_cast<int>(next() % 7) - 3;
        std::string digits = std::to_string(mantissa);
        std::string field = digits;
        if (point < static_cast<int>(digits.size())) field.insert(digits.size() - static_cast<std::size_t>(point), ".");
        if (i % 3 == 0) field += "E" + std::to_string(exponent);
        float fast = 0, reference = 0;
        ASSERT_TRUE(read_f_field(field, 2, fast)) << field;
        std::string exact = field;
        if (exact.find('.') == std::string::npos) {
            auto e = exact.find('E');
            exact.insert(e == std::string::npos ? exact.size() : e, "e-2");
            if (e != std::string::npos) {  // implied decimals with an exponent
                reference = std::strtof((digits + "e" + std::to_string(exponent - 2)).c_str(), nullptr);
            } else {
                reference = std::strtof(exact.c_str(), nullptr);
            }
        } else {
            for (auto& c : exact) if (c == 'E') c = 'e';
            reference = std::strtof(exact.c_str(), nullptr);
        }
        ASSERT_EQ(fast, reference) << field;
    }
}

// The appending writers give the same fields as format_i and format_f and
// leave what the buffer held before in place, so that a table row can be
// assembled field by field.
TEST(FortranWriters, AppendingWritersExtendTheBuffer) {
    std::string row = "ab";
    append_i(row, -7, 4);
    append_f(row, 0.5, 5, 4);
    append_i(row, 12345, 4);
    append_f(row, -1.25f, 10, 5);
    append_f(row, std::numeric_limits<double>::infinity(), 9, 2);
    append_f(row, 2.0, 0, 1);
    EXPECT_EQ(row, "ab  -7.5000****  -1.25000 Infinity2.0");
    EXPECT_EQ(format_i(std::numeric_limits<long long>::min(), 21), " -9223372036854775808");
    EXPECT_EQ(format_i(std::numeric_limits<long long>::max(), 0), "9223372036854775807");
    EXPECT_EQ(format_f(-std::numeric_limits<double>::infinity(), 8, 2), "    -Inf");
    EXPECT_EQ(format_f(-std::numeric_limits<double>::infinity(), 9, 2), "-Infinity");
    EXPECT_EQ(format_f(0.1, 20, 15), "   0.100000000000000");  // a double: the general path

    std::uint32_t state = 99u;
    auto next = [&state] { state = state * 1664525u + 1013904223u; return state; };
    for (int i = 0; i < 20000; ++i) {
        const float x = static_cast<float>(static_cast<std::int32_t>(next())) / 65536.0f;
        const int w = static_cast<int>(next() % 14), d = static_cast<int>(next() % 6);
        std::string out = "|";
        append_f(out, x, w, d);
        ASSERT_EQ(out, "|" + format_f(x, w, d)) << x << " w=" << w << " d=" << d;
        const auto n = static_cast<std::int32_t>(next());
        out = "|";
        append_i(out, n, w);
        ASSERT_EQ(out, "|" + format_i(n, w)) << n << " w=" << w;
    }
}

// Every field the exact short conversion takes (a mantissa below 2^24, eight
// digits included, blanks anywhere, leading zeros) reads as the correctly
// rounded library conversion reads it, and so do the longer fields beside it.
TEST(FortranReaders, EightDigitMantissasAndBlanksAgreeWithCorrectRounding) {
    std::uint32_t state = 4242u;
    auto next = [&state] { state = state * 1664525u + 1013904223u; return state; };
    for (int i = 0; i < 200000; ++i) {
        const std::uint32_t mantissa = 10000000u + next() % 90000000u;  // eight digits, both sides of 2^24
        const int decimals = static_cast<int>(next() % 9);
        std::string digits = std::to_string(mantissa);
        std::string field = digits;
        field.insert(digits.size() - static_cast<std::size_t>(decimals), ".");
        if (i % 2 == 0) field = "  -00" + field;
        if (i % 5 == 0) field.insert(field.size() / 2, " \t ");
        float value = 0;
        ASSERT_TRUE(read_f_field(field, 2, value)) << field;
        const std::string exact = (i % 2 == 0 ? "-" : "") + digits + "e-" + std::to_string(decimals);
        ASSERT_EQ(value, std::strtof(exact.c_str(), nullptr)) << field;
    }
    float v = 1;
    ASSERT_TRUE(read_f_field(" - 0. 00 ", 2, v));
    EXPECT_TRUE(v == 0.0f && std::signbit(v));
    ASSERT_TRUE(read_f_field("   123456789.12", 2, v));
    EXPECT_EQ(v, 123456789.12f);
    ASSERT_TRUE(read_f_field(" 00000000001498.20", 2, v));
    EXPECT_EQ(v, 1498.2f);
    EXPECT_FALSE(read_f_field("   12.50 -", 2, v));
    EXPECT_FALSE(read_f_field("  +", 2, v));
}
