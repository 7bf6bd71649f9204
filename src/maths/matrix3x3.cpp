// 3x3 matrices with a failure report: the inverse by the adjugate and the
// cyclic Jacobi eigen-solver for symmetric matrices.
#include <cmath>

#include "maths/math_3D.hpp"

namespace vorn_math_3d {

// The rotation of a symmetry operator or a cell transformation is inverted
// through its adjugate; cofactors and determinant are carried in double and
// each stored entry is rounded to 32 bits.
void matrix_inverse(const Mat3f& matrix, Mat3f& inverse, std::int32_t& fail_code) {
    fail_code = 0;
    init_err_math3d();
    auto m = [&](int i, int j) { return static_cast<double>(at1(matrix, i, j)); };
    double c11 = m(2, 2) * m(3, 3) - m(2, 3) * m(3, 2);
    double c12 = -(m(2, 1) * m(3, 3) - m(2, 3) * m(3, 1));
    double c13 = m(2, 1) * m(3, 2) - m(2, 2) * m(3, 1);
    double c21 = -(m(1, 2) * m(3, 3) - m(1, 3) * m(3, 2));
    double c22 = m(1, 1) * m(3, 3) - m(1, 3) * m(3, 1);
    double c23 = -(m(1, 1) * m(3, 2) - m(1, 2) * m(3, 1));
    double c31 = m(1, 2) * m(2, 3) - m(1, 3) * m(2, 2);
    double c32 = -(m(1, 1) * m(2, 3) - m(1, 3) * m(2, 1));
    double c33 = m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1);
    // inverse(i,j) holds the cofactor of m(j,i)
    inverse = Mat3f{{{static_cast<float>(c11), static_cast<float>(c21), static_cast<float>(c31)},
                     {static_cast<float>(c12), static_cast<float>(c22), static_cast<float>(c32)},
                     {static_cast<float>(c13), static_cast<float>(c23), static_cast<float>(c33)}}};
    double det = m(1, 1) * c11 + m(1, 2) * c12 + m(1, 3) * c13;
    // 1e-20 as a 32-bit constant; a NaN determinant fails as well.
    if (!(std::fabs(det) >= static_cast<double>(1.0e-20f))) {
        fail_code = 1;
        err_math3d = true;
        err_math3d_mess = "Singular Matrix: inversion imposible";
        return;
    }
    for (auto& row : inverse)
        for (auto& e : row) e = static_cast<float>(static_cast<double>(e) / det);
}

// Cyclic Jacobi sweeps over the pairs (1,2), (1,3), (2,3).  Each plane
// transform J (J(p,p) = c, J(p,q) = J(q,p) = s, J(q,q) = -c) is symmetric and
// its own inverse; A becomes J·A·J.  Intermediates are double, every stored
// entry 32-bit.  Equal diagonal entries always take the 45-degree step, so
// the identity does not return the coordinate axes as eigenvectors.
void matrix_diageigen(const Mat3f& matrix, Vec3f& eigenvalues, Mat3f& eigenvectors) {
    init_err_math3d();
    Mat3f a{};
    for (int i = 1; i <= 3; ++i)
        for (int j = i; j <= 3; ++j) {
            at1(a, i, j) = at1(matrix, i, j);
            at1(a, j, i) = at1(matrix, i, j);
        }
    Mat3f& v = eigenvectors;
    v = Mat3f{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    const float tau = 1.0e-7f;
    auto square_sum = [](float x, float y, float z) {
        return static_cast<float>(static_cast<double>(x) * x + static_cast<double>(y) * y +
                                  static_cast<double>(z) * z);
    };
    float s_old = square_sum(a[0][0], a[1][1], a[2][2]);
    const int pairs[3][2] = {{1, 2}, {1, 3}, {2, 3}};
    for (int sweep = 1; sweep <= 50; ++sweep) {
        for (const auto& pair : pairs) {
            const int p = pair[0], q = pair[1];
            const float d = static_cast<float>(static_cast<double>(at1(a, p, p)) - at1(a, q, q));
            float c, s;
            if (std::fabs(d) <= tau) {
                c = 0.70710677f;
                s = 0.70710677f;
            } else if (std::fabs(at1(a, p, q)) <= tau) {
                at1(a, p, q) = 0.0f;
                at1(a, q, p) = 0.0f;
                continue;
            } else {
                const double g = 2.0 * at1(a, p, q) * (d >= 0.0f ? 1.0 : -1.0);
                const double r = std::sqrt(g * g + static_cast<double>(d) * d);
                const double cd = std::sqrt((1.0 + std::fabs(static_cast<double>(d)) / r) * 0.5);
                c = static_cast<float>(cd);
                s = static_cast<float>(g / (2.0 * r * cd));
            }
            Mat3d j{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
            at1(j, p, p) = c;
            at1(j, p, q) = s;
            at1(j, q, p) = s;
            at1(j, q, q) = -static_cast<double>(c);
            Mat3d ja{};
            for (int r = 0; r < 3; ++r)
                for (int col = 0; col < 3; ++col)
                    ja[r][col] = j[r][0] * a[0][col] + j[r][1] * a[1][col] + j[r][2] * a[2][col];
            for (int r = 0; r < 3; ++r)
                for (int col = 0; col < 3; ++col)
                    a[r][col] = static_cast<float>(ja[r][0] * j[0][col] + ja[r][1] * j[1][col] +
                                                   ja[r][2] * j[2][col]);
            at1(a, p, q) = 0.0f;
            at1(a, q, p) = 0.0f;
            for (int k = 1; k <= 3; ++k) {
                const double vp = at1(v, k, p), vq = at1(v, k, q);
                at1(v, k, p) = static_cast<float>(c * vp + s * vq);
                at1(v, k, q) = static_cast<float>(s * vp - c * vq);
            }
        }
        eigenvalues = Vec3f{a[0][0], a[1][1], a[2][2]};
        const float s_new = square_sum(eigenvalues[0], eigenvalues[1], eigenvalues[2]);
        // the ratio of two zero sums is not a number: the test then fails
        if (1.0 - static_cast<double>(s_old) / s_new <= 1.0e-7) return;
        s_old = s_new;
    }
    err_math3d = true;
    err_math3d_mess = " Convergence not reached in diagonalization ";
}

}  // namespace vorn_math_3d
