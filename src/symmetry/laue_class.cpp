// Classification of a set of operators: Laue class and point group, crystal
// system, centring letter of a list of centring vectors, and the converters
// between the numbers and the symbols of the Laue-class and point-group tables.
#include <algorithm>

#include "symmetry/symmetry.hpp"
#include "tables/sym_table.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace tab = vorn_symmetry_tables;

namespace {

// Number of rotations of each signed order -6..6: counts[order + 6].
struct OrderCounts {
    std::array<std::int32_t, 13> counts{};
    std::int32_t distinct = 0;   // rotations counted
    bool valid = true;           // every rotation is a crystallographic one
    std::int32_t operator()(std::int32_t order) const { return counts[static_cast<std::size_t>(order + 6)]; }
    std::int32_t both(std::int32_t order) const { return (*this)(order) + (*this)(-order); }
};

RotationMatrix negated(const RotationMatrix& m) {
    RotationMatrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = -m[i][j];
    return r;
}

// Counts the orders of the rotations, each rotation once whether or not its
// product with the inversion or a copy with another translation is also in
// the list: a complete operator list (centring copies and inversion images
// included) then counts like the reduced set it contains.
template <class RotationOf>
OrderCounts count_orders(std::size_t n, RotationOf rotation_of) {
    OrderCounts c;
    std::vector<RotationMatrix> seen;
    seen.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const RotationMatrix& r = rotation_of(i);
        const RotationMatrix minus = negated(r);
        if (std::find_if(seen.begin(), seen.end(),
                         [&](const RotationMatrix& s) { return s == r || s == minus; }) != seen.end())
            continue;
        seen.push_back(r);
        const std::int32_t order = axes_rotation(r);
        if (order == 0) c.valid = false;
        ++c.counts[static_cast<std::size_t>(order + 6)];
        ++c.distinct;
    }
    return c;
}

// Rotation matrices written row by row.
constexpr RotationMatrix rows(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, std::int32_t e,
                              std::int32_t f, std::int32_t g, std::int32_t h, std::int32_t i) {
    return RotationMatrix{{{a, b, c}, {d, e, f}, {g, h, i}}};
}

// Twofold axes and mirrors that tell the orientations of the point groups
// apart.  Hexagonal axes: the twofolds along a, b and a+b ((x-y,-y,-z),
// (-x,-x+y,-z), (y,x,-z)) against those along a-b, a+2b, 2a+b
// ((-y,-x,-z), (-x+y,y,-z), (x,x-y,-z)); each mirror is the product of
// such a twofold with the inversion.
constexpr std::array<RotationMatrix, 3> twofolds_along_a = {
    rows(1, -1, 0, 0, -1, 0, 0, 0, -1), rows(-1, 0, 0, -1, 1, 0, 0, 0, -1), rows(0, 1, 0, 1, 0, 0, 0, 0, -1)};
constexpr std::array<RotationMatrix, 3> twofolds_along_a_minus_b = {
    rows(0, -1, 0, -1, 0, 0, 0, 0, -1), rows(-1, 1, 0, 0, 1, 0, 0, 0, -1), rows(1, 0, 0, 1, -1, 0, 0, 0, -1)};
// Cubic axes: the mirrors perpendicular to a and b.
constexpr std::array<RotationMatrix, 2> mirrors_normal_to_a_or_b = {rows(-1, 0, 0, 0, 1, 0, 0, 0, 1),
                                                                     rows(1, 0, 0, 0, -1, 0, 0, 0, 1)};
constexpr RotationMatrix twofold_along_b = rows(-1, 0, 0, 0, 1, 0, 0, 0, -1);
constexpr RotationMatrix twofold_along_a = rows(1, 0, 0, 0, -1, 0, 0, 0, -1);

template <std::size_t N>
bool is_one_of(const RotationMatrix& r, const std::array<RotationMatrix, N>& set) {
    return std::find(set.begin(), set.end(), r) != set.end();
}

// Trigonal groups on hexagonal axes: true when the twofold axes (or the
// normals of the mirrors) run along a-b, a+2b, 2a+b, as in P 3 1 2 and
// P 3 1 m; false for the other orientation (P 3 2 1, P 3 m 1).
bool twofolds_along_a_minus_b_of(const RotationMatrix& twofold_or_mirror) {
    RotationMatrix r = twofold_or_mirror;
    if (axes_rotation(r) == -2) r = negated(r);
    return is_one_of(r, twofolds_along_a_minus_b);
}

}  // namespace

void get_laue_pg(const SpaceGroup& group, FixedText<5>& laue, FixedText<5>& pg) {
    laue = "";
    pg = "";
    init_err_symm();
    if (group.reduced_count <= 0) {
        set_err_symm(" No symmetry operators are given");
        return;
    }
    const std::size_t n = std::min(static_cast<std::size_t>(group.reduced_count), max_operators);
    const OrderCounts N = count_orders(n, [&](std::size_t i) -> const RotationMatrix& { return group.operators[i].rot; });
    if (!N.valid) {
        set_err_symm(" Rotation Not Determined");
        return;
    }
    const std::int32_t nt = N.distinct;
    const bool centric = group.centre_code != 1;

    // The first twofold rotation and the first mirror, in stored order.
    const RotationMatrix* first_twofold = nullptr;
    const RotationMatrix* first_mirror = nullptr;
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t order = axes_rotation(group.operators[i].rot);
        if (order == 2 && first_twofold == nullptr) first_twofold = &group.operators[i].rot;
        if (order == -2 && first_mirror == nullptr) first_mirror = &group.operators[i].rot;
    }

    if (N.both(3) == 8) {  // cubic
        if (nt == 12) {
            pg = centric ? "m-3" : "23";
            laue = "m-3";
        } else if (nt == 24) {
            if (centric) pg = "m-3m";
            else if (N(4) == 6) pg = "432";
            else if (N(-4) == 6) pg = "-43m";
            laue = "m-3m";
        }
    } else if (N.both(6) == 2) {  // hexagonal
        if (nt == 6) {
            if (centric) pg = "6/m";
            else if (N(6) == 2) pg = "6";
            else if (N(-6) == 2) pg = "-6";
            laue = "6/m";
        } else if (nt == 12) {
            if (centric) {
                pg = "6/mmm";
            } else {
                if (N(-6) == 2)
                    pg = first_twofold != nullptr && is_one_of(*first_twofold, twofolds_along_a) ? "-62m" : "-6m2";
                if (N(6) == 2) {
                    if (N(2) == 7) pg = "622";
                    if (N(-2) == 6) pg = "6mm";
                }
            }
            laue = "6/mmm";
        }
    } else if (N.both(3) == 2) {  // trigonal
        if (nt == 3) {
            pg = centric ? "-3" : "3";
            laue = "-3";
        } else if (nt == 6 && !group.hexagonal) {
            if (centric) pg = "-3m";
            else if (N(2) == 3) pg = "32";
            else if (N(-2) == 3) pg = "3m";
            laue = "-3m";
        } else if (nt == 6 && !centric) {
            if (N(2) == 3) {
                const bool along_a_minus_b = first_twofold != nullptr && twofolds_along_a_minus_b_of(*first_twofold);
                pg = along_a_minus_b ? "312" : "32";
                laue = along_a_minus_b ? "-31m" : "-3m";
            }
            if (N(-2) == 3) {
                const bool along_a_minus_b = first_mirror != nullptr && twofolds_along_a_minus_b_of(*first_mirror);
                pg = along_a_minus_b ? "31m" : "3m";
                laue = along_a_minus_b ? "-31m" : "-3m";
            }
        } else if (nt == 6) {
            // The reduced set of a centric group holds either the mirrors or
            // the twofolds (their products with the inversion).
            const RotationMatrix* witness = first_mirror != nullptr ? first_mirror : first_twofold;
            if (witness != nullptr) {
                const bool along_a_minus_b = twofolds_along_a_minus_b_of(*witness);
                pg = along_a_minus_b ? "-31m" : "-3m";
                laue = along_a_minus_b ? "-31m" : "-3m";
            }
        }
    } else if (N.both(4) == 2) {  // tetragonal
        if (nt == 4) {
            if (centric) pg = "4/m";
            else if (N(4) == 2) pg = "4";
            else if (N(-4) == 2) pg = "-4";
            laue = "4/m";
        } else if (nt == 8) {
            if (centric) {
                pg = "4/mmm";
            } else {
                if (N(-4) == 2)
                    pg = first_mirror != nullptr && is_one_of(*first_mirror, mirrors_normal_to_a_or_b) ? "-4m2"
                                                                                                       : "-42m";
                if (N(4) == 2) {
                    if (N(2) == 5) pg = "422";
                    if (N(-2) == 4) pg = "4mm";
                }
            }
            laue = "4/mmm";
        }
    } else if (N.both(2) == 3) {  // orthorhombic
        if (centric) {
            pg = "mmm";
        } else {
            if (N(2) == 3) pg = "222";
            if (N(-2) == 2) {
                if (first_twofold != nullptr && *first_twofold == twofold_along_b) pg = "m2m";
                else if (first_twofold != nullptr && *first_twofold == twofold_along_a) pg = "2mm";
                else pg = "mm2";
            }
        }
        laue = "mmm";
    } else if (N.both(2) == 1) {  // monoclinic
        if (centric) pg = "2/m";
        else if (N(2) == 1) pg = "2";
        else if (N(-2) == 1) pg = "m";
        laue = "2/m";
    } else if (nt == 1) {  // triclinic
        pg = centric ? "-1" : "1";
        laue = "-1";
    }
}

void get_crystal_system_r_op(std::int32_t n, std::span<const RotationMatrix> rotations, std::int32_t& sys_num,
                             char& sys_letter) {
    const std::size_t count = n < 0 ? 0 : std::min(static_cast<std::size_t>(n), rotations.size());
    const OrderCounts N = count_orders(count, [&](std::size_t i) -> const RotationMatrix& { return rotations[i]; });
    if (!N.valid) {
        set_err_symm(" Axes rotation wrong");
        return;
    }
    if (count >= 1 && N.both(3) == 8) { sys_num = 7; sys_letter = 'c'; }
    else if (N.both(6) == 2) { sys_num = 6; sys_letter = 'h'; }
    else if (N.both(3) == 2) { sys_num = 5; sys_letter = 'h'; }
    else if (N.both(4) == 2) { sys_num = 4; sys_letter = 't'; }
    else if (N.both(2) == 3) { sys_num = 3; sys_letter = 'o'; }
    else if (N.both(2) == 1) { sys_num = 2; sys_letter = 'm'; }
    else { sys_num = 1; sys_letter = 'a'; }
}

char get_lattice_type(std::int32_t n, std::span<const Vector3> vectors) {
    if (n <= 0) return 'P';
    if (n > 3) return 'Z';
    bool marked[6] = {false, false, false, false, false, false};  // A B C I R R
    bool any = false;
    const std::size_t count = std::min(static_cast<std::size_t>(n), vectors.size());
    for (std::size_t k = 0; k < count; ++k) {
        std::array<std::int32_t, 3> twelfths{};
        for (int c = 0; c < 3; ++c) twelfths[c] = vorn_string_utilities::nint(12.0f * vectors[k][c]);
        for (std::size_t t = 0; t < conventional_centrings_twelfths.size(); ++t)
            if (twelfths == conventional_centrings_twelfths[t]) {
                marked[t] = true;
                any = true;
                break;
            }
        if (!any) return 'Z';
    }
    const bool a = marked[0], b = marked[1], c = marked[2];
    if ((a && (b || c)) || (b && c)) return 'F';
    char letter = 'P';
    for (std::size_t t = 0; t < 6; ++t)
        if (marked[t]) letter = conventional_centring_letters[t];
    return letter;
}

void get_laue_str(std::int32_t laue_num, FixedText<5>& laue_symbol) {
    init_err_symm();
    if (laue_num < 1 || laue_num > 16) {
        set_err_symm(" Laue Number Incorrect");
        return;
    }
    laue_symbol = tab::laue_class[static_cast<std::size_t>(laue_num)].view();
}

void get_pointgroup_str(std::int32_t pg_num, FixedText<5>& pg_symbol) {
    init_err_symm();
    if (pg_num < 1 || pg_num > 39) {
        set_err_symm(" Point Group Number Incorrect");
        return;
    }
    pg_symbol = tab::point_group[static_cast<std::size_t>(pg_num)].view();
}

std::int32_t get_laue_num(std::string_view symbol) {
    const std::string key = vorn_string_utilities::fixed(vorn_string_utilities::trim_both(symbol), 5);
    for (std::int32_t k = 1; k <= 16; ++k)
        if (tab::laue_class[static_cast<std::size_t>(k)] == key) {
            if (k == 15) return 13;  // "m3", the bar-less spelling of m-3
            if (k == 16) return 14;  // "m3m"
            return k;
        }
    return 0;
}

std::int32_t get_pointgroup_num(std::string_view symbol) {
    const std::string key = vorn_string_utilities::fixed(vorn_string_utilities::trim_both(symbol), 5);
    for (std::int32_t k = 1; k <= 39; ++k)
        if (tab::point_group[static_cast<std::size_t>(k)] == key) return k;
    return 0;
}

}  // namespace vorn_crystallographic_symmetry
