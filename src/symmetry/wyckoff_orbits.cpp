// Wyckoff orbits: a special position given by one representative triplet
// ("x,1/4,1/4") expands into its orbit under the operators of the group stored
// before the centring copies; images that differ by a centring translation
// are the same position of the orbit.
#include <cmath>
#include <optional>
#include <string>

#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"
#include "text/fixed_text.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

// The constant part of a position, with the nearest multiple of 1/24 of each
// component (in 24ths) and whether the component lies on it, well within the
// tolerance of the fraction writer.
struct ConstantPart {
    Vector3 value{};
    std::array<float, 3> twenty_fourths{};
    std::array<bool, 3> on_grid{};
};

ConstantPart constant_part(const Vector3& value) {
    ConstantPart part;
    part.value = value;
    for (int c = 0; c < 3; ++c) {
        part.twenty_fourths[c] = std::nearbyint(24.0f * value[c]);
        part.on_grid[c] = std::fabs(24.0f * value[c] - part.twenty_fourths[c]) < 1.0e-4f;
    }
    return part;
}

// Two constant parts whose texts surely differ: some component of each lies
// on a multiple of 1/24, and the two multiples differ.  Saves writing texts
// that cannot be equal.
bool different_fraction_texts(const ConstantPart& a, const ConstantPart& b) {
    for (int c = 0; c < 3; ++c)
        if (a.twenty_fourths[c] != b.twenty_fourths[c] && a.on_grid[c] && b.on_grid[c]) return true;
    return false;
}

// Equal coefficient matrices, compared element by element.
bool same_matrix(const RotationMatrix& a, const RotationMatrix& b) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (a[i][j] != b[i][j]) return false;
    return true;
}

}  // namespace

void wyckoff_orbit(const SpaceGroup& group, std::string_view rep_text, std::int32_t& n_orbit,
                   std::array<FixedText<40>, 48>& orbit_texts) {
    for (auto& text : orbit_texts) text = "";
    n_orbit = 0;
    const std::string_view representative = vorn_string_utilities::trim_both(rep_text);
    if (representative.empty()) return;
    n_orbit = 1;
    orbit_texts[0] = representative;

    // W, w: the coefficients and the constants of the triplet.  Its matrix is
    // singular, which the reader would report as an error; here it is none.
    RotationMatrix w_int{};
    Vector3 w{};
    read_xsym(rep_text, 1, w_int, w);
    err_symm = false;
    RealMatrix w_real{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) w_real[i][j] = static_cast<float>(w_int[i][j]);

    // Positions listed so far: coefficient matrix, constant part and the
    // text as the writer spells it.  Entry 1 may be spelt otherwise in the
    // table and must still be recognised, so its written text is kept apart;
    // the texts of the later entries are those stored in the orbit.  Equal
    // texts need equal coefficient matrices (the writer is one-to-one on
    // them), so a text is written only for a candidate whose matrix is
    // already listed, or that joins the orbit.
    std::array<RotationMatrix, 48> listed_matrices;
    std::array<ConstantPart, 48> listed_constants;
    listed_matrices[0] = w_int;
    listed_constants[0] = constant_part(vorn_math_general::modulo_lat(w));
    const FixedText<40> first_text(get_symsymbr(w_real, listed_constants[0].value));
    auto listed_text = [&](std::size_t k) -> const FixedText<40>& { return k == 0 ? first_text : orbit_texts[k]; };
    auto real_of = [](const RotationMatrix& m) {
        RealMatrix r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) r[i][j] = static_cast<float>(m[i][j]);
        return r;
    };
    auto is_listed = [&](const RotationMatrix& m, const Vector3& p) {
        bool text_written = false;
        FixedText<40> text;
        std::optional<ConstantPart> candidate;
        for (std::size_t k = 0; k < static_cast<std::size_t>(n_orbit); ++k) {
            if (!same_matrix(listed_matrices[k], m)) continue;
            if (listed_constants[k].value == p) return true;
            if (!candidate) candidate = constant_part(p);
            if (different_fraction_texts(listed_constants[k], *candidate)) continue;
            if (!text_written) {
                text = get_symsymbr(real_of(m), p);
                text_written = true;
            }
            if (listed_text(k).chars == text.chars) return true;
        }
        return false;
    };

    const bool fixed_point = same_matrix(w_int, RotationMatrix{});
    const std::int32_t n = group.centring_count > 0 ? group.multiplicity / group.centring_count : 0;
    for (std::int32_t k = 2; k <= n && k <= static_cast<std::int32_t>(max_operators); ++k) {
        const SymmetryOperator& op = group.operators[static_cast<std::size_t>(k - 1)];
        // Coefficients of the image; a fixed point (no free coordinate) keeps
        // the zero matrix in every image.
        RotationMatrix m{};
        if (!fixed_point)
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j)
                    for (int q = 0; q < 3; ++q) m[i][j] += op.rot[i][q] * w_int[q][j];
        const Vector3 p = vorn_math_general::modulo_lat(applyso(op, w));
        if (is_listed(m, p)) continue;
        bool centring_image = false;
        for (std::int32_t l = 2; l <= group.centring_count && !centring_image; ++l) {
            const Vector3& v = group.centring_vectors[static_cast<std::size_t>(l - 1)];
            Vector3 shifted{};
            for (int c = 0; c < 3; ++c) shifted[c] = p[c] + v[c];
            centring_image = is_listed(m, vorn_math_general::modulo_lat(shifted));
        }
        if (centring_image) continue;
        if (n_orbit == static_cast<std::int32_t>(orbit_texts.size())) break;
        const auto next = static_cast<std::size_t>(n_orbit);
        listed_matrices[next] = m;
        listed_constants[next] = constant_part(p);
        orbit_texts[next] = get_symsymbr(real_of(m), p);
        ++n_orbit;
    }
}

}  // namespace vorn_crystallographic_symmetry
