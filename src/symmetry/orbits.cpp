// Orbits of a point, its site multiplicity and occupancy, its stabiliser
// (site-symmetry group) and the suborbits of its orbit under a subgroup.
#include <algorithm>
#include <cmath>

#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

// Operators that a record can hold: its multiplicity, never beyond the array.
std::int32_t usable_operators(const SpaceGroup& group) {
    return std::min<std::int32_t>(group.multiplicity, static_cast<std::int32_t>(max_operators));
}

// Image of a point under operator j, brought into [0,1) in 32-bit arithmetic.
Vector3 image_in_cell(const SpaceGroup& group, std::int32_t j, const Vector3& point) {
    return vorn_math_general::modulo_lat(applyso(at1(group.operators, static_cast<std::size_t>(j)), point));
}

// The orbit points differ by a lattice translation of `lattice_letter`
// (integral only for "P"), each component within epss.
bool same_position(const Vector3& a, const Vector3& b, char lattice_letter) {
    const Vector3 d = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
    return lattice_trans(d, lattice_letter);
}

// Orbit construction shared by get_orbit, get_multip_pos and get_suborbits:
// point 1 is the point as passed; each image that repeats no earlier point
// is appended, with the operator that produced it.
void build_orbit(const Vector3& point, const SpaceGroup& group, char lattice_letter, std::vector<Vector3>& orbit,
                 std::vector<std::int32_t>& producers) {
    orbit.assign(1, point);
    producers.assign(1, 1);
    for (std::int32_t j = 2; j <= usable_operators(group); ++j) {
        const Vector3 y = image_in_cell(group, j, point);
        const bool repeat =
            std::any_of(orbit.begin(), orbit.end(), [&](const Vector3& p) { return same_position(p, y, lattice_letter); });
        if (!repeat) {
            orbit.push_back(y);
            producers.push_back(j);
        }
    }
}

char record_lattice_letter(const SpaceGroup& group) { return group.lattice_letter[0]; }

}  // namespace

void get_orbit(const Vector3& point, const SpaceGroup& group, std::int32_t& mult, std::vector<Vector3>& orbit,
               std::vector<std::int32_t>* op_index, bool conv_lattice, bool centred_range) {
    const char letter = conv_lattice ? record_lattice_letter(group) : 'P';
    std::vector<std::int32_t> producers;
    build_orbit(point, group, letter, orbit, producers);
    mult = static_cast<std::int32_t>(orbit.size());
    if (op_index != nullptr) *op_index = producers;
    if (centred_range) {
        // Once, with the test "0.5 or more": 0.5 becomes -0.5, and a point 1
        // given at 1.5 or beyond stays outside the centred range.
        for (Vector3& p : orbit)
            for (float& c : p)
                if (c >= 0.5f) c -= 1.0f;
    }
}

std::int32_t get_multip_pos(const Vector3& point, const SpaceGroup& group) {
    std::vector<Vector3> orbit;
    std::vector<std::int32_t> producers;
    build_orbit(point, group, record_lattice_letter(group), orbit, producers);
    // Each position distinct modulo the centring lattice stands for
    // centring_count positions of the cell.
    return static_cast<std::int32_t>(orbit.size()) * group.centring_count;
}

float get_occ_site(const Vector3& point, const SpaceGroup& group) {
    // A record without operators has no general multiplicity to divide by.
    if (group.multiplicity <= 0) return 0.0f;
    return static_cast<float>(get_multip_pos(point, group)) / static_cast<float>(group.multiplicity);
}

void get_stabilizer(const Vector3& point, const SpaceGroup& group, std::int32_t& order,
                    std::vector<std::int32_t>& op_index, std::vector<Vector3>& lattice_shift) {
    // Summed absolute deviation allowed between the point and its image.
    constexpr float tolerance = 0.0004f;
    struct Entry {
        Vector3 shift;
        std::int32_t op;
    };
    std::vector<Entry> found;
    for (std::int32_t j = 2; j <= usable_operators(group); ++j) {
        const Vector3 y = applyso(at1(group.operators, static_cast<std::size_t>(j)), point);
        // The only integral translation that can bring the image back onto
        // the point is the nearest integer of point - image; it is kept as a
        // real, so that points far outside the cell lose no operator.  Adding
        // 0 turns a rounded -0 into 0.
        Vector3 shift{};
        bool finite = true;
        for (int c = 0; c < 3; ++c) {
            shift[c] = std::round(point[c] - y[c]) + 0.0f;
            finite = finite && std::isfinite(shift[c]);
        }
        if (!finite) continue;
        float s = 0.0f;
        for (int c = 0; c < 3; ++c) {
            const float d = shift[c] + y[c] - point[c];
            s += std::fabs(d);
        }
        if (s <= tolerance) found.push_back({shift, j});
    }
    // Translations first, then operator numbers: the order in which a search
    // over the translations, the operators innermost, would meet them.
    std::stable_sort(found.begin(), found.end(), [](const Entry& a, const Entry& b) { return a.shift < b.shift; });

    const std::size_t room = static_cast<std::size_t>(std::max<std::int32_t>(group.multiplicity, 1));
    op_index.assign(std::max(room, found.size() + 1), 0);
    lattice_shift.assign(op_index.size(), Vector3{});
    op_index[0] = 1;
    for (std::size_t k = 0; k < found.size(); ++k) {
        op_index[k + 1] = found[k].op;
        lattice_shift[k + 1] = found[k].shift;
    }
    order = static_cast<std::int32_t>(found.size()) + 1;
}

void get_suborbits(const Vector3& point, const SpaceGroup& group, std::span<const std::int32_t> sub_ops,
                   std::int32_t& mult, std::vector<Vector3>& orbit, std::vector<std::int32_t>& suborbit,
                   bool prim_lattice) {
    // Modulo the centring lattice unless told otherwise: the reverse of the
    // default of get_orbit.
    const char letter = prim_lattice ? 'P' : record_lattice_letter(group);
    std::vector<std::int32_t> producers;
    build_orbit(point, group, letter, orbit, producers);
    mult = static_cast<std::int32_t>(orbit.size());

    // The listed operators, up to the end of the list, its first 0, the
    // group's multiplicity or the first number that names no operator.
    const std::int32_t n_ops = usable_operators(group);
    std::vector<std::int32_t> listed;
    for (std::int32_t op : sub_ops) {
        if (op < 1 || op > n_ops || static_cast<std::int32_t>(listed.size()) >= n_ops) break;
        listed.push_back(op);
    }

    suborbit.assign(orbit.size(), 0);
    std::int32_t n = 1;
    for (std::size_t i = 0; i < orbit.size(); ++i) {
        if (suborbit[i] != 0) continue;
        const Vector3 y0 = orbit[i];
        // The images of the suborbit's first point under the listed
        // operators, taken once, without closure.
        for (std::int32_t op : listed) {
            const Vector3 z = image_in_cell(group, op, y0);
            for (std::size_t l = 0; l < orbit.size(); ++l) {
                if (suborbit[l] != 0) continue;
                if (same_position(orbit[l], z, letter)) {
                    suborbit[l] = n;
                    break;
                }
            }
        }
        ++n;
    }
}

}  // namespace vorn_crystallographic_symmetry
