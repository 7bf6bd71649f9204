// Wyckoff orbits: a special position given by one representative triplet
// ("x,1/4,1/4") expands into its orbit under the operators of the group stored
// before the centring copies; images that differ by a centring translation
// are the same position of the orbit.
#include <cmath>
#include <string>

#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"
#include "text/fixed_text.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

// Two constant parts whose texts surely differ: some component of each lies
// on a multiple of 1/24 (well within the tolerance of the fraction writer),
// and the two multiples differ.  Saves writing texts that cannot be equal.
bool different_fraction_texts(const Vector3& a, const Vector3& b) {
    for (int c = 0; c < 3; ++c) {
        const float na = std::nearbyint(24.0f * a[c]);
        const float nb = std::nearbyint(24.0f * b[c]);
        if (na != nb && std::fabs(24.0f * a[c] - na) < 1.0e-4f && std::fabs(24.0f * b[c] - nb) < 1.0e-4f)
            return true;
    }
    return false;
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

    // Positions listed so far, as the writer spells them: entry 1 may be
    // spelt otherwise in the table and must still be recognised.  Equal
    // texts need equal coefficient matrices (the writer is one-to-one on
    // them), so a text is written only for a candidate whose matrix is
    // already listed, or that joins the orbit.
    struct Listed {
        RotationMatrix m;
        Vector3 p;
        FixedText<40> text;
    };
    std::array<Listed, 48> listed_positions;
    listed_positions[0] = {w_int, vorn_math_general::modulo_lat(w), FixedText<40>()};
    listed_positions[0].text = get_symsymbr(w_real, listed_positions[0].p);
    auto real_of = [](const RotationMatrix& m) {
        RealMatrix r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) r[i][j] = static_cast<float>(m[i][j]);
        return r;
    };
    auto is_listed = [&](const RotationMatrix& m, const Vector3& p) {
        bool text_written = false;
        FixedText<40> text;
        for (std::int32_t k = 0; k < n_orbit; ++k) {
            const Listed& entry = listed_positions[static_cast<std::size_t>(k)];
            if (entry.m != m) continue;
            if (entry.p == p) return true;
            if (different_fraction_texts(entry.p, p)) continue;
            if (!text_written) {
                text = get_symsymbr(real_of(m), p);
                text_written = true;
            }
            if (entry.text == text) return true;
        }
        return false;
    };

    const std::int32_t n = group.centring_count > 0 ? group.multiplicity / group.centring_count : 0;
    for (std::int32_t k = 2; k <= n && k <= static_cast<std::int32_t>(max_operators); ++k) {
        const SymmetryOperator& op = group.operators[static_cast<std::size_t>(k - 1)];
        RotationMatrix m{};
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
        Listed& entry = listed_positions[static_cast<std::size_t>(n_orbit)];
        entry = {m, p, FixedText<40>(get_symsymbr(real_of(m), p))};
        orbit_texts[static_cast<std::size_t>(n_orbit)] = entry.text;
        ++n_orbit;
    }
}

}  // namespace vorn_crystallographic_symmetry
