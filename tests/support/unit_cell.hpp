// A UnitCell from the six cell parameters (angstrom, degrees), a along x and
// b in the xy plane, computed in double; the library itself builds none.
#pragma once

#include <cmath>
#include <numbers>

#include "reflections/reflct_util.hpp"

namespace test_cells {

inline vorn_reflections_utilities::UnitCell unit_cell(double a, double b, double c, double alpha = 90.0,
                                                      double beta = 90.0, double gamma = 90.0) {
    const double r = std::numbers::pi / 180.0, ca = std::cos(alpha * r), cb = std::cos(beta * r), cg = std::cos(gamma * r);
    const double sg = std::sin(gamma * r), v = a * b * c * std::sqrt(1 - ca * ca - cb * cb - cg * cg + 2 * ca * cb * cg);
    // Columns of M are the direct basis vectors; G* = (M^T M)^-1 = M^-1 M^-T.
    const double m[3][3] = {{a, b * cg, c * cb}, {0, b * sg, c * (ca - cb * cg) / sg}, {0, 0, v / (a * b * sg)}};
    const double inv[3][3] = {{1 / m[0][0], -m[0][1] / (m[0][0] * m[1][1]), (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / (m[0][0] * m[1][1] * m[2][2])},
                              {0, 1 / m[1][1], -m[1][2] / (m[1][1] * m[2][2])}, {0, 0, 1 / m[2][2]}};
    vorn_reflections_utilities::UnitCell cell;
    cell.edges = {float(a), float(b), float(c)};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            cell.frac_to_cart[i][j] = float(m[i][j]);
            cell.reciprocal_metric[i][j] = float(inv[i][0] * inv[j][0] + inv[i][1] * inv[j][1] + inv[i][2] * inv[j][2]);
        }
    return cell;
}

}  // namespace test_cells
