// Metrics of a reflection in a unit cell: sin(theta)/lambda and the Cartesian
// direction of its reciprocal-lattice vector.
#include <cmath>
#include <cstdint>

#include "reflections/reflct_util.hpp"

namespace vorn_reflections_utilities {

namespace {

using Metric = std::array<std::array<float, 3>, 3>;

// |h*|^2 = h G* h^T over the upper triangle of the reciprocal metric; the
// squares are given, so that the integer form can take them from integer
// products.
float squared_length(float hh, float kk, float ll, const HklReal& h, const Metric& g) {
    return hh * g[0][0] + kk * g[1][1] + ll * g[2][2] + 2.0f * h[0] * h[1] * g[0][1] +
           2.0f * h[0] * h[2] * g[0][2] + 2.0f * h[1] * h[2] * g[1][2];
}

std::array<float, 3> unit_direction(const HklReal& h, const UnitCell& cell) {
    // G* h gives the reciprocal vector in the direct basis; M takes it to
    // Cartesian axes, where it is normalised (000 has no direction: NaN).
    std::array<float, 3> u{}, v{};
    for (int i = 0; i < 3; ++i) {
        float sum = 0.0f;
        for (int j = 0; j < 3; ++j) sum += cell.reciprocal_metric[i][j] * h[j];
        u[i] = sum;
    }
    for (int i = 0; i < 3; ++i) {
        float sum = 0.0f;
        for (int j = 0; j < 3; ++j) sum += cell.frac_to_cart[i][j] * u[j];
        v[i] = sum;
    }
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return {v[0] / length, v[1] / length, v[2] / length};
}

HklReal as_real(const Hkl& hkl) {
    return {static_cast<float>(hkl[0]), static_cast<float>(hkl[1]), static_cast<float>(hkl[2])};
}

}  // namespace

float hs_i(const Hkl& hkl, const UnitCell& cell) {
    // The squares are exact 64-bit products (|h| <= 2^31, so h^2 <= 2^62),
    // each rounded once to a 32-bit real: while |h| <= 2^24 this is the real
    // product h*h of hs_r, so both give the same s for the same indices.
    const auto square = [](std::int32_t h) {
        return static_cast<float>(static_cast<std::int64_t>(h) * static_cast<std::int64_t>(h));
    };
    const float q = squared_length(square(hkl[0]), square(hkl[1]), square(hkl[2]), as_real(hkl), cell.reciprocal_metric);
    return 0.5f * std::sqrt(q);
}

float hs_r(const HklReal& hkl, const UnitCell& cell) {
    const float q = squared_length(hkl[0] * hkl[0], hkl[1] * hkl[1], hkl[2] * hkl[2], hkl, cell.reciprocal_metric);
    return 0.5f * std::sqrt(q);
}

std::array<float, 3> unit_cart_hkli(const Hkl& hkl, const UnitCell& cell) { return unit_direction(as_real(hkl), cell); }
std::array<float, 3> unit_cart_hklr(const HklReal& hkl, const UnitCell& cell) { return unit_direction(hkl, cell); }

}  // namespace vorn_reflections_utilities
