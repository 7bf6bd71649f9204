// The counts of a space-group record that procedures use as array bounds.
// A record filled by hand can hold any values there; procedures that index
// the record's arrays by them refuse the record first.
#pragma once

#include <string>

#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry::record_counts {

// The name and value of the first count out of range ("centring_count 40"),
// or an empty text when all fit: centring_count 1..12, reduced_count and
// multiplicity 0..192.
inline std::string count_beyond_arrays(const SpaceGroup& group) {
    constexpr auto operator_room = static_cast<std::int32_t>(max_operators);
    const struct { const char* name; std::int32_t value, low, high; } counts[] = {
        {"centring_count", group.centring_count, 1, static_cast<std::int32_t>(max_centrings)},
        {"reduced_count", group.reduced_count, 0, operator_room},
        {"multiplicity", group.multiplicity, 0, operator_room},
    };
    for (const auto& c : counts)
        if (c.value < c.low || c.value > c.high) return std::string(c.name) + " " + std::to_string(c.value);
    return {};
}

}  // namespace vorn_crystallographic_symmetry::record_counts
