// Keyword readers find the first non-comment line holding a keyword and hand
// back the text or the numbers after it, on input files written here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "text/string_util.hpp"

using namespace vorn_string_utilities;

namespace {

// The lines of a small input file, read as a caller of the library reads them.
std::vector<std::string> lines_of_file(const std::string& test_name, std::string_view content) {
    const auto dir = std::filesystem::temp_directory_path() / ("borq_keywords_" + test_name);
    std::filesystem::create_directories(dir);
    const auto path = dir / "input.txt";
    {
        std::ofstream out(path);
        out << content;
    }
    std::int32_t count = 0;
    number_lines(path.string(), count);
    std::vector<std::string> lines(static_cast<std::size_t>(count), std::string(60, ' '));
    reading_lines(path.string(), count, lines);
    EXPECT_FALSE(err_string);
    std::filesystem::remove_all(dir);
    return lines;
}

std::vector<std::string> given_lines(std::initializer_list<std::string_view> texts) {
    std::vector<std::string> lines;
    for (std::string_view t : texts) lines.push_back(fixed(t, 40));
    return lines;
}

}  // namespace

TEST(KeywordReaders, TextAfterTheKeyword) {
    const auto lines = lines_of_file("text",
                                     "! cell 1 2 3\n"
                                     "\n"
                                     "#cell 9 9 9\n"
                                     "  Cell 5.0 6.0 7.0\n"
                                     "title Quartz Low\n");
    ASSERT_EQ(lines.size(), 5u);
    std::string rest(20, '?');
    std::int32_t first = 1;
    read_key_str(lines, first, 99, "cell", rest);
    EXPECT_EQ(first, 3);  // "#" marks no comment unless asked for
    EXPECT_EQ(rest, fixed("9 9 9", 20));

    first = 1;
    read_key_str(lines, first, 99, "cell", rest, '#');
    EXPECT_EQ(first, 4);
    EXPECT_EQ(rest, fixed("5.0 6.0 7.0", 20));

    first = 1;
    read_key_str(lines, first, 5, "TITLE", rest);
    EXPECT_EQ(first, 5);
    EXPECT_EQ(rest, fixed("Quartz Low", 20));  // in the line's own letter case

    // Searching on from the line after a hit.
    first = 4 + 1;
    read_key_str(lines, first, 5, "cell", rest, '#');
    EXPECT_EQ(first, 5);
    EXPECT_EQ(rest, fixed("", 20));

    // The keyword inside a longer word; the keyword's whole word is cut off.
    const auto other = given_lines({"unitcell 4", "cell=5 6"});
    first = 1;
    read_key_str(other, first, 2, "cell", rest);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(rest, fixed("4", 20));
    first = 2;
    read_key_str(other, first, 2, "cell", rest);
    EXPECT_EQ(rest, fixed("6", 20));
    // Trailing blanks of the keyword are part of it.
    first = 2;
    read_key_str(other, first, 2, "cell ", rest);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(rest, fixed("", 20));

    // A narrow result is cut.
    std::string narrow(4, ' ');
    first = 1;
    read_key_str(lines, first, 99, "cell", narrow, '#');
    EXPECT_EQ(narrow, "5.0 ");
}

TEST(KeywordReaders, SearchRangeIsGuarded) {
    const auto lines = given_lines({"cell 1 2 3", "cell 4 5 6"});
    std::string rest(10, '?');
    // Beyond the last line asked for, or beyond the array: nothing found.
    for (std::int32_t start : {3, 100}) {
        std::int32_t first = start;
        read_key_str(lines, first, 2, "cell", rest);
        EXPECT_EQ(first, start);
        EXPECT_EQ(rest, fixed("", 10));
    }
    std::int32_t first = 2;
    read_key_str(lines, first, 1, "cell", rest);
    EXPECT_EQ(first, 2);
    // The last line is cut to the array.
    first = 2;
    read_key_str(lines, first, 500, "cell", rest);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(rest, fixed("4 5 6", 10));
    // A first line below 1 searches from line 1.
    for (std::int32_t start : {0, -7}) {
        first = start;
        read_key_str(lines, first, 2, "cell", rest);
        EXPECT_EQ(first, 1);
        EXPECT_EQ(rest, fixed("1 2 3", 10));
    }
}

TEST(KeywordReaders, WordAndNumbersAfterTheKeyword) {
    const auto lines = lines_of_file("strval",
                                     "! atoms follow\n"
                                     "atom Fe1 0.1 0.2 0.3\n"
                                     "atom O2\n"
                                     "atom Bad 1/2\n");
    std::string rest(20, '?');
    std::vector<float> reals(6, 9.0f);
    std::vector<std::int32_t> ints(6, 9);
    std::int32_t count = -1;
    std::int32_t first = 1;
    read_key_strval(lines, first, 4, "atom", rest, reals, ints, &count);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(rest, fixed("Fe1", 20));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(reals, (std::vector<float>{0.1f, 0.2f, 0.3f, 0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(ints, (std::vector<std::int32_t>(6, 0)));

    // Without the numeric outputs the whole rest comes back.
    first = 1;
    read_key_strval(lines, first, 4, "atom", rest);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(rest, fixed("Fe1 0.1 0.2 0.3", 20));
    first = 1;
    read_key_strval(lines, first, 4, "atom", rest, reals, ints, nullptr);
    EXPECT_EQ(rest, fixed("Fe1 0.1 0.2 0.3", 20));

    // A word without numbers; numbers that do not read: both arrays cleared.
    first = 3;
    std::fill(reals.begin(), reals.end(), 9.0f);
    read_key_strval(lines, first, 4, "atom", rest, reals, ints, &count);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(rest, fixed("O2", 20));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(reals, (std::vector<float>(6, 0.0f)));
    first = 4;
    read_key_strval(lines, first, 4, "atom", rest, reals, ints, &count);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(rest, fixed("Bad", 20));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(err_string);

    // No hit: the cleared outputs stay.
    std::fill(reals.begin(), reals.end(), 9.0f);
    count = 5;
    first = 1;
    read_key_strval(lines, first, 4, "bond", rest, reals, ints, &count);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(rest, fixed("", 20));
    EXPECT_EQ(count, 0);
    EXPECT_EQ(reals, (std::vector<float>(6, 0.0f)));
}

TEST(KeywordReaders, NumbersAfterTheKeyword) {
    const auto lines = lines_of_file("value",
                                     "! cell given twice\n"
                                     "CELL 5.4 5.4 12.5 90 90 120\n"
                                     "spgr\n"
                                     "cell 1/2 3\n");
    std::vector<float> reals(8, 9.0f);
    std::vector<std::int32_t> ints(8, 9);
    std::int32_t count = -1;
    std::int32_t first = 1;
    read_key_value(lines, first, 4, "cell", reals, ints, count);
    EXPECT_FALSE(err_string);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(count, 6);
    EXPECT_EQ(reals, (std::vector<float>{5.4f, 5.4f, 12.5f, 90.0f, 90.0f, 120.0f, 0.0f, 0.0f}));
    EXPECT_EQ(ints, (std::vector<std::int32_t>{5, 5, 12, 90, 90, 120, 0, 0}));

    // The keyword alone: no numbers, no error, the hit taken.
    first = 1;
    read_key_value(lines, first, 4, "spgr", reals, ints, count);
    EXPECT_FALSE(err_string);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(reals, (std::vector<float>(8, 0.0f)));

    // Numbers that do not read: the error stands and the hit is not taken,
    // where the text reader takes it.
    first = 3;
    read_key_value(lines, first, 4, "cell", reals, ints, count);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "The variable cannot be computed as a number in GETNUM ");
    EXPECT_EQ(first, 3);
    std::string rest(10, ' ');
    read_key_str(lines, first, 4, "cell", rest);
    EXPECT_EQ(first, 4);
    EXPECT_EQ(rest, fixed("1/2 3", 10));

    // Missing keyword: zeros, count 0, first line unchanged.
    std::fill(ints.begin(), ints.end(), 9);
    first = 1;
    read_key_value(lines, first, 4, "wave", reals, ints, count);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ints, (std::vector<std::int32_t>(8, 0)));
}

TEST(KeywordReaders, ValuesWithUncertainties) {
    const auto lines = lines_of_file("valuestd",
                                     "cell 5.4321(4) 7.0 12.5(12) 90\n"
                                     "flack\n"
                                     "twin 1.2(3\n");
    std::vector<float> values(6, 9.0f);
    std::vector<float> sigmas(6, 9.0f);
    std::int32_t count = -1;
    std::int32_t first = 1;
    read_key_valuestd(lines, first, 3, "Cell", values, sigmas, count);
    EXPECT_FALSE(err_string);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(count, 4);
    // The digit sums of the number reader may differ from 5.4321 in the last bit.
    EXPECT_FLOAT_EQ(values[0], 5.4321f);
    EXPECT_EQ((std::vector<float>(values.begin() + 1, values.end())),
              (std::vector<float>{7.0f, 12.5f, 90.0f, 0.0f, 0.0f}));
    EXPECT_FLOAT_EQ(sigmas[0], 0.0004f);
    EXPECT_EQ(sigmas[1], 0.0f);
    EXPECT_FLOAT_EQ(sigmas[2], 1.2f);
    EXPECT_EQ(sigmas[3], 0.0f);

    // The keyword alone is a blank line to the reader: not taken.
    first = 1;
    read_key_valuestd(lines, first, 3, "flack", values, sigmas, count);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Blank line");
    EXPECT_EQ(first, 1);

    first = 1;
    read_key_valuestd(lines, first, 3, "twin", values, sigmas, count);
    EXPECT_TRUE(err_string);
    EXPECT_EQ(err_string_mess, "Wrong format using Standard values");
    EXPECT_EQ(first, 1);
}
