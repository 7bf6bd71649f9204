// Reading the reflection file: layout detection, header and counting rules,
// fixed-column fields with the rules of formatted input, line ends, and every
// way the input can fail (as procedures and through the program).
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <sstream>
#include <vector>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"

namespace {

using borq::CompoundCode;
using borq::FsqData;
using borq::HklInfo;
using borq::InputFailure;
using borq_test::read_file;
using borq_test::run_program;
using borq_test::ScratchDir;
using vorn_string_utilities::format_f;
using vorn_string_utilities::format_i;

const std::string shelx_header =
    "data_test\n_shelx_refln_list_code 4\nloop_\n _refln_index_h\n _refln_index_k\n _refln_index_l\n"
    " _refln_F_squared_calc\n _refln_F_squared_meas\n _refln_F_squared_sigma\n _refln_observed_status\n";
const std::string crystals_header =
    "# written by CRYSTALS\ndata_test\nloop_\n_refln_index_h\n_refln_index_k\n_refln_index_l\n"
    "_refln_F_squared_meas\n_refln_F_squared_calc\n_refln_F_squared_sigma\n_refln_observed_status\n"
    "_refln_refinement_weight\n";

std::string shelx_line(int h, int k, int l, double fc, double fo, double sigma, char status = 'o') {
    return format_i(h, 4) + format_i(k, 4) + format_i(l, 4) + format_f(fc, 14, 2) + format_f(fo, 14, 2) +
           format_f(sigma, 13, 2) + " " + status;
}

std::string crystals_line(int h, int k, int l, double fo, double fc, double sigma, char status = 'o') {
    return format_i(h, 4) + format_i(k, 4) + format_i(l, 4) + format_f(fo, 12, 2) + format_f(fc, 12, 2) +
           format_f(sigma, 12, 2) + " " + status + "   0.001000";
}

std::string failure_of(const std::function<void()>& step) {
    try {
        step();
    } catch (const InputFailure& failure) {
        return borq::failure_report(failure);
    }
    return "<no failure>";
}

TEST(LayoutDetection, FirstLineNamingAProgramDecides) {
    std::int32_t result = 0;
    borq::find_string("# written by shelxl-2018", result);
    EXPECT_EQ(result, 1);
    result = 0;
    borq::find_string("   CRYSTALS, not SHELX", result);
    EXPECT_EQ(result, 2);
    result = 7;
    borq::find_string("no program named here", result);
    EXPECT_EQ(result, 7);
    // A word starting in column 238 of a longer line lies beyond column 240.
    result = 0;
    borq::find_string(std::string(237, 'x') + "SHELXL", result);
    EXPECT_EQ(result, 0);
    // Leading blanks are removed first, which brings the word into range.
    borq::find_string(std::string(237, ' ') + "SHELXL", result);
    EXPECT_EQ(result, 1);

    std::string text = "abc-xyz{";
    borq::toupper(text, 5);
    EXPECT_EQ(text, "ABC-Xyz{");
    borq::toupper(text, -3);
    EXPECT_EQ(text, "ABC-Xyz{");

    ScratchDir scratch("layout");
    const CompoundCode code("t");
    const auto detect = [&](const std::string& file, bool expect_shelx, const std::string& expect_print) {
        scratch.write("t.fcf", file);
        std::ostringstream out;
        bool shelx = !expect_shelx;
        borq::sx_or_cry(code, shelx, out);
        EXPECT_EQ(shelx, expect_shelx) << file;
        EXPECT_EQ(out.str(), expect_print) << file;
    };
    detect("#\n# Shelxl\r\n", true, "SHELX format files\n");
    detect("# CRYSTALS then SHELX\n", false, "CRYSTALS format files\n");
    detect("nothing here\n", false, "");
    detect("", false, "");
}

TEST(ReflectionReader, ShelxFieldsFollowFormattedInputRules) {
    ScratchDir scratch("shelx_fields");
    std::string lines = shelx_header;
    lines += shelx_line(1, 2, 3, 234.56, 1200.00, 15.00) + "\n";        // the plain case
    lines += shelx_line(1, 2, 3, 234.56, 1200.00, 15.00, 'x') + "\n";   // omitted
    lines += shelx_line(1, 2, 3, 234.56, 1200.00, 15.00).substr(0, 53) + "\n";  // no status column
    lines += "   4 1 2  -5" + std::string(14, ' ') + std::string(9, ' ') + "12345" + std::string(13, ' ') + " o\n";
    lines += "\n" + shelx_line(9, 9, 9, 1, 1, 1) + "\n";                 // after the blank line: never read
    scratch.write("t.fcf", lines);

    const CompoundCode code("t");
    EXPECT_EQ(borq::count_reflections(code, true), 4);
    HklInfo hkl;
    FsqData fsq;
    borq::read_data_shelx(code, 4, hkl, fsq);
    ASSERT_EQ(hkl.size(), 5u);
    EXPECT_EQ(hkl[1].h, 1);
    EXPECT_EQ(hkl[1].k, 2);
    EXPECT_EQ(hkl[1].l, 3);
    EXPECT_EQ(hkl[1].asu_key, 0);
    EXPECT_EQ(hkl[1].partner, 0);
    EXPECT_EQ(hkl[1].omitted, 0);
    EXPECT_EQ(fsq[1].fo2, 1200.0f);
    EXPECT_EQ(fsq[1].sigma_fo2, 15.0f);
    EXPECT_EQ(fsq[1].fc2, 234.56f);
    EXPECT_EQ(hkl[2].omitted, 1);
    EXPECT_EQ(hkl[3].omitted, 1);
    // "4 1" in an I4 field reads 41; "12345" without a point reads 123.45;
    // a blank field reads 0.
    EXPECT_EQ(hkl[4].h, 4);
    EXPECT_EQ(hkl[4].k, 12);
    EXPECT_EQ(hkl[4].l, -5);
    EXPECT_EQ(fsq[4].fo2, 123.45f);
    EXPECT_EQ(fsq[4].fc2, 0.0f);
    EXPECT_EQ(fsq[4].sigma_fo2, 0.0f);
}

// The reader takes plain fixed-point fields by a quick route; every field
// must read to the same float as the general field reader gives, including
// values near 2^24 in their digits, negative zero, signs, blanks inside the
// field, implied decimals and exponents (which take the general route).
TEST(ReflectionReader, EveryFieldReadsAsTheGeneralFieldReaderReadsIt) {
    std::mt19937 random(20261206);
    std::vector<std::string> fields = {"          -0.00", "     +12.5", "  1 2.5", "   16777.215", "  167772.15",
                                       "  167772.16", "      1.5E3", "        12345", "    .5", "  5.", "  -.25",
                                       "  0.0000000001", "  1.00000000001", "  99999999.99"};
    for (int n = 0; n < 3000; ++n) {
        const int decimals = static_cast<int>(random() % 6);
        const double magnitude = std::pow(10.0, static_cast<double>(random() % 90) / 10.0 - 1.0);
        const double value = (random() % 4 == 0 ? -1.0 : 1.0) * magnitude * (random() % 1000) / 999.0;
        const std::string field = format_f(value, 13, decimals);
        if (field.find('*') == std::string::npos) fields.push_back(field);
    }
    ScratchDir scratch("plain_fields");
    std::string lines = shelx_header;
    for (const std::string& field : fields) {
        const std::string column = std::string(13 - std::min<std::size_t>(13, field.size()), ' ') + field.substr(0, 13);
        lines += "   1   2   3" + std::string(14, ' ') + " " + column + std::string(13, ' ') + " o\n";
    }
    scratch.write("t.fcf", lines);
    const auto n_refl = static_cast<std::int32_t>(fields.size());
    HklInfo hkl;
    FsqData fsq;
    ASSERT_EQ(failure_of([&] { borq::read_data_shelx(CompoundCode("t"), n_refl, hkl, fsq); }), "<no failure>");
    for (std::int32_t i = 1; i <= n_refl; ++i) {
        const std::string column = std::string(13 - std::min<std::size_t>(13, fields[i - 1].size()), ' ') +
                                   fields[i - 1].substr(0, 13);
        float expected = -1.0f;
        ASSERT_TRUE(vorn_string_utilities::read_f_field(" " + column, 2, expected)) << "\"" << column << "\"";
        EXPECT_EQ(std::bit_cast<std::uint32_t>(fsq[static_cast<std::size_t>(i)].fo2),
                  std::bit_cast<std::uint32_t>(expected))
            << "Fo2 field \"" << column << "\" read " << fsq[static_cast<std::size_t>(i)].fo2 << ", expected "
            << expected;
    }
}

TEST(ReflectionReader, CrystalsColumnsCrlfAndTrailingComments) {
    ScratchDir scratch("crystals_fields");
    std::string lines;
    for (char c : crystals_header) lines += c == '\n' ? std::string("\r\n") : std::string(1, c);
    lines += crystals_line(1, 2, 3, 1200.00, 234.56, 15.00) + "\r\n";
    lines += crystals_line(-1, -2, -3, 1100.00, 230.00, 14.00, 'x') + "\r\n";
    lines += "#\r\n# comment lines written after the reflections\r\n#\r\n";
    scratch.write("t.fcf", lines);

    const CompoundCode code("t");
    EXPECT_EQ(borq::count_reflections(code, false), 2);
    HklInfo hkl;
    FsqData fsq;
    borq::read_data_cry(code, 2, hkl, fsq);
    EXPECT_EQ(fsq[1].fo2, 1200.0f);
    EXPECT_EQ(fsq[1].fc2, 234.56f);
    EXPECT_EQ(fsq[1].sigma_fo2, 15.0f);
    EXPECT_EQ(hkl[1].omitted, 0);
    EXPECT_EQ(hkl[2].h, -1);
    EXPECT_EQ(hkl[2].omitted, 1);

    // Reflection lines to the end of the file, no blank line: all counted.
    scratch.write("u.fcf", crystals_header + crystals_line(1, 0, 0, 5, 5, 1) + "\n" + crystals_line(2, 0, 0, 5, 5, 1));
    EXPECT_EQ(borq::count_reflections(CompoundCode("u"), false), 2);
    // An empty reflection list.
    scratch.write("v.fcf", shelx_header + "\n");
    EXPECT_EQ(borq::count_reflections(CompoundCode("v"), true), 0);
    borq::read_data_shelx(CompoundCode("v"), 0, hkl, fsq);
    EXPECT_EQ(hkl.size(), 1u);
}

TEST(ReflectionReader, FailedInputNamesWhereReadingFailed) {
    ScratchDir scratch("failures");
    // A marker indented differently is not the header line.
    scratch.write("m.fcf", "_refln_observed_status\n" + shelx_line(1, 2, 3, 1, 1, 1) + "\n");
    EXPECT_EQ(failure_of([] { borq::count_reflections(CompoundCode("m"), true); }),
              "borq: failed input while reading m.fcf: end of file before the header line beginning with "
              "\" _refln_observed_status\"");
    EXPECT_NE(failure_of([] { borq::count_reflections(CompoundCode("m"), false); }).find("_refln_refinement_weight"),
              std::string::npos);

    // A letter in an intensity field, on the 12th line of the file.
    std::string bad = shelx_line(1, 2, 3, 234.56, 1200.00, 15.00);
    bad[30] = 'x';
    scratch.write("b.fcf", shelx_header + shelx_line(1, 1, 1, 1, 1, 1) + "\n" + bad + "\n");
    HklInfo hkl;
    FsqData fsq;
    EXPECT_EQ(failure_of([&] { borq::read_data_shelx(CompoundCode("b"), 2, hkl, fsq); }),
              "borq: failed input while reading b.fcf, line 12: bad value in columns 27-40 (Fo2): \"    x  1200.00\"");
    std::string bad_index = shelx_line(1, 2, 3, 1, 1, 1);
    bad_index[6] = 'k';
    scratch.write("i.fcf", shelx_header + bad_index + "\n");
    EXPECT_NE(failure_of([&] { borq::read_data_shelx(CompoundCode("i"), 1, hkl, fsq); }).find("columns 5-8 (k)"),
              std::string::npos);

    // Fewer lines at the second reading than counted.
    scratch.write("s.fcf", shelx_header + shelx_line(1, 1, 1, 1, 1, 1) + "\n");
    EXPECT_EQ(failure_of([&] { borq::read_data_shelx(CompoundCode("s"), 3, hkl, fsq); }),
              "borq: failed input while reading s.fcf, line 12: end of file after 1 of 3 reflection lines");

    // A missing file.
    EXPECT_EQ(failure_of([] { borq::count_reflections(CompoundCode("absent"), true); }),
              "borq: failed input while opening absent.fcf for reading: No such file or directory");
}

TEST(CommandLine, ArgumentsJoinedAndCutTo80Characters) {
    char prog[] = "borq", a[] = "ab", b[] = "cd";
    char* two[] = {prog, a, b};
    EXPECT_EQ(borq::code_name(borq::command_code(3, two)), "ab cd");
    char* none[] = {prog};
    EXPECT_EQ(borq::code_name(borq::command_code(1, none)), "");
    std::string long_arg(70, 'x');
    std::string other = "  0123456789abcdef  ";
    char* cut[] = {prog, long_arg.data(), other.data()};
    const CompoundCode code = borq::command_code(3, cut);
    EXPECT_EQ(std::string(code.view()), long_arg + "   0123456");
    char* padded[] = {prog, other.data()};
    EXPECT_EQ(borq::code_name(borq::command_code(2, padded)), "0123456789abcdef");
}

TEST(ProgramRun, FailedInputEndsWithStatus2AndAReportOnStandardError) {
    ScratchDir scratch("program_failures");
    EXPECT_EQ(run_program(scratch, "absent", ""), 2);
    EXPECT_EQ(read_file(scratch.path() / "stderr.txt"),
              "borq: failed input while opening absent.fcf for reading: No such file or directory\n");
    const std::string before = read_file(scratch.path() / "stdout.txt");
    EXPECT_NE(before.find("Compound code: absent\n"), std::string::npos);

    scratch.write("nomark.fcf", "SHELX without its header\n");
    EXPECT_EQ(run_program(scratch, "nomark", ""), 2);
    EXPECT_NE(read_file(scratch.path() / "stderr.txt").find("\" _refln_observed_status\""), std::string::npos);
    EXPECT_NE(read_file(scratch.path() / "stdout.txt").find("SHELX format files\n"), std::string::npos);

    std::string bad = shelx_line(1, 2, 3, 234.56, 1200.00, 15.00);
    bad[45] = '?';
    scratch.write("bad.fcf", "# SHELXL\n" + shelx_header + bad + "\n");
    EXPECT_EQ(run_program(scratch, "bad", "P 21 21 21\n"), 2);
    EXPECT_EQ(read_file(scratch.path() / "stderr.txt"),
              "borq: failed input while reading bad.fcf, line 12: bad value in columns 41-53 (sigma(Fo2)): "
              "\"     ?  15.00\"\n");
}

}  // namespace
