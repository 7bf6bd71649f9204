// The statistics of a whole run on small reflection files: an empty
// reflection list, and lists too short for a fit, report their counts, print
// the notice instead of the fit lines and write tables with a header only.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "support/hand_built_groups.hpp"

namespace {

using borq_test::read_file;
using borq_test::ScratchDir;

const std::string header = "#\n loop_\n _refln_observed_status\n";
const std::string notice = std::string(borq::too_few_data_notice) + "\n";
const std::string quotient_hints =
    "Quotient data suitable for a spreadsheet are written to Quotients.dat.\n"
    "Plot Qobs on the vertical axis and Qsingle on the horizonal axis for a Q-plot.\n"
    "Plot Observed deviates on the vertical axis and expected deviates on the\n"
    "horizontal axis for a normal probability plot.\n\n";
const std::string difference_hints =
    "Difference data suitable for a spreadsheet are written to Differences.dat.\n"
    "Plot Dobs on the vertical axis and Dsingle on the horizonal axis for a D-plot.\n"
    "Plot Observed deviates on the vertical axis and expected deviates on the\n"
    "horizontal axis for a normal probability plot.\n\n";

std::string run(const std::string& fcf, std::int32_t expected_count) {
    ScratchDir scratch("run");
    scratch.write("t.fcf", fcf);
    const borq::CompoundCode code("t");
    const std::int32_t n_refl = borq::count_reflections(code, true);
    EXPECT_EQ(n_refl, expected_count);
    std::ostringstream out;
    borq::run_statistics(code, true, n_refl, *hand_built::p212121(), out);
    EXPECT_FALSE(std::filesystem::exists("missing_A.dat"));
    EXPECT_EQ(read_file("Quotients.dat"), "   h   k   l   Qsingle   Qobs      sQobs     |Q|/sQ    expDev    obsDev\n");
    EXPECT_EQ(read_file("Differences.dat"), "   h   k   l   Dsingle   Dobs      sDobs     |D|/sQ    expDev    obsDev\n");
    return out.str();
}

TEST(StatisticsRun, EmptyReflectionList) {
    EXPECT_EQ(run(header + "\n", 0),
              "\nINFORMATION ON OUTLIERS:\n"
              "Max. allowed difference   =     0.00\n"
              "\nCOVERAGE STATISTICS:\n"
              "Number of reflections in hkl file                       =        0\n"
              "Number of centric  data                                 =        0\n"
              "Number of paired acentric data (excl outliers)          =        0\n"
              "Number of unpaired acentric data                        =        0\n"
              "Number of outlying pairs                                =        0\n"
              "\n"
              "\nSUMMARY DATA FOR QUOTIENT CALCULATION:\n"
              "Number of quotient data to be used in calculations      =        0\n"
              "Number of quotients rejected by I/sigma criterion       =        0\n"
              "Number rejected because 2Aobs or single ~ 0 (expect 0)  =        0\n"
              "Number omitted from refinement                          =        0\n" +
                  notice + quotient_hints +
                  "\nSUMMARY DATA FOR DIFFERENCE CALCULATION:\n"
                  "Number of difference data to be used in calculations    =        0\n"
                  "Number of difference rejected by I/sigma criterion      =        0\n"
                  "Number omitted from refinement                          =        0\n" +
                  notice + difference_hints);
}

TEST(StatisticsRun, OnePairIsTooFewForAFit) {
    const std::string report = run(header +
                                       "   1   2   3        100.00        110.00         5.00 o\n"
                                       "  -1  -2  -3         95.00        105.00         5.00 o\n"
                                       "   2   0   0         50.00         52.00         3.00 o\n",
                                   3);
    EXPECT_NE(report.find("Number of quotient data to be used in calculations      =        1\n" +
                          std::string("Number of quotients rejected by I/sigma criterion       =        0\n") +
                          "Number rejected because 2Aobs or single ~ 0 (expect 0)  =        0\n" +
                          "Number omitted from refinement                          =        0\n" + notice +
                          quotient_hints),
              std::string::npos)
        << report;
    EXPECT_NE(report.find("Number omitted from refinement                          =        0\n" + notice +
                          difference_hints),
              std::string::npos)
        << report;
    EXPECT_EQ(report.find("nan"), std::string::npos);
}

}  // namespace
