// The whole group from a route's reduced operator set: the set itself, its
// images under the inversion, then copies of both by each centring
// translation.
#include "maths/math_gen.hpp"
#include "symmetry/route_operators.hpp"

namespace vorn_crystallographic_symmetry::route_detail {

bool expand_reduced_set(std::span<const RotationMatrix> rotations, std::span<const Vector3> translations,
                        std::size_t m, std::int32_t centre_code, const Vector3& centre,
                        std::int32_t centring_count, std::span<const Vector3> centring_vectors,
                        std::span<SymmetryOperator> ops, std::size_t& stored) {
    for (std::size_t k = 0; k < m; ++k) ops[k] = {rotations[k], translations[k]};
    stored = m;
    // Centre code 0: the inversion sits at the centre c, -x+2c; code 2: at the
    // origin.  Code 1 has no inversion.
    if (centre_code == 0 || centre_code == 2) {
        for (std::size_t i = 0; i < m; ++i) {
            SymmetryOperator& image = ops[m + i];
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c) image.rot[r][c] = -rotations[i][r][c];
            Vector3 t{};
            for (int c = 0; c < 3; ++c)
                t[c] = centre_code == 0 ? 2.0f * centre[c] - translations[i][c] : -translations[i][c];
            image.tr = vorn_math_general::modulo_lat(t);
        }
        stored = 2 * m;
    }
    // Every centring translation is copied while the group fits; a larger
    // group is reported, never silently truncated.
    const std::size_t block = stored;
    for (std::int32_t l = 2; l <= centring_count && static_cast<std::size_t>(l) <= centring_vectors.size(); ++l) {
        if (stored + block > ops.size()) return false;
        const Vector3& v = centring_vectors[static_cast<std::size_t>(l - 1)];
        for (std::size_t j = 0; j < block; ++j) {
            Vector3 t{};
            for (int c = 0; c < 3; ++c) t[c] = ops[j].tr[c] + v[c];
            ops[stored++] = {ops[j].rot, vorn_math_general::modulo_lat(t)};
        }
    }
    return true;
}

}  // namespace vorn_crystallographic_symmetry::route_detail
