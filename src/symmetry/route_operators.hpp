// Integer Seitz matrices shared by the construction routes (Hall symbol,
// Hermann-Mauguin symbol, generators, full list).  Internal to the module.
//
// Inside the routes an operator is a 4x4 integer matrix: the rotation in the
// upper 3x3 block, the translation in twelfths of the cell edges in column 4,
// and the last row (0,0,0,1).  Twelfths make every translation of the 230
// space-group types exact, so closure and duplicate tests need no tolerance.
// Storage is 0-based: m[i][j] is row i+1, column j+1.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

#include "symmetry/symmetry.hpp"
#include "text/fortran_int.hpp"

namespace vorn_crystallographic_symmetry::route_detail {

struct Seitz {
    std::array<std::array<std::int32_t, 4>, 4> m{};
};

// The translation brought into 0..11 twelfths.  A proper modulo: values below
// -48 (possible only for user-given translations of several cells) still land
// in 0..11.
inline std::int32_t twelfths_in_cell(std::int32_t t) {
    std::int32_t r = t % 12;
    return r < 0 ? r + 12 : r;
}

// nint(12 t): a fractional translation in twelfths, halves away from zero.
inline std::int32_t twelfths_of(float t) {
    return vorn_string_utilities::nint(12.0 * static_cast<double>(t));
}

inline Seitz seitz_identity() {
    Seitz s;
    for (int i = 0; i < 4; ++i) s.m[i][i] = 1;
    return s;
}

inline Seitz seitz_from(const RotationMatrix& rot, const std::array<std::int32_t, 3>& t) {
    Seitz s;
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) s.m[i][j] = rot[i][j];
        s.m[i][3] = t[i];
    }
    s.m[3][3] = 1;
    return s;
}

inline RotationMatrix rotation_of(const Seitz& s) {
    RotationMatrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = s.m[i][j];
    return r;
}

inline std::array<std::int32_t, 3> translation_of(const Seitz& s) { return {s.m[0][3], s.m[1][3], s.m[2][3]}; }

// a.b (b acts first), the translation brought into 0..11 twelfths.  The
// integer arithmetic wraps around like 32-bit hardware: user-given matrices
// that are no rotations may grow without bound in the closure.  Every Seitz
// matrix is built by seitz_from, seitz_identity or this product, so its last
// row is (0,0,0,1), and so is the product's.
inline Seitz seitz_product(const Seitz& a, const Seitz& b) {
    using vorn_string_utilities::wrap_add;
    using vorn_string_utilities::wrap_mul;
    Seitz p;
    p.m[3][3] = 1;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 4; ++j) {
            std::int32_t s = 0;
            for (int k = 0; k < 4; ++k) s = wrap_add(s, wrap_mul(a.m[i][k], b.m[k][j]));
            p.m[i][j] = s;
        }
    for (int i = 0; i < 3; ++i) p.m[i][3] = twelfths_in_cell(p.m[i][3]);
    return p;
}

inline bool same_seitz(const Seitz& a, const Seitz& b) { return a.m == b.m; }

inline bool same_rotation(const Seitz& a, const Seitz& b) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (a.m[i][j] != b.m[i][j]) return false;
    return true;
}

inline bool is_identity_rotation(const RotationMatrix& r) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (r[i][j] != (i == j ? 1 : 0)) return false;
    return true;
}

inline bool is_minus_identity_rotation(const RotationMatrix& r) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (r[i][j] != (i == j ? -1 : 0)) return false;
    return true;
}

inline bool is_zero_rotation(const RotationMatrix& r) {
    for (const auto& row : r)
        for (std::int32_t v : row)
            if (v != 0) return false;
    return true;
}

// Multiplicative order of an operation from its signed rotation order
// (axes_rotation): the inversion has order 2 and -3 has order 6.
inline std::int32_t multiplicative_order(std::int32_t signed_order) {
    if (signed_order == -1) return 2;
    if (signed_order == -3) return 6;
    return signed_order < 0 ? -signed_order : signed_order;
}

// Lattice index 1..8 of the letters P A B C I R F Z.
inline constexpr char lattice_letters[] = "PABCIRFZ";

// Conventional centring vectors in twelfths, with the flag index they set:
// A, B, C, I, R, R (the two R vectors of the obverse hexagonal setting).
inline constexpr std::array<std::array<std::int32_t, 3>, 6> conventional_centrings = {
    {{0, 6, 6}, {6, 0, 6}, {6, 6, 0}, {6, 6, 6}, {8, 4, 4}, {4, 8, 8}}};

// Centring reduction of a translation in twelfths (each 0..11) by the lattice
// letter: one conventional centring vector is subtracted when the translation
// lies beyond it.  Returns true when the reduced translation is null in the
// components the centring moves: the power stage of the closures then drops
// the operator (it comes back, reduced but not dropped, from the products).
inline bool reduce_by_centring(char letter, std::array<std::int32_t, 3>& t) {
    auto pair_rule = [&t](int a, int b) {
        if (t[a] >= 6 && t[b] >= 6) {
            t[a] -= 6;
            t[b] -= 6;
        }
        return t[a] == 0 && t[b] == 0;
    };
    switch (letter) {
        case 'A': return pair_rule(1, 2);
        case 'B': return pair_rule(0, 2);
        case 'C': return pair_rule(0, 1);
        case 'I':
            if (t[0] >= 6 && t[1] >= 6 && t[2] >= 6)
                for (auto& c : t) c -= 6;
            return t[0] == 0 && t[1] == 0 && t[2] == 0;
        case 'R':
            // Only the obverse centring vectors themselves may be removed:
            // reducing each component modulo 8 or 4 would also subtract
            // (0,0,4) or (0,0,8), which are no lattice translations.
            if (t[0] >= 8 && t[1] >= 4 && t[2] >= 4) {
                t = {t[0] - 8, t[1] - 4, t[2] - 4};
            } else if (t[0] >= 4 && t[1] >= 8 && t[2] >= 8) {
                t = {t[0] - 4, t[1] - 8, t[2] - 8};
            }
            return t[0] == 0 && t[1] == 0 && t[2] == 0;
        case 'F':
            if (t[1] >= 6 && t[2] >= 6) {
                t[1] -= 6;
                t[2] -= 6;
            } else if (t[0] >= 6 && t[2] >= 6) {
                t[0] -= 6;
                t[2] -= 6;
            } else if (t[0] >= 6 && t[1] >= 6) {
                t[0] -= 6;
                t[1] -= 6;
            }
            return t[0] == 0 && t[1] == 0 && t[2] == 0;
        default: return false;  // P and Z: no conventional centring to remove
    }
}

// The translation difference d (twelfths, 0..11) is null or a centring
// vector of the letter.
inline bool is_centring_difference(char letter, const std::array<std::int32_t, 3>& d) {
    using T = std::array<std::int32_t, 3>;
    if (d == T{0, 0, 0}) return true;
    switch (letter) {
        case 'A': return d == T{0, 6, 6};
        case 'B': return d == T{6, 0, 6};
        case 'C': return d == T{6, 6, 0};
        case 'I': return d == T{6, 6, 6};
        case 'R': return d == T{8, 4, 4} || d == T{4, 8, 8};
        case 'F': return d == T{0, 6, 6} || d == T{6, 0, 6} || d == T{6, 6, 0};
        default: return false;  // P and Z: only the same matrix
    }
}

// p duplicates q: the same rotation, and translations that differ by a
// centring vector of the letter (or not at all).  Within a group two
// operators with one rotation always differ by a lattice translation, so
// the test is exact for every table that describes a group.
inline bool centring_duplicate(char letter, const Seitz& p, const Seitz& q) {
    if (!same_rotation(p, q)) return false;
    std::array<std::int32_t, 3> difference{};
    for (int i = 0; i < 3; ++i)
        difference[i] = twelfths_in_cell(vorn_string_utilities::wrap_sub(p.m[i][3], q.m[i][3]));
    return is_centring_difference(letter, difference);
}

// A translation in twelfths (any integers) is a lattice translation of the
// lattice set by latsym: a whole-cell translation plus one of its centring
// vectors (the null one included).  An inversion with such a translation is
// the inversion through the origin followed by a lattice translation.
inline bool is_lattice_translation(const std::array<std::int32_t, 3>& t) {
    const std::int32_t n = std::clamp(nlat, 1, static_cast<std::int32_t>(ltr.size()));
    for (std::size_t j = 0; j < static_cast<std::size_t>(n); ++j) {
        bool same = true;
        for (std::size_t c = 0; c < 3 && same; ++c)
            same = twelfths_in_cell(twelfths_of(ltr[j][c])) == twelfths_in_cell(t[c]);
        if (same) return true;
    }
    return false;
}

// Operator table of the closures: at most 24 Seitz matrices, entry 1 the
// identity.  Each entry keeps a code of its rotation so that the duplicate
// searches compare one integer before the matrices.
struct OperatorTable {
    std::array<Seitz, max_route_operators> ops;
    std::array<std::uint64_t, max_route_operators> codes{};
    std::size_t size = 0;

    static std::uint64_t rotation_code(const Seitz& s) {
        std::uint64_t code = 0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) code = (code << 7) | (static_cast<std::uint64_t>(s.m[i][j]) & 0x7Fu);
        return code;
    }
    bool full() const { return size == ops.size(); }
    void append(const Seitz& s) {
        codes[size] = rotation_code(s);
        ops[size++] = s;
    }
    // An entry equal to s in all sixteen integers.
    bool holds_exactly(const Seitz& s) const {
        const std::uint64_t code = rotation_code(s);
        for (std::size_t k = 0; k < size; ++k)
            if (codes[k] == code && same_seitz(ops[k], s)) return true;
        return false;
    }
    // An entry that s duplicates up to a centring translation of the letter.
    bool holds_centring_image(char letter, const Seitz& s) const {
        const std::uint64_t code = rotation_code(s);
        for (std::size_t k = 0; k < size; ++k)
            if (codes[k] == code && centring_duplicate(letter, s, ops[k])) return true;
        return false;
    }
};

// Closes the table (identity and generators) into the group modulo the
// centring of the letter: first the powers of each generator, then products
// T(i).T(j), j >= i, pass after pass until a pass adds nothing; entries added
// during a pass combine in the next one.  A power that reduces to a centring
// image is dropped (the products bring it back); the running power then keeps
// its reduced translation when keep_reduced_power is set, else the unreduced
// one.  Returns the overflow message, empty on success.
inline std::string_view close_operator_table(OperatorTable& table, std::size_t n_generators, char letter,
                                             bool keep_reduced_power) {
    for (std::size_t g = 1; g <= n_generators; ++g) {
        const Seitz gen = table.ops[g];
        const std::int32_t order = multiplicative_order(axes_rotation(rotation_of(gen)));
        Seitz power = seitz_identity();
        for (std::int32_t k = 1; k < order; ++k) {
            power = seitz_product(power, gen);
            if (table.holds_exactly(power)) continue;
            std::array<std::int32_t, 3> t = translation_of(power);
            const bool dropped = reduce_by_centring(letter, t);
            if (dropped && !keep_reduced_power) continue;
            for (int i = 0; i < 3; ++i) power.m[i][3] = t[i];
            if (dropped || table.holds_centring_image(letter, power)) continue;
            if (table.full()) return " Dimension of Table exceeded (I)";
            table.append(power);
        }
    }
    // A pair of entries that were both present in the previous pass gives
    // again a product that is listed by now, so only pairs with a new entry
    // are formed; the order of the insertions is unchanged.
    for (std::size_t n_pass = table.size, previous = 0;;) {
        const std::size_t before = table.size;
        for (std::size_t i = 0; i < n_pass; ++i)
            for (std::size_t j = std::max(i, previous); j < n_pass; ++j) {
                Seitz product = seitz_product(table.ops[i], table.ops[j]);
                std::array<std::int32_t, 3> t = translation_of(product);
                reduce_by_centring(letter, t);
                for (int c = 0; c < 3; ++c) product.m[c][3] = t[c];
                if (table.holds_centring_image(letter, product)) continue;
                if (table.full()) return " Dimension of Table exceeded (II)";
                table.append(product);
            }
        if (table.size == before) break;
        previous = n_pass;
        n_pass = table.size;
    }
    return {};
}

// Hands the first `size` operators of a closed table back as the routes'
// common outputs: integer rotations, translations in fractions of the cell
// (twelfths / 12 in 32 bits), their count, and the crystal system with the
// two-character Bravais symbol (family letter, then the centring letter).
inline void hand_back_operators(const OperatorTable& table, std::size_t size, char letter, std::int32_t& count,
                                std::span<RotationMatrix> rotations, std::span<Vector3> translations,
                                std::int32_t& crystal_system_number, FixedText<2>& bravais_symbol) {
    count = static_cast<std::int32_t>(size);
    for (std::size_t k = 0; k < size; ++k) {
        rotations[k] = rotation_of(table.ops[k]);
        for (int i = 0; i < 3; ++i) translations[k][i] = static_cast<float>(table.ops[k].m[i][3]) / 12.0f;
    }
    char family = ' ';
    get_crystal_system_r_op(count, rotations.first(size), crystal_system_number, family);
    bravais_symbol = std::string{family, letter};
}

// Lattice index (1..8, P A B C I R F Z) from the conventional centrings
// found among pure translations: two of A, B, C make F; otherwise the last set
// of P, A, B, C, I, then R, F, Z.
std::int32_t lattice_from_flags(bool a, bool b, bool c, bool i, bool r, bool z);

// ---- Working state of the Hermann-Mauguin route -------------------------------
// Shared by the frame (triclinic, monoclinic, orthorhombic rules) and the
// rules of the higher systems.  Operator k is r[k-1], t[k-1].
struct HmWork {
    SymbolGrid grid{};              // upper case, blank cells ' '
    char lattice = ' ';             // P A B C F I R
    int fields = 0;                 // direction fields read, 0..3
    int centric_flag = 1;           // 1 acentric, 0 centric
    int count = 1;                  // operators produced
    std::array<RotationMatrix, max_route_operators> r{};
    std::array<Vector3, max_route_operators> t{};
    bool second_generator = false;  // (m, t0) multiplies operators 1..base_count
    RotationMatrix m{};
    Vector3 t0{};
    int base_count = 0;

    // Cell (direction d, position p) of the grid, both counted from 1.
    char cell(int d, int p) const { return grid[static_cast<std::size_t>(d - 1)][static_cast<std::size_t>(p - 1)]; }
    RotationMatrix& rot(int k) { return r[static_cast<std::size_t>(k - 1)]; }
    Vector3& tr(int k) { return t[static_cast<std::size_t>(k - 1)]; }
};

// Operators of the tetragonal, trigonal/hexagonal and cubic symbols (fill the
// first operators and set up the second generator).
void build_tetragonal(HmWork& w);
void build_trigonal_hexagonal(HmWork& w);
void build_cubic(HmWork& w);

// R.v for an integer matrix and a real vector, in single precision.
inline Vector3 rotate(const RotationMatrix& r, const Vector3& v) {
    Vector3 out{};
    for (int i = 0; i < 3; ++i) {
        float s = 0.0f;
        for (int j = 0; j < 3; ++j) s += static_cast<float>(r[i][j]) * v[j];
        out[i] = s;
    }
    return out;
}

inline RotationMatrix multiply(const RotationMatrix& a, const RotationMatrix& b) {
    RotationMatrix p{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) p[i][j] += a[i][k] * b[k][j];
    return p;
}

// The whole group from a reduced set of m operators: the set, its inversion
// images (centre code 0: through the centre, 2: through the origin), then
// copies of both by the centring translations 2..centring_count.  False when
// the copies would pass the capacity of ops; ops then hold the blocks that
// fit.
bool expand_reduced_set(std::span<const RotationMatrix> rotations, std::span<const Vector3> translations,
                        std::size_t m, std::int32_t centre_code, const Vector3& centre,
                        std::int32_t centring_count, std::span<const Vector3> centring_vectors,
                        std::span<SymmetryOperator> ops, std::size_t& stored);

}  // namespace vorn_crystallographic_symmetry::route_detail
