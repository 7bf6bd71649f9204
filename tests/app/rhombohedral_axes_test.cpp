// One synthetic R 3 data set run on hexagonal axes ("R 3") and re-indexed on
// rhombohedral axes ("R 3:R"): both runs pair the same Friedel opposites, so
// the counts, x, sigma(x) and chi2 agree line for line.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <sstream>

#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"

namespace {

using vorn_string_utilities::format_f;
using vorn_string_utilities::format_i;

// A SHELX LIST 4 file: of each class under the threefold axis and Friedel's
// law the greatest reflection h and its opposite -h; values depending on the
// hexagonal indices only, with an anomalous part odd in h.
std::string fcf(bool rhombohedral) {
    std::string text = "# SHELXL\nloop_\n _refln_index_h\n _refln_index_k\n _refln_index_l\n _refln_F_squared_calc\n"
                       " _refln_F_squared_meas\n _refln_F_squared_sigma\n _refln_observed_status\n";
    const auto greatest = [](int h, int k, int l) {
        const std::array<int, 3> x{h, k, l};
        for (const std::array<int, 3>& y : {std::array{k, -h - k, l}, std::array{-h - k, h, l}})
            if (y > x || std::array{-y[0], -y[1], -y[2]} > x) return false;
        return std::array{-h, -k, -l} < x;
    };
    for (int h = -3; h <= 3; ++h)
        for (int k = -3; k <= 3; ++k)
            for (int l = -5; l <= 5; ++l) {
                if ((-h + k + l) % 3 != 0 || !(greatest(h, k, l) || greatest(-h, -k, -l))) continue;
                const double base = 200 + 150 * std::sin(0.7 * (h * h + k * k + h * k) + 0.3 * l * l);
                const double fc = base * (1 + 0.04 * std::sin(1.3 * h - 0.9 * k + 0.5 * l)), fo = fc * (1 + 0.03 * std::sin(h + 2.0 * k + 5.0 * l));
                text += format_i(rhombohedral ? (2 * h + k + l) / 3 : h, 4) + format_i(rhombohedral ? (-h + k + l) / 3 : k, 4) +
                        format_i(rhombohedral ? (-h - 2 * k + l) / 3 : l, 4) + format_f(fc, 14, 2) + format_f(fo, 14, 2) +
                        format_f(3 + 0.02 * fo, 13, 2) + " o\n";
            }
    return text;
}

// The count, x, sigma(x) and chi2 lines of a run's report.
std::string statistics(const borq_test::ScratchDir& scratch, const std::string& code, const std::string& symbol) {
    EXPECT_EQ(borq_test::run_program(scratch, code, symbol + "\n"), 0);
    std::istringstream in(borq_test::read_file(scratch.path() / "stdout.txt"));
    std::string kept;
    for (std::string line; std::getline(in, line);)
        for (const char* start : {"Space group", "Number", "Flack", "Value of x", "E.S.D.", "Chi2"})
            if (line.find(start) != std::string::npos) kept += line.substr(line.find(start)) + "\n";
    return kept;
}

TEST(RhombohedralAxes, SameStatisticsOnBothAxes) {
    borq_test::ScratchDir scratch("rhombohedral");
    scratch.write("hex.fcf", fcf(false));
    scratch.write("rho.fcf", fcf(true));
    std::string hexagonal = statistics(scratch, "hex", "R 3"), rhombohedral = statistics(scratch, "rho", "R 3:R");
    EXPECT_NE(hexagonal.find("Number of paired acentric data (excl outliers)          =       46\n"), std::string::npos);
    EXPECT_EQ(rhombohedral.replace(0, 22, "Space group is: R 3\n"), hexagonal);
}

}  // namespace
