// Full-list route: an operator list that the caller declares complete.  The
// list is kept as given; only the lattice (from its pure translations), the
// centre of symmetry and the crystal system are derived from it.
#include <algorithm>
#include <string>

#include "symmetry/route_operators.hpp"
#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

using namespace route_detail;

constexpr std::size_t max_centring_list = 11;

}  // namespace

void get_so_from_fix(std::int32_t& crystal_system_number, std::int32_t& centre_code, std::int32_t& lattice_index,
                     std::int32_t count, std::span<const RotationMatrix> rotations,
                     std::span<const Vector3> translations, FixedText<2>& bravais_symbol,
                     Vector3& centre_coordinates, char& lat_letter) {
    crystal_system_number = 0;
    centre_code = 1;
    lattice_index = 0;
    centre_coordinates = {0.0f, 0.0f, 0.0f};
    bravais_symbol = "  ";
    lat_letter = ' ';
    const std::size_t n =
        count < 0 ? 0 : std::min({static_cast<std::size_t>(count), rotations.size(), translations.size()});

    // Pure translations name the lattice; the list keeps the first 11 (the
    // lattice state holds 12 translations with the null one).
    std::array<Vector3, max_centring_list> centring{};
    std::int32_t n_centring = 0;
    bool a = false, b = false, c = false, i = false, r = false, z = false;
    for (std::size_t k = 0; k < n; ++k) {
        if (!is_identity_rotation(rotations[k])) continue;
        const std::array<std::int32_t, 3> t = {twelfths_of(translations[k][0]), twelfths_of(translations[k][1]),
                                               twelfths_of(translations[k][2])};
        // The identity, also written with whole cell edges ("x+1,y,z"), is no centring.
        if (twelfths_in_cell(t[0]) == 0 && twelfths_in_cell(t[1]) == 0 && twelfths_in_cell(t[2]) == 0) continue;
        if (static_cast<std::size_t>(n_centring) < max_centring_list)
            centring[static_cast<std::size_t>(n_centring++)] = translations[k];
        std::size_t match = conventional_centrings.size();
        for (std::size_t q = 0; q < conventional_centrings.size() && match == conventional_centrings.size(); ++q)
            if (conventional_centrings[q] == t) match = q;
        if (match == 0) a = true;
        else if (match == 1) b = true;
        else if (match == 2) c = true;
        else if (match == 3) i = true;
        else if (match < conventional_centrings.size()) r = true;
        else z = true;
    }
    lattice_index = lattice_from_flags(a, b, c, i, r, z);
    const char letter = lattice_letters[lattice_index - 1];
    lat_letter = letter;
    if (letter == 'Z') latsym("Z", n_centring, std::span<const Vector3>(centring).first(static_cast<std::size_t>(n_centring)));
    else latsym(std::string_view(&letter, 1));

    // The centre of symmetry, judged modulo the lattice: when some inversion
    // of the list has a lattice translation, the group holds -x,-y,-z and the
    // centre is the origin; otherwise the last inversion places it.
    for (std::size_t k = 0; k < n && centre_code != 2; ++k) {
        if (!is_minus_identity_rotation(rotations[k])) continue;
        const std::array<std::int32_t, 3> t = {twelfths_of(translations[k][0]), twelfths_of(translations[k][1]),
                                               twelfths_of(translations[k][2])};
        if (is_lattice_translation(t)) {
            centre_code = 2;
            centre_coordinates = {0.0f, 0.0f, 0.0f};
        } else {
            centre_code = 0;
            for (int q = 0; q < 3; ++q) centre_coordinates[q] = translations[k][q] / 2.0f;
        }
    }

    char family = ' ';
    get_crystal_system_r_op(count, rotations.first(n), crystal_system_number, family);
    bravais_symbol = std::string{family, letter};
}

}  // namespace vorn_crystallographic_symmetry
