// Unique reflections of a shell sorted by sin(theta)/lambda: into an array of
// short or long records, or into a list.
#include <algorithm>
#include <cmath>
#include <vector>

#include "maths/math_gen.hpp"
#include "reflections/index_box.hpp"

namespace vorn_reflections_utilities {

namespace {

// The reflections found by the scan, in scan order, and the order in which
// they are delivered.
struct Found {
    std::vector<Reflection> reflections;
    std::vector<std::int32_t> order;  // 1-based positions into reflections
};

// One reflection per class of the shell between the two limits (s values, or
// spacings when limit_kind begins with r or R), at most `capacity`, the first
// met in scan order (h slowest), then ordered by s unless unsorted.  A class
// is taken at the member that the class rule accepts or, for a group outside
// the settings table that the rule does not fit, at its greatest member.
Found gather_unique(const UnitCell& cell, const SpaceGroup& group, bool friedel, float limit_1, float limit_2,
                    std::string_view limit_kind, std::int64_t capacity, std::optional<bool> unsorted) {
    Found found;
    // A limit that is not finite (s or spacing) bounds no shell; tested
    // before the limits are ordered, since min and max with a NaN depend on
    // the order.
    if (!std::isfinite(limit_1) || !std::isfinite(limit_2)) return found;
    float s_low = std::min(limit_1, limit_2), s_high = std::max(limit_1, limit_2);
    if (!limit_kind.empty() && (limit_kind[0] == 'r' || limit_kind[0] == 'R')) {
        if (!(s_low > 0.0f)) return found;  // a spacing of zero or below bounds no shell
        const float d_low = s_low, d_high = s_high;
        s_low = 1.0f / (2.0f * d_high);
        s_high = 1.0f / (2.0f * d_low);
    }
    if (capacity <= 0) return found;
    if (!detail::rule_is_asymmetric_unit(group, asu_rule(group))) {
        found.reflections = detail::class_representatives(cell, group, friedel, s_low, s_high, capacity);
    } else {
        detail::scan_asymmetric_unit(cell, group, s_low, s_high, detail::AxisLetter::as_stored, [&](const Hkl& hkl, float s) {
            found.reflections.push_back({hkl, hkl_multi(hkl, group, friedel), s});
            return static_cast<std::int64_t>(found.reflections.size()) < capacity;
        });
    }
    const auto count = static_cast<std::int32_t>(found.reflections.size());
    found.order.resize(found.reflections.size());
    for (std::int32_t i = 0; i < count; ++i) found.order[static_cast<std::size_t>(i)] = i + 1;
    if (!unsorted.value_or(false) && count > 0) {
        std::vector<float> s_values(found.reflections.size());
        for (std::size_t i = 0; i < s_values.size(); ++i) s_values[i] = found.reflections[i].s;
        vorn_math_general::sort_r(s_values, count, found.order);
    }
    return found;
}

const Reflection& delivered(const Found& found, std::size_t i) {
    return found.reflections[static_cast<std::size_t>(found.order[i] - 1)];
}

}  // namespace

void hkl_uni_reflect(const UnitCell& cell, const SpaceGroup& group, bool friedel, float limit_1, float limit_2,
                     std::string_view limit_kind, std::int32_t& count, std::span<Reflection> reflections,
                     std::optional<bool> unsorted) {
    const Found found = gather_unique(cell, group, friedel, limit_1, limit_2, limit_kind,
                                      static_cast<std::int64_t>(reflections.size()), unsorted);
    count = static_cast<std::int32_t>(found.order.size());
    for (std::size_t i = 0; i < found.order.size(); ++i) reflections[i] = delivered(found, i);
}

void hkl_uni_reflection(const UnitCell& cell, const SpaceGroup& group, bool friedel, float limit_1, float limit_2,
                        std::string_view limit_kind, std::int32_t& count, std::span<ReflectionEntry> reflections,
                        std::optional<bool> unsorted) {
    const Found found = gather_unique(cell, group, friedel, limit_1, limit_2, limit_kind,
                                      static_cast<std::int64_t>(reflections.size()), unsorted);
    count = static_cast<std::int32_t>(found.order.size());
    for (std::size_t i = 0; i < found.order.size(); ++i) {
        const Reflection& r = delivered(found, i);
        reflections[i].hkl = r.hkl;
        reflections[i].multiplicity = r.multiplicity;
        reflections[i].s = r.s;
    }
}

void hkl_uni_refllist(const UnitCell& cell, const SpaceGroup& group, bool friedel, float limit_1, float limit_2,
                      std::string_view limit_kind, std::int32_t max_count, ReflectionList& list,
                      std::optional<bool> unsorted) {
    init_reflist(list);
    const Found found = gather_unique(cell, group, friedel, limit_1, limit_2, limit_kind,
                                      std::max<std::int64_t>(max_count, 0), unsorted);
    list.entries.resize(found.order.size());
    list.reflection_count = static_cast<std::int32_t>(found.order.size());
    for (std::size_t i = 0; i < found.order.size(); ++i) {
        const Reflection& r = delivered(found, i);
        list.entries[i].hkl = r.hkl;
        list.entries[i].multiplicity = r.multiplicity;
        list.entries[i].s = r.s;
    }
}

}  // namespace vorn_reflections_utilities
