// Fraction texts write reals as the first fraction i/j (smallest numerator
// first) within epss, integers with the field width of their rounded value,
// and translations as packed or fixed-layout vectors.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "maths/math_gen.hpp"
#include "text/string_util.hpp"

using namespace vorn_string_utilities;

namespace {

std::string fraction_2dig(float value, std::size_t width = 6) {
    std::string text(width, '#');
    get_fraction_2dig(value, text);
    EXPECT_EQ(text.size(), width);
    return text;
}

std::string fraction_1dig(float value) {
    std::string text(4, '#');
    get_fraction_1dig(value, text);
    return text;
}

}  // namespace

TEST(FractionTwoDigits, WorkedExamples) {
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {0.0f, " 0    "},       {-1.0f, "-1    "},       {12.0f, "+12   "},     {-12.0f, "-12   "},
        {0.5f, "+1/2  "},       {-0.25f, "-1/4  "},      {0.6666667f, "+2/3  "}, {1.5f, "+3/2  "},
        {0.0833333f, "+1/12 "}, {0.12345f, "***/**"},    {0.999999f, "+1    "}, {13.0f / 24.0f, "+13/24"},
        {-0.75f, "-3/4  "},     {100.0f, "+**   "},      {-100.0f, "***   "}, {9.999999f, "+10   "},
        {-9.999995f, "-10   "}, {1.0f / 3.0f, "+1/3  "}, {-2.0f / 3.0f, "-2/3  "}, {23.0f / 24.0f, "+23/24"},
        {1.0e-6f, "+0    "},    {-1.0e-6f, " 0    "},    {1.0f / 25.0f, "***/**"}, {24.0f / 23.0f, "+24/23"},
        {3.0e9f, "+**   "},     {-3.0e9f, "***   "},
    };
    for (const Case& c : cases) EXPECT_EQ(fraction_2dig(c.value), c.expected) << c.value;
    EXPECT_EQ(fraction_2dig(std::numeric_limits<float>::quiet_NaN()), "***   ");
    EXPECT_EQ(fraction_2dig(0.5f, 20), "+1/2                ");
    EXPECT_EQ(fraction_2dig(-0.25f, 10), "-1/4      ");

    FixedText<6> field;
    get_fraction_2dig(-0.75f, field);
    EXPECT_EQ(field.str(), "-3/4  ");
}

TEST(FractionTwoDigits, FollowsTheTolerance) {
    EXPECT_EQ(fraction_2dig(0.500009f), "+1/2  ");
    EXPECT_EQ(fraction_2dig(0.500011f), "***/**");
    EXPECT_EQ(fraction_2dig(0.5001f), "***/**");
    vorn_math_general::set_epsg(1.0e-3f);
    EXPECT_EQ(fraction_2dig(0.5001f), "+1/2  ");
    EXPECT_EQ(fraction_2dig(2.9995f), "+3    ");
    vorn_math_general::set_epsg_default();
    EXPECT_EQ(fraction_2dig(2.9995f), "***/**");
}

TEST(FractionOneDigit, WorkedExamples) {
    struct Case {
        float value;
        const char* expected;
    };
    const Case cases[] = {
        {0.0833333f, "**/*"}, {12.0f, "+*  "},  {-12.0f, "**  "}, {0.5f, "+1/2"}, {-0.25f, "-1/4"},
        {0.0f, " 0  "},       {9.0f, "+9  "},   {-9.0f, "-9  "},  {8.0f / 9.0f, "+8/9"}, {1.5f, "+3/2"},
        {-0.0f, " 0  "},
    };
    for (const Case& c : cases) EXPECT_EQ(fraction_1dig(c.value), c.expected) << c.value;
}

TEST(TranslationTexts, PackedAndFixedLayouts) {
    struct Case {
        std::array<float, 3> vector;
        const char* expected;
    };
    const Case packed[] = {
        {{0.0f, 0.0f, 0.0f}, "(0,0,0)"},
        {{0.5f, 0.5f, 0.5f}, "(1/2,1/2,1/2)"},
        {{1.0f / 3.0f, 2.0f / 3.0f, 0.12345f}, "(1/3,2/3,***/**)"},
        {{0.0f, 0.5f, -0.25f}, "(0,1/2,-1/4)"},
        {{-0.25f, 0.0f, 0.0f}, "(-1/4,0,0)"},
        {{1.0f, -1.0f, 13.0f / 24.0f}, "(1,-1,13/24)"},
    };
    for (const Case& c : packed) {
        std::string text(22, '#');
        frac_trans_2dig(c.vector, text);
        EXPECT_EQ(text, fixed(c.expected, 22)) << c.expected;
    }
    std::string narrow(5, '#');
    frac_trans_2dig({0.5f, 0.5f, 0.5f}, narrow);
    EXPECT_EQ(narrow, "(1/2,");

    const Case layout[] = {
        {{0.5f, 0.0f, 0.25f}, "( 1/2, 0  , 1/4)"},
        {{0.5f, 0.25f, 0.0f}, "( 1/2, 1/4, 0  )"},
        {{-0.5f, 1.0f / 12.0f, -1.0f}, "(-1/2,**/*,-1  )"},
    };
    for (const Case& c : layout) {
        std::string text(40, '#');
        frac_trans_1dig(c.vector, text);
        EXPECT_EQ(text, fixed(c.expected, 40)) << c.expected;
    }
    std::string short_text(10, '#');
    frac_trans_1dig({0.5f, 0.0f, 0.25f}, short_text);
    EXPECT_EQ(short_text, "( 1/2, 0  ");

    FixedText<22> field;
    frac_trans_2dig({0.0f, 0.5f, 0.25f}, field);
    EXPECT_EQ(field, "(0,1/2,1/4)");
    FixedText<40> wide;
    frac_trans_1dig({0.5f, 0.0f, 0.25f}, wide);
    EXPECT_EQ(wide, "( 1/2, 0  , 1/4)");
}

TEST(FractionTwoDigits, EveryFractionReadsBackReduced) {
    // Each i/j in reach is written as its reduced fraction (or integer) and
    // reads back to the same value.
    for (int i = 1; i <= 24; ++i) {
        for (int j = 2; j <= 24; ++j) {
            for (int sign : {1, -1}) {
                const float value = static_cast<float>(sign * i) / static_cast<float>(j);
                const std::string text = fraction_2dig(value);
                ASSERT_NE(text, "***/**") << sign * i << "/" << j;
                init_err_string();
                float back = 0.0f;
                read_fract(trim_right(text), back);
                EXPECT_FALSE(err_string) << text;
                EXPECT_NEAR(back, value, 1.0e-5f) << sign * i << "/" << j << " -> " << text;
                const std::size_t slash = text.find('/');
                if (slash != std::string::npos) {
                    int p = std::stoi(text.substr(1, slash - 1));
                    int q = std::stoi(text.substr(slash + 1));
                    int a = p;
                    int b = q;
                    while (b != 0) {
                        const int r = a % b;
                        a = b;
                        b = r;
                    }
                    EXPECT_EQ(a, 1) << text;
                }
            }
        }
    }
}
