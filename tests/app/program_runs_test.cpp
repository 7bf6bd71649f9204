// The program run as a user runs it, in a scratch folder: the worked example
// ex19 byte for byte in both layouts and from every space-group source, runs
// whose lists are too short to fit, and every failed input a user can meet
// (exit status 2, its one-line report on standard error, the report so far).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"

namespace {

using borq_test::read_file;
using borq_test::ScratchDir;
namespace fs = std::filesystem;

const std::string ex19_dir = std::string(BORQ_TEST_DATA) + "/ex19/";
std::string expected(const std::string& name) { return read_file(ex19_dir + "expected/" + name); }
// The banner and the code line, as in the example's report.
std::string start(const std::string& code) {
    const std::string report = expected("ex19.stdout");
    return report.substr(0, report.find("\nCompound code: ")) + "\nCompound code: " + code + "\n\n";
}
const std::string prompt = "Cif not found\nPlease enter space group (P 21 21 21) => ";
const std::string from_cif = "Finding space group in cif...\n";
const std::string q_header = "   h   k   l   Qsingle   Qobs      sQobs     |Q|/sQ    expDev    obsDev\n";
const std::string d_header = "   h   k   l   Dsingle   Dobs      sDobs     |D|/sQ    expDev    obsDev\n";

// The example's report with the symbol typed at the prompt.
std::string prompted(const std::string& code) {
    std::string report = expected(code + ".stdout");
    return report.replace(report.find(from_cif), from_cif.size(), prompt);
}

// The statistics of a run whose lists cannot be fitted: notices in place of
// the fits, no outlier.
std::string unfitted(int n, int centric, int paired, int unpaired, const char* limit, int q_used, int d_used) {
    const auto row = [](std::string label, int v) { return label.append(56 - label.size(), ' ') + "= " + vorn_string_utilities::format_i(v, 8) + "\n"; };
    const auto hints = [](const std::string& what, const std::string& y) {
        return std::string(borq::too_few_data_notice) + "\n" + what + " data suitable for a spreadsheet are written to " +
               what + "s.dat.\nPlot " + y + "obs on the vertical axis and " + y + "single on the horizonal axis for a " +
               y + "-plot.\nPlot Observed deviates on the vertical axis and expected deviates on the\n"
               "horizontal axis for a normal probability plot.\n\n";
    };
    return "\nINFORMATION ON OUTLIERS:\nMax. allowed difference   = " + std::string(limit) + "\n\nCOVERAGE STATISTICS:\n" +
           row("Number of reflections in hkl file", n) + row("Number of centric  data", centric) +
           row("Number of paired acentric data (excl outliers)", paired) +
           row("Number of unpaired acentric data", unpaired) + row("Number of outlying pairs", 0) +
           (unpaired > 0 ? "Acentric reflections with missing partners are in missing_A.dat.\n" : "") +
           "\n\nSUMMARY DATA FOR QUOTIENT CALCULATION:\n" + row("Number of quotient data to be used in calculations", q_used) +
           row("Number of quotients rejected by I/sigma criterion", 0) +
           row("Number rejected because 2Aobs or single ~ 0 (expect 0)", 0) + row("Number omitted from refinement", 0) +
           hints("Quotient", "Q") + "\nSUMMARY DATA FOR DIFFERENCE CALCULATION:\n" +
           row("Number of difference data to be used in calculations", d_used) +
           row("Number of difference rejected by I/sigma criterion", 0) + row("Number omitted from refinement", 0) +
           hints("Difference", "D") + "Program ends.\n\n";
}

// A file of the scratch folder: "@path" copies tests/data/ex19/<path>, "/" is
// a folder, ">target" a symbolic link, anything else the file's text.
struct File { std::string name, content; };
// The files, arguments and standard input; the exit status, standard output
// and error, and the files expected after the run.
struct Case {
    std::string what; std::vector<File> files; std::string args, input; int status; std::string out, err; std::vector<File> tables;
};

TEST(ProgramRuns, ReportsTablesAndFailedInputs) {
    const std::string ex19 = expected("ex19.stdout"), ex19c = expected("ex19c.stdout");
    const std::vector<File> fixtures{{"ex19.fcf", "@ex19.fcf"}, {"ex19.cif", "@ex19.cif"}};
    std::vector<File> tables;
    for (const char* name : {"Quotients.dat", "Differences.dat", "missing_A.dat"}) tables.push_back({name, expected(name)});
    const std::vector<File> no_fit{{"Quotients.dat", q_header}, {"Differences.dat", d_header}};
    const std::string shelx = "# SHELXL\n _refln_observed_status\n", crystals = "CRYSTALS\n_refln_refinement_weight\n";
    const std::string sx = start("t") + "SHELX format files\n", cry = start("t") + "CRYSTALS format files\n";
    const std::string sx_read = sx + prompt + "Space group is: P 21 21 21\n", cry_read = cry + prompt + "Space group is: P 21 21 21\n";
    const std::string ex19_cif = start("ex19") + "SHELX format files\n" + from_cif, fail = "borq: failed input while ";
    const std::string line = "   1   2   3        234.56       1200.00        15.00 o\n";  // SHELX columns
    const std::string cline = "   1   2   3     1200.00      234.56       15.00 o   0.001000\n";  // CRYSTALS columns
    const auto bad = [](std::string text, std::size_t column, const char* with) { return text.replace(column - 1, std::strlen(with), with); };
    std::vector<Case> runs = {
        {"SHELX layout", fixtures, "ex19", "", 0, ex19, "", tables},
        {"CRYSTALS layout", {{"ex19c.fcf", "@ex19c.fcf"}, {"ex19c.cif", "@ex19c.cif"}}, "ex19c", "", 0, ex19c, "", tables},
        {"CRYSTALS typed", {{"ex19c.fcf", "@ex19c.fcf"}}, "ex19c", "P 21 21 21\n", 0, prompted("ex19c"), "", tables},
        {"CRYSTALS blank", {{"ex19c.fcf", "@ex19c.fcf"}}, "ex19c", "\n", 0, prompted("ex19c"), "", tables},
        {"CIF with CRLF", {fixtures[0], {"ex19.cif", "data_x\r\n_space_group_name_H-M_alt   'P 21 21 21'\r\n"}}, "ex19", "",
         0, ex19, "", tables},
        {"CIF in double quotes", {fixtures[0], {"ex19.cif", "data_x\n_space_group_name_H-M_alt   \"P 21 21 21\"\n"}},
         "ex19", "", 0, ex19, "", tables},
        {"CIF quotes and CRLF",
         {fixtures[0], {"ex19.cif", "data_x\r\n_space_group_name_H-M_alt \"P 21 21 21\"  \r\n_cell_length_a 5.4\r\n"}},
         "ex19", "", 0, ex19, "", tables},
        {"two arguments, one code", {{"ab cd.fcf", "@ex19.fcf"}, {"ab cd.cif", "@ex19.cif"}}, "ab   cd", "", 0,
         std::string(ex19).replace(ex19.find("code: ex19"), 10, "code: ab cd"), "", tables},
        {"symbol resolving to nothing", {fixtures[0]}, "ex19", "Q 99 zz\n", 0,
         start("ex19") + "SHELX format files\n" + prompt + "Space group is: unknown\n" + unfitted(25, 0, 0, 25, "    0.00", 0, 0),
         "", no_fit},
        {"empty list", {{"t.fcf", shelx + "\n"}}, "t", "\n", 0, sx_read + unfitted(0, 0, 0, 0, "    0.00", 0, 0), "", no_fit},
        {"one pair: too few to fit, old missing_A.dat kept",
         {{"missing_A.dat", "old"}, {"t.fcf", shelx + "   1   2   3        100.00        110.00         5.00 o\n"
                                             "  -1  -2  -3         95.00        105.00         5.00 o\n"
                                             "   2   0   0         50.00         52.00         3.00 o\n"}},
         "t", "\n", 0, sx_read + unfitted(3, 1, 2, 0, "   10.00", 1, 1), "", {no_fit[0], no_fit[1], {"missing_A.dat", "old"}}},
        // Failed inputs.
        {"no argument", {}, "", "", 2, start(""), fail + "opening .fcf for reading: No such file or directory\n", {}},
        {"no reflection file", {fixtures[1]}, "ex19", "", 2, start("ex19"),
         fail + "opening ex19.fcf for reading: No such file or directory\n", {}},
        {"CIF without the SHELX key", {fixtures[0], {"ex19.cif", "@ex19c.cif"}}, "ex19", "P 21 21 21\n", 2, ex19_cif,
         fail + "reading ex19.cif: end of file before a line beginning with \"_space_group_name_H-M_alt\"\n", {}},
        {"CIF without the CRYSTALS key", {{"t.fcf", crystals}, {"t.cif", "@ex19.cif"}}, "t", "", 2, cry + from_cif,
         fail + "reading t.cif: end of file before a line beginning with \"_symmetry_space_group_name_H-M\"\n", {}},
        {"a folder in place of the CIF", {fixtures[0], {"ex19.cif", "/"}}, "ex19", "", 2, ex19_cif,
         fail + "opening ex19.cif for reading: Is a directory\n", {}},
        {"no answer at the prompt", {fixtures[0]}, "ex19", "", 2, start("ex19") + "SHELX format files\n" + prompt,
         fail + "reading standard input: end of input before the space-group symbol\n", {}},
        {"SHELX header line missing", {{"t.fcf", "SHELX\n_refln_observed_status\n" + line}}, "t", "", 2, sx,
         fail + "reading t.fcf: end of file before the header line beginning with \" _refln_observed_status\"\n", {}},
        {"no program named: CRYSTALS layout", {{"t.fcf", "no program\n" + cline}}, "t", "", 2, start("t"),
         fail + "reading t.fcf: end of file before the header line beginning with \"_refln_refinement_weight\"\n", {}},
        {"bad index", {{"t.fcf", shelx + line + bad(line, 7, "k")}}, "t", "\n", 2, sx_read,
         fail + "reading t.fcf, line 4: bad value in columns 5-8 (k): \"  k2\"\n", {}},
        {"bad SHELX fields", {{"t.fcf", shelx + bad(bad(bad(line, 20, "?"), 35, "?"), 48, "?")}}, "t", "\n", 2, sx_read,
         fail + "reading t.fcf, line 3: bad value in columns 27-40 (Fo2): \"       1?00.00\"\n", {}},
        {"bad SHELX sigma", {{"t.fcf", shelx + bad(line, 48, "?")}}, "t", "\n", 2, sx_read,
         fail + "reading t.fcf, line 3: bad value in columns 41-53 (sigma(Fo2)): \"       ?15.00\"\n", {}},
        {"bad SHELX Fc2", {{"t.fcf", shelx + bad(line, 20, "?")}}, "t", "\n", 2, sx_read,
         fail + "reading t.fcf, line 3: bad value in columns 13-26 (Fc2): \"       ?234.56\"\n", {}},
        {"bad CRYSTALS fields", {{"t.fcf", crystals + bad(bad(bad(cline, 20, "?"), 32, "?"), 45, "?")}}, "t", "\n", 2,
         cry_read, fail + "reading t.fcf, line 3: bad value in columns 25-36 (Fc2): \"      2?4.56\"\n", {}},
        {"bad CRYSTALS sigma", {{"t.fcf", crystals + bad(cline, 45, "?")}}, "t", "\n", 2, cry_read,
         fail + "reading t.fcf, line 3: bad value in columns 37-48 (sigma(Fo2)): \"       1?.00\"\n", {}},
        {"bad CRYSTALS Fo2", {{"t.fcf", crystals + bad(cline, 20, "?")}}, "t", "\n", 2, cry_read,
         fail + "reading t.fcf, line 3: bad value in columns 13-24 (Fo2): \"     12?0.00\"\n", {}},
        {"missing_A.dat cannot be created", {fixtures[0], fixtures[1], {"missing_A.dat", "/"}}, "ex19", "", 2,
         ex19.substr(0, ex19.find("\n\n\nSUMMARY DATA FOR QUOTIENT") + 1),
         fail + "creating missing_A.dat: cannot open the file for writing\n", {}},
        {"missing_A.dat cannot be written", {fixtures[0], fixtures[1], {"missing_A.dat", ">/dev/full"}}, "ex19", "", 2,
         ex19.substr(0, ex19.find("\n\n\nSUMMARY DATA FOR QUOTIENT") + 1),
         fail + "writing missing_A.dat: the file could not be written\n", {}},
        {"Quotients.dat cannot be created", {fixtures[0], fixtures[1], {"Quotients.dat", "/"}}, "ex19", "", 2,
         ex19.substr(0, ex19.find("Quotient data suitable")),
         fail + "creating Quotients.dat: cannot open the file for writing\n", {}},
        {"Differences.dat cannot be written", {fixtures[0], fixtures[1], {"Differences.dat", ">/dev/full"}}, "ex19", "", 2,
         ex19.substr(0, ex19.find("Difference data suitable")),
         fail + "writing Differences.dat: the file could not be written\n", {}},
    };
    // Typed, blank, blanks only, a CRLF line end, no line end and lower case.
    for (const char* answer : {"P 21 21 21\n", "\n", "    \n", "P 21 21 21\r\n", "p 21 21 21"})
        runs.push_back({answer, {fixtures[0]}, "ex19", answer, 0, prompted("ex19"), "", tables});
    for (const Case& run : runs) {
        SCOPED_TRACE(run.what);
        ScratchDir scratch("runs");
        for (const File& f : run.files) {
            if (f.content == "/") fs::create_directory(scratch.path() / f.name);
            else if (f.content.starts_with(">")) fs::create_symlink(f.content.substr(1), scratch.path() / f.name);
            else if (f.content.starts_with("@")) scratch.copy_fixture("ex19/" + f.content.substr(1), f.name);
            else scratch.write(f.name, f.content);
        }
        EXPECT_EQ(borq_test::run_program(scratch, run.args, run.input), run.status);
        EXPECT_EQ(read_file(scratch.path() / "stdout.txt"), run.out);
        EXPECT_EQ(read_file(scratch.path() / "stderr.txt"), run.err);
        for (const File& table : run.tables) EXPECT_EQ(read_file(scratch.path() / table.name), table.content) << table.name;
    }
}

}  // namespace
