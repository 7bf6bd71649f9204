// Module vorn_math_3d: 3-D vector algebra, 3x3 inverses and eigenvectors,
// small integer linear systems in parametric form, and 3-D coordinates and
// geometry.
//
// Array idiom: 0-based storage with 1-based access.  A 3-vector v is a
// std::array of 3 elements, component i at v[i-1]; a 3x3 matrix m(i,j) (row i,
// column j) is an array of rows, stored at m[i-1][j-1].  at1(v, i) and
// at1(m, i, j) read and write with the 1-based indices of the formulas.
// Array results are returned by value; subroutines fill reference arguments.
//
// Integer members use 32-bit two's-complement arithmetic: an overflowing sum
// or product wraps around modulo 2^32 and is not reported.
#pragma once

#include <array>
#include <complex>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vorn_math_3d {

// ---- Vector and matrix types ----------------------------------------------
template <class T> using Vec3 = std::array<T, 3>;
template <class T> using Mat3 = std::array<std::array<T, 3>, 3>;

using Vec3i = Vec3<std::int32_t>;
using Vec3f = Vec3<float>;
using Vec3d = Vec3<double>;
using Vec3cf = Vec3<std::complex<float>>;
using Vec3cd = Vec3<std::complex<double>>;
using Mat3i = Mat3<std::int32_t>;
using Mat3f = Mat3<float>;
using Mat3d = Mat3<double>;
using Mat3cf = Mat3<std::complex<float>>;
using Mat3cd = Mat3<std::complex<double>>;

// 1-based access to vectors (component i) and matrices (row i, column j).
template <class T, std::size_t N>
inline T& at1(std::array<T, N>& v, int i) { return v[static_cast<std::size_t>(i - 1)]; }
template <class T, std::size_t N>
inline const T& at1(const std::array<T, N>& v, int i) { return v[static_cast<std::size_t>(i - 1)]; }
template <class T, std::size_t R, std::size_t C>
inline T& at1(std::array<std::array<T, C>, R>& m, int i, int j) {
    return m[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
}
template <class T, std::size_t R, std::size_t C>
inline const T& at1(const std::array<std::array<T, C>, R>& m, int i, int j) {
    return m[static_cast<std::size_t>(i - 1)][static_cast<std::size_t>(j - 1)];
}

// ---- Module state ----------------------------------------------------------
// Tolerance of the coordinate conversions and the small-system solvers.
// Written by set_eps / set_eps_default only; read by the solvers and the
// Cartesian-to-cylindrical/spherical conversions.
extern float eps;
// Error pair: cleared on entry and set on failure by matrix_diageigen,
// matrix_inverse, the resolv_sist family, polyhedron_volume and
// get_centroid_coord; read by the callers.  The message is at most 150
// characters and empty when the pair is clear.
extern bool err_math3d;
extern std::string err_math3d_mess;

void set_eps(float neweps);
void set_eps_default();
void init_err_math3d();

// ---- Determinants and triple products --------------------------------------
// Rule of Sarrus, products left to right, the three negative products
// subtracted one at a time.
std::int32_t determ_a_i(const Mat3i& a);
float determ_a_r(const Mat3f& a);
// a . (b x c)
std::int32_t determ_v_i(const Vec3i& a, const Vec3i& b, const Vec3i& c);
float determ_v_r(const Vec3f& a, const Vec3f& b, const Vec3f& c);

// ---- Cross, cross-matrix and tensor products -------------------------------
// x × y; complex members use ordinary complex products, no conjugation.
Vec3i cross_product(const Vec3i& x, const Vec3i& y);
Vec3f cross_product(const Vec3f& x, const Vec3f& y);
Vec3d cross_product(const Vec3d& x, const Vec3d& y);
Vec3cf cross_product(const Vec3cf& x, const Vec3cf& y);
Vec3cd cross_product(const Vec3cd& x, const Vec3cd& y);
inline Vec3i cross_product_in(const Vec3i& x, const Vec3i& y) { return cross_product(x, y); }
inline Vec3f cross_product_sp(const Vec3f& x, const Vec3f& y) { return cross_product(x, y); }
inline Vec3d cross_product_dp(const Vec3d& x, const Vec3d& y) { return cross_product(x, y); }
inline Vec3cf cross_product_cmpl_sp(const Vec3cf& x, const Vec3cf& y) { return cross_product(x, y); }
inline Vec3cd cross_product_cmpl_dp(const Vec3cd& x, const Vec3cd& y) { return cross_product(x, y); }

// The matrix M of x with M·y = y × x (column vector y) and y·M = x × y (row
// vector y).
Mat3i mat_cross(const Vec3i& x);
Mat3f mat_cross(const Vec3f& x);
Mat3d mat_cross(const Vec3d& x);
Mat3cf mat_cross(const Vec3cf& x);
Mat3cd mat_cross(const Vec3cd& x);
inline Mat3i mat_cross_in(const Vec3i& x) { return mat_cross(x); }
inline Mat3f mat_cross_sp(const Vec3f& x) { return mat_cross(x); }
inline Mat3d mat_cross_dp(const Vec3d& x) { return mat_cross(x); }
inline Mat3cf mat_cross_cmpl_sp(const Vec3cf& x) { return mat_cross(x); }
inline Mat3cd mat_cross_cmpl_dp(const Vec3cd& x) { return mat_cross(x); }

// T(i,j) = x(i)·y(j): x down the rows, y along the columns.
Mat3i tensor_product(const Vec3i& x, const Vec3i& y);
Mat3f tensor_product(const Vec3f& x, const Vec3f& y);
Mat3d tensor_product(const Vec3d& x, const Vec3d& y);
Mat3cf tensor_product(const Vec3cf& x, const Vec3cf& y);
Mat3cd tensor_product(const Vec3cd& x, const Vec3cd& y);
inline Mat3i tensor_product_in(const Vec3i& x, const Vec3i& y) { return tensor_product(x, y); }
inline Mat3f tensor_product_sp(const Vec3f& x, const Vec3f& y) { return tensor_product(x, y); }
inline Mat3d tensor_product_dp(const Vec3d& x, const Vec3d& y) { return tensor_product(x, y); }
inline Mat3cf tensor_product_cmpl_sp(const Vec3cf& x, const Vec3cf& y) { return tensor_product(x, y); }
inline Mat3cd tensor_product_cmpl_dp(const Vec3cd& x, const Vec3cd& y) { return tensor_product(x, y); }

// ---- Inverse by the adjugate (silent) ---------------------------------------
// Adjugate divided by the determinant; the zero matrix when |det| is not
// above the smallest normal number of the type (or det is NaN).
Mat3f invert(const Mat3f& a);
Mat3d invert(const Mat3d& a);
inline Mat3f invert_sp(const Mat3f& a) { return invert(a); }
inline Mat3d invert_dp(const Mat3d& a) { return invert(a); }

// ---- Lengths, rotations and planes ------------------------------------------
// |a·b|: the Cartesian length of b given in the frame of a.
float veclength(const Mat3f& a, const Vec3f& b);
// R·x for a rotation by angle (degrees) about x, y or z (right-hand rule).
Vec3f rotate_ox(const Vec3f& x, float angle);
Vec3f rotate_oy(const Vec3f& x, float angle);
Vec3f rotate_oz(const Vec3f& x, float angle);
// The plane a·x + b·y + c·z + d = 0 through p1, p2, p3, normal (p2-p1)×(p3-p1).
void get_plane_from_points(const Vec3f& p1, const Vec3f& p2, const Vec3f& p3,
                           float& a, float& b, float& c, float& d);

// ---- 3x3 symmetric eigen-solver and inverse with failure report -------------
// Cyclic Jacobi sweeps on the upper triangle of matrix; eigenvalues unsorted,
// column i of eigenvectors belongs to eigenvalue i.
void matrix_diageigen(const Mat3f& matrix, Vec3f& eigenvalues, Mat3f& eigenvectors);
// Adjugate divided by the determinant; fail_code 1 (and the error pair set)
// with the undivided adjugate when |det| < 1e-20.
void matrix_inverse(const Mat3f& matrix, Mat3f& inverse, std::int32_t& fail_code);

// ---- Small integer linear systems in parametric form --------------------------
// For each unknown j: part_sol(j), free_coef(j) and free_code(j); code 0 means
// fixed at part_sol(j), code k means part_sol(j) + free_coef(j)·pk with pk the
// free parameter named after unknown k.
using Vec2i = std::array<std::int32_t, 2>;
using Vec2f = std::array<float, 2>;
using Mat2i = std::array<std::array<std::int32_t, 2>, 2>;
using Mat23i = std::array<std::array<std::int32_t, 3>, 2>;  // two equations, three unknowns

void resolv_sist_1x2(const Vec2i& coef, float rhs, Vec2f& part_sol, Vec2f& free_coef, Vec2i& free_code);
void resolv_sist_1x3(const Vec3i& coef, float rhs, Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code);
void resolv_sist_2x2(const Mat2i& coef, const Vec2f& rhs, Vec2f& part_sol, Vec2f& free_coef, Vec2i& free_code);
void resolv_sist_2x3(const Mat23i& coef, const Vec2f& rhs, Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code);
void resolv_sist_3x3(const Mat3i& coef, const Vec3f& rhs, Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code);

// ---- Cylindrical and spherical coordinates -----------------------------------
// Cylindrical (rho, phi, zeta): distance from the z axis, azimuth from x
// towards y, height.  Spherical (r, theta, phi): distance from the origin,
// polar angle from +z, azimuth.  Angles are radians unless angle_unit begins
// with "D" or "d" (degrees, for every angle in or out).  _sp members use
// 32-bit trigonometry; the origin and the z axis get zero angles.
void get_cart_from_cylin_dp(double rho, double phi, double zeta, Vec3d& cart, std::string_view angle_unit = {});
void get_cart_from_cylin_sp(float rho, float phi, float zeta, Vec3f& cart, std::string_view angle_unit = {});
void get_cylindr_coord_dp(const Vec3d& cart, double& rho, double& phi, double& zeta, std::string_view angle_unit = {});
void get_cylindr_coord_sp(const Vec3f& cart, float& rho, float& phi, float& zeta, std::string_view angle_unit = {});
void get_cart_from_spher_dp(double r, double theta, double phi, Vec3d& cart, std::string_view angle_unit = {});
void get_cart_from_spher_sp(float r, float theta, float phi, Vec3f& cart, std::string_view angle_unit = {});
void get_spheric_coord_dp(const Vec3d& cart, double& r, double& theta, double& phi, std::string_view angle_unit = {});
void get_spheric_coord_sp(const Vec3f& cart, float& r, float& theta, float& phi, std::string_view angle_unit = {});

// ---- Polyhedra and centroids ----------------------------------------------------
// vertices[i-1] is vertex i; only the first vertex_count are used (a count
// larger than the array is reported through the error pair).
// Volume of a convex polyhedron seen from a centre inside it: the sum over its
// faces of the pyramids from the centre, each face counted once.
float polyhedron_volume(std::int32_t vertex_count, std::span<const Vec3f> vertices, const Vec3f& centre);
// centroid: the circumcentre of three points in their plane, or the centre of
// the least-squares sphere through four or more; barycentre: their mean.
void get_centroid_coord(std::int32_t vertex_count, std::span<const Vec3f> vertices, Vec3f& centroid,
                        Vec3f& barycentre);

}  // namespace vorn_math_3d
