// Setting change between notations: the operators of a built space group
// re-expressed in the Miller-Love, Kovalev, Bradley-Cracknell or Zak setting
// (or back to International Tables) through the setting-equivalence table.
//
// Only the operators and what follows from them (texts, centring, centre of
// symmetry, lattice letter) change; the symbols, Wyckoff positions and
// asymmetric unit stay those of the International Tables setting, and
// setting_type names the notation of the operators.

#include "symmetry/symmetry.hpp"

#include <algorithm>
#include <cmath>
#include <string>

#include "maths/math_gen.hpp"
#include "symmetry/record_counts.hpp"
#include "tables/sym_table.hpp"
#include "text/fortran_int.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

namespace tables = vorn_symmetry_tables;
using vorn_string_utilities::fixed;
using vorn_string_utilities::nint;

// An operator as an augmented 4x4 integer matrix, translation in 1/24.
using Augmented = std::array<std::array<std::int32_t, 4>, 4>;

Augmented identity_augmented() {
    Augmented a{};
    for (std::size_t i = 0; i < 4; ++i) a[i][i] = 1;
    return a;
}

// A translation component in 1/24 units, 0..23.  Beyond two cells the value
// is first brought into [0,1) so that 24.t cannot overflow.
std::int32_t twenty_fourths(float t) {
    float v = t;
    if (std::fabs(v) > 2.0f) v -= std::floor(v);
    return (nint(24.0 * static_cast<double>(v)) + 48) % 24;
}

Augmented augmented(const RotationMatrix& rot, const Vector3& tr) {
    Augmented a = identity_augmented();
    for (std::size_t i = 0; i < 3; ++i) {
        for (std::size_t j = 0; j < 3; ++j) a[i][j] = rot[i][j];
        a[i][3] = twenty_fourths(tr[i]);
    }
    return a;
}

Augmented product(const Augmented& a, const Augmented& b) {
    Augmented c{};
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t j = 0; j < 4; ++j)
            for (std::size_t k = 0; k < 4; ++k) c[i][j] += a[i][k] * b[k][j];
    return c;
}

std::int32_t determinant(const RotationMatrix& r) {
    return r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) - r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
           r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
}

// The table field of a notation code for group `number`; empty for "IT".
std::string_view equivalence_field(std::string_view code, std::int32_t number) {
    const tables::SettingEquivalence& row = tables::system_equiv[static_cast<std::size_t>(number)];
    if (code == "ML") return row.ml.view();
    if (code == "KO") return row.ko.view();
    if (code == "BC") return row.bc.view();
    if (code == "ZA") return row.za.view();
    return {};
}

bool known_code(std::string_view code) {
    return code == "IT" || code == "ML" || code == "KO" || code == "BC" || code == "ZA";
}

constexpr RotationMatrix identity_rotation = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

bool is_identity_rotation(const RotationMatrix& r) { return r == identity_rotation; }

// The centring, lattice and centre fields that the converted operators imply,
// as the generator route of set_spacegroup sets them.
void follow_operators(SpaceGroup& group) {
    const bool centric = group.centre_code == 0 || group.centre_code == 2;
    const std::int32_t block = group.reduced_count * (centric ? 2 : 1);
    const std::int32_t n_centring = group.centring_count;
    if (block < 1 || n_centring < 1 || block * n_centring > group.multiplicity) return;
    for (std::int32_t j = 0; j < n_centring; ++j) {
        const SymmetryOperator& op = at1(group.operators, static_cast<std::size_t>(block * j + 1));
        if (is_identity_rotation(op.rot)) at1(group.centring_vectors, static_cast<std::size_t>(j + 1)) = op.tr;
    }
    const char letter = get_lattice_type(n_centring - 1, std::span<const Vector3>(group.centring_vectors).subspan(1));
    group.lattice_letter = std::string(1, letter);
    group.lattice_symbol.chars[1] = letter;
    constexpr std::string_view letters = "PABCIRFZ";
    const std::size_t index = letters.find(letter);
    if (index != std::string_view::npos) group.bravais_lattice = tables::latt[index + 1];

    if (!centric) return;
    const std::size_t inversion = static_cast<std::size_t>(group.reduced_count) + 1;
    const Vector3 t = at1(group.operators, inversion).tr;
    bool at_origin = false;
    for (std::int32_t j = 0; j < n_centring && !at_origin; ++j) {
        const Vector3& v = group.centring_vectors[static_cast<std::size_t>(j)];
        bool zero = true;
        for (std::size_t c = 0; c < 3; ++c) {
            const float d = t[c] + v[c];
            zero = zero && std::fabs(d - std::round(d)) <= 0.0002f;
        }
        at_origin = zero;
    }
    if (at_origin) {
        group.centre_code = 2;
        group.centre_coordinates = {0.0f, 0.0f, 0.0f};
        group.centrosymmetry_text = "Centric (-1 at origin)";
    } else {
        group.centre_code = 0;
        for (std::size_t c = 0; c < 3; ++c) group.centre_coordinates[c] = t[c] / 2.0f;
        group.centrosymmetry_text =
            "Centric (-1 not at origin)  Gen(-1):" + std::string(at1(group.operator_symbols, inversion).trimmed());
    }
}

}  // namespace

void setting_change(std::string_view from_code, std::string_view to_code, SpaceGroup& group,
                    std::string& trans_text, std::string& back_text) {
    init_err_symm();
    tables::set_system_equiv();
    std::string source = fixed(from_code, 2), target = fixed(to_code, 2);
    const std::size_t trans_width = trans_text.size(), back_width = back_text.size();
    trans_text.assign(trans_width, ' ');
    back_text.assign(back_width, ' ');
    vorn_string_utilities::ucase(source);
    vorn_string_utilities::ucase(target);

    if (source == "  " || target == "  ") return set_err_symm(" Blank Option");
    if (group.number < 1 || group.number > 230) return set_err_symm(" Space Group Not Defined...");

    // Refusals before anything changes.
    const std::string refused = " Setting change refused: ";
    for (const std::string& code : {source, target})
        if (!known_code(code)) return set_err_symm(refused + "unknown code " + code);
    // A record whose counts exceed its arrays (filled by hand, or damaged)
    // is refused whatever the codes: no operator of it can be trusted.
    if (const std::string count = record_counts::count_beyond_arrays(group); !count.empty())
        return set_err_symm(refused + count);
    if (source != target) {
        for (const std::string& code : {source, target}) {
            if (code == "IT") continue;
            RotationMatrix r{};
            Vector3 t{};
            read_xsym(equivalence_field(code, group.number), 1, r, t);
            if (err_symm) return;
            const std::int32_t det = determinant(r);
            if (det != 1 && det != -1)
                return set_err_symm(refused + code + " transformation " +
                                    std::string(vorn_string_utilities::trim_right(
                                        vorn_string_utilities::pack_string(equivalence_field(code, group.number)))) +
                                    " changes the cell volume");
        }
        const auto n = static_cast<std::size_t>(group.multiplicity);
        for (std::size_t k = 0; k < n; ++k)
            for (float c : group.operators[k].tr)
                if (!std::isfinite(c)) return set_err_symm(refused + "operator translation not finite");
    }

    group.setting_type = "Changed from " + source + " to " + target;
    if (source == target) return;

    // The table transformations: P of the source, Q of the target.
    Augmented m = identity_augmented(), m_right = identity_augmented();
    RotationMatrix r{}, inv_r{};
    Vector3 t{}, inv_t{};
    std::string back;
    if (source != "IT") {
        trans_text = fixed(equivalence_field(source, group.number), trans_width);
        read_xsym(trans_text, 1, r, t);
        inverse_symm(r, t, inv_r, inv_t);
        if (err_symm) return;
        m = augmented(inv_r, inv_t);
        m_right = augmented(r, t);
        if (target == "IT") back = get_symsymbi(identity_rotation, t);
    }
    if (target != "IT") {
        trans_text = fixed(equivalence_field(target, group.number), trans_width);
        read_xsym(trans_text, 1, r, t);
        inverse_symm(r, t, inv_r, inv_t);
        if (err_symm) return;
        m = product(augmented(r, t), m);
        m_right = product(m_right, augmented(inv_r, inv_t));
        back = source == "IT" ? get_symsymbi(identity_rotation, inv_t) : get_symsymbi(inv_r, inv_t);
    }
    back_text = fixed(back, back_width);

    const auto n = static_cast<std::size_t>(group.multiplicity);
    for (std::size_t k = 0; k < n; ++k) {
        SymmetryOperator& op = group.operators[k];
        const Augmented w = product(product(m, augmented(op.rot, op.tr)), m_right);
        for (std::size_t i = 0; i < 3; ++i) {
            for (std::size_t j = 0; j < 3; ++j) op.rot[i][j] = w[i][j];
            // mod(w/24 + 10, 1) in 32 bits; whole cells beyond ten are
            // removed exactly first so that the result lies in [0,1).
            std::int32_t twenty_fourths_value = w[i][3];
            if (twenty_fourths_value < -216) twenty_fourths_value += 24 * ((-216 - twenty_fourths_value) / 24 + 1);
            const float shifted = static_cast<float>(twenty_fourths_value) / 24.0f + 10.0f;
            op.tr[i] = shifted - std::trunc(shifted);
        }
        group.operator_symbols[k] = get_symsymbi(op.rot, op.tr);
    }
    follow_operators(group);
}

}  // namespace vorn_crystallographic_symmetry
