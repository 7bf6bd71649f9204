// The cross-checks of x (gek2: ratio of weighted averages; gek1: weighted
// average of the per-pair values of x) and the reweighting of sigma(Fo2):
// values worked by hand, the agreement of the three estimates of x, and the
// lists that give no estimate.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"

namespace {

using borq::PairValues;
using borq_test::read_file;
using borq_test::ScratchDir;

struct Row {
    float single, obs, sigma;
};

// A list of rows 1..n (row 0 unused), as make_q or make_d leave it.
PairValues list_of(const std::vector<Row>& rows) {
    PairValues list(rows.size() + 1);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        list[k + 1].single = rows[k].single;
        list[k + 1].obs = rows[k].obs;
        list[k + 1].sigma_obs = rows[k].sigma;
    }
    return list;
}

// (Ys, Yo, sigma) worked by hand: the weighted slope is a = 0.80367, so
// x = 0.09817 with e.s.d. 0.04282; per pair x = 0.1, 0.125, -0.1 with
// weights 100, 177.78, 25, whose mean is again 0.09817 with internal e.s.d.
// 1/sqrt(302.78) = 0.05747.  The weights are 32-bit: 0.02f and 0.1f are not
// exact, s1 = 0.02f/(2 x 0.1f) rounds to 0.099999994 and w1 to 100.00002;
// likewise w2 = 177.77780.
const std::vector<Row> worked = {{0.1f, 0.08f, 0.02f}, {-0.2f, -0.15f, 0.03f}, {0.05f, 0.06f, 0.02f}};

std::string gek2_text(const std::vector<Row>& rows, bool is_quotient) {
    std::ostringstream out;
    borq::gek2(static_cast<std::int32_t>(rows.size()), list_of(rows), is_quotient, out);
    return out.str();
}

std::string gek1_text(const std::vector<Row>& rows, bool is_quotient) {
    std::ostringstream out;
    borq::gek1(static_cast<std::int32_t>(rows.size()), list_of(rows), is_quotient, out);
    return out.str();
}

// The number after "= " on the line that begins with `label`.
double value_after(const std::string& text, const std::string& label) {
    const std::size_t at = text.find("\n" + label);
    EXPECT_NE(at, std::string::npos) << "no line " << label << " in\n" << text;
    if (at == std::string::npos) return NAN;
    return std::stod(text.substr(at + 1 + label.size()));
}

TEST(Gek2, WorkedListInBothLabellings) {
    EXPECT_EQ(gek2_text(worked, true),
              "\n"
              "CHECK GEK2 QUOTIENT CALCULATION USING RATIO OF AVERAGES:\n"
              "Number of quotients used                                =        3\n"
              "Flack parameter (and e.s.d.)                            =   0.10(4)\n"
              "Value of x with more preci                              =   0.0982\n"
              "E.S.D. with more precision                              =   0.0428\n"
              "\n");
    // Yo = -Ys gives x = 1 up to rounding; the difference labels.
    EXPECT_EQ(gek2_text({{0.1f, -0.1f, 0.02f}, {-0.2f, 0.2f, 0.03f}, {0.05f, -0.05f, 0.02f}}, false),
              "\n"
              "CHECK GEK2 DIFFERENCE CALCULATION USING RATIO OF AVERAGES:\n"
              "Number of differences used                              =        3\n"
              "Flack parameter (and e.s.d.)                            =   1.00000\n"
              "Value of x with more preci                              =   1.0000\n"
              "E.S.D. with more precision                              =   0.0000\n"
              "\n");
    // A negative x starts one column earlier, with its sign: a = 93.056/75.694
    // = 1.22936, x = -0.11468, sigma(x) = sqrt(0.045872/(2 x 75.694))/2 = 0.0087.
    const std::string negative =
        gek2_text({{0.1f, 0.12f, 0.02f}, {-0.2f, -0.25f, 0.03f}, {0.05f, 0.06f, 0.02f}}, true);
    EXPECT_NE(negative.find("\nFlack parameter (and e.s.d.)                            =  -0.115(9)\n"
                            "Value of x with more preci                              =  -0.1147\n"
                            "E.S.D. with more precision                              =   0.0087\n"),
              std::string::npos)
        << negative;
}

TEST(Gek2, ZeroSigmaStopsTheRunBeforeAnyOtherOutput) {
    std::vector<Row> rows(7, Row{0.1f, 0.09f, 0.02f});
    rows[4].sigma = 0.0f;   // row 5
    rows[5].sigma = 0.0f;   // a later zero is not reached
    std::ostringstream out;
    try {
        borq::gek2(7, list_of(rows), true, out);
        ADD_FAILURE() << "gek2 went on with a zero sigma";
    } catch (const borq::InputFailure& failure) {
        EXPECT_NE(borq::failure_report(failure).find("zero sigma(Yobs) in row 5"), std::string::npos)
            << borq::failure_report(failure);
    }
    EXPECT_EQ(out.str(), "Check data: Zero sigma(Yobs) for #      5\n");

    // Below 1.0e-10 counts as zero; 1.0e-10 itself does not.
    rows = worked;
    rows[0].sigma = 0.99e-10f;
    EXPECT_THROW(gek2_text(rows, false), borq::InputFailure);
    rows[0].sigma = 1.0e-10f;
    EXPECT_NO_THROW(gek2_text(rows, false));
}

TEST(Gek2, ListsWithoutAnEstimateGetTheNotice) {
    const std::string notice = std::string(borq::gek_too_few_notice) + "\n\n";
    EXPECT_EQ(gek2_text({}, true),
              "\nCHECK GEK2 QUOTIENT CALCULATION USING RATIO OF AVERAGES:\n"
              "Number of quotients used                                =        0\n" +
                  notice);
    EXPECT_EQ(gek2_text({worked[0]}, false),
              "\nCHECK GEK2 DIFFERENCE CALCULATION USING RATIO OF AVERAGES:\n"
              "Number of differences used                              =        1\n" +
                  notice);
    // Every calculated value zero: the slope is 0/0.
    EXPECT_EQ(gek2_text({{0.0f, 0.1f, 0.02f}, {0.0f, -0.1f, 0.02f}}, true),
              "\nCHECK GEK2 QUOTIENT CALCULATION USING RATIO OF AVERAGES:\n"
              "Number of quotients used                                =        2\n" +
                  notice);
    // A row count beyond the table reads only the rows held.
    std::ostringstream out;
    borq::gek2(50, list_of(worked), true, out);
    EXPECT_NE(out.str().find("=        3\n"), std::string::npos) << out.str();
}

TEST(Gek1, WorkedListReportAndTable) {
    ScratchDir scratch("gek1_worked");
    const std::string header = "        x              sx               w            delta        sqrt(w)Del\n";
    EXPECT_EQ(gek1_text(worked, true),
              "\n"
              "CHECK GEK1 QUOTIENT CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):\n"
              "Number of extra omissions (small Qsingle)               =        0\n"
              "Number of quotients used                                =        3\n" +
                  std::string(borq::gek1_internal_heading) + "\n" +
                  "Flack parameter (and e.s.d.)                            =   0.10(6)\n"
                  "    Value of x with more precision                      =   0.0982\n"
                  "    E.S.D. with more precision                          =   0.0575\n" +
                  std::string(borq::gek1_external_heading) + "\n" +
                  "Flack parameter (and e.s.d.)                            =   0.10(4)\n"
                  "    Value of x                                          =   0.0982\n"
                  "    E.S.D.                                              =   0.0428\n"
                  "Data used in this calculation are written to gek1Q.dat.\n"
                  "\n");
    EXPECT_EQ(read_file("gek1Q.dat"), header +
                                          "        0.10000        0.10000      100.00002        0.00183        0.01835\n"
                                          "        0.12500        0.07500      177.77780        0.02683        0.35780\n"
                                          "       -0.10000        0.20000       25.00000       -0.19817       -0.99083\n");

    // Rows with Ys near zero or with a zero sigma are left out and counted;
    // the rest give the same estimate and the same table.  The differences
    // write their own file.
    std::vector<Row> rows = worked;
    rows.insert(rows.begin() + 1, Row{1.0e-10f, 0.3f, 0.02f});
    rows.push_back(Row{0.2f, 0.1f, 0.0f});
    rows.push_back(Row{-0.0f, 0.1f, 0.02f});
    const std::string text = gek1_text(rows, false);
    EXPECT_NE(text.find("\nCHECK GEK1 DIFFERENCE CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):\n"
                        "Number of extra omissions (small Dsingle)               =        3\n"
                        "Number of differences used                              =        3\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("    E.S.D.                                              =   0.0428\n"
                        "Data used in this calculation are written to gek1D.dat.\n\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(read_file("gek1D.dat"), read_file("gek1Q.dat"));
}

TEST(Gek1, OneOrNoUsableRow) {
    ScratchDir scratch("gek1_few");
    const std::string header = "        x              sx               w            delta        sqrt(w)Del\n";
    // One row: the internal e.s.d. exists, the external one does not.
    EXPECT_EQ(gek1_text({{0.2f, 0.1f, 0.04f}}, true),
              "\n"
              "CHECK GEK1 QUOTIENT CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):\n"
              "Number of extra omissions (small Qsingle)               =        0\n"
              "Number of quotients used                                =        1\n" +
                  std::string(borq::gek1_internal_heading) + "\n" +
                  "Flack parameter (and e.s.d.)                            =   0.25(10)\n"
                  "    Value of x with more precision                      =   0.2500\n"
                  "    E.S.D. with more precision                          =   0.1000\n" +
                  std::string(borq::gek1_external_heading) + "\n" + std::string(borq::gek1_no_external_notice) +
                  "\n"
                  "Data used in this calculation are written to gek1Q.dat.\n"
                  "\n");
    EXPECT_EQ(read_file("gek1Q.dat"),
              header + "        0.25000        0.10000      100.00002        0.00000        0.00000\n");
    // Every Ys zero: nothing is used, the table holds its header only.
    EXPECT_EQ(gek1_text({{0.0f, 0.1f, 0.02f}, {0.0f, 0.2f, 0.02f}}, true),
              "\n"
              "CHECK GEK1 QUOTIENT CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):\n"
              "Number of extra omissions (small Qsingle)               =        2\n"
              "Number of quotients used                                =        0\n" +
                  std::string(borq::gek_too_few_notice) +
                  "\n"
                  "Data used in this calculation are written to gek1Q.dat.\n"
                  "\n");
    EXPECT_EQ(read_file("gek1Q.dat"), header);
    EXPECT_EQ(gek1_text({}, false).find("nan"), std::string::npos);
    EXPECT_EQ(read_file("gek1D.dat"), header);
}

// Without omissions the average of ratios, weighted by 4 Ys^2/sigma^2, is
// the ratio of averages: gek1's mean and external e.s.d., gek2's x and
// e.s.d. and the fit of ymx agree, for either orientation of the pairs.
TEST(AlternativeEstimators, ThreeEstimatesOfXAgree) {
    ScratchDir scratch("gek_agree");
    std::vector<Row> rows;
    std::uint32_t seed = 12345u;
    const auto next = [&seed]() {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<float>(seed >> 8) / 16777216.0f;  // [0, 1)
    };
    for (int k = 0; k < 40; ++k) {
        const float single = (next() - 0.5f) * 0.4f;
        const float sigma = 0.01f + 0.03f * next();
        rows.push_back({single, 0.7f * single + (next() - 0.5f) * 2.0f * sigma, sigma});
    }
    for (int flip = 0; flip < 2; ++flip) {
        SCOPED_TRACE(flip == 0 ? "as built" : "every second pair reversed");
        if (flip == 1) {
            for (std::size_t k = 0; k < rows.size(); k += 2) {
                rows[k].single = -rows[k].single;
                rows[k].obs = -rows[k].obs;
            }
        }
        const std::string g2 = gek2_text(rows, true);
        const std::string g1 = gek1_text(rows, true);
        PairValues list = list_of(rows);
        std::ostringstream fit;
        ASSERT_TRUE(borq::ymx(40, list, true, fit));
        const std::string y = "\n" + fit.str();

        const double x = value_after(y, "Value of x with more precision                          = ");
        const double sigma_x = value_after(y, "E.S.D. with more precision                              = ");
        EXPECT_NEAR(x, 0.15, 0.05);
        EXPECT_NEAR(value_after(g2, "Value of x with more preci                              = "), x, 1.0e-4);
        EXPECT_NEAR(value_after(g2, "E.S.D. with more precision                              = "), sigma_x, 1.0e-4);
        EXPECT_NEAR(value_after(g1, "    Value of x                                          = "), x, 1.0e-4);
        EXPECT_NEAR(value_after(g1, "    E.S.D.                                              = "), sigma_x, 1.0e-4);
    }
}

TEST(Reweight, WeightingSchemeUncertainties) {
    // Row 0 is unused; rows beyond n_refl keep their uncertainty.
    borq::FsqData fsq = {{7.0f, 7.0f, 7.0f},
                         {100.0f, 2.0f, 90.0f},   // P = 93.333: sqrt(4 + 84.345 + 509.861) = 24.45827
                         {-5.0f, 1.5f, 3.0f},     // P = 2 from Fo2 taken as 0: sqrt(2.25 + 0.0387 + 10.9256)
                         {0.0f, 0.8f, 0.0f},      // P = 0: unchanged
                         {-50.0f, 3.0f, 0.0f},    // a strongly negative Fo2 would make the radicand negative
                         {0.0f, 1.25f, -10.0f},   // P would be negative: kept at 0
                         {100.0f, 2.0f, 90.0f}};  // beyond n_refl
    borq::reweight(5, fsq);
    EXPECT_EQ(fsq[0].sigma_fo2, 7.0f);
    EXPECT_NEAR(fsq[1].sigma_fo2, 24.458274f, 2.0e-5f);
    EXPECT_NEAR(fsq[2].sigma_fo2, 3.635152f, 2.0e-6f);
    EXPECT_EQ(fsq[3].sigma_fo2, 0.8f);
    EXPECT_EQ(fsq[4].sigma_fo2, 3.0f);
    EXPECT_EQ(fsq[5].sigma_fo2, 1.25f);
    EXPECT_EQ(fsq[6].sigma_fo2, 2.0f);
    // Fo2 and Fc2 are left as they were.
    EXPECT_EQ(fsq[2].fo2, -5.0f);
    EXPECT_EQ(fsq[2].fc2, 3.0f);
    // A count beyond the table touches only the rows held.
    borq::reweight(1000, fsq);
    EXPECT_NEAR(fsq[6].sigma_fo2, 24.458274f, 2.0e-5f);
    borq::FsqData empty;
    borq::reweight(3, empty);
    EXPECT_TRUE(empty.empty());
}

}  // namespace
