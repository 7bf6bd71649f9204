// 3-D vector algebra: determinants, triple, cross and tensor products, the
// adjugate inverse, transformed lengths, axial rotations and planes.
#include <cmath>
#include <limits>

#include "maths/math_3D.hpp"
#include "maths/math_gen.hpp"
#include "text/fortran_int.hpp"

namespace vorn_math_3d {

namespace {

namespace fi = vorn_string_utilities;

// Element arithmetic of the families.  Integers wrap around modulo 2^32;
// complex products are written out so that no library rescaling intervenes.
inline std::int32_t mul(std::int32_t a, std::int32_t b) { return fi::wrap_mul(a, b); }
inline std::int32_t add(std::int32_t a, std::int32_t b) { return fi::wrap_add(a, b); }
inline std::int32_t sub(std::int32_t a, std::int32_t b) { return fi::wrap_sub(a, b); }
inline std::int32_t neg(std::int32_t a) { return fi::wrap_neg(a); }

template <class T> inline T mul(T a, T b) { return a * b; }
template <class T> inline T add(T a, T b) { return a + b; }
template <class T> inline T sub(T a, T b) { return a - b; }
template <class T> inline T neg(T a) { return -a; }

template <class T>
inline std::complex<T> mul(std::complex<T> a, std::complex<T> b) {
    T re = a.real() * b.real() - a.imag() * b.imag();
    T im = a.real() * b.imag() + a.imag() * b.real();
    return {re, im};
}
template <class T>
inline std::complex<T> add(std::complex<T> a, std::complex<T> b) {
    return {a.real() + b.real(), a.imag() + b.imag()};
}
template <class T>
inline std::complex<T> sub(std::complex<T> a, std::complex<T> b) {
    return {a.real() - b.real(), a.imag() - b.imag()};
}
template <class T>
inline std::complex<T> neg(std::complex<T> a) { return {-a.real(), -a.imag()}; }

template <class T>
T sarrus(const Mat3<T>& a) {
    auto m = [&](int i, int j) { return at1(a, i, j); };
    T p1 = mul(mul(m(1, 1), m(2, 2)), m(3, 3));
    T p2 = mul(mul(m(2, 1), m(3, 2)), m(1, 3));
    T p3 = mul(mul(m(1, 2), m(2, 3)), m(3, 1));
    T n1 = mul(mul(m(1, 3), m(2, 2)), m(3, 1));
    T n2 = mul(mul(m(1, 1), m(3, 2)), m(2, 3));
    T n3 = mul(mul(m(2, 1), m(1, 2)), m(3, 3));
    T det = add(add(p1, p2), p3);
    det = sub(det, n1);
    det = sub(det, n2);
    det = sub(det, n3);
    return det;
}

template <class T>
T triple(const Vec3<T>& a, const Vec3<T>& b, const Vec3<T>& c) {
    T t1 = mul(a[0], sub(mul(b[1], c[2]), mul(b[2], c[1])));
    T t2 = mul(a[1], sub(mul(b[2], c[0]), mul(b[0], c[2])));
    T t3 = mul(a[2], sub(mul(b[0], c[1]), mul(b[1], c[0])));
    return add(add(t1, t2), t3);
}

template <class T>
Vec3<T> cross(const Vec3<T>& x, const Vec3<T>& y) {
    return {sub(mul(x[1], y[2]), mul(x[2], y[1])),
            sub(mul(x[2], y[0]), mul(x[0], y[2])),
            sub(mul(x[0], y[1]), mul(x[1], y[0]))};
}

template <class T>
Mat3<T> cross_matrix(const Vec3<T>& x) {
    const T zero{};
    return Mat3<T>{{{zero, x[2], neg(x[1])},
                    {neg(x[2]), zero, x[0]},
                    {x[1], neg(x[0]), zero}}};
}

template <class T>
Mat3<T> tensor(const Vec3<T>& x, const Vec3<T>& y) {
    Mat3<T> t{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) t[i][j] = mul(x[i], y[j]);
    return t;
}

// Adjugate, then division by the determinant taken along the first row of a
// and the first column of the adjugate; the zero matrix when the determinant
// is not above the smallest normal number (or is not a number).
template <class T>
Mat3<T> adjugate_inverse(const Mat3<T>& a) {
    auto m = [&](int i, int j) { return at1(a, i, j); };
    Mat3<T> b{};
    at1(b, 1, 1) = m(2, 2) * m(3, 3) - m(2, 3) * m(3, 2);
    at1(b, 2, 1) = m(2, 3) * m(3, 1) - m(2, 1) * m(3, 3);
    at1(b, 3, 1) = m(2, 1) * m(3, 2) - m(2, 2) * m(3, 1);
    at1(b, 1, 2) = m(1, 3) * m(3, 2) - m(1, 2) * m(3, 3);
    at1(b, 2, 2) = m(1, 1) * m(3, 3) - m(1, 3) * m(3, 1);
    at1(b, 3, 2) = m(1, 2) * m(3, 1) - m(1, 1) * m(3, 2);
    at1(b, 1, 3) = m(1, 2) * m(2, 3) - m(1, 3) * m(2, 2);
    at1(b, 2, 3) = m(1, 3) * m(2, 1) - m(1, 1) * m(2, 3);
    at1(b, 3, 3) = m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1);
    T det = m(1, 1) * at1(b, 1, 1) + m(1, 2) * at1(b, 2, 1) + m(1, 3) * at1(b, 3, 1);
    if (std::fabs(det) > std::numeric_limits<T>::min()) {
        for (auto& row : b)
            for (auto& e : row) e /= det;
    } else {
        b = Mat3<T>{};
    }
    return b;
}

// R·x, x a column vector, the three products of each row added in order.
Vec3f rotated(const Mat3f& r, const Vec3f& x) {
    Vec3f y{};
    for (int i = 0; i < 3; ++i) y[i] = r[i][0] * x[0] + r[i][1] * x[1] + r[i][2] * x[2];
    return y;
}

}  // namespace

std::int32_t determ_a_i(const Mat3i& a) { return sarrus(a); }
float determ_a_r(const Mat3f& a) { return sarrus(a); }

std::int32_t determ_v_i(const Vec3i& a, const Vec3i& b, const Vec3i& c) { return triple(a, b, c); }
float determ_v_r(const Vec3f& a, const Vec3f& b, const Vec3f& c) { return triple(a, b, c); }

Vec3i cross_product(const Vec3i& x, const Vec3i& y) { return cross(x, y); }
Vec3f cross_product(const Vec3f& x, const Vec3f& y) { return cross(x, y); }
Vec3d cross_product(const Vec3d& x, const Vec3d& y) { return cross(x, y); }
Vec3cf cross_product(const Vec3cf& x, const Vec3cf& y) { return cross(x, y); }
Vec3cd cross_product(const Vec3cd& x, const Vec3cd& y) { return cross(x, y); }

Mat3i mat_cross(const Vec3i& x) { return cross_matrix(x); }
Mat3f mat_cross(const Vec3f& x) { return cross_matrix(x); }
Mat3d mat_cross(const Vec3d& x) { return cross_matrix(x); }
Mat3cf mat_cross(const Vec3cf& x) { return cross_matrix(x); }
Mat3cd mat_cross(const Vec3cd& x) { return cross_matrix(x); }

Mat3i tensor_product(const Vec3i& x, const Vec3i& y) { return tensor(x, y); }
Mat3f tensor_product(const Vec3f& x, const Vec3f& y) { return tensor(x, y); }
Mat3d tensor_product(const Vec3d& x, const Vec3d& y) { return tensor(x, y); }
Mat3cf tensor_product(const Vec3cf& x, const Vec3cf& y) { return tensor(x, y); }
Mat3cd tensor_product(const Vec3cd& x, const Vec3cd& y) { return tensor(x, y); }

Mat3f invert(const Mat3f& a) { return adjugate_inverse(a); }
Mat3d invert(const Mat3d& a) { return adjugate_inverse(a); }

float veclength(const Mat3f& a, const Vec3f& b) {
    Vec3f c{};
    for (int i = 0; i < 3; ++i) c[i] = a[i][0] * b[0] + a[i][1] * b[1] + a[i][2] * b[2];
    return std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
}

// Rotations about the coordinate axes by the degree cosine and sine in
// single precision; a positive angle turns counter-clockwise seen from the
// positive end of the axis.
Vec3f rotate_ox(const Vec3f& x, float angle) {
    float c = vorn_math_general::cosd_sp(angle), s = vorn_math_general::sind_sp(angle);
    return rotated(Mat3f{{{1, 0, 0}, {0, c, -s}, {0, s, c}}}, x);
}

Vec3f rotate_oy(const Vec3f& x, float angle) {
    float c = vorn_math_general::cosd_sp(angle), s = vorn_math_general::sind_sp(angle);
    return rotated(Mat3f{{{c, 0, s}, {0, 1, 0}, {-s, 0, c}}}, x);
}

Vec3f rotate_oz(const Vec3f& x, float angle) {
    float c = vorn_math_general::cosd_sp(angle), s = vorn_math_general::sind_sp(angle);
    return rotated(Mat3f{{{c, -s, 0}, {s, c, 0}, {0, 0, 1}}}, x);
}

void get_plane_from_points(const Vec3f& p1, const Vec3f& p2, const Vec3f& p3,
                           float& a, float& b, float& c, float& d) {
    Vec3f e{p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]};
    Vec3f f{p3[0] - p1[0], p3[1] - p1[1], p3[2] - p1[2]};
    a = e[1] * f[2] - e[2] * f[1];
    b = e[2] * f[0] - e[0] * f[2];
    c = e[0] * f[1] - e[1] * f[0];
    d = -a * p2[0] - b * p2[1] - c * p2[2];
}

}  // namespace vorn_math_3d
