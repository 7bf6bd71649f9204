// Singular value decomposition: the worked unsorted/sign cases, size errors,
// U diag(w) V^T = A with orthonormal V (and U for m >= n) on random, wide and
// rank-deficient matrices in both precisions, the absolute rank threshold
// and the row/column linear-dependence tests.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;

namespace {

template <class T>
void check_decomposition(const Matrix<T>& a0, double tol, int trial) {
    const std::int32_t m = a0.rows, n = a0.cols;
    Matrix<T> u = a0;
    std::vector<T> w(static_cast<std::size_t>(n));
    Matrix<T> v(n, n);
    if constexpr (sizeof(T) == 8) {
        svdcmp_dp(u, w, v);
    } else {
        svdcmp_sp(u, w, v);
    }
    ASSERT_FALSE(err_mathgen) << "trial " << trial;
    for (T x : w) EXPECT_GE(x, T(0)) << "trial " << trial;
    for (std::int32_t i = 1; i <= m; ++i)
        for (std::int32_t j = 1; j <= n; ++j) {
            double s = 0;
            for (std::int32_t k = 1; k <= n; ++k) s += double(u.at1(i, k)) * double(w[std::size_t(k - 1)]) * double(v.at1(j, k));
            EXPECT_NEAR(s, double(a0.at1(i, j)), tol) << "trial " << trial << " (" << i << "," << j << ")";
        }
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j) {
            double vv = 0, uu = 0;
            for (std::int32_t k = 1; k <= n; ++k) vv += double(v.at1(k, i)) * double(v.at1(k, j));
            EXPECT_NEAR(vv, i == j ? 1.0 : 0.0, tol) << "trial " << trial << " V";
            if (m >= n) {
                for (std::int32_t k = 1; k <= m; ++k) uu += double(u.at1(k, i)) * double(u.at1(k, j));
                EXPECT_NEAR(uu, i == j ? 1.0 : 0.0, tol) << "trial " << trial << " U";
            }
        }
}

}  // namespace

TEST(SingularValues, WorkedExamples) {
    Matrix<double> a{{1, 0}, {0, 2}};
    std::vector<double> w(2);
    Matrix<double> v(2, 2);
    svdcmp_dp(a, w, v);
    EXPECT_FALSE(err_mathgen);
    EXPECT_EQ(w, (std::vector<double>{1, 2}));  // not sorted
    EXPECT_EQ(a, (Matrix<double>{{-1, 0}, {0, -1}}));
    EXPECT_EQ(v, (Matrix<double>{{-1, 0}, {0, -1}}));

    Matrix<float> b{{-4}};
    std::vector<float> wf(1);
    Matrix<float> vf(1, 1);
    svdcmp_sp(b, wf, vf);
    EXPECT_EQ(wf[0], 4.0f);
    EXPECT_EQ(b.at1(1, 1), -1.0f);
    EXPECT_EQ(vf.at1(1, 1), 1.0f);

    // Zero matrix: zero values, V the identity, unit columns in U.
    Matrix<double> z(3, 2, 0.0);
    Matrix<double> vz(2, 2, 5.0);
    svdcmp_dp(z, w, vz);
    EXPECT_EQ(w, (std::vector<double>{0, 0}));
    EXPECT_EQ(vz, (Matrix<double>{{1, 0}, {0, 1}}));
    EXPECT_EQ(z, (Matrix<double>{{1, 0}, {0, 1}, {0, 0}}));
    std::int32_t r = -1;
    rank_dp(Matrix<double>(3, 2, 0.0), 0.0, r);
    EXPECT_EQ(r, 0);

    // No columns: nothing to do, no failure.
    Matrix<double> none(3, 0);
    std::vector<double> w0;
    Matrix<double> v0;
    svdcmp_dp(none, w0, v0);
    EXPECT_FALSE(err_mathgen);
    rank_dp(none, 0.0, r);
    EXPECT_EQ(r, 0);
}

TEST(SingularValues, SizeErrorsAndNaN) {
    Matrix<double> a{{1, 2}, {3, 4}};
    const Matrix<double> keep = a;
    std::vector<double> w(2, 7.0);
    Matrix<double> v(2, 3, 7.0);
    svdcmp_dp(a, w, v);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(err_mathgen_mess, " => Physical dimensions of arguments in SVDcmp_dp are not compatible ");
    EXPECT_EQ(a, keep);
    EXPECT_EQ(w, (std::vector<double>{7, 7}));
    std::vector<float> wf(1);
    Matrix<float> af{{1, 2}, {3, 4}}, vf(2, 2);
    svdcmp_sp(af, wf, vf);
    EXPECT_EQ(err_mathgen_mess, " => Physical dimensions of arguments in SVDcmp_sp are not compatible ");

    // NaN: the split search stops at l = 1; the passes run out and are reported.
    const double nan_d = std::numeric_limits<double>::quiet_NaN();
    Matrix<double> bad{{1, nan_d}, {2, 3}};
    Matrix<double> vb(2, 2);
    svdcmp_dp(bad, w, vb);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(err_mathgen_mess, " => SVDcmp_dp: convergence not reached ! ");
    std::int32_t r = 5;
    rank_dp(Matrix<double>{{1, nan_d}, {2, 3}}, 0.5, r);
    EXPECT_EQ(r, 0);
    const float nan_f = std::numeric_limits<float>::quiet_NaN();
    rank_sp(Matrix<float>{{nan_f, 1}, {2, 3}}, 0.5f, r);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(err_mathgen_mess, " => SVDcmp_sp: convergence not reached ! ");
    bool dep = false;
    linear_dependentr(std::vector<float>{1, 2}, 2, Matrix<float>{{nan_f, 1}}, 1, 2, dep);
    EXPECT_TRUE(dep);
    EXPECT_EQ(err_mathgen_mess, " => SVDcmp_dp: convergence not reached ! ");
}

TEST(SingularValues, RandomShapesReconstruct) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (int trial = 0; trial < 120; ++trial) {
        const std::int32_t m = 1 + trial % 6;
        const std::int32_t n = 1 + (trial / 6) % 6;  // includes m < n
        Matrix<double> a(m, n);
        for (auto& x : a.data) x = dist(gen);
        if (trial % 4 == 1 && n >= 2) {  // rank deficient: column 2 = 3 * column 1
            for (std::int32_t i = 1; i <= m; ++i) a.at1(i, 2) = 3.0 * a.at1(i, 1);
        }
        check_decomposition(a, 1e-12, trial);
        Matrix<float> af(m, n);
        for (std::size_t k = 0; k < a.data.size(); ++k) af.data[k] = float(a.data[k]);
        check_decomposition(af, 5e-6, trial);
    }
}

TEST(SingularValues, RankThresholdIsAbsolute) {
    std::int32_t r = -1;
    rank_dp(Matrix<double>{{1, 0}, {0, 2}}, 1.0, r);
    EXPECT_EQ(r, 1);  // a value equal to tol does not count
    rank_dp(Matrix<double>{{1, 2}, {2, 4}, {3, 6}}, 1e-9, r);
    EXPECT_EQ(r, 1);
    rank_sp(Matrix<float>{{1, 0, 0}, {0, 1, 0}}, 1e-6f, r);
    EXPECT_EQ(r, 2);
    rank_dp(Matrix<double>{{1e-7}}, 1e-6, r);
    EXPECT_EQ(r, 0);
}

TEST(LinearDependence, RowAndColumnCases) {
    bool dep = false;
    using VF = std::vector<float>;
    // Identity 2x2, vector of length 2: row case, 3 rows of 2 components.
    linear_dependentr(VF{1, 1}, 2, Matrix<float>{{1, 0}, {0, 1}}, 2, 2, dep);
    EXPECT_TRUE(dep);
    EXPECT_FALSE(err_mathgen);
    // Column case: 3x2 with independent columns.
    const Matrix<float> m{{1, 0}, {0, 1}, {0, 0}};
    linear_dependentr(VF{0, 0, 1}, 3, m, 3, 2, dep);
    EXPECT_FALSE(dep);
    linear_dependentr(VF{1, 1, 0}, 3, m, 3, 2, dep);
    EXPECT_TRUE(dep);
    // Rows = 0: only the length of the vector against 1e-6.
    linear_dependentr(VF{1e-7f, 0}, 2, Matrix<float>(0, 2), 0, 2, dep);
    EXPECT_TRUE(dep);
    linear_dependentr(VF{1, 0}, 2, Matrix<float>(0, 2), 0, 2, dep);
    EXPECT_FALSE(dep);
    // Errors.
    linear_dependentr(VF{1, 0, 0, 0}, 4, m, 3, 2, dep);
    EXPECT_TRUE(dep);
    EXPECT_EQ(err_mathgen_mess, " Linear_DependentR: input dimension of vector incompatible with matrix");
    linear_dependentr(VF{1, 0}, 3, m, 3, 2, dep);
    EXPECT_TRUE(dep);
    EXPECT_EQ(err_mathgen_mess, " Linear_DependentR: Error in dimension of input matrix or vector");
    linear_dependentr(VF{1, 0, 0}, 3, m, 4, 2, dep);
    EXPECT_EQ(err_mathgen_mess, " Linear_DependentR: Error in dimension of input matrix or vector");

    using VI = std::vector<std::int32_t>;
    linear_dependenti(VI{1, 2, 4}, 3, Matrix<std::int32_t>{{1, 0, 0}, {0, 1, 0}}, 2, 3, dep);
    EXPECT_FALSE(dep);
    linear_dependenti(VI{2, 3, 0}, 3, Matrix<std::int32_t>{{1, 0, 0}, {0, 1, 0}}, 2, 3, dep);
    EXPECT_TRUE(dep);
    linear_dependenti(VI{2, 3}, 2, Matrix<std::int32_t>{{1, 0, 0}, {0, 1, 0}}, 2, 3, dep);
    EXPECT_TRUE(dep);  // column case, early return: 2 components cannot hold 4 independent columns
    linear_dependenti(VI{1}, 5, Matrix<std::int32_t>{{1}}, 1, 1, dep);
    EXPECT_EQ(err_mathgen_mess, " Linear_DependentI: Error in dimension of input matrix or vector");

    using C = std::complex<float>;
    const Matrix<C> mc{{C(1, 0), C(2, 1)}};
    linear_dependentc(std::vector<C>{C(0, 1), C(-1, 2)}, 2, mc, 1, 2, dep);  // i times the row
    EXPECT_TRUE(dep);
    linear_dependentc(std::vector<C>{C(1, 0), C(0, 0)}, 2, mc, 1, 2, dep);
    EXPECT_FALSE(dep);
    linear_dependentc(std::vector<C>{C(1, 0)}, 1, Matrix<C>{{C(1, 0), C(0, 1)}}, 1, 2, dep);
    EXPECT_TRUE(dep);  // column case, early return: 2*2+2 > 2*1
    linear_dependentc(std::vector<C>{C(1, 0), C(0, 0), C(0, 0)}, 3, mc, 1, 2, dep);
    EXPECT_EQ(err_mathgen_mess, " Linear_DependentC: input dimension of vector incompatible with matrix");
    const Matrix<C> col{{C(1, 0)}, {C(0, 1)}};
    linear_dependentc(std::vector<C>{C(0, 1), C(-1, 0)}, 2, col, 2, 1, dep);  // i times the column
    EXPECT_TRUE(dep);
    linear_dependentc(std::vector<C>{C(1, 0), C(0, 0)}, 2, col, 2, 1, dep);
    EXPECT_FALSE(dep);
}
