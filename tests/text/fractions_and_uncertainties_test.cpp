// Fraction texts of reals and translations (first i/j within epss, integers in the width of their
// rounded value, asterisks beyond reach) read back reduced; value(uncertainty) texts carry the
// uncertainty in units of the last digit shown and read back to the digits shown.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <numeric>
#include <string>

#include "maths/math_gen.hpp"
#include "text_checks.hpp"

using namespace text_checks;

namespace {
const float qnan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
// The text that procedure `proc` writes into `width` characters, without its trailing blanks: 2, 1:
// get_fraction_2dig, get_fraction_1dig of v[0]; p, t: frac_trans_2dig, frac_trans_1dig of v; s:
// setnum_std of value v[0] and uncertainty v[1].  The record-field overloads must write the same.
std::string written(char proc, const std::array<float, 3>& v, int given = -1) {
    const std::size_t width = given >= 0 ? static_cast<std::size_t>(given) : proc == '2' ? 6 : proc == '1' ? 4 : proc == 'p' ? 22 : proc == 't' ? 40 : 80;
    std::string text(width, '#'), wide(40, '#');
    FixedText<40> field;
    const auto all = [&](auto write) { write(text), write(wide), write(field); };
    if (proc == '2') all([&](auto& t) { get_fraction_2dig(v[0], t); });
    if (proc == '1') all([&](auto& t) { get_fraction_1dig(v[0], t); });
    if (proc == 'p') all([&](auto& t) { frac_trans_2dig(v, t); });
    if (proc == 't') all([&](auto& t) { frac_trans_1dig(v, t); });
    if (proc == 's') all([&](auto& t) { setnum_std(v[0], v[1], t); });
    const std::string got(trim_right(text));
    return text.size() == width && field.str() == wide ? got : got + " <width " + std::to_string(text.size()) + ", field " + field.str() + ">";
}
}  // namespace

// Fractions: first i/j within epss (i 1..24, j 2..24, or one digit), integers in the width of their
// rounded value, asterisks beyond reach.  value(uncertainty): .500: field one short, the 0 goes; ****:
// too narrow for 4 decimals; (20): s = 19.5 rounds away from zero, and 0.02 is scaled in double; (3): s
// rounded to float before nint; *******: " 1.5E-7" sizes a field of 7, " 0." one of 3; digits beyond
// 32 bits; uncertainties not a non-negative finite number; texts cut to the room given.
TEST(NumberTexts, FractionsTranslationsAndValuesWithUncertainties) {
    struct Case { char proc; std::array<float, 3> v; const char* expected; int width = -1; };  // -1: the usual width
    const Case cases[] = {
        {'2', {0.0f}, " 0"}, {'2', {-1.0f}, "-1"}, {'2', {12.0f}, "+12"}, {'2', {-12.0f}, "-12"}, {'2', {0.5f}, "+1/2"}, {'2', {-0.25f}, "-1/4"},
        {'2', {0.6666667f}, "+2/3"}, {'2', {1.5f}, "+3/2"}, {'2', {0.0833333f}, "+1/12"}, {'2', {0.12345f}, "***/**"}, {'2', {0.999999f}, "+1"},
        {'2', {13.0f / 24.0f}, "+13/24"}, {'2', {-0.75f}, "-3/4"}, {'2', {100.0f}, "+**"}, {'2', {-100.0f}, "***"}, {'2', {9.999999f}, "+10"},
        {'2', {-9.999995f}, "-10"}, {'2', {1.0f / 3.0f}, "+1/3"}, {'2', {-2.0f / 3.0f}, "-2/3"}, {'2', {23.0f / 24.0f}, "+23/24"},
        {'2', {1.0e-6f}, "+0"}, {'2', {-1.0e-6f}, " 0"}, {'2', {1.0f / 25.0f}, "***/**"}, {'2', {24.0f / 23.0f}, "+24/23"}, {'2', {3.0e9f}, "+**"},
        {'2', {-3.0e9f}, "***"}, {'2', {qnan}, "***"}, {'2', {0.5f}, "+1/2", 20}, {'2', {-0.25f}, "-1/4", 10}, {'2', {0.500009f}, "+1/2"},
        {'2', {0.500011f}, "***/**"}, {'2', {0.5001f}, "***/**"}, {'2', {2.9995f}, "***/**"}, {'1', {0.0833333f}, "**/*"}, {'1', {12.0f}, "+*"},
        {'1', {-12.0f}, "**"}, {'1', {0.5f}, "+1/2"}, {'1', {-0.25f}, "-1/4"}, {'1', {0.0f}, " 0"}, {'1', {9.0f}, "+9"}, {'1', {-9.0f}, "-9"},
        {'1', {8.0f / 9.0f}, "+8/9"}, {'1', {1.5f}, "+3/2"}, {'1', {-0.0f}, " 0"}, {'p', {0, 0, 0}, "(0,0,0)"},
        {'p', {0.5f, 0.5f, 0.5f}, "(1/2,1/2,1/2)"}, {'p', {1.0f / 3.0f, 2.0f / 3.0f, 0.12345f}, "(1/3,2/3,***/**)"},
        {'p', {0, 0.5f, -0.25f}, "(0,1/2,-1/4)"}, {'p', {-0.25f, 0, 0}, "(-1/4,0,0)"}, {'p', {1, -1, 13.0f / 24.0f}, "(1,-1,13/24)"},
        {'p', {0.5f, 0.5f, 0.5f}, "(1/2,", 5}, {'t', {0.5f, 0, 0.25f}, "( 1/2, 0  , 1/4)"}, {'t', {0.5f, 0.25f, 0}, "( 1/2, 1/4, 0  )"},
        {'t', {-0.5f, 1.0f / 12.0f, -1}, "(-1/2,**/*,-1  )"}, {'t', {0.5f, 0, 0.25f}, "( 1/2, 0", 10}, {'s', {0.0123f, 0.045f}, " 0.01(5)"},
        {'s', {123.4f, 2.5f}, " 123(3)"}, {'s', {-0.0012f, 0.03f}, "-0.00(3)"}, {'s', {0.5f, 0.01f}, " .500(10)"},
        {'s', {0.5f, 0.001f}, " ****(10)"}, {'s', {1.5f, 0.0f}, " 1.50000"}, {'s', {-2000000.0f, 0.0f}, "-2000000."},
        {'s', {0.1234f, 0.0195f}, " 0.123(20)"}, {'s', {0.1234f, 0.02f}, " 0.123(20)"}, {'s', {1.2345f, 0.0025f}, " 1.235(3)"},
        {'s', {12.25f, 5.0f}, " 12(5)"}, {'s', {0.0312f, 0.0456f}, " 0.03(5)"}, {'s', {-0.0312f, 0.0456f}, "-0.03(5)"},
        {'s', {-0.5f, 0.2f}, "-0.5(2)"}, {'s', {1234567.0f, 0.5f}, " 1234567.0(5)"}, {'s', {1.5e-7f, 1.0e-7f}, " *******(10)"},
        {'s', {2.5e7f, 3.0e6f}, " *******(3000000)"}, {'s', {1.0e10f, 3.0e9f}, " *******(3000000000)"},
        {'s', {1.0f, 1.0e30f}, " 1(1000000015047466219876688855040)"}, {'s', {-5.0e-8f, 1.0e-7f}, " *******(10)"}, {'s', {0.0f, 0.01f}, " ***(10)"},
        {'s', {0.0123f, -0.045f}, " 0.01(5)"}, {'s', {1.5f, qnan}, " 1.50000"}, {'s', {1.5f, inf}, " 1.50000"}, {'s', {1.5f, -inf}, " 1.50000"},
        {'s', {-1.5f, 5.0e-8f}, "-1.50000"}, {'s', {999999.0f, 0.0f}, " 999999.00000"}, {'s', {1.0e10f, 0.0f}, " 1.E+10"},
        {'s', {-1.5e-7f, 0.0f}, "-0.00000"}, {'s', {qnan, 0.01f}, " NaN(10)"}, {'s', {inf, 0.0f}, " Infinity"}, {'s', {-inf, 0.5f}, "-Infinity(5)"},
        {'s', {0.5f, 0.01f}, " .500(10", 8}, {'s', {0.5f, 0.01f}, " .500(*", 7}, {'s', {-0.0312f, 0.0456f}, " (5", 3},
        {'s', {1.0f, 1.0e30f}, " 1(*)", 20}, {'s', {1.5f, 0.0f}, " 1.5", 4}, {'s', {1.5f, 0.1f}, "", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(written(c.proc, c.v, c.width), c.expected) << c.proc << " " << c.v[0] << " " << c.v[1] << " w=" << c.width;
    vorn_math_general::set_epsg(1.0e-3f);
    EXPECT_EQ(written('2', {0.5001f}) + written('2', {2.9995f}), "+1/2+3");
    vorn_math_general::set_epsg_default();
}

// Each ±i/j (i 1..24, j 2..24) is written as its reduced fraction or integer and reads back.
TEST(FractionTexts, EveryFractionReadsBackReduced) {
    for (int i = -24; i <= 24; ++i) {
        for (int j = 2; j <= 24 && i != 0; ++j) {
            const float value = static_cast<float>(i) / static_cast<float>(j);
            const std::string text = written('2', {value}, 6);
            float back = 0.0f;
            init_err_string();
            read_fract(trim_right(text), back);
            ASSERT_TRUE(text != "***/**" && !err_string) << i << "/" << j << " -> " << text;
            EXPECT_NEAR(back, value, 1.0e-5f) << i << "/" << j << " -> " << text;
            const std::size_t slash = text.find('/');
            const int p = slash == std::string::npos ? 1 : std::stoi(text.substr(1, slash - 1));
            EXPECT_EQ(std::gcd(p, slash == std::string::npos ? 1 : std::stoi(text.substr(slash + 1))), 1) << text;
        }
    }
}

// Over several decades the text read back gives the value to half a unit of its last decimal and
// the uncertainty as its digits in that unit.
TEST(SetnumStd, TextsReadBackToTheDigitsShown) {
    std::array<float, 2> values{}, uncertainties{};
    std::int32_t count = 0;
    int unreadable = 0;
    for (float sigma : {0.00013f, 0.0021f, 0.0456f, 0.13f, 0.5f, 1.9f, 2.0f, 7.5f, 25.0f}) {
        for (int k = -40; k <= 40; ++k) {
            const float value = 0.123457f * static_cast<float>(k) * (1.0f + std::fabs(sigma));
            const std::string text = written('s', {value, sigma});
            if (text.find('*') != std::string::npos) {  // shortest text narrower than the decimals needed
                ++unreadable;
                continue;
            }
            getnum_std(text, values, uncertainties, count);
            ASSERT_FALSE(err_string) << text;
            ASSERT_EQ(count, 1) << text;
            int decimals = 0;
            for (double s = sigma; s < 2.0; s *= 10.0) ++decimals;
            const double unit = std::pow(10.0, -decimals);
            EXPECT_LE(std::fabs(static_cast<double>(values[0]) - value), 0.5 * unit * (1 + 1e-5) + 1e-6 * std::fabs(value)) << text;
            EXPECT_NEAR(uncertainties[0], sigma, 0.5 * unit * (1 + 1e-5)) << value << " " << sigma << " -> " << text;
        }
    }
    EXPECT_LT(unreadable, 100);
}
