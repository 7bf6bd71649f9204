// Symmetric and Hermitian eigen-solvers: the published tie and sign rules of
// the decreasing sort, size errors, non-convergence on NaN input, and
// V L V^T = A, V^T V = I, H v = lambda v on random matrices.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "maths/math_gen.hpp"

using namespace vorn_math_general;
using C = std::complex<float>;
using VF = std::vector<float>;

TEST(SymmetricEigen, WorkedExamples) {
    VF ev(1);
    Matrix<float> vec;
    diagonalize_symm(Matrix<float>{{-2.5f}}, 1, ev, &vec);
    EXPECT_EQ(ev[0], -2.5f);
    EXPECT_EQ(vec, (Matrix<float>{{1.0f}}));

    VF ev3(5, 9.0f);  // longer than n: the rest comes back 0
    diagonalize_symm(Matrix<float>{{1, 0, 0}, {0, 3, 0}, {0, 0, 2}}, 3, ev3, &vec);
    EXPECT_EQ(ev3, (VF{3, 2, 1, 0, 0}));
    EXPECT_EQ(vec, (Matrix<float>{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}));
    EXPECT_FALSE(err_mathgen);

    VF ev2(2);
    diagonalize_symm(Matrix<float>{{1, 0}, {0, 1}}, 2, ev2, &vec);
    EXPECT_EQ(ev2, (VF{1, 1}));
    EXPECT_EQ(vec, (Matrix<float>{{0, 1}, {1, 0}}));

    // Without vectors.
    diagonalize_symm(Matrix<float>{{2, 1}, {1, 2}}, 2, ev2);
    EXPECT_NEAR(ev2[0], 3.0f, 1e-6f);
    EXPECT_NEAR(ev2[1], 1.0f, 1e-6f);
}

TEST(SymmetricEigen, SizeErrorsAndNonConvergence) {
    Matrix<float> keep{{7}};
    VF ev(3, 5.0f);
    diagonalize_symm(Matrix<float>{{1, 0}, {0, 1}}, 3, ev, &keep);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(err_mathgen_mess, " Diagonalize_SYMM: Error in dimension of input matrix: A(m,m) with m < n ");
    EXPECT_EQ(ev, (VF{0, 0, 0}));
    EXPECT_EQ(keep, (Matrix<float>{{7}}));
    VF evh(2, 1.0f);
    Matrix<C> hv{{C(3, 0)}};
    diagonalize_herm(Matrix<C>{{C(1, 0)}}, 2, evh, &hv);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(err_mathgen_mess, " Diagonalize_HERM: Error in dimension of input matrix: A(m,m) with m < n ");
    EXPECT_EQ(evh, (VF{0, 0}));
    EXPECT_EQ(hv.at1(1, 1), C(3, 0));

    // A later successful call clears the flag.
    diagonalize_symm(Matrix<float>{{1}}, 1, ev);
    EXPECT_FALSE(err_mathgen);

    // n <= 0, or too short an eigenvalue array: flagged, nothing computed.
    diagonalize_symm(Matrix<float>{{1}}, 0, ev, &keep);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(keep, (Matrix<float>{{7}}));
    VF one(1, 4.0f);
    diagonalize_symm(Matrix<float>{{1, 0}, {0, 1}}, 2, one);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(one[0], 0.0f);
    diagonalize_herm(Matrix<C>{{C(1, 0)}}, -1, one);
    EXPECT_TRUE(err_mathgen);

    // NaN never converges: the iteration limit is reported, results returned.
    const float nan_f = std::numeric_limits<float>::quiet_NaN();
    VF ev2(2);
    diagonalize_symm(Matrix<float>{{1, nan_f}, {nan_f, 2}}, 2, ev2, &keep);
    EXPECT_TRUE(err_mathgen);
    EXPECT_EQ(err_mathgen_mess, " Too many iterations in TQLI2");
    diagonalize_symm(Matrix<float>{{1, nan_f}, {nan_f, 2}}, 2, ev2);
    EXPECT_EQ(err_mathgen_mess, " Too many iterations in TQLI1");
}

TEST(SymmetricEigen, SortKernel) {
    VF d{4.0f};
    Matrix<float> v{{9}};
    eigsrt(d, v, 1, 1);
    EXPECT_EQ(v.at1(1, 1), 9.0f);
    VF d2{1, 2, 2};
    Matrix<float> v2{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    const Matrix<float> before = v2;
    eigsrt(d2, v2, 3, 0);
    EXPECT_EQ(d2, (VF{2, 2, 1}));
    EXPECT_EQ(v2, before);
    VF d3{1, 2, 2};
    eigsrt(d3, v2, 3, 1);
    EXPECT_EQ(v2, (Matrix<float>{{3, 2, 1}, {6, 5, 4}, {9, 8, 7}}));  // the later tie first
}

TEST(SymmetricEigen, RandomMatricesReconstruct) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<float> dist(-3.0f, 3.0f);
    for (int trial = 0; trial < 100; ++trial) {
        const std::int32_t n = 1 + trial % 7;
        Matrix<float> a(n, n);
        for (std::int32_t i = 1; i <= n; ++i)
            for (std::int32_t j = 1; j <= i; ++j) a.at1(i, j) = a.at1(j, i) = dist(gen);
        if (trial % 10 == 0 && n > 2) a.at1(2, 1) = a.at1(1, 2) = 0.0f;  // a pre-split matrix
        VF ev(static_cast<std::size_t>(n));
        Matrix<float> v;
        diagonalize_symm(a, n, ev, &v);
        ASSERT_FALSE(err_mathgen) << "trial " << trial;
        for (std::int32_t k = 1; k < n; ++k) EXPECT_GE(ev[std::size_t(k - 1)], ev[std::size_t(k)]);
        for (std::int32_t i = 1; i <= n; ++i)
            for (std::int32_t j = 1; j <= n; ++j) {
                double rec = 0, dot = 0;
                for (std::int32_t k = 1; k <= n; ++k) {
                    rec += double(v.at1(i, k)) * ev[std::size_t(k - 1)] * v.at1(j, k);
                    dot += double(v.at1(k, i)) * v.at1(k, j);
                }
                EXPECT_NEAR(rec, a.at1(i, j), 5e-5) << "trial " << trial << " (" << i << "," << j << ")";
                EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, 5e-6) << "trial " << trial;
            }
        VF values_only(static_cast<std::size_t>(n));
        diagonalize_symm(a, n, values_only);
        for (std::int32_t k = 0; k < n; ++k) EXPECT_NEAR(values_only[std::size_t(k)], ev[std::size_t(k)], 2e-5);
    }
}

TEST(HermitianEigen, WorkedExamplesAndRandomMatrices) {
    VF ev(1);
    Matrix<C> v;
    diagonalize_herm(Matrix<C>{{C(4, 0)}}, 1, ev, &v);
    EXPECT_EQ(ev[0], 4.0f);
    EXPECT_EQ(v.at1(1, 1), C(0, 1));

    VF ev2(2);
    diagonalize_herm(Matrix<C>{{C(2, 0), C(0, 1)}, {C(0, -1), C(2, 0)}}, 2, ev2, &v);
    EXPECT_NEAR(ev2[0], 3.0f, 1e-6f);
    EXPECT_NEAR(ev2[1], 1.0f, 1e-6f);

    std::mt19937 gen(5);
    std::uniform_real_distribution<float> dist(-2.0f, 2.0f);
    for (int trial = 0; trial < 60; ++trial) {
        const std::int32_t n = 1 + trial % 5;
        Matrix<C> h(n, n);
        for (std::int32_t i = 1; i <= n; ++i) {
            h.at1(i, i) = C(dist(gen), 0);
            for (std::int32_t j = 1; j < i; ++j) {
                h.at1(i, j) = C(dist(gen), dist(gen));
                h.at1(j, i) = std::conj(h.at1(i, j));
            }
        }
        VF lam(static_cast<std::size_t>(n));
        diagonalize_herm(h, n, lam, &v);
        ASSERT_FALSE(err_mathgen) << "trial " << trial;
        for (std::int32_t k = 1; k <= n; ++k) {
            double norm = 0;
            for (std::int32_t i = 1; i <= n; ++i) norm += std::norm(std::complex<double>(v.at1(i, k)));
            EXPECT_NEAR(norm, 1.0, 1e-5) << "trial " << trial;
            for (std::int32_t i = 1; i <= n; ++i) {
                std::complex<double> hv = 0;
                for (std::int32_t j = 1; j <= n; ++j)
                    hv += std::complex<double>(h.at1(i, j)) * std::complex<double>(v.at1(j, k));
                EXPECT_NEAR(std::abs(hv - double(lam[std::size_t(k - 1)]) * std::complex<double>(v.at1(i, k))), 0.0, 5e-5)
                    << "trial " << trial << " vector " << k;
            }
        }
    }
}
