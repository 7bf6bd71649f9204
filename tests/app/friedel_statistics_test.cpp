// The quotient and difference lists, the Flack-parameter fit and the normal
// probability plot: the rejection rules, a worked list with a positive x, the
// identities of the weighted fit, the lists that cannot be fitted, and the
// regions of the inverse normal distribution.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/borq.hpp"
#include "text/fortran_format.hpp"

namespace {

using borq::PairValues;
using vorn_string_utilities::format_f;

struct Mate { float fo2, sigma, fc2; int omitted = 0; };

// Linked tables holding the pairs, mates in consecutive rows.
void pairs_table(const std::vector<std::pair<Mate, Mate>>& pairs, borq::HklInfo& hkl, borq::FsqData& fsq) {
    hkl.assign(2 * pairs.size() + 1, {});
    fsq.assign(2 * pairs.size() + 1, {});
    for (std::int32_t p = 0, i = 1; p < static_cast<std::int32_t>(pairs.size()); ++p, i += 2) {
        const auto& [a, b] = pairs[static_cast<std::size_t>(p)];
        hkl[i] = {p + 1, 0, 1, 0, i + 1, a.omitted};
        hkl[i + 1] = {-p - 1, 0, -1, 0, i, b.omitted};
        fsq[i] = {a.fo2, a.sigma, a.fc2};
        fsq[i + 1] = {b.fo2, b.sigma, b.fc2};
    }
}

// A list of rows (Ys, Yo, sigma), row 0 unused.
PairValues list_of(const std::vector<std::array<float, 3>>& rows) {
    PairValues values(rows.size() + 1);
    for (std::size_t k = 0; k < rows.size(); ++k) values[k + 1] = {rows[k][0], rows[k][1], rows[k][2], 0, 0, 0};
    return values;
}

std::string fit(PairValues& values, bool is_quotient, bool fitted = true) {
    std::ostringstream out;
    EXPECT_EQ(borq::ymx(static_cast<std::int32_t>(values.size()) - 1, values, is_quotient, out), fitted);
    return out.str();
}

TEST(FriedelLists, WorkedPairAndRejectionRules) {
    borq::HklInfo hkl;
    borq::FsqData fsq;
    PairValues values;
    borq::PairHkl indices;
    std::int32_t count = -1;
    std::ostringstream out;
    EXPECT_EQ(borq::quot_error(110, 5, 90, 5), borq::quot_error(90, 5, 110, 5));
    // Row by row: I/sigma exactly 3 (quotients reject), Fc2/sigma -99 and
    // -98.9 (differences reject and keep), 0/0, the near-zero sums, the
    // omitted mates, and a pair without any uncertainty.
    pairs_table({{{30, 10, 50}, {50, 10, 50}}, {{50, 10, -990}, {50, 10, 50}}, {{50, 10, -989}, {50, 10, 50}},
                 {{0, 0, 50}, {50, 10, 50}}, {{0.00004f, 0.00001f, 0.00004f}, {0.00004f, 0.00001f, 0.00004f}},
                 {{50, 10, 50, 1}, {60, 10, 50}}, {{50, 10, 50}, {60, 10, 50, 1}}, {{50, 10, 50, 1}, {60, 10, 50, 1}},
                 {{50, 0, 50}, {60, 0, 55}}},
                hkl, fsq);
    borq::make_q(18, hkl, fsq, values, indices, count, out);
    EXPECT_EQ(count, 0);
    borq::make_d(18, hkl, fsq, values, indices, count, out);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(out.str(),
              "\nSUMMARY DATA FOR QUOTIENT CALCULATION:\n"
              "Number of quotient data to be used in calculations      =        0\n"
              "Number of quotients rejected by I/sigma criterion       =        5\n"
              "Number rejected because 2Aobs or single ~ 0 (expect 0)  =        1\n"
              "Number omitted from refinement                          =        3\n"
              "\nSUMMARY DATA FOR DIFFERENCE CALCULATION:\n"
              "Number of difference data to be used in calculations    =        3\n"
              "Number of difference rejected by I/sigma criterion      =        3\n"
              "Number omitted from refinement                          =        3\n");
    EXPECT_TRUE(values[1].ratio >= values[2].ratio && values[2].ratio >= values[3].ratio);  // largest |D|/sigma first
}

// A positive x (one column later than a negative one).
TEST(FlackFit, WorkedListOfThreeRows) {
    PairValues values = list_of({{0.1f, 0.08f, 0.02f}, {-0.2f, -0.15f, 0.03f}, {0.05f, 0.06f, 0.02f}});
    EXPECT_EQ(fit(values, true),
              "Flack parameter (and e.s.d.)                            =   0.10(4)  <--- x(Q)\n"
              "Value of x with more precision                          =   0.0982\n"
              "E.S.D. with more precision                              =   0.0428\n"
              "Chi2 for linear fit of Qobs v Qsingle to calculate x    =   0.5550\n"
              "Pearson correlation coefficient for Qobs and Qsingle    =   0.9970\n");
}

// Reversing which mate is first flips Ys, Yo and the deviate and leaves x,
// its e.s.d. and chi2; chi2 is the sum of squared deviates over m - 1;
// Yo = Ys gives x = 0, Yo = -Ys x = 1 (the slope itself is checked against
// the ratio of averages with the alternative estimators).
TEST(FlackFit, IdentitiesOfTheWeightedFit) {
    const std::vector<std::array<float, 3>> rows{{0.031f, 0.042f, 0.011f}, {-0.052f, -0.037f, 0.013f},
                                                 {0.012f, 0.001f, 0.009f}, {-0.023f, -0.031f, 0.012f},
                                                 {0.044f, 0.051f, 0.015f}, {0.007f, -0.004f, 0.010f}};
    PairValues values = list_of(rows), flipped = list_of(rows), same = list_of(rows), opposite = list_of(rows);
    flipped[4].single = -flipped[4].single;
    flipped[4].obs = -flipped[4].obs;
    const std::string report = fit(values, true), flipped_report = fit(flipped, true);
    EXPECT_EQ(flipped_report.substr(0, flipped_report.find("Pearson")), report.substr(0, report.find("Pearson")));
    EXPECT_EQ(flipped[4].observed_deviate, -values[4].observed_deviate);
    float sum = 0.0f;
    for (std::size_t k = 1; k < values.size(); ++k) {
        sum += values[k].observed_deviate * values[k].observed_deviate;
        same[k].obs = same[k].single;
        opposite[k].obs = -opposite[k].single;
    }
    EXPECT_NE(report.find("to calculate x    = " + format_f(sum / 5.0f, 8, 4) + "\n"), std::string::npos) << report;
    EXPECT_NE(fit(same, false).find("Value of x with more precision                          =   0.0000\n"), std::string::npos);
    const std::string one = fit(opposite, false);
    EXPECT_NE(one.find("  <--- x(D)\nValue of x with more precision                          =   1.0000\n"), std::string::npos) << one;
    EXPECT_NE(one.find("Pearson correlation coefficient for Dobs and Dsingle    =  -1.0000\n"), std::string::npos) << one;
}

// One row, no row, every Ys zero: no fit; the plot needs two rows.
TEST(FlackFit, ListsThatCannotBeFittedGetTheNotice) {
    const std::string notice = std::string(borq::too_few_data_notice) + "\n";
    PairValues one = list_of({{0.1f, 0.08f, 0.02f}}), none = list_of({}), flat = list_of({{0, 0.08f, 0.02f}, {0, -0.01f, 0.03f}});
    EXPECT_EQ(fit(one, true, false) + fit(none, false, false) + fit(flat, true, false), notice + notice + notice);
    EXPECT_EQ(one[1].observed_deviate, 0.0f);
    std::ostringstream out;
    EXPECT_FALSE(borq::linearlsq(1, one, out));
    EXPECT_EQ(out.str(), notice);
}

TEST(NormalProbabilityPlot, InverseNormalRegions) {
    // 0.02425 itself takes the central formula, the float below it the lower
    // tail; in 32 bits the two differ in the fourth decimal.
    const std::tuple<float, int, std::string> cases[] = {
        {0.01f, 4, " -2.3263"}, {0.99f, 4, "  2.3263"}, {0.975f, 4, "  1.9599"}, {0.5f, 4, "  0.0000"},
        {0.25f, 4, " -0.6745"}, {0.75f, 4, "  0.6745"}, {1.0f / 12.0f, 5, "  -1.38299"}, {11.0f / 12.0f, 5, "   1.38300"},
        {0.02425f, 4, " -1.9729"}, {std::nextafter(0.02425f, 0.0f), 4, " -1.9730"}};
    for (const auto& [p, decimals, text] : cases) EXPECT_EQ(format_f(borq::invnorm(p), 2 * decimals, decimals), text) << p;
    EXPECT_EQ(borq::invnorm(0.5f), 0.0f);
    // Equal observed deviates still get the full spread of ranks.
    PairValues equal = list_of({{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
    borq::calc_exp_deviates(4, equal);
    std::vector<float> ranked;
    for (std::size_t k = 1; k <= 4; ++k) ranked.push_back(equal[k].expected_deviate);
    std::sort(ranked.begin(), ranked.end());
    EXPECT_EQ(ranked, (std::vector<float>{borq::invnorm(0.125f), borq::invnorm(0.375f), borq::invnorm(0.625f), borq::invnorm(0.875f)}));
}

}  // namespace
