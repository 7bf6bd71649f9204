// Module vorn_crystallographic_symmetry: space groups, their operators and
// the texts, lattices and classifications built on them.
//
// Array convention of the module: storage is 0-based; numbers that the
// crystallographer counts from 1 (operator i, centring translation j, Wyckoff
// letter k, matrix row i) are reached through at1(array, i) == array[i - 1].
// A 3x3 matrix m(i,j) (row i, column j) is m[i-1][j-1].  A "real 3 x n"
// array of the crystallographic texts (one vector per column) is an array of
// n Vector3, column j being element j-1.  Stored copies of an operator write
// `rot` column by column, then `tr`.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/fixed_text.hpp"

namespace vorn_crystallographic_symmetry {

using vorn_string_utilities::FixedText;

// ==== Basic types and the 1-based accessor ====

using RotationMatrix = std::array<std::array<std::int32_t, 3>, 3>;  // m[row][column]
using RealMatrix = std::array<std::array<float, 3>, 3>;             // m[row][column]
using Vector3 = std::array<float, 3>;

// Element i (counted from 1) of any array-like container.
template <class Container>
constexpr auto& at1(Container& c, std::size_t i) { return c[i - 1]; }

// ==== Records: operator, Wyckoff positions, space group ====

// One symmetry operation in cell coordinates: x -> rot.x + tr.  Miller
// indices transform as the row vector h.rot.
struct SymmetryOperator {
    RotationMatrix rot{};  // zero matrix until set
    Vector3 tr{};          // fractions of the cell edges, not reduced
};

// Coordinate texts of one special position (one Wyckoff letter), without the
// centring translations.
struct WyckoffOrbit {
    std::int32_t multiplicity = 0;             // centring_count x position_count
    FixedText<6> site;                         // site label; not written by the builders
    std::int32_t position_count = 0;           // 0..48
    FixedText<40> representative;              // not written by the builders
    std::array<FixedText<40>, 48> positions;   // "x,1/4,1/4"
};

// The special Wyckoff positions of a group; the general position is not listed.
struct WyckoffSet {
    std::int32_t orbit_count = 0;              // 0..26
    std::array<WyckoffOrbit, 26> orbits;       // orbits[k-1] belongs to letter k ("a" = 1)
};

inline constexpr std::size_t max_operators = 192;   // 24 reduced x 2 (inversion) x 4 centrings
inline constexpr std::size_t max_centrings = 12;

namespace detail {
template <std::size_t N, std::size_t L>
std::array<FixedText<L>, N> filled_texts(std::string_view text) {
    std::array<FixedText<L>, N> a;
    for (auto& t : a) t = text;
    return a;
}
}  // namespace detail

// The complete description of one space group.  The member initialisers are
// the reset state that set_spacegroup establishes before it builds anything.
struct SpaceGroup {
    std::int32_t number = 0;                       // 1..230 of the matched settings row
    FixedText<20> hm_symbol = "unknown";           // "P 21/c": first character kept, rest lower case
    FixedText<16> hall_symbol = "unknown";
    FixedText<12> crystal_system = "unknown";      // "Triclinic" .. "Cubic"
    FixedText<5> laue_class = "?";
    FixedText<5> point_group = "?";
    FixedText<5> setting_choice = "?";             // blank for the standard setting, "b", "c1", "H" ...
    FixedText<80> setting_type = "?";              // how the group was generated
    bool hexagonal = false;                        // operators refer to hexagonal axes
    FixedText<1> lattice_letter = "?";             // P A B C I R F Z
    FixedText<2> lattice_symbol = "?";             // "aP", "mC", "hR", "cF" ...
    std::int32_t centring_count = 0;               // centring translations incl. the null one, 1..12
    std::array<Vector3, max_centrings> centring_vectors{};  // [j-1] = translation j; [0] null
    FixedText<51> bravais_lattice = "?";           // a row of the centring descriptions
    FixedText<80> centrosymmetry_text = "?";
    std::int32_t centre_code = -1;                 // 0 centric off origin, 1 acentric, 2 centric at origin
    Vector3 centre_coordinates{};                  // position of the inversion centre
    std::int32_t reduced_count = 0;                // operators of the reduced set
    std::int32_t multiplicity = 0;                 // operators of the whole group
    std::int32_t generator_count = 0;
    std::array<SymmetryOperator, max_operators> operators{};  // reduced set, inversion images, centring copies
    std::array<FixedText<40>, max_operators> operator_symbols =
        detail::filled_texts<max_operators, 40>("?");
    WyckoffSet wyckoff;
    std::array<std::array<float, 2>, 3> asymmetric_unit = {{{0.0f, 1.0f}, {0.0f, 1.0f}, {0.0f, 1.0f}}};
                                                   // [axis][0] minimum, [axis][1] maximum
};

// Gives every field of the record its initial value.
void reset_spacegroup(SpaceGroup& group);

// ==== Module state: error pair and hexagonal flag ====

// Error pair of the module.  Entry procedures clear it (init_err_symm);
// a failing procedure sets it (set_err_symm) and returns; callers test it.
// The message is kept exactly as written, cut to 150 characters (an empty
// text after a reset).
extern bool err_symm;
extern std::string err_symm_mess;
void init_err_symm();
void set_err_symm(std::string_view message);

// The last group built by set_spacegroup refers to hexagonal axes.  Written
// only by set_spacegroup; read by the point-operation identification
// (get_symel, get_symkov, decodmatmag) to choose the 24 hexagonal instead of
// the 48 cubic model operations.
extern bool hexa;

// ==== Symmetry operator algebra ====

bool equal_symop(const SymmetryOperator& op1, const SymmetryOperator& op2);
Vector3 applyso(const SymmetryOperator& op, const Vector3& point);
// Rotation order with the sign of the determinant: 1,2,3,4,6 proper,
// -1 (inversion), -2 (mirror), -3, -4, -6; 0 when no crystallographic rotation.
std::int32_t axes_rotation(const RotationMatrix& rot_part);
bool is_new_op(const SymmetryOperator& op, std::int32_t n_ops, std::span<const SymmetryOperator> op_list);
bool equiv_symop(const SymmetryOperator& op1, const SymmetryOperator& op2, char lat_letter);
// op1 . op2 (op2 acts first); translation not reduced.
SymmetryOperator product_symop(const SymmetryOperator& op1, const SymmetryOperator& op2);
// op1 . op2 with the translation brought into [0,1) unless modlat is false.
SymmetryOperator sym_prod(const SymmetryOperator& op1, const SymmetryOperator& op2, bool modlat = true);
bool spgr_equal(const SpaceGroup& group1, const SpaceGroup& group2);
void inverse_symm(const RotationMatrix& rot_part, const Vector3& tr_part, RotationMatrix& inv_rot,
                  Vector3& inv_tr);

// ==== Lattice centring: module lattice state ====

// Written only by latsym (every construction route calls it); read by
// lattice_trans for "Z", by equiv_symop and by set_spacegroup, which copies
// lat_ch, nlat and ltr into the record.
extern char lat_ch;                              // centring letter
extern std::int32_t inlat;                       // 1 P, 2 A, 3 B, 4 C, 5 I, 6 R, 7 F, 8 Z
extern std::int32_t nlat;                        // centring translations incl. the null one, 1..12
extern std::array<Vector3, max_centrings> ltr;   // [j-1] = translation j; [0] null

// Sets the lattice state from the first letter of lat_symbol that is neither
// a blank nor "-" (a whole Hall symbol may be passed).  The second form gives
// the explicit translations (without the null one) of a "Z" lattice.
void latsym(std::string_view lat_symbol);
void latsym(std::string_view lat_symbol, std::int32_t n_centring, std::span<const Vector3> centring);
// vec is a lattice translation of the lattice named by lat_letter.
bool lattice_trans(const Vector3& vec, char lat_letter);

// ==== Centring vectors and conventional lattice ====

// The conventional centring translations in twelfths of the cell edges, in
// the order A, B, C, I, R (2/3,1/3,1/3), R (1/3,2/3,2/3), with their letters.
extern const std::array<std::array<std::int32_t, 3>, 6> conventional_centrings_twelfths;
extern const std::array<char, 6> conventional_centring_letters;

// Completes a list of Z-centring translations (first n_centring in use) by
// their combinations reduced into the cell; stops when the array is full.
void get_centring_vectors(std::int32_t& n_centring, std::span<Vector3> centring);
// The largest conventional centring ('P','A','B','C','I','R','F') the list holds.
char max_conv_lattice_type(std::int32_t n_centring, std::span<const Vector3> centring);

// ==== Operator texts: writers ====

// Jones-faithful text of an operator, "x,y+1/2,-z": lower case, no blanks.
// The result is not padded; assign it to a FixedText<N> to cut or pad it.
std::string get_symsymbi(const RotationMatrix& rotation, const Vector3& translation);
// The same for a real matrix ("x/2,2x/3+y,1/4"), as for Wyckoff positions.
std::string get_symsymbr(const RealMatrix& matrix, const Vector3& translation);

// ==== Operator texts: readers ====

// Reads "x,y+1/2,-z" from start_pos (1-based).  Clears the error pair.
void read_xsym(std::string_view op_text, std::int32_t start_pos, RotationMatrix& rotation,
               Vector3& translation, bool check_det = true);
void read_xsym(std::string_view op_text, std::int32_t start_pos, RotationMatrix& rotation,
               bool check_det = true);
// Reads a magnetic operator "msym u,v,-w,+1".  Clears the error pair.
void read_msymm(std::string_view text, RotationMatrix& matrix, float& phase, bool check_det = false);
// Reads "_2.456" (operator 2, translation (-1,0,1)).  A malformed number ends
// the run with exit status 2.
void read_symtrans_code(std::string_view code, std::int32_t& op_number, Vector3& translation);
// Crystal system (1..7 and its letter) of a list of operator texts.
void get_crystal_system_r_st(std::int32_t n, std::span<const std::string> op_texts, std::int32_t& sys_num,
                             char& sys_letter);

// ==== Point-operation identification ====

// Finds a rotation among models first..last of the proper rotations (1-24
// cubic, 25-36 hexagonal): +j, -j for the negative of model j, 0 with an error.
void searchop(const RotationMatrix& rotation, std::int32_t first, std::int32_t last, std::int32_t& model_index);
std::string get_symel(const RotationMatrix& rotation);    // 14 characters, " 3+ ( x, x, x)"
std::string get_symkov(const RotationMatrix& rotation);   // 21 characters, symbol + " -> " + Kovalev label
std::string decodmatmag(const RotationMatrix& rotation);  // 19 characters, "( Mx, My, Mz)      "

// ==== Laue class, point group, crystal system, lattice type ====

void get_laue_pg(const SpaceGroup& group, FixedText<5>& laue, FixedText<5>& pg);
void get_crystal_system_r_op(std::int32_t n, std::span<const RotationMatrix> rotations, std::int32_t& sys_num,
                             char& sys_letter);
// Centring letter of a list of non-null centring translations.
char get_lattice_type(std::int32_t n, std::span<const Vector3> vectors);
void get_laue_str(std::int32_t laue_num, FixedText<5>& laue_symbol);
void get_pointgroup_str(std::int32_t pg_num, FixedText<5>& pg_symbol);
std::int32_t get_laue_num(std::string_view symbol);
std::int32_t get_pointgroup_num(std::string_view symbol);

// ==== Multiplication table ====

// mult_table is resized to n x n (n = reduced_count, doubled for centric
// groups; multiplicity when full); entry [i-1][j-1] is the number of the
// operator equal to operator i times operator j up to a lattice translation.
void set_spg_mult_table(const SpaceGroup& group, std::vector<std::vector<std::int32_t>>& mult_table,
                        bool full = false);

// ==== Routes and construction ====
// (section owned by the construction work: set_spacegroup and its routes)
//
// Every route hands back the reduced operator list (no inversion images, no
// centring copies, operator 1 the identity when built from a symbol or from
// generators) in the caller's arrays `rotations` / `translations` (element
// k-1 is operator k), and leaves the module lattice state set by latsym.
// Failures go through the module error pair.

// Room of the working operator arrays of set_spacegroup (generator and
// full-list input); the symbol and generator routes return at most 24.
inline constexpr std::size_t max_working_operators = 48;
inline constexpr std::size_t max_route_operators = 24;

// -- Hermann-Mauguin symbol syntax: a lattice letter, then up to three
//    blank-separated direction fields held in a 3 x 4 grid of characters --
// grid[d-1][p-1] is position p of direction field d (blank when empty).
using SymbolGrid = std::array<std::array<char, 4>, 3>;
// Checks an upper-case grid; clears the error pair, sets it on the first rule broken.
void check_symbol_hm(const SymbolGrid& grid);
bool is_axis(std::string_view c);   // "1".."6"
bool is_plane(std::string_view c);  // "A","B","C","D","M","N"
bool is_xyz(std::string_view c);    // "x","X","y","Y","z","Z"
bool is_digit(std::string_view c);  // a substring of "0123456789"
inline bool is_axis(char c) { return is_axis(std::string_view(&c, 1)); }
inline bool is_plane(char c) { return is_plane(std::string_view(&c, 1)); }
inline bool is_xyz(char c) { return is_xyz(std::string_view(&c, 1)); }
inline bool is_digit(char c) { return is_digit(std::string_view(&c, 1)); }

// -- Hermann-Mauguin route --
// Reduced operators of a Hermann-Mauguin symbol (up to 20 characters used).
// centre_code 1 acentric or 2 centric (inversion at the origin).
void get_so_from_hms(std::int32_t& crystal_system_number, std::int32_t& centre_code, std::int32_t& lattice_index,
                     std::int32_t& count, std::span<RotationMatrix> rotations, std::span<Vector3> translations,
                     FixedText<2>& bravais_symbol, std::string_view symbol);
// Brings the first count translations into [0,1); centre_code = 2 - centric_flag
// (flag 1 acentric, 0 centric) when given.
void mod_trans(std::int32_t count, std::int32_t centric_flag, std::span<Vector3> translations,
               std::int32_t* centre_code = nullptr);

// -- Hexagonal-axes test: some rotation couples a and b (operator 1 not examined) --
bool is_hexa(std::int32_t ng, std::span<const RotationMatrix> rotations);

// -- Hall-symbol route ("-P 2ac 2n", "P 61 2 (0 0 -1)", "P 2 2 -1n") --
void get_so_from_hall(std::int32_t& crystal_system_number, std::int32_t& centre_code, std::int32_t& lattice_index,
                      std::int32_t& count, std::span<RotationMatrix> rotations, std::span<Vector3> translations,
                      FixedText<2>& bravais_symbol, Vector3& centre_coordinates, std::int32_t& generator_count,
                      std::string_view hall_text);

// -- Generator route: count (in) generators close into the reduced list (out) --
void get_so_from_gener(std::int32_t& crystal_system_number, std::int32_t& centre_code, std::int32_t& lattice_index,
                       std::int32_t& count, std::span<RotationMatrix> rotations, std::span<Vector3> translations,
                       FixedText<2>& bravais_symbol, Vector3& centre_coordinates, std::int32_t& generator_count,
                       char& lat_letter);

// -- Full-list route: a complete operator list, kept as given --
void get_so_from_fix(std::int32_t& crystal_system_number, std::int32_t& centre_code, std::int32_t& lattice_index,
                     std::int32_t count, std::span<const RotationMatrix> rotations,
                     std::span<const Vector3> translations, FixedText<2>& bravais_symbol,
                     Vector3& centre_coordinates, char& lat_letter);

// -- Wyckoff orbits: the images of a representative position ("x,1/4,1/4")
//    under the operators stored before the centring copies --
void wyckoff_orbit(const SpaceGroup& group, std::string_view rep_text, std::int32_t& n_orbit,
                   std::array<FixedText<40>, 48>& orbit_texts);

// -- Space-group construction --
// Builds `group` from a number ("14"), a Hermann-Mauguin symbol ("P 21/c",
// "R -3:R"), a Hall symbol ("-P 2ybc"), or, with gen_list and num_gen,
// from generators (mode "GEN") or a complete operator list (mode "FIX").
// mode: "HMS", "HAL", "ITC", "GEN" or "FIX" (first three characters after
// left adjustment, any case).  use_hall: a tabulated Hermann-Mauguin symbol is
// built from the row's Hall symbol.  Clears the error pair; on failure the
// record holds its reset values plus what was copied before the failure.
// Operators from a symbol or generators outside the tables that form no
// group (a lattice the rotations do not keep) are refused likewise.
void set_spacegroup(std::string_view spg_symbol, SpaceGroup& group,
                    std::optional<std::span<const std::string>> gen_list = std::nullopt,
                    std::optional<std::int32_t> num_gen = std::nullopt,
                    std::optional<std::string_view> mode = std::nullopt, bool use_hall = false);

// ==== End of routes and construction ====

}  // namespace vorn_crystallographic_symmetry

#include "symmetry/symmetry_analysis.hpp"
