// The rotation matrices of the Hall convention: the twofold, threefold,
// fourfold and sixfold rotations about a, b and c, the twofolds about the
// face diagonals (' the difference, " the sum of the two edges other than
// the one named) and the threefold about a+b+c.  Internal to the module:
// the Hall-symbol route builds operators from them, the derivation of a Hall
// symbol from operators recognises them.
//
// A matrix acts on the column vector of fractional coordinates; m[i][j] is
// row i+1, column j+1.  The comment gives the image of (x, y, z).
#pragma once

#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry::hall_matrices {

inline constexpr RotationMatrix x_2 = {{{1, 0, 0}, {0, -1, 0}, {0, 0, -1}}};     // x,-y,-z
inline constexpr RotationMatrix y_2 = {{{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}}};     // -x,y,-z
inline constexpr RotationMatrix z_2 = {{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}};     // -x,-y,z
inline constexpr RotationMatrix x_3 = {{{1, 0, 0}, {0, 0, -1}, {0, 1, -1}}};     // x,-z,y-z
inline constexpr RotationMatrix y_3 = {{{-1, 0, 1}, {0, 1, 0}, {-1, 0, 0}}};     // -x+z,y,-x
inline constexpr RotationMatrix z_3 = {{{0, -1, 0}, {1, -1, 0}, {0, 0, 1}}};     // -y,x-y,z
inline constexpr RotationMatrix x_4 = {{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}};      // x,-z,y
inline constexpr RotationMatrix y_4 = {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}};      // z,y,-x
inline constexpr RotationMatrix z_4 = {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}};      // -y,x,z
inline constexpr RotationMatrix x_6 = {{{1, 0, 0}, {0, 1, -1}, {0, 1, 0}}};      // x,y-z,y
inline constexpr RotationMatrix y_6 = {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 1}}};      // z,y,-x+z
inline constexpr RotationMatrix z_6 = {{{1, -1, 0}, {1, 0, 0}, {0, 0, 1}}};      // x-y,x,z
inline constexpr RotationMatrix x_2p = {{{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}}};   // -x,-z,-y  along b-c
inline constexpr RotationMatrix y_2p = {{{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}}};   // -z,-y,-x  along a-c
inline constexpr RotationMatrix z_2p = {{{0, -1, 0}, {-1, 0, 0}, {0, 0, -1}}};   // -y,-x,-z  along a-b
inline constexpr RotationMatrix x_2pp = {{{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}}};    // -x,z,y    along b+c
inline constexpr RotationMatrix y_2pp = {{{0, 0, 1}, {0, -1, 0}, {1, 0, 0}}};    // z,-y,x    along a+c
inline constexpr RotationMatrix z_2pp = {{{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}};    // y,x,-z    along a+b
inline constexpr RotationMatrix xyz_3 = {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}};     // z,x,y     along a+b+c

// Every element negated: the rotoinversion, or the reflection normal to a twofold axis.
constexpr RotationMatrix negated(const RotationMatrix& m) {
    RotationMatrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = -m[i][j];
    return r;
}

}  // namespace vorn_crystallographic_symmetry::hall_matrices
