// Real refinements through the built program: sh2185_cu (P 21 21 21) and
// p31c (P 3 1 c) in the SHELX LIST 4 layout, sh2185_cu again in the CRYSTALS
// layout.  The reports are pinned from the space-group line on (the labels
// and hints are those of the example's report) and both layouts give
// identical statistics.  The quotients used plus the outlying pairs are the
// pairs passing the I/sigma tests before outlier rejection: 1435 + 22 = 1457
// as the refinement program counted, and for p31c 2271 + 6 = 2277 (2300 by
// the refinement, whose rebuilt uncertainties differ slightly).
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"

namespace {

using borq_test::read_file;
using borq_test::ScratchDir;
using vorn_string_utilities::format_f;
using vorn_string_utilities::format_i;

// The outlier lines (h k l Obs Calc) and the text after "=" of each line
// that has one, in order, separated by "|".
struct Pinned { const char *folder, *group, *outliers, *values; };
const Pinned pinned[] = {
    {"sh2185_cu", "P 21 21 21",
     "-1 -2 -1 139.29 14.98  3 3 1 43.43 0.70  2 6 1 31.34 1.73  -1 -7 -1 35.04 0.77  2 2 2 57.49 4.30  1 4 2 55.52 3.95 "
     "-1 -1 -3 213.70 4.98  -1 -3 -3 30.20 0.86  2 4 3 30.25 2.50  -1 -1 -4 163.59 9.87  -1 -2 -4 359.77 1.75 "
     "1 3 4 54.01 4.30  2 3 4 30.13 5.33  -1 -5 -4 31.29 2.30  1 1 5 101.53 7.22  2 4 5 72.68 4.02  -3 -3 -6 34.33 8.17 "
     "-2 -1 -7 46.98 7.96  -3 -1 -8 65.04 3.13  -2 -7 -8 31.81 2.83  -2 -3 -9 30.31 0.59  -3 -4 -13 41.23 0.73",
     "    29.96|     3667|      566|     2994|       63|       22|     1435|       62|        0|        0|"
     "  -0.02(8)  <--- x(Q)|  -0.0204|   0.0835|   0.8855|   0.1219|   0.9397|  -0.0074|   0.9985|     1497|        0|"
     "        0|  -0.02(8)  <--- x(D)|  -0.0194|   0.0820|   0.8621|   0.1232|   0.9271|  -0.0088|   0.9985"},
    {"p31c", "P 3 1 c",
     "3 3 -12 1226.65 120.40  -2 -2 6 1474.80 94.51  3 3 0 2067.51 58.19  0 0 -6 1507.84 599.69  0 0 10 1915.63 263.71 "
     "0 0 12 7884.87 488.88",
     "  1199.38|     5353|       14|     5326|        1|        6|     2271|      391|        0|        1|"
     "  -0.01(3)  <--- x(Q)|  -0.0083|   0.0292|   0.8995|   0.2268|   0.9479|  -0.0245|   0.9997|     2662|        0|"
     "        1|  -0.00(3)  <--- x(D)|  -0.0024|   0.0285|   0.9049|   0.2299|   0.9506|  -0.0198|   0.9995"}};

// The pinned report: the example's report from its space-group line on, with
// the group, the outlier lines and the values replaced.
std::string pinned_report(const Pinned& p) {
    const std::string example = read_file(std::string(BORQ_TEST_DATA) + "/ex19/expected/ex19.stdout");
    std::istringstream lines(example.substr(example.find("Space group is: "))), values(p.values), outliers(p.outliers);
    std::string report, line, value;
    while (std::getline(lines, line)) {
        if (line.starts_with("Outlier:")) continue;
        if (line.starts_with("Space group is: ")) line = "Space group is: " + std::string(p.group);
        else if (line.find('=') != std::string::npos && std::getline(values, value, '|')) line.replace(line.find('=') + 1, std::string::npos, value);
        report += line + "\n";
        int h, k, l;
        double obs, calc;
        while (line.starts_with("Max. allowed") && outliers >> h >> k >> l >> obs >> calc)
            report += "Outlier: " + format_i(h, 4) + format_i(k, 4) + format_i(l, 4) + " Obs = " + format_f(obs, 8, 2) +
                      " Calc = " + format_f(calc, 8, 2) + "\n";
    }
    return report;
}

// Runs borq on tests/data/real/<folder>, whose first line names `layout`;
// returns standard output from the space-group line on.
std::string run_real(const std::string& folder, const std::string& layout) {
    ScratchDir scratch("real_" + folder);
    for (const char* extension : {".fcf", ".cif"}) scratch.copy_fixture("real/" + folder + "/" + folder + extension);
    EXPECT_EQ(borq_test::run_program(scratch, folder, ""), 0) << folder;
    EXPECT_EQ(read_file(scratch.path() / "stderr.txt"), "") << folder;
    const std::string report = read_file(scratch.path() / "stdout.txt");
    EXPECT_NE(report.find("\n" + layout + " format files\nFinding space group in cif...\n"), std::string::npos) << folder;
    return report.substr(std::min(report.find("Space group is: "), report.size()));
}

TEST(RealData, ReportsArePinnedAndBothLayoutsAgree) {
    for (const auto& [folder, layout, p] : {std::tuple{"sh2185_cu", "SHELX", 0}, {"p31c", "SHELX", 1}, {"sh2185_cu_crystals", "CRYSTALS", 0}})
        EXPECT_EQ(run_real(folder, layout), pinned_report(pinned[p])) << folder;
}

}  // namespace
