// Value-and-uncertainty texts carry the uncertainty in units of the last
// digit shown, sized from the value's shortest text, and read back to the
// same value and uncertainty.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "text/string_util.hpp"

using namespace vorn_string_utilities;

namespace {

std::string value_text(float value, float uncertainty, std::size_t width = 80) {
    std::string text(width, '#');
    setnum_std(value, uncertainty, text);
    EXPECT_EQ(text.size(), width);
    return std::string(trim_right(text));
}

}  // namespace

TEST(SetnumStd, WorkedExamples) {
    struct Case {
        float value;
        float uncertainty;
        const char* expected;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const Case cases[] = {
        {0.0123f, 0.045f, " 0.01(5)"},
        {123.4f, 2.5f, " 123(3)"},
        {-0.0012f, 0.03f, "-0.00(3)"},
        {0.5f, 0.01f, " .500(10)"},        // field one short: the 0 goes
        {0.5f, 0.001f, " ****(10)"},       // field too narrow for 4 decimals
        {1.5f, 0.0f, " 1.50000"},
        {-2000000.0f, 0.0f, "-2000000."},
        {0.1234f, 0.0195f, " 0.123(20)"},  // s = 19.5 rounds away from zero
        {0.1234f, 0.02f, " 0.123(20)"},    // scaled in double, not float
        {1.2345f, 0.0025f, " 1.235(3)"},   // s rounded to float before nint
        {12.25f, 5.0f, " 12(5)"},
        {0.0312f, 0.0456f, " 0.03(5)"},
        {-0.0312f, 0.0456f, "-0.03(5)"},
        {-0.5f, 0.2f, "-0.5(2)"},
        {1234567.0f, 0.5f, " 1234567.0(5)"},
        {1.5e-7f, 1.0e-7f, " *******(10)"},  // " 1.5E-7" sizes a field of 7
        {2.5e7f, 3.0e6f, " *******(3000000)"},
        {1.0e10f, 3.0e9f, " *******(3000000000)"},  // digits beyond 32 bits
        {1.0f, 1.0e30f, " 1(1000000015047466219876688855040)"},
        {-5.0e-8f, 1.0e-7f, " *******(10)"},
        {0.0f, 0.01f, " ***(10)"},   // " 0." sizes a field of 3
        // Uncertainties that are not a non-negative finite number.
        {0.0123f, -0.045f, " 0.01(5)"},
        {1.5f, nan, " 1.50000"},
        {1.5f, inf, " 1.50000"},
        {1.5f, -inf, " 1.50000"},
        {-1.5f, 5.0e-8f, "-1.50000"},
        {999999.0f, 0.0f, " 999999.00000"},
        {1.0e10f, 0.0f, " 1.E+10"},
        {-1.5e-7f, 0.0f, "-0.00000"},
        {nan, 0.01f, " NaN(10)"},
        {inf, 0.0f, " Infinity"},
        {-inf, 0.5f, "-Infinity(5)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(value_text(c.value, c.uncertainty), c.expected) << c.value << " " << c.uncertainty;
    }
}

TEST(SetnumStd, NarrowTextsAndRecordFields) {
    EXPECT_EQ(value_text(0.5f, 0.01f, 8), " .500(10");
    EXPECT_EQ(value_text(0.5f, 0.01f, 7), " .500(*");
    EXPECT_EQ(value_text(-0.0312f, 0.0456f, 3), " (5");  // the value field is cut off
    EXPECT_EQ(value_text(1.0f, 1.0e30f, 20), " 1(*)");   // digits wider than the room left
    EXPECT_EQ(value_text(1.5f, 0.0f, 4), " 1.5");
    EXPECT_EQ(value_text(1.5f, 0.1f, 0), "");

    FixedText<80> field;
    setnum_std(0.0312f, 0.0456f, field);
    EXPECT_EQ(field, " 0.03(5)");
}

TEST(GetnumStd, ReadsValuesWithUncertainties) {
    std::array<float, 5> values{};
    std::array<float, 5> uncertainties{};
    std::int32_t count = -1;
    getnum_std("1.234(5) 7 2(1)", values, uncertainties, count);
    EXPECT_FALSE(err_string);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(values[0], 1.234f);
    EXPECT_EQ(uncertainties[0], 0.005f);
    EXPECT_EQ(values[1], 7.0f);
    EXPECT_EQ(uncertainties[1], 0.0f);
    EXPECT_EQ(values[2], 2.0f);
    EXPECT_EQ(uncertainties[2], 1.0f);

    getnum_std("  -0.0312(456)x 12.5(10)", values, uncertainties, count);
    EXPECT_FALSE(err_string);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(values[0], -0.0312f);
    EXPECT_EQ(uncertainties[0], 0.0456f);
    EXPECT_EQ(uncertainties[1], 1.0f);

    // Texts written by setnum_std read back to the digits shown.
    const char* written[] = {" 0.123(20)", "-0.03(5)", " 123(3)", " .500(10)"};
    const float back_values[] = {0.123f, -0.03f, 123.0f, 0.5f};
    const float back_uncertainties[] = {0.02f, 0.05f, 3.0f, 0.01f};
    for (int i = 0; i < 4; ++i) {
        getnum_std(written[i], values, uncertainties, count);
        EXPECT_FALSE(err_string) << written[i];
        EXPECT_EQ(count, 1) << written[i];
        EXPECT_EQ(values[0], back_values[i]) << written[i];
        EXPECT_FLOAT_EQ(uncertainties[0], back_uncertainties[i]) << written[i];
    }
}

TEST(GetnumStd, MalformedItemsRaiseTheErrorPair) {
    std::array<float, 4> values{};
    std::array<float, 4> uncertainties{};
    std::int32_t count = -1;
    struct Case {
        const char* line;
        const char* message;
        std::int32_t count;
    };
    const Case cases[] = {
        {"1.2)3(", "Wrong format using Standard values", 0},
        {"1.2(3", "Wrong format using Standard values", 0},
        {"1.2)", "Wrong format using Standard values", 0},
        {"      ", "Blank line", 0},
        {"", "Blank line", 0},
        {"a(1)", "Bad format", 0},
        {"(1)", "Bad format", 0},
        {"1() 2", "Bad format", 1},
        {"5 1.5(x)", "Bad format", 2},
        {"3 +4", "Bad format", 1},
    };
    for (const Case& c : cases) {
        getnum_std(c.line, values, uncertainties, count);
        EXPECT_TRUE(err_string) << c.line;
        EXPECT_EQ(err_string_mess, c.message) << c.line;
        EXPECT_EQ(count, c.count) << c.line;
    }

    std::array<float, 2> two{};
    std::array<float, 3> three{};
    getnum_std("1 2(1) 3", two, three, count);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Dimension of value arrays exceeded");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(two[1], 2.0f);
    EXPECT_EQ(three[1], 1.0f);
}

TEST(SetnumStd, TextsReadBackToTheDigitsShown) {
    // Values and uncertainties over several decades: the text read back gives
    // the value to half a unit of its last decimal and the uncertainty as
    // its digits in that unit.
    std::array<float, 2> values{};
    std::array<float, 2> uncertainties{};
    std::int32_t count = 0;
    int unreadable = 0;
    const float sigmas[] = {0.00013f, 0.0021f, 0.0456f, 0.13f, 0.5f, 1.9f, 2.0f, 7.5f, 25.0f};
    for (float sigma : sigmas) {
        for (int k = -40; k <= 40; ++k) {
            const float value = 0.123457f * static_cast<float>(k) * (1.0f + std::fabs(sigma));
            const std::string text = value_text(value, sigma);
            // A shortest text narrower than the decimals needed gives
            // asterisks (" 0." for zero): nothing to read back.
            if (text.find('*') != std::string::npos) {
                ++unreadable;
                continue;
            }
            getnum_std(text, values, uncertainties, count);
            ASSERT_FALSE(err_string) << text;
            ASSERT_EQ(count, 1) << text;
            int decimals = 0;
            for (double s = sigma; s < 2.0; s *= 10.0) ++decimals;
            const double unit = std::pow(10.0, -decimals);
            EXPECT_LE(std::fabs(static_cast<double>(values[0]) - value), 0.5 * unit * (1 + 1e-5) + 1e-6 * std::fabs(value))
                << value << " " << sigma << " -> " << text;
            EXPECT_NEAR(uncertainties[0], sigma, 0.5 * unit * (1 + 1e-5)) << value << " " << sigma << " -> " << text;
        }
    }
    EXPECT_LT(unreadable, 100);
}
