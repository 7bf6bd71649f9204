// Numbers are read from free text by the library's own digit-by-digit rule
// (not by the C library), fractions and linear expressions give their exact
// coefficients, and every malformed input ends in the error pair, never in
// a crash or a write past the caller's arrays.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "text/string_util.hpp"

using namespace vorn_string_utilities;

namespace {

struct Numbers {
    std::array<float, 8> reals{};
    std::array<std::int32_t, 8> integers{};
    std::int32_t count = -1;
};

Numbers read_numbers(std::string_view line) {
    Numbers n;
    n.reals.fill(99.0f);
    n.integers.fill(99);
    getnum(line, n.reals, n.integers, n.count);
    return n;
}

const std::string not_a_number = "The variable cannot be computed as a number in GETNUM ";
const std::string digit_limits = "Limits of digit variable exceeded in GETNUM";

}  // namespace

TEST(Getnum, ReadsEveryNumberOfALine) {
    const Numbers n = read_numbers("12 -3.5 1.5E-2 2e3");
    EXPECT_FALSE(err_string);
    ASSERT_EQ(n.count, 4);
    EXPECT_EQ(n.reals[0], 12.0f);
    EXPECT_EQ(n.reals[1], -3.5f);
    EXPECT_EQ(n.reals[2], 0.015f);
    EXPECT_EQ(n.reals[3], 2000.0f);
    EXPECT_EQ(n.integers[0], 12);
    EXPECT_EQ(n.integers[1], -3);
    EXPECT_EQ(n.integers[2], 1);
    EXPECT_EQ(n.integers[3], 2);
    EXPECT_EQ(n.reals[4], 0.0f);  // the arrays are cleared first
    EXPECT_EQ(n.integers[4], 0);

    const Numbers e = read_numbers("1E2 2.7 -2.7 .5 19");
    ASSERT_EQ(e.count, 5);
    EXPECT_EQ(e.reals[0], 100.0f);
    EXPECT_EQ(e.integers[0], 1);
    EXPECT_EQ(e.reals[1], 2.7f);
    EXPECT_EQ(e.integers[1], 2);
    EXPECT_EQ(e.reals[2], -2.7f);
    EXPECT_EQ(e.integers[2], -2);
    EXPECT_EQ(e.reals[3], 0.5f);
    EXPECT_EQ(e.integers[4], 19);
}

TEST(Getnum, SumsDigitsInSinglePrecision) {
    // The digit sum in 32-bit reals differs from a correctly rounded reading.
    struct Case {
        const char* text;
        float expected;
    };
    const Case cases[] = {
        {"3.14159265", 0x1.921fb2p+1f},  // strtof gives 0x1.921fb6p+1
        {"1e38", 0x1.2ced34p+126f},      // 10^38 by repeated squaring
        {"6.02E23", 0x1.fde9f4p+78f},
        {"123.456", 0x1.edd2f2p+6f},
        {"0000000000000000000000000000000000000000001", 1.0f},
    };
    for (const Case& c : cases) {
        const Numbers n = read_numbers(c.text);
        EXPECT_FALSE(err_string) << c.text;
        EXPECT_EQ(n.count, 1) << c.text;
        EXPECT_EQ(n.reals[0], c.expected) << c.text;
    }
}

TEST(Getnum, MalformedWordsRaiseTheErrorPair) {
    Numbers n = read_numbers("        ");
    EXPECT_EQ(n.count, 0);
    EXPECT_FALSE(err_string);
    n = read_numbers("");
    EXPECT_EQ(n.count, 0);
    EXPECT_FALSE(err_string);

    struct Case {
        const char* text;
        std::int32_t count;
        const std::string* message;
    };
    const Case cases[] = {
        {"1/2", 0, &not_a_number},   {"+5", 0, &not_a_number},        {"1,5", 0, &not_a_number},
        {"1-2", 0, &digit_limits},   {"3 x", 1, &not_a_number},       {"1E2.5", 0, &digit_limits},
        {"1E5E3", 0, &digit_limits}, {"7 1E99999999999", 1, &digit_limits},
        {"1e39", 0, &digit_limits},  {"-1E45", 0, &digit_limits},
        {"1000000000000000000000000000000000000000000000", 0, &digit_limits},
    };
    for (const Case& c : cases) {
        n = read_numbers(c.text);
        EXPECT_TRUE(err_string) << c.text;
        EXPECT_EQ(err_string_mess, *c.message) << c.text;
        EXPECT_EQ(n.count, c.count) << c.text;
    }
    n = read_numbers("3 x");
    EXPECT_EQ(n.reals[0], 3.0f);

    // A later call clears the pair.
    read_numbers("1");
    EXPECT_FALSE(err_string);
}

TEST(Getnum, StopsWhenTheArraysAreFull) {
    std::array<float, 2> reals{};
    std::array<std::int32_t, 3> integers{};
    std::int32_t count = -1;
    getnum("1 2 3 4", reals, integers, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(reals[1], 2.0f);
    EXPECT_EQ(integers[2], 0);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Dimension of number arrays exceeded in GETNUM");

    getnum("5", std::span<float>(), std::span<std::int32_t>(), count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(err_string);

    // The integer form wraps around on 32 bits.
    std::array<float, 1> r{};
    std::array<std::int32_t, 1> i{};
    getnum("4294967297", r, i, count);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(i[0], 1);
}

TEST(ReadFract, DecimalsAndFractions) {
    struct Case {
        const char* text;
        float expected;
    };
    const Case cases[] = {
        {"1/2", 0.5f},  {"-1/3", -0.33333334f}, {"0.25", 0.25f}, {"    ", 1.0f}, {"", 1.0f},
        {"-", -1.0f},   {"+", 1.0f},            {"3", 3.0f},     {" 2 / 4 ", 0.5f}, {"1.5e1", 15.0f},
        {"2,7", 2.0f},  {"1d1/4", 2.5f},
    };
    for (const Case& c : cases) {
        init_err_string();
        float value = 99.0f;
        read_fract(c.text, value);
        EXPECT_FALSE(err_string) << c.text;
        EXPECT_EQ(value, c.expected) << c.text;
    }

    struct Bad {
        const char* text;
        const char* message;
    };
    const Bad bad[] = {
        {"x/2", " The provided symbol is illegal: x"},
        {"x", " The provided symbol is illegal: x"},
        {"1/y", " The provided symbol is illegal: y"},
        {"/2", " The provided symbol is illegal: "},
        {"1/0", " The provided symbol is illegal: 1/0"},
        {"1e30/1e-30", " The provided symbol is illegal: 1e30/1e-30"},
        {"1e99", " The provided symbol is illegal: 1e99"},
        {",5", " The provided symbol is illegal: ,5"},
    };
    for (const Bad& b : bad) {
        init_err_string();
        float value = 99.0f;
        read_fract(b.text, value);
        EXPECT_TRUE(err_string) << b.text;
        EXPECT_EQ(value, 0.0f) << b.text;
        EXPECT_EQ(err_string_mess, b.message) << b.text;
    }

    // A successful read leaves an earlier error standing.
    err_string = true;
    err_string_mess = "earlier";
    float value = 0.0f;
    read_fract("1/4", value);
    EXPECT_EQ(value, 0.25f);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "earlier");
}

TEST(LinearExpressions, CoefficientsOfThreeCodes) {
    const std::array<char, 3> abc{'a', 'b', 'c'};
    const std::array<char, 3> xyz{'x', 'y', 'z'};
    struct Case {
        const char* expression;
        const std::array<char, 3>* codes;
        std::array<float, 3> expected;
    };
    const Case cases[] = {
        {"2a-1/2b+c", &abc, {2.0f, -0.5f, 1.0f}},
        {"-a", &abc, {-1.0f, 0.0f, 0.0f}},
        {"b/2", &abc, {0.0f, 0.5f, 0.0f}},
        {"x-y", &xyz, {1.0f, -1.0f, 0.0f}},
        {"-x/2+3z", &xyz, {-0.5f, 0.0f, 3.0f}},
        {"1/2", &xyz, {0.0f, 0.0f, 0.0f}},
        {"+y", &xyz, {0.0f, 1.0f, 0.0f}},
        {"1/2a-c", &abc, {0.5f, 0.0f, -1.0f}},
        {"-a/2", &abc, {-0.5f, 0.0f, 0.0f}},
        {"", &abc, {0.0f, 0.0f, 0.0f}},
        {"A", &abc, {0.0f, 0.0f, 0.0f}},  // letter case counts
    };
    for (const Case& c : cases) {
        init_err_string();
        std::array<float, 3> coefficients{9.0f, 9.0f, 9.0f};
        get_num_string(c.expression, coefficients, *c.codes);
        EXPECT_FALSE(err_string) << c.expression;
        EXPECT_EQ(coefficients, c.expected) << c.expression;
    }

    std::array<float, 3> coefficients{};
    init_err_string();
    get_num_string("a+a", coefficients, abc);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, " The provided symbol is illegal: a+a");
    EXPECT_EQ(coefficients[0], 1.0f);  // found before the repeat

    // More than three terms are refused.
    init_err_string();
    get_num_string("a+b+c+1", coefficients, abc);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, " The provided symbol is illegal: a+b+c+1");
    init_err_string();
    get_num_string("-a-b-c-a", coefficients, abc);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, " The provided symbol is illegal: -a-b-c-a");

    // A term that is not a number names itself.
    init_err_string();
    get_num_string("ab", coefficients, abc);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, " The provided symbol is illegal: b");
}

TEST(LinearExpressions, MatrixFromThreeExpressions) {
    const std::array<char, 3> abc{'a', 'b', 'c'};
    using Matrix = std::array<std::array<float, 3>, 3>;
    Matrix m{};
    init_err_string();
    get_mat_from_symb("a+b, -a+b, c", m, abc);
    EXPECT_FALSE(err_string);
    EXPECT_EQ(m, (Matrix{{{1, 1, 0}, {-1, 1, 0}, {0, 0, 1}}}));

    get_mat_from_symb("a-c,2b", m, abc);
    EXPECT_EQ(m, (Matrix{{{1, 0, -1}, {0, 0, 0}, {0, 2, 0}}}));

    get_mat_from_symb("1/2a+1/2b", m, abc);
    EXPECT_EQ(m, (Matrix{{{0, 0, 0}, {0, 0, 0}, {0.5f, 0.5f, 0}}}));

    // A failing expression leaves its row zero and the error raised.
    init_err_string();
    get_mat_from_symb("a+a,b,c", m, abc);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, " The provided symbol is illegal: a+a");
    EXPECT_EQ(m, (Matrix{{{0, 0, 0}, {0, 1, 0}, {0, 0, 1}}}));
}

TEST(FormatColumns, CountsTheColumnsOfNumericFields) {
    struct Case {
        const char* format;
        std::int32_t columns;
    };
    const Case cases[] = {
        {"(3F10.4,I5)", 35}, {"(F8.3,2X,E12.4)", 22}, {"(i5,f10.2)", 15},
        {" ( 2 I 4 , G12 )", 20}, {"(X,F5)", 5},
    };
    for (const Case& c : cases) {
        init_err_string();
        std::int32_t columns = -1;
        numcol_from_numfmt(c.format, columns);
        EXPECT_FALSE(err_string) << c.format;
        EXPECT_EQ(columns, c.columns) << c.format;
    }
    const char* bad[] = {"(A10)", "()", "", "(X)", "(F8.3,A4)"};
    for (const char* b : bad) {
        init_err_string();
        std::int32_t columns = -1;
        numcol_from_numfmt(b, columns);
        EXPECT_TRUE(err_string) << b;
        EXPECT_EQ(columns, 0) << b;
        EXPECT_EQ(err_string_mess, "Illegal format string passed to subroutine:  NumCol_from_NumFmt") << b;
    }
}

TEST(NumberReading, OverlongAndEmptyTextsEndInTheErrorPair) {
    Numbers n = read_numbers(std::string(5000, '1'));
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, digit_limits);
    EXPECT_EQ(n.count, 0);

    n = read_numbers("0." + std::string(5000, '0') + "1 " + std::string(3000, '0') + "2.5");
    EXPECT_FALSE(err_string);
    ASSERT_EQ(n.count, 2);
    EXPECT_EQ(n.reals[0], 0.0f);
    EXPECT_EQ(n.reals[1], 2.5f);

    std::string many;
    for (int i = 0; i < 2000; ++i) many += "1.5 ";
    n = read_numbers(many);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(n.count, 8);

    std::string terms;
    for (int i = 0; i < 500; ++i) terms += "+1/2";
    std::array<float, 3> coefficients{};
    init_err_string();
    get_num_string(terms, coefficients, {'x', 'y', 'z'});
    EXPECT_TRUE(err_string);

    std::array<std::array<float, 3>, 3> matrix{};
    init_err_string();
    get_mat_from_symb(std::string(3000, ','), matrix, {'x', 'y', 'z'});
    EXPECT_FALSE(err_string);
    get_mat_from_symb("", matrix, {'x', 'y', 'z'});
    EXPECT_FALSE(err_string);

    float value = 9.0f;
    read_fract(std::string(4000, '7'), value);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(err_string_mess.size(), 150u);  // messages are cut to 150 characters

    std::int32_t columns = -1;
    std::string format = "(";
    for (int i = 0; i < 300; ++i) format += "F10.2,";
    format += "I5)";
    numcol_from_numfmt(format, columns);
    EXPECT_EQ(columns, 3005);
}
