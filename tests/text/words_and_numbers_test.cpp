// Fixed-width texts: letter case of ASCII letters only, blanks, words and separators outside quotes,
// sets of texts; numbers, values(uncertainties), fractions, linear cell/operator expressions and
// format widths read by the library's own digit rule, every malformed or overlong input ending in the
// exact error pair and never written past the caller's arrays.
#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <string>
#include <vector>

#include "text_checks.hpp"

using namespace text_checks;

namespace {
const std::string nan_msg = "The variable cannot be computed as a number in GETNUM ";
const std::string digits_msg = "Limits of digit variable exceeded in GETNUM";
const std::string illegal = " The provided symbol is illegal: ", full = "Dimension of number arrays exceeded in GETNUM";
std::string repeat(const std::string& s, int n) { std::string r; while (n-- > 0) r += s; return r; }
// Shortest texts of the numbers that read back to the same values, blank-separated; with `trim`
// only up to the last non-zero one.
template <typename Range>
std::string join(const Range& values, bool trim = false) {
    std::size_t n = std::size(values);
    while (trim && n > 0 && values[n - 1] == 0) --n;
    std::string out;
    for (std::size_t k = 0; k < n; ++k) {
        char buffer[64];
        out += std::string(k > 0 ? " " : "") + std::string(buffer, std::to_chars(buffer, buffer + 64, values[k]).ptr);
    }
    return out;
}
const std::array<char, 3> abc{'a', 'b', 'c'}, xyz{'x', 'y', 'z'};

// What procedure `proc` gives for `input` as one text.  For C, W, S and the separators the input
// ends in '|' and a width or array size (for S the text to strip).
//   U, L: u_case, l_case (ucase/lcase in place on a text and on a 16-character field must agree);
//   P, S: pack_string, strip_string; C, c: cutst with and without its outputs, "line|length|word|length";
//   W and a separator character: getword, get_separator_pos, "count: items | error pair";
//   g: getnum into 8-element arrays shown up to the last non-zero entry (cleared first),
//   "count: reals / integers"; e: getnum_std the same, "count: values / uncertainties"; f: read_fract; a, x: coefficients of a, b, c or x, y, z;
//   m: matrix rows from a, b, c; n: numeric columns of a format text; these with " | error pair".
std::string apply(char proc, const std::string& input) {
    const std::size_t bar = std::string("CWS,-").find(proc) == std::string::npos ? std::string::npos : input.rfind('|');
    const std::string text = input.substr(0, bar), arg = bar == std::string::npos ? "" : input.substr(bar + 1);
    const std::size_t size = proc == 'S' || arg.empty() ? 0 : std::stoul(arg);
    std::string line = text, word(size, 'z'), got;
    FixedText<16> field(text);
    std::int32_t count = -1, length = -1, word_length = -1;
    std::vector<std::string> words(size);
    std::vector<std::int32_t> ints(proc == 'g' ? 8 : size, proc == 'g' ? 99 : -9);
    std::vector<float> reals(8, 99.0f), sigmas(8, 99.0f);
    std::array<float, 3> coefficients{9, 9, 9};
    std::array<std::array<float, 3>, 3> m{{{9, 9, 9}, {9, 9, 9}, {9, 9, 9}}};
    float value = 99.0f;
    init_err_string(), err_string = proc == 'g' || proc == 'e' || proc == 'W';  // these clear the pair at entry
    switch (proc) {
        case 'U': ucase(line), ucase(field), got = u_case(text); break;
        case 'L': lcase(line), lcase(field), got = l_case(text); break;
        case 'P': return pack_string(text);
        case 'S': return strip_string(text, arg);
        case 'c': cutst(line); return line;
        case 'C': cutst(line, &length, &word, &word_length); return line + "|" + std::to_string(length) + "|" + word + "|" + std::to_string(word_length);
        case 'W': getword(text, words, count);
                  for (std::int32_t k = 0; k < std::min<std::int32_t>(count, static_cast<std::int32_t>(size)); ++k) got += "[" + words[k] + "]";
                  return std::to_string(count) + ": " + got + " | " + err();
        case ',': case '-': get_separator_pos(text, proc, ints, count);
                  return std::to_string(count) + ": " + join(padded(ints, std::min<std::size_t>(count, size))) + " | " + err();
        case 'g': getnum(text, reals, ints, count), got = std::to_string(count) + ": " + join(reals, true) + " / " + join(ints, true); break;
        case 'e': getnum_std(text, reals, sigmas, count), got = std::to_string(count) + ": " + join(reals, true) + " / " + join(sigmas, true); break;
        case 'f': read_fract(text, value), got = join(std::array{value}); break;
        case 'a': case 'x': get_num_string(text, coefficients, proc == 'a' ? abc : xyz), got = join(coefficients); break;
        case 'm': get_mat_from_symb(text, m, abc), got = join(m[0]) + ", " + join(m[1]) + ", " + join(m[2]); break;
        case 'n': numcol_from_numfmt(text, count), got = std::to_string(count); break;
    }
    if (proc == 'U' || proc == 'L') return line == got && field.str() == fixed(got, 16) ? got : got + " <in place: " + line + "|" + field.str() + ">";
    return got + " | " + err();
}
struct Case { char proc; std::string input, expected; };
}  // namespace

TEST(TextProcedures, CaseBlanksWordsAndSeparators) {
    const Case cases[] = {
        {'U', "p 21/c", "P 21/C"}, {'U', "x,-y+1/2,z   ", "X,-Y+1/2,Z   "}, {'U', "      ", "      "}, {'U', "", ""},
        {'U', "\xe9\xc9 Az09+-*/[]`{}@", "\xe9\xc9 AZ09+-*/[]`{}@"}, {'L', "\xe9\xc9 Az09+-*/[]`{}@", "\xe9\xc9 az09+-*/[]`{}@"},
        {'U', "-p 2ac 2n       ", "-P 2AC 2N       "}, {'L', "-P 2AC 2N       ", "-p 2ac 2n       "}, {'L', "P 21/C", "p 21/c"},
        {'U', "P 63/m C m", "P 63/M C M"}, {'L', "P 63/m C m", "p 63/m c m"}, {'L', "", ""},
        {'P', "P 21 21 21", "P212121   "}, {'P', " x, y ,z ", "x,y,z   "}, {'P', "     ", ""}, {'P', "", ""}, {'P', "\tx", "\tx"},
        {'S', "abc.tmp.old|.", "abc.tmp    "}, {'S', "abc.tmp.old  |.old ", "abc.tmp    "}, {'S', "abc.tmp   |#", "abc.tmp"},
        {'S', "abc.tmp   |   ", "abc.tmp"}, {'S', ".tmp|.", "    "}, {'S', "|.", ""},
        {'C', "   alpha beta  |10", "beta           |4|alpha     |5"}, {'C', "      |4", "      |0|    |0"}, {'C', "x|4", " |0|x   |1"},
        {'C', "abcdefgh|3", "        |0|abc|8"}, {'c', "one two three", "two three    "},  // a narrow word field keeps the start
        {'W', "a \"b c\" d|5", "3: [a][b c][d] | -"}, {'W', "a \"  lead\" x|5", "3: [a][  lead][x] | -"},
        {'W', "a \"b|5", "1: [a] | Non balanced quotes!"}, {'W', "a \"\" c|5", "1: [a] | -"},
        {'W', "w1 w2 w3 w4|3", "4: [w1][w2][w3] | Dimension of DIRE exceeded"}, {'W', "      |5", "0:  | -"}, {'W', "|0", "0:  | -"},
        {',', "1,\"a,b\",2           |8", "2: 2 8 | -"}, {'-', "x+y-z|8", "1: 4 | -"}, {',', "a,\"b,c|8", "1: 2 | -"}, {',', "   |8", "0:  | -"},
        {',', "1,2,3,4|2", "2: 2 4 | Dimension of separator positions exceeded"},
    };
    for (const Case& c : cases) EXPECT_EQ(apply(c.proc, c.input), c.expected) << c.proc << " '" << c.input << "'";
}

TEST(SetsOfTexts, OneSidedComparisonUnderEqualCountsAndWidths) {
    std::array<FixedText<40>, 3> set1{FixedText<40>("x,y,z"), FixedText<40>("-x,-y,z"), FixedText<40>("q")};
    std::array<FixedText<40>, 3> set2{FixedText<40>("-x,-y,z"), FixedText<40>("x,y,z"), FixedText<40>("r")};
    std::vector<FixedText<30>> narrow{FixedText<30>("x,y,z"), FixedText<30>("-x,-y,z")};
    FixedText<1> aa[2] = {FixedText<1>("a"), FixedText<1>("a")}, ab[2] = {FixedText<1>("a"), FixedText<1>("b")};
    EXPECT_TRUE(equal_sets_text(set1, 2, set2, 2) && equal_sets_text(set1, 0, set2, 0) && equal_sets_text(set1, -1, set2, -1));
    EXPECT_FALSE(equal_sets_text(set1, 2, set2, 3) || equal_sets_text(set1, 3, set2, 3) || equal_sets_text(set1, 2, narrow, 2));
    EXPECT_TRUE(equal_sets_text(aa, 2, ab, 2));
    EXPECT_FALSE(equal_sets_text(ab, 2, aa, 2));
    const std::vector<std::string> s1{"x,y,z", "-x,-y,z  "}, s2{"-x,-y,z", "x,y,z"};
    EXPECT_TRUE(equal_sets_text(s1, 2, 40, s2, 2, 40));
    EXPECT_FALSE(equal_sets_text(s1, 2, 40, s2, 2, 30));
    EXPECT_TRUE(equal_sets_text(s1, 5, 40, s2, 5, 40));  // counts beyond the arrays are cut to their sizes
}

TEST(ModuleState, ErrorPairAndLineCounter) {
    err_string = true, err_string_mess = "x", line_nb = 7;
    init_err_string();
    EXPECT_TRUE(!err_string && err_string_mess.empty());
    for (const auto& [step, line] : {std::pair{3, 10}, {-10, 0}}) EXPECT_EQ((inc_linenum(step), line_nb), line) << step;
}

// Numbers print as the shortest texts that read back to the same 32-bit values: digits are summed in
// 32-bit reals, the integer form wraps around, messages are cut to 150 characters.
TEST(NumberReaders, NumbersFractionsExpressionsAndFormatWidths) {
    const std::string bad_format = "Illegal format string passed to subroutine:  NumCol_from_NumFmt", wrong = "Wrong format using Standard values";
    const Case cases[] = {
        {'g', "12 -3.5 1.5E-2 2e3", "4: 12 -3.5 0.015 2000 / 12 -3 1 2 | -"}, {'g', "1E2 2.7 -2.7 .5 19", "5: 100 2.7 -2.7 0.5 19 / 1 2 -2 0 19 | -"},
        {'g', "3.14159265", "1: 3.1415923 / 3 | -"}, {'g', "1e38", "1: 1.0000001e+38 / 1 | -"}, {'g', "6.02E23", "1: 6.0200005e+23 / 6 | -"},
        {'g', "123.456", "1: 123.456 / 123 | -"}, {'g', "0000000000000000000000000000000000000000001", "1: 1 / 1 | -"},
        {'g', "4294967297", "1: 4294967040 / 1 | -"}, {'g', "        ", "0:  /  | -"}, {'g', "", "0:  /  | -"},
        {'g', "1/2", "0:  /  | " + nan_msg}, {'g', "+5", "0:  /  | " + nan_msg}, {'g', "1,5", "0:  /  | " + nan_msg}, {'g', "3 x", "1: 3 / 3 | " + nan_msg},
        {'g', "1-2", "0:  /  | " + digits_msg}, {'g', "1E2.5", "0:  /  | " + digits_msg}, {'g', "1E5E3", "0:  /  | " + digits_msg},
        {'g', "7 1E99999999999", "1: 7 / 7 | " + digits_msg}, {'g', "7 1E-99999999999", "1: 7 / 7 | " + digits_msg}, {'g', "1e39", "0:  /  | " + digits_msg}, {'g', "-1E45", "0:  /  | " + digits_msg},
        {'g', "1000000000000000000000000000000000000000000000", "0:  /  | " + digits_msg}, {'g', std::string(5000, '1'), "0:  /  | " + digits_msg},
        {'g', "0." + std::string(5000, '0') + "1 " + std::string(3000, '0') + "2.5", "2: 0 2.5 / 0 2 | -"},
        {'g', repeat("1.5 ", 2000), "8: 1.5 1.5 1.5 1.5 1.5 1.5 1.5 1.5 / 1 1 1 1 1 1 1 1 | " + full},
        {'e', "1.234(5) 7 2(1)", "3: 1.234 7 2 / 0.005 0 1 | -"}, {'e', "  -0.0312(456)x 12.5(10)", "2: -0.0312 12.5 / 0.0456 1 | -"},
        {'e', " 0.123(20)", "1: 0.123 / 0.02 | -"}, {'e', "-0.03(5)", "1: -0.03 / 0.05 | -"}, {'e', " 123(3)", "1: 123 / 3 | -"},
        {'e', " .500(10)", "1: 0.5 / 0.01 | -"}, {'e', "1.2)3(", "0:  /  | " + wrong}, {'e', "1.2(3", "0:  /  | " + wrong},
        {'e', "1.2)", "0:  /  | " + wrong}, {'e', "      ", "0:  /  | Blank line"}, {'e', "", "0:  /  | Blank line"},
        {'e', "a(1)", "0:  /  | Bad format"}, {'e', "(1)", "0:  /  | Bad format"}, {'e', "1() 2", "1: 1 /  | Bad format"},
        {'e', "5 1.5(x)", "2: 5 1.5 /  | Bad format"}, {'e', "3 +4", "1: 3 /  | Bad format"},
        {'f', "1/2", "0.5 | -"}, {'f', "-1/3", "-0.33333334 | -"}, {'f', "0.25", "0.25 | -"}, {'f', "    ", "1 | -"}, {'f', "", "1 | -"},
        {'f', "-", "-1 | -"}, {'f', "+", "1 | -"}, {'f', "3", "3 | -"}, {'f', " 2 / 4 ", "0.5 | -"}, {'f', "1.5e1", "15 | -"}, {'f', "2,7", "2 | -"},
        {'f', "1d1/4", "2.5 | -"}, {'f', "x/2", "0 | " + illegal + "x"}, {'f', "x", "0 | " + illegal + "x"}, {'f', "1/y", "0 | " + illegal + "y"},
        {'f', "/2", "0 | " + illegal}, {'f', "1/0", "0 | " + illegal + "1/0"}, {'f', "1e30/1e-30", "0 | " + illegal + "1e30/1e-30"},
        {'f', "1e99", "0 | " + illegal + "1e99"}, {'f', ",5", "0 | " + illegal + ",5"},
        {'f', std::string(4000, '7'), "0 | " + (illegal + std::string(4000, '7')).substr(0, 150)},
        {'a', "2a-1/2b+c", "2 -0.5 1 | -"}, {'a', "-a", "-1 0 0 | -"}, {'a', "b/2", "0 0.5 0 | -"}, {'x', "x-y", "1 -1 0 | -"},
        {'x', "-x/2+3z", "-0.5 0 3 | -"}, {'x', "1/2", "0 0 0 | -"}, {'x', "+y", "0 1 0 | -"}, {'a', "1/2a-c", "0.5 0 -1 | -"},
        {'a', "-a/2", "-0.5 0 0 | -"}, {'a', "", "0 0 0 | -"}, {'a', "A", "0 0 0 | -"}, {'a', "a+a", "1 0 0 | " + illegal + "a+a"},
        {'a', "a+b+c+1", "0 0 0 | " + illegal + "a+b+c+1"}, {'a', "-a-b-c-a", "0 0 0 | " + illegal + "-a-b-c-a"}, {'a', "ab", "0 0 0 | " + illegal + "b"},
        {'x', repeat("+1/2", 500), "0 0 0 | " + illegal + repeat("+1/2", 500).substr(0, 150 - illegal.size())},
        {'m', "a+b, -a+b, c", "1 1 0, -1 1 0, 0 0 1 | -"}, {'m', "a-c,2b", "1 0 -1, 0 0 0, 0 2 0 | -"}, {'m', "1/2a+1/2b", "0 0 0, 0 0 0, 0.5 0.5 0 | -"},
        {'m', "a+a,b,c", "0 0 0, 0 1 0, 0 0 1 | " + illegal + "a+a"}, {'m', std::string(3000, ','), "0 0 0, 0 0 0, 0 0 0 | -"}, {'m', "", "0 0 0, 0 0 0, 0 0 0 | -"},
        {'n', "(3F10.4,I5)", "35 | -"}, {'n', "(F8.3,2X,E12.4)", "22 | -"}, {'n', "(i5,f10.2)", "15 | -"}, {'n', " ( 2 I 4 , G12 )", "20 | -"},
        {'n', "(X,F5)", "5 | -"}, {'n', "(" + repeat("F10.2,", 300) + "I5)", "3005 | -"}, {'n', "(A10)", "0 | " + bad_format},
        {'n', "()", "0 | " + bad_format}, {'n', "", "0 | " + bad_format}, {'n', "(X)", "0 | " + bad_format}, {'n', "(F8.3,A4)", "0 | " + bad_format},
    };
    for (const Case& c : cases) EXPECT_EQ(apply(c.proc, c.input), c.expected) << c.proc << " " << c.input.substr(0, 40);
    std::array<float, 2> reals{};
    std::array<std::int32_t, 3> ints{9, 9, 9};
    std::int32_t count = -1;
    getnum("1 2 3 4", reals, ints, count);  // the shorter array bounds the count
    EXPECT_EQ(std::tuple(count, reals[1], ints[2], err()), std::tuple(2, 2.0f, 0, full));
    getnum("5", std::span<float>(), std::span<std::int32_t>(), count);
    EXPECT_TRUE(count == 0 && err_string);
    std::array<float, 3> sigmas{};
    getnum_std("1 2(1) 3", reals, sigmas, count);
    EXPECT_EQ(std::tuple(err(), count, reals[1], sigmas[1]), std::tuple("Dimension of value arrays exceeded", 2, 2.0f, 1.0f));
    err_string = true;  // a successful read_fract leaves an earlier error standing
    err_string_mess = "earlier";
    float value = 0.0f;
    read_fract("1/4", value);
    EXPECT_EQ(std::pair(value, err()), std::pair(0.25f, std::string("earlier")));
}
