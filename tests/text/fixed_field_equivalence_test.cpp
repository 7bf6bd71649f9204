// The in-place Fw.d and Iw writers give exactly the C library's exact expansion under the Fortran
// field rules on a million random 32-bit values over many widths and decimals (ties to even, the
// dropped leading zero, asterisks, "-0.000", "0.", "."); plain and other real fields read as before.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <bit>
#include <random>

#include "text/fortran_format.hpp"

using namespace vorn_string_utilities;

// A signed text in w columns: the leading zero of "0.xxx" dropped when one column too long,
// asterisks when it still does not fit.
static std::string in_field(const std::string& sign, std::string digits, std::size_t w) {
    if (sign.size() + digits.size() > w && digits.rfind("0.", 0) == 0) digits.erase(0, 1);
    return sign.size() + digits.size() > w ? std::string(w, '*') : std::string(w - sign.size() - digits.size(), ' ') + sign + digits;
}

TEST(FixedFieldEquivalence, WritersAgreeWithTheExactExpansionOnAMillionValues) {
    std::mt19937 random(424242u);
    std::normal_distribution<float> deviate(0.0f, 1.0f);
    for (int n = 0; n < 1000000; ++n) {
        float x = std::bit_cast<float>(std::uint32_t(random()));  // any finite float below 10^9: every exponent and digit pattern
        if (!std::isfinite(x) || std::fabs(x) >= 1e9f) x = float(std::int32_t(random())) / 8.0f;
        if (n % 4 == 1) x = deviate(random) * (n % 3 == 0 ? 0.01f : 3.0f);  // deviates and quotients
        if (n % 4 == 2) x = float(int(random() % 2000001) - 1000000) / 64.0f;  // exact ties
        if (n % 4 == 3) x = float(int(random() % 20001) - 10000) / 1e4f;  // near zero
        const int w = n % 5 == 0 ? 10 : 1 + int(random() % 16), d = n % 5 == 0 ? 5 : int(random() % 8);
        const long long i = std::int64_t(std::int32_t(random())) >> (random() % 32), iw = 1 + random() % 12;
        char digits[64];
        std::snprintf(digits, sizeof digits, "%.*f", d, std::fabs(double(x)));
        std::string row = ">";  // both fields appended after what the buffer held
        append_f(row, x, w, d), append_i(row, i, int(iw));
        ASSERT_EQ(row, ">" + in_field(std::signbit(x) ? "-" : "", digits + std::string(d == 0 ? "." : ""), w) +
                           in_field(i < 0 ? "-" : "", std::to_string(std::llabs(i)), iw)) << x << " w=" << w << " d=" << d;
    }
}

// The one-pass path takes the plain fields; anything else goes the general way.
TEST(FixedFieldEquivalence, PlainAndOtherFieldsRead) {
    const std::tuple<const char*, bool, float> cases[] = {
        {"         -0.00", true, -0.0f}, {"      1 570.70", true, 1570.7f}, {"        1.5e3", true, 1500.0f},
        {"          +7  ", true, 0.07f}, {"             .", false, 0}, {"             -", false, 0},
        {"              ", true, 0.0f}, {"   16777216.00", true, 16777216.0f}, {"  12.5x", false, 0}};
    for (const auto& [field, ok, expected] : cases) {
        float value = 99.0f;
        const bool read = read_f_field(field, 2, value);
        EXPECT_TRUE(read == ok && (!ok || (value == expected && std::signbit(value) == std::signbit(expected)))) << field << " " << value;
    }
}
