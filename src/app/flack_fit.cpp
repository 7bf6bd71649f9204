// The Flack parameter from one Friedel list: the weighted straight line
// Yo = a Ys through the origin gives x = (1 - a)/2, with its standard
// uncertainty from chi2, and the Pearson coefficient of Yo against Ys.
#include <algorithm>
#include <cmath>
#include <ostream>

#include "app/borq.hpp"
#include "text/fortran_format.hpp"
#include "text/string_util.hpp"

namespace borq {

using vorn_string_utilities::format_f;

void pearsn(const std::vector<float>& x, const std::vector<float>& y, std::int32_t n, float& r) {
    const std::int32_t m = std::clamp<std::int32_t>(n, 0, static_cast<std::int32_t>(std::min(x.size(), y.size())));
    float mean_x = 0.0f, mean_y = 0.0f;
    for (std::int32_t k = 0; k < m; ++k) {
        mean_x += x[static_cast<std::size_t>(k)];
        mean_y += y[static_cast<std::size_t>(k)];
    }
    mean_x /= static_cast<float>(m);
    mean_y /= static_cast<float>(m);
    float sxx = 0.0f, syy = 0.0f, sxy = 0.0f;
    for (std::int32_t k = 0; k < m; ++k) {
        const float dx = x[static_cast<std::size_t>(k)] - mean_x;
        const float dy = y[static_cast<std::size_t>(k)] - mean_y;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
    }
    // The small constant keeps the denominator from being exactly zero.
    const float root = std::sqrt(sxx * syy);
    r = sxy / (root + 1.0e-20f);
}

bool ymx(std::int32_t row_count, PairValues& pair_values, bool is_quotient, std::ostream& out) {
    const std::int32_t m = std::clamp<std::int32_t>(
        row_count, 0, pair_values.empty() ? 0 : static_cast<std::int32_t>(pair_values.size()) - 1);
    const auto row = [&](std::int32_t k) -> PairValuesRow& { return pair_values[static_cast<std::size_t>(k)]; };

    // Weighted sums, weights 1/sigma^2, each rounded to 32 bits.
    float s_ss = 0.0f, s_so = 0.0f;
    for (std::int32_t k = 1; k <= m; ++k) {
        const float ratio = row(k).single / row(k).sigma_obs;
        s_ss += ratio * ratio;
        s_so += row(k).single * row(k).obs / (row(k).sigma_obs * row(k).sigma_obs);
    }
    const float a = s_so / s_ss;
    const float x = (1.0f - a) / 2.0f;

    std::vector<float> deviates(static_cast<std::size_t>(m) + 1, 0.0f);
    float sum_squares = 0.0f;
    for (std::int32_t k = 1; k <= m; ++k) {
        const float d = (row(k).obs - a * row(k).single) / row(k).sigma_obs;
        deviates[static_cast<std::size_t>(k)] = d;
        sum_squares += d * d;
    }
    const float chi2 = m >= 2 ? sum_squares / static_cast<float>(m - 1) : 0.0f;
    const float sigma_x = std::sqrt(chi2 / s_ss) / 2.0f;

    // A fit needs two pairs and finite, non-zero denominators.
    if (m < 2 || !(s_ss > 0.0f) || !std::isfinite(s_ss) || !std::isfinite(a) || !std::isfinite(chi2) ||
        !std::isfinite(sigma_x)) {
        out << too_few_data_notice << '\n';
        return false;
    }
    for (std::int32_t k = 1; k <= m; ++k) row(k).observed_deviate = deviates[static_cast<std::size_t>(k)];

    std::vector<float> ys(static_cast<std::size_t>(m)), yo(static_cast<std::size_t>(m));
    for (std::int32_t k = 1; k <= m; ++k) {
        ys[static_cast<std::size_t>(k - 1)] = row(k).single;
        yo[static_cast<std::size_t>(k - 1)] = row(k).obs;
    }
    float r = 0.0f;
    pearsn(ys, yo, m, r);

    std::string text(80, ' ');
    vorn_string_utilities::setnum_std(x, sigma_x, text);
    const std::string_view value_text = vorn_string_utilities::trim_both(text);

    // The text of a negative x starts one column earlier, with its sign.
    out << (x < 0.0f ? "Flack parameter (and e.s.d.)                            =  "
                     : "Flack parameter (and e.s.d.)                            =   ")
        << value_text << (is_quotient ? "  <--- x(Q)" : "  <--- x(D)") << '\n';
    out << "Value of x with more precision                          = " << format_f(x, 8, 4) << '\n';
    out << "E.S.D. with more precision                              = " << format_f(sigma_x, 8, 4) << '\n';
    out << (is_quotient ? "Chi2 for linear fit of Qobs v Qsingle to calculate x    = "
                        : "Chi2 for linear fit of Dobs v Dsingle to calculate x    = ")
        << format_f(chi2, 8, 4) << '\n';
    out << (is_quotient ? "Pearson correlation coefficient for Qobs and Qsingle    = "
                        : "Pearson correlation coefficient for Dobs and Dsingle    = ")
        << format_f(r, 8, 4) << '\n';
    return true;
}

}  // namespace borq
