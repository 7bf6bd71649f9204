// The box of Miller indices that the reflection generators scan: its upper
// bounds from the cell edges and the outer s limit, its lower bounds from the
// group's Laue class.  Internal to the reflection utilities.
//
// Each class rule with its box is an asymmetric unit only for the Laue group
// it is written for, in that group's orientation (2/m with unique axis b,
// the trigonal classes on hexagonal axes, the others on conventional axes).
// A group outside the settings table whose rotations do not form that Laue
// group (another orientation, rhombohedral axes, twofolds along face
// diagonals, an unknown Laue text) is scanned over the whole box instead, and
// a class (a reflection, its images under the group's rotations and their
// opposites) is taken at its greatest member in the lexicographic order of
// (h, k, l): the choice depends on the class alone, so each class of the
// shell is taken exactly once, at the scan position of that member (with a
// cell that the rotations do not keep, when that member lies in the shell).
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "reflections/reflct_util.hpp"

namespace vorn_reflections_utilities::detail {

// Equal triples, compared in line: the scans test millions of candidates.
inline bool same_hkl(const Hkl& a, const Hkl& b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }
inline bool is_zero_hkl(const Hkl& a) { return a[0] == 0 && a[1] == 0 && a[2] == 0; }

// Bounds are held in 64 bits so that a loop up to a 32-bit bound cannot wrap.
struct IndexBox {
    std::array<std::int64_t, 3> low{};
    std::array<std::int64_t, 3> high{};
};

// h_max = nint(2 a s + 1) and likewise for k and l, each argument a 32-bit
// real.  False when a limit or an edge is not finite or a bound leaves the
// 32-bit range.
bool upper_bounds(const UnitCell& cell, float s_high, std::array<std::int64_t, 3>& high);

// How the unique-axis letter of a monoclinic setting code is read: the
// generator of one class per orbit left-adjusts the first two characters,
// the unique lists take them as stored.
enum class AxisLetter { left_adjusted, as_stored };

// Lower bounds for the class rule of the group: half of the reciprocal space
// that holds the asymmetric unit (the whole box on rhombohedral axes).
std::array<std::int64_t, 3> lower_bounds(const SpaceGroup& group, const std::array<std::int64_t, 3>& high,
                                         AxisLetter reading);

// The operators of a group gathered by rotation (the centring copies share
// the rotation of their operator), for testing the absence of many
// reflections: absent(hkl, gather_operators(group)) == hkl_absenti(hkl, group).
// Each translation carries its components as multiples m/24 of a turn
// (exact false when a component is no such multiple), found once per
// operator rather than once per reflection.
struct ScanTranslation {
    vorn_crystallographic_symmetry::Vector3 t;
    std::array<int, 3> twenty_fourths;
    bool exact;
};
struct OperatorsByRotation {
    std::vector<RotationMatrix> rotations;
    std::vector<std::vector<ScanTranslation>> translations;  // per rotation
};
OperatorsByRotation gather_operators(const SpaceGroup& group);
bool absent(const Hkl& hkl, const OperatorsByRotation& operators);

// The class rule with its box holds exactly one member of each class: always
// for a group of the settings table (number 1 to 230); otherwise when the
// group's rotations together with the inversion are exactly the Laue group
// that the rule is written for.
bool rule_is_asymmetric_unit(const SpaceGroup& group, AsuRule rule);

// For the other groups: the reflections of the shell s_low <= s <= s_high
// that are the greatest member of their class and are not absent, scanned
// over the whole box (h, then k, then l, each upward), at most `capacity`,
// with their multiplicities (Friedel's law as given).  Nothing for a limit
// that is not finite or an index bound beyond 32 bits.  Kept apart from the
// scan below so that the scan of the tabulated groups stays as it is.
std::vector<Reflection> class_representatives(const UnitCell& cell, const SpaceGroup& group, bool friedel,
                                              float s_low, float s_high, std::int64_t capacity);

// The reflections of the shell s_low <= s <= s_high that lie in the
// asymmetric unit of the group and are not absent, in scan order (h, then k,
// then l, each upward); `keep` receives each with its s and answers false
// when no more can be taken.  Nothing for a limit that is not finite or an
// index bound beyond 32 bits.
template <typename Keep>
void scan_asymmetric_unit(const UnitCell& cell, const SpaceGroup& group, float s_low, float s_high, AxisLetter reading,
                          Keep keep) {
    IndexBox box;
    if (!std::isfinite(s_low) || !std::isfinite(s_high) || !upper_bounds(cell, s_high, box.high)) return;
    box.low = lower_bounds(group, box.high, reading);
    const AsuRule rule = asu_rule(group);
    const OperatorsByRotation operators = gather_operators(group);
    for (std::int64_t h = box.low[0]; h <= box.high[0]; ++h)
        for (std::int64_t k = box.low[1]; k <= box.high[1]; ++k)
            for (std::int64_t l = box.low[2]; l <= box.high[2]; ++l) {
                const Hkl hkl{static_cast<std::int32_t>(h), static_cast<std::int32_t>(k), static_cast<std::int32_t>(l)};
                if (is_zero_hkl(hkl)) continue;
                const float s = hs_i(hkl, cell);
                if (s > s_high || s < s_low) continue;
                // Both tests are pure: the cheap asymmetric-unit test first.
                // The class rule returns hkl or its opposite; only hkl is kept.
                if (!same_hkl(asu_hkl(hkl, rule), hkl)) continue;
                if (absent(hkl, operators)) continue;
                if (!keep(hkl, s)) return;
            }
}

}  // namespace vorn_reflections_utilities::detail
