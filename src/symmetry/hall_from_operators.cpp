// The Hall symbol of a built space group, derived from its reduced
// operators, and its look-up among the tabulated settings: how a group built
// from generators (a group in a new cell, a subgroup) gets its number and
// names back.
//
// The derivation keeps the operators whose rotation is a Hall matrix (or its
// negative), orders them by falling rotation order, names each one's axis
// and translation symbols, chooses at most four of them as the terms of the
// symbol and writes the terms in the order of Hall notation.  The symbol is
// stored only when it builds the record's operator set again: the letters
// cannot express every origin, and the default axes can drop a diagonal
// twofold, so an unchecked text could name another group.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "maths/math_gen.hpp"
#include "symmetry/hall_derivation_detail.hpp"
#include "symmetry/symmetry.hpp"
#include "symmetry/hall_matrices.hpp"
#include "symmetry/route_operators.hpp"
#include "symmetry/settings_row_fields.hpp"
#include "tables/sym_table.hpp"
#include "text/fortran_format.hpp"
#include "text/fortran_int.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace hall_derivation_detail {

namespace {

using namespace hall_matrices;
using vorn_string_utilities::wrap_add;
using vorn_string_utilities::wrap_sub;

// Centring translations in twelfths, one per column of the Hall convention:
// A, B, C, I, and the two of R (obverse, hexagonal axes).
constexpr std::array<Twelfths, 6> lattice = {{{0, 6, 6}, {6, 0, 6}, {6, 6, 0}, {6, 6, 6}, {8, 4, 4}, {4, 8, 8}}};

// Translation symbols and their translations in twelfths, in the order they
// are tried: the first that fits wins, so (6,6,6) is "n", not "abc".  The
// digits close the table but are never tried.
constexpr std::array<char, 13> traslacion = {'N', 'A', 'B', 'C', 'D', 'U', 'V', 'W', '1', '2', '3', '4', '5'};
constexpr std::array<Twelfths, 13> tras_val = {{{6, 6, 6}, {6, 0, 0}, {0, 6, 0}, {0, 0, 6}, {3, 3, 3},
                                                {3, 0, 0}, {0, 3, 0}, {0, 0, 3}, {1, 0, 0}, {2, 0, 0},
                                                {3, 0, 0}, {4, 0, 0}, {5, 0, 0}}};
constexpr std::size_t letters_tried = 8;

// The zero rotation marks an operator left out by the filter.
constexpr RotationMatrix nulo{};

// The 19 Hall matrices; the filter also accepts their negatives.
constexpr std::array<RotationMatrix, 19> hall_set = {x_2,  y_2,  z_2,  x_3,   y_3,   z_3,   x_4,
                                                     y_4,  z_4,  x_6,  y_6,   z_6,   x_2p,  y_2p,
                                                     z_2p, x_2pp, y_2pp, z_2pp, xyz_3};

// Axis symbol (and, for a face diagonal, the edge it leaves out) of each
// Hall matrix, by rotation order; a rotoinversion or a reflection is matched
// by the negative and takes the same symbols.
struct AxisEntry {
    RotationMatrix matrix;
    char axis;
    char direction;
};
constexpr std::array<AxisEntry, 9> twofold_axes = {{{x_2, 'x', ' '}, {y_2, 'y', ' '}, {z_2, 'z', ' '},
                                                    {x_2p, '\'', 'x'}, {y_2p, '\'', 'y'}, {z_2p, '\'', 'z'},
                                                    {x_2pp, '"', 'x'}, {y_2pp, '"', 'y'}, {z_2pp, '"', 'z'}}};
constexpr std::array<AxisEntry, 4> threefold_axes = {
    {{x_3, 'x', ' '}, {y_3, 'y', ' '}, {z_3, 'z', ' '}, {xyz_3, '*', ' '}}};
constexpr std::array<AxisEntry, 3> fourfold_axes = {{{x_4, 'x', ' '}, {y_4, 'y', ' '}, {z_4, 'z', ' '}}};
constexpr std::array<AxisEntry, 3> sixfold_axes = {{{x_6, 'x', ' '}, {y_6, 'y', ' '}, {z_6, 'z', ' '}}};

constexpr std::int32_t max_rows = 4;

// A value brought into 0..11.
std::int32_t modulo_12(std::int32_t v) {
    const std::int32_t r = v % 12;
    return r < 0 ? r + 12 : r;
}

std::int32_t component_sum(const Twelfths& t) { return wrap_add(wrap_add(t[0], t[1]), t[2]); }

template <std::size_t N>
void match_axis(const std::array<AxisEntry, N>& table, const RotationMatrix& rotation, bool improper, char& axis,
                char& direction) {
    for (const AxisEntry& e : table)
        if (rotation == (improper ? negated(e.matrix) : e.matrix)) {
            axis = e.axis;
            direction = e.direction;
            return;
        }
}

// Two translations are one modulo the integral lattice, within 0.0002 per component.
bool same_modulo_cell(const Vector3& a, const Vector3& b) {
    for (int c = 0; c < 3; ++c) {
        const float d = a[c] - b[c];
        if (std::fabs(d - std::nearbyint(d)) > 0.0002f) return false;
    }
    return true;
}

// The module state that the rebuild through the Hall route changes.
struct SavedModuleState {
    char lat_ch;
    std::int32_t inlat;
    std::int32_t nlat;
    std::array<Vector3, max_centrings> ltr;
    bool err_symm;
    std::string err_symm_mess;
};
SavedModuleState save_module_state() {
    return {lat_ch, inlat, nlat, ltr, err_symm, err_symm_mess};
}
void restore_module_state(const SavedModuleState& s) {
    lat_ch = s.lat_ch;
    inlat = s.inlat;
    nlat = s.nlat;
    ltr = s.ltr;
    err_symm = s.err_symm;
    err_symm_mess = s.err_symm_mess;
}

}  // namespace

std::int32_t nint_of_product(float factor, float value) {
    const float product = factor * value;
    return vorn_string_utilities::nint(product);
}

Twelfths centring_reduction(const Twelfths& t, char lattice_letter) {
    static constexpr std::array<std::size_t, 1> a{0}, b{1}, c{2}, i{3};
    static constexpr std::array<std::size_t, 2> r{4, 5};
    static constexpr std::array<std::size_t, 3> f{2, 1, 0};
    std::span<const std::size_t> columns;
    switch (lattice_letter) {
        case 'A': columns = a; break;
        case 'B': columns = b; break;
        case 'C': columns = c; break;
        case 'I': columns = i; break;
        case 'R': columns = r; break;
        case 'F': columns = f; break;
        default: return t;  // P and Z: no reduction
    }
    // Every candidate is formed from the entering vector; a candidate
    // replaces the current one only with a strictly smaller sum.
    Twelfths best = t;
    for (const std::size_t col : columns) {
        Twelfths cand{};
        for (int k = 0; k < 3; ++k) cand[k] = wrap_add(wrap_sub(t[k], lattice[col][k]), 48) % 12;
        if (component_sum(cand) < component_sum(best)) best = cand;
    }
    return best;
}

FixedText<3> translation_letters(Twelfths t) {
    FixedText<3> letters;
    std::size_t p = 0;
    for (int pass = 0; pass < 3; ++pass) {
        if (t == Twelfths{0, 0, 0}) break;
        std::size_t k = 0;
        while (k < letters_tried &&
               (t[0] < tras_val[k][0] || t[1] < tras_val[k][1] || t[2] < tras_val[k][2]))
            ++k;
        if (k == letters_tried) break;  // nothing fits: the remaining passes write nothing either
        letters[p++] = vorn_string_utilities::l_case(std::string_view(&traslacion[k], 1))[0];
        for (int c = 0; c < 3; ++c) t[c] -= tras_val[k][c];
    }
    return letters;
}

FixedText<3> inversion_letters(const Vector3& centre, char lattice_letter) {
    // The inversion through c translates by 2c, 24c in twelfths.  A negative
    // twelfth fits no letter: it is brought up by whole cells first.
    Twelfths o{};
    for (int k = 0; k < 3; ++k) {
        o[k] = nint_of_product(24.0f, centre[k]);
        if (o[k] < 0) o[k] = modulo_12(o[k]);
    }
    return translation_letters(centring_reduction(o, lattice_letter));
}

bool is_hall_matrix(const RotationMatrix& rotation) {
    const RotationMatrix minus = negated(rotation);
    for (const RotationMatrix& m : hall_set)
        if (rotation == m || minus == m) return true;
    return false;
}

void copy_working_operators(const SpaceGroup& group, WorkingOperators& work) {
    work.count = std::clamp(group.reduced_count, 0, static_cast<std::int32_t>(max_operators));
    for (std::size_t i = 0; i < static_cast<std::size_t>(work.count); ++i) {
        const SymmetryOperator& op = group.operators[i];
        work.rotations[i] = is_hall_matrix(op.rot) ? op.rot : nulo;
        work.translations[i] = op.tr;
    }
}

std::int32_t gather_generators(WorkingOperators& work, OrderCounts& counts) {
    const auto n = static_cast<std::size_t>(std::clamp(work.count, 0, static_cast<std::int32_t>(max_operators)));
    std::array<std::int32_t, max_operators> magnitude{};
    counts = {};
    for (std::size_t i = 0; i < n; ++i) {
        if (work.rotations[i] == nulo) continue;
        magnitude[i] = std::abs(axes_rotation(work.rotations[i]));
        ++counts[static_cast<std::size_t>(magnitude[i])];
    }
    // Exchanges: the operator met goes to the next generator slot, and the
    // one that was there takes its place, behind the scan.
    std::size_t ng = 0;
    for (std::int32_t m = 6; m >= 1; --m) {
        if (counts[static_cast<std::size_t>(m)] == 0) continue;
        for (std::size_t j = 0; j < n; ++j) {
            if (work.rotations[j] == nulo || magnitude[j] != m) continue;
            std::swap(work.rotations[j], work.rotations[ng]);
            std::swap(work.translations[j], work.translations[ng]);
            std::swap(magnitude[j], magnitude[ng]);
            ++ng;
        }
    }
    counts = {};
    for (std::size_t i = 0; i < ng; ++i) ++counts[static_cast<std::size_t>(magnitude[i])];
    // Threefold axes are implied by the sixfold ones.
    if (counts[6] >= 1) counts[3] = 0;
    return static_cast<std::int32_t>(ng);
}

void axis_symbol(const RotationMatrix& rotation, std::int32_t n, char& axis, char& direction) {
    axis = ' ';
    direction = ' ';
    const bool improper = n < 0;
    switch (std::abs(n)) {
        case 2: match_axis(twofold_axes, rotation, improper, axis, direction); break;
        case 3: match_axis(threefold_axes, rotation, improper, axis, direction); break;
        case 4: match_axis(fourfold_axes, rotation, improper, axis, direction); break;
        case 6: match_axis(sixfold_axes, rotation, improper, axis, direction); break;
        default: break;
    }
}

FixedText<3> generator_translation(const Vector3& translation, std::int32_t magnitude, char axis,
                                   char lattice_letter) {
    Twelfths t{};
    for (int k = 0; k < 3; ++k) t[k] = modulo_12(nint_of_product(12.0f, translation[k]));
    t = centring_reduction(t, lattice_letter);
    // A screw component along a threefold or sixfold axis x, y or z is one digit.
    const std::size_t along = axis == 'x' ? 0 : axis == 'y' ? 1 : axis == 'z' ? 2 : 3;
    if ((magnitude == 3 || magnitude == 6) && along < 3 && t[(along + 1) % 3] == 0 && t[(along + 2) % 3] == 0) {
        const std::int32_t s = t[along];
        char digit = ' ';
        if (magnitude == 3) digit = s == 4 ? '1' : s == 8 ? '2' : ' ';
        else digit = s == 2 ? '1' : s == 4 ? '2' : s == 8 ? '4' : s == 10 ? '5' : ' ';
        if (digit != ' ') {
            FixedText<3> letters;
            letters[0] = digit;
            return letters;
        }
    }
    return translation_letters(t);
}

bool take_generator(const GeneratorRow& term, const OrderCounts& counts, std::int32_t generator_count,
                    GeneratorRows& rows) {
    auto append = [&](bool with_direction) {
        if (rows.count + 1 > max_rows) return false;
        GeneratorRow& row = rows.rows[static_cast<std::size_t>(rows.count++)];
        row.order = term.order;
        row.axis = term.axis;
        row.translation = term.translation;
        if (with_direction) row.direction = term.direction;
        return true;
    };
    const std::int32_t m = std::abs(term.order);
    const char a = term.axis;
    const bool diagonal = a == '\'' || a == '"';
    if (generator_count == 1) return append(false);
    // Each rule is tried whatever the earlier ones did.
    if (counts[6] > 0) {
        if (m == 6 && a == 'z') {
            if (!append(false)) return false;
        } else if (m == 2 && diagonal && term.direction == 'z') {
            if (!append(true)) return false;
        }
    }
    if (counts[4] > 0) {
        if ((m == 4 && a == 'z') || (m == 3 && a == '*') || (m == 2 && a == 'x'))
            if (!append(false)) return false;
    }
    if (counts[3] > 0 && counts[4] == 0) {
        if (m == 3 && (a == 'z' || a == '*')) {
            if (!append(false)) return false;
        } else if (m == 2 && (a == 'z' || a == 'x' || diagonal)) {
            if (!append(true)) return false;
        }
    }
    if (counts[2] > 0 && counts[3] == 0 && counts[4] == 0 && counts[6] == 0 && m == 2) {
        if (a == 'z' && !append(false)) return false;
        if (a == 'x' && !append(false)) return false;
    }
    return true;
}

void prune_diagonal_rows(GeneratorRows& rows) {
    if (rows.count <= 1) return;
    std::int32_t p = -1, q = -1;
    for (std::int32_t i = 0; i < rows.count; ++i) {
        const char a = rows.rows[static_cast<std::size_t>(i)].axis;
        if (a == '\'') p = i;
        if (a == '"') q = i;
    }
    if (p < 0 || q < 0) return;
    const std::int32_t gone = rows.rows[static_cast<std::size_t>(p)].direction == 'z' ? q : p;
    for (std::int32_t j = gone; j + 1 < rows.count; ++j)
        rows.rows[static_cast<std::size_t>(j)] = rows.rows[static_cast<std::size_t>(j + 1)];
    --rows.count;
}

void order_rows(GeneratorRows& rows) {
    auto& r = rows.rows;
    auto magnitude = [&r](std::size_t i) { return std::abs(r[i].order); };
    // Row i taken out, the rows after it up to place k move up, the row becomes row k.
    auto move_to = [&r](std::size_t i, std::size_t k) {
        r[4] = r[i];
        for (std::size_t j = i; j < k; ++j) r[j] = r[j + 1];
        r[k] = r[4];
    };
    if (rows.count == 3) {
        for (std::size_t i = 0; i < 3; ++i)
            if (magnitude(i) == 1 || magnitude(i) == 3) move_to(i, 2);
    } else if (rows.count == 4) {
        for (std::size_t i = 0; i < 4; ++i)
            if (magnitude(i) == 1) move_to(i, 3);
        for (std::size_t i = 0; i < 3; ++i)
            if (magnitude(i) == 3) move_to(i, 2);
    }
    if (rows.count >= 2 && rows.count <= 4 &&
        (magnitude(0) < magnitude(1) || (magnitude(0) == magnitude(1) && r[1].axis == 'z')))
        std::swap(r[0], r[1]);
}

void write_terms(const GeneratorRows& rows, FixedText<20>& buffer) {
    const auto& r = rows.rows;
    auto magnitude = [&r](std::size_t i) { return std::abs(r[i].order); };
    // The default axes of Hall notation are not written.
    auto axis_omitted = [&](std::size_t i) {
        switch (i) {
            case 0: return r[0].axis == 'z';
            case 1: {
                const std::int32_t m1 = magnitude(0), m2 = magnitude(1);
                const bool m1_listed = m1 == 2 || m1 == 3 || m1 == 4 || m1 == 6;
                return m2 == 1 || (m2 == 2 && (m1 == 2 || m1 == 4) && r[1].axis == 'x') ||
                       (m2 == 2 && (m1 == 3 || m1 == 6) && r[1].axis == '\'') || (m2 == 2 && !m1_listed);
            }
            case 2: return magnitude(2) == 1 || magnitude(2) == 3;
            default: return true;
        }
    };
    const std::int32_t n = std::clamp(rows.count, 0, max_rows);
    if (n == 0) return;
    std::string text(buffer.trimmed());
    text += ' ';
    for (std::size_t i = 0; i < static_cast<std::size_t>(n); ++i) {
        if (i > 0) text += ' ';
        text += vorn_string_utilities::format_i(r[i].order, r[i].order > 0 ? 1 : 2);
        if (!axis_omitted(i)) text += r[i].axis;
        text += r[i].translation.trimmed();
    }
    buffer = text;  // a text longer than the buffer is cut at 20 characters
}

void drop_last_minus(FixedText<20>& buffer) {
    if (buffer[0] != '-') return;
    for (std::size_t k = 19; k >= 1; --k)
        if (buffer[k] == '-') {
            for (std::size_t j = k; j < 19; ++j) buffer[j] = buffer[j + 1];
            buffer[19] = ' ';
            return;
        }
}

bool derive_hall_text(const SpaceGroup& group, FixedText<20>& buffer) {
    WorkingOperators work;
    copy_working_operators(group, work);
    const char letter = group.lattice_letter[0];

    // Lattice part: the letter, after "-" when the inversion is at the origin.
    buffer = "";
    if (group.centre_code == 0 || group.centre_code == 1) {
        buffer[0] = letter;
    } else if (group.centre_code == 2) {
        buffer[0] = '-';
        buffer[1] = letter;
    }

    // An inversion off the origin is the first row, "-1" with its translation.
    GeneratorRows rows;
    if (group.centre_code == 0) {
        rows.rows[0] = {-1, 'z', ' ', inversion_letters(group.centre_coordinates, letter)};
        rows.count = 1;
    }

    OrderCounts counts{};
    const std::int32_t ng = gather_generators(work, counts);
    if (ng == 0) {
        // No rotation but the identity and the inversion: the term "1".
        rows.rows[static_cast<std::size_t>(rows.count++)] = {1, 'z', ' ', FixedText<3>()};
    }
    for (std::size_t j = 0; j < static_cast<std::size_t>(ng); ++j) {
        GeneratorRow term;
        term.order = axes_rotation(work.rotations[j]);
        const std::int32_t m = std::abs(term.order);
        if (counts[static_cast<std::size_t>(m)] == 0) continue;
        axis_symbol(work.rotations[j], term.order, term.axis, term.direction);
        term.translation = generator_translation(work.translations[j], m, term.axis, letter);
        if (!take_generator(term, counts, ng, rows)) return false;
    }
    prune_diagonal_rows(rows);
    order_rows(rows);
    write_terms(rows, buffer);
    drop_last_minus(buffer);
    return true;
}

bool rebuilds_record(const SpaceGroup& group, std::string_view hall_text) {
    const SavedModuleState saved = save_module_state();
    std::int32_t system = 0, centre_code = 1, lattice_index = 0, count = 0, generators = 0;
    std::array<RotationMatrix, max_route_operators> rotations;
    std::array<Vector3, max_route_operators> translations;
    FixedText<2> bravais;
    Vector3 centre{};
    get_so_from_hall(system, centre_code, lattice_index, count, rotations, translations, bravais, centre, generators,
                     hall_text);
    // The reduced list completed as set_spacegroup completes it, with the
    // centring of the lattice state the rebuild left.
    std::array<SymmetryOperator, max_operators> rebuilt;
    std::size_t stored = 0;
    const auto m = static_cast<std::size_t>(std::clamp(count, 0, static_cast<std::int32_t>(max_route_operators)));
    bool same = !err_symm &&
                route_detail::expand_reduced_set(rotations, translations, m, centre_code, centre, nlat, ltr, rebuilt,
                                                 stored) &&
                group.multiplicity == static_cast<std::int32_t>(stored);
    if (same) {
        // Operators of one rotation sit together, so that each record
        // operator is compared only with the few of its own rotation.
        std::array<std::size_t, max_operators> by_rotation;
        for (std::size_t k = 0; k < stored; ++k) by_rotation[k] = k;
        const auto end = by_rotation.begin() + static_cast<std::ptrdiff_t>(stored);
        auto rotation_less = [&rebuilt](std::size_t a, std::size_t b) { return rebuilt[a].rot < rebuilt[b].rot; };
        std::sort(by_rotation.begin(), end, rotation_less);
        for (std::size_t i = 0; same && i < stored; ++i) {
            const SymmetryOperator& op = group.operators[i];
            auto it = std::partition_point(by_rotation.begin(), end,
                                           [&](std::size_t k) { return rebuilt[k].rot < op.rot; });
            while (it != end && rebuilt[*it].rot == op.rot && !same_modulo_cell(rebuilt[*it].tr, op.tr)) ++it;
            same = it != end && rebuilt[*it].rot == op.rot;
        }
    }
    restore_module_state(saved);
    return same;
}

}  // namespace hall_derivation_detail

namespace {

namespace tables = vorn_symmetry_tables;
using namespace hall_derivation_detail;

// First row of the filled settings table whose Hall symbol equals the first
// 16 characters of the text exactly (letter case and blanks count); 0 when
// none, or when the table is not filled.
std::size_t settings_row(std::string_view text) {
    const FixedText<16> key(text.substr(0, 16));
    const std::size_t rows = std::min(tables::spgr_info.size(), static_cast<std::size_t>(tables::num_spgr_info) + 1);
    for (std::size_t r = 1; r < rows; ++r)
        if (tables::same_key(tables::spgr_info[r].hall_symbol, key)) return r;
    return 0;
}

void derive_and_store(SpaceGroup& group, std::span<char>* hall) {
    FixedText<20> buffer;
    if (!derive_hall_text(group, buffer)) {
        set_err_symm(" Error in generators");
        return;
    }
    // The stored form: a blank in front unless the symbol begins with "-".
    FixedText<20> symbol = buffer;
    if (buffer[0] != '-') symbol = " " + std::string(buffer.view().substr(0, 19));
    const std::string_view stored_text = symbol.view().substr(0, 16);
    if (!rebuilds_record(group, stored_text)) {
        set_err_symm(" Error in generators");
        return;
    }
    const std::size_t row = settings_row(buffer.view());
    group.hall_symbol = stored_text;
    if (row != 0) settings_row_fields::take_row(tables::spgr_info[row], group);
    if (hall != nullptr)
        for (std::size_t k = 0; k < hall->size(); ++k) (*hall)[k] = k < 20 ? symbol[k] : ' ';
}

}  // namespace

void get_hallsymb_from_gener(SpaceGroup& group) { derive_and_store(group, nullptr); }

void get_hallsymb_from_gener(SpaceGroup& group, std::span<char> hall) { derive_and_store(group, &hall); }

}  // namespace vorn_crystallographic_symmetry
