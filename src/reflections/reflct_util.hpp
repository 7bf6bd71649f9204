// Module vorn_reflections_utilities: operations on Miller indices under a
// space group.
//
// Array convention of the module: a reflection is an Hkl (std::array of
// three indices, 0-based storage: h = [0], k = [1], l = [2]).  Operators of a
// SpaceGroup are reached with the symmetry module's at1 (operator i is
// operators[i - 1]); a rotation element R(i,j) is rot[i-1][j-1].  A
// reflection transforms as the row vector h.R.
#pragma once

#include <array>
#include <cstdint>
#include <iostream>
#include <string>
#include <string_view>

#include "symmetry/symmetry.hpp"

namespace vorn_reflections_utilities {

using vorn_crystallographic_symmetry::RotationMatrix;
using vorn_crystallographic_symmetry::SpaceGroup;

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
    cubic_m3, cubic_m3m
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

}  // namespace vorn_reflections_utilities
