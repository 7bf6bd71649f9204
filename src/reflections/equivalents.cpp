// Equivalent reflections under a space group: equivalence, multiplicity, the
// list of equivalents, systematic absence and the phase of an image.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "reflections/index_box.hpp"
#include "text/fortran_int.hpp"

namespace vorn_reflections_utilities {

namespace {

using vorn_crystallographic_symmetry::at1;
using vorn_crystallographic_symmetry::Vector3;
using vorn_string_utilities::wrap_neg;

// Tolerance on the phase shift h.t of the absence test, and on a
// translation taken as a multiple of 1/24, a 32-bit constant like the index
// tolerance of hkl_equalr.
constexpr float absence_tolerance = 0.0002f;

Hkl opposite(const Hkl& h) { return {wrap_neg(h[0]), wrap_neg(h[1]), wrap_neg(h[2])}; }
HklReal opposite(const HklReal& h) { return {-h[0], -h[1], -h[2]}; }

bool same(const Hkl& a, const Hkl& b) { return a[0] == b[0] && a[1] == b[1] && a[2] == b[2]; }
bool same(const HklReal& a, const HklReal& b) { return hkl_equalr(a, b); }

// The row vector h R, in line (hr_i with its 32-bit wrap-around).
Hkl image(const Hkl& h, const RotationMatrix& rot) {
    using vorn_string_utilities::wrap_add;
    using vorn_string_utilities::wrap_mul;
    Hkl g{};
    for (int j = 0; j < 3; ++j)
        g[j] = wrap_add(wrap_add(wrap_mul(h[0], rot[0][j]), wrap_mul(h[1], rot[1][j])), wrap_mul(h[2], rot[2][j]));
    return g;
}
HklReal image(const HklReal& h, const RotationMatrix& rot) { return hr_r(h, rot); }

// Whether h.R = h, component by component: most operators fail at the first.
// The sums are taken modulo 2^64, where the true difference h.R - h (below
// 2^64 in size for 32-bit entries) is zero only when it is zero: a 32-bit
// wrap-around would let -h pass for h when a component is -2^31.
bool kept(const Hkl& h, const RotationMatrix& rot) {
    const auto wide = [](std::int32_t v) { return static_cast<std::uint64_t>(static_cast<std::int64_t>(v)); };
    for (int j = 0; j < 3; ++j)
        if (wide(h[0]) * wide(rot[0][j]) + wide(h[1]) * wide(rot[1][j]) + wide(h[2]) * wide(rot[2][j]) != wide(h[j]))
            return false;
    return true;
}
bool kept(const HklReal& h, const RotationMatrix& rot) { return hkl_equalr(hr_r(h, rot), h); }

bool is_zero(const Hkl& h) { return h == Hkl{0, 0, 0}; }
bool is_zero(const HklReal& h) { return h[0] == 0.0f && h[1] == 0.0f && h[2] == 0.0f; }

// A centric group: the inversion images follow the reduced operators, with
// the centre at the origin (code 2) or off it (code 0) alike.
bool centric_group(const SpaceGroup& group) { return group.centre_code == 2 || group.centre_code == 0; }

// Number of stored operators that may be read: at most the record's room.
std::int32_t stored(std::int64_t n) {
    constexpr auto room = static_cast<std::int64_t>(vorn_crystallographic_symmetry::max_operators);
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(n, 0, room));
}

template <typename Triple>
bool equivalent(const Triple& hkl, const Triple& hkl2, const SpaceGroup& group, bool friedel) {
    const std::int32_t n = stored(static_cast<std::int64_t>(centric_group(group) ? 2 : 1) * group.reduced_count);
    for (std::int32_t i = 1; i <= n; ++i) {
        const Triple g = image(hkl, at1(group.operators, static_cast<std::size_t>(i)).rot);
        if (same(hkl2, g)) return true;
        if (friedel && same(hkl2, opposite(g))) return true;
    }
    return false;
}

// The images of hkl under the reduced set, no two equal or opposite, in order
// of first appearance (operator 1 taken as the identity), and whether the
// list is doubled by its opposites: with Friedel's law, in a centric group,
// or for a reflection h != 0 that a reduced rotation sends to -h.
template <typename Triple>
struct ImageList {  // at most one entry per stored operator
    std::array<Triple, vorn_crystallographic_symmetry::max_operators> items;
    std::size_t count = 0;
    const Triple* begin() const { return items.data(); }
    const Triple* end() const { return items.data() + count; }
    std::size_t size() const { return count; }
    void push_back(const Triple& t) { items[count++] = t; }
    const Triple& operator[](std::size_t j) const { return items[j]; }
};

template <typename Triple>
bool images_up_to_sign(const Triple& hkl, const SpaceGroup& group, bool friedel, ImageList<Triple>& list) {
    list.count = 0;
    list.push_back(hkl);
    const Triple minus = opposite(hkl);
    bool centric_reflection = false;
    const std::int32_t n = stored(group.reduced_count);
    for (std::int32_t i = 2; i <= n; ++i) {
        const Triple g = image(hkl, at1(group.operators, static_cast<std::size_t>(i)).rot);
        if (same(g, minus)) centric_reflection = true;
        const Triple minus_g = opposite(g);
        const bool repeat = std::any_of(list.begin(), list.end(),
                                        [&](const Triple& e) { return same(g, e) || same(minus_g, e); });
        if (!repeat) list.push_back(g);
    }
    return friedel || centric_group(group) || (centric_reflection && !is_zero(hkl));
}

template <typename Triple>
std::int32_t multiplicity_of(const Triple& hkl, const SpaceGroup& group, bool friedel) {
    ImageList<Triple> list;
    const bool doubled = images_up_to_sign(hkl, group, friedel, list);
    const auto count = static_cast<std::int32_t>(list.size());
    return doubled ? 2 * count : count;
}

template <typename Triple>
void equivalents_list(const Triple& hkl, const SpaceGroup& group, bool friedel, std::int32_t& mult,
                      std::span<Triple> equivalents) {
    const std::size_t room = static_cast<std::size_t>(2 * std::max(stored(group.reduced_count), 1));
    std::fill_n(equivalents.begin(), std::min(equivalents.size(), room), Triple{});
    ImageList<Triple> list;
    const bool doubled = images_up_to_sign(hkl, group, friedel, list);
    const std::size_t count = list.size();
    for (std::size_t j = 0; j < count; ++j) {
        if (j < equivalents.size()) equivalents[j] = list[j];
        if (doubled && count + j < equivalents.size()) equivalents[count + j] = opposite(list[j]);
    }
    mult = static_cast<std::int32_t>(doubled ? 2 * count : count);
}

// The phase shift h.t of an operator, summed as 32-bit reals.
float phase_shift(const Hkl& hkl, const Vector3& t) {
    float r = static_cast<float>(hkl[0]) * t[0];
    r += static_cast<float>(hkl[1]) * t[1];
    r += static_cast<float>(hkl[2]) * t[2];
    return r;
}
float phase_shift(const HklReal& hkl, const Vector3& t) {
    float r = hkl[0] * t[0];
    r += hkl[1] * t[1];
    r += hkl[2] * t[2];
    return r;
}

// A 32-bit real phase shift r is off a whole number of turns by more than the
// tolerance.  The nearest whole number is taken in real arithmetic: beyond
// 2^23 every 32-bit real is whole, where a 32-bit nearest integer would
// saturate at 2^31 and find r millions of turns off.  An infinite shift is
// off, a NaN is not.
bool off_whole_turn(float r) {
    if (std::isinf(r)) return true;
    return std::fabs(r - std::round(r)) > absence_tolerance;
}

// A translation component as its multiple m/24 of a turn, whole turns
// dropped (m in 0..23), when it lies within the tolerance of one; -1 when it
// does not.  Every translation of a space group (halves, thirds, quarters,
// sixths, eighths, twelfths) is such a multiple.
int twenty_fourths(float t) {
    if (t == 0.0f) return 0;  // the most frequent component, taken at once
    if (!std::isfinite(t)) return -1;
    const double turn = static_cast<double>(t) - std::floor(static_cast<double>(t));  // exact, in [0, 1)
    const double m = std::round(24.0 * turn);
    if (std::fabs(turn - m / 24.0) > static_cast<double>(absence_tolerance)) return -1;
    return static_cast<int>(m) % 24;
}

// A translation with its components as multiples of 1/24 (see ScanTranslation).
detail::ScanTranslation scan_translation(const Vector3& t) {
    detail::ScanTranslation scan{t, {0, 0, 0}, true};
    for (std::size_t i = 0; i < 3 && scan.exact; ++i) {
        scan.twenty_fourths[i] = twenty_fourths(t[i]);
        scan.exact = scan.twenty_fourths[i] >= 0;
    }
    return scan;
}

// The phase shift h.t of an operator that keeps h is not a whole number of
// turns.  With integer indices and every component of t a multiple m/24 the
// shift is (h1 m1 + h2 m2 + h3 m3)/24, decided exactly on a 64-bit sum
// (below 2^38 in size), so that no index is too large for the test; any
// other translation, and real indices, are judged on the 32-bit real shift.
bool phase_forbids(const Hkl& hkl, const detail::ScanTranslation& scan) {
    if (!scan.exact) return off_whole_turn(phase_shift(hkl, scan.t));
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < 3; ++i) sum += static_cast<std::int64_t>(hkl[i]) * scan.twenty_fourths[i];
    return sum % 24 != 0;
}
bool phase_forbids(const Hkl& hkl, const Vector3& t) { return phase_forbids(hkl, scan_translation(t)); }
bool phase_forbids(const HklReal& hkl, const Vector3& t) { return off_whole_turn(phase_shift(hkl, t)); }

template <typename Triple>
bool absent(const Triple& hkl, const SpaceGroup& group) {
    const std::int32_t n = stored(group.multiplicity);
    for (std::int32_t i = 1; i <= n; ++i) {
        const auto& op = at1(group.operators, static_cast<std::size_t>(i));
        if (kept(hkl, op.rot) && phase_forbids(hkl, op.tr)) return true;
    }
    return false;
}

// phase - 360 h.t brought into [0, 360): ten turns are added first, as 32-bit
// reals, then the remainder is taken towards minus infinity so that a shift
// beyond ten turns still lands in [0, 360).
template <typename Triple>
void image_with_phase(const Triple& hkl, float phase, const SymmetryOperator& op, Triple& hkl_new, float& phase_new) {
    hkl_new = image(hkl, op.rot);
    const float p = phase - 360.0f * phase_shift(hkl, op.tr);
    const float q = p + 3600.0f;
    float r = std::fmod(q, 360.0f);
    if (r < 0.0f) r += 360.0f;
    if (!(r < 360.0f) && std::isfinite(r)) r = 0.0f;  // a remainder just below 0 that rounds up to 360
    phase_new = r;
}

}  // namespace

namespace detail {

OperatorsByRotation gather_operators(const SpaceGroup& group) {
    OperatorsByRotation gathered;
    const std::int32_t n = stored(group.multiplicity);
    for (std::int32_t i = 1; i <= n; ++i) {
        const SymmetryOperator& op = at1(group.operators, static_cast<std::size_t>(i));
        const auto found = std::find(gathered.rotations.begin(), gathered.rotations.end(), op.rot);
        if (found == gathered.rotations.end()) {
            gathered.rotations.push_back(op.rot);
            gathered.translations.push_back({scan_translation(op.tr)});
        } else {
            gathered.translations[static_cast<std::size_t>(found - gathered.rotations.begin())].push_back(
                scan_translation(op.tr));
        }
    }
    return gathered;
}

bool absent(const Hkl& hkl, const OperatorsByRotation& operators) {
    for (std::size_t r = 0; r < operators.rotations.size(); ++r) {
        if (!kept(hkl, operators.rotations[r])) continue;
        for (const auto& t : operators.translations[r])
            if (phase_forbids(hkl, t)) return true;
    }
    return false;
}

}  // namespace detail

HklReal hr_r(const HklReal& hkl, const RotationMatrix& rot) {
    HklReal result{};
    for (int j = 0; j < 3; ++j) {
        float sum = 0.0f;
        for (int i = 0; i < 3; ++i) sum += hkl[i] * static_cast<float>(rot[i][j]);
        result[j] = sum;
    }
    return result;
}

bool hkl_equivi(const Hkl& hkl, const Hkl& hkl2, const SpaceGroup& group, bool friedel) {
    return equivalent(hkl, hkl2, group, friedel);
}
bool hkl_equivr(const HklReal& hkl, const HklReal& hkl2, const SpaceGroup& group, bool friedel) {
    return equivalent(hkl, hkl2, group, friedel);
}

std::int32_t hkl_multi(const Hkl& hkl, const SpaceGroup& group, bool friedel) {
    return multiplicity_of(hkl, group, friedel);
}
std::int32_t hkl_multr(const HklReal& hkl, const SpaceGroup& group, bool friedel) {
    return multiplicity_of(hkl, group, friedel);
}

void hkl_equiv_listi(const Hkl& hkl, const SpaceGroup& group, bool friedel, std::int32_t& mult,
                     std::span<Hkl> equivalents) {
    equivalents_list(hkl, group, friedel, mult, equivalents);
}
void hkl_equiv_listr(const HklReal& hkl, const SpaceGroup& group, bool friedel, std::int32_t& mult,
                     std::span<HklReal> equivalents) {
    equivalents_list(hkl, group, friedel, mult, equivalents);
}

bool hkl_absenti(const Hkl& hkl, const SpaceGroup& group) { return absent(hkl, group); }
bool hkl_absentr(const HklReal& hkl, const SpaceGroup& group) { return absent(hkl, group); }

void hkl_rpi(const Hkl& hkl, float phase, const SymmetryOperator& op, Hkl& hkl_new, float& phase_new) {
    image_with_phase(hkl, phase, op, hkl_new, phase_new);
}
void hkl_rpr(const HklReal& hkl, float phase, const SymmetryOperator& op, HklReal& hkl_new, float& phase_new) {
    image_with_phase(hkl, phase, op, hkl_new, phase_new);
}

}  // namespace vorn_reflections_utilities
