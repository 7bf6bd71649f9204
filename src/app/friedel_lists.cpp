// The two lists of Friedel pairs: quotients Q = (I1 - I2)/(I1 + I2) and
// differences D = I1 - I2, observed and calculated, with the counts of the
// pairs each list rejects.
#include <algorithm>
#include <cmath>
#include <ostream>

#include "app/borq.hpp"
#include "maths/math_gen.hpp"
#include "text/fortran_format.hpp"

namespace borq {

namespace {

using vorn_string_utilities::format_i;

struct ListCounts {
    std::int32_t used = 0;
    std::int32_t omitted = 0;
    std::int32_t i_over_sigma = 0;
    std::int32_t near_zero = 0;
};

// Builds one list; is_quotient chooses the quotient rules (I/sigma threshold
// 3, the near-zero test) or the difference rules (threshold -99).
ListCounts make_list(std::int32_t n_refl, const HklInfo& hkl_info, const FsqData& fsq_data,
                     PairValues& pair_values, PairHkl& pair_hkl, bool is_quotient) {
    const std::int64_t held = std::min(hkl_info.size(), fsq_data.size()) > 0
                                  ? static_cast<std::int64_t>(std::min(hkl_info.size(), fsq_data.size())) - 1
                                  : 0;
    const std::int32_t n = static_cast<std::int32_t>(std::clamp<std::int64_t>(n_refl, 0, held));

    // Room for every linked pair, whatever the caller allocated.
    std::size_t linked = 0;
    for (std::int32_t i = 1; i <= n; ++i)
        if (hkl_info[static_cast<std::size_t>(i)].partner > 0) ++linked;
    const std::size_t rows = std::max({pair_values.size(), pair_hkl.size(), linked + 1});
    pair_values.assign(rows, PairValuesRow{});
    pair_hkl.assign(rows, PairHklRow{});

    ListCounts counts;
    const float threshold = is_quotient ? 3.0f : -99.0f;
    std::vector<char> taken(static_cast<std::size_t>(n) + 1, 0);
    std::int32_t r = 0;
    for (std::int32_t i = 1; i <= n; ++i) {
        const HklInfoRow& first = hkl_info[static_cast<std::size_t>(i)];
        if (taken[static_cast<std::size_t>(i)] || first.partner <= 0 || first.partner > n) continue;
        const std::int32_t j = first.partner;
        taken[static_cast<std::size_t>(i)] = taken[static_cast<std::size_t>(j)] = 1;
        const HklInfoRow& second = hkl_info[static_cast<std::size_t>(j)];

        if (first.omitted == 1 || second.omitted == 1) {
            ++counts.omitted;
            continue;
        }
        const float i1 = fsq_data[static_cast<std::size_t>(i)].fo2, s1 = fsq_data[static_cast<std::size_t>(i)].sigma_fo2;
        const float i2 = fsq_data[static_cast<std::size_t>(j)].fo2, s2 = fsq_data[static_cast<std::size_t>(j)].sigma_fo2;
        const float c1 = fsq_data[static_cast<std::size_t>(i)].fc2, c2 = fsq_data[static_cast<std::size_t>(j)].fc2;

        // Strict tests: a ratio equal to the threshold, or 0/0, fails.  A pair
        // with no uncertainty at all cannot be weighted and fails as well.
        const bool significant = i1 / s1 > threshold && i2 / s2 > threshold && c1 / s1 > threshold &&
                                 c2 / s2 > threshold && !(s1 == 0.0f && s2 == 0.0f);
        if (!significant) {
            ++counts.i_over_sigma;
            continue;
        }
        const float c_sum = c1 + c2;
        const float i_sum = i1 + i2;
        if (is_quotient && (std::fabs(c_sum) < 0.0001f || std::fabs(i_sum) < 0.0001f)) {
            ++counts.near_zero;
            continue;
        }
        PairValuesRow row;
        if (is_quotient) {
            row.single = (c1 - c2) / c_sum;
            row.obs = (i1 - i2) / i_sum;
            row.sigma_obs = quot_error(i1, s1, i2, s2);
        } else {
            row.single = c1 - c2;
            row.obs = i1 - i2;
            row.sigma_obs = std::sqrt(s1 * s1 + s2 * s2);
        }
        // An uncertainty that underflows or overflows cannot weight the pair.
        if (!(row.sigma_obs > 0.0f) || !std::isfinite(row.sigma_obs)) {
            ++counts.i_over_sigma;
            continue;
        }
        row.ratio = std::fabs(row.obs) / row.sigma_obs;
        ++r;
        pair_values[static_cast<std::size_t>(r)] = row;
        pair_hkl[static_cast<std::size_t>(r)] = PairHklRow{first.h, first.k, first.l};
    }
    counts.used = r;

    // Largest |obs|/sigma first: ascending order of the negated ratios.
    if (r > 0) {
        std::vector<float> keys(static_cast<std::size_t>(r));
        for (std::int32_t k = 1; k <= r; ++k) keys[static_cast<std::size_t>(k - 1)] = -pair_values[static_cast<std::size_t>(k)].ratio;
        std::vector<std::int32_t> order(static_cast<std::size_t>(r));
        for (std::int32_t k = 0; k < r; ++k) order[static_cast<std::size_t>(k)] = k + 1;
        vorn_math_general::sort_r(keys, r, order);
        const PairValues old_values(pair_values.begin(), pair_values.begin() + r + 1);
        const PairHkl old_hkl(pair_hkl.begin(), pair_hkl.begin() + r + 1);
        for (std::int32_t k = 1; k <= r; ++k) {
            const auto from = static_cast<std::size_t>(order[static_cast<std::size_t>(k - 1)]);
            pair_values[static_cast<std::size_t>(k)] = old_values[from];
            pair_hkl[static_cast<std::size_t>(k)] = old_hkl[from];
        }
    }
    return counts;
}

}  // namespace

float quot_error(float i1, float s1, float i2, float s2) {
    const float sum = i1 + i2;
    const float a = i2 * s1;
    const float b = i1 * s2;
    return 2.0f / (sum * sum) * std::sqrt(a * a + b * b);
}

void make_q(std::int32_t n_refl, const HklInfo& hkl_info, const FsqData& fsq_data, PairValues& pair_values,
            PairHkl& pair_hkl, std::int32_t& nq, std::ostream& out) {
    const ListCounts counts = make_list(n_refl, hkl_info, fsq_data, pair_values, pair_hkl, true);
    nq = counts.used;
    out << "\nSUMMARY DATA FOR QUOTIENT CALCULATION:\n";
    out << "Number of quotient data to be used in calculations      = " << format_i(nq, 8) << '\n';
    out << "Number of quotients rejected by I/sigma criterion       = " << format_i(counts.i_over_sigma, 8) << '\n';
    out << "Number rejected because 2Aobs or single ~ 0 (expect 0)  = " << format_i(counts.near_zero, 8) << '\n';
    out << "Number omitted from refinement                          = " << format_i(counts.omitted, 8) << '\n';
}

void make_d(std::int32_t n_refl, const HklInfo& hkl_info, const FsqData& fsq_data, PairValues& pair_values,
            PairHkl& pair_hkl, std::int32_t& nd, std::ostream& out) {
    const ListCounts counts = make_list(n_refl, hkl_info, fsq_data, pair_values, pair_hkl, false);
    nd = counts.used;
    out << "\nSUMMARY DATA FOR DIFFERENCE CALCULATION:\n";
    out << "Number of difference data to be used in calculations    = " << format_i(nd, 8) << '\n';
    out << "Number of difference rejected by I/sigma criterion      = " << format_i(counts.i_over_sigma, 8) << '\n';
    out << "Number omitted from refinement                          = " << format_i(counts.omitted, 8) << '\n';
}

}  // namespace borq
