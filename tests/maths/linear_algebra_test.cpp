// LU decomposition with row-scaled pivoting, substitution, the two inverses
// and the determinants: the worked pivot records and parities, singular
// cases, and A x = b, A A^-1 = I and determinant identities on random and
// structured matrices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;
using VI = std::vector<std::int32_t>;

namespace {

Matrix<float> product(const Matrix<float>& a, const Matrix<float>& b) {
    Matrix<float> c(a.rows, b.cols);
    for (std::int32_t i = 1; i <= a.rows; ++i)
        for (std::int32_t j = 1; j <= b.cols; ++j) {
            double s = 0;
            for (std::int32_t k = 1; k <= a.cols; ++k) s += double(a.at1(i, k)) * b.at1(k, j);
            c.at1(i, j) = float(s);
        }
    return c;
}

Matrix<float> random_matrix(std::mt19937& gen, std::int32_t n) {
    std::uniform_real_distribution<float> d(-2.0f, 2.0f);
    Matrix<float> a(n, n);
    for (auto& x : a.data) x = d(gen);
    // Diagonally dominant (well conditioned), then the rows shuffled so that
    // the decomposition has to interchange them.
    for (std::int32_t i = 1; i <= n; ++i) a.at1(i, i) += float(2 * n + 3) * (i % 2 ? 1.0f : -1.0f);
    std::vector<std::int32_t> rows(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) rows[std::size_t(i)] = i + 1;
    std::shuffle(rows.begin(), rows.end(), gen);
    Matrix<float> p(n, n);
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j) p.at1(i, j) = a.at1(rows[std::size_t(i - 1)], j);
    return p;
}

double max_identity_error(const Matrix<float>& p) {
    double e = 0;
    for (std::int32_t i = 1; i <= p.rows; ++i)
        for (std::int32_t j = 1; j <= p.cols; ++j) e = std::max(e, std::fabs(double(p.at1(i, j)) - (i == j ? 1.0 : 0.0)));
    return e;
}

}  // namespace

TEST(LuDecomposition, WorkedExamples) {
    float parity = 0;
    bool singular = true;
    Matrix<float> empty;
    lu_decomp(empty, parity, singular);
    EXPECT_EQ(parity, 1.0f);
    EXPECT_FALSE(singular);
    float det = 0;
    determinant_r(empty, 0, det);
    EXPECT_EQ(det, 1.0f);

    Matrix<float> swap{{0, 1}, {1, 0}};
    std::vector<std::int32_t> piv;
    lu_decomp(swap, parity, singular, &piv);
    EXPECT_EQ(parity, -1.0f);
    EXPECT_FALSE(singular);
    EXPECT_EQ(piv, (VI{2, 2}));
    determinant_r(Matrix<float>{{0, 1}, {1, 0}}, 2, det);
    EXPECT_NEAR(det, -1.0f, 1e-6f);
    Matrix<float> inv;
    invert_matrix(Matrix<float>{{0, 1}, {1, 0}}, inv, singular);
    EXPECT_FALSE(singular);
    EXPECT_EQ(inv, (Matrix<float>{{0, 1}, {1, 0}}));

    // Row scaling chooses the second row: 2/2 beats 1/1000.
    Matrix<float> scaled{{1, 1000}, {2, 1}};
    lu_decomp(scaled, parity, singular, &piv);
    EXPECT_EQ(piv[0], 2);
    EXPECT_EQ(parity, -1.0f);

    // A pivot falling to zero during elimination.
    Matrix<float> rank1{{1, 2}, {2, 4}};
    lu_decomp(rank1, parity, singular, &piv);
    EXPECT_TRUE(singular);
    EXPECT_EQ(rank1.at1(2, 2), 1.0e-20f);

    // Leading zeros of the permuted right-hand side are skipped.
    Matrix<float> lower{{2, 0, 0}, {1, 1, 0}, {0, 3, 4}};
    lu_decomp(lower, parity, singular, &piv);
    std::vector<float> rhs{0, 0, 8};
    lu_backsub(lower, piv, rhs);
    EXPECT_EQ(rhs, (std::vector<float>{0, 0, 2}));
    std::vector<float> untouched{1, 2};
    lu_backsub(lower, piv, untouched);  // too short: nothing done
    EXPECT_EQ(untouched, (std::vector<float>{1, 2}));

    // 1x1.
    determinant_r(Matrix<float>{{-7.5f}}, 1, det);
    EXPECT_NEAR(det, -7.5f, 1e-5f);
    invert_matrix(Matrix<float>{{4.0f}}, inv, singular);
    EXPECT_EQ(inv.at1(1, 1), 0.25f);
}

TEST(LuDecomposition, SingularMatrices) {
    const Matrix<float> zero_row{{1, 2, 3}, {0, 0, 0}, {4, 5, 7}};
    Matrix<float> w = zero_row;
    float parity = 0;
    bool singular = false;
    lu_decomp(w, parity, singular);
    EXPECT_TRUE(singular);
    EXPECT_EQ(parity, 1.0f);
    EXPECT_EQ(w, zero_row);
    float det = 5;
    determinant_r(zero_row, 3, det);
    EXPECT_EQ(det, 0.0f);
    Matrix<float> inv;
    std::vector<std::int32_t> perm;
    invert_matrix(zero_row, inv, singular, &perm);
    EXPECT_TRUE(singular);
    EXPECT_EQ(inv, zero_row);
    EXPECT_EQ(perm, (VI{1, 2, 3}));  // defined even though no step was made

    // Determinant 1e-32 <= 1e-30: refused, the factors returned.
    const Matrix<float> tiny{{1.0e-16f, 0}, {0, 1.0e-16f}};
    invert_matrix(tiny, inv, singular);
    EXPECT_TRUE(singular);
    EXPECT_EQ(inv, tiny);

    // Complex determinants: |det|^2.
    determinant_c(Matrix<std::complex<float>>{{{3, 4}}}, 1, det);
    EXPECT_NEAR(det, 25.0f, 1e-4f);
    determinant_c(Matrix<std::complex<float>>{{{2, 0}, {0, 0}}, {{0, 0}, {-3, 0}}}, 2, det);
    EXPECT_NEAR(det, 36.0f, 1e-4f);
    determinant_c(Matrix<std::complex<float>>{{{1, 1}, {2, 2}}, {{1, 0}, {2, 0}}}, 2, det);
    EXPECT_NEAR(det, 0.0f, 1e-5f);
    // A size beyond the matrix is refused.
    determinant_r(tiny, 3, det);
    EXPECT_EQ(det, 0.0f);
}

TEST(LuDecomposition, SolvesAndInvertsRandomMatrices) {
    std::mt19937 gen(7);
    for (int trial = 0; trial < 200; ++trial) {
        const std::int32_t n = 1 + trial % 8;
        const Matrix<float> a = random_matrix(gen, n);
        Matrix<float> lu = a;
        float parity = 0;
        bool singular = true;
        std::vector<std::int32_t> piv;
        lu_decomp(lu, parity, singular, &piv);
        ASSERT_FALSE(singular) << "trial " << trial;
        std::vector<float> x(static_cast<std::size_t>(n));
        std::vector<float> b(static_cast<std::size_t>(n));
        for (std::int32_t i = 1; i <= n; ++i) x[std::size_t(i - 1)] = float(i) - 2.5f;
        for (std::int32_t i = 1; i <= n; ++i) {
            double s = 0;
            for (std::int32_t j = 1; j <= n; ++j) s += double(a.at1(i, j)) * x[std::size_t(j - 1)];
            b[std::size_t(i - 1)] = float(s);
        }
        lu_backsub(lu, piv, b);
        for (std::int32_t i = 0; i < n; ++i) EXPECT_NEAR(b[std::size_t(i)], x[std::size_t(i)], 2e-5) << "trial " << trial;

        Matrix<float> inv;
        invert_matrix(a, inv, singular);
        ASSERT_FALSE(singular);
        EXPECT_LT(max_identity_error(product(a, inv)), 2e-5) << "trial " << trial;
        Matrix<float> gj = a;
        matinv(gj, n);
        EXPECT_LT(max_identity_error(product(a, gj)), 2e-5) << "trial " << trial;

        // det(A B) = det A det B and det(A^T) = det A.
        const Matrix<float> b2 = random_matrix(gen, n);
        float da = 0, db = 0, dab = 0, dat = 0;
        determinant_r(a, n, da);
        determinant_r(b2, n, db);
        determinant_r(product(a, b2), n, dab);
        Matrix<float> at(n, n);
        for (std::int32_t i = 1; i <= n; ++i)
            for (std::int32_t j = 1; j <= n; ++j) at.at1(i, j) = a.at1(j, i);
        determinant_r(at, n, dat);
        EXPECT_NEAR(dab / (da * db), 1.0, 1e-4) << "trial " << trial;
        EXPECT_NEAR(dat / da, 1.0, 1e-4) << "trial " << trial;
        // Complex determinant of a real matrix is det^2.
        Matrix<std::complex<float>> c(n, n);
        for (std::size_t k = 0; k < c.data.size(); ++k) c.data[k] = a.data[k];
        float dc = 0;
        determinant_c(c, n, dc);
        EXPECT_NEAR(dc / (da * da), 1.0, 1e-4) << "trial " << trial;
    }
}

TEST(GaussJordan, IdentityAndLeadingBlock) {
    Matrix<float> id{{1, 0}, {0, 1}};
    matinv(id, 2);
    EXPECT_EQ(id, (Matrix<float>{{1, 0}, {0, 1}}));
    EXPECT_TRUE(std::signbit(id.at1(1, 2)));  // the interchanges leave negative zeros
    EXPECT_TRUE(std::signbit(id.at1(2, 1)));
    // Only the leading block is inverted.
    Matrix<float> big{{2, 0, 9}, {0, 4, 9}, {9, 9, 9}};
    matinv(big, 2);
    EXPECT_EQ(big.at1(1, 1), 0.5f);
    EXPECT_EQ(big.at1(2, 2), 0.25f);
    EXPECT_EQ(big.at1(3, 3), 9.0f);
    EXPECT_EQ(big.at1(1, 3), 9.0f);
    Matrix<float> small{{1}};
    matinv(small, 3);  // beyond the matrix: untouched
    EXPECT_EQ(small.at1(1, 1), 1.0f);
}
