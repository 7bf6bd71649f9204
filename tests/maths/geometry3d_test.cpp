// 3-D coordinates and geometry: cylindrical and spherical round trips, the
// zero-angle rules at the origin and on the z axis, polyhedron volumes of
// cubes, prisms and tetrahedra, and circum- and sphere centres.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "maths/math_3D.hpp"

using namespace vorn_math_3d;

namespace {

const double pi = 3.141592653589793;

std::vector<Vec3f> shifted(std::vector<Vec3f> v, const Vec3f& by) {
    for (auto& p : v)
        for (int c = 0; c < 3; ++c) p[c] += by[c];
    return v;
}

std::vector<Vec3f> cube_corners(float half) {
    std::vector<Vec3f> v;
    for (int i = 0; i < 8; ++i)
        v.push_back({(i & 1) ? half : -half, (i & 2) ? half : -half, (i & 4) ? half : -half});
    return v;
}

}  // namespace

TEST(CylindricalCoordinates, OriginAxisAndRoundTrips) {
    double rho, phi, zeta;
    get_cylindr_coord_dp({0, 0, 5}, rho, phi, zeta);
    EXPECT_EQ(rho, 0.0);
    EXPECT_EQ(phi, 0.0);
    EXPECT_EQ(zeta, 5.0);
    get_cylindr_coord_dp({1e-6, -1e-6, 0}, rho, phi, zeta);
    EXPECT_EQ(phi, 0.0);
    get_cylindr_coord_dp({-1, 0, 2}, rho, phi, zeta, "D");
    EXPECT_EQ(phi, 180.0);
    get_cylindr_coord_dp({0, -2, 2}, rho, phi, zeta, "d");
    EXPECT_EQ(phi, -90.0);
    EXPECT_EQ(rho, 2.0);

    std::mt19937 gen(2);
    std::uniform_real_distribution<double> u(-10.0, 10.0);
    for (int trial = 0; trial < 200; ++trial) {
        Vec3d p{u(gen), u(gen), u(gen)};
        for (const char* unit : {"", "D", "r"}) {
            get_cylindr_coord_dp(p, rho, phi, zeta, unit);
            Vec3d back;
            get_cart_from_cylin_dp(rho, phi, zeta, back, unit);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(back[c], p[c], 1e-12) << "unit '" << unit << "'";
        }
        Vec3f pf{float(p[0]), float(p[1]), float(p[2])};
        float rf, ff, zf;
        get_cylindr_coord_sp(pf, rf, ff, zf, "d");
        Vec3f backf;
        get_cart_from_cylin_sp(rf, ff, zf, backf, "d");
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(backf[c], pf[c], 1e-5f);
    }
    Vec3f c;
    get_cart_from_cylin_sp(2.0f, 90.0f, -1.0f, c, "D");
    EXPECT_NEAR(c[0], 0.0f, 1e-6f);
    EXPECT_EQ(c[1], 2.0f);
    EXPECT_EQ(c[2], -1.0f);
}

TEST(SphericalCoordinates, PolesOriginUnitsAndRoundTrips) {
    double r, theta, phi;
    get_spheric_coord_dp({0, 0, 0}, r, theta, phi);
    EXPECT_EQ(r, 0.0);
    EXPECT_EQ(theta, 0.0);
    EXPECT_EQ(phi, 0.0);
    get_spheric_coord_dp({0, 0, -2}, r, theta, phi);
    EXPECT_EQ(r, 2.0);
    EXPECT_EQ(theta, pi);
    EXPECT_EQ(phi, 0.0);
    get_spheric_coord_dp({0, 0, -2}, r, theta, phi, "d");
    EXPECT_EQ(theta, 180.0);
    get_spheric_coord_dp({1, 1, 0}, r, theta, phi, "D");
    EXPECT_NEAR(theta, 90.0, 1e-12);
    EXPECT_NEAR(phi, 45.0, 1e-12);
    // a point near the pole: the azimuth is reset to 0
    get_spheric_coord_dp({1e-7, 1e-7, 1}, r, theta, phi);
    EXPECT_EQ(phi, 0.0);

    // z/r rounding above 1 in 32 bits still gives the pole, never NaN
    float rf, tf, pf;
    for (float z : {1.0f, -3.0f, 1e-20f, 7.1e-3f, 3.4e17f}) {
        get_spheric_coord_sp({0.0f, 0.0f, z}, rf, tf, pf);
        EXPECT_FALSE(std::isnan(tf)) << z;
        EXPECT_TRUE(tf == 0.0f || tf == float(pi)) << "z = " << z << " theta = " << tf;
        EXPECT_EQ(pf, 0.0f);
    }
    get_spheric_coord_sp({1e-30f, 0.0f, 1.0f}, rf, tf, pf);
    EXPECT_EQ(tf, 0.0f);

    // another unit character means radians, as when absent
    Vec3d a, b;
    get_cart_from_spher_dp(2.0, 0.5, 1.0, a, "x");
    get_cart_from_spher_dp(2.0, 0.5, 1.0, b);
    EXPECT_EQ(a, b);
    get_cart_from_spher_dp(2.0, 90.0, 180.0, a, "D");
    EXPECT_NEAR(a[0], -2.0, 1e-15);
    EXPECT_NEAR(a[1], 0.0, 1e-15);
    EXPECT_NEAR(a[2], 0.0, 1e-15);

    std::mt19937 gen(4);
    std::uniform_real_distribution<double> u(-5.0, 5.0);
    for (int trial = 0; trial < 200; ++trial) {
        Vec3d p{u(gen), u(gen), u(gen)};
        get_spheric_coord_dp(p, r, theta, phi, "D");
        Vec3d back;
        get_cart_from_spher_dp(r, theta, phi, back, "D");
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(back[c], p[c], 1e-12);
        Vec3f q{float(p[0]), float(p[1]), float(p[2])};
        get_spheric_coord_sp(q, rf, tf, pf);
        Vec3f backf;
        get_cart_from_spher_sp(rf, tf, pf, backf);
        for (int c = 0; c < 3; ++c) EXPECT_NEAR(backf[c], q[c], 1e-5f);
    }
}

TEST(PolyhedronVolume, CubesPrismsAndTetrahedra) {
    std::vector<Vec3f> cube = cube_corners(1.0f);
    EXPECT_NEAR(polyhedron_volume(8, cube, {0, 0, 0}), 8.0f, 1e-5f);
    EXPECT_FALSE(err_math3d);
    // off-centre inner point, shifted cube
    EXPECT_NEAR(polyhedron_volume(8, shifted(cube, {10, -3, 2}), {10.3f, -3.5f, 2.2f}), 8.0f, 1e-4f);

    // tetrahedron of volume 1/6 about an inner point
    std::vector<Vec3f> tet{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    EXPECT_NEAR(polyhedron_volume(4, tet, {0.1f, 0.1f, 0.1f}), 1.0f / 6.0f, 1e-6f);
    // regular tetrahedron on alternate cube corners: volume 8/3
    std::vector<Vec3f> reg{{1, 1, 1}, {1, -1, -1}, {-1, 1, -1}, {-1, -1, 1}};
    EXPECT_NEAR(polyhedron_volume(4, reg, {0, 0, 0}), 8.0f / 3.0f, 1e-5f);

    // triangular prism: base triangle area 6 (legs 3 and 4), height 2
    std::vector<Vec3f> prism{{0, 0, 0}, {3, 0, 0}, {0, 4, 0}, {0, 0, 2}, {3, 0, 2}, {0, 4, 2}};
    EXPECT_NEAR(polyhedron_volume(6, prism, {1, 1, 1}), 12.0f, 1e-4f);
    // hexagonal prism, side 1, height 3: faces of six vertices counted once
    std::vector<Vec3f> hex;
    for (int z = 0; z < 2; ++z)
        for (int k = 0; k < 6; ++k)
            hex.push_back({float(std::cos(k * pi / 3)), float(std::sin(k * pi / 3)), 3.0f * z});
    EXPECT_NEAR(polyhedron_volume(12, hex, {0, 0, 1.5f}), float(3 * std::sqrt(3.0) / 2 * 3), 1e-4f);
    // octahedron (±1,0,0), (0,±1,0), (0,0,±1): 4/3
    std::vector<Vec3f> oct{{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    EXPECT_NEAR(polyhedron_volume(6, oct, {0, 0, 0}), 4.0f / 3.0f, 1e-5f);
    // unit cell of a cubic lattice with an edge midpoint as extra vertex:
    // a collinear triple spans no plane, the face is still counted once
    std::vector<Vec3f> with_mid = cube;
    with_mid.push_back({1, 1, 0});
    EXPECT_NEAR(polyhedron_volume(9, with_mid, {0, 0, 0}), 8.0f, 1e-5f);
    // a repeated vertex changes nothing and gives no NaN
    std::vector<Vec3f> dup = tet;
    dup.push_back({1, 0, 0});
    float v = polyhedron_volume(5, dup, {0.1f, 0.1f, 0.1f});
    EXPECT_FALSE(std::isnan(v));
    EXPECT_NEAR(v, 1.0f / 6.0f, 1e-6f);
}

TEST(PolyhedronVolume, TooFewVerticesAndBadCounts) {
    std::vector<Vec3f> tri{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    EXPECT_EQ(polyhedron_volume(3, tri, {0, 0, 0}), 0.0f);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "The number of vertices for polyhedron volume is less than 4");
    EXPECT_EQ(polyhedron_volume(-2, tri, {0, 0, 0}), 0.0f);
    EXPECT_TRUE(err_math3d);
    // a count larger than the array is refused, not read past its end
    EXPECT_EQ(polyhedron_volume(5, tri, {0, 0, 0}), 0.0f);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "The number of vertices exceeds the vertex array");
    // only the first vertex_count vertices are used
    std::vector<Vec3f> tet{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {5, 5, 5}};
    EXPECT_NEAR(polyhedron_volume(4, tet, {0.1f, 0.1f, 0.1f}), 1.0f / 6.0f, 1e-6f);
    EXPECT_FALSE(err_math3d);
    // NaN coordinates: no crash, no error report needed
    std::vector<Vec3f> bad{{std::nanf(""), 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    (void)polyhedron_volume(4, bad, {0.1f, 0.1f, 0.1f});
}

TEST(CentroidCoord, CircumcentreSphereCentreAndFailures) {
    Vec3f centroid, bary;
    std::vector<Vec3f> tri{{0, 0, 0}, {2, 0, 0}, {0, 2, 0}};
    get_centroid_coord(3, tri, centroid, bary);
    EXPECT_FALSE(err_math3d);
    EXPECT_NEAR(centroid[0], 1.0f, 1e-6f);
    EXPECT_NEAR(centroid[1], 1.0f, 1e-6f);
    EXPECT_NEAR(centroid[2], 0.0f, 1e-6f);
    EXPECT_NEAR(bary[0], 2.0f / 3.0f, 1e-6f);
    EXPECT_NEAR(bary[1], 2.0f / 3.0f, 1e-6f);
    EXPECT_EQ(bary[2], 0.0f);
    // circumcentre of a tilted triangle is equidistant from its corners
    std::vector<Vec3f> tilted{{1, 2, 3}, {4, 0, 1}, {2, 5, -1}};
    get_centroid_coord(3, tilted, centroid, bary);
    ASSERT_FALSE(err_math3d);
    auto dist = [&](const Vec3f& p) {
        return std::sqrt(double(p[0] - centroid[0]) * (p[0] - centroid[0]) +
                         double(p[1] - centroid[1]) * (p[1] - centroid[1]) +
                         double(p[2] - centroid[2]) * (p[2] - centroid[2]));
    };
    EXPECT_NEAR(dist(tilted[0]), dist(tilted[1]), 1e-4);
    EXPECT_NEAR(dist(tilted[0]), dist(tilted[2]), 1e-4);

    // the octahedron shifted by a common vector: that vector is the centre
    std::vector<Vec3f> oct{{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    Vec3f shift{0.25f, -1.5f, 3.0f};
    get_centroid_coord(6, shifted(oct, shift), centroid, bary);
    ASSERT_FALSE(err_math3d);
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(centroid[c], shift[c], 1e-5f);
        EXPECT_NEAR(bary[c], shift[c], 1e-6f);
    }
    // the cube's corners: centre at the cube centre
    get_centroid_coord(8, shifted(cube_corners(0.5f), {3, 3, 3}), centroid, bary);
    ASSERT_FALSE(err_math3d);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(centroid[c], 3.0f, 1e-4f);

    get_centroid_coord(2, tri, centroid, bary);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Centroid calculation needs 3 vertives as minimum");
    EXPECT_EQ(centroid, (Vec3f{0, 0, 0}));
    EXPECT_EQ(bary, (Vec3f{0, 0, 0}));
    std::vector<Vec3f> line{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}};
    get_centroid_coord(3, line, centroid, bary);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Imposible to define a Plane with the three given points");
    EXPECT_EQ(centroid, (Vec3f{0, 0, 0}));
    EXPECT_EQ(bary, (Vec3f{0, 0, 0}));
    // a very short edge beside a long one: the plane exists, the edge does not
    std::vector<Vec3f> short_edge{{0, 0, 0}, {5e-5f, 0, 0}, {0, 1e5f, 0}};
    get_centroid_coord(3, short_edge, centroid, bary);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Check your points! Seems that two of them are equal");
    EXPECT_EQ(centroid, (Vec3f{0, 0, 0}));
    // four coplanar points: the sphere is undefined
    std::vector<Vec3f> square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    get_centroid_coord(4, square, centroid, bary);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "Determinant is singular to calculate Centroid point");
    EXPECT_EQ(bary, (Vec3f{0, 0, 0}));
    // count beyond the array
    get_centroid_coord(4, tri, centroid, bary);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(err_math3d_mess, "The number of vertices exceeds the vertex array");
    // NaN: reported, not returned as a centre
    std::vector<Vec3f> bad{{std::nanf(""), 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    get_centroid_coord(4, bad, centroid, bary);
    EXPECT_TRUE(err_math3d);
    EXPECT_EQ(centroid, (Vec3f{0, 0, 0}));
}
