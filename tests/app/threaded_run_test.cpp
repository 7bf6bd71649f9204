// A run long enough for every step to share its rows among threads gives the report and the tables
// of the one-thread run byte for byte, and of two malformed lines deep in the file, in different
// slices, reports the first one in the file as the one-thread run does.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"

using namespace vorn_string_utilities;

// The report and the tables of a run with at most `threads` threads, or the failure it reports.
static std::string run_with(std::int32_t threads) {
    const std::int32_t usual = std::exchange(borq::most_threads, threads);
    std::stringstream out, no_answer;
    std::int32_t n_refl = 0;
    const auto group = std::make_unique<borq::SpaceGroup>();
    try {
        borq::find_info_shelx("big", n_refl, *group, out, no_answer);
        borq::run_statistics("big", true, n_refl, *group, out);
        out << borq_test::read_file("Quotients.dat") << borq_test::read_file("Differences.dat");
    } catch (const borq::InputFailure& failure) { out.str(borq::failure_report(failure)); }
    borq::most_threads = usual;
    return out.str();
}

TEST(ThreadedRun, SameReportTablesAndFirstBadLineAsOneThread) {
    const borq_test::ScratchDir dir("threaded_run");
    dir.write("big.cif", "data_big\n_space_group_name_H-M_alt 'P 21 21 21'\n");
    // P 21 21 21 data: each h k l (0..40, 0..40, 1..20) and its opposite, 67,240 lines of 56 characters
    // after the 11 of the header; one in 997 left out of the refinement.
    std::string data = "# SHELXL\ndata_big\n_shelx_refln_list_code 4\nloop_\n _refln_index_h\n _refln_index_k\n _refln_index_l\n"
                       " _refln_F_squared_calc\n _refln_F_squared_meas\n _refln_F_squared_sigma\n _refln_observed_status\n";
    for (int line = 1; line <= 67240; ++line) {
        const int h = (line - 1) / 1640, k = (line - 1) / 40 % 41, l = (line - 1) / 2 % 20 + 1, sign = line % 2 ? 1 : -1;
        const double base = 300.0 + 250.0 * std::sin(0.37 * h + 0.23 * k * k + 0.71 * l);
        const double fc = base * (1.0 + sign * 0.03 * std::sin(1.3 * h - 0.7 * k + 0.4 * l)), fo = fc + 9.0 * std::cos(0.11 * line);
        data += format_i(sign * h, 4) + format_i(sign * k, 4) + format_i(sign * l, 4) + format_f(fc, 14, 2) + format_f(fo, 14, 2) +
                format_f(std::sqrt(std::fabs(fc)) + 2.0, 13, 2) + (line % 997 == 0 ? " x\n" : " o\n");
    }
    dir.write("big.fcf", data + "\n");  // a blank line ends the file
    const std::string one = run_with(1);
    ASSERT_NE(one.find("Number of reflections in hkl file                       =    67240"), std::string::npos) << one.substr(0, 2000);
    for (const std::int32_t threads : {4, 8}) EXPECT_TRUE(run_with(threads) == one) << threads << " threads";
    // Fo2 spoiled in line 45,011 (the header 11 lines), then also in 40,011: same batch of lines, other slices.
    for (const std::size_t line : {45011, 40011}) {
        dir.write("big.fcf", data.replace(data.size() - (67252 - line) * 56 + 26, 14, "    12#4567.00") + "\n");
        for (const std::int32_t threads : {1, 4, 8})
            EXPECT_EQ(run_with(threads), "borq: failed input while reading big.fcf, line " + std::to_string(line) +
                                             ": bad value in columns 27-40 (Fo2): \"    12#4567.00\"") << threads << " threads";
    }
}
