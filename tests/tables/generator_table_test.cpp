// The generator table returns the stored generators of the 230 standard
// settings by number or by the table's own symbol, and reports unknown ones.
#include <gtest/gtest.h>

#include <string>

#include "tables/sym_table.hpp"
#include "support/tsv_fixture.hpp"

namespace vst = vorn_symmetry_tables;

namespace {

// Stored texts up to the last non-blank column and the blank after it.
const std::pair<int, const char*> stated_texts[] = {
    {1, "P 1       : x,y,z "},
    {2, "P -1      : -x,-y,-z "},
    {5, "C 2       : x+1/2,y+1/2,z; -x,y,-z "},
    {14, "P 21/c    : -x,y+1/2,-z+1/2; -x,-y,-z "},
    {15, "C 2/c     : x+1/2,y+1/2,z; -x,y,-z+1/2; -x,-y,-z "},
    {22, "F 2 2 2   : x+1/2,y+1/2,z; x+1/2,y,z+1/2; -x,-y,z; -x,y,-z "},
    {38, "A m m 2   : x,y+1/2,z+1/2; -x,-y,z; x,-y,z "},
    {48, "P n n n   : -x+1/2,-y+1/2,z; -x+1/2,y,-z+1/2; -x,-y,-z "},
    {64, "C m c a   : x+1/2,y+1/2,z; -x,-y+1/2,z+1/2; -x,y+1/2,-z+1/2; -x,-y,-z "},
    {70, "F d d d   : x+1/2,y+1/2,z; x+1/2,y,z+1/2; -x+3/4,-y+3/4,z; -x+3/4,y,-z+3/4; -x,-y,-z "},
    {88, "I 41/a    : x+1/2,y+1/2,z+1/2; -x+1/2,-y,z+1/2; -y+3/4,x+1/4,z+1/4; -x,-y,-z "},
    {146, "R 3       : x+1/3,y+2/3,z+2/3; -y,x-y,z "},
    {167, "R -3 c    : x+1/3,y+2/3,z+2/3; -y,x-y,z; y,x,-z+1/2; -x,-y,-z "},
    {196, "F 2 3     : x+1/2,y+1/2,z; x+1/2,y,z+1/2; -x,-y,z; -x,y,-z; z,x,y "},
    {210, "F 41 3 2  : x+1/2,y+1/2,z; x+1/2,y,z+1/2; -x,-y+1/2,z+1/2; -x+1/2,y+1/2,-z; z,x,y; y+3/4,x+1/4,-z+3/4 "},
    {227, "F d -3 m  : x+1/2,y+1/2,z; x+1/2,y,z+1/2;-x+3/4,-y+1/4,z+1/2;-x+1/4,y+1/2,-z+3/4;z,x,y;y+3/4,x+1/4,-z+1/2;-x,-y,-z"},
    {228, "F d -3 c  : x+1/2,y+1/2,z; x+1/2,y,z+1/2;-x+1/4,-y+3/4,z+1/2;-x+3/4,y+1/2,-z+1/4;z,x,y;y+3/4,x+1/4,-z;-x,-y,-z"},
    {230, "I a -3 d  : x+1/2,y+1/2,z+1/2; -x+1/2,-y,z+1/2; -x,y+1/2,-z+1/2; z,x,y; y+3/4,x+1/4,-z+1/4; -x,-y,-z "},
};

const std::string failure_message = " Error in the symbol or number of the space group";

// The generators returned into a text of 130 characters, as construction asks.
std::string lookup(const std::string& symbol) {
    std::string text(130, '#');
    vst::get_generators(symbol, text);
    return text;
}

// The table is filled by the first look-up; fill it here too, so that the
// expectation does not depend on which argument is evaluated first.
std::string expected_generators(int number) {
    vst::set_it_gen();
    return vorn_string_utilities::fixed(
        vst::spg_gen[static_cast<std::size_t>(number)].view().substr(11), 130);
}

}  // namespace

TEST(GeneratorTable, StoredTextsAreAsStatedAndMatchTheFixture) {
    vst::set_it_gen();
    for (const auto& [number, text] : stated_texts) {
        EXPECT_EQ(vst::spg_gen[static_cast<std::size_t>(number)].view(),
                  vorn_string_utilities::fixed(text, 120))
            << number;
    }
    const auto rows = tables_test::read_tsv("generators.tsv");
    ASSERT_EQ(rows.size(), 230u);
    for (const auto& f : rows) {
        const int n = std::stoi(f[0]);
        const std::string_view stored = vst::spg_gen[static_cast<std::size_t>(n)].view();
        SCOPED_TRACE("number " + f[0] + " \"" + f[1] + "\"");
        ASSERT_EQ(stored.size(), 120u);
        EXPECT_EQ(stored.substr(0, 10), vorn_string_utilities::fixed(f[1], 10));
        EXPECT_EQ(stored.substr(10, 2), ": ");
        const std::string tail = (n == 227 || n == 228) ? "" : " ";
        EXPECT_EQ(stored.substr(12), vorn_string_utilities::fixed(f[2] + tail, 108));
    }
    EXPECT_EQ(vst::spg_gen[227].len_trim(), 114u);  // the longest text
}

TEST(GeneratorTable, LookUpByNumber) {
    const std::string p21c = vorn_string_utilities::fixed(" -x,y+1/2,-z+1/2; -x,-y,-z", 130);
    for (const char* query : {"14", " 14", "14 P", "14,3", "+14", "P 21/c", "p 21/C", "P 21/C",
                              "P 21/c     "}) {
        vst::err_symtab_mess = "untouched";
        EXPECT_EQ(lookup(query), p21c) << '"' << query << '"';
        EXPECT_FALSE(vst::err_symtab) << '"' << query << '"';
        EXPECT_EQ(vst::err_symtab_mess, "untouched");
    }
    // "2/m" reads as the number 2.
    EXPECT_EQ(lookup("2/m"), vorn_string_utilities::fixed(" -x,-y,-z", 130));
    EXPECT_FALSE(vst::err_symtab);
    for (int n = 1; n <= 230; ++n) {
        EXPECT_EQ(lookup(std::to_string(n)), expected_generators(n)) << n;
        EXPECT_FALSE(vst::err_symtab) << n;
    }
    // Out of range: the identity of number 1, and the look-up fails.
    for (const char* query : {"0", "231", "-5", "2147483647", "-2147483648"}) {
        vst::err_symtab = false;
        vst::err_symtab_mess.clear();
        EXPECT_EQ(lookup(query), vorn_string_utilities::fixed(" x,y,z", 130)) << query;
        EXPECT_TRUE(vst::err_symtab) << query;
        EXPECT_EQ(vst::err_symtab_mess, failure_message) << query;
    }
}

TEST(GeneratorTable, LookUpBySymbol) {
    for (const auto& f : tables_test::read_tsv("generators.tsv")) {
        const int n = std::stoi(f[0]);
        EXPECT_EQ(lookup(f[1]), expected_generators(n)) << f[1];
        EXPECT_FALSE(vst::err_symtab) << f[1];
        std::string lower = f[1];
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(lookup(lower), expected_generators(n)) << lower;
    }
    // Separators of 227 kept exactly as stored.
    EXPECT_EQ(lookup("F d -3 m"),
              vorn_string_utilities::fixed(
                  " x+1/2,y+1/2,z; x+1/2,y,z+1/2;-x+3/4,-y+1/4,z+1/2;-x+1/4,y+1/2,-z+3/4;z,x,y;"
                  "y+3/4,x+1/4,-z+1/2;-x,-y,-z",
                  130));
}

TEST(GeneratorTable, FailedLookUps) {
    // Unknown symbols, a leading blank, missing blanks or a full monoclinic
    // symbol: failure with the text untouched.  Texts that begin with a
    // separator or hold an unreadable or overflowing number are looked up as
    // symbols, and fail likewise.
    for (const char* query : {" P 21/c", "P21/c", "P 1 21/c 1", "", "     ", ",14", "/14", "14P",
                              "1.5", "99999999999", "-2147483649", "-", "+", "Q 1"}) {
        std::string text(130, '#');
        vst::err_symtab = false;
        vst::get_generators(query, text);
        EXPECT_TRUE(vst::err_symtab) << '"' << query << '"';
        EXPECT_EQ(text, std::string(130, '#')) << '"' << query << '"';
        EXPECT_EQ(vst::err_symtab_mess, failure_message);
    }
    // A success after a failure clears the flag and keeps the message.
    lookup("P21/c");
    ASSERT_TRUE(vst::err_symtab);
    lookup("P 1");
    EXPECT_FALSE(vst::err_symtab);
    EXPECT_EQ(vst::err_symtab_mess, failure_message);
}

TEST(GeneratorTable, CallerLengthCutsOrPads) {
    std::string short_text(5, '#');
    vst::get_generators("14", short_text);
    EXPECT_EQ(short_text, " -x,y");
    vorn_string_utilities::FixedText<109> exact;
    vst::get_generators("230", exact);
    EXPECT_EQ(exact.view(), vst::spg_gen[230].view().substr(11));
    std::string empty;
    vst::get_generators("14", empty);
    EXPECT_FALSE(vst::err_symtab);
    EXPECT_TRUE(empty.empty());
}
