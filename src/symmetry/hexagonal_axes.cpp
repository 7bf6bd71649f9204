// Hexagonal-axes test: operators written on hexagonal axes couple a and b,
// which shows as a column of the rotation with more than one non-zero entry.
#include <cstdlib>

#include "symmetry/symmetry.hpp"

namespace vorn_crystallographic_symmetry {

bool is_hexa(std::int32_t ng, std::span<const RotationMatrix> rotations) {
    const std::size_t n = ng < 0 ? 0 : std::min(static_cast<std::size_t>(ng), rotations.size());
    // Operator 1, the identity, is not examined; column 3 never needs to be:
    // on hexagonal axes c is unique.
    for (std::size_t k = 1; k < n; ++k) {
        const RotationMatrix& r = rotations[k];
        for (std::size_t j = 0; j < 2; ++j)
            if (std::abs(r[0][j]) + std::abs(r[1][j]) + std::abs(r[2][j]) > 1) return true;
    }
    return false;
}

}  // namespace vorn_crystallographic_symmetry
