// Real refinement data through the built program: two structures in the
// SHELX LIST 4 layout (P 21 21 21 and P 3 1 c) and one of them again in the
// CRYSTALS layout.  Every run ends normally, both layouts give the same
// statistics, the pairs that pass the four I/sigma tests before outlier
// rejection are those the refinement program counted for its quotients, and
// x(Q) and x(D) agree with the Flack x of the refinement within its standard
// uncertainty.  The report lines are pinned: the counts add up (centric +
// paired + unpaired + 2 x outlying = reflections; used + rejected + omitted
// = pairs) and x, sigma(x) and chi2 agree with a double-precision fit of the
// same pairs to the last digit printed, the float sums aside.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"

namespace {

using borq_test::read_file;
using borq_test::run_program;
using borq_test::ScratchDir;

const std::string sh2185_cu_report =
    "Space group is: P 21 21 21\n"
    "\n"
    "INFORMATION ON OUTLIERS:\n"
    "Max. allowed difference   =    29.96\n"
    "Outlier:   -1  -2  -1 Obs =   139.29 Calc =    14.98\n"
    "Outlier:    3   3   1 Obs =    43.43 Calc =     0.70\n"
    "Outlier:    2   6   1 Obs =    31.34 Calc =     1.73\n"
    "Outlier:   -1  -7  -1 Obs =    35.04 Calc =     0.77\n"
    "Outlier:    2   2   2 Obs =    57.49 Calc =     4.30\n"
    "Outlier:    1   4   2 Obs =    55.52 Calc =     3.95\n"
    "Outlier:   -1  -1  -3 Obs =   213.70 Calc =     4.98\n"
    "Outlier:   -1  -3  -3 Obs =    30.20 Calc =     0.86\n"
    "Outlier:    2   4   3 Obs =    30.25 Calc =     2.50\n"
    "Outlier:   -1  -1  -4 Obs =   163.59 Calc =     9.87\n"
    "Outlier:   -1  -2  -4 Obs =   359.77 Calc =     1.75\n"
    "Outlier:    1   3   4 Obs =    54.01 Calc =     4.30\n"
    "Outlier:    2   3   4 Obs =    30.13 Calc =     5.33\n"
    "Outlier:   -1  -5  -4 Obs =    31.29 Calc =     2.30\n"
    "Outlier:    1   1   5 Obs =   101.53 Calc =     7.22\n"
    "Outlier:    2   4   5 Obs =    72.68 Calc =     4.02\n"
    "Outlier:   -3  -3  -6 Obs =    34.33 Calc =     8.17\n"
    "Outlier:   -2  -1  -7 Obs =    46.98 Calc =     7.96\n"
    "Outlier:   -3  -1  -8 Obs =    65.04 Calc =     3.13\n"
    "Outlier:   -2  -7  -8 Obs =    31.81 Calc =     2.83\n"
    "Outlier:   -2  -3  -9 Obs =    30.31 Calc =     0.59\n"
    "Outlier:   -3  -4 -13 Obs =    41.23 Calc =     0.73\n"
    "\n"
    "COVERAGE STATISTICS:\n"
    "Number of reflections in hkl file                       =     3667\n"
    "Number of centric  data                                 =      566\n"
    "Number of paired acentric data (excl outliers)          =     2994\n"
    "Number of unpaired acentric data                        =       63\n"
    "Number of outlying pairs                                =       22\n"
    "Acentric reflections with missing partners are in missing_A.dat.\n"
    "\n"
    "\n"
    "SUMMARY DATA FOR QUOTIENT CALCULATION:\n"
    "Number of quotient data to be used in calculations      =     1435\n"
    "Number of quotients rejected by I/sigma criterion       =       62\n"
    "Number rejected because 2Aobs or single ~ 0 (expect 0)  =        0\n"
    "Number omitted from refinement                          =        0\n"
    "Flack parameter (and e.s.d.)                            =  -0.02(8)  <--- x(Q)\n"
    "Value of x with more precision                          =  -0.0204\n"
    "E.S.D. with more precision                              =   0.0835\n"
    "Chi2 for linear fit of Qobs v Qsingle to calculate x    =   0.8855\n"
    "Pearson correlation coefficient for Qobs and Qsingle    =   0.1219\n"
    "Normal probability plot gradient                        =   0.9397\n"
    "Normal probability plot intercept                       =  -0.0074\n"
    "Normal probability plot Pearson correlation coefficient =   0.9985\n"
    "Quotient data suitable for a spreadsheet are written to Quotients.dat.\n"
    "Plot Qobs on the vertical axis and Qsingle on the horizonal axis for a Q-plot.\n"
    "Plot Observed deviates on the vertical axis and expected deviates on the\n"
    "horizontal axis for a normal probability plot.\n"
    "\n"
    "\n"
    "SUMMARY DATA FOR DIFFERENCE CALCULATION:\n"
    "Number of difference data to be used in calculations    =     1497\n"
    "Number of difference rejected by I/sigma criterion      =        0\n"
    "Number omitted from refinement                          =        0\n"
    "Flack parameter (and e.s.d.)                            =  -0.02(8)  <--- x(D)\n"
    "Value of x with more precision                          =  -0.0194\n"
    "E.S.D. with more precision                              =   0.0820\n"
    "Chi2 for linear fit of Dobs v Dsingle to calculate x    =   0.8621\n"
    "Pearson correlation coefficient for Dobs and Dsingle    =   0.1232\n"
    "Normal probability plot gradient                        =   0.9271\n"
    "Normal probability plot intercept                       =  -0.0088\n"
    "Normal probability plot Pearson correlation coefficient =   0.9985\n"
    "Difference data suitable for a spreadsheet are written to Differences.dat.\n"
    "Plot Dobs on the vertical axis and Dsingle on the horizonal axis for a D-plot.\n"
    "Plot Observed deviates on the vertical axis and expected deviates on the\n"
    "horizontal axis for a normal probability plot.\n"
    "\n"
    "Program ends.\n"
    "\n";

const std::string p31c_report =
    "Space group is: P 3 1 c\n"
    "\n"
    "INFORMATION ON OUTLIERS:\n"
    "Max. allowed difference   =  1199.38\n"
    "Outlier:    3   3 -12 Obs =  1226.65 Calc =   120.40\n"
    "Outlier:   -2  -2   6 Obs =  1474.80 Calc =    94.51\n"
    "Outlier:    3   3   0 Obs =  2067.51 Calc =    58.19\n"
    "Outlier:    0   0  -6 Obs =  1507.84 Calc =   599.69\n"
    "Outlier:    0   0  10 Obs =  1915.63 Calc =   263.71\n"
    "Outlier:    0   0  12 Obs =  7884.87 Calc =   488.88\n"
    "\n"
    "COVERAGE STATISTICS:\n"
    "Number of reflections in hkl file                       =     5353\n"
    "Number of centric  data                                 =       14\n"
    "Number of paired acentric data (excl outliers)          =     5326\n"
    "Number of unpaired acentric data                        =        1\n"
    "Number of outlying pairs                                =        6\n"
    "Acentric reflections with missing partners are in missing_A.dat.\n"
    "\n"
    "\n"
    "SUMMARY DATA FOR QUOTIENT CALCULATION:\n"
    "Number of quotient data to be used in calculations      =     2271\n"
    "Number of quotients rejected by I/sigma criterion       =      391\n"
    "Number rejected because 2Aobs or single ~ 0 (expect 0)  =        0\n"
    "Number omitted from refinement                          =        1\n"
    "Flack parameter (and e.s.d.)                            =  -0.01(3)  <--- x(Q)\n"
    "Value of x with more precision                          =  -0.0083\n"
    "E.S.D. with more precision                              =   0.0292\n"
    "Chi2 for linear fit of Qobs v Qsingle to calculate x    =   0.8995\n"
    "Pearson correlation coefficient for Qobs and Qsingle    =   0.2268\n"
    "Normal probability plot gradient                        =   0.9479\n"
    "Normal probability plot intercept                       =  -0.0245\n"
    "Normal probability plot Pearson correlation coefficient =   0.9997\n"
    "Quotient data suitable for a spreadsheet are written to Quotients.dat.\n"
    "Plot Qobs on the vertical axis and Qsingle on the horizonal axis for a Q-plot.\n"
    "Plot Observed deviates on the vertical axis and expected deviates on the\n"
    "horizontal axis for a normal probability plot.\n"
    "\n"
    "\n"
    "SUMMARY DATA FOR DIFFERENCE CALCULATION:\n"
    "Number of difference data to be used in calculations    =     2662\n"
    "Number of difference rejected by I/sigma criterion      =        0\n"
    "Number omitted from refinement                          =        1\n"
    "Flack parameter (and e.s.d.)                            =  -0.00(3)  <--- x(D)\n"
    "Value of x with more precision                          =  -0.0024\n"
    "E.S.D. with more precision                              =   0.0285\n"
    "Chi2 for linear fit of Dobs v Dsingle to calculate x    =   0.9049\n"
    "Pearson correlation coefficient for Dobs and Dsingle    =   0.2299\n"
    "Normal probability plot gradient                        =   0.9506\n"
    "Normal probability plot intercept                       =  -0.0198\n"
    "Normal probability plot Pearson correlation coefficient =   0.9995\n"
    "Difference data suitable for a spreadsheet are written to Differences.dat.\n"
    "Plot Dobs on the vertical axis and Dsingle on the horizonal axis for a D-plot.\n"
    "Plot Observed deviates on the vertical axis and expected deviates on the\n"
    "horizontal axis for a normal probability plot.\n"
    "\n"
    "Program ends.\n"
    "\n";

// Runs borq on tests/data/real/<folder> in a scratch copy; returns standard
// output.
std::string run_real(const std::string& folder) {
    ScratchDir scratch("real_" + folder);
    scratch.copy_fixture("real/" + folder + "/" + folder + ".fcf");
    scratch.copy_fixture("real/" + folder + "/" + folder + ".cif");
    EXPECT_EQ(run_program(scratch, folder, ""), 0) << folder;
    EXPECT_EQ(read_file(scratch.path() / "stderr.txt"), "") << folder;
    return read_file(scratch.path() / "stdout.txt");
}

// The report from the space-group line on.
std::string from_space_group(const std::string& report) {
    const std::size_t at = report.find("Space group is: ");
    return at == std::string::npos ? "<no space-group line>" : report.substr(at);
}

// The number printed after the label "<label> =" of the first line that
// begins with the label at or after `from`.
float value_after(const std::string& report, const std::string& label, std::size_t from = 0) {
    const std::size_t at = report.find("\n" + label, from);
    if (at == std::string::npos) return NAN;
    return std::stof(report.substr(report.find('=', at) + 1));
}

TEST(RealData, ShelxRunsArePinned) {
    EXPECT_EQ(from_space_group(run_real("sh2185_cu")), sh2185_cu_report);
    EXPECT_EQ(from_space_group(run_real("p31c")), p31c_report);
}

TEST(RealData, BothLayoutsGiveIdenticalStatistics) {
    const std::string shelx = run_real("sh2185_cu");
    const std::string crystals = run_real("sh2185_cu_crystals");
    EXPECT_NE(shelx.find("\nSHELX format files\n"), std::string::npos);
    EXPECT_NE(crystals.find("\nCRYSTALS format files\n"), std::string::npos);
    EXPECT_EQ(from_space_group(crystals), from_space_group(shelx));
}

// The pairs whose mates both have status "o" and pass Fo2/sigma > 3 and
// Fc2/sigma > 3, counted before outliers are rejected: the quotient list
// built straight after the Friedel search (no pair of these data is rejected
// as near zero).
std::int32_t pairs_passing_i_over_sigma(const std::string& folder) {
    ScratchDir scratch("real_count_" + folder);
    scratch.copy_fixture("real/" + folder + "/" + folder + ".fcf");
    scratch.copy_fixture("real/" + folder + "/" + folder + ".cif");
    const borq::CompoundCode code(folder);
    std::ostringstream out;
    std::istringstream no_input;
    borq::SpaceGroup group;
    std::int32_t n_refl = 0;
    borq::find_info_shelx(code, n_refl, group, out, no_input);
    borq::HklInfo hkl_info;
    borq::FsqData fsq_data;
    borq::read_data_shelx(code, n_refl, hkl_info, fsq_data);
    borq::pack_hkl(n_refl, group, hkl_info, fsq_data);
    borq::find_centric(n_refl, group, hkl_info);
    borq::find_friedels(n_refl, group, hkl_info);
    borq::PairValues values;
    borq::PairHkl indices;
    std::int32_t nq = 0;
    borq::make_q(n_refl, hkl_info, fsq_data, values, indices, nq, out);
    const std::string summary = out.str();
    EXPECT_EQ(value_after(summary, "Number rejected because 2Aobs or single ~ 0"), 0.0f) << summary;
    return nq;
}

TEST(RealData, QuotientCountOfTheRefinementProgram) {
    EXPECT_EQ(pairs_passing_i_over_sigma("sh2185_cu"), 1457);
    // The rebuilt uncertainties of p31c differ slightly from the refinement's.
    const std::int32_t p31c = pairs_passing_i_over_sigma("p31c");
    EXPECT_EQ(p31c, 2277);
    EXPECT_LE(std::abs(p31c - 2300), 2300 * 2 / 100);
}

TEST(RealData, FlackXAgreesWithTheRefinement) {
    struct Case {
        const char* folder;
        float x, su;  // _refine_ls_abs_structure_Flack of the CIF
    };
    for (const Case c : {Case{"sh2185_cu", -0.04f, 0.09f}, Case{"p31c", 0.01f, 0.03f}}) {
        SCOPED_TRACE(c.folder);
        const std::string report = run_real(c.folder);
        const std::size_t differences = report.find("SUMMARY DATA FOR DIFFERENCE");
        const float x_q = value_after(report, "Value of x with more precision");
        const float x_d = value_after(report, "Value of x with more precision", differences);
        EXPECT_LE(std::fabs(x_q - c.x), c.su) << x_q;
        EXPECT_LE(std::fabs(x_d - c.x), c.su) << x_d;
    }
}

}  // namespace
