// Module vorn_reflections_utilities: operations on Miller indices under a
// space group.
//
// Array convention of the module: a reflection is an Hkl (std::array of
// three indices, 0-based storage: h = [0], k = [1], l = [2]).  Operators of a
// SpaceGroup are reached with the symmetry module's at1 (operator i is
// operators[i - 1]); a rotation element R(i,j) is rot[i-1][j-1].  A
// reflection transforms as the row vector h.R.  Every other numbered array
// of the module (caller arrays, list entries, the condition table) is 0-based
// storage reached with at1 as well.  Caller arrays are std::span, whose size
// is the capacity: nothing is written beyond it.  Reports write their lines
// with write_line to a logical unit (string_util.hpp); a unit that is not
// open receives nothing.
#pragma once

#include <array>
#include <cstdint>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "symmetry/symmetry.hpp"

namespace vorn_reflections_utilities {

using vorn_crystallographic_symmetry::RotationMatrix;
using vorn_crystallographic_symmetry::SpaceGroup;
using vorn_crystallographic_symmetry::SymmetryOperator;
using vorn_string_utilities::FixedText;

using Hkl = std::array<std::int32_t, 3>;   // integer Miller indices (h, k, l)
using HklReal = std::array<float, 3>;      // real Miller indices

// ==== Module state: error pair ====

// Error pair of the module.  Set only by a failing procedure (write_asu);
// no procedure of the module clears it: a caller that tests the flag after
// a call clears the pair first with init_err_refl.  The message is kept
// exactly as written, cut to 150 characters (empty after a reset).
extern bool err_refl;
extern std::string err_refl_mess;
void init_err_refl();

// ==== Equality of reflections ====

// The two triples are identical.
bool hkl_equali(const Hkl& hkl1, const Hkl& hkl2);
// Every component differs by at most 0.0002 (a NaN component never matches).
bool hkl_equalr(const HklReal& hkl1, const HklReal& hkl2);

// ==== Image of a reflection under a rotation ====

// The row vector hkl times rot, in 32-bit integer arithmetic with wrap-around.
Hkl hr_i(const Hkl& hkl, const RotationMatrix& rot);
// The same in 32-bit real arithmetic.
HklReal hr_r(const HklReal& hkl, const RotationMatrix& rot);

// ==== Reciprocal asymmetric unit ====
// Each class routine forms the Friedel-normalised form of hkl (hkl or -hkl)
// and returns it when it lies in the asymmetric unit of its Laue class, else
// the zero triple.

Hkl asu_hkl_triclinic(const Hkl& hkl);
// axis: the unique axis, first character after left adjustment, any case;
// blank or absent means b.
Hkl asu_hkl_monoclinic(const Hkl& hkl, std::string_view axis = "b");
Hkl asu_hkl_orthorhombic(const Hkl& hkl);
Hkl asu_hkl_tetragonal(const Hkl& hkl, std::string_view laue);   // "4/m", "4/mmm"
Hkl asu_hkl_trigonal(const Hkl& hkl, std::string_view laue);     // "-3", "-3m", "-31m"
Hkl asu_hkl_hexagonal(const Hkl& hkl, std::string_view laue);    // "6/m", "6/mmm"
Hkl asu_hkl_cubic(const Hkl& hkl, std::string_view laue);        // "m-3", "m-3m"

// Chooses the class routine from the group's number (its Laue class when the
// number is not 1..230) and, for monoclinic groups, the unique axis of its
// setting code.
Hkl asu_hkl(const Hkl& hkl, const SpaceGroup& group);

// The same choice made once for many reflections of one group: the rule of
// the Laue class (with the unique axis for 2/m), and the rule applied.
// asu_hkl(hkl, asu_rule(group)) equals asu_hkl(hkl, group).
enum class AsuRule {
    none,  // no Laue class selected: every reflection gives the zero triple
    triclinic,
    monoclinic_a, monoclinic_b, monoclinic_c,
    orthorhombic,
    tetragonal_4_m, tetragonal_4_mmm,
    trigonal_3, trigonal_3m, trigonal_31m,
    hexagonal_6_m, hexagonal_6_mmm,
    cubic_m3, cubic_m3m,
    // Rhombohedral axes of the numbers 146, 148, 155, 160, 161, 166, 167
    // (setting code beginning "R"): the "-3" or "-3m" rule applied to the
    // obverse hexagonal indices (h-k, k-l, h+k+l) of the reflection.
    rhombohedral_3, rhombohedral_3m
};
AsuRule asu_rule(const SpaceGroup& group);
Hkl asu_hkl(const Hkl& hkl, AsuRule rule);

// Writes " => Reciprocal Asymmetric Unit " and the description of the
// asymmetric unit of the group.  An unknown Laue class sets the error pair
// (" SpaceGroup Laue Wrong") and writes nothing.
void write_asu(const SpaceGroup& group, std::ostream& out = std::cout);

// ==== Asymmetric-unit key ====

// The representative of hkl among its images under the reduced operators,
// shared by hkl, its Friedel opposite and all their symmetry equivalents:
// the greatest (h, then k, then l) of the accepted asymmetric-unit forms;
// when no image is accepted, the greatest of the images and their opposites.
// With reduced_count 0 (no operators) hkl itself.
Hkl get_hequiv_asu(const Hkl& hkl, const SpaceGroup& group);

// ==== Equivalent reflections, multiplicity and absences ====
// The group is centric when its centre_code is 2 or 0 (the inversion images
// follow the reduced operators in both cases).  A reflection h != 0 is
// centric in an acentric group when a reduced rotation sends it to -h.

// hkl2 is an image of hkl under the reduced operators (and their inversion
// images in a centric group), or, with friedel, the opposite of one.
bool hkl_equivi(const Hkl& hkl, const Hkl& hkl2, const SpaceGroup& group, bool friedel = false);
bool hkl_equivr(const HklReal& hkl, const HklReal& hkl2, const SpaceGroup& group, bool friedel = false);
// Number of distinct equivalents of hkl: the images up to sign, doubled with
// friedel, in a centric group and for a centric reflection (h != 0).
std::int32_t hkl_multi(const Hkl& hkl, const SpaceGroup& group, bool friedel);
std::int32_t hkl_multr(const HklReal& hkl, const SpaceGroup& group, bool friedel);
// The equivalents themselves: the images up to sign in order of first
// appearance, then, when doubled, their opposites in the same order.  The
// first min(size, 2 max(reduced_count, 1)) elements are zeroed first; mult is
// the true count even when the span is shorter.
void hkl_equiv_listi(const Hkl& hkl, const SpaceGroup& group, bool friedel, std::int32_t& mult,
                     std::span<Hkl> equivalents);
void hkl_equiv_listr(const HklReal& hkl, const SpaceGroup& group, bool friedel, std::int32_t& mult,
                     std::span<HklReal> equivalents);
// Systematically absent: some operator of the whole group (centring copies
// included) keeps hkl and gives it a phase shift h.t that is not an integer.
bool hkl_absenti(const Hkl& hkl, const SpaceGroup& group);
bool hkl_absentr(const HklReal& hkl, const SpaceGroup& group);
// Image of hkl under op and the phase (degrees) of its structure factor:
// phase - 360 h.t, reduced into [0, 360).
void hkl_rpi(const Hkl& hkl, float phase, const SymmetryOperator& op, Hkl& hkl_new, float& phase_new);
void hkl_rpr(const HklReal& hkl, float phase, const SymmetryOperator& op, HklReal& hkl_new, float& phase_new);

// ==== Reflection metrics ====

// The unit cell read by the metrics and the generators; built by the caller.
struct UnitCell {
    std::array<float, 3> edges{};                                // a, b, c
    std::array<std::array<float, 3>, 3> reciprocal_metric{};     // G*[i-1][j-1], symmetric
    std::array<std::array<float, 3>, 3> frac_to_cart{};          // M: column j = direct basis vector j
};

// s = sin(theta)/lambda = |h*| / 2.
float hs_i(const Hkl& hkl, const UnitCell& cell);
float hs_r(const HklReal& hkl, const UnitCell& cell);
// Cartesian unit vector along the reciprocal-lattice vector of hkl (NaN for 000).
std::array<float, 3> unit_cart_hkli(const Hkl& hkl, const UnitCell& cell);
std::array<float, 3> unit_cart_hklr(const HklReal& hkl, const UnitCell& cell);

// ==== Reflection records and lists ====

struct Reflection {
    Hkl hkl{};
    std::int32_t multiplicity = 0;
    float s = 0.0f;  // sin(theta)/lambda
};

struct ReflectionEntry {
    Hkl hkl{};
    std::int32_t multiplicity = 0;
    float f_obs = 0.0f;
    float f_calc = 0.0f;
    float sigma_f_obs = 0.0f;
    float s = 0.0f;
    std::array<float, 6> spare{};
};

// The entries of a list; empty when unallocated.  The procedures that fill a
// list keep reflection_count equal to the number of entries.
struct ReflectionList {
    std::int32_t reflection_count = 0;
    std::vector<ReflectionEntry> entries;
};

// Empties the list; with n >= 1 gives it n zeroed entries.  A count n < 1 is
// kept as it is, with no entries.
void init_reflist(ReflectionList& list, std::optional<std::int32_t> n = std::nullopt);
// The list of reflections and structure factors with its index extremes, on
// the unit (standard output by default); radiation "NUC"/"nuc" titles it
// for neutrons, any other text for X-rays.
void write_reflist_info(const ReflectionList& list, std::optional<std::int32_t> iunit = std::nullopt,
                        std::optional<std::string_view> radiation = std::nullopt);

// ==== Reflection generation ====

// Estimated number of reflections with s_min <= s <= s_max in a cell of the
// given volume (per multiplicity when given): 2 N / max(1, multiplicity).
std::int32_t get_maxnumref(float s_max, float cell_volume, std::optional<float> s_min = std::nullopt,
                           std::optional<std::int32_t> multiplicity = std::nullopt);
// The reflections of the shell that lie in the asymmetric unit and are not
// absent, in scan order (h slowest); the limits may come in either order.
void hkl_gen(const UnitCell& cell, const SpaceGroup& group, bool friedel, float s_limit_1, float s_limit_2,
             std::int32_t& count, std::span<Reflection> reflections);
// Index limits: [i][0] lower, [i][1] upper bound of index i (h, k, l).
using IndexLimits = std::array<std::array<std::int32_t, 2>, 3>;
// Every reflection of the box (+-h_max, +-k_max, +-l_max, or index_limits) in
// the shell that is not absent, multiplicity without Friedel's law.
// loop_order(3) names the outermost index, loop_order(1) the innermost
// (default 3, 2, 1: h slowest); one that is not a permutation gives nothing.
void hkl_gen_sxtal_reflection(const UnitCell& cell, const SpaceGroup& group, float s_min, float s_max,
                              std::int32_t& count, std::span<Reflection> reflections,
                              std::optional<std::array<std::int32_t, 3>> loop_order = std::nullopt,
                              std::optional<IndexLimits> index_limits = std::nullopt);
// The same into a list, whose capacity is the size of the s_max box.
void hkl_gen_sxtal_list(const UnitCell& cell, const SpaceGroup& group, float s_min, float s_max,
                        std::int32_t& count, ReflectionList& list,
                        std::optional<std::array<std::int32_t, 3>> loop_order = std::nullopt,
                        std::optional<IndexLimits> index_limits = std::nullopt);

// ==== Unique reflection lists ====
// The reflections of the shell between limit_1 and limit_2 (s values, or
// spacings d when limit_kind begins with "r" or "R") that lie in the
// asymmetric unit and are not absent, sorted by s (scan order when unsorted).
// A group outside the settings table whose rotations with the inversion are
// not exactly the Laue group of its class rule, in the orientation the rule
// is written for, is scanned over the whole box instead: these lists and
// hkl_gen take each class of the shell once, at its greatest member (h, then
// k, then l) among the images under the group's rotations and their
// opposites.  A limit that is not finite gives nothing.

void hkl_uni_reflect(const UnitCell& cell, const SpaceGroup& group, bool friedel, float limit_1, float limit_2,
                     std::string_view limit_kind, std::int32_t& count, std::span<Reflection> reflections,
                     std::optional<bool> unsorted = std::nullopt);
// Writes hkl, multiplicity and s only.
void hkl_uni_reflection(const UnitCell& cell, const SpaceGroup& group, bool friedel, float limit_1, float limit_2,
                        std::string_view limit_kind, std::int32_t& count, std::span<ReflectionEntry> reflections,
                        std::optional<bool> unsorted = std::nullopt);
// At most max_count reflections into the list (a negative count counts as 0).
void hkl_uni_refllist(const UnitCell& cell, const SpaceGroup& group, bool friedel, float limit_1, float limit_2,
                      std::string_view limit_kind, std::int32_t max_count, ReflectionList& list,
                      std::optional<bool> unsorted = std::nullopt);

// ==== Reflection conditions ====
// Module state: the 58 conditions (80 characters each), 1-6 integral
// (centring), 7-39 zonal (glide planes), 40-58 serial (screw axes), reached
// with at1.  Holds its texts from the start; written again only by
// init_ref_cond; read by the three condition reports.
constexpr std::size_t num_ref_conditions = 58;
extern std::array<FixedText<80>, num_ref_conditions> hkl_ref_conditions;
// Module state: false at start; set by the first extinction search, which
// calls init_ref_cond before; never reset.
extern bool hkl_ref_cond_ini;
void init_ref_cond();

// Each report prints the conditions whose forbidden test reflections are all
// absent in the group; without a unit nothing is written.
void integral_conditions(const SpaceGroup& group, std::optional<std::int32_t> iunit = std::nullopt);
void glide_planes_conditions(const SpaceGroup& group, std::optional<std::int32_t> iunit = std::nullopt);
void screw_axis_conditions(const SpaceGroup& group, std::optional<std::int32_t> iunit = std::nullopt);

// The three reports in a row, to the unit.
void search_extinctions_iunit(const SpaceGroup& group, std::optional<std::int32_t> iunit);
// The three reports as lines: each cut at 132 characters, without trailing
// blanks, cut or padded to the length of its element; the other elements
// blank.  More lines than elements sets the error pair and drops the rest.
void search_extinctions_file(const SpaceGroup& group, std::int32_t& line_count,
                             std::span<std::string> report_lines);

}  // namespace vorn_reflections_utilities
