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

// The values of the pair of rows i and j: the calculated and observed
// quotients (or differences) and the observed one's uncertainty.
PairValuesRow pair_values_of(const FsqData& fsq_data, std::int32_t i, std::int32_t j, bool is_quotient) {
    const FsqDataRow& a = fsq_data[static_cast<std::size_t>(i)];
    const FsqDataRow& b = fsq_data[static_cast<std::size_t>(j)];
    PairValuesRow row;
    if (is_quotient) {
        row.single = (a.fc2 - b.fc2) / (a.fc2 + b.fc2);
        row.obs = (a.fo2 - b.fo2) / (a.fo2 + b.fo2);
        row.sigma_obs = quot_error(a.fo2, a.sigma_fo2, b.fo2, b.sigma_fo2);
    } else {
        row.single = a.fc2 - b.fc2;
        row.obs = a.fo2 - b.fo2;
        row.sigma_obs = std::sqrt(a.sigma_fo2 * a.sigma_fo2 + b.sigma_fo2 * b.sigma_fo2);
    }
    row.ratio = std::fabs(row.obs) / row.sigma_obs;
    return row;
}

// Builds one list; is_quotient chooses the quotient rules (I/sigma threshold
// 3, the near-zero test) or the difference rules (threshold -99).  The pairs
// that pass are found first, with their ratios |obs|/sigma; the list is then
// written once, in the order of the sorted ratios, each row computed again
// by the same formulas (so with the same values), which spares a second copy
// of the list.
ListCounts make_list(std::int32_t n_refl, const HklInfo& hkl_info, const FsqData& fsq_data,
                     PairValues& pair_values, PairHkl& pair_hkl, bool is_quotient) {
    const std::int64_t held = std::min(hkl_info.size(), fsq_data.size()) > 0
                                  ? static_cast<std::int64_t>(std::min(hkl_info.size(), fsq_data.size())) - 1
                                  : 0;
    const std::int32_t n = static_cast<std::int32_t>(std::clamp<std::int64_t>(n_refl, 0, held));

    ListCounts counts;
    const float threshold = is_quotient ? 3.0f : -99.0f;
    std::vector<char> taken(static_cast<std::size_t>(n) + 1, 0);
    std::vector<std::int32_t> first_rows;  // the first mate's row of each pair used
    std::vector<float> keys;               // its -|obs|/sigma
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
        const PairValuesRow row = pair_values_of(fsq_data, i, j, is_quotient);
        // An uncertainty that underflows or overflows cannot weight the pair.
        if (!(row.sigma_obs > 0.0f) || !std::isfinite(row.sigma_obs)) {
            ++counts.i_over_sigma;
            continue;
        }
        first_rows.push_back(i);
        keys.push_back(-row.ratio);
    }
    const auto r = static_cast<std::int32_t>(first_rows.size());
    counts.used = r;
    // Room for every pair used, whatever the caller allocated.
    const std::size_t rows = std::max({pair_values.size(), pair_hkl.size(), static_cast<std::size_t>(r) + 1});
    pair_values.assign(rows, PairValuesRow{});
    pair_hkl.assign(rows, PairHklRow{});
    if (r == 0) return counts;

    // Largest |obs|/sigma first: ascending order of the negated ratios.
    std::vector<std::int32_t> order(static_cast<std::size_t>(r));
    for (std::int32_t k = 0; k < r; ++k) order[static_cast<std::size_t>(k)] = k + 1;
    vorn_math_general::sort_r(keys, r, order);
    // The rows are visited in the order of the ratios, so the tables are
    // read at random: the rows wanted a few steps ahead are fetched early.
    // Each row of the list depends on its pair alone, so consecutive slices
    // of the list are written by threads of their own.
    run_slices(1, r, slice_count(r, 16384), [&](std::int32_t, std::int32_t first_k, std::int32_t last_k) {
        constexpr std::int32_t ahead = 16;
        for (std::int32_t k = first_k; k <= last_k; ++k) {
            if (k + ahead <= last_k) {
                const std::int32_t later = first_rows[static_cast<std::size_t>(order[static_cast<std::size_t>(k + ahead - 1)] - 1)];
                __builtin_prefetch(&hkl_info[static_cast<std::size_t>(later)]);
                __builtin_prefetch(&fsq_data[static_cast<std::size_t>(later)]);
            }
            const std::int32_t i = first_rows[static_cast<std::size_t>(order[static_cast<std::size_t>(k - 1)] - 1)];
            const HklInfoRow& first = hkl_info[static_cast<std::size_t>(i)];
            pair_values[static_cast<std::size_t>(k)] = pair_values_of(fsq_data, i, first.partner, is_quotient);
            pair_hkl[static_cast<std::size_t>(k)] = PairHklRow{first.h, first.k, first.l};
        }
    });
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
