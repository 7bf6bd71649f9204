// 3-D vector algebra: determinants, products, adjugate inverse, rotations and
// planes of module vorn_math_3d.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

#include "maths/math_3D.hpp"

using namespace vorn_math_3d;

namespace {

Mat3i identity_i() { return Mat3i{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}; }

Mat3i from_rows(const Vec3i& a, const Vec3i& b, const Vec3i& c) { return Mat3i{{a, b, c}}; }

Mat3i transpose(const Mat3i& m) {
    Mat3i t{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[i][j] = m[j][i];
    return t;
}

}  // namespace

TEST(Determinant3d, IntegerIdentityInversionAndEqualRows) {
    EXPECT_EQ(determ_a_i(identity_i()), 1);
    Mat3i inv = identity_i();
    for (auto& r : inv)
        for (auto& e : r) e = -e;
    EXPECT_EQ(determ_a_i(inv), -1);
    EXPECT_EQ(determ_a_i(from_rows({1, 2, 3}, {1, 2, 3}, {4, 5, 7})), 0);
    EXPECT_EQ(determ_a_i(from_rows({1, 1, 3}, {2, 2, 5}, {4, 4, 7})), 0);
    // threefold axis along [111] and a hexagonal sixfold rotation
    EXPECT_EQ(determ_a_i(from_rows({0, 0, 1}, {1, 0, 0}, {0, 1, 0})), 1);
    EXPECT_EQ(determ_a_i(from_rows({1, -1, 0}, {1, 0, 0}, {0, 0, 1})), 1);
    EXPECT_EQ(determ_a_i(from_rows({-1, 1, 0}, {-1, 0, 0}, {0, 0, -1})), -1);
}

TEST(Determinant3d, IntegerOverflowWrapsAround) {
    // 65536^3 = 2^48 wraps to 0 modulo 2^32; 2^16 · 2^15 · 2 = 2^32 wraps to 0.
    Mat3i big{{{65536, 0, 0}, {0, 65536, 0}, {0, 0, 65536}}};
    EXPECT_EQ(determ_a_i(big), 0);
    Mat3i m{{{46341, 0, 0}, {0, 46341, 0}, {0, 0, 1}}};
    // 46341^2 = 2147488281 wraps to -2147479015
    EXPECT_EQ(determ_a_i(m), -2147479015);
    Mat3i minval{{{std::numeric_limits<std::int32_t>::min(), 0, 0}, {0, -1, 0}, {0, 0, 1}}};
    EXPECT_EQ(determ_a_i(minval), std::numeric_limits<std::int32_t>::min());
}

TEST(Determinant3d, TripleProductMatchesMatrixDeterminant) {
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> d(-9, 9);
    for (int trial = 0; trial < 500; ++trial) {
        Vec3i a{d(gen), d(gen), d(gen)}, b{d(gen), d(gen), d(gen)}, c{d(gen), d(gen), d(gen)};
        Mat3i rows = from_rows(a, b, c);
        std::int32_t det = determ_a_i(rows);
        EXPECT_EQ(determ_v_i(a, b, c), det);
        EXPECT_EQ(determ_a_i(transpose(rows)), det);
        Vec3f af{float(a[0]), float(a[1]), float(a[2])};
        Vec3f bf{float(b[0]), float(b[1]), float(b[2])};
        Vec3f cf{float(c[0]), float(c[1]), float(c[2])};
        Mat3f rf{{af, bf, cf}};
        // small integers: every product and sum is exact in 32-bit reals
        EXPECT_EQ(determ_a_r(rf), float(det));
        EXPECT_EQ(determ_v_r(af, bf, cf), float(det));
        // triple product equals a . (b x c)
        Vec3i bc = cross_product_in(b, c);
        EXPECT_EQ(a[0] * bc[0] + a[1] * bc[1] + a[2] * bc[2], det);
    }
}

TEST(Determinant3d, RealSarrusOrder) {
    // The real determinant follows the stated order: three positive products
    // summed, then the negatives subtracted one at a time.
    Mat3f a{{{0.1f, 0.7f, 0.3f}, {0.9f, 0.2f, 0.6f}, {0.4f, 0.8f, 0.5f}}};
    float p = a[0][0] * a[1][1] * a[2][2] + a[1][0] * a[2][1] * a[0][2] + a[0][1] * a[1][2] * a[2][0];
    p = p - a[0][2] * a[1][1] * a[2][0];
    p = p - a[0][0] * a[2][1] * a[1][2];
    p = p - a[1][0] * a[0][1] * a[2][2];
    EXPECT_EQ(determ_a_r(a), p);
    EXPECT_NEAR(determ_a_r(a), 0.1 * (0.1 - 0.48) - 0.7 * (0.45 - 0.24) + 0.3 * (0.72 - 0.08), 1e-6);
}

TEST(CrossProduct3d, AllElementTypes) {
    Vec3d z = cross_product_dp({1, 0, 0}, {0, 1, 0});
    EXPECT_EQ(z, (Vec3d{0, 0, 1}));
    EXPECT_EQ(cross_product_sp({2, 4, 6}, {1, 2, 3}), (Vec3f{0, 0, 0}));
    EXPECT_EQ(cross_product_in({1, 2, 3}, {4, 5, 6}), (Vec3i{-3, 6, -3}));
    // complex: ordinary products, no conjugation: (i,0,0) x (0,i,0) = (0,0,-1)
    using cf = std::complex<float>;
    Vec3cf c = cross_product_cmpl_sp({cf(0, 1), cf(0), cf(0)}, {cf(0), cf(0, 1), cf(0)});
    EXPECT_EQ(c[2], cf(-1, 0));
    EXPECT_EQ(c[0], cf(0, 0));
    using cd = std::complex<double>;
    Vec3cd e = cross_product_cmpl_dp({cd(1, 2), cd(3, 0), cd(0, 1)}, {cd(0, 1), cd(2, 2), cd(1, 0)});
    // x2*y3 - x3*y2 = 3 - (i)(2+2i) = 3 - (2i - 2) = 5 - 2i
    EXPECT_EQ(e[0], cd(5, -2));
    // x3*y1 - x1*y3 = i*i - (1+2i) = -1 - 1 - 2i = -2 - 2i
    EXPECT_EQ(e[1], cd(-2, -2));
    // x1*y2 - x2*y1 = (1+2i)(2+2i) - 3i = (2 - 4 + 6i) - 3i = -2 + 3i
    EXPECT_EQ(e[2], cd(-2, 3));
}

TEST(CrossProduct3d, CrossMatrixAndTensorProduct) {
    Vec3f x{1.5f, -2.0f, 0.25f}, y{0.5f, 3.0f, -1.0f};
    Mat3f m = mat_cross_sp(x);
    Vec3f my{}, ym{};
    for (int i = 0; i < 3; ++i) {
        my[i] = m[i][0] * y[0] + m[i][1] * y[1] + m[i][2] * y[2];
        ym[i] = y[0] * m[0][i] + y[1] * m[1][i] + y[2] * m[2][i];
    }
    EXPECT_EQ(my, cross_product_sp(y, x));
    EXPECT_EQ(ym, cross_product_sp(x, y));
    EXPECT_EQ(mat_cross_in({1, 2, 3}), (Mat3i{{{0, 3, -2}, {-3, 0, 1}, {2, -1, 0}}}));
    using cf = std::complex<float>;
    Mat3cf mc = mat_cross_cmpl_sp({cf(1, 1), cf(2, -2), cf(0, 3)});
    EXPECT_EQ(at1(mc, 2, 1), cf(0, -3));
    EXPECT_EQ(at1(mc, 1, 3), cf(-2, 2));
    EXPECT_EQ(at1(mc, 3, 2), cf(-1, -1));

    Mat3i t = tensor_product_in({1, 2, 3}, {4, 5, 6});
    EXPECT_EQ(t[0], (Vec3i{4, 5, 6}));
    EXPECT_EQ(at1(t, 2, 1), 8);
    EXPECT_EQ(at1(t, 3, 1), 12);
    Mat3cd tc = tensor_product_cmpl_dp({std::complex<double>(0, 1), 1.0, 0.0}, {std::complex<double>(0, 1), 2.0, 0.0});
    EXPECT_EQ(at1(tc, 1, 1), std::complex<double>(-1, 0));  // i·i, not i·conj(i)
    EXPECT_EQ(at1(tensor_product_dp({1, 2, 3}, {0.5, 1, 2}), 3, 3), 6.0);
}

TEST(AdjugateInverse3d, SingularDiagonalAndTinyDeterminants) {
    Mat3f sing{{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
    EXPECT_EQ(invert_sp(sing), Mat3f{});
    Mat3d diag{{{2, 0, 0}, {0, 4, 0}, {0, 0, 8}}};
    Mat3d inv = invert_dp(diag);
    EXPECT_EQ(inv[0][0], 0.5);
    EXPECT_EQ(inv[1][1], 0.25);
    EXPECT_EQ(inv[2][2], 0.125);
    EXPECT_EQ(inv[0][1], 0.0);
    // determinant 1e-30 is far above the smallest normal number: inverted
    Mat3f tiny{{{1e-10f, 0, 0}, {0, 1e-10f, 0}, {0, 0, 1e-10f}}};
    Mat3f ti = invert_sp(tiny);
    EXPECT_NEAR(ti[0][0], 1e10f, 1e4f);
    // NaN determinant gives the zero matrix
    Mat3f nanm{{{std::nanf(""), 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    EXPECT_EQ(invert_sp(nanm), Mat3f{});
    // A·A⁻¹ = I over random well-conditioned matrices
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        Mat3d a{};
        for (auto& r : a)
            for (auto& e : r) e = d(gen);
        for (int i = 0; i < 3; ++i) a[i][i] += 3.0;
        Mat3d b = invert_dp(a);
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                double s = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
                EXPECT_NEAR(s, i == j ? 1.0 : 0.0, 1e-13);
            }
    }
}

TEST(VecLength3d, TransformedVectorLength) {
    Mat3f id{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    EXPECT_EQ(veclength(id, {3, 4, 0}), 5.0f);
    // hexagonal cell a = 2: a* direction vector (1,0,0) has length 2
    Mat3f hex{{{2, -1, 0}, {0, std::sqrt(3.0f), 0}, {0, 0, 5}}};
    EXPECT_NEAR(veclength(hex, {1, 1, 0}), 2.0f, 1e-6f);
    EXPECT_NEAR(veclength(hex, {0, 0, 1}), 5.0f, 0);
}

TEST(Rotation3d, AboutTheCoordinateAxes) {
    Vec3f r = rotate_oz({1, 0, 0}, 90.0f);
    EXPECT_NEAR(r[0], 0.0f, 1e-7f);
    EXPECT_EQ(r[1], 1.0f);
    EXPECT_EQ(r[2], 0.0f);
    r = rotate_ox({0, 1, 0}, 90.0f);
    EXPECT_NEAR(r[0], 0.0f, 1e-7f);
    EXPECT_NEAR(r[1], 0.0f, 1e-7f);
    EXPECT_EQ(r[2], 1.0f);
    r = rotate_oy({0, 0, 1}, 90.0f);  // z turns towards x about y
    EXPECT_NEAR(r[0], 1.0f, 1e-7f);
    EXPECT_NEAR(r[2], 0.0f, 1e-7f);
    Vec3f x{0.3f, -1.7f, 2.5f};
    EXPECT_EQ(rotate_ox(x, 0.0f), x);
    EXPECT_EQ(rotate_oy(x, 0.0f), x);
    EXPECT_EQ(rotate_oz(x, 0.0f), x);
    // a threefold rotation applied three times returns the vector
    Vec3f y = rotate_oz(rotate_oz(rotate_oz(x, 120.0f), 120.0f), 120.0f);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(y[i], x[i], 1e-5f);
    // lengths are kept
    Vec3f w = rotate_oy(x, 37.0f);
    EXPECT_NEAR(w[0] * w[0] + w[1] * w[1] + w[2] * w[2], x[0] * x[0] + x[1] * x[1] + x[2] * x[2], 1e-5f);
}

TEST(Plane3d, ThroughThreePoints) {
    float a, b, c, d;
    get_plane_from_points({0, 0, 0}, {1, 0, 0}, {0, 1, 0}, a, b, c, d);
    EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(b, 0.0f);
    EXPECT_EQ(c, 1.0f);
    EXPECT_EQ(d, 0.0f);
    get_plane_from_points({0, 0, 0}, {0, 1, 0}, {1, 0, 0}, a, b, c, d);
    EXPECT_EQ(c, -1.0f);
    // the plane x + y + z = 1
    get_plane_from_points({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, a, b, c, d);
    EXPECT_EQ(a, 1.0f);
    EXPECT_EQ(b, 1.0f);
    EXPECT_EQ(c, 1.0f);
    EXPECT_EQ(d, -1.0f);
    // collinear points: all zero, nothing reported
    get_plane_from_points({0, 0, 0}, {1, 1, 1}, {2, 2, 2}, a, b, c, d);
    EXPECT_EQ(a, 0.0f);
    EXPECT_EQ(b, 0.0f);
    EXPECT_EQ(c, 0.0f);
    EXPECT_EQ(d, 0.0f);
}

TEST(Math3dState, ToleranceSettersAndErrorPair) {
    EXPECT_EQ(eps, 1.0e-5f);
    set_eps(1.0e-3f);
    EXPECT_EQ(eps, 1.0e-3f);
    set_eps_default();
    EXPECT_EQ(eps, 1.0e-5f);
    err_math3d = true;
    err_math3d_mess = "x";
    init_err_math3d();
    EXPECT_FALSE(err_math3d);
    EXPECT_TRUE(err_math3d_mess.empty());
}
