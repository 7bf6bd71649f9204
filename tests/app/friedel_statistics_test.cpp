// The quotient and difference lists and the estimates of the Flack parameter
// x drawn from them: the rejection rules, the weighted fit of Yo on Ys and its
// identities, the normal probability plot, the cross-checks gek2 (ratio of
// weighted averages) and gek1 (weighted average of per-pair x) that agree
// with the fit, and the reweighting of sigma(Fo2).
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"
#include "text/fortran_format.hpp"

namespace {

using borq::PairValues;
using borq_test::read_file;
using vorn_string_utilities::format_f;
using Rows = std::vector<std::array<float, 3>>;  // Ys, Yo, sigma

// A list of rows, row 0 unused.
PairValues list_of(const Rows& rows) {
    PairValues values(rows.size() + 1);
    for (std::size_t k = 0; k < rows.size(); ++k) values[k + 1] = {rows[k][0], rows[k][1], rows[k][2], 0, 0, 0};
    return values;
}

// The report of the weighted fit (which sets the deviates of the list).
std::string fit(PairValues& values, bool is_quotient, bool fitted = true) {
    std::ostringstream out;
    EXPECT_EQ(borq::ymx(static_cast<std::int32_t>(values.size()) - 1, values, is_quotient, out), fitted);
    return out.str();
}

// The report of a cross-check of `count` rows (all by default), or of the failure that stops it.
std::string run(void (*estimator)(std::int32_t, const PairValues&, bool, std::ostream&), const Rows& rows, bool is_quotient,
                std::int32_t count = -1) {
    std::ostringstream out;
    try {
        estimator(count < 0 ? static_cast<std::int32_t>(rows.size()) : count, list_of(rows), is_quotient, out);
    } catch (const borq::InputFailure& failure) {
        out << borq::failure_report(failure) << "\n";
    }
    return out.str();
}

// The text after "= " of each line that has one, and every other line, joined by "|".
std::string digest(const std::string& report) {
    std::istringstream lines(report);
    std::string line, result;
    while (std::getline(lines, line))
        if (!line.empty()) result += (line.find("= ") == std::string::npos ? line : line.substr(line.find("= ") + 2)) + "|";
    return result;
}

// Worked by hand: the weighted slope is a = 0.80367, x = 0.09817 with e.s.d.
// 0.04282; per pair x = 0.1, 0.125, -0.1 with 32-bit weights 100.00002,
// 177.77780, 25, whose mean is 0.09817 with internal e.s.d. 0.05747.
const Rows worked = {{0.1f, 0.08f, 0.02f}, {-0.2f, -0.15f, 0.03f}, {0.05f, 0.06f, 0.02f}};
const std::string gek2_q = "CHECK GEK2 QUOTIENT CALCULATION USING RATIO OF AVERAGES:|",
                  gek2_d = "CHECK GEK2 DIFFERENCE CALCULATION USING RATIO OF AVERAGES:|",
                  gek1_q = "CHECK GEK1 QUOTIENT CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):|",
                  gek1_d = "CHECK GEK1 DIFFERENCE CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):|";
const std::string few = std::string(borq::gek_too_few_notice) + "|", internal = std::string(borq::gek1_internal_heading) + "|",
                  external = std::string(borq::gek1_external_heading) + "|";
const std::string table_header = "        x              sx               w            delta        sqrt(w)Del\n",
                  worked_table = table_header + "        0.10000        0.10000      100.00002        0.00183        0.01835\n"
                                                "        0.12500        0.07500      177.77780        0.02683        0.35780\n"
                                                "       -0.10000        0.20000       25.00000       -0.19817       -0.99083\n";

TEST(FriedelLists, WorkedPairAndRejectionRules) {
    EXPECT_EQ(borq::quot_error(110, 5, 90, 5), borq::quot_error(90, 5, 110, 5));
    // Pair by pair (mates in consecutive rows): I/sigma exactly 3 (quotients
    // reject), Fc2/sigma -99 and -98.9 (differences reject and keep), 0/0, the
    // near-zero sums, the omitted mates, and a pair without any uncertainty.
    const std::vector<std::array<float, 4>> mates = {  // Fo2, sigma, Fc2, omitted
        {30, 10, 50}, {50, 10, 50}, {50, 10, -990}, {50, 10, 50}, {50, 10, -989}, {50, 10, 50}, {0, 0, 50}, {50, 10, 50},
        {0.00004f, 0.00001f, 0.00004f}, {0.00004f, 0.00001f, 0.00004f}, {50, 10, 50, 1}, {60, 10, 50}, {50, 10, 50},
        {60, 10, 50, 1}, {50, 10, 50, 1}, {60, 10, 50, 1}, {50, 0, 50}, {60, 0, 55}};
    borq::HklInfo hkl(19);
    borq::FsqData fsq(19);
    for (std::int32_t i = 1; const auto& m : mates)
        hkl[i] = {i % 2 ? (i + 1) / 2 : -i / 2, 0, i % 2 ? 1 : -1, 0, i % 2 ? i + 1 : i - 1, static_cast<std::int32_t>(m[3])},
        fsq[i++] = {m[0], m[1], m[2]};
    PairValues values;
    borq::PairHkl indices;
    std::int32_t count = -1;
    std::ostringstream out;
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

// The worked list (a positive x, one column later than a negative one) by
// the fit, gek2 and gek1 with its table.
TEST(FlackFit, WorkedListByEveryEstimate) {
    PairValues values = list_of(worked);
    EXPECT_EQ(fit(values, true),
              "Flack parameter (and e.s.d.)                            =   0.10(4)  <--- x(Q)\n"
              "Value of x with more precision                          =   0.0982\n"
              "E.S.D. with more precision                              =   0.0428\n"
              "Chi2 for linear fit of Qobs v Qsingle to calculate x    =   0.5550\n"
              "Pearson correlation coefficient for Qobs and Qsingle    =   0.9970\n");
    EXPECT_EQ(run(borq::gek2, worked, true, 50),  // only the rows held are read
              "\nCHECK GEK2 QUOTIENT CALCULATION USING RATIO OF AVERAGES:\n"
              "Number of quotients used                                =        3\n"
              "Flack parameter (and e.s.d.)                            =   0.10(4)\n"
              "Value of x with more preci                              =   0.0982\n"
              "E.S.D. with more precision                              =   0.0428\n\n");
    borq_test::ScratchDir scratch("gek1");
    EXPECT_EQ(run(borq::gek1, worked, true),
              "\nCHECK GEK1 QUOTIENT CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):\n"
              "Number of extra omissions (small Qsingle)               =        0\n"
              "Number of quotients used                                =        3\n" + internal.substr(0, internal.size() - 1) + "\n"
              "Flack parameter (and e.s.d.)                            =   0.10(6)\n"
              "    Value of x with more precision                      =   0.0982\n"
              "    E.S.D. with more precision                          =   0.0575\n" + external.substr(0, external.size() - 1) + "\n"
              "Flack parameter (and e.s.d.)                            =   0.10(4)\n"
              "    Value of x                                          =   0.0982\n"
              "    E.S.D.                                              =   0.0428\n"
              "Data used in this calculation are written to gek1Q.dat.\n\n");
    EXPECT_EQ(read_file("gek1Q.dat"), worked_table);
}

TEST(AlternativeEstimators, Gek2Notices) {
    const std::tuple<Rows, bool, std::int32_t, std::string> cases[] = {
        // Yo = -Ys: x = 1 up to rounding.
        {{{0.1f, -0.1f, 0.02f}, {-0.2f, 0.2f, 0.03f}, {0.05f, -0.05f, 0.02f}}, false, -1, gek2_d + "       3|  1.00000|  1.0000|  0.0000|"},
        // A negative x one column earlier: a = 1.22936, x = -0.11468, sigma(x) = 0.0087.
        {{{0.1f, 0.12f, 0.02f}, {-0.2f, -0.25f, 0.03f}, {0.05f, 0.06f, 0.02f}}, true, -1, gek2_q + "       3| -0.115(9)| -0.1147|  0.0087|"},
        {{}, true, -1, gek2_q + "       0|" + few}, {{worked[0]}, false, -1, gek2_d + "       1|" + few},
        {{{0.0f, 0.1f, 0.02f}, {0.0f, -0.1f, 0.02f}}, true, -1, gek2_q + "       2|" + few},  // every Ys zero: 0/0
        {{{0.1f, 0.09f, 1.0e-10f}, worked[1]}, true, -1, gek2_q + "       2|  0.05000|  0.0500|  0.0000|"},  // 1.0e-10 is not zero
        // A sigma below 1.0e-10 stops the run at its first row, before any other output.
        {{worked[0], worked[1], worked[2], worked[0], {0.1f, 0.09f, 0.0f}, {0.1f, 0.09f, 0.99e-10f}}, true, -1,
         "Check data: Zero sigma(Yobs) for #      5|borq: failed input while checking the quotient list (GEK2): zero sigma(Yobs) in row 5|"},
        {{worked[0], {0.1f, 0.09f, 0.99e-10f}}, false, -1,
         "Check data: Zero sigma(Yobs) for #      2|borq: failed input while checking the difference list (GEK2): zero sigma(Yobs) in row 2|"}};
    for (const auto& [rows, is_quotient, count, expected] : cases) EXPECT_EQ(digest(run(borq::gek2, rows, is_quotient, count)), expected);
}

// Rows with |Ys| <= 1.0e-10 or a zero sigma are extra omissions; one used row
// has no external e.s.d.; none used gives the notice and a bare table.
TEST(AlternativeEstimators, Gek1OmissionsAndTables) {
    borq_test::ScratchDir scratch("gek1");
    const std::string tail_q = "Data used in this calculation are written to gek1Q.dat.|", tail_d = tail_q.substr(0, 49) + "D.dat.|";
    const std::tuple<Rows, bool, std::string, std::string> cases[] = {
        {{worked[0], {1.0e-10f, 0.3f, 0.02f}, worked[1], worked[2], {0.2f, 0.1f, 0.0f}, {-0.0f, 0.1f, 0.02f}}, false,
         gek1_d + "       3|       3|" + internal + "  0.10(6)|  0.0982|  0.0575|" + external + "  0.10(4)|  0.0982|  0.0428|" + tail_d, worked_table},
        {{{0.2f, 0.1f, 0.04f}}, true, gek1_q + "       0|       1|" + internal + "  0.25(10)|  0.2500|  0.1000|" + external +
         std::string(borq::gek1_no_external_notice) + "|" + tail_q,
         table_header + "        0.25000        0.10000      100.00002        0.00000        0.00000\n"},
        {{{0.0f, 0.1f, 0.02f}, {0.0f, 0.2f, 0.02f}}, true, gek1_q + "       2|       0|" + few + tail_q, table_header}};
    for (const auto& [rows, is_quotient, expected, table] : cases) {
        EXPECT_EQ(digest(run(borq::gek1, rows, is_quotient)), expected);
        EXPECT_EQ(read_file(is_quotient ? "gek1Q.dat" : "gek1D.dat"), table);
    }
}

// Without omissions the average of ratios weighted by 4 Ys^2/sigma^2 is the
// ratio of averages: gek1's mean and external e.s.d., gek2's x and e.s.d. and
// the fit agree, for either orientation of the pairs.
TEST(AlternativeEstimators, ThreeEstimatesOfXAgree) {
    borq_test::ScratchDir scratch("gek_agree");
    Rows rows;
    std::uint32_t seed = 12345u;
    const auto next = [&seed]() { return static_cast<float>((seed = seed * 1664525u + 1013904223u) >> 8) / 16777216.0f; };
    for (int k = 0; k < 40; ++k) {
        const float single = (next() - 0.5f) * 0.4f, sigma = 0.01f + 0.03f * next();
        rows.push_back({single, 0.7f * single + (next() - 0.5f) * 2.0f * sigma, sigma});
    }
    const auto value = [](const std::string& text, int field) {  // the field-th part of the digest
        std::string parts = digest(text);
        for (int i = 0; i < field; ++i) parts.erase(0, parts.find('|') + 1);
        return std::stod(parts);
    };
    for (int flip = 0; flip < 2; ++flip) {
        for (std::size_t k = 0; flip == 1 && k < rows.size(); k += 2) rows[k] = {-rows[k][0], -rows[k][1], rows[k][2]};
        PairValues values = list_of(rows);
        const std::string by_fit = fit(values, true), g2 = run(borq::gek2, rows, true), g1 = run(borq::gek1, rows, true);
        EXPECT_NEAR(value(by_fit, 1), 0.15, 0.05);
        for (const auto& [text, x_field, esd_field] : {std::tuple{g2, 3, 4}, std::tuple{g1, 9, 10}}) {
            EXPECT_NEAR(value(text, x_field), value(by_fit, 1), 1.0e-4) << flip << text;
            EXPECT_NEAR(value(text, esd_field), value(by_fit, 2), 1.0e-4) << flip << text;
        }
    }
}

// Reversing which mate is first flips Ys, Yo and the deviate and leaves x,
// its e.s.d. and chi2; chi2 is the sum of squared deviates over m - 1;
// Yo = Ys gives x = 0, Yo = -Ys x = 1.
TEST(FlackFit, IdentitiesOfTheWeightedFit) {
    const Rows rows{{0.031f, 0.042f, 0.011f}, {-0.052f, -0.037f, 0.013f}, {0.012f, 0.001f, 0.009f},
                    {-0.023f, -0.031f, 0.012f}, {0.044f, 0.051f, 0.015f}, {0.007f, -0.004f, 0.010f}};
    PairValues values = list_of(rows), flipped = list_of(rows), same = list_of(rows), opposite = list_of(rows);
    flipped[4].single = -flipped[4].single, flipped[4].obs = -flipped[4].obs;
    const std::string report = fit(values, true), flipped_report = fit(flipped, true);
    EXPECT_EQ(flipped_report.substr(0, flipped_report.find("Pearson")), report.substr(0, report.find("Pearson")));
    EXPECT_EQ(flipped[4].observed_deviate, -values[4].observed_deviate);
    float sum = 0.0f;
    for (std::size_t k = 1; k < values.size(); ++k) {
        sum += values[k].observed_deviate * values[k].observed_deviate;
        same[k].obs = same[k].single, opposite[k].obs = -opposite[k].single;
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
    PairValues one = list_of({worked[0]}), none = list_of({}), flat = list_of({{0, 0.08f, 0.02f}, {0, -0.01f, 0.03f}});
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
    const std::multiset<float> ranked{equal[1].expected_deviate, equal[2].expected_deviate, equal[3].expected_deviate, equal[4].expected_deviate};
    EXPECT_EQ(ranked, (std::multiset<float>{borq::invnorm(0.125f), borq::invnorm(0.375f), borq::invnorm(0.625f), borq::invnorm(0.875f)}));
}

// sigma'^2 = sigma^2 + (0.0984 P)^2 + 5.4628 P with P = (max(Fo2, 0) + 2 Fc2)/3
// kept at 0 or above; row 0 and rows beyond the count or the table untouched.
TEST(AlternativeEstimators, ReweightBySchemeUncertainties) {
    borq::FsqData fsq = {{7.0f, 7.0f, 7.0f},  {100.0f, 2.0f, 90.0f}, {-5.0f, 1.5f, 3.0f}, {0.0f, 0.8f, 0.0f},
                         {-50.0f, 3.0f, 0.0f}, {0.0f, 1.25f, -10.0f}, {100.0f, 2.0f, 90.0f}}, empty;
    borq::reweight(5, fsq);
    const float sigma[] = {7.0f, 24.458274f, 3.635152f, 0.8f, 3.0f, 1.25f, 2.0f}, within[] = {0, 2.0e-5f, 2.0e-6f, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_NEAR(fsq[i].sigma_fo2, sigma[i], within[i]) << "row " << i;
    EXPECT_TRUE(fsq[2].fo2 == -5.0f && fsq[2].fc2 == 3.0f);
    borq::reweight(1000, fsq), borq::reweight(3, empty);
    EXPECT_NEAR(fsq[6].sigma_fo2, 24.458274f, 2.0e-5f);
    EXPECT_TRUE(empty.empty());
}

}  // namespace
