// The in-place Fw.d and Iw writers and the one-pass readers of plain fields
// give exactly what the C library's exact expansion and conversion give under
// the Fortran field rules: a million random 32-bit values over many widths
// and decimals (ties, the dropped leading zero, asterisks, "-0.000" and "0."
// included); plain and other real fields read as before.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "text/fortran_format.hpp"

using namespace vorn_string_utilities;

namespace {

// Fw.d from printf's exact expansion of |v|: the point kept when d = 0, the
// leading zero of "0.xxx" dropped when the signed text is one column too
// long, asterisks when it still does not fit.
std::string printf_field(double v, int w, int d) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, "%.*f", d, std::fabs(v));
    std::string digits = buffer;
    if (d == 0) digits += '.';
    const bool negative = std::signbit(v);
    if (digits.size() + negative > static_cast<std::size_t>(w) && digits.size() > 1 && digits[0] == '0' && digits[1] == '.')
        digits.erase(0, 1);
    if (digits.size() + negative > static_cast<std::size_t>(w)) return std::string(static_cast<std::size_t>(w), '*');
    return std::string(static_cast<std::size_t>(w) - digits.size() - negative, ' ') + (negative ? "-" : "") + digits;
}

std::string printf_integer_field(long long v, int w) {
    const std::string digits = std::to_string(v);
    if (digits.size() > static_cast<std::size_t>(w)) return std::string(static_cast<std::size_t>(w), '*');
    return std::string(static_cast<std::size_t>(w) - digits.size(), ' ') + digits;
}

}  // namespace

TEST(FixedFieldEquivalence, WritersAgreeWithTheExactExpansionOnAMillionValues) {
    std::mt19937 random(424242u);
    std::normal_distribution<float> deviate(0.0f, 1.0f);
    std::string row = ">";
    for (int n = 0; n < 1000000; ++n) {
        float x = 0.0f;
        switch (n % 4) {
            case 0: {  // any finite float below 10^9: every exponent and digit pattern
                const std::uint32_t bits = random();
                std::memcpy(&x, &bits, sizeof x);
                if (!std::isfinite(x) || std::fabs(x) >= 1e9f) x = static_cast<float>(static_cast<std::int32_t>(random())) / 8.0f;
                break;
            }
            case 1: x = deviate(random) * (n % 3 == 0 ? 0.01f : 3.0f); break;  // deviates and quotients
            case 2: x = static_cast<float>(static_cast<std::int32_t>(random() % 2000001) - 1000000) / 64.0f; break;  // exact ties
            default: x = static_cast<float>(static_cast<std::int32_t>(random() % 20001) - 10000) / 1e4f; break;  // near zero
        }
        const bool table_field = n % 5 == 0;
        const int w = table_field ? 10 : 1 + static_cast<int>(random() % 16);
        const int d = table_field ? 5 : static_cast<int>(random() % 8);
        row.resize(1);
        append_f(row, x, w, d);
        ASSERT_EQ(row.substr(1), printf_field(x, w, d)) << "x=" << x << " w=" << w << " d=" << d;
        const auto i = static_cast<long long>(static_cast<std::int32_t>(random())) >> (random() % 32);
        const int iw = 1 + static_cast<int>(random() % 12);
        append_i(row, i, iw);
        ASSERT_EQ(row.substr(1 + static_cast<std::size_t>(w)), printf_integer_field(i, iw)) << "i=" << i << " w=" << iw;
        ASSERT_EQ(row.size(), 1 + static_cast<std::size_t>(w + iw));  // appended after what the buffer held
    }
    EXPECT_EQ(printf_field(-0.0, 7, 3), " -0.000");
    EXPECT_EQ(format_f(-0.0f, 7, 3), " -0.000");
    EXPECT_EQ(format_f(0.0f, 1, 0), ".");
    EXPECT_EQ(format_f(0.4f, 2, 0), "0.");
    EXPECT_EQ(format_f(-0.4f, 2, 0), "-.");
}

// The one-pass path takes the plain fields; anything else goes the general way.
TEST(FixedFieldEquivalence, PlainAndOtherFieldsRead) {
    struct Case { const char* field; bool ok; float value; };
    const Case cases[] = {
        {"         -0.00", true, -0.0f}, {"      1 570.70", true, 1570.7f}, {"        1.5e3", true, 1500.0f},
        {"          +7  ", true, 0.07f}, {"             .", false, 0.0f},   {"             -", false, 0.0f},
        {"              ", true, 0.0f},  {"   16777216.00", true, 16777216.0f}, {"  12.5x", false, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        float value = 99.0f;
        ASSERT_EQ(read_f_field(c.field, 2, value), c.ok);
        if (c.ok) {
            EXPECT_EQ(value, c.value);
            EXPECT_EQ(std::signbit(value), std::signbit(c.value));
        }
    }
}
