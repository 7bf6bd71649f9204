// Module vorn_symmetry_tables: the reference tables of the library.
//
// The 611 tabulated settings of the 230 space-group types, the generators of
// each type in its standard setting, the special Wyckoff positions of 273
// settings, and the constant names of crystal systems, centrings, Laue
// classes, point groups and the model point operations of m-3m (Oh) and
// 6/mmm (D6h).
//
// One 1-based idiom for the whole module: every table indexed by a position
// (row, space-group number, Wyckoff letter, centring column, operation) is a
// std::array or std::vector of size n+1 whose element 0 is unused (blank or
// zero), so position k is element [k].  Components inside one entry (the three
// components of a vector, the rows and columns of a 3x3 matrix, the six limits
// of an asymmetric-unit box) are plain 0-based arrays: component i is [i-1].
// mod6_at() gives the fully 1-based (operation, row, column) view of mod6.
//
// Texts are fixed-width, blank-padded fields (FixedText<N>), compared without
// regard to trailing blanks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/fixed_text.hpp"

namespace vorn_symmetry_tables {

using vorn_string_utilities::FixedText;

// ---- Error pair of the module -------------------------------------------------
// Written only by get_generators (cleared on entry, set on a failed look-up;
// the message is left as it is by a success).  Read by its callers
// (space-group construction) right after the call.
extern bool err_symtab;
extern std::string err_symtab_mess;  // at most 150 characters

// ---- Constant name tables -----------------------------------------------------
// Initialised data, never written.  Read by space-group construction (record
// texts, Hermann-Mauguin route), the Laue-class and point-group converters and
// the lattice-translation test.

// Crystal-system names, positions 1..7: Triclinic .. Cubic.
extern const std::array<FixedText<12>, 8> sys_cry;
// Centring descriptions, positions 1..8 in the lattice-index order P A B C I R F Z.
extern const std::array<FixedText<51>, 9> latt;
// Laue classes, positions 1..16 (15 and 16 spell m-3 and m-3m without the bar).
extern const std::array<FixedText<5>, 17> laue_class;
// Crystallographic point groups, positions 1..39, lower symmetries in each orientation.
extern const std::array<FixedText<5>, 40> point_group;

// Centring translations: column j (1-based, column 1 the null vector) is
// ltr_x[j], its component i is ltr_x[j][i-1].  R refers to hexagonal axes
// (obverse setting); its thirds are the nearest 32-bit reals.
using CentringVector = std::array<float, 3>;
extern const std::array<CentringVector, 3> ltr_a;  // columns 1..2
extern const std::array<CentringVector, 3> ltr_b;  // columns 1..2
extern const std::array<CentringVector, 3> ltr_c;  // columns 1..2
extern const std::array<CentringVector, 3> ltr_i;  // columns 1..2
extern const std::array<CentringVector, 4> ltr_r;  // columns 1..3
extern const std::array<CentringVector, 5> ltr_f;  // columns 1..4

// ---- Model point operations of m-3m (Oh) and 6/mmm (D6h) ---------------------
// Initialised data, never written.  Read by point-operation identification,
// the Laue-class rules and the operator-symbol procedures.  Within a family
// every table uses one index: cubic 1..24 are the proper rotations and 24+k is
// the inversion times k; hexagonal 1..12 proper and 12+k the inversion times k.
// The two Litvin label tables follow instead the order of the published
// magnetic-group tables (Litvin position), with the same inversion rule.

constexpr std::int32_t num_oh_operations = 48;
constexpr std::int32_t num_d6h_operations = 24;

extern const std::array<FixedText<10>, 49> x_oh;        // "( x, y, z)" ..
extern const std::array<FixedText<14>, 49> intsymoh;    // "  1", " 3+ ( x, x, x)" ..
extern const std::array<FixedText<3>, 49> kov_oh;       // " h1" .. "h48"
extern const std::array<FixedText<8>, 49> litvin_point_op_label;       // by Litvin position
extern const std::array<FixedText<14>, 25> x_d6h;       // "( x  ,   y, z)" ..
extern const std::array<FixedText<14>, 25> intsymd6h;   // "  1", " 3+ ( 0, 0, z)" ..
extern const std::array<FixedText<3>, 25> kov_d6h;      // " h1" .. "h24"
extern const std::array<FixedText<5>, 25> litvin_point_op_hex_label;   // by Litvin position

// Triplets without parentheses or blanks in Litvin-position order; they define
// the Litvin positions of the label tables ("x,-z,y" is cubic position 2).
extern const std::array<FixedText<8>, 49> litvin_point_op;
extern const std::array<FixedText<10>, 25> litvin_point_op_hex;

// Image of a magnetic moment (Mx,My,Mz): rows 1..48 for x_oh 1..48, rows
// 49..72 for x_d6h 1..24.  depmat: the same for a polar vector (Dx,Dy,Dz).
extern const std::array<FixedText<19>, 73> magmat;
extern const std::array<FixedText<19>, 73> depmat;

// Miller-Love numbers of the cubic operations, in x_oh order (right-aligned).
extern const std::array<FixedText<2>, 49> ml_oh;

// Integer matrices of the proper rotations: 1..24 those of x_oh 1..24, 25..36
// those of x_d6h 1..12.  mod6[k][i-1][j-1] is the coefficient of coordinate j
// in component i of operation k (so the matrix maps a column vector of
// coordinates); the improper operations are the negatives.
using RotationMatrix = std::array<std::array<std::int32_t, 3>, 3>;
constexpr std::int32_t num_mod6 = 36;
extern const std::array<RotationMatrix, 37> mod6;
// mod6(k, i, j) with all three indexes 1-based.
inline std::int32_t mod6_at(std::int32_t k, std::int32_t i, std::int32_t j) {
    return mod6[static_cast<std::size_t>(k)][static_cast<std::size_t>(i - 1)]
               [static_cast<std::size_t>(j - 1)];
}

// ---- Settings table -----------------------------------------------------------
// One tabulated setting of a space-group type.
struct SpaceGroupInfo {
    std::int32_t number = 0;              // space-group number 1..230
    FixedText<12> hm_symbol;              // Hermann-Mauguin symbol, upper case
    FixedText<16> hall_symbol;            // Hall symbol, mixed case as published
    std::int32_t laue_index = 0;          // position in laue_class (1..14)
    std::int32_t pg_index = 0;            // position in point_group (1..39)
    std::array<std::int32_t, 6> asu{};    // xmin ymin zmin xmax ymax zmax, in 1/24
    FixedText<5> setting_choice;          // setting code, blank for the standard
};

constexpr std::int32_t num_spgr_info = 611;

// The settings table, rows 1..611 (element 0 unused).  Empty while not
// allocated.  Written by set_spgr_info / remove_spgr_info; read by space-group
// construction (number, Hermann-Mauguin and Hall look-ups) and by the Hall
// symbol derivation of symmetry analysis.
extern std::vector<SpaceGroupInfo> spgr_info;

// Allocate the table when needed and rewrite all 611 rows with their constant
// values (a plain copy; cheap enough to run before every construction).
void set_spgr_info();
// Release the table; nothing when it is not allocated.
void remove_spgr_info();

// Look-ups over the filled table (0 when nothing matches; the table must be filled).
// First row of a number: its standard setting.
std::int32_t find_spgr_row_by_number(std::int32_t number);
// The query is left-adjusted and upper-cased; only its first 12 (16) characters count.
// First row whose Hermann-Mauguin symbol equals the query, both as 12 characters.
std::int32_t find_spgr_row_by_hm(std::string_view symbol);
// First row whose upper-cased Hall symbol equals the query, both as 16 characters.
std::int32_t find_spgr_row_by_hall(std::string_view symbol);
// Two keys of one width are equal.  Compared character by character: a scan
// over a table then leaves most rows at their first characters.
template <std::size_t N>
bool same_key(const FixedText<N>& a, const FixedText<N>& b) {
    for (std::size_t k = 0; k < N; ++k)
        if (a[k] != b[k]) return false;
    return true;
}

// ---- Generator table ----------------------------------------------------------
// Texts of exactly 120 characters, index = space-group number 1..230 (element
// 0 unused): symbol in columns 1-10, ":" in 11, a blank in 12, then the
// generators of the standard setting.  Rewritten by set_it_gen on every
// get_generators; read through get_generators.
constexpr std::int32_t num_spg_gen = 230;
constexpr std::size_t spg_gen_length = 120;
extern std::array<FixedText<120>, 231> spg_gen;

// Write all 230 generator texts.
void set_it_gen();
// Look up the generators of a space-group number or of the table's short
// Hermann-Mauguin symbol.  gen_text keeps its length (the caller's character
// length) and receives columns 12-120 of the text, blank-padded or cut.  A
// number out of 1..230 gives the text of number 1 and fails; an unknown
// symbol leaves gen_text untouched and fails.  Outcome in err_symtab.
void get_generators(std::string_view spg_symbol, std::span<char> gen_text);
void get_generators(std::string_view spg_symbol, std::string& gen_text);
template <std::size_t N>
void get_generators(std::string_view spg_symbol, FixedText<N>& gen_text) {
    get_generators(spg_symbol, std::span<char>(gen_text.chars.data(), N));
}

// ---- Wyckoff table ------------------------------------------------------------
// Special Wyckoff positions of one setting: one representative triplet for
// each Wyckoff letter below the general position.
struct WyckoffInfo {
    FixedText<12> hm_symbol;                   // key, as the settings table writes it
    std::int32_t orbit_count = 0;              // 0..26, the general position not counted
    std::array<FixedText<15>, 27> orbit_rep;   // letters a, b, ... at 1, 2, ...; rest blank
};

constexpr std::int32_t num_wyckoff_info = 273;

// The Wyckoff table, rows 1..273 (element 0 unused).  Empty while not
// allocated.  Written by set_wyckoff_info / remove_wyckoff_info; read by the
// space-group builder (first row whose key equals the record's symbol exactly).
extern std::vector<WyckoffInfo> wyckoff_info;

// Allocate the table when needed and rewrite all 273 rows with their constant values.
void set_wyckoff_info();
// Release the table; nothing when it is not allocated.
void remove_wyckoff_info();

// ---- Setting-equivalence table ------------------------------------------------
// For one space-group type: its Schoenflies symbol ("C5_2h", "O10_h") and the
// coordinate maps x' = T(x) from the International Tables setting to the
// Miller-Love, Kovalev, Bradley-Cracknell and Zak settings ("z,x,y").  ml
// starts in column 1; ko, bc and za after a blank unless they start with "-".
struct SettingEquivalence {
    FixedText<6> schoenflies;
    FixedText<17> ml;
    FixedText<18> ko;
    FixedText<32> bc;
    FixedText<18> za;
};

constexpr std::int32_t num_system_equiv = 230;

// The table, rows 1..230 by space-group number (element 0 unused).  Empty
// while not allocated.  Written by set_system_equiv / remove_system_equiv;
// read by the setting change of symmetry analysis.
extern std::vector<SettingEquivalence> system_equiv;

// Allocate the table when needed and rewrite all 230 rows with their constant values.
void set_system_equiv();
// Release the table; nothing when it is not allocated.
void remove_system_equiv();

}  // namespace vorn_symmetry_tables
