// The whole program run as a user runs it, through the built executable in a
// scratch folder: the worked example ex19 in both layouts byte for byte, the
// space group typed at the prompt, CIF values in double quotes and with CRLF
// line ends, a symbol that resolves to nothing, and every failed input that a
// user can meet (exit status 2, a report on standard error, no crash).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"

namespace {

using borq_test::read_file;
using borq_test::run_program;
using borq_test::ScratchDir;

const std::string expected_dir = std::string(BORQ_TEST_DATA) + "/ex19/expected/";
const char* const tables[] = {"Quotients.dat", "Differences.dat", "missing_A.dat"};

std::string output_of(const ScratchDir& scratch) { return read_file(scratch.path() / "stdout.txt"); }
std::string errors_of(const ScratchDir& scratch) { return read_file(scratch.path() / "stderr.txt"); }

void expect_expected_tables(const ScratchDir& scratch) {
    for (const char* table : tables)
        EXPECT_EQ(read_file(scratch.path() / table), read_file(expected_dir + table)) << table;
}

// The expected report of the example when the symbol comes from the prompt
// instead of the CIF: the label of the group continues the prompt's line.
std::string prompted_report(const std::string& code) {
    std::string report = read_file(expected_dir + code + ".stdout");
    const std::string from_cif = "Finding space group in cif...\nSpace group is: ";
    const std::size_t at = report.find(from_cif);
    if (at == std::string::npos) return "<expected report without the CIF lines>";
    return report.replace(at, from_cif.size(),
                          "Cif not found\nPlease enter space group (P 21 21 21) => Space group is: ");
}

TEST(EndToEnd, Example19BothLayoutsByteForByte) {
    for (const std::string code : {"ex19", "ex19c"}) {
        SCOPED_TRACE(code);
        ScratchDir scratch("e2e_" + code);
        scratch.copy_fixture("ex19/" + code + ".fcf");
        scratch.copy_fixture("ex19/" + code + ".cif");
        EXPECT_EQ(run_program(scratch, code, ""), 0);
        EXPECT_EQ(output_of(scratch), read_file(expected_dir + code + ".stdout"));
        EXPECT_EQ(errors_of(scratch), "");
        expect_expected_tables(scratch);
    }
}

TEST(EndToEnd, SpaceGroupTypedAtThePromptGivesTheSameStatistics) {
    // Typed, blank, blanks only, the CRLF line end of a Windows console, and
    // an answer without a line end, in both layouts.
    const std::pair<std::string, std::string> runs[] = {{"ex19", "P 21 21 21\n"}, {"ex19", "\n"},
                                                        {"ex19", "    \n"},       {"ex19", "P 21 21 21\r\n"},
                                                        {"ex19", "p 21 21 21"},    {"ex19c", "P 21 21 21\n"},
                                                        {"ex19c", "\n"}};
    for (const auto& [code, answer] : runs) {
        SCOPED_TRACE(code + ", answer \"" + answer + "\"");
        ScratchDir scratch("e2e_prompt");
        scratch.copy_fixture("ex19/" + code + ".fcf");
        EXPECT_EQ(run_program(scratch, code, answer), 0);
        EXPECT_EQ(output_of(scratch), prompted_report(code));
        expect_expected_tables(scratch);
    }
}

TEST(EndToEnd, CifValueInDoubleQuotesOrWithCrlfLineEnds) {
    const std::string expected = read_file(expected_dir + "ex19.stdout");
    for (const std::string cif : {"data_x\r\n_space_group_name_H-M_alt   'P 21 21 21'\r\n",
                                  "data_x\n_space_group_name_H-M_alt   \"P 21 21 21\"\n",
                                  "data_x\r\n_space_group_name_H-M_alt \"P 21 21 21\"  \r\n_cell_length_a 5.4\r\n"}) {
        SCOPED_TRACE(cif);
        ScratchDir scratch("e2e_cif");
        scratch.copy_fixture("ex19/ex19.fcf");
        scratch.write("ex19.cif", cif);
        EXPECT_EQ(run_program(scratch, "ex19", ""), 0);
        EXPECT_EQ(output_of(scratch), expected);
        expect_expected_tables(scratch);
    }
}

TEST(EndToEnd, CompoundCodeFromTheArguments) {
    ScratchDir scratch("e2e_code");
    // Two arguments form one code with one blank: "ab cd.fcf", "ab cd.cif".
    scratch.copy_fixture("ex19/ex19.fcf");
    scratch.copy_fixture("ex19/ex19.cif");
    std::filesystem::rename(scratch.path() / "ex19.fcf", scratch.path() / "ab cd.fcf");
    std::filesystem::rename(scratch.path() / "ex19.cif", scratch.path() / "ab cd.cif");
    EXPECT_EQ(run_program(scratch, "ab   cd", ""), 0);
    std::string expected = read_file(expected_dir + "ex19.stdout");
    expected.replace(expected.find("Compound code: ex19"), 19, "Compound code: ab cd");
    EXPECT_EQ(output_of(scratch), expected);

    // No argument: an empty code and the reflection file ".fcf".
    EXPECT_EQ(run_program(scratch, "", ""), 2);
    EXPECT_NE(output_of(scratch).find("\nCompound code: \n\n"), std::string::npos);
    EXPECT_EQ(errors_of(scratch), "borq: failed input while opening .fcf for reading: No such file or directory\n");
}

TEST(EndToEnd, UnresolvableSymbolRunsOnWithNoPairs) {
    ScratchDir scratch("e2e_unknown");
    scratch.copy_fixture("ex19/ex19.fcf");
    EXPECT_EQ(run_program(scratch, "ex19", "Q 99 zz\n"), 0);
    const std::string report = output_of(scratch);
    const std::string notice = std::string(borq::too_few_data_notice) + "\n";
    EXPECT_NE(report.find("=> Space group is: unknown\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Number of centric  data                                 =        0\n"
                          "Number of paired acentric data (excl outliers)          =        0\n"
                          "Number of unpaired acentric data                        =       25\n"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Number omitted from refinement                          =        0\n" + notice +
                          "Quotient data"),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Number omitted from refinement                          =        0\n" + notice +
                          "Difference data"),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("nan"), std::string::npos);
    EXPECT_EQ(report.find("NaN"), std::string::npos);
    EXPECT_TRUE(report.ends_with("Program ends.\n\n"));
    // Every reflection is listed without partner, the tables hold their headers.
    const std::string missing = read_file(scratch.path() / "missing_A.dat");
    EXPECT_EQ(std::count(missing.begin(), missing.end(), '\n'), 26);
    EXPECT_EQ(read_file(scratch.path() / "Quotients.dat"),
              "   h   k   l   Qsingle   Qobs      sQobs     |Q|/sQ    expDev    obsDev\n");
}

TEST(EndToEnd, FailedInputEndsWithStatus2) {
    const std::string banner_and_code = "\nBORQ: Program to calculate descriptive statistics relating to absolute\n"
                                        "      structure determination by the post-refinement quotient method.\n"
                                        "      Input:  ShelxL-2013 LIST4 fcf file and the space group.\n"
                                        "      Output: Some numbers and a file, quotients.out, for a spreadsheet\n"
                                        "\n\nCompound code: ex19\n\n";
    {
        SCOPED_TRACE("missing reflection file");
        ScratchDir scratch("e2e_no_fcf");
        scratch.copy_fixture("ex19/ex19.cif");
        EXPECT_EQ(run_program(scratch, "ex19", ""), 2);
        EXPECT_EQ(output_of(scratch), banner_and_code);
        EXPECT_EQ(errors_of(scratch),
                  "borq: failed input while opening ex19.fcf for reading: No such file or directory\n");
    }
    {
        // The CIF of the other program: the SHELX key is not in it.
        SCOPED_TRACE("CIF without the key");
        ScratchDir scratch("e2e_no_key");
        scratch.copy_fixture("ex19/ex19.fcf");
        std::filesystem::copy_file(std::filesystem::path(BORQ_TEST_DATA) / "ex19/ex19c.cif",
                                   scratch.path() / "ex19.cif");
        EXPECT_EQ(run_program(scratch, "ex19", "P 21 21 21\n"), 2);
        EXPECT_EQ(output_of(scratch), banner_and_code + "SHELX format files\nFinding space group in cif...\n");
        EXPECT_EQ(errors_of(scratch),
                  "borq: failed input while reading ex19.cif: end of file before a line beginning with "
                  "\"_space_group_name_H-M_alt\"\n");
    }
    {
        SCOPED_TRACE("a folder in place of the CIF");
        ScratchDir scratch("e2e_cif_folder");
        scratch.copy_fixture("ex19/ex19.fcf");
        std::filesystem::create_directory(scratch.path() / "ex19.cif");
        EXPECT_EQ(run_program(scratch, "ex19", ""), 2);
        EXPECT_EQ(output_of(scratch), banner_and_code + "SHELX format files\nFinding space group in cif...\n");
        EXPECT_EQ(errors_of(scratch), "borq: failed input while opening ex19.cif for reading: Is a directory\n");
    }
    {
        SCOPED_TRACE("empty standard input at the prompt");
        ScratchDir scratch("e2e_no_answer");
        scratch.copy_fixture("ex19/ex19.fcf");
        EXPECT_EQ(run_program(scratch, "ex19", ""), 2);
        EXPECT_EQ(output_of(scratch), banner_and_code +
                                          "SHELX format files\nCif not found\n"
                                          "Please enter space group (P 21 21 21) => ");
        EXPECT_EQ(errors_of(scratch),
                  "borq: failed input while reading standard input: end of input before the space-group symbol\n");
        EXPECT_FALSE(std::filesystem::exists(scratch.path() / "Quotients.dat"));
    }
    {
        // A letter in the Fo2 field of the fourth reflection (line 36 of the file).
        SCOPED_TRACE("malformed number in a reflection line");
        ScratchDir scratch("e2e_bad_number");
        scratch.copy_fixture("ex19/ex19.cif");
        std::string fcf = read_file(std::filesystem::path(BORQ_TEST_DATA) / "ex19/ex19.fcf");
        std::size_t line_start = 0;
        for (int line = 1; line < 36; ++line) line_start = fcf.find('\n', line_start) + 1;
        fcf[line_start + 35] = 'x';
        scratch.write("ex19.fcf", fcf);
        EXPECT_EQ(run_program(scratch, "ex19", ""), 2);
        EXPECT_EQ(output_of(scratch),
                  banner_and_code + "SHELX format files\nFinding space group in cif...\nSpace group is: P 21 21 21\n");
        const std::string errors = errors_of(scratch);
        EXPECT_TRUE(errors.starts_with("borq: failed input while reading ex19.fcf, line 36: bad value in columns "
                                       "27-40 (Fo2): "))
            << errors;
    }
}

}  // namespace
