// One reflection per class for the groups whose class rule is not their
// asymmetric unit: the Laue group that each class rule is written for, the
// test whether a group's rotations form it, and the scan that takes each
// class at its greatest member.
#include <algorithm>
#include <cmath>

#include "reflections/index_box.hpp"
#include "text/fortran_int.hpp"

namespace vorn_reflections_utilities::detail {

namespace {

using vorn_string_utilities::wrap_neg;

// Rotation matrices written row by row: row i gives coordinate i of the image.
constexpr RotationMatrix rows(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e,
                              std::int32_t f, std::int32_t g, std::int32_t h, std::int32_t i) {
    return RotationMatrix{{{a, b, c}, {d, e, f}, {g, h, i}}};
}

constexpr RotationMatrix identity = rows(1, 0, 0, 0, 1, 0, 0, 0, 1);
constexpr RotationMatrix twofold_a = rows(1, 0, 0, 0, -1, 0, 0, 0, -1);       // x,-y,-z
constexpr RotationMatrix twofold_b = rows(-1, 0, 0, 0, 1, 0, 0, 0, -1);       // -x,y,-z
constexpr RotationMatrix twofold_c = rows(-1, 0, 0, 0, -1, 0, 0, 0, 1);       // -x,-y,z
constexpr RotationMatrix fourfold_c = rows(0, -1, 0, 1, 0, 0, 0, 0, 1);       // -y,x,z
constexpr RotationMatrix threefold_c = rows(0, -1, 0, 1, -1, 0, 0, 0, 1);     // -y,x-y,z (hexagonal axes)
constexpr RotationMatrix sixfold_c = rows(1, -1, 0, 1, 0, 0, 0, 0, 1);        // x-y,x,z
constexpr RotationMatrix twofold_a_plus_b = rows(0, 1, 0, 1, 0, 0, 0, 0, -1);     // y,x,-z
constexpr RotationMatrix twofold_a_minus_b = rows(0, -1, 0, -1, 0, 0, 0, 0, -1);  // -y,-x,-z
constexpr RotationMatrix threefold_body = rows(0, 0, 1, 1, 0, 0, 0, 1, 0);    // z,x,y

RotationMatrix negated(const RotationMatrix& m) {
    RotationMatrix r{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j) r[i][j] = wrap_neg(m[i][j]);
    return r;
}

RotationMatrix product(const RotationMatrix& a, const RotationMatrix& b) {
    RotationMatrix p{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            for (std::size_t k = 0; k < 3; ++k) p[i][j] += a[i][k] * b[k][j];
    return p;
}

// The generators (besides the inversion) of the Laue group, in the setting
// and on the axes its class rule is written for.
std::vector<RotationMatrix> laue_generators(AsuRule rule) {
    switch (rule) {
        case AsuRule::triclinic: return {};
        case AsuRule::monoclinic_a: return {twofold_a};
        case AsuRule::monoclinic_b: return {twofold_b};
        case AsuRule::monoclinic_c: return {twofold_c};
        case AsuRule::orthorhombic: return {twofold_b, twofold_c};
        case AsuRule::tetragonal_4_m: return {fourfold_c};
        case AsuRule::tetragonal_4_mmm: return {fourfold_c, twofold_a};
        case AsuRule::trigonal_3: return {threefold_c};
        case AsuRule::trigonal_3m: return {threefold_c, twofold_a_plus_b};
        case AsuRule::trigonal_31m: return {threefold_c, twofold_a_minus_b};
        case AsuRule::hexagonal_6_m: return {sixfold_c};
        case AsuRule::hexagonal_6_mmm: return {sixfold_c, twofold_a_plus_b};
        case AsuRule::cubic_m3: return {threefold_body, twofold_b, twofold_c};
        case AsuRule::cubic_m3m: return {threefold_body, fourfold_c};
        case AsuRule::rhombohedral_3: return {threefold_body};
        case AsuRule::rhombohedral_3m: return {threefold_body, twofold_a_minus_b};
        case AsuRule::none: break;
    }
    return {};
}

// The Laue group itself: the closure of its generators and the inversion.
std::vector<RotationMatrix> laue_group(AsuRule rule) {
    std::vector<RotationMatrix> group{identity, negated(identity)};
    for (const RotationMatrix& g : laue_generators(rule)) group.push_back(g);
    for (std::size_t a = 0; a < group.size(); ++a)
        for (std::size_t b = 0; b <= a; ++b)
            for (const RotationMatrix& p : {product(group[a], group[b]), product(group[b], group[a])})
                if (std::find(group.begin(), group.end(), p) == group.end()) group.push_back(p);
    return group;
}

// The rotations that form the classes: the identity and the reduced
// rotations of the group, each once up to its sign.
std::vector<RotationMatrix> class_rotations(const SpaceGroup& group) {
    std::vector<RotationMatrix> rotations{identity};
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(group.reduced_count, 0)), group.operators.size());
    for (std::size_t i = 0; i < n; ++i) {
        const RotationMatrix& r = group.operators[i].rot;
        const RotationMatrix minus = negated(r);
        if (std::none_of(rotations.begin(), rotations.end(),
                         [&](const RotationMatrix& s) { return s == r || s == minus; }))
            rotations.push_back(r);
    }
    return rotations;
}

}  // namespace

bool rule_is_asymmetric_unit(const SpaceGroup& group, AsuRule rule) {
    if (group.number >= 1 && group.number <= 230) return true;  // a settings row: its lists as tabulated
    if (rule == AsuRule::none) return false;
    // The rotations up to sign, each with its product by the inversion, must
    // be the rule's Laue group element for element.
    const std::vector<RotationMatrix> laue = laue_group(rule);
    const std::vector<RotationMatrix> rotations = class_rotations(group);
    if (2 * rotations.size() != laue.size()) return false;
    return std::all_of(rotations.begin(), rotations.end(), [&](const RotationMatrix& r) {
        return std::find(laue.begin(), laue.end(), r) != laue.end();
    });
}

std::vector<Reflection> class_representatives(const UnitCell& cell, const SpaceGroup& group, bool friedel,
                                              float s_low, float s_high, std::int64_t capacity) {
    std::vector<Reflection> found;
    std::array<std::int64_t, 3> high{};
    if (capacity <= 0 || !std::isfinite(s_low) || !std::isfinite(s_high) || !upper_bounds(cell, s_high, high))
        return found;
    const OperatorsByRotation operators = gather_operators(group);
    const std::vector<RotationMatrix> rotations = class_rotations(group);
    // hkl stands for its class when no image and no opposite is greater; that
    // member lies in the box whenever it lies in the shell.
    const auto greatest_of_class = [&rotations](const Hkl& hkl) {
        if (Hkl{wrap_neg(hkl[0]), wrap_neg(hkl[1]), wrap_neg(hkl[2])} > hkl) return false;
        for (const RotationMatrix& r : rotations) {
            const Hkl image = hr_i(hkl, r);
            if (image > hkl || Hkl{wrap_neg(image[0]), wrap_neg(image[1]), wrap_neg(image[2])} > hkl) return false;
        }
        return true;
    };
    for (std::int64_t h = -high[0]; h <= high[0]; ++h)
        for (std::int64_t k = -high[1]; k <= high[1]; ++k)
            for (std::int64_t l = -high[2]; l <= high[2]; ++l) {
                const Hkl hkl{static_cast<std::int32_t>(h), static_cast<std::int32_t>(k), static_cast<std::int32_t>(l)};
                if (is_zero_hkl(hkl)) continue;
                const float s = hs_i(hkl, cell);
                if (s > s_high || s < s_low) continue;
                if (!greatest_of_class(hkl) || absent(hkl, operators)) continue;
                found.push_back({hkl, hkl_multi(hkl, group, friedel), s});
                if (static_cast<std::int64_t>(found.size()) >= capacity) return found;
            }
    return found;
}

}  // namespace vorn_reflections_utilities::detail
