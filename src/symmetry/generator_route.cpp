// Generator route: a list of generators closes into the reduced operator list
// of its group.  Pure translations among the generators name the lattice
// centring, an inversion among them the centre of symmetry; the rest is
// closed with translations held in twelfths, modulo the centring.
#include <algorithm>
#include <string>

#include "symmetry/route_operators.hpp"
#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

using namespace route_detail;

constexpr std::size_t max_centring_list = 11;

std::array<std::int32_t, 3> twelfths_vector(const Vector3& t) {
    return {twelfths_of(t[0]), twelfths_of(t[1]), twelfths_of(t[2])};
}

bool is_null(const std::array<std::int32_t, 3>& t) { return t[0] == 0 && t[1] == 0 && t[2] == 0; }

// A translation of whole cell edges ("x+1,y,z") is no centring.
bool is_lattice_vector(const std::array<std::int32_t, 3>& t) {
    return twelfths_in_cell(t[0]) == 0 && twelfths_in_cell(t[1]) == 0 && twelfths_in_cell(t[2]) == 0;
}

// Flags of the conventional centrings found among pure translations.
struct CentringFlags {
    bool a = false, b = false, c = false, i = false, r = false, f = false, z = false;
};

// Sets the flag of the first conventional vector equal to t (twelfths, not
// reduced into the cell), Z when none is.
void flag_centring(const std::array<std::int32_t, 3>& t, CentringFlags& flags) {
    for (std::size_t k = 0; k < conventional_centrings.size(); ++k)
        if (conventional_centrings[k] == t) {
            if (k == 0) flags.a = true;
            if (k == 1) flags.b = true;
            if (k == 2) flags.c = true;
            if (k == 3) flags.i = true;
            if (k >= 4) flags.r = true;
            return;
        }
    flags.z = true;
}

// A crystallographic rotation: determinant +-1 and a finite order among 1, 2,
// 3, 4, 6 (rotoinversions included), i.e. the power of that order is the
// identity.  A shear ("x+y,y,z", trace 3 and determinant 1) passes the trace
// test of axes_rotation but not this one.  The powers wrap like 32-bit
// hardware, since the elements of a user-given matrix are arbitrary.
bool is_crystallographic_rotation(const RotationMatrix& r) {
    using vorn_string_utilities::wrap_add;
    using vorn_string_utilities::wrap_mul;
    const std::int32_t order = multiplicative_order(axes_rotation(r));
    if (order == 0) return false;
    RotationMatrix power = r;
    for (std::int32_t k = 1; k < order; ++k) {
        RotationMatrix next{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int q = 0; q < 3; ++q) next[i][j] = wrap_add(next[i][j], wrap_mul(power[i][q], r[q][j]));
        power = next;
    }
    return is_identity_rotation(power);
}

}  // namespace

namespace route_detail {

// Lattice index from the centring flags: two of A, B, C make F; otherwise the
// last set of P, A, B, C, I, then R, F, Z.
std::int32_t lattice_from_flags(bool a, bool b, bool c, bool i, bool r, bool z) {
    const bool f = (a && (b || c)) || (b && c);
    std::int32_t index = 1;
    if (!f) {
        if (a) index = 2;
        if (b) index = 3;
        if (c) index = 4;
        if (i) index = 5;
    }
    if (r) index = 6;
    if (f) index = 7;
    if (z) index = 8;
    return index;
}

}  // namespace route_detail

namespace {

// The generators as the route works on them: the caller's arrays and the
// number of entries in use.  A dropped generator becomes the zero operator
// (zero rotation and translation) until the list is compacted.
struct GeneratorList {
    std::span<RotationMatrix> rotations;
    std::span<Vector3> translations;
    std::size_t n;

    // Neither dropped, nor a pure translation, nor an inversion.
    bool ordinary(std::size_t k) const {
        return !is_zero_rotation(rotations[k]) && !is_identity_rotation(rotations[k]) &&
               !is_minus_identity_rotation(rotations[k]);
    }
    void drop(std::size_t k) {
        rotations[k] = RotationMatrix{};
        translations[k] = Vector3{};
    }
};

// Pairs of generators with equal or opposite rotations leave a pure
// translation or an inversion; later pairs see the replaced generators.
void pair_generators(GeneratorList& list) {
    for (std::size_t i = 0; i < list.n; ++i) {
        if (!list.ordinary(i)) continue;
        for (std::size_t j = i + 1; j < list.n; ++j) {
            if (!list.ordinary(j) || !list.ordinary(i)) continue;
            const auto ti = twelfths_vector(list.translations[i]);
            const auto tj = twelfths_vector(list.translations[j]);
            RotationMatrix negated = list.rotations[i];
            for (auto& row : negated)
                for (auto& v : row) v = -v;
            if (list.rotations[j] == list.rotations[i]) {
                std::array<std::int32_t, 3> d{};
                for (int c = 0; c < 3; ++c) d[c] = twelfths_in_cell(vorn_string_utilities::wrap_sub(tj[c], ti[c]));
                if (is_null(d)) {
                    list.drop(j);
                } else {
                    list.rotations[j] = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
                    for (int c = 0; c < 3; ++c) list.translations[j][c] = static_cast<float>(d[c]) / 12.0f;
                }
            } else if (list.rotations[j] == negated) {
                list.rotations[j] = {{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}};
                for (int c = 0; c < 3; ++c)
                    list.translations[j][c] =
                        static_cast<float>(twelfths_in_cell(vorn_string_utilities::wrap_add(ti[c], tj[c]))) / 12.0f;
            }
        }
    }
}

// Pure translations name the centring: they leave the list, the lattice is
// decided from the conventional vectors they match, and the module's lattice
// state is set (an unconventional list closed first).  The list holds at
// most 11 of them (12 with the null one); further ones still name the
// lattice.  Returns the lattice index.
std::int32_t take_centring(GeneratorList& list) {
    std::array<Vector3, max_centring_list> centring{};
    std::int32_t n_centring = 0;
    CentringFlags flags;
    for (std::size_t k = 0; k < list.n; ++k) {
        if (!is_identity_rotation(list.rotations[k])) continue;
        const auto t = twelfths_vector(list.translations[k]);
        if (!is_lattice_vector(t)) {
            if (static_cast<std::size_t>(n_centring) < max_centring_list)
                centring[static_cast<std::size_t>(n_centring++)] = list.translations[k];
            flag_centring(t, flags);
        }
        list.drop(k);
    }
    const std::int32_t lattice_index = lattice_from_flags(flags.a, flags.b, flags.c, flags.i, flags.r, flags.z);
    const char letter = lattice_letters[lattice_index - 1];
    if (letter == 'Z') {
        get_centring_vectors(n_centring, centring);
        latsym("Z", n_centring, centring);
    } else {
        latsym(std::string_view(&letter, 1));
    }
    return lattice_index;
}

// Inversions among the generators: the centre of symmetry, judged modulo
// the lattice.  An inversion whose translation is a lattice translation
// is -x,-y,-z itself up to that translation: the centre is at the origin.
void take_inversions(GeneratorList& list, std::int32_t& centre_code, Vector3& centre_coordinates) {
    for (std::size_t k = 0; k < list.n; ++k) {
        if (!is_minus_identity_rotation(list.rotations[k])) continue;
        if (centre_code != 2) {
            if (is_lattice_translation(twelfths_vector(list.translations[k]))) {
                centre_code = 2;
                centre_coordinates = {0.0f, 0.0f, 0.0f};
            } else {
                centre_code = 0;
                for (int c = 0; c < 3; ++c) centre_coordinates[c] = list.translations[k][c] / 2.0f;
            }
        }
        list.drop(k);
    }
}

// The remaining generators, in order.
void compact_generators(GeneratorList& list) {
    std::size_t kept = 0;
    for (std::size_t k = 0; k < list.n; ++k)
        if (!is_zero_rotation(list.rotations[k])) {
            list.rotations[kept] = list.rotations[k];
            list.translations[kept] = list.translations[k];
            ++kept;
        }
    list.n = kept;
}

// The identity and the generators (translations brought into the cell),
// closed into the group modulo the centring.  Returns the overflow message,
// empty on success.
std::string_view close_generators(const GeneratorList& list, char letter, OperatorTable& table) {
    table.append(seitz_identity());
    for (std::size_t k = 0; k < list.n; ++k) {
        if (table.full()) return " Dimension of Table exceeded (I)";
        auto t = twelfths_vector(list.translations[k]);
        for (auto& c : t) c = twelfths_in_cell(c);
        table.append(seitz_from(list.rotations[k], t));
    }
    return close_operator_table(table, list.n, letter, true);
}

// An inversion that arose from the products: keep one operator of each
// pair {g, -1.g}, in table order, and take the centre from it when no
// inversion was given.  Returns the size of the reduced list.
std::size_t keep_one_of_inversion_pairs(OperatorTable& table, char letter, std::int32_t& centre_code,
                                        Vector3& centre_coordinates) {
    const std::size_t size = table.size;
    std::size_t inversion = size;
    for (std::size_t k = 0; k < size && inversion == size; ++k)
        if (is_minus_identity_rotation(rotation_of(table.ops[k]))) inversion = k;
    if (inversion == size) return size;
    const Seitz inv = table.ops[inversion];
    std::array<Seitz, max_route_operators> kept_ops;
    std::size_t n_kept = 0;
    for (std::size_t k = 0; k < size; ++k) {
        const Seitz partner = seitz_product(inv, table.ops[k]);
        bool partner_kept = false;
        for (std::size_t q = 0; q < n_kept && !partner_kept; ++q)
            partner_kept = centring_duplicate(letter, partner, kept_ops[q]);
        if (!partner_kept) kept_ops[n_kept++] = table.ops[k];
    }
    for (std::size_t k = 0; k < n_kept; ++k) table.ops[k] = kept_ops[k];
    if (centre_code == 1) {
        const auto t = translation_of(inv);
        if (is_lattice_translation(t)) {
            centre_code = 2;
        } else {
            centre_code = 0;
            for (int c = 0; c < 3; ++c) centre_coordinates[c] = static_cast<float>(t[c]) / 12.0f / 2.0f;
        }
    }
    return n_kept;
}

}  // namespace

void get_so_from_gener(std::int32_t& crystal_system_number, std::int32_t& centre_code, std::int32_t& lattice_index,
                       std::int32_t& count, std::span<RotationMatrix> rotations, std::span<Vector3> translations,
                       FixedText<2>& bravais_symbol, Vector3& centre_coordinates, std::int32_t& generator_count,
                       char& lat_letter) {
    crystal_system_number = 0;
    centre_code = 1;
    lattice_index = 0;
    centre_coordinates = {0.0f, 0.0f, 0.0f};
    bravais_symbol = "  ";
    lat_letter = ' ';
    GeneratorList list{rotations, translations,
                       count < 0 ? 0 : std::min({static_cast<std::size_t>(count), rotations.size(), translations.size()})};

    pair_generators(list);
    lattice_index = take_centring(list);
    const char letter = lattice_letters[lattice_index - 1];
    lat_letter = letter;
    take_inversions(list, centre_code, centre_coordinates);
    compact_generators(list);
    generator_count = static_cast<std::int32_t>(list.n);

    // A matrix of no finite order has powers and products that never close:
    // such generators describe no space group.
    for (std::size_t k = 0; k < list.n; ++k)
        if (!is_crystallographic_rotation(rotations[k])) {
            set_err_symm(" The generators do not form a space group");
            return;
        }

    OperatorTable table;
    if (const std::string_view overflow = close_generators(list, letter, table); !overflow.empty()) {
        set_err_symm(overflow);
        return;
    }
    const std::size_t size = keep_one_of_inversion_pairs(table, letter, centre_code, centre_coordinates);
    hand_back_operators(table, size, letter, count, rotations, translations, crystal_system_number, bravais_symbol);
}

}  // namespace vorn_crystallographic_symmetry
