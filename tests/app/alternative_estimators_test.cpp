// The cross-checks of x (gek2: ratio of weighted averages; gek1: weighted
// average of the per-pair values of x) and the reweighting of sigma(Fo2):
// values worked by hand, the agreement of the three estimates of x, the
// lists that give no estimate, and the zero sigma that stops a run.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "app/borq.hpp"
#include "support/scratch_dir.hpp"

namespace {

using borq::PairValues;
using borq_test::read_file;
using Rows = std::vector<std::array<float, 3>>;  // Ys, Yo, sigma

std::string run(void (*estimator)(std::int32_t, const PairValues&, bool, std::ostream&), const Rows& rows, bool is_quotient,
                std::int32_t count = -1) {
    PairValues list(rows.size() + 1);
    for (std::size_t k = 0; k < rows.size(); ++k) list[k + 1] = {rows[k][0], rows[k][1], rows[k][2], 0, 0, 0};
    std::ostringstream out;
    try {
        estimator(count < 0 ? static_cast<std::int32_t>(rows.size()) : count, list, is_quotient, out);
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
const std::string fail = "borq: failed input while checking the ", table_header = "        x              sx               w            delta        sqrt(w)Del\n";

TEST(AlternativeEstimators, Gek2WorkedListsAndNotices) {
    EXPECT_EQ(run(borq::gek2, worked, true),
              "\nCHECK GEK2 QUOTIENT CALCULATION USING RATIO OF AVERAGES:\n"
              "Number of quotients used                                =        3\n"
              "Flack parameter (and e.s.d.)                            =   0.10(4)\n"
              "Value of x with more preci                              =   0.0982\n"
              "E.S.D. with more precision                              =   0.0428\n\n");
    const std::tuple<Rows, bool, std::int32_t, std::string> cases[] = {
        // Yo = -Ys: x = 1 up to rounding.
        {{{0.1f, -0.1f, 0.02f}, {-0.2f, 0.2f, 0.03f}, {0.05f, -0.05f, 0.02f}}, false, -1, gek2_d + "       3|  1.00000|  1.0000|  0.0000|"},
        // A negative x one column earlier: a = 1.22936, x = -0.11468, sigma(x) = 0.0087.
        {{{0.1f, 0.12f, 0.02f}, {-0.2f, -0.25f, 0.03f}, {0.05f, 0.06f, 0.02f}}, true, -1, gek2_q + "       3| -0.115(9)| -0.1147|  0.0087|"},
        {{}, true, -1, gek2_q + "       0|" + few}, {{worked[0]}, false, -1, gek2_d + "       1|" + few},
        {{{0.0f, 0.1f, 0.02f}, {0.0f, -0.1f, 0.02f}}, true, -1, gek2_q + "       2|" + few},  // every Ys zero: 0/0
        {worked, true, 50, gek2_q + "       3|  0.10(4)|  0.0982|  0.0428|"},                   // only the rows held are read
        {{{0.1f, 0.09f, 1.0e-10f}, worked[1]}, true, -1, gek2_q + "       2|  0.05000|  0.0500|  0.0000|"},  // 1.0e-10 is not zero
        // A sigma below 1.0e-10 stops the run at its first row, before any other output.
        {{worked[0], worked[1], worked[2], worked[0], {0.1f, 0.09f, 0.0f}, {0.1f, 0.09f, 0.99e-10f}}, true, -1,
         "Check data: Zero sigma(Yobs) for #      5|" + fail + "quotient list (GEK2): zero sigma(Yobs) in row 5|"},
        {{worked[0], {0.1f, 0.09f, 0.99e-10f}}, false, -1,
         "Check data: Zero sigma(Yobs) for #      2|" + fail + "difference list (GEK2): zero sigma(Yobs) in row 2|"}};
    for (const auto& [rows, is_quotient, count, expected] : cases) EXPECT_EQ(digest(run(borq::gek2, rows, is_quotient, count)), expected);
}

// Rows with |Ys| <= 1.0e-10 or a zero sigma are extra omissions; one used row
// has no external e.s.d.; none used gives the notice and a bare table.
TEST(AlternativeEstimators, Gek1WorkedListsAndTables) {
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
    const std::string worked_table = table_header + "        0.10000        0.10000      100.00002        0.00183        0.01835\n"
                                                    "        0.12500        0.07500      177.77780        0.02683        0.35780\n"
                                                    "       -0.10000        0.20000       25.00000       -0.19817       -0.99083\n";
    EXPECT_EQ(read_file("gek1Q.dat"), worked_table);
    const std::string tail_q = "Data used in this calculation are written to gek1Q.dat.|", tail_d = tail_q.substr(0, 49) + "D.dat.|";
    const std::tuple<Rows, bool, std::string, std::string> cases[] = {
        {{worked[0], {1.0e-10f, 0.3f, 0.02f}, worked[1], worked[2], {0.2f, 0.1f, 0.0f}, {-0.0f, 0.1f, 0.02f}}, false,
         gek1_d + "       3|       3|" + internal + "  0.10(6)|  0.0982|  0.0575|" + external + "  0.10(4)|  0.0982|  0.0428|" + tail_d, worked_table},
        {{{0.2f, 0.1f, 0.04f}}, true, gek1_q + "       0|       1|" + internal + "  0.25(10)|  0.2500|  0.1000|" + external +
         std::string(borq::gek1_no_external_notice) + "|" + tail_q,
         table_header + "        0.25000        0.10000      100.00002        0.00000        0.00000\n"},
        {{{0.0f, 0.1f, 0.02f}, {0.0f, 0.2f, 0.02f}}, true, gek1_q + "       2|       0|" + few + tail_q, table_header},
        {{}, false, gek1_d + "       0|       0|" + few + tail_d, table_header}};
    for (const auto& [rows, is_quotient, expected, table] : cases) {
        EXPECT_EQ(digest(run(borq::gek1, rows, is_quotient)), expected);
        EXPECT_EQ(read_file(is_quotient ? "gek1Q.dat" : "gek1D.dat"), table);
    }
}

// Without omissions the average of ratios weighted by 4 Ys^2/sigma^2 is the
// ratio of averages: gek1's mean and external e.s.d., gek2's x and e.s.d. and
// the fit of ymx agree, for either orientation of the pairs.
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
        std::istringstream parts(digest(text));
        std::string part;
        for (int i = 0; i <= field; ++i) std::getline(parts, part, '|');
        return std::stod(part);
    };
    for (int flip = 0; flip < 2; ++flip) {
        for (std::size_t k = 0; flip == 1 && k < rows.size(); k += 2) rows[k] = {-rows[k][0], -rows[k][1], rows[k][2]};
        const std::string fit = run([](std::int32_t n, const PairValues& list, bool q, std::ostream& out) {
            PairValues copy = list;
            EXPECT_TRUE(borq::ymx(n, copy, q, out));
        }, rows, true);
        const std::string g2 = run(borq::gek2, rows, true), g1 = run(borq::gek1, rows, true);
        EXPECT_NEAR(value(fit, 1), 0.15, 0.05);
        for (const auto& [text, x_field, esd_field] : {std::tuple{g2, 3, 4}, std::tuple{g1, 9, 10}}) {
            EXPECT_NEAR(value(text, x_field), value(fit, 1), 1.0e-4) << flip << text;
            EXPECT_NEAR(value(text, esd_field), value(fit, 2), 1.0e-4) << flip << text;
        }
    }
}

// sigma'^2 = sigma^2 + (0.0984 P)^2 + 5.4628 P with P = (max(Fo2, 0) + 2 Fc2)/3
// kept at 0 or above; row 0 and rows beyond the count or the table untouched.
TEST(AlternativeEstimators, ReweightBySchemeUncertainties) {
    borq::FsqData fsq = {{7.0f, 7.0f, 7.0f},  {100.0f, 2.0f, 90.0f}, {-5.0f, 1.5f, 3.0f}, {0.0f, 0.8f, 0.0f},
                         {-50.0f, 3.0f, 0.0f}, {0.0f, 1.25f, -10.0f}, {100.0f, 2.0f, 90.0f}};
    borq::reweight(5, fsq);
    const float sigma[] = {7.0f, 24.458274f, 3.635152f, 0.8f, 3.0f, 1.25f, 2.0f}, within[] = {0, 2.0e-5f, 2.0e-6f, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_NEAR(fsq[i].sigma_fo2, sigma[i], within[i]) << "row " << i;
    EXPECT_TRUE(fsq[2].fo2 == -5.0f && fsq[2].fc2 == 3.0f);
    borq::reweight(1000, fsq);
    EXPECT_NEAR(fsq[6].sigma_fo2, 24.458274f, 2.0e-5f);
    borq::FsqData empty;
    borq::reweight(3, empty);
    EXPECT_TRUE(empty.empty());
}

}  // namespace
