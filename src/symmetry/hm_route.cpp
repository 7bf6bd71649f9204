// Hermann-Mauguin route: the reduced operator list of a space group from the
// characters of its Hermann-Mauguin symbol, by fixed rules per crystal system.
// This file holds the frame of the route, the reading of the symbol into its
// grid and the triclinic, monoclinic and orthorhombic rules; the tetragonal,
// trigonal, hexagonal and cubic rules are in hm_higher.cpp.
#include <cmath>
#include <algorithm>
#include <string>

#include "maths/math_gen.hpp"
#include "symmetry/route_operators.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

using namespace route_detail;

constexpr float half = 0.5f;
constexpr float quarter = 0.25f;

// Lattice index of a Hermann-Mauguin lattice letter (P 1, A 2, B 3, C 4, I 5,
// R 6, F 7), 0 for any other character.
int hm_lattice_index(char c) {
    switch (c) {
        case 'P': return 1;
        case 'A': return 2;
        case 'B': return 3;
        case 'C': return 4;
        case 'I': return 5;
        case 'R': return 6;
        case 'F': return 7;
        default: return 0;
    }
}

// Reads the symbol into the grid: left-adjusted, 20 characters, upper case;
// the first character is the lattice letter, then blank-separated fields of
// up to four characters (a fifth overwrites the fourth, a fourth field the
// third).  A field glued to the lattice letter ("P21/c") is refused, like a
// blank symbol or an unknown lattice letter.
bool read_symbol_grid(std::string_view symbol, HmWork& w) {
    std::string text = vorn_string_utilities::fixed(vorn_string_utilities::trim_both(symbol), 20);
    vorn_string_utilities::ucase(text);
    const std::size_t last = vorn_string_utilities::len_trim(text);
    int field = 0;
    int position = 0;
    bool blank_before = false;
    bool lattice_read = false;
    for (std::size_t i = 0; i < last; ++i) {
        const char c = text[i];
        if (c == ' ') {
            blank_before = true;
            continue;
        }
        if (!lattice_read) {
            if (hm_lattice_index(c) == 0) return false;
            w.lattice = c;
            lattice_read = true;
            blank_before = false;
            continue;
        }
        if (blank_before) {
            field = field < 3 ? field + 1 : 3;
            position = 0;
            blank_before = false;
        } else if (field == 0) {
            return false;
        }
        position = position < 4 ? position + 1 : 4;
        w.grid[static_cast<std::size_t>(field - 1)][static_cast<std::size_t>(position - 1)] = c;
        if (c == '/') w.centric_flag = 0;
    }
    w.fields = field;
    return lattice_read;
}

bool field_holds(const HmWork& w, int d, char c) {
    for (int p = 1; p <= 4; ++p)
        if (w.cell(d, p) == c) return true;
    return false;
}

std::int32_t diagonal_product(const RotationMatrix& r) { return r[0][0] * r[1][1] * r[2][2]; }

// Monoclinic: the identity and one twofold rotation or mirror along the unique
// direction.  False when no direction qualifies ("P 1 1 1", "P 1 2").
bool build_monoclinic(HmWork& w) {
    w.count = 2;
    int k = 0;
    for (int d = 1; d <= 3; ++d)
        if (w.cell(d, 1) != '1') k = d;
    if (k == 0 || w.cell(k, 1) == ' ') return false;
    RotationMatrix r{};
    for (int i = 1; i <= 3; ++i) {
        const bool along = i == k;
        const int v = w.cell(k, 1) == '2' ? (along ? 1 : -1) : (along ? -1 : 1);
        r[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(i - 1)] = v;
    }
    w.rot(2) = r;
    Vector3& t = w.tr(2);
    for (int d = 1; d <= 3; ++d) {
        if (w.cell(d, 1) == '2' && w.cell(d, 2) == '1') t[static_cast<std::size_t>(d - 1)] = half;
        for (int p = 1; p <= 4; ++p) {
            const char c = w.cell(d, p);
            if (c == 'A') t[0] = half;
            if (c == 'B') t[1] = half;
            if (c == 'C') t[2] = half;
            if (c == 'N')
                for (int i = 1; i <= 3; ++i)
                    if (i != d) t[static_cast<std::size_t>(i - 1)] = half;
        }
    }
    return true;
}

// Orthorhombic: operator d+1 belongs to direction d (a, b, c).
void build_orthorhombic(HmWork& w) {
    w.count = 4;
    int e = -1;
    if (w.cell(1, 1) == '2' || w.cell(2, 1) == '2' || w.cell(3, 1) == '2') e = 1;
    if (e == -1) w.centric_flag = 0;  // three planes: the mirrors are the twofolds times the inversion
    for (int d = 1; d <= 3; ++d) {
        const int dd = w.cell(d, 1) == '2' ? -e : e;
        RotationMatrix r{};
        for (int i = 1; i <= 3; ++i)
            r[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(i - 1)] = i == d ? -dd : dd;
        w.rot(d + 1) = r;
    }

    bool d_glide = false;
    for (int d = 1; d <= 3; ++d) {
        Vector3& t = w.tr(d + 1);
        const auto own = static_cast<std::size_t>(d - 1);
        if (w.cell(d, 1) == '2' && w.cell(d, 2) == '1') t[own] = half;
        for (int p = 1; p <= 4; ++p) {
            const char c = w.cell(d, p);
            if (c == 'A') t[0] = half;
            if (c == 'B') t[1] = half;
            if (c == 'C') t[2] = half;
            if (c == 'N')
                for (std::size_t i = 0; i < 3; ++i)
                    if (i != own) t[i] = half;
            if (c == 'D') {
                d_glide = true;
                if (w.centric_flag == 1) {
                    t = {quarter, quarter, quarter};
                } else {
                    for (std::size_t i = 0; i < 3; ++i)
                        if (i != own) t[i] = quarter;
                }
            }
        }
    }
    if (d_glide) return;

    auto near = [](float x, float v) { return std::fabs(x - v) < 0.0002f; };
    if (w.centric_flag == 0) {
        // Each twofold takes along its own axis the glide components of the
        // two other operators; then the origin moves to the inversion centre.
        w.tr(2)[0] = w.tr(3)[0] + w.tr(4)[0];
        w.tr(3)[1] = w.tr(2)[1] + w.tr(4)[1];
        w.tr(4)[2] = w.tr(3)[2] + w.tr(2)[2];
        if (near(w.tr(2)[0], 1.0f)) w.tr(2)[0] = 0.0f;
        if (near(w.tr(3)[1], 1.0f)) w.tr(3)[1] = 0.0f;
        if (near(w.tr(4)[2], 1.0f)) w.tr(4)[2] = 0.0f;

        bool shift = false;
        Vector3 s{quarter, quarter, quarter};
        if (w.lattice != 'P' && w.lattice != 'F') {
            int nm = 0;
            for (int d = 1; d <= 3; ++d)
                if (field_holds(w, d, 'M')) ++nm;
            if (w.lattice == 'I') {
                shift = nm == 2;
            } else {
                const int named = w.lattice == 'A' ? 1 : w.lattice == 'B' ? 2 : 3;
                shift = !(nm == 0 || nm == 3 || field_holds(w, named, 'M'));
                s[static_cast<std::size_t>(named - 1)] = 0.0f;
            }
        }
        if (shift) {
            for (int k = 1; k <= w.count; ++k) {
                const Vector3 rs = rotate(w.rot(k), s);
                Vector3& t = w.tr(k);
                for (std::size_t i = 0; i < 3; ++i) {
                    t[i] = t[i] + (s[i] - rs[i]);
                    if (t[i] > 1.0f) t[i] -= 1.0f;
                    else if (t[i] < 0.0f) t[i] += 1.0f;
                }
            }
        }
        return;
    }

    const bool all_rotations = diagonal_product(w.rot(2)) == 1 && diagonal_product(w.rot(3)) == 1 &&
                               diagonal_product(w.rot(4)) == 1;
    if (all_rotations) {
        // 222 type: place the screw axes so that they do not intersect.
        const float screw_sum = w.tr(2)[0] + w.tr(3)[1] + w.tr(4)[2];
        if (std::fabs(screw_sum) < 0.0002f) return;
        for (int k = 2; k <= 4; ++k) {
            const float own = w.tr(k)[static_cast<std::size_t>(k - 2)];
            if (screw_sum <= 0.5f) {
                if (own >= 0.0002f) {
                    if (k == 2) w.tr(4)[0] = half;
                    if (k == 3) w.tr(2)[1] = half;
                    if (k == 4) w.tr(3)[2] = half;
                }
            } else if (screw_sum <= 1.0f) {
                if (own < 0.000001f) {
                    if (k == 2) { w.tr(3)[2] = half; w.tr(4)[1] = half; }
                    if (k == 3) { w.tr(4)[0] = half; w.tr(2)[2] = half; }
                    if (k == 4) { w.tr(2)[1] = half; w.tr(3)[0] = half; }
                }
            } else {
                if (k == 2) w.tr(2)[1] = half;
                if (k == 3) w.tr(3)[2] = half;
                if (k == 4) w.tr(4)[0] = half;
            }
        }
        return;
    }

    // mm2 type: complete the glide components so that the product of the two
    // planes is the rotation.
    const int r = diagonal_product(w.rot(4)) == 1 ? 3 : diagonal_product(w.rot(3)) == 1 ? 2 : 1;
    const bool mirror_then_n = (w.cell(1, 1) == 'M' && w.cell(2, 1) == 'N') ||
                               (w.cell(2, 1) == 'M' && w.cell(3, 1) == 'N') ||
                               (w.cell(3, 1) == 'M' && w.cell(1, 1) == 'N');
    for (int i = 1; i <= 3; ++i) {
        const auto c = static_cast<std::size_t>(i - 1);
        const float total = w.tr(2)[c] + w.tr(3)[c] + w.tr(4)[c];
        if (near(total, 0.0f) || near(total, 1.0f)) continue;
        if (mirror_then_n) {
            const int k = i == 1 ? 4 : i;
            w.tr(k)[c] = half;
        } else {
            for (int k = 2; k <= 4; ++k)
                if (k != r + 1) w.tr(k)[c] = half;
        }
    }
}

}  // namespace

void mod_trans(std::int32_t count, std::int32_t centric_flag, std::span<Vector3> translations,
               std::int32_t* centre_code) {
    const std::size_t n = count < 0 ? 0 : std::min(static_cast<std::size_t>(count), translations.size());
    for (std::size_t k = 0; k < n; ++k) translations[k] = vorn_math_general::modulo_lat(translations[k]);
    if (centre_code != nullptr) *centre_code = 2 - centric_flag;
}

void get_so_from_hms(std::int32_t& crystal_system_number, std::int32_t& centre_code, std::int32_t& lattice_index,
                     std::int32_t& count, std::span<RotationMatrix> rotations, std::span<Vector3> translations,
                     FixedText<2>& bravais_symbol, std::string_view symbol) {
    init_err_symm();
    crystal_system_number = 0;
    centre_code = 1;
    lattice_index = 0;
    count = 1;
    bravais_symbol = "  ";
    const std::size_t room = std::min({rotations.size(), translations.size(), max_route_operators});
    for (std::size_t k = 0; k < room; ++k) {
        rotations[k] = RotationMatrix{};
        translations[k] = Vector3{};
    }
    const std::string wrong_symbol = " Wrong space-group symbol: " + std::string(symbol);
    if (room < max_route_operators) {
        set_err_symm(" Dimension of Table exceeded (I)");
        return;
    }

    HmWork w;
    for (auto& field : w.grid) field.fill(' ');
    w.rot(1) = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    if (!read_symbol_grid(symbol, w)) {
        set_err_symm(wrong_symbol);
        return;
    }
    lattice_index = hm_lattice_index(w.lattice);
    const std::string lattice(1, w.lattice);

    // Crystal system from the first position that shows a 3 in the second
    // field (cubic) or a 3, 6 or 4 in the first.
    int system = 0;
    for (int p = 1; p <= 4 && system == 0; ++p) {
        if (w.cell(2, p) == '3') system = 7;
        else if (w.cell(1, p) == '3') system = 5;
        else if (w.cell(1, p) == '6') system = 6;
        else if (w.cell(1, p) == '4') system = 4;
    }
    if (system == 0) {
        if (w.fields <= 1) {
            if (w.cell(1, 1) == '1' || w.cell(1, 1) == '-') {
                system = 1;
            } else {
                // Short monoclinic symbol: read "P 21/c" as "P 1 21/c 1".
                system = 2;
                for (std::size_t p = 0; p < 4; ++p) {
                    w.grid[1][p] = w.grid[0][p];
                    w.grid[0][p] = ' ';
                }
                w.grid[0][0] = '1';
                w.grid[2][0] = '1';
            }
        } else {
            system = (w.cell(1, 1) == '1' || w.cell(2, 1) == '1') ? 2 : 3;
        }
    }
    static constexpr char family[] = " amothhc";
    crystal_system_number = system;
    bravais_symbol = system == 6 ? std::string("hP") : std::string(1, family[system]) + lattice;

    // An R lattice has no orthorhombic setting.
    if (system == 3 && w.lattice == 'R') {
        set_err_symm(wrong_symbol);
        return;
    }

    check_symbol_hm(w.grid);
    if (err_symm) return;
    latsym(lattice);

    switch (system) {
        case 1:
            w.count = 1;
            if (w.cell(1, 1) == '-') w.centric_flag = 0;
            break;
        case 2:
            if (!build_monoclinic(w)) {
                set_err_symm(wrong_symbol);
                return;
            }
            break;
        case 3: build_orthorhombic(w); break;
        case 4: build_tetragonal(w); break;
        case 5:
        case 6: build_trigonal_hexagonal(w); break;
        default: build_cubic(w); break;
    }

    // The second generator multiplies the first operators: (M, t0) after g.
    if (w.second_generator) {
        const int n = w.base_count;
        for (int g = 1; g <= n; ++g) {
            w.rot(n + g) = multiply(w.m, w.rot(g));
            const Vector3 mt = rotate(w.m, w.tr(g));
            for (std::size_t i = 0; i < 3; ++i) w.tr(n + g)[i] = mt[i] + w.t0[i];
        }
    }

    count = w.count;
    for (int k = 1; k <= w.count; ++k) {
        rotations[static_cast<std::size_t>(k - 1)] = w.rot(k);
        translations[static_cast<std::size_t>(k - 1)] = w.tr(k);
    }
    mod_trans(count, w.centric_flag, translations, &centre_code);
}

}  // namespace vorn_crystallographic_symmetry
