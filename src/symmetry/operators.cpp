// Algebra of symmetry operators: equality, images of points, rotation order,
// products, inverse, and the equality of two whole groups.
#include <algorithm>
#include <cmath>

#include "maths/math_3D.hpp"
#include "maths/math_gen.hpp"
#include "symmetry/symmetry.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace {

// Two translations are the same when no component differs by more than this
// (fractions of the cell edges).
constexpr float translation_tolerance = 0.0002f;

bool same_rotation(const RotationMatrix& a, const RotationMatrix& b) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            if (a[i][j] != b[i][j]) return false;
    return true;
}

// rot.v in single precision, the integer entries taken as reals.
Vector3 rotate(const RotationMatrix& rot, const Vector3& v) {
    Vector3 r{};
    for (int i = 0; i < 3; ++i) {
        float s = 0.0f;
        for (int j = 0; j < 3; ++j) s += static_cast<float>(rot[i][j]) * v[j];
        r[i] = s;
    }
    return r;
}

}  // namespace

bool equal_symop(const SymmetryOperator& op1, const SymmetryOperator& op2) {
    for (int i = 0; i < 3; ++i)
        if (std::fabs(op1.tr[i] - op2.tr[i]) > translation_tolerance) return false;
    return same_rotation(op1.rot, op2.rot);
}

Vector3 applyso(const SymmetryOperator& op, const Vector3& point) {
    Vector3 r = rotate(op.rot, point);
    for (int i = 0; i < 3; ++i) r[i] += op.tr[i];
    return r;
}

std::int32_t axes_rotation(const RotationMatrix& rot_part) {
    const std::int32_t det = vorn_math_3d::determ_a_i(rot_part);
    const std::int32_t trace = vorn_math_general::trace_i(rot_part);
    // Rows: trace 3, 2, 1, 0, -1, -2, -3.
    static constexpr std::int32_t proper[7] = {1, 6, 4, 3, 2, 0, 0};
    static constexpr std::int32_t improper[7] = {0, 0, -2, -3, -4, -6, -1};
    if (trace < -3 || trace > 3) return 0;
    const int row = 3 - trace;
    if (det == 1) return proper[row];
    if (det == -1) return improper[row];
    return 0;
}

bool is_new_op(const SymmetryOperator& op, std::int32_t n_ops, std::span<const SymmetryOperator> op_list) {
    if (n_ops < 1) return true;
    const std::size_t n = std::min(static_cast<std::size_t>(n_ops), op_list.size());
    for (std::size_t k = 0; k < n; ++k)
        if (equal_symop(op, op_list[k])) return false;
    return true;
}

bool equiv_symop(const SymmetryOperator& op1, const SymmetryOperator& op2, char lat_letter) {
    Vector3 d{};
    for (int i = 0; i < 3; ++i) d[i] = op1.tr[i] - op2.tr[i];
    if (!lattice_trans(d, lat_letter)) return false;
    return same_rotation(op1.rot, op2.rot);
}

SymmetryOperator product_symop(const SymmetryOperator& op1, const SymmetryOperator& op2) {
    SymmetryOperator p;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            std::int32_t s = 0;
            for (int k = 0; k < 3; ++k)
                s = vorn_string_utilities::wrap_add(s, vorn_string_utilities::wrap_mul(op1.rot[i][k], op2.rot[k][j]));
            p.rot[i][j] = s;
        }
    p.tr = rotate(op1.rot, op2.tr);
    for (int i = 0; i < 3; ++i) p.tr[i] += op1.tr[i];
    return p;
}

SymmetryOperator sym_prod(const SymmetryOperator& op1, const SymmetryOperator& op2, bool modlat) {
    SymmetryOperator p = product_symop(op1, op2);
    if (modlat) p.tr = vorn_math_general::modulo_lat(p.tr);
    return p;
}

bool spgr_equal(const SpaceGroup& group1, const SpaceGroup& group2) {
    const std::int32_t m1 = group1.multiplicity;
    const std::int32_t m2 = group2.multiplicity;
    if (m1 <= 0 || m2 <= 0 || m1 != m2) return false;
    return vorn_string_utilities::equal_sets_text(group1.operator_symbols, m1, group2.operator_symbols, m2);
}

void inverse_symm(const RotationMatrix& rot_part, const Vector3& tr_part, RotationMatrix& inv_rot,
                  Vector3& inv_tr) {
    init_err_symm();
    inv_rot = RotationMatrix{};
    inv_tr = Vector3{};
    RealMatrix a{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) a[i][j] = static_cast<float>(rot_part[i][j]);
    RealMatrix b{};
    std::int32_t fail_code = 0;
    vorn_math_3d::matrix_inverse(a, b, fail_code);
    if (fail_code != 0) {
        set_err_symm("Inversion Matrix Failed");
        return;
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) inv_rot[i][j] = vorn_string_utilities::nint(b[i][j]);
    for (int i = 0; i < 3; ++i) {
        float s = 0.0f;
        for (int j = 0; j < 3; ++j) s += b[i][j] * tr_part[j];
        inv_tr[i] = -s;
    }
}

}  // namespace vorn_crystallographic_symmetry
