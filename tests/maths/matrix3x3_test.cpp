// 3x3 matrices with a failure report: matrix_inverse, used for the rotations
// of symmetry operators and cell transformations, and the Jacobi eigen-solver.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "maths/math_3D.hpp"

using namespace vorn_math_3d;

namespace {

Mat3f product(const Mat3f& a, const Mat3f& b) {
    Mat3f c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) c[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return c;
}

}  // namespace

TEST(MatrixInverse3d, RotationsOfSymmetryOperatorsInvertExactly) {
    // every integer matrix with entries in {-1,0,1} and determinant ±1: the
    // inverse is again integral and A·A⁻¹ = I exactly
    int count = 0;
    for (int code = 0; code < 19683; ++code) {
        Mat3i r{};
        int c = code;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                r[i][j] = c % 3 - 1;
                c /= 3;
            }
        std::int32_t d = determ_a_i(r);
        Mat3f a{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) a[i][j] = static_cast<float>(r[i][j]);
        Mat3f inv;
        std::int32_t fail = -1;
        matrix_inverse(a, inv, fail);
        if (d == 0) {
            EXPECT_EQ(fail, 1) << "code " << code;
            EXPECT_TRUE(err_math3d);
            continue;
        }
        EXPECT_EQ(fail, 0) << "code " << code;
        EXPECT_FALSE(err_math3d);
        if (d == 1 || d == -1) {
            ++count;
            Mat3f p = product(a, inv);
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) ASSERT_EQ(p[i][j], i == j ? 1.0f : 0.0f) << "code " << code;
        }
    }
    EXPECT_GT(count, 48);
}

TEST(MatrixInverse3d, RandomMatricesAndCellTransformations) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<float> d(-2.0f, 2.0f);
    for (int trial = 0; trial < 300; ++trial) {
        Mat3f a{};
        for (auto& row : a)
            for (auto& e : row) e = d(gen);
        for (int i = 0; i < 3; ++i) a[i][i] += 5.0f;
        Mat3f inv;
        std::int32_t fail;
        matrix_inverse(a, inv, fail);
        ASSERT_EQ(fail, 0);
        Mat3f p = product(a, inv);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) EXPECT_NEAR(p[i][j], i == j ? 1.0f : 0.0f, 2e-6f);
    }
    // primitive to face-centred cell and back
    Mat3f f{{{0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}, {0.5f, 0.5f, 0}}};
    Mat3f inv;
    std::int32_t fail;
    matrix_inverse(f, inv, fail);
    EXPECT_EQ(fail, 0);
    EXPECT_EQ(inv, (Mat3f{{{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}}}));
}

TEST(MatrixInverse3d, SingularLeavesTheAdjugateAndReports) {
    Mat3f a{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
    Mat3f inv;
    std::int32_t fail = 0;
    matrix_inverse(a, inv, fail);
    EXPECT_EQ(fail, 1);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Singular Matrix: inversion imposible");
    // adjugate of the singular matrix, undivided
    EXPECT_EQ(inv, (Mat3f{{{-3, 6, -3}, {6, -12, 6}, {-3, 6, -3}}}));

    // |det| just below 1e-20 fails, at 1e-20 and above it divides
    float s = std::cbrt(0.9e-20f);
    Mat3f small{{{s, 0, 0}, {0, s, 0}, {0, 0, s}}};
    matrix_inverse(small, inv, fail);
    EXPECT_EQ(fail, 1);
    Mat3f edge{{{1e-20f, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    matrix_inverse(edge, inv, fail);
    EXPECT_EQ(fail, 0);
    EXPECT_FALSE(err_math3d);
    EXPECT_TRUE(err_math3d_mess.empty());
    EXPECT_EQ(inv[1][1], 1.0f);
    EXPECT_NEAR(inv[0][0], 1e20f, 1e14f);

    // a NaN entry is reported as singular rather than returned as success
    Mat3f nanm{{{std::nanf(""), 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    matrix_inverse(nanm, inv, fail);
    EXPECT_EQ(fail, 1);
    EXPECT_TRUE(err_math3d);
}

namespace {

// max |V·diag(λ)·Vᵀ − A| over the upper triangle taken as symmetric
double reconstruction_error(const Mat3f& a, const Vec3f& lambda, const Mat3f& v) {
    double worst = 0.0;
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) {
            double s = 0.0;
            for (int k = 1; k <= 3; ++k) s += double(at1(v, i, k)) * at1(lambda, k) * at1(v, j, k);
            double aij = i <= j ? at1(a, i, j) : at1(a, j, i);
            worst = std::max(worst, std::fabs(s - aij));
        }
    return worst;
}

double orthonormality_error(const Mat3f& v) {
    double worst = 0.0;
    for (int i = 1; i <= 3; ++i)
        for (int j = 1; j <= 3; ++j) {
            double s = 0.0;
            for (int k = 1; k <= 3; ++k) s += double(at1(v, k, i)) * at1(v, k, j);
            worst = std::max(worst, std::fabs(s - (i == j ? 1.0 : 0.0)));
        }
    return worst;
}

}  // namespace

TEST(MatrixDiageigen3d, IdentityTakesTheFortyFiveDegreeStep) {
    Mat3f id{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    Vec3f lambda;
    Mat3f v;
    matrix_diageigen(id, lambda, v);
    EXPECT_FALSE(err_math3d);
    // two ulps below 1 at most: each 45-degree step rounds c² + s² to 32 bits
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(lambda[i], 1.0f, 2.5e-7f);
    // the eigenvectors are not the coordinate axes
    EXPECT_GT(std::fabs(v[0][1]), 0.1f);
    EXPECT_LT(orthonormality_error(v), 1e-6);
}

TEST(MatrixDiageigen3d, ZeroMatrixNeverConverges) {
    Mat3f zero{};
    Vec3f lambda{9, 9, 9};
    Mat3f v;
    matrix_diageigen(zero, lambda, v);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, " Convergence not reached in diagonalization ");
    EXPECT_EQ(lambda, (Vec3f{0, 0, 0}));
    EXPECT_LT(orthonormality_error(v), 1e-5);
    // NaN input ends the same way, without a crash
    Mat3f nanm{{{std::nanf(""), 0, 0}, {0, 1, 0}, {0, 0, 2}}};
    matrix_diageigen(nanm, lambda, v);
    EXPECT_TRUE(err_math3d);
}

TEST(MatrixDiageigen3d, LowerTriangleIsIgnored) {
    Mat3f upper{{{4, 1, 2}, {0, 3, 0.5f}, {0, 0, 1}}};
    Mat3f full{{{4, 1, 2}, {1, 3, 0.5f}, {2, 0.5f, 1}}};
    Mat3f junk{{{4, 1, 2}, {-7, 3, 0.5f}, {100, 5, 1}}};
    Vec3f l1, l2, l3;
    Mat3f v1, v2, v3;
    matrix_diageigen(upper, l1, v1);
    matrix_diageigen(full, l2, v2);
    matrix_diageigen(junk, l3, v3);
    EXPECT_EQ(l1, l2);
    EXPECT_EQ(l1, l3);
    EXPECT_EQ(v1, v2);
    EXPECT_EQ(v1, v3);
}

TEST(MatrixDiageigen3d, RandomSymmetricMatricesDecompose) {
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> d(-3.0f, 3.0f);
    for (int trial = 0; trial < 300; ++trial) {
        Mat3f a{};
        for (int i = 0; i < 3; ++i)
            for (int j = i; j < 3; ++j) a[i][j] = a[j][i] = d(gen);
        Vec3f lambda;
        Mat3f v;
        matrix_diageigen(a, lambda, v);
        ASSERT_FALSE(err_math3d) << "trial " << trial;
        EXPECT_LT(reconstruction_error(a, lambda, v), 1e-4) << "trial " << trial;
        EXPECT_LT(orthonormality_error(v), 1e-5) << "trial " << trial;
        // A·v = λ·v for each column
        for (int k = 1; k <= 3; ++k)
            for (int i = 1; i <= 3; ++i) {
                double s = 0.0;
                for (int j = 1; j <= 3; ++j) s += double(at1(a, i, j)) * at1(v, j, k);
                EXPECT_NEAR(s, double(at1(lambda, k)) * at1(v, i, k), 1e-4);
            }
    }
    // a metric tensor of a monoclinic cell: positive eigenvalues, trace kept
    Mat3f g{{{25, 0, -3.2f}, {0, 36, 0}, {0, 0, 49}}};
    Vec3f lambda;
    Mat3f v;
    matrix_diageigen(g, lambda, v);
    EXPECT_FALSE(err_math3d);
    EXPECT_NEAR(lambda[0] + lambda[1] + lambda[2], 110.0f, 1e-4f);
    EXPECT_LT(reconstruction_error(g, lambda, v), 1e-4);
}
