// 3-D algebra: Sarrus determinants (integers wrap modulo 2^32) equal the
// triple product, cross and tensor products, adjugate inverses (A A^-1 = I,
// exact for every unimodular rotation), the Jacobi eigen-solver (V L V^T = A),
// rotations about the axes, planes through three points and the module state.
#include <gtest/gtest.h>

#include "maths/math_3D.hpp"
#include "maths/table_checks.hpp"

using namespace vorn_math_3d;
using cf = std::complex<float>;
using cd = std::complex<double>;

namespace {
template <class T> Mat3<T> product(const Mat3<T>& a, const Mat3<T>& b) {
    Mat3<T> c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) c[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return c;
}
template <class T> double max_dev_from_identity(const Mat3<T>& p) {
    double e = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) e = std::max(e, std::fabs(double(p[i][j]) - (i == j)));
    return e;
}
// max |V diag(l) V^T - A| over the upper triangle of A taken as symmetric, and max |V^T V - I|.
std::pair<double, double> eigen_errors(const Mat3f& a, const Vec3f& l, const Mat3f& v) {
    double rec = 0, orth = 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double s = 0, o = 0;
            for (int k = 0; k < 3; ++k) s += double(v[i][k]) * l[k] * v[j][k], o += double(v[k][i]) * v[k][j];
            rec = std::max(rec, std::fabs(s - (i <= j ? a[i][j] : a[j][i])));
            orth = std::max(orth, std::fabs(o - (i == j)));
        }
    return {rec, orth};
}
}  // namespace

TEST(Determinant3d, SarrusWithWrapAroundAndTripleProduct) {
    const std::pair<Mat3i, std::int32_t> cases[] = {
        {{{{-1, 0, 0}, {0, -1, 0}, {0, 0, -1}}}, -1}, {{{{65536, 0, 0}, {0, 65536, 0}, {0, 0, 65536}}}, 0},  // 2^48 wraps to 0
        {{{{46341, 0, 0}, {0, 46341, 0}, {0, 0, 1}}}, -2147479015}, {{{{int_min, 0, 0}, {0, -1, 0}, {0, 0, 1}}}, int_min}};
    for (const auto& [m, det] : cases) EXPECT_EQ(determ_a_i(m), det) << testing::PrintToString(m);
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> d(-9, 9);
    for (int trial = 0; trial < 500; ++trial) {
        const Vec3i a{d(gen), d(gen), d(gen)}, b{d(gen), d(gen), d(gen)}, c{d(gen), d(gen), d(gen)}, bc = cross_product_in(b, c);
        const Mat3i rows{{a, b, c}}, cols{{{a[0], b[0], c[0]}, {a[1], b[1], c[1]}, {a[2], b[2], c[2]}}};
        const Vec3f af{float(a[0]), float(a[1]), float(a[2])}, bf{float(b[0]), float(b[1]), float(b[2])}, cf3{float(c[0]), float(c[1]), float(c[2])};
        const std::int32_t det = determ_a_i(rows);  // small integers: exact in 32-bit reals too
        ASSERT_EQ(std::make_tuple(determ_v_i(a, b, c), determ_a_i(cols), a[0] * bc[0] + a[1] * bc[1] + a[2] * bc[2],
                                  determ_a_r(Mat3f{{af, bf, cf3}}), determ_v_r(af, bf, cf3)),
                  std::make_tuple(det, det, det, float(det), float(det))) << "trial " << trial;
    }
    // Three positive products summed, then the negatives subtracted one at a time.
    const Mat3f a{{{0.1f, 0.7f, 0.3f}, {0.9f, 0.2f, 0.6f}, {0.4f, 0.8f, 0.5f}}};
    float p = a[0][0] * a[1][1] * a[2][2] + a[1][0] * a[2][1] * a[0][2] + a[0][1] * a[1][2] * a[2][0];
    p = p - a[0][2] * a[1][1] * a[2][0];
    p = p - a[0][0] * a[2][1] * a[1][2];
    EXPECT_EQ(determ_a_r(a), p - a[1][0] * a[0][1] * a[2][2]);
}

TEST(Products3d, CrossCrossMatrixAndTensor) {
    EXPECT_EQ(std::make_tuple(cross_product_dp({1, 0, 0}, {0, 1, 0}), cross_product_sp({2, 4, 6}, {1, 2, 3}), cross_product_in({1, 2, 3}, {4, 5, 6})),
              std::make_tuple(Vec3d{0, 0, 1}, Vec3f{0, 0, 0}, Vec3i{-3, 6, -3}));
    // Complex members: ordinary products, no conjugation.
    EXPECT_EQ(std::make_pair(cross_product_cmpl_sp({cf(0, 1), 0, 0}, {0, cf(0, 1), 0}), cross_product_cmpl_dp({cd(1, 2), 3, cd(0, 1)}, {cd(0, 1), cd(2, 2), 1})),
              std::make_pair(Vec3cf{0, 0, cf(-1, 0)}, Vec3cd{cd(5, -2), cd(-2, -2), cd(-2, 3)}));
    const Vec3f x{1.5f, -2.0f, 0.25f}, y{0.5f, 3.0f, -1.0f};  // M y = y x x and y M = x x y
    const Mat3f m = mat_cross_sp(x);
    Vec3f my{}, ym{};
    for (int i = 0; i < 3; ++i)
        my[i] = m[i][0] * y[0] + m[i][1] * y[1] + m[i][2] * y[2], ym[i] = y[0] * m[0][i] + y[1] * m[1][i] + y[2] * m[2][i];
    EXPECT_EQ(std::make_pair(my, ym), std::make_pair(cross_product_sp(y, x), cross_product_sp(x, y)));
    EXPECT_EQ(mat_cross_in({1, 2, 3}), (Mat3i{{{0, 3, -2}, {-3, 0, 1}, {2, -1, 0}}}));
    EXPECT_EQ(mat_cross_cmpl_sp({cf(1, 1), cf(2, -2), cf(0, 3)}),
              (Mat3cf{{{0, cf(0, 3), cf(-2, 2)}, {cf(0, -3), 0, cf(1, 1)}, {cf(2, -2), cf(-1, -1), 0}}}));
    EXPECT_EQ(tensor_product_in({1, 2, 3}, {4, 5, 6}), (Mat3i{{{4, 5, 6}, {8, 10, 12}, {12, 15, 18}}}));
    EXPECT_EQ(std::make_pair(at1(tensor_product_cmpl_dp({cd(0, 1), 1, 0}, {cd(0, 1), 2, 0}), 1, 1), at1(tensor_product_dp({1, 2, 3}, {0.5, 1, 2}), 3, 3)),
              std::make_pair(cd(-1, 0), 6.0));  // i i, not i conj(i)
}

TEST(Inverse3d, AdjugateInverseSilentOnSingular) {
    EXPECT_EQ(std::make_pair(invert_sp(Mat3f{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}), invert_sp(Mat3f{{{std::nanf(""), 0, 0}, {0, 1, 0}, {0, 0, 1}}})),
              std::make_pair(Mat3f{}, Mat3f{}));  // singular, NaN determinant
    EXPECT_NEAR(invert_sp(Mat3f{{{1e-10f, 0, 0}, {0, 1e-10f, 0}, {0, 0, 1e-10f}}})[0][0], 1e10f, 1e4f);  // det 1e-30
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        Mat3d a{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) a[i][j] = d(gen) + (i == j ? 3.0 : 0.0);
        ASSERT_LE(max_dev_from_identity(product(a, invert_dp(a))), 1e-13) << "trial " << trial;
    }
}

TEST(Inverse3d, MatrixInverseOfUnimodularAndCellMatricesAndFailures) {
    // Every integer matrix with entries in {-1,0,1}: singular ones reported, determinant +-1 ones inverted exactly.
    int unimodular = 0;
    for (int code = 0; code < 19683; ++code) {
        Mat3i r{};
        Mat3f a{}, inv;
        for (int k = 0, c = code; k < 9; ++k, c /= 3) a[k / 3][k % 3] = float(r[k / 3][k % 3] = c % 3 - 1);
        const std::int32_t det = determ_a_i(r);
        std::int32_t fail = -1;
        matrix_inverse(a, inv, fail);
        ASSERT_EQ(std::make_pair(fail, err_math3d), std::make_pair(det == 0 ? 1 : 0, det == 0)) << "code " << code;
        unimodular += det * det == 1;
        if (det * det == 1) { ASSERT_EQ(product(a, inv), (Mat3f{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}})) << code; }
    }
    EXPECT_GT(unimodular, 48);
    Mat3f inv;
    std::int32_t fail = -1;
    matrix_inverse(Mat3f{{{0, 0.5f, 0.5f}, {0.5f, 0, 0.5f}, {0.5f, 0.5f, 0}}}, inv, fail);  // primitive to F and back
    EXPECT_EQ(std::make_pair(fail, inv), std::make_pair(0, Mat3f{{{-1, 1, 1}, {1, -1, 1}, {1, 1, -1}}}));
    matrix_inverse(Mat3f{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}, inv, fail);  // singular: the undivided adjugate
    EXPECT_EQ(std::make_tuple(fail, err_math3d, err_math3d_mess, inv),
              std::make_tuple(1, true, "Singular Matrix: inversion imposible", Mat3f{{{-3, 6, -3}, {6, -12, 6}, {-3, 6, -3}}}));
    const float s = std::cbrt(0.9e-20f);  // |det| just below 1e-20 fails, 1e-20 divides
    std::int32_t fail_small = -1, fail_nan = -1;
    matrix_inverse(Mat3f{{{s, 0, 0}, {0, s, 0}, {0, 0, s}}}, inv, fail_small);
    matrix_inverse(Mat3f{{{std::nanf(""), 0, 0}, {0, 1, 0}, {0, 0, 1}}}, inv, fail_nan);  // NaN: singular, not success
    EXPECT_EQ(std::make_tuple(fail_small, fail_nan, err_math3d), std::make_tuple(1, 1, true));
    matrix_inverse(Mat3f{{{1e-20f, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, inv, fail);
    EXPECT_EQ(std::make_tuple(fail, err_math3d, err_math3d_mess, inv[1][1]), std::make_tuple(0, false, "", 1.0f));
    EXPECT_NEAR(inv[0][0], 1e20f, 1e14f);
}

TEST(Jacobi3d, EigenvectorsReconstructAndFailures) {
    Vec3f l{9, 9, 9}, l3;
    Mat3f v, v3;
    matrix_diageigen(Mat3f{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, l, v);  // identity takes the 45-degree step
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(l[i], 1.0f, 2.5e-7f);  // c^2 + s^2 rounded to 32 bits
    EXPECT_TRUE(!err_math3d && std::fabs(v[0][1]) > 0.1f && eigen_errors(Mat3f{}, {0, 0, 0}, v).second < 1e-6);
    matrix_diageigen(Mat3f{}, l, v);  // the zero matrix never converges
    EXPECT_EQ(std::make_tuple(err_math3d, err_math3d_mess, l), std::make_tuple(true, " Convergence not reached in diagonalization ", Vec3f{0, 0, 0}));
    matrix_diageigen(Mat3f{{{std::nanf(""), 0, 0}, {0, 1, 0}, {0, 0, 2}}}, l, v);
    EXPECT_TRUE(err_math3d);
    std::mt19937 gen(5);
    std::uniform_real_distribution<float> d(-3.0f, 3.0f);
    for (int trial = 0; trial < 301; ++trial) {
        Mat3f a{{{25, 0, -3.2f}, {0, 36, 0}, {-3.2f, 0, 49}}};  // last: a monoclinic metric tensor
        if (trial < 300)
            for (int i = 0; i < 3; ++i)
                for (int j = i; j < 3; ++j) a[i][j] = a[j][i] = d(gen);
        matrix_diageigen(a, l, v);
        ASSERT_FALSE(err_math3d) << "trial " << trial;
        const auto [rec, orth] = eigen_errors(a, l, v);
        EXPECT_TRUE(rec < 1e-4 && orth < 1e-5) << "trial " << trial << " " << rec << " " << orth;
        for (int i = 1; i < 3; ++i)  // only the upper triangle is read
            for (int j = 0; j < i; ++j) a[i][j] = float(100 * i - j);
        matrix_diageigen(a, l3, v3);
        ASSERT_TRUE(l == l3 && v == v3) << "trial " << trial;
    }
}

TEST(Geometry3d, LengthsRotationsPlanesAndState) {
    const Mat3f hex{{{2, -1, 0}, {0, std::sqrt(3.0f), 0}, {0, 0, 5}}};  // hexagonal a = 2, c = 5
    check({EQ(veclength(Mat3f{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}, {3, 4, 0}), 5), EQ(veclength(hex, {0, 0, 1}), 5),
           NEAR(veclength(hex, {1, 1, 0}), 2, 1e-6)});
    const Vec3f x{0.3f, -1.7f, 2.5f}, twice = rotate_oz(rotate_oz(rotate_oz(x, 120), 120), 120);  // threefold cubed
    EXPECT_EQ(std::make_tuple(rotate_ox(x, 0), rotate_oy(x, 0), rotate_oz(x, 0), rotate_oz({1, 0, 0}, 90)[1], rotate_oz({1, 0, 0}, 90)[2],
                              rotate_ox({0, 1, 0}, 90)[2], rotate_oy({0, 0, 1}, 90)[0]),  // z turns towards x about y
              std::make_tuple(x, x, x, 1.0f, 0.0f, 1.0f, 1.0f));
    check({NEAR(rotate_oz({1, 0, 0}, 90)[0], 0, 1e-7), NEAR(rotate_ox({0, 1, 0}, 90)[1], 0, 1e-7), NEAR(rotate_oy({0, 0, 1}, 90)[2], 0, 1e-7),
           NEAR(twice[0], x[0], 1e-5), NEAR(twice[1], x[1], 1e-5), NEAR(twice[2], x[2], 1e-5)});
    struct Plane { Vec3f p1, p2, p3; std::array<float, 4> abcd; };
    const Plane planes[] = {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1, 0}}, {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, -1, 0}},
                            {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1, -1}},  // x + y + z = 1
                            {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {0, 0, 0, 0}}};  // collinear: zeros, nothing reported
    for (const Plane& p : planes) {
        std::array<float, 4> got{};
        get_plane_from_points(p.p1, p.p2, p.p3, got[0], got[1], got[2], got[3]);
        EXPECT_EQ(got, p.abcd);
    }
    const float start = eps;
    set_eps(1.0e-3f);
    const float set = eps;
    set_eps_default();
    err_math3d = true;
    err_math3d_mess = "x";
    init_err_math3d();
    EXPECT_EQ(std::make_tuple(start, set, eps, err_math3d, err_math3d_mess), std::make_tuple(1.0e-5f, 1.0e-3f, 1.0e-5f, false, ""));
}
