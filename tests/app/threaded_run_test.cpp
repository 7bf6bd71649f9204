// A run long enough for every step to share its rows among threads gives the
// report and the tables of the one-thread run byte for byte, and a malformed
// line deep in the file is reported as the one-thread run reports it: the
// first one in the file.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"

namespace {

using borq_test::read_file;
using borq_test::ScratchDir;
using vorn_string_utilities::format_f;
using vorn_string_utilities::format_i;

// P 21 21 21 data: each reflection h k l with l > 0 and its opposite, about
// 67,000 lines; one in 997 left out of the refinement.
std::string fcf() {
    std::string text = "# SHELXL\ndata_big\n_shelx_refln_list_code 4\nloop_\n _refln_index_h\n _refln_index_k\n"
                       " _refln_index_l\n _refln_F_squared_calc\n _refln_F_squared_meas\n _refln_F_squared_sigma\n"
                       " _refln_observed_status\n";
    int line = 0;
    for (int h = 0; h <= 40; ++h)
        for (int k = 0; k <= 40; ++k)
            for (int l = 1; l <= 20; ++l)
                for (const int sign : {1, -1}) {
                    const double base = 300.0 + 250.0 * std::sin(0.37 * h + 0.23 * k * k + 0.71 * l);
                    const double fc = base * (1.0 + sign * 0.03 * std::sin(1.3 * h - 0.7 * k + 0.4 * l));
                    const double fo = fc + 9.0 * std::cos(0.11 * ++line);
                    text += format_i(sign * h, 4) + format_i(sign * k, 4) + format_i(sign * l, 4) + format_f(fc, 14, 2) +
                            format_f(fo, 14, 2) + format_f(std::sqrt(std::fabs(fc)) + 2.0, 13, 2) + " " +
                            (line % 997 == 0 ? "x" : "o") + "\n";
                }
    return text + "\n";
}

// The report and the three tables of a run with at most `threads` threads.
std::string run_with(std::int32_t threads) {
    const std::int32_t usual = borq::most_threads;
    borq::most_threads = threads;
    const borq::CompoundCode code("big");
    std::ostringstream out;
    std::istringstream no_answer;
    std::int32_t n_refl = 0;
    const auto group = std::make_unique<borq::SpaceGroup>();
    borq::find_info_shelx(code, n_refl, *group, out, no_answer);
    borq::run_statistics(code, true, n_refl, *group, out);
    borq::most_threads = usual;
    return out.str() + read_file("Quotients.dat") + read_file("Differences.dat");
}

// The failure a run with at most `threads` threads reports.
std::string failure_with(std::int32_t threads) {
    const std::int32_t usual = borq::most_threads;
    std::string reported = "none";
    try {
        run_with(threads);
    } catch (const borq::InputFailure& failure) {
        reported = borq::failure_report(failure);
    }
    borq::most_threads = usual;
    return reported;
}

void write(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

}  // namespace

TEST(ThreadedRun, SameReportAndTablesAsOneThread) {
    ScratchDir dir("threaded_run");
    write("big.cif", "data_big\n_space_group_name_H-M_alt 'P 21 21 21'\n");
    const std::string data = fcf();
    write("big.fcf", data);
    const std::string one = run_with(1);
    ASSERT_NE(one.find("Number of reflections in hkl file                       =    67240"), std::string::npos) << one.substr(0, 2000);
    EXPECT_EQ(run_with(4), one);
    EXPECT_EQ(run_with(8), one);

    // Malformed values in lines 45,011 and then 40,011, in one batch of lines but in
    // different slices (header 11 lines): the earlier is reported.
    struct Case { std::size_t line; const char* expected; };
    const Case cases[] = {
        {45011, "borq: failed input while reading big.fcf, line 45011: bad value in columns 27-40 (Fo2): \"    12#4567.00\""},
        {40011, "borq: failed input while reading big.fcf, line 40011: bad value in columns 27-40 (Fo2): \"    12#4567.00\""},
    };
    std::string broken = data;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::size_t at = 0;
        for (std::size_t l = 1; l < c.line; ++l) at = broken.find('\n', at) + 1;
        broken.replace(at + 26, 14, "    12#4567.00");
        write("big.fcf", broken);
        EXPECT_EQ(failure_with(1), c.expected);
        EXPECT_EQ(failure_with(4), c.expected);
        EXPECT_EQ(failure_with(8), c.expected);
    }
}
