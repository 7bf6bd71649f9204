// The quotient and difference lists, the Flack-parameter fit, the normal
// probability plot and the tables: worked values, identities of the fit, the
// rejection rules and the lists that cannot be fitted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"

namespace {

using borq::FsqData;
using borq::HklInfo;
using borq::PairHkl;
using borq::PairValues;
using borq_test::read_file;
using borq_test::ScratchDir;
using vorn_string_utilities::format_f;

struct Mate {
    float fo2, sigma, fc2;
    int omitted = 0;
};

// Tables holding the given pairs, mates in consecutive rows, linked.
void pairs_table(const std::vector<std::pair<Mate, Mate>>& pairs, HklInfo& hkl, FsqData& fsq) {
    hkl.assign(2 * pairs.size() + 1, {});
    fsq.assign(2 * pairs.size() + 1, {});
    for (std::size_t p = 0; p < pairs.size(); ++p) {
        const std::size_t i = 2 * p + 1, j = i + 1;
        hkl[i] = {static_cast<std::int32_t>(p + 1), 0, 1, 0, static_cast<std::int32_t>(j), pairs[p].first.omitted};
        hkl[j] = {-static_cast<std::int32_t>(p + 1), 0, -1, 0, static_cast<std::int32_t>(i), pairs[p].second.omitted};
        fsq[i] = {pairs[p].first.fo2, pairs[p].first.sigma, pairs[p].first.fc2};
        fsq[j] = {pairs[p].second.fo2, pairs[p].second.sigma, pairs[p].second.fc2};
    }
}

// A list of rows (Ys, Yo, sigma).
PairValues list_of(const std::vector<std::array<float, 3>>& rows) {
    PairValues values(rows.size() + 1);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        values[k + 1].single = rows[k][0];
        values[k + 1].obs = rows[k][1];
        values[k + 1].sigma_obs = rows[k][2];
    }
    return values;
}


TEST(FriedelLists, WorkedPairAndRejectionRules) {
    HklInfo hkl;
    FsqData fsq;
    PairValues values;
    PairHkl indices;
    std::int32_t count = -1;
    std::ostringstream out;

    pairs_table({{{110, 5, 100}, {90, 5, 95}}}, hkl, fsq);
    borq::make_q(2, hkl, fsq, values, indices, count, out);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(format_f(values[1].obs, 10, 5), "   0.10000");
    EXPECT_EQ(format_f(values[1].sigma_obs, 10, 7), " 0.0355317");
    EXPECT_EQ(format_f(values[1].ratio, 10, 5), "   2.81439");
    EXPECT_EQ(indices[1].h, 1);
    borq::make_d(2, hkl, fsq, values, indices, count, out);
    EXPECT_EQ(values[1].obs, 20.0f);
    EXPECT_EQ(format_f(values[1].sigma_obs, 10, 5), "   7.07107");
    EXPECT_EQ(format_f(values[1].ratio, 10, 5), "   2.82843");
    EXPECT_EQ(borq::quot_error(110, 5, 90, 5), borq::quot_error(90, 5, 110, 5));

    // Row by row: I/sigma exactly 3 (quotients reject), Fc2/sigma -99 and
    // -98.9 (differences reject and keep), 0/0, the near-zero sums, the
    // omitted mates, and a pair without any uncertainty.
    pairs_table({{{30, 10, 50}, {50, 10, 50}},
                 {{50, 10, -990}, {50, 10, 50}},
                 {{50, 10, -989}, {50, 10, 50}},
                 {{0, 0, 50}, {50, 10, 50}},
                 {{0.00004f, 0.00001f, 0.00004f}, {0.00004f, 0.00001f, 0.00004f}},
                 {{50, 10, 50, 1}, {60, 10, 50}},
                 {{50, 10, 50}, {60, 10, 50, 1}},
                 {{50, 10, 50, 1}, {60, 10, 50, 1}},
                 {{50, 0, 50}, {60, 0, 55}}},
                hkl, fsq);
    out.str("");
    borq::make_q(18, hkl, fsq, values, indices, count, out);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(out.str(),
              "\nSUMMARY DATA FOR QUOTIENT CALCULATION:\n"
              "Number of quotient data to be used in calculations      =        0\n"
              "Number of quotients rejected by I/sigma criterion       =        5\n"
              "Number rejected because 2Aobs or single ~ 0 (expect 0)  =        1\n"
              "Number omitted from refinement                          =        3\n");
    out.str("");
    borq::make_d(18, hkl, fsq, values, indices, count, out);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(out.str(),
              "\nSUMMARY DATA FOR DIFFERENCE CALCULATION:\n"
              "Number of difference data to be used in calculations    =        3\n"
              "Number of difference rejected by I/sigma criterion      =        3\n"
              "Number omitted from refinement                          =        3\n");
    // Largest |D|/sigma first.
    EXPECT_GE(values[1].ratio, values[2].ratio);
    EXPECT_GE(values[2].ratio, values[3].ratio);
}

TEST(FlackFit, WorkedListOfThreeRows) {
    PairValues values = list_of({{0.1f, 0.08f, 0.02f}, {-0.2f, -0.15f, 0.03f}, {0.05f, 0.06f, 0.02f}});
    std::ostringstream out;
    ASSERT_TRUE(borq::ymx(3, values, true, out));
    EXPECT_EQ(out.str(),
              "Flack parameter (and e.s.d.)                            =   0.10(4)  <--- x(Q)\n"
              "Value of x with more precision                          =   0.0982\n"
              "E.S.D. with more precision                              =   0.0428\n"
              "Chi2 for linear fit of Qobs v Qsingle to calculate x    =   0.5550\n"
              "Pearson correlation coefficient for Qobs and Qsingle    =   0.9970\n");
    EXPECT_EQ(format_f(values[1].observed_deviate, 8, 4), " -0.0183");
    EXPECT_EQ(format_f(values[2].observed_deviate, 8, 4), "  0.3578");
    EXPECT_EQ(format_f(values[3].observed_deviate, 8, 4), "  0.9908");

    borq::calc_exp_deviates(3, values);
    EXPECT_EQ(format_f(values[1].expected_deviate, 8, 4), " -0.9674");
    EXPECT_EQ(values[2].expected_deviate, 0.0f);
    EXPECT_EQ(format_f(values[3].expected_deviate, 8, 4), "  0.9674");
    out.str("");
    ASSERT_TRUE(borq::linearlsq(3, values, out));
    EXPECT_EQ(out.str(),
              "Normal probability plot gradient                        =   0.5216\n"
              "Normal probability plot intercept                       =   0.4434\n"
              "Normal probability plot Pearson correlation coefficient =   0.9894\n");
}

TEST(FlackFit, IdentitiesOfTheWeightedFit) {
    const std::vector<std::array<float, 3>> rows{{0.031f, 0.042f, 0.011f}, {-0.052f, -0.037f, 0.013f},
                                                 {0.012f, 0.001f, 0.009f}, {-0.023f, -0.031f, 0.012f},
                                                 {0.044f, 0.051f, 0.015f}, {0.007f, -0.004f, 0.010f}};
    const auto fit = [](PairValues& values, bool is_quotient) {
        std::ostringstream out;
        EXPECT_TRUE(borq::ymx(static_cast<std::int32_t>(values.size()) - 1, values, is_quotient, out));
        return out.str();
    };
    const auto first_lines = [](const std::string& report, int n) {
        std::size_t at = 0;
        for (int i = 0; i < n; ++i) at = report.find('\n', at) + 1;
        return report.substr(0, at);
    };

    PairValues values = list_of(rows);
    const std::string report = fit(values, true);

    // Reversing which mate is first in one pair flips Ys, Yo and its deviate
    // and leaves x, its e.s.d. and chi2 unchanged.
    PairValues flipped = list_of(rows);
    flipped[4].single = -flipped[4].single;
    flipped[4].obs = -flipped[4].obs;
    const std::string flipped_report = fit(flipped, true);
    EXPECT_EQ(first_lines(flipped_report, 4), first_lines(report, 4));
    EXPECT_EQ(flipped[4].observed_deviate, -values[4].observed_deviate);

    // chi2 is the sum of the squared deviates over m - 1.
    float sum = 0.0f;
    for (std::size_t k = 1; k < values.size(); ++k) sum += values[k].observed_deviate * values[k].observed_deviate;
    EXPECT_NE(report.find("to calculate x    = " + format_f(sum / 5.0f, 8, 4) + "\n"), std::string::npos) << report;

    // The slope is sum(w ys yo) / sum(w ys^2): x = (1 - a)/2, computed apart.
    double s_so = 0, s_ss = 0;
    for (const auto& r : rows) {
        s_so += double(r[0]) * r[1] / (double(r[2]) * r[2]);
        s_ss += double(r[0]) * r[0] / (double(r[2]) * r[2]);
    }
    EXPECT_NE(report.find("more precision                          = " + format_f((1.0 - s_so / s_ss) / 2.0, 8, 4)),
              std::string::npos)
        << report;

    // Yo = Ys gives x = 0 and Yo = -Ys gives x = 1, both to every printed digit.
    PairValues same = list_of(rows), opposite = list_of(rows);
    for (std::size_t k = 1; k < same.size(); ++k) {
        same[k].obs = same[k].single;
        opposite[k].obs = -opposite[k].single;
    }
    EXPECT_NE(fit(same, false).find("Value of x with more precision                          =   0.0000\n"),
              std::string::npos);
    const std::string one = fit(opposite, false);
    EXPECT_NE(one.find("Value of x with more precision                          =   1.0000\n"), std::string::npos) << one;
    EXPECT_NE(one.find("  <--- x(D)\n"), std::string::npos);
    EXPECT_NE(one.find("Pearson correlation coefficient for Dobs and Dsingle    =  -1.0000\n"), std::string::npos);
}

TEST(FlackFit, ListsThatCannotBeFittedGetTheNotice) {
    const std::string notice = std::string(borq::too_few_data_notice) + "\n";
    std::ostringstream out;
    PairValues one = list_of({{0.1f, 0.08f, 0.02f}});
    EXPECT_FALSE(borq::ymx(1, one, true, out));
    EXPECT_EQ(out.str(), notice);
    EXPECT_EQ(one[1].observed_deviate, 0.0f);
    PairValues none = list_of({});
    out.str("");
    EXPECT_FALSE(borq::ymx(0, none, false, out));
    EXPECT_EQ(out.str(), notice);
    PairValues flat = list_of({{0.0f, 0.08f, 0.02f}, {0.0f, -0.01f, 0.03f}});
    out.str("");
    EXPECT_FALSE(borq::ymx(2, flat, true, out));
    EXPECT_EQ(out.str(), notice);
    out.str("");
    EXPECT_FALSE(borq::linearlsq(1, one, out));
    EXPECT_EQ(out.str(), notice);
}

TEST(NormalProbabilityPlot, InverseNormalRegions) {
    EXPECT_EQ(format_f(borq::invnorm(0.01f), 8, 4), " -2.3263");
    EXPECT_EQ(format_f(borq::invnorm(0.99f), 8, 4), "  2.3263");
    EXPECT_EQ(format_f(borq::invnorm(0.975f), 8, 4), "  1.9599");
    EXPECT_EQ(borq::invnorm(0.5f), 0.0f);
    EXPECT_EQ(format_f(borq::invnorm(0.25f), 8, 4), " -0.6745");
    EXPECT_EQ(format_f(borq::invnorm(0.75f), 8, 4), "  0.6745");
    // Float evaluation: the table digits of the worked example.
    EXPECT_EQ(format_f(borq::invnorm(1.0f / 12.0f), 10, 5), "  -1.38299");
    EXPECT_EQ(format_f(borq::invnorm(11.0f / 12.0f), 10, 5), "   1.38300");
    // 0.02425 itself takes the central formula, the float below it the lower
    // tail; in 32 bits the two differ in the fourth decimal.
    EXPECT_EQ(format_f(borq::invnorm(0.02425f), 8, 4), " -1.9729");
    EXPECT_EQ(format_f(borq::invnorm(std::nextafter(0.02425f, 0.0f)), 8, 4), " -1.9730");

    // Equal observed deviates still get the full spread of ranks.
    PairValues equal = list_of({{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
    borq::calc_exp_deviates(4, equal);
    std::vector<float> ranked;
    for (std::size_t k = 1; k <= 4; ++k) ranked.push_back(equal[k].expected_deviate);
    std::sort(ranked.begin(), ranked.end());
    EXPECT_EQ(ranked, (std::vector<float>{borq::invnorm(0.125f), borq::invnorm(0.375f), borq::invnorm(0.625f),
                                          borq::invnorm(0.875f)}));
}

TEST(ResultTables, RowsHeaderAndAsterisks) {
    ScratchDir scratch("tables");
    PairValues values = list_of({{10000.0f, 9999.5f, 1.0f}});
    values[1].ratio = 2.5f;
    PairHkl indices(2);
    indices[1] = {-3, 10, 0};
    std::ostringstream out;
    borq::write_results(1, indices, values, false, out);
    EXPECT_EQ(read_file("Differences.dat"),
              "   h   k   l   Dsingle   Dobs      sDobs     |D|/sQ    expDev    obsDev\n"
              "  -3  10   0**********9999.50000   1.00000   2.50000   0.00000   0.00000\n");
    EXPECT_EQ(out.str(),
              "Difference data suitable for a spreadsheet are written to Differences.dat.\n"
              "Plot Dobs on the vertical axis and Dsingle on the horizonal axis for a D-plot.\n"
              "Plot Observed deviates on the vertical axis and expected deviates on the\n"
              "horizontal axis for a normal probability plot.\n\n");
    out.str("");
    borq::write_results(0, indices, values, true, out);
    EXPECT_EQ(read_file("Quotients.dat"),
              "   h   k   l   Qsingle   Qobs      sQobs     |Q|/sQ    expDev    obsDev\n");
    EXPECT_NE(out.str().find("written to Quotients.dat.\n"), std::string::npos);
}

}  // namespace
