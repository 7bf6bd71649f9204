// The program run as a user runs it, in a scratch folder: the worked example
// ex19 byte for byte in both layouts and from every space-group source, runs
// whose lists are too short to fit, and every failed input or output a user
// can meet (exit status 2, its one-line report on standard error, the report
// so far).
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

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

// The statistics of a run whose lists cannot be fitted, from the outlier
// section on: the example's lines with the limit and these values after "=",
// no outlier, the notice in place of each fit, the missing_A.dat line only
// when some reflections are unpaired.
std::string unfitted(const std::string& limit, const std::vector<int>& values) {
    const std::string example = expected("ex19.stdout");
    std::istringstream lines(example.substr(example.find("\nINFORMATION ON OUTLIERS")));
    std::string report, line;
    bool fit = false;
    for (std::size_t v = 0; std::getline(lines, line);) {
        if (line.starts_with("Flack")) fit = true, report += std::string(borq::too_few_data_notice) + "\n";
        if (line.find("data suitable") != std::string::npos) fit = false;
        if (fit || line.starts_with("Outlier:") || (line.starts_with("Acentric") && values[3] == 0)) continue;
        if (line.find("= ") != std::string::npos)
            line.replace(line.find("= ") + 2, std::string::npos, v == 0 ? limit : vorn_string_utilities::format_i(values[v - 1], 8)), ++v;
        report += line + "\n";
    }
    return report;
}

// A file of the scratch folder: "@path" copies tests/data/ex19/<path>, "/" is
// a folder, ">target" a symbolic link, anything else the file's text.
struct File { std::string name, content; };
// The files, arguments and standard input; the exit status, standard output
// and error (after "borq: failed input while ", or after "borq: failed " when
// it begins "output while "), and the files expected after the run.  Standard
// output goes to stdout.txt unless the shell words `redirect` send it elsewhere;
// `blocks`, when not 0, is the most 512-byte blocks of any file written.
struct Case { std::string what; std::vector<File> files; std::string args, input; int status; std::string out, err;
              std::vector<File> tables; std::string redirect{}; int blocks = 0; };

TEST(ProgramRuns, ReportsTablesAndFailedInputs) {
    const std::string ex19 = expected("ex19.stdout"), ex19c = expected("ex19c.stdout");
    const std::vector<File> fixtures{{"ex19.fcf", "@ex19.fcf"}, {"ex19.cif", "@ex19.cif"}};
    std::vector<File> tables, no_fit;  // the example's tables; their header lines alone
    for (const char* name : {"Quotients.dat", "Differences.dat", "missing_A.dat"}) tables.push_back({name, expected(name)});
    for (int t = 0; t < 2; ++t) no_fit.push_back({tables[t].name, tables[t].content.substr(0, tables[t].content.find('\n') + 1)});
    const std::string shelx = "# SHELXL\n _refln_observed_status\n", crystals = "CRYSTALS\n_refln_refinement_weight\n";
    const std::string sx = start("t") + "SHELX format files\n", cry = start("t") + "CRYSTALS format files\n";
    const std::string sx_read = sx + prompt + "Space group is: P 21 21 21\n", cry_read = cry + prompt + "Space group is: P 21 21 21\n";
    const std::string ex19_sx = start("ex19") + "SHELX format files\n", ex19_cif = ex19_sx + from_cif;
    const std::string line = "   1   2   3        234.56       1200.00        15.00 o\n";  // SHELX columns
    const std::string cline = "   1   2   3     1200.00      234.56       15.00 o   0.001000\n";  // CRYSTALS columns
    const auto bad = [](std::string text, std::size_t column, const char* with) { return text.replace(column - 1, std::strlen(with), with); };
    std::vector<Case> runs = {
        {"SHELX layout", fixtures, "ex19", "", 0, ex19, "", tables},
        {"CRYSTALS layout", {{"ex19c.fcf", "@ex19c.fcf"}, {"ex19c.cif", "@ex19c.cif"}}, "ex19c", "", 0, ex19c, "", tables},
        {"two arguments, one code", {{"ab cd.fcf", "@ex19.fcf"}, {"ab cd.cif", "@ex19.cif"}}, "ab   cd", "", 0,
         std::string(ex19).replace(ex19.find("code: ex19"), 10, "code: ab cd"), "", tables},
        {"symbol resolving to nothing", {fixtures[0]}, "ex19", "Q 99 zz\n", 0,
         ex19_sx + prompt + "Space group is: unknown\n" + unfitted("    0.00", {25, 0, 0, 25, 0, 0, 0, 0, 0, 0, 0, 0}), "", no_fit},
        {"empty list", {{"t.fcf", shelx + "\n"}}, "t", "\n", 0, sx_read + unfitted("    0.00", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), "", no_fit},
        {"one pair: too few to fit, old missing_A.dat kept",
         {{"missing_A.dat", "old"}, {"t.fcf", shelx + "   1   2   3        100.00        110.00         5.00 o\n  -1  -2  -3"
                                             "         95.00        105.00         5.00 o\n   2   0   0         50.00         52.00         3.00 o\n"}},
         "t", "\n", 0, sx_read + unfitted("   10.00", {3, 1, 2, 0, 0, 1, 0, 0, 0, 1, 0, 0}), "", {no_fit[0], no_fit[1], {"missing_A.dat", "old"}}},
        // Failed inputs.
        {"no argument", {}, "", "", 2, start(""), "opening .fcf for reading: No such file or directory", {}},
        {"no reflection file", {fixtures[1]}, "ex19", "", 2, start("ex19"), "opening ex19.fcf for reading: No such file or directory", {}},
        {"CIF without the SHELX key", {fixtures[0], {"ex19.cif", "@ex19c.cif"}}, "ex19", "P 21 21 21\n", 2, ex19_cif,
         "reading ex19.cif: end of file before a line beginning with \"_space_group_name_H-M_alt\"", {}},
        {"CIF without the CRYSTALS key", {{"t.fcf", crystals}, {"t.cif", "@ex19.cif"}}, "t", "", 2, cry + from_cif,
         "reading t.cif: end of file before a line beginning with \"_symmetry_space_group_name_H-M\"", {}},
        {"a folder in place of the CIF", {fixtures[0], {"ex19.cif", "/"}}, "ex19", "", 2, ex19_cif,
         "opening ex19.cif for reading: Is a directory", {}},
        {"no answer at the prompt", {fixtures[0]}, "ex19", "", 2, ex19_sx + prompt,
         "reading standard input: end of input before the space-group symbol", {}},
        {"SHELX header line missing", {{"t.fcf", "SHELX\n_refln_observed_status\n" + line}}, "t", "", 2, sx,
         "reading t.fcf: end of file before the header line beginning with \" _refln_observed_status\"", {}},
        {"no program named: CRYSTALS layout", {{"t.fcf", "no program\n" + cline}}, "t", "", 2, start("t"),
         "reading t.fcf: end of file before the header line beginning with \"_refln_refinement_weight\"", {}},
    };
    // A field that does not read stops the run; of several, the first read (Fo2, sigma, then Fc2 in the SHELX layout).
    const std::pair<std::string, std::string> unreadable[] = {
        {shelx + line + bad(line, 7, "k"), "line 4: bad value in columns 5-8 (k): \"  k2\""},
        {shelx + bad(bad(bad(line, 20, "?"), 35, "?"), 48, "?"), "line 3: bad value in columns 27-40 (Fo2): \"       1?00.00\""},
        {shelx + bad(line, 48, "?"), "line 3: bad value in columns 41-53 (sigma(Fo2)): \"       ?15.00\""},
        {shelx + bad(line, 20, "?"), "line 3: bad value in columns 13-26 (Fc2): \"       ?234.56\""},
        {crystals + bad(bad(bad(cline, 20, "?"), 32, "?"), 45, "?"), "line 3: bad value in columns 25-36 (Fc2): \"      2?4.56\""},
        {crystals + bad(cline, 45, "?"), "line 3: bad value in columns 37-48 (sigma(Fo2)): \"       1?.00\""},
        {crystals + bad(cline, 20, "?"), "line 3: bad value in columns 13-24 (Fo2): \"     12?0.00\""}};
    for (const auto& [file, message] : unreadable)
        runs.push_back({message, {{"t.fcf", file}}, "t", "\n", 2, file.starts_with("#") ? sx_read : cry_read, "reading t.fcf, " + message, {}});
    // A table that cannot be created (a folder in its place) or written (a full device, a file-size limit reached
    // after 512 of its bytes, which stay) stops the run after the report so far: a failed output.
    const std::tuple<std::string, bool, const char*> blocked[] = {{"missing_A.dat", true, "\n\nSUMMARY DATA FOR QUOTIENT"},
        {"missing_A.dat", false, "\n\nSUMMARY DATA FOR QUOTIENT"}, {"Quotients.dat", true, "Quotient data suitable"},
        {"Differences.dat", false, "Difference data suitable"}};
    for (const auto& [table, folder, cut] : blocked)
        runs.push_back({table, {fixtures[0], fixtures[1], {table, folder ? "/" : ">/dev/full"}}, "ex19", "", 2, ex19.substr(0, ex19.find(cut)),
                        "output while writing " + table + (folder ? ": Is a directory" : ": No space left on device"), {}});
    runs.push_back({"file-size limit in Differences.dat", fixtures, "ex19", "", 2,
                    ex19.substr(0, ex19.find("Difference data suitable")),
                    "output while writing Differences.dat: File too large",
                    {tables[0], tables[2], {"Differences.dat", tables[1].content.substr(0, 512)}}, "", 1});
    // A report that cannot reach standard output (a full device, a closed one) ends the run before any file is read or written;
    // one cut by a file-size limit fails the run, although every table is written.
    runs.push_back({"file-size limit in the report", fixtures, "ex19", "", 2, ex19.substr(0, 3072),
                    "output while writing standard output: File too large", tables, "> stdout.txt", 6});
    runs.push_back({"standard output full", fixtures, "ex19", "", 2, "", "output while writing standard output: No space left on device",
                    {{"missing_A.dat", ""}}, "> /dev/full"});
    runs.push_back({"standard output closed", fixtures, "ex19", "", 2, "", "output while writing standard output: Bad file descriptor",
                    {{"missing_A.dat", ""}}, ">&-"});
    // Typed, blank, blanks only, a CRLF line end, no line end and lower case.
    for (const char* answer : {"P 21 21 21\n", "\n", "    \n", "P 21 21 21\r\n", "p 21 21 21"})
        runs.push_back({answer, {fixtures[0]}, "ex19", answer, 0, std::string(ex19).replace(ex19.find(from_cif), from_cif.size(), prompt), "",
                        tables});
    for (const Case& run : runs) {
        SCOPED_TRACE(run.what);
        ScratchDir scratch("runs");
        for (const File& f : run.files) {
            if (f.content == "/") fs::create_directory(scratch.path() / f.name);
            else if (f.content.starts_with(">")) fs::create_symlink(f.content.substr(1), scratch.path() / f.name);
            else if (f.content.starts_with("@")) scratch.copy_fixture("ex19/" + f.content.substr(1), f.name);
            else scratch.write(f.name, f.content);
        }
        EXPECT_EQ(borq_test::run_program(scratch, run.args, run.input, run.redirect, run.blocks), run.status);
        EXPECT_EQ(read_file(scratch.path() / "stdout.txt"), run.out);
        const std::string failed = run.err.starts_with("output while ") ? "borq: failed " : "borq: failed input while ";
        EXPECT_EQ(read_file(scratch.path() / "stderr.txt"), run.err.empty() ? "" : failed + run.err + "\n");
        for (const File& table : run.tables) EXPECT_EQ(read_file(scratch.path() / table.name), table.content) << table.name;
    }
}

}  // namespace
