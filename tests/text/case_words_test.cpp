// Letter case, blank removal, words and separators behave as fixed-width
// Fortran texts: widths are kept, only ASCII letters change, quoted groups
// count as one word, and full output arrays raise the error pair instead of
// being overrun.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "text/string_util.hpp"

using namespace vorn_string_utilities;

TEST(LetterCase, OnlyAsciiLettersChangeAndWidthIsKept) {
    EXPECT_EQ(u_case("p 21/c"), "P 21/C");
    EXPECT_EQ(l_case("P 21/C"), "p 21/c");
    EXPECT_EQ(u_case("x,-y+1/2,z   "), "X,-Y+1/2,Z   ");
    const std::string high = "\xe9\xc9 Az09+-*/[]`{}@";
    EXPECT_EQ(u_case(high), "\xe9\xc9 AZ09+-*/[]`{}@");
    EXPECT_EQ(l_case(high), "\xe9\xc9 az09+-*/[]`{}@");
    EXPECT_EQ(u_case("      "), "      ");
    EXPECT_EQ(u_case(""), "");

    std::string hall = "-p 2ac 2n       ";
    ucase(hall);
    EXPECT_EQ(hall, "-P 2AC 2N       ");
    lcase(hall);
    EXPECT_EQ(hall, "-p 2ac 2n       ");

    FixedText<16> field("p 63/m c m");
    ucase(field);
    EXPECT_EQ(field.str(), "P 63/M C M      ");
    lcase(field);
    EXPECT_EQ(field.str(), "p 63/m c m      ");
}

TEST(Blanks, PackAndStrip) {
    EXPECT_EQ(pack_string("P 21 21 21"), "P212121   ");
    EXPECT_EQ(pack_string(" x, y ,z "), "x,y,z   ");
    EXPECT_EQ(pack_string("     "), "");
    EXPECT_EQ(pack_string(""), "");
    EXPECT_EQ(pack_string("\tx"), "\tx");  // a tab is no blank

    EXPECT_EQ(strip_string("abc.tmp.old", "."), "abc.tmp    ");
    EXPECT_EQ(strip_string("abc.tmp.old  ", ".old "), "abc.tmp    ");
    EXPECT_EQ(strip_string("abc.tmp   ", "#"), "abc.tmp");
    EXPECT_EQ(strip_string("abc.tmp   ", "   "), "abc.tmp");
    EXPECT_EQ(strip_string(".tmp", "."), "    ");
    EXPECT_EQ(strip_string("", "."), "");
}

TEST(Words, CutstCutsTheFirstWord) {
    std::string line = "   alpha beta  ";
    std::string word(10, ' ');
    std::int32_t line_length = -1;
    std::int32_t word_length = -1;
    cutst(line, &line_length, &word, &word_length);
    EXPECT_EQ(line, "beta           ");
    EXPECT_EQ(line_length, 4);
    EXPECT_EQ(word, "alpha     ");
    EXPECT_EQ(word_length, 5);

    std::string blank(6, ' ');
    word.assign(4, 'z');
    cutst(blank, &line_length, &word, &word_length);
    EXPECT_EQ(blank, "      ");
    EXPECT_EQ(line_length, 0);
    EXPECT_EQ(word_length, 0);
    EXPECT_EQ(word, "    ");

    std::string one = "x";
    cutst(one, &line_length, &word, &word_length);
    EXPECT_EQ(one, " ");
    EXPECT_EQ(word, "x   ");
    EXPECT_EQ(word_length, 1);

    // A narrower word field holds the start of the word; its length is the
    // word's own.
    std::string no_blank = "abcdefgh";
    std::string short_word(3, ' ');
    cutst(no_blank, &line_length, &short_word, &word_length);
    EXPECT_EQ(short_word, "abc");
    EXPECT_EQ(word_length, 8);
    EXPECT_EQ(no_blank, "        ");
    EXPECT_EQ(line_length, 0);

    // Without the optional arguments only the line changes.
    std::string two = "one two three";
    cutst(two);
    EXPECT_EQ(two, "two three    ");
}

TEST(Words, GetwordSplitsOnBlanksAndQuotes) {
    std::vector<std::string> dire(5);
    std::int32_t count = -1;
    getword("a \"b c\" d", dire, count);
    EXPECT_FALSE(err_string);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(dire[0], "a");
    EXPECT_EQ(dire[1], "b c");
    EXPECT_EQ(dire[2], "d");

    getword("a \"  lead\" x", dire, count);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(dire[1], "  lead");  // leading blanks inside the quotes stay

    getword("a \"b", dire, count);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Non balanced quotes!");
    EXPECT_EQ(count, 1);
    EXPECT_EQ(dire[0], "a");

    getword("a \"\" c", dire, count);
    EXPECT_FALSE(err_string);
    EXPECT_EQ(count, 1);

    std::vector<std::string> three(3);
    getword("w1 w2 w3 w4", three, count);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Dimension of DIRE exceeded");
    EXPECT_EQ(count, 4);
    EXPECT_EQ(three[2], "w3");

    getword("      ", dire, count);
    EXPECT_FALSE(err_string);
    EXPECT_EQ(count, 0);
    getword("", std::span<std::string>(), count);
    EXPECT_EQ(count, 0);
}

TEST(Words, SeparatorsOutsideQuotes) {
    std::array<std::int32_t, 8> positions{};
    std::int32_t count = -1;
    const std::string line = std::string("1,\"a,b\",2") + std::string(11, ' ');
    ASSERT_EQ(line.size(), 20u);
    get_separator_pos(line, ',', positions, count);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(positions[0], 2);
    EXPECT_EQ(positions[1], 8);

    get_separator_pos("x+y-z", '-', positions, count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(positions[0], 4);

    // An unclosed quote at the very end of a line of its own width: the
    // cursor stops at the declared width.
    get_separator_pos("a,\"b,c", ',', positions, count);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(positions[0], 2);

    get_separator_pos("   ", ',', positions, count);
    EXPECT_EQ(count, 0);

    init_err_string();
    std::array<std::int32_t, 2> two{};
    get_separator_pos("1,2,3,4", ',', two, count);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(two[1], 4);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Dimension of separator positions exceeded");
}

TEST(SetsOfTexts, OneSidedComparisonUnderEqualCountsAndWidths) {
    std::array<FixedText<40>, 3> set1{FixedText<40>("x,y,z"), FixedText<40>("-x,-y,z"), FixedText<40>("q")};
    std::array<FixedText<40>, 3> set2{FixedText<40>("-x,-y,z"), FixedText<40>("x,y,z"), FixedText<40>("r")};
    EXPECT_TRUE(equal_sets_text(set1, 2, set2, 2));
    EXPECT_FALSE(equal_sets_text(set1, 2, set2, 3));
    EXPECT_FALSE(equal_sets_text(set1, 3, set2, 3));
    EXPECT_TRUE(equal_sets_text(set1, 0, set2, 0));
    EXPECT_TRUE(equal_sets_text(set1, -1, set2, -1));

    std::vector<FixedText<30>> narrow{FixedText<30>("x,y,z"), FixedText<30>("-x,-y,z")};
    EXPECT_FALSE(equal_sets_text(set1, 2, narrow, 2));

    FixedText<1> aa[2] = {FixedText<1>("a"), FixedText<1>("a")};
    FixedText<1> ab[2] = {FixedText<1>("a"), FixedText<1>("b")};
    EXPECT_TRUE(equal_sets_text(aa, 2, ab, 2));
    EXPECT_FALSE(equal_sets_text(ab, 2, aa, 2));

    // Texts with explicit element widths.
    const std::vector<std::string> s1{"x,y,z", "-x,-y,z  "};
    const std::vector<std::string> s2{"-x,-y,z", "x,y,z"};
    EXPECT_TRUE(equal_sets_text(s1, 2, 40, s2, 2, 40));
    EXPECT_FALSE(equal_sets_text(s1, 2, 40, s2, 2, 30));
    // Counts beyond the arrays are cut to their sizes, never read past.
    EXPECT_TRUE(equal_sets_text(s1, 5, 40, s2, 5, 40));
    EXPECT_TRUE(equal_sets_text(set1, 2, set2, 2));
}

TEST(ModuleState, ErrorPairAndLineCounter) {
    err_string = true;
    err_string_mess = "x";
    init_err_string();
    EXPECT_FALSE(err_string);
    EXPECT_TRUE(err_string_mess.empty());

    line_nb = 7;
    inc_linenum(3);
    EXPECT_EQ(line_nb, 10);
    inc_linenum(-10);
    EXPECT_EQ(line_nb, 0);
}
