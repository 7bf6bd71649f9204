// Module vorn_crystallographic_symmetry, analysis of a built space group:
// the Hall symbol derived from its operators; orbits, stabilisers and
// suborbits of a point with its site multiplicity and occupancy; Seitz and
// magnetic operator symbols; texts of a point or line of points, of a change
// of setting, of a transformation and of a translation; geometric symbols of
// the operations, operator products, translation codes, displacement
// constraints and labelled operator lines; the text report of a group and
// its stored (unformatted) record; setting changes, groups in transformed
// cells and t-subgroups.
//
// Conventions of this part (those of the chief header apply):
// - Operators are named by their number in the record, 1..multiplicity;
//   operator 1 is taken to be the identity and is never applied.
// - Array outputs are std::vectors that the procedure sizes itself.
// - A text output is a std::string whose size on entry is its width: the
//   result is cut or blank-padded to that width, nothing is written past it.
//   FixedText<N> fields are accepted through thin overloads.
// - A switch that acts by its mere presence is a bool, true when present.
#pragma once

#include "symmetry/symmetry.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn_crystallographic_symmetry {

// ==== Hall symbol from a group's operators ====

// Derives the Hall symbol of `group` from its reduced operators, centring
// letter and centre of symmetry, and writes it (a blank in front unless it
// begins with "-", 16 characters) into hall_symbol.  When the symbol is a
// tabulated setting (spgr_info, exact comparison of 16 characters, first row
// wins), number, hm_symbol (the table's upper case), laue_class, point_group,
// setting_choice and asymmetric_unit are copied from that row and the error
// pair is left clear.  `hall` receives the 20-character symbol, cut or
// blank-padded to its own length; it may be group.hall_symbol itself.
// The symbol is written only when it rebuilds exactly the record's operators
// 1..multiplicity; otherwise, and when the generators need a fifth term, the
// error pair is set (" Error in generators") and neither the record nor
// `hall` changes.  The error pair is not cleared at entry.
void get_hallsymb_from_gener(SpaceGroup& group);
void get_hallsymb_from_gener(SpaceGroup& group, std::span<char> hall);
template <std::size_t N>
void get_hallsymb_from_gener(SpaceGroup& group, FixedText<N>& hall) {
    get_hallsymb_from_gener(group, std::span<char>(hall.chars.data(), N));
}

// ==== Orbits, stabilisers and site multiplicity ====

// The distinct positions that the group's operators generate from `point`,
// compared modulo integral translations ("P") or, with conv_lattice, modulo
// the centring lattice too.  Point 1 is `point` as passed, the images lie in
// [0,1); centred_range moves every coordinate of 0.5 or more down by 1.
// `orbit` and `op_index` (the operator that produced each point) hold `mult`
// entries.
void get_orbit(const Vector3& point, const SpaceGroup& group, std::int32_t& mult, std::vector<Vector3>& orbit,
               std::vector<std::int32_t>* op_index = nullptr, bool conv_lattice = false,
               bool centred_range = false);

// Site multiplicity: positions in the conventional cell, centring copies
// counted (0 for a record never built).
std::int32_t get_multip_pos(const Vector3& point, const SpaceGroup& group);
// Site occupancy: site multiplicity / general multiplicity (0 for a record
// without operators).
float get_occ_site(const Vector3& point, const SpaceGroup& group);

// Site-symmetry operators of `point`: each operator j with the integral
// translation L (lattice_shift) such that op_j(point) + L lies within a summed
// deviation of 0.0004 of the point.  Entries after the identity are ordered
// by L (first component first, ascending), then by operator number.  Both
// outputs hold the group's multiplicity entries (at least 1), zero after
// `order`, so that op_index can serve as the subgroup of get_suborbits.
void get_stabilizer(const Vector3& point, const SpaceGroup& group, std::int32_t& order,
                    std::vector<std::int32_t>& op_index, std::vector<Vector3>& lattice_shift);

// The orbit of `point` (modulo the centring lattice unless prim_lattice) and,
// for each orbit point, the number of its suborbit under the operators listed
// in sub_ops (0 when no suborbit took it).  sub_ops is read up to its end, its
// first 0, `multiplicity` entries or an entry outside 1..multiplicity.
// `orbit` and `suborbit` hold `mult` entries.
void get_suborbits(const Vector3& point, const SpaceGroup& group, std::span<const std::int32_t> sub_ops,
                   std::int32_t& mult, std::vector<Vector3>& orbit, std::vector<std::int32_t>& suborbit,
                   bool prim_lattice = false);

// ==== Seitz and magnetic operator symbols ====
// The tables follow the module flag hexa (the last group built): 48 cubic or
// 24 hexagonal model point operations.

// "{-x,-y, z|  0   0  1/2}": the xyz form of model operation point_op_index
// (row of x_oh, or of x_d6h when hexa) and each translation component that is
// one of 16 short fractions, in fields of four characters.  An index outside
// the table gives a blank text.
void get_seitz(std::int32_t point_op_index, const Vector3& translation, std::string& symbol_text);

// "(2z|0,0,1/2)'": the point-operation label (row of the Litvin label table),
// the translation's fractions and a prime for time_inversion == -1.  An index
// outside the table gives a blank text.
void get_seitz_symbol(std::int32_t point_op_index, std::int32_t time_inversion, const Vector3& translation,
                      std::string& symbol_text);

// Magnetic operator: "(-x,-y,z+1/2;-u,-v,w)", or with moment_form
// "-x,-y,z+1/2 -mx,-my,mz +1" (the sign -1 unless the moment matrix is
// det(R).R, i.e. with time reversal).
void get_shubnikov_operator_symbol(const RotationMatrix& rotation, const RotationMatrix& moment_matrix,
                                   const Vector3& translation, std::string& symbol_text,
                                   bool moment_form = false);

// ==== Coordinate, setting-change, transformation and translation texts ====

// "0,1/2,z", "x,-x,1/4": coordinate i is line_direction(i).s + point(i), the
// parameter s named by letter_index(i) (1 x, 2 y, 3 z, other none).
void get_string_resolv(const Vector3& point, const Vector3& line_direction,
                       const std::array<std::int32_t, 3>& letter_index, std::string& coord_text);

// "a'=a+b, b'=-a+b, c'=c  -> Origin: (0,0,1/2)": rows of basis_matrix are the
// new basis vectors, or its columns when form begins with "it" or "IT".
void get_setting_info(const RealMatrix& basis_matrix, const Vector3& origin, std::string& setting_text,
                      std::optional<std::string_view> form = std::nullopt);

// "(0,0,1/2; a-b,a+b,c)": origin shift and new basis vectors (rows).
void get_trasfm_symbol(const RotationMatrix& basis_matrix, const Vector3& origin, std::string& symbol_text);
// "( 0, 1/2, 1/2)": a translation with its blanks kept.
void get_transl_symbol(const Vector3& translation, std::string& symbol_text);

// -- Record-field forms of the text writers --
namespace detail {
template <std::size_t N, class Write>
void write_fixed(FixedText<N>& field, Write write) {
    std::string text(N, ' ');
    write(text);
    field = text;
}
}  // namespace detail

template <std::size_t N>
void get_seitz(std::int32_t point_op_index, const Vector3& translation, FixedText<N>& symbol_text) {
    detail::write_fixed(symbol_text, [&](std::string& t) { get_seitz(point_op_index, translation, t); });
}
template <std::size_t N>
void get_seitz_symbol(std::int32_t point_op_index, std::int32_t time_inversion, const Vector3& translation,
                      FixedText<N>& symbol_text) {
    detail::write_fixed(symbol_text,
                        [&](std::string& t) { get_seitz_symbol(point_op_index, time_inversion, translation, t); });
}
template <std::size_t N>
void get_shubnikov_operator_symbol(const RotationMatrix& rotation, const RotationMatrix& moment_matrix,
                                   const Vector3& translation, FixedText<N>& symbol_text,
                                   bool moment_form = false) {
    detail::write_fixed(symbol_text, [&](std::string& t) {
        get_shubnikov_operator_symbol(rotation, moment_matrix, translation, t, moment_form);
    });
}
template <std::size_t N>
void get_string_resolv(const Vector3& point, const Vector3& line_direction,
                       const std::array<std::int32_t, 3>& letter_index, FixedText<N>& coord_text) {
    detail::write_fixed(coord_text,
                        [&](std::string& t) { get_string_resolv(point, line_direction, letter_index, t); });
}
template <std::size_t N>
void get_setting_info(const RealMatrix& basis_matrix, const Vector3& origin, FixedText<N>& setting_text,
                      std::optional<std::string_view> form = std::nullopt) {
    detail::write_fixed(setting_text, [&](std::string& t) { get_setting_info(basis_matrix, origin, t, form); });
}
template <std::size_t N>
void get_trasfm_symbol(const RotationMatrix& basis_matrix, const Vector3& origin, FixedText<N>& symbol_text) {
    detail::write_fixed(symbol_text, [&](std::string& t) { get_trasfm_symbol(basis_matrix, origin, t); });
}
template <std::size_t N>
void get_transl_symbol(const Vector3& translation, FixedText<N>& symbol_text) {
    detail::write_fixed(symbol_text, [&](std::string& t) { get_transl_symbol(translation, t); });
}

// ==== Element symbols, operator products, translation codes, displacement
//      constraints and the labelled operator line ====

// Geometric symbol of an operation in the notation of the International
// Tables: "1", "t (1/2,1/2,0)", "2 (0,1/2,0) 1/4,y,0", "4+ 0,0,z", "-1 1/4,0,1/4",
// "m x,y,1/4", "n (1/2,1/2,0) x,y,0", "-4+ 0,0,z; 0,0,0"; blank for a
// rotation part that is no crystallographic rotation.  Screw and glide parts
// and locations are not reduced modulo the lattice.  Sets no error; the text
// form leaves the reader's error pair as it was set (it does not clear it).
void symmetry_symbol_str(const RotationMatrix& rot, const Vector3& tr, std::string& symbol);
void symmetry_symbol_xyz(std::string_view op_text, std::string& symbol);
void symmetry_symbol_op(const SymmetryOperator& op, std::string& symbol);

// Product A.B (B acts first) of two operator texts, its translation brought
// into [0,1) unless mod_lat is false.  op_ab receives the whole product text,
// blank-padded to the width of op_a when shorter.  A reading fault of op_a
// stays in the error pair even when op_b reads cleanly.
void sym_prod_st(std::string_view op_a, std::string_view op_b, std::string& op_ab,
                 std::optional<bool> mod_lat = std::nullopt);

// Symmetry-translation code of operator op_number with a lattice
// translation: "_3.654" for operator 3 and (1,0,-1), "_3" without one, blank
// for operator 1 without one or a number below 1.  A component that does not
// round into -5..4 (non-finite ones included) is written "*".
void write_symtrans_code(std::int32_t op_number, const Vector3& translation, std::string& code);

// Relations that one rotation imposes on the anisotropic displacement
// coefficients b11, b22, b33, b12, b13, b23 (entry k for coefficient k), an
// operator mapping beta to R.beta.R^T: b_codes(k) = k with b_mult(k) 1 (free)
// or 0 (zero); b_codes(k) = m with factor f when b_k = f.b_m.  Clears the error
// pair; "Symmetry relations in B Factors are wrong!" when no such set of
// single-coefficient relations solves the constraints.  The text form keeps a
// reading fault of op_text in the error pair.
void sym_b_relations_op(const RotationMatrix& rot, std::array<std::int32_t, 6>& b_codes,
                        std::array<float, 6>& b_mult);
void sym_b_relations_st(std::string_view op_text, std::array<std::int32_t, 6>& b_codes,
                        std::array<float, 6>& b_mult);

// Labelled operator line on unit iunit: number, element symbol, Kovalev
// label, operator text and Seitz symbol of the cubic or (hexa) hexagonal
// model operation; with mag_line a second line with the image of a magnetic
// moment and mag_phase.  A rotation outside the family leaves the table
// fields empty and the error pair of the identification set.
void write_sym(std::int32_t iunit, std::int32_t op_number, const RotationMatrix& rot, const Vector3& tr,
               float mag_phase, bool mag_line);

template <std::size_t N>
void symmetry_symbol_str(const RotationMatrix& rot, const Vector3& tr, FixedText<N>& symbol) {
    detail::write_fixed(symbol, [&](std::string& t) { symmetry_symbol_str(rot, tr, t); });
}
template <std::size_t N>
void symmetry_symbol_xyz(std::string_view op_text, FixedText<N>& symbol) {
    detail::write_fixed(symbol, [&](std::string& t) { symmetry_symbol_xyz(op_text, t); });
}
template <std::size_t N>
void symmetry_symbol_op(const SymmetryOperator& op, FixedText<N>& symbol) {
    detail::write_fixed(symbol, [&](std::string& t) { symmetry_symbol_op(op, t); });
}
template <std::size_t N>
void write_symtrans_code(std::int32_t op_number, const Vector3& translation, FixedText<N>& code) {
    detail::write_fixed(code, [&](std::string& t) { write_symtrans_code(op_number, translation, t); });
}

// ==== Space-group report and stored record ====

// Text report of a record: title, symbols, counts, centrosymmetry,
// asymmetric unit, an inversion centre off the origin, the centring
// translations (for a "Z" lattice or with `full`) and the reduced operators
// two to a line; with `full` every stored operator with its geometric symbol,
// then the special Wyckoff positions.  Counts beyond the arrays are listed
// only up to the arrays' ends; negative counts list nothing.
void write_spacegroup(const SpaceGroup& group, std::optional<std::int32_t> iunit = std::nullopt,
                      bool full = false);

// The special Wyckoff positions under the title spg_symbol, from the last
// letter down to "a", three coordinate texts to a line; nothing at all for
// orbit_count 0.  With `ordered`, letters go by increasing number of
// positions (sort_i).
void write_wyckoff(const WyckoffSet& wyckoff, std::string_view spg_symbol,
                   std::optional<std::int32_t> iunit = std::nullopt, bool ordered = false);

// Stores the record as its header, each operator with its text, the
// asymmetric unit, the orbit count and each orbit's count, representative
// and positions, all little-endian, texts at full width.  A multiplicity
// above 192, an orbit count above 26 or a position count above 48 writes
// nothing; a refused count or a failed write sets the error pair
// (" Stored space-group record not written: ..."), which is not cleared at
// entry.
void write_bin_spacegroup(const SpaceGroup& group, std::int32_t iunit);

// Reads one stored record from the unit's current record.  All or nothing:
// `group` changes only when every read succeeds (ok true); a damaged,
// truncated or over-capacity record gives ok false and leaves it untouched.
// Fields not stored (orbit multiplicity and site, entries beyond the counts)
// keep their values.  The error pair is left alone.
void read_bin_spacegroup(SpaceGroup& group, std::int32_t iunit, bool& ok);

// ==== Setting change between notations ====

// Re-expresses every operator of `group` (1..multiplicity) in the setting of
// another notation: "IT" (International Tables, as built), "ML" (Miller-Love),
// "KO" (Kovalev), "BC" (Bradley-Cracknell) or "ZA" (Zak), any letter case,
// first two characters of each code.  W' = M.W.M^-1 with M the map from the
// source to the target setting through the setting-equivalence table, in
// units of 1/24; translations come back in [0,1).  All operator texts, the
// centring vectors with the lattice letter, symbol and description, and the
// centre of symmetry follow the converted operators; setting_type reads
// "Changed from XX to YY".  The symbols, Wyckoff positions and asymmetric
// unit still describe the International Tables setting.
// trans_text: the last table transformation read (table field, leading blank
// kept); back_text: the back transformation as an operator text.
// Refused, with the record untouched and both texts blank: a blank code
// (" Blank Option"), a number outside 1..230, an unknown code, a table
// transformation that changes the cell volume (determinant not +-1), an
// operator translation that is not finite, a count beyond the record's
// arrays (" Setting change refused: centring_count 40"; centring_count must
// lie in 1..12, reduced_count and multiplicity in 0..192).  Equal codes
// change only setting_type.
void setting_change(std::string_view from_code, std::string_view to_code, SpaceGroup& group,
                    std::string& trans_text, std::string& back_text);
template <std::size_t N, std::size_t M>
void setting_change(std::string_view from_code, std::string_view to_code, SpaceGroup& group,
                    FixedText<N>& trans_text, FixedText<M>& back_text) {
    std::string trans(N, ' '), back(M, ' ');
    setting_change(from_code, to_code, group, trans, back);
    trans_text = trans;
    back_text = back;
}

// ==== Space group in a transformed cell ====

// Builds in new_group the group of `group` in the cell (a',b',c') given by
// transf_matrix (rows = new basis vectors; columns when matrix_kind begins
// with "it" or "IT") with its origin at origin_shift (old fractional
// coordinates): R' = P^-1.R.P, t' = P^-1.(t + R.p - p).  New centring comes
// from the old lattice translations inside the new cell (or from the first
// character of fixed_lattice).  The generators kept after screening are built
// by set_spacegroup; generators are dropped from the end while the build holds
// a translation outside its lattice, so the result may be a proper subgroup.
// A build that fails stops there: new_group then holds no operators
// (multiplicity 0) and the error pair carries the construction's message.
// hm_symbol is the table's symbol, or "From(<old symbol>)" with " Lat:" and
// fixed_lattice, cut at 20; setting_type the text of the transformation.
// Errors: a singular matrix ("Inversion Matrix Failed on: similar_SG") or a
// volume ratio above 48 (" Transformation refused: volume ratio above 48"), or
// a count of group beyond its arrays (" Transformation refused: centring_count
// 2000000", same bounds as setting_change) leave new_group untouched.  Entry clears the flag only, not the message.
void similar_transf_sg(const RealMatrix& transf_matrix, const Vector3& origin_shift, const SpaceGroup& group,
                       SpaceGroup& new_group, std::optional<std::string_view> matrix_kind = std::nullopt,
                       std::optional<std::string_view> fixed_lattice = std::nullopt);

// ==== Translationengleiche subgroups ====

// The t-subgroups of `group` (a record in the layout that set_spacegroup
// builds from a symbol or generators): every distinct group generated by its
// centring with one or two operators of its point part, followed, for a
// centric group, by the same with the inversion; conjugates listed
// separately, the group itself included, the lattice alone never; in order of
// discovery, each named by get_hallsymb_from_gener.  subgroup_count stops at
// subgroups.size().  A record of another layout gives 0 with
// " Operators not in the order of a constructed group".  Afterwards hexa
// describes the last candidate built.
void get_t_subgroups(const SpaceGroup& group, std::span<SpaceGroup> subgroups, std::int32_t& subgroup_count);

}  // namespace vorn_crystallographic_symmetry
