// Generation of the reflections of a shell of sin(theta)/lambda: the estimate
// of their number, one reflection per class of the asymmetric unit in scan
// order, and every reflection of an index box.
#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "reflections/index_box.hpp"
#include "text/fortran_int.hpp"

namespace vorn_reflections_utilities {

namespace detail {

bool upper_bounds(const UnitCell& cell, float s_high, std::array<std::int64_t, 3>& high) {
    for (std::size_t i = 0; i < 3; ++i) {
        const float argument = 2.0f * cell.edges[i] * s_high + 1.0f;
        if (!vorn_string_utilities::fits_int32(argument)) return false;
        high[i] = vorn_string_utilities::nint(argument);
    }
    return true;
}

std::array<std::int64_t, 3> lower_bounds(const SpaceGroup& group, const std::array<std::int64_t, 3>& high,
                                         AxisLetter reading) {
    const std::int64_t h = -high[0], k = -high[1], l = -high[2];
    switch (asu_rule(group)) {
        case AsuRule::rhombohedral_3:
        case AsuRule::rhombohedral_3m:
            return {h, k, l};
        case AsuRule::trigonal_31m:  // by number or by Laue text alike
            return {0, 0, l};
        default:
            break;
    }
    const std::int32_t n = group.number;
    if (n <= 2 || n > 230) return {h, k, 0};
    if (n <= 15) {
        const std::string_view code = group.setting_choice.view();
        char first = code[0], second = code[1];
        if (reading == AxisLetter::left_adjusted && first == ' ') {
            first = second;
            second = ' ';
        }
        const char letter = first == '-' ? second : first;
        return letter == 'a' ? std::array<std::int64_t, 3>{0, k, 0} : std::array<std::int64_t, 3>{h, 0, 0};
    }
    if (n >= 143 && n <= 148) return {0, k, 0};
    return {0, 0, 0};
}

}  // namespace detail

namespace {

using detail::IndexBox;

// A permutation of 1, 2, 3: entry 3 the outermost loop, entry 1 the innermost.
bool is_permutation(const std::array<std::int32_t, 3>& order) {
    std::array<bool, 3> seen{};
    for (std::int32_t v : order) {
        if (v < 1 || v > 3 || seen[static_cast<std::size_t>(v - 1)]) return false;
        seen[static_cast<std::size_t>(v - 1)] = true;
    }
    return true;
}

// Every reflection of the shell s_min <= s <= s_max that is not absent, over
// the box of index_limits or of s_max, in the loop order; `keep` receives
// each one and answers false when no more can be taken.
template <typename Keep>
void scan_sxtal_box(const UnitCell& cell, const SpaceGroup& group, float s_min, float s_max,
                    const std::optional<std::array<std::int32_t, 3>>& loop_order,
                    const std::optional<IndexLimits>& index_limits, Keep keep) {
    const std::array<std::int32_t, 3> order = loop_order.value_or(std::array<std::int32_t, 3>{3, 2, 1});
    if (!is_permutation(order) || !std::isfinite(s_min) || !std::isfinite(s_max)) return;
    IndexBox box;
    if (index_limits) {
        for (std::size_t i = 0; i < 3; ++i) {
            box.low[i] = (*index_limits)[i][0];
            box.high[i] = (*index_limits)[i][1];
        }
    } else {
        if (!detail::upper_bounds(cell, s_max, box.high)) return;
        for (std::size_t i = 0; i < 3; ++i) box.low[i] = -box.high[i];
    }
    const detail::OperatorsByRotation operators = detail::gather_operators(group);
    const auto outer = static_cast<std::size_t>(order[2] - 1), middle = static_cast<std::size_t>(order[1] - 1),
               inner = static_cast<std::size_t>(order[0] - 1);
    std::array<std::int64_t, 3> index{};
    for (index[outer] = box.low[outer]; index[outer] <= box.high[outer]; ++index[outer])
        for (index[middle] = box.low[middle]; index[middle] <= box.high[middle]; ++index[middle])
            for (index[inner] = box.low[inner]; index[inner] <= box.high[inner]; ++index[inner]) {
                const Hkl hkl{static_cast<std::int32_t>(index[0]), static_cast<std::int32_t>(index[1]),
                              static_cast<std::int32_t>(index[2])};
                if (detail::is_zero_hkl(hkl)) continue;
                const float s = hs_i(hkl, cell);
                if (s > s_max || s < s_min) continue;
                if (detail::absent(hkl, operators)) continue;
                if (!keep(hkl, s)) return;
            }
}

}  // namespace

std::int32_t get_maxnumref(float s_max, float cell_volume, std::optional<float> s_min,
                           std::optional<std::int32_t> multiplicity) {
    const double high = static_cast<double>(s_max), factor = static_cast<double>(1.05f);
    double shells = 8.0 * factor * high * high * high;
    if (s_min) {
        const double low = static_cast<double>(*s_min);
        shells -= 8.0 * low * low * low;
    }
    const double n = 4.0 * std::numbers::pi / 3.0 * static_cast<double>(cell_volume) * shells;
    if (std::isnan(n)) return 0;
    // Formed in 64 bits and clamped into 32 bits: a large cell or shell
    // saturates instead of wrapping (the bound leaves room for 2 N).
    constexpr double limit = 4.0e18;
    std::int64_t count = static_cast<std::int64_t>(std::trunc(std::clamp(n, -limit, limit)));
    if (multiplicity) count = 2 * count / std::max<std::int64_t>(1, *multiplicity);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(count, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

void hkl_gen(const UnitCell& cell, const SpaceGroup& group, bool friedel, float s_limit_1, float s_limit_2,
             std::int32_t& count, std::span<Reflection> reflections) {
    count = 0;
    // A limit that is not finite bounds no shell; tested before the limits
    // are ordered, since min and max with a NaN depend on the order.
    if (!std::isfinite(s_limit_1) || !std::isfinite(s_limit_2)) return;
    const float s_low = std::min(s_limit_1, s_limit_2), s_high = std::max(s_limit_1, s_limit_2);
    const std::size_t capacity = reflections.size();
    if (capacity == 0) return;
    if (!detail::rule_is_asymmetric_unit(group, asu_rule(group))) {
        const std::vector<Reflection> found =
            detail::class_representatives(cell, group, friedel, s_low, s_high, static_cast<std::int64_t>(capacity));
        std::copy(found.begin(), found.end(), reflections.begin());
        count = static_cast<std::int32_t>(found.size());
        return;
    }
    detail::scan_asymmetric_unit(cell, group, s_low, s_high, detail::AxisLetter::left_adjusted, [&](const Hkl& hkl, float s) {
        reflections[static_cast<std::size_t>(count++)] = {hkl, hkl_multi(hkl, group, friedel), s};
        return static_cast<std::size_t>(count) < capacity;
    });
}

void hkl_gen_sxtal_reflection(const UnitCell& cell, const SpaceGroup& group, float s_min, float s_max,
                              std::int32_t& count, std::span<Reflection> reflections,
                              std::optional<std::array<std::int32_t, 3>> loop_order,
                              std::optional<IndexLimits> index_limits) {
    count = 0;
    const std::size_t capacity = reflections.size();
    if (capacity == 0) return;
    scan_sxtal_box(cell, group, s_min, s_max, loop_order, index_limits, [&](const Hkl& hkl, float s) {
        reflections[static_cast<std::size_t>(count++)] = {hkl, hkl_multi(hkl, group, false), s};
        return static_cast<std::size_t>(count) < capacity;
    });
}

void hkl_gen_sxtal_list(const UnitCell& cell, const SpaceGroup& group, float s_min, float s_max,
                        std::int32_t& count, ReflectionList& list,
                        std::optional<std::array<std::int32_t, 3>> loop_order,
                        std::optional<IndexLimits> index_limits) {
    init_reflist(list);
    count = 0;
    // The capacity is the size of the s_max box, in 64 bits; the entries grow
    // with what is found instead of being allocated for the whole box.
    std::array<std::int64_t, 3> high{};
    if (!std::isfinite(s_max) || !detail::upper_bounds(cell, s_max, high)) return;
    const double box = static_cast<double>(2 * high[0] + 1) * static_cast<double>(2 * high[1] + 1) *
                       static_cast<double>(2 * high[2] + 1);
    constexpr auto most = std::numeric_limits<std::int32_t>::max();
    const std::int64_t capacity = box >= most ? most : static_cast<std::int64_t>(box);
    if (capacity <= 0) return;
    scan_sxtal_box(cell, group, s_min, s_max, loop_order, index_limits, [&](const Hkl& hkl, float s) {
        ReflectionEntry entry;
        entry.hkl = hkl;
        entry.multiplicity = hkl_multi(hkl, group, false);
        entry.s = s;
        list.entries.push_back(entry);
        return static_cast<std::int64_t>(list.entries.size()) < capacity;
    });
    count = static_cast<std::int32_t>(list.entries.size());
    list.reflection_count = count;
}

}  // namespace vorn_reflections_utilities
