// The stored generators of the 230 standard settings equal the fixture, and
// get_generators finds them by number or short symbol, refuses every other
// query with its exact message, and fits them to the caller's length.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/tsv_fixture.hpp"
#include "tables/sym_table.hpp"
#include "text/string_util.hpp"

namespace vst = vorn_symmetry_tables;
using vorn_string_utilities::fixed;

TEST(GeneratorTable, StoredTextsAndEveryLookUpEqualTheFixture) {
    vst::spg_gen[14] = "changed";  // filled anew by every look-up
    const auto rows = tables_test::read_tsv("generators.tsv");
    ASSERT_EQ(rows.size(), 230u);
    for (const auto& f : rows) {
        SCOPED_TRACE("number " + f[0] + " \"" + f[1] + "\"");
        const std::string expected = fixed(" " + f[2], 130);
        for (const std::string& query : {f[0], f[1], vorn_string_utilities::l_case(f[1])}) {
            std::string text(130, '#');
            vst::get_generators(query, text);
            EXPECT_EQ(text, expected) << query;
            EXPECT_FALSE(vst::err_symtab) << query;
        }
        EXPECT_EQ(vst::spg_gen[std::stoul(f[0])].view(), fixed(fixed(f[1], 10) + ": " + f[2], 120));
    }
}

TEST(GeneratorTable, QueriesAndFailures) {
    // number: the generators returned; 1 with fails: the identity and a
    // failure (number out of range); 0: a failure with the text untouched.
    struct Case { const char* query; int number; bool fails; };
    const std::string failure_message = " Error in the symbol or number of the space group";
    const Case cases[] = {
        {"14", 14, false}, {" 14", 14, false}, {"14 P", 14, false}, {"  19 x", 19, false}, {"14,3", 14, false}, {"+14", 14, false},
        {"14/2", 14, false}, {"2/m", 2, false}, {"P 21/c", 14, false}, {"p 21/C", 14, false},
        {"P 21/c     ", 14, false}, {"F d -3 m", 227, false}, {"230", 230, false}, {"1", 1, false},
        {"0", 1, true}, {"231", 1, true}, {"-5", 1, true}, {"2147483647", 1, true}, {"-2147483648", 1, true},
        {" P 21/c", 0, true}, {"P21/c", 0, true}, {"P 1 21/c 1", 0, true}, {"P 21/c    x", 0, true},
        {"", 0, true}, {"     ", 0, true}, {",14", 0, true}, {"/14", 0, true}, {"14P", 0, true},
        {"1.5", 0, true}, {"99999999999", 0, true}, {"2147483648", 0, true}, {"-2147483649", 0, true},
        {"-", 0, true}, {"+", 0, true}, {"Q 1", 0, true},
    };
    std::vector<std::string> texts(231);  // columns 12-120 as a caller of 130 characters receives them
    for (const auto& f : tables_test::read_tsv("generators.tsv")) texts.at(std::stoul(f[0])) = fixed(" " + f[2], 130);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.query + '"');
        vst::err_symtab = !c.fails;  // the flag is set afresh by every look-up
        vst::err_symtab_mess = "untouched";
        std::string text(130, '#');
        vst::get_generators(c.query, text);
        EXPECT_EQ(text, c.number == 0 ? std::string(130, '#') : texts[static_cast<std::size_t>(c.number)]);
        EXPECT_EQ(vst::err_symtab, c.fails);
        EXPECT_EQ(vst::err_symtab_mess, c.fails ? failure_message : "untouched");
    }
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
