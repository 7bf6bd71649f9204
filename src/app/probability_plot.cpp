// The normal probability plot of one Friedel list: the observed deviates,
// ranked, against the deviates expected for their ranks in a sample from the
// standard normal distribution, and the straight line through them.
#include <algorithm>
#include <cmath>
#include <ostream>

#include "app/borq.hpp"
#include "maths/math_gen.hpp"
#include "text/fortran_format.hpp"

namespace borq {

using vorn_string_utilities::format_f;

namespace {

std::int32_t list_rows(const PairValues& pair_values, std::int32_t row_count) {
    return std::clamp<std::int32_t>(row_count, 0,
                                    pair_values.empty() ? 0 : static_cast<std::int32_t>(pair_values.size()) - 1);
}

// Coefficients of the rational approximation, as 32-bit reals.
constexpr float a1 = -39.69683f, a2 = 220.9461f, a3 = -275.9285f, a4 = 138.35776f, a5 = -30.664799f,
                a6 = 2.5066283f;
constexpr float b1 = -54.476097f, b2 = 161.58583f, b3 = -155.69897f, b4 = 66.801315f, b5 = -13.280682f;
constexpr float c1 = -0.007784894f, c2 = -0.32239646f, c3 = -2.4007583f, c4 = -2.5497324f, c5 = 4.3746643f,
                c6 = 2.938164f;
constexpr float d1 = 0.007784696f, d2 = 0.32246712f, d3 = 2.4451342f, d4 = 3.7544086f;

float tail_quotient(float q) {
    return (((((c1 * q + c2) * q + c3) * q + c4) * q + c5) * q + c6) / ((((d1 * q + d2) * q + d3) * q + d4) * q + 1.0f);
}

}  // namespace

float invnorm(float p) {
    // Float throughout: a wider evaluation moves the last digit of the tables.
    const float p_low = 0.02425f;
    const float p_high = 1.0f - p_low;
    if (p < p_low) {
        const float q = std::sqrt(-2.0f * std::log(p));
        return tail_quotient(q);
    }
    if (p <= p_high) {
        const float q = p - 0.5f;
        const float r = q * q;
        return (((((a1 * r + a2) * r + a3) * r + a4) * r + a5) * r + a6) * q /
               (((((b1 * r + b2) * r + b3) * r + b4) * r + b5) * r + 1.0f);
    }
    const float q = std::sqrt(-2.0f * std::log(1.0f - p));
    return -tail_quotient(q);
}

void calc_exp_deviates(std::int32_t row_count, PairValues& pair_values) {
    const std::int32_t m = list_rows(pair_values, row_count);
    if (m <= 0) return;
    std::vector<float> keys(static_cast<std::size_t>(m));
    for (std::int32_t k = 1; k <= m; ++k)
        keys[static_cast<std::size_t>(k - 1)] = pair_values[static_cast<std::size_t>(k)].observed_deviate;
    std::vector<std::int32_t> order(static_cast<std::size_t>(m));
    for (std::int32_t k = 0; k < m; ++k) order[static_cast<std::size_t>(k)] = k + 1;
    vorn_math_general::sort_r(keys, m, order);
    // The row in sort position k has rank k: probability (k - 0.5)/m.  Each
    // rank is worked out alone, so consecutive slices go to threads.
    run_slices(1, m, slice_count(m, 16384), [&](std::int32_t, std::int32_t first, std::int32_t last) {
        for (std::int32_t rank = first; rank <= last; ++rank) {
            const float p = (static_cast<float>(rank) - 0.5f) / static_cast<float>(m);
            const auto row = static_cast<std::size_t>(order[static_cast<std::size_t>(rank - 1)]);
            pair_values[row].expected_deviate = invnorm(p);
        }
    });
}

bool linearlsq(std::int32_t row_count, const PairValues& pair_values, std::ostream& out) {
    const std::int32_t m = list_rows(pair_values, row_count);
    // Normal equations of observed = g expected + c.
    float s_ee = 0.0f, s_e = 0.0f, s_ey = 0.0f, s_y = 0.0f;
    std::vector<float> expected(static_cast<std::size_t>(m)), observed(static_cast<std::size_t>(m));
    for (std::int32_t k = 1; k <= m; ++k) {
        const float e = pair_values[static_cast<std::size_t>(k)].expected_deviate;
        const float y = pair_values[static_cast<std::size_t>(k)].observed_deviate;
        s_ee += e * e;
        s_e += e;
        s_ey += e * y;
        s_y += y;
        expected[static_cast<std::size_t>(k - 1)] = e;
        observed[static_cast<std::size_t>(k - 1)] = y;
    }
    const float count = static_cast<float>(m);
    const float det = s_ee * count - s_e * s_e;
    if (m < 2 || !(det != 0.0f) || !std::isfinite(det)) {
        out << too_few_data_notice << '\n';
        return false;
    }
    // Inverse of the normal matrix by its adjugate over the determinant.
    const float inv11 = count / det, inv12 = -s_e / det, inv21 = -s_e / det, inv22 = s_ee / det;
    const float gradient = inv11 * s_ey + inv12 * s_y;
    const float intercept = inv21 * s_ey + inv22 * s_y;
    float r = 0.0f;
    pearsn(expected, observed, m, r);
    out << "Normal probability plot gradient                        = " << format_f(gradient, 8, 4) << '\n';
    out << "Normal probability plot intercept                       = " << format_f(intercept, 8, 4) << '\n';
    out << "Normal probability plot Pearson correlation coefficient = " << format_f(r, 8, 4) << '\n';
    return true;
}

}  // namespace borq
