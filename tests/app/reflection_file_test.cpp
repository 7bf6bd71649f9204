// Reading the input files: the layout named by the first line naming a
// program, the reflection count and the fixed columns read with the rules of
// formatted input (line ends, comments, implied decimals, status column), the
// space-group text from the CIF, and the compound code.
#include <gtest/gtest.h>

#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"

namespace {

using borq::CompoundCode;

const std::string shelx_header = "data_t\n_shelx_refln_list_code 4\nloop_\n _refln_F_squared_sigma\n _refln_observed_status\n";
const std::string crystals_header = "# CRYSTALS\ndata_t\nloop_\n_refln_observed_status\n_refln_refinement_weight\n";
const std::string line = "   1   2   3        234.56       1200.00        15.00 o\n";  // SHELX columns
const std::string cline = "  -1  -2  -3     1100.00      230.00       14.00 x   0.001000\n";  // CRYSTALS columns

// The first line naming a program decides the layout (the leftmost name).
TEST(ReflectionFile, ProgramNamedInALine) {
    const std::tuple<std::string, std::int32_t, std::int32_t> lines[] = {
        {"# written by shelxl-2018", 0, 1}, {"   CRYSTALS, not SHELX", 0, 2}, {"no program named here", 7, 7},
        {std::string(237, 'x') + "SHELXL", 0, 0},   // beyond column 240
        {std::string(237, ' ') + "SHELXL", 0, 1}};  // leading blanks removed first
    for (auto [text, result, expected] : lines) {
        borq::find_string(text, result);
        EXPECT_EQ(result, expected) << text;
    }
    std::string text = "abc-xyz{";  // the first 5 characters; none for a negative length
    borq::toupper(text, 5), borq::toupper(text, -3);
    EXPECT_EQ(text, "ABC-Xyz{");
}

// Each row: the file, the count, the rows read (h k l Fo2 sigma Fc2 omitted)
// or the failure.  A blank line ends the list (and a comment line in the
// CRYSTALS layout); the status column holds "o" for a used reflection.
TEST(ReflectionFile, CountAndFixedColumns) {
    const struct { const char* what; bool shelx; std::string file; int count, read; std::string rows; } cases[] = {
        {"plain", true, shelx_header + line + "\n" + line, 1, 1, "1 2 3 1200 15 234.56 0|"},
        {"omitted, no status column", true, shelx_header + line.substr(0, 54) + "x\n" + line.substr(0, 53) + "\n", 2, 2,
         "1 2 3 1200 15 234.56 1|1 2 3 1200 15 234.56 1|"},
        {"blanks inside an index, implied decimals, blank fields", true,
         shelx_header + "   4 1 2  -5" + std::string(23, ' ') + "12345" + std::string(13, ' ') + " o\n", 1, 1, "4 12 -5 123.45 0 0 0|"},
        {"a comment line is a reflection line", true, shelx_header + line + "# comment\n", 2, 1, "1 2 3 1200 15 234.56 0|"},
        {"CRLF and comments after the list", false, crystals_header + cline + "#\n# comment\n", 1, 1, "-1 -2 -3 1100 14 230 1|"},
        {"to the end of the file", false, crystals_header + cline + cline.substr(0, 61), 2, 2,
         "-1 -2 -3 1100 14 230 1|-1 -2 -3 1100 14 230 1|"},
        {"shorter than counted", true, shelx_header + line, 1, 3,
         "borq: failed input while reading t.fcf, line 7: end of file after 1 of 3 reflection lines"}};
    borq_test::ScratchDir scratch("reader");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string file = c.file;
        if (!c.shelx)
            for (std::size_t at = 0; (at = file.find('\n', at)) != std::string::npos; at += 2) file.insert(at, "\r");
        scratch.write("t.fcf", file);
        EXPECT_EQ(borq::count_reflections(CompoundCode("t"), c.shelx), c.count);
        borq::HklInfo hkl;
        borq::FsqData fsq;
        std::ostringstream rows;
        try {
            (c.shelx ? borq::read_data_shelx : borq::read_data_cry)(CompoundCode("t"), c.read, hkl, fsq);
            for (std::size_t i = 1; i < hkl.size(); ++i)
                rows << hkl[i].h << " " << hkl[i].k << " " << hkl[i].l << " " << fsq[i].fo2 << " " << fsq[i].sigma_fo2 << " "
                     << fsq[i].fc2 << " " << hkl[i].omitted << "|";
        } catch (const borq::InputFailure& failure) { rows << borq::failure_report(failure); }
        EXPECT_EQ(rows.str(), c.rows);
    }
}

// The CIF value after the layout's key (first line beginning with it exactly),
// apostrophes blanked and one enclosing pair of double quotes removed (the
// closing one before a blank or the line end; a Hall symbol's quote stays).
TEST(ReflectionFile, SpaceGroupTextFromTheCif) {
    const std::string key = "_space_group_name_H-M_alt";
    const std::pair<std::string, std::string> cases[] = {
        {"data_c\r\n_SPACE_GROUP_NAME_H-M_ALT 'P 1'\r\n" + key + "  'P 21 21 21'\r\n" + key + " 'P 1'\r\n", "   P 21 21 21"},
        {key + "  \"P 21 21 21\"  \r\n_cell_length_a 5.4\r\n", "  P 21 21 21"}, {key + " \"P 3 2\"\"", " P 3 2\""},
        {key + " \"-P 6 2\"\"  # hexagonal", " -P 6 2\"  # hexagonal"}, {key + " P 3 2\"", " P 3 2\""}, {key + " \"P 1", " \"P 1"},
        {key + " 'P 3 2\"'", "  P 3 2\" "}};
    borq_test::ScratchDir scratch("space_group_text");
    for (const auto& [text, expected] : cases) {
        scratch.write("t.cif", text);
        std::ostringstream out;
        std::istringstream in;
        EXPECT_EQ(borq::space_group_text(CompoundCode("t"), true, out, in), expected + std::string(240 - expected.size(), ' '));
        EXPECT_EQ(out.str(), "Finding space group in cif...\n");
    }
}

// The arguments joined by single blanks, cut to 80 characters; the code
// without leading and trailing blanks.
TEST(ReflectionFile, CompoundCodeFromTheArguments) {
    std::string prog = "borq", long_arg(70, 'x'), other = "  0123456789abcdef  ";
    char* cut[] = {prog.data(), long_arg.data(), other.data()};
    EXPECT_EQ(std::string(borq::command_code(3, cut).view()), long_arg + "   0123456");
    EXPECT_EQ(borq::code_name(borq::command_code(2, &cut[1])), "0123456789abcdef");
}

}  // namespace
