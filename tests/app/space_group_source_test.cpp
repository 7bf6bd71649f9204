// The space-group text of a compound: the CIF key of the layout, apostrophes
// blanked, or the answer at the prompt (blank: P 21 21 21), and the failed
// inputs of this step.
#include <gtest/gtest.h>

#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"

namespace {

using borq::CompoundCode;
using borq::InputFailure;
using borq_test::ScratchDir;

TEST(SpaceGroupSource, CifKeyOfTheLayout) {
    ScratchDir scratch("cif");
    scratch.write("c.cif", "data_c\r\n_SPACE_GROUP_NAME_H-M_ALT 'P 1'\r\n_space_group_name_H-M_alt  'P 21 21 21'\r\n"
                            "_space_group_name_H-M_alt 'P 1'\r\n");
    std::ostringstream out;
    std::istringstream no_input;
    const std::string text = borq::space_group_text(CompoundCode("c"), true, out, no_input);
    EXPECT_EQ(text, "   P 21 21 21" + std::string(227, ' '));
    EXPECT_EQ(out.str(), "Finding space group in cif...\n");

    // The CRYSTALS key is absent: the end of the CIF is a failed input.
    try {
        borq::space_group_text(CompoundCode("c"), false, out, no_input);
        ADD_FAILURE() << "no failure";
    } catch (const InputFailure& failure) {
        EXPECT_EQ(borq::failure_report(failure),
                  "borq: failed input while reading c.cif: end of file before a line beginning with "
                  "\"_symmetry_space_group_name_H-M\"");
    }
}

TEST(SpaceGroupSource, OneEnclosingPairOfDoubleQuotesIsRemoved) {
    ScratchDir scratch("cif_quotes");
    std::ostringstream out;
    std::istringstream no_input;
    const auto text_of = [&](const std::string& value) {
        scratch.write("q.cif", "_space_group_name_H-M_alt" + value + "\n");
        return borq::space_group_text(CompoundCode("q"), true, out, no_input);
    };
    const auto padded = [](const std::string& s) { return s + std::string(240 - s.size(), ' '); };
    EXPECT_EQ(text_of("  \"P 21 21 21\""), padded("  P 21 21 21"));
    // The double quote of a Hall symbol stays; the closing one is the quote
    // before a blank or the end of the line.
    EXPECT_EQ(text_of(" \"P 3 2\"\""), padded(" P 3 2\""));
    EXPECT_EQ(text_of(" \"-P 6 2\"\"  # hexagonal"), padded(" -P 6 2\"  # hexagonal"));
    EXPECT_EQ(text_of(" P 3 2\""), padded(" P 3 2\""));
    // Without a closing quote nothing is removed.
    EXPECT_EQ(text_of(" \"P 1"), padded(" \"P 1"));
    // Apostrophes are blanked whatever else the value holds.
    EXPECT_EQ(text_of(" 'P 3 2\"'"), padded("  P 3 2\" "));
}

TEST(SpaceGroupSource, PromptWhenThereIsNoCif) {
    ScratchDir scratch("prompt");
    std::ostringstream out;
    std::istringstream blank("   \n");
    EXPECT_EQ(borq::space_group_text(CompoundCode("none"), true, out, blank), "P 21 21 21" + std::string(230, ' '));
    EXPECT_EQ(out.str(), "Cif not found\nPlease enter space group (P 21 21 21) => ");
    std::istringstream typed(" P 1 21 1\n");
    EXPECT_EQ(borq::space_group_text(CompoundCode("none"), true, out, typed), " P 1 21 1" + std::string(231, ' '));
    std::istringstream empty;
    EXPECT_THROW(borq::space_group_text(CompoundCode("none"), true, out, empty), InputFailure);

    // The label of the group continues the prompt's line.
    out.str("");
    std::istringstream answer("P 21 21 21\n");
    borq::SpaceGroup group;
    borq::obtain_space_group(CompoundCode("none"), false, group, out, answer);
    EXPECT_EQ(out.str().substr(out.str().find("=> ")), "=> Space group is: P 21 21 21\n");
    EXPECT_EQ(group.reduced_count, 4);
}

}  // namespace
