// Cross-checks of the Flack parameter of a Friedel list and the reweighting
// of the intensity uncertainties.  None of these is a step of a run: they
// serve the developer who wants to see x estimated in another order (gek2:
// ratio of weighted averages; gek1: weighted average of the per-pair values
// of x) or the uncertainties a SHELXL-like weighting scheme implies.
//
// All quantities are 32-bit reals; every sum is rounded after each addition,
// as in the fit of ymx.
#include <algorithm>
#include <cmath>
#include <fstream>
#include <ostream>

#include "app/borq.hpp"
#include "text/fortran_format.hpp"
#include "text/string_util.hpp"

namespace borq {

using vorn_string_utilities::format_f;
using vorn_string_utilities::format_i;

namespace {

// Rows 1..row_count of a list, but never more than the table holds.
std::int32_t rows_held(std::int32_t row_count, const PairValues& pair_values) {
    const auto held = pair_values.empty() ? 0 : static_cast<std::int32_t>(pair_values.size()) - 1;
    return std::clamp<std::int32_t>(row_count, 0, held);
}

// The value-and-uncertainty line: the text of a negative x starts one
// column earlier, with its sign.  No marker follows it in the checks.
void print_flack_line(float x, float sigma_x, std::ostream& out) {
    std::string text(80, ' ');
    vorn_string_utilities::setnum_std(x, sigma_x, text);
    out << (x < 0.0f ? "Flack parameter (and e.s.d.)                            =  "
                     : "Flack parameter (and e.s.d.)                            =   ")
        << vorn_string_utilities::trim_both(text) << '\n';
}

bool finite_positive(float value) { return value > 0.0f && std::isfinite(value); }

// One row used by gek1: the pair's own estimate of x and its weight.
struct SingleEstimate {
    float x = 0.0f;       // xk = (1 - Yo/Ys)/2
    float sigma = 0.0f;   // sk = |sigma/(2 Ys)|
    float weight = 0.0f;  // wk = 1/sk^2
    float delta = 0.0f;   // xk minus the weighted mean
};

}  // namespace

void gek2(std::int32_t row_count, const PairValues& pair_values, bool is_quotient, std::ostream& out) {
    const std::int32_t m = rows_held(row_count, pair_values);
    const auto row = [&](std::int32_t k) -> const PairValuesRow& { return pair_values[static_cast<std::size_t>(k)]; };

    // A zero uncertainty gives an infinite weight: the list is unusable.
    for (std::int32_t k = 1; k <= m; ++k) {
        if (row(k).sigma_obs < 1.0e-10f) {
            out << "Check data: Zero sigma(Yobs) for # " << format_i(k, 6) << '\n';
            out.flush();
            throw InputFailure{is_quotient ? "checking the quotient list (GEK2)" : "checking the difference list (GEK2)",
                               "zero sigma(Yobs) in row " + std::to_string(k)};
        }
    }

    // Slope a of Yo = a Ys as the ratio of the weighted averages of Yo Ys and
    // Ys^2, weights w = 1/sigma^2.
    float sum_wos = 0.0f, sum_wss = 0.0f;
    for (std::int32_t k = 1; k <= m; ++k) {
        const float w = 1.0f / (row(k).sigma_obs * row(k).sigma_obs);
        sum_wos += w * row(k).obs * row(k).single;
        sum_wss += w * row(k).single * row(k).single;
    }
    const float a = sum_wos / sum_wss;
    const float x = (1.0f - a) * 0.5f;
    float sum_residuals = 0.0f;
    for (std::int32_t k = 1; k <= m; ++k) {
        const float w = 1.0f / (row(k).sigma_obs * row(k).sigma_obs);
        const float residual = row(k).obs - a * row(k).single;
        sum_residuals += w * residual * residual;
    }
    const float sigma_x = std::sqrt(sum_residuals / (static_cast<float>(m - 1) * sum_wss)) / 2.0f;

    out << '\n'
        << (is_quotient ? "CHECK GEK2 QUOTIENT CALCULATION USING RATIO OF AVERAGES:\n"
                        : "CHECK GEK2 DIFFERENCE CALCULATION USING RATIO OF AVERAGES:\n")
        << (is_quotient ? "Number of quotients used                                = "
                        : "Number of differences used                              = ")
        << format_i(m, 8) << '\n';
    // Two rows at least, and finite denominators, or there is no estimate.
    if (m < 2 || !finite_positive(sum_wss) || !std::isfinite(x) || !std::isfinite(sigma_x)) {
        out << gek_too_few_notice << "\n\n";
        return;
    }
    print_flack_line(x, sigma_x, out);
    out << "Value of x with more preci                              = " << format_f(x, 8, 4) << '\n'
        << "E.S.D. with more precision                              = " << format_f(sigma_x, 8, 4) << "\n\n";
}

void gek1(std::int32_t row_count, const PairValues& pair_values, bool is_quotient, std::ostream& out) {
    const std::int32_t m = rows_held(row_count, pair_values);

    // Each pair's own x; a pair whose calculated value is nearly zero says
    // nothing about x, and one with a zero uncertainty would take all the
    // weight: both are left out.
    std::vector<SingleEstimate> used;
    used.reserve(static_cast<std::size_t>(m));
    std::int32_t extra_omissions = 0;
    for (std::int32_t k = 1; k <= m; ++k) {
        const PairValuesRow& r = pair_values[static_cast<std::size_t>(k)];
        if (!(std::fabs(r.single) > 1.0e-10f) || r.sigma_obs == 0.0f) {
            ++extra_omissions;
            continue;
        }
        SingleEstimate e;
        e.x = (1.0f - r.obs / r.single) * 0.5f;
        e.sigma = std::fabs(r.sigma_obs / (2.0f * r.single));
        e.weight = 1.0f / (e.sigma * e.sigma);
        if (!std::isfinite(e.weight) || !std::isfinite(e.x)) {
            ++extra_omissions;
            continue;
        }
        used.push_back(e);
    }
    const auto n = static_cast<std::int32_t>(used.size());

    float sum_w = 0.0f, sum_wx = 0.0f;
    for (const SingleEstimate& e : used) {
        sum_w += e.weight;
        sum_wx += e.weight * e.x;
    }
    const float mean_x = sum_wx / sum_w;
    float sum_wdd = 0.0f;
    for (SingleEstimate& e : used) {
        e.delta = e.x - mean_x;
        sum_wdd += e.weight * e.delta * e.delta;
    }
    const float internal = std::sqrt(1.0f / sum_w);
    const float external = std::sqrt(sum_wdd / (static_cast<float>(n - 1) * sum_w));

    out << '\n'
        << (is_quotient ? "CHECK GEK1 QUOTIENT CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):\n"
                        : "CHECK GEK1 DIFFERENCE CALCULATION USING INDIVIDUAL VALUES OF x (AVERAGE OF RATIOS):\n")
        << (is_quotient ? "Number of extra omissions (small Qsingle)               = "
                        : "Number of extra omissions (small Dsingle)               = ")
        << format_i(extra_omissions, 8) << '\n'
        << (is_quotient ? "Number of quotients used                                = "
                        : "Number of differences used                              = ")
        << format_i(n, 8) << '\n';

    // The internal e.s.d. needs one value of x, the external one two.
    const bool has_mean = n >= 1 && finite_positive(sum_w) && std::isfinite(mean_x) && std::isfinite(internal);
    if (!has_mean) {
        out << gek_too_few_notice << '\n';
    } else {
        out << gek1_internal_heading << '\n';
        print_flack_line(mean_x, internal, out);
        out << "    Value of x with more precision                      = " << format_f(mean_x, 8, 4) << '\n'
            << "    E.S.D. with more precision                          = " << format_f(internal, 8, 4) << '\n';
        out << gek1_external_heading << '\n';
        if (n < 2 || !std::isfinite(external)) {
            out << gek1_no_external_notice << '\n';
        } else {
            print_flack_line(mean_x, external, out);
            out << "    Value of x                                          = " << format_f(mean_x, 8, 4) << '\n'
                << "    E.S.D.                                              = " << format_f(external, 8, 4) << '\n';
        }
    }

    const char* const file_name = is_quotient ? "gek1Q.dat" : "gek1D.dat";
    std::ofstream table = open_for_writing(file_name);
    table << "        x              sx               w            delta        sqrt(w)Del\n";
    if (has_mean) {
        for (const SingleEstimate& e : used) {
            table << format_f(e.x, 15, 5) << format_f(e.sigma, 15, 5) << format_f(e.weight, 15, 5)
                  << format_f(e.delta, 15, 5) << format_f(std::sqrt(e.weight) * e.delta, 15, 5) << '\n';
        }
    }
    table.close();
    check_written(table, file_name);
    out << (is_quotient ? "Data used in this calculation are written to gek1Q.dat.\n"
                        : "Data used in this calculation are written to gek1D.dat.\n")
        << '\n';
}

void reweight(std::int32_t n_refl, FsqData& fsq_data) {
    const auto held = fsq_data.empty() ? 0 : static_cast<std::int32_t>(fsq_data.size()) - 1;
    const std::int32_t n = std::clamp<std::int32_t>(n_refl, 0, held);
    // Weighting scheme 1/(sigma^2 + (aP)^2 + bP), a = 0.0984, b = 5.4628,
    // P = (Fo2 + 2 Fc2)/3.  A negative Fo2 (weak reflection) counts as 0 in P,
    // and P itself is kept non-negative, so the radicand never goes below
    // sigma^2.
    constexpr float a = 0.0984f;
    constexpr float b = 5.4628f;
    for (std::int32_t i = 1; i <= n; ++i) {
        FsqDataRow& r = fsq_data[static_cast<std::size_t>(i)];
        const float p = std::max((std::max(r.fo2, 0.0f) + 2.0f * r.fc2) / 3.0f, 0.0f);
        const float ap = a * p;
        r.sigma_fo2 = std::sqrt(r.sigma_fo2 * r.sigma_fo2 + ap * ap + b * p);
    }
}

}  // namespace borq
