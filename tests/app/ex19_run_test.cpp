// The worked example ex19 in both reflection-file layouts: with the group
// P 21 21 21 filled by hand, every statistics line of the report and all
// three tables match the expected files byte for byte.
#include <gtest/gtest.h>

#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "support/hand_built_groups.hpp"

namespace {

using borq_test::read_file;
using borq_test::ScratchDir;

// The part of the expected report that the statistics write: after the
// space-group line, up to "Program ends.".
std::string statistics_part(const std::string& report) {
    const std::string after = "Space group is: P 21 21 21\n";
    const std::size_t begin = report.find(after);
    const std::size_t end = report.find("Program ends.\n");
    if (begin == std::string::npos || end == std::string::npos) return "<markers missing>";
    return report.substr(begin + after.size(), end - begin - after.size());
}

void expect_example(const std::string& code_text, bool shelx) {
    SCOPED_TRACE(code_text);
    ScratchDir scratch("ex19_" + code_text);
    scratch.copy_fixture("ex19/" + code_text + ".fcf");
    const std::string expected_dir = std::string(BORQ_TEST_DATA) + "/ex19/expected/";
    const std::string expected = read_file(expected_dir + code_text + ".stdout");

    const borq::CompoundCode code(code_text);
    std::ostringstream layout;
    bool shelx_input = !shelx;
    borq::sx_or_cry(code, shelx_input, layout);
    EXPECT_EQ(shelx_input, shelx);
    EXPECT_NE(expected.find(layout.str()), std::string::npos) << layout.str();

    const std::int32_t n_refl = borq::count_reflections(code, shelx_input);
    EXPECT_EQ(n_refl, 25);
    const auto group = hand_built::p212121();
    std::ostringstream out;
    borq::run_statistics(code, shelx_input, n_refl, *group, out);
    EXPECT_EQ(out.str(), statistics_part(expected));
    for (const char* table : {"Quotients.dat", "Differences.dat", "missing_A.dat"})
        EXPECT_EQ(read_file(scratch.path() / table), read_file(expected_dir + table)) << table;
}

TEST(Example19, ShelxLayoutMatchesExpectedOutput) { expect_example("ex19", true); }

TEST(Example19, CrystalsLayoutMatchesExpectedOutput) { expect_example("ex19c", false); }

}  // namespace
