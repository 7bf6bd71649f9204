// 3-D coordinates and geometry: cylindrical and spherical coordinates,
// polyhedron volumes and the centres of sets of vertices.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <vector>

#include "maths/math_3D.hpp"
#include "maths/math_gen.hpp"

namespace vorn_math_3d {

namespace {

const double degrees_to_radians = 0.017453292519943295;
const double radians_to_degrees = 57.29577951308232;
const double pi = 3.141592653589793;

bool in_degrees(std::string_view angle_unit) {
    return !angle_unit.empty() && (angle_unit[0] == 'D' || angle_unit[0] == 'd');
}

// One template for both precisions: T is the element type, and the
// trigonometric functions are those of T (std::cos(float) is the 32-bit one).
template <class T>
void cart_from_cylin(T rho, T phi, T zeta, Vec3<T>& cart, std::string_view angle_unit) {
    T ph = phi;
    if (in_degrees(angle_unit)) ph = static_cast<T>(static_cast<double>(ph) * degrees_to_radians);
    cart = Vec3<T>{rho * std::cos(ph), rho * std::sin(ph), zeta};
}

template <class T>
void cylindr_coord(const Vec3<T>& cart, T& rho, T& phi, T& zeta, std::string_view angle_unit) {
    const T x = cart[0], y = cart[1];
    zeta = cart[2];
    if (std::fabs(y) <= eps && std::fabs(x) <= eps)
        phi = T(0);
    else
        phi = std::atan2(y, x);
    rho = std::sqrt(x * x + y * y);
    if (in_degrees(angle_unit)) phi = static_cast<T>(static_cast<double>(phi) * radians_to_degrees);
}

template <class T>
void cart_from_spher(T r, T theta, T phi, Vec3<T>& cart, std::string_view angle_unit) {
    T th = theta, ph = phi;
    if (in_degrees(angle_unit)) {
        th = static_cast<T>(static_cast<double>(th) * degrees_to_radians);
        ph = static_cast<T>(static_cast<double>(ph) * degrees_to_radians);
    }
    cart = Vec3<T>{(r * std::cos(ph)) * std::sin(th), (r * std::sin(ph)) * std::sin(th), std::cos(th) * r};
}

template <class T>
void spheric_coord(const Vec3<T>& cart, T& r, T& theta, T& phi, std::string_view angle_unit) {
    const T x = cart[0], y = cart[1], z = cart[2];
    r = std::sqrt(x * x + y * y + z * z);
    if (r > T(0)) {
        T c = z / r;
        // rounding may carry |z/r| just past 1: the arc cosine then sees ±1
        if (std::fabs(c) > T(1)) c = std::copysign(T(1), c);
        theta = std::acos(c);
        if (static_cast<double>(theta) < eps || std::fabs(static_cast<double>(theta) - pi) < eps)
            phi = T(0);
        else
            phi = std::atan2(y, x);
    } else {
        theta = T(0);
        phi = T(0);
    }
    if (in_degrees(angle_unit)) {
        theta = static_cast<T>(static_cast<double>(theta) * radians_to_degrees);
        phi = static_cast<T>(static_cast<double>(phi) * radians_to_degrees);
    }
}

template <class T> Vec3<T> minus(const Vec3<T>& a, const Vec3<T>& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
template <class T> T dot(const Vec3<T>& a, const Vec3<T>& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
float length(const Vec3f& a) { return vorn_math_general::euclidean_norm(3, a); }

// The vertex array must hold the vertices counted.
bool count_fits(std::int32_t vertex_count, std::span<const Vec3f> vertices) {
    if (vertex_count < 0 || static_cast<std::size_t>(vertex_count) <= vertices.size()) return true;
    err_math3d = true;
    err_math3d_mess = "The number of vertices exceeds the vertex array";
    return false;
}

// Area of the convex planar polygon through the points listed (vertex
// numbers into q), all lying in the plane of unit normal n: the points are
// ordered by their angle about their mean in that plane and fanned from the
// first one.
double face_area(const std::vector<Vec3d>& q, const std::vector<int>& face, const Vec3d& n) {
    Vec3d mean{};
    for (int m : face)
        for (int c = 0; c < 3; ++c) mean[c] += q[static_cast<std::size_t>(m)][c];
    for (auto& e : mean) e /= static_cast<double>(face.size());
    // in-plane axes e1 (towards the first point) and e2 = n x e1
    Vec3d e1{};
    for (int m : face) {
        Vec3d d{q[static_cast<std::size_t>(m)][0] - mean[0], q[static_cast<std::size_t>(m)][1] - mean[1],
                q[static_cast<std::size_t>(m)][2] - mean[2]};
        double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        if (len > 0.0) {
            e1 = {d[0] / len, d[1] / len, d[2] / len};
            break;
        }
    }
    const Vec3d e2 = cross_product(n, e1);
    std::vector<std::pair<double, Vec3d>> around;
    for (int m : face) {
        Vec3d d{q[static_cast<std::size_t>(m)][0] - mean[0], q[static_cast<std::size_t>(m)][1] - mean[1],
                q[static_cast<std::size_t>(m)][2] - mean[2]};
        double u = d[0] * e1[0] + d[1] * e1[1] + d[2] * e1[2];
        double v = d[0] * e2[0] + d[1] * e2[1] + d[2] * e2[2];
        around.push_back({std::atan2(v, u), d});
    }
    std::sort(around.begin(), around.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    double area = 0.0;
    const Vec3d& p0 = around[0].second;
    for (std::size_t k = 1; k + 1 < around.size(); ++k) {
        const Vec3d& p1 = around[k].second;
        const Vec3d& p2 = around[k + 1].second;
        Vec3d a{p1[0] - p0[0], p1[1] - p0[1], p1[2] - p0[2]};
        Vec3d b{p2[0] - p0[0], p2[1] - p0[1], p2[2] - p0[2]};
        Vec3d c = cross_product(a, b);
        area += 0.5 * std::sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]);
    }
    return area;
}

// A face found from a triple of vertices: its vertices in increasing order,
// and the unit normal, the distance from the centre and twice the area of
// the triangle that found it.
struct Face {
    std::vector<int> vertices;
    Vec3d unit;
    double h;
    double twice_area;
};

// Triangle i, j, k spans a plane when its least height (twice its area over
// its longest edge) is at least `least`.
bool spans_plane(const std::vector<Vec3d>& q, int i, int j, int k, double least) {
    const Vec3d &a = q[static_cast<std::size_t>(i)], &b = q[static_cast<std::size_t>(j)],
                &c = q[static_cast<std::size_t>(k)];
    const Vec3d ab = minus(b, a), ac = minus(c, a), bc = minus(c, b), normal = cross_product(ab, ac);
    const double longest = std::sqrt(std::max({dot(ab, ab), dot(ac, ac), dot(bc, bc)}));
    return std::sqrt(dot(normal, normal)) >= least * longest && longest > 0.0;
}

// Two faces lie in one plane when three vertices common to both span one.
bool share_plane(const std::vector<Vec3d>& q, const std::vector<int>& f, const std::vector<int>& g, double least) {
    std::vector<int> common;
    std::set_intersection(f.begin(), f.end(), g.begin(), g.end(), std::back_inserter(common));
    for (std::size_t a = 0; a + 2 < common.size(); ++a)
        for (std::size_t b = a + 1; b + 1 < common.size(); ++b)
            for (std::size_t c = b + 1; c < common.size(); ++c)
                if (spans_plane(q, common[a], common[b], common[c], least)) return true;
    return false;
}

}  // namespace

void get_cart_from_cylin_dp(double rho, double phi, double zeta, Vec3d& cart, std::string_view angle_unit) {
    cart_from_cylin(rho, phi, zeta, cart, angle_unit);
}
void get_cart_from_cylin_sp(float rho, float phi, float zeta, Vec3f& cart, std::string_view angle_unit) {
    cart_from_cylin(rho, phi, zeta, cart, angle_unit);
}
void get_cylindr_coord_dp(const Vec3d& cart, double& rho, double& phi, double& zeta, std::string_view angle_unit) {
    cylindr_coord(cart, rho, phi, zeta, angle_unit);
}
void get_cylindr_coord_sp(const Vec3f& cart, float& rho, float& phi, float& zeta, std::string_view angle_unit) {
    cylindr_coord(cart, rho, phi, zeta, angle_unit);
}
void get_cart_from_spher_dp(double r, double theta, double phi, Vec3d& cart, std::string_view angle_unit) {
    cart_from_spher(r, theta, phi, cart, angle_unit);
}
void get_cart_from_spher_sp(float r, float theta, float phi, Vec3f& cart, std::string_view angle_unit) {
    cart_from_spher(r, theta, phi, cart, angle_unit);
}
void get_spheric_coord_dp(const Vec3d& cart, double& r, double& theta, double& phi, std::string_view angle_unit) {
    spheric_coord(cart, r, theta, phi, angle_unit);
}
void get_spheric_coord_sp(const Vec3f& cart, float& r, float& theta, float& phi, std::string_view angle_unit) {
    spheric_coord(cart, r, theta, phi, angle_unit);
}

// Every triple of vertices whose plane keeps all other vertices on the side
// of the centre spans a face.  The face is gathered whole (all vertices in
// the plane of the triple) and its pyramid from the centre added once; a face
// of three or four vertices gives what the pyramids over its triangles give.
// Each decision compares a distance with a fraction of the polyhedron's size,
// its largest vertex distance from the centre: the side of a vertex is its
// own distance from the plane and the side of the centre the sign of the
// plane's distance, so a centre close to a plane, or a polyhedron of 0.01 or
// of 100, is judged as one of 1.  Triples of nearly collinear vertices span
// no plane and are passed over.  A nearly planar face may be found whole from
// one of its triangles and in parts from others: faces that share three
// vertices spanning a plane are one face.  The geometry is carried in 64 bits.
float polyhedron_volume(std::int32_t vertex_count, std::span<const Vec3f> vertices, const Vec3f& centre) {
    init_err_math3d();
    if (vertex_count < 4) {
        err_math3d = true;
        err_math3d_mess = "The number of vertices for polyhedron volume is less than 4";
        return 0.0f;
    }
    if (!count_fits(vertex_count, vertices)) return 0.0f;
    const int n = vertex_count;
    std::vector<Vec3d> q(static_cast<std::size_t>(n));
    double size = 0.0;
    for (std::size_t i = 0; i < q.size(); ++i) {
        for (int c = 0; c < 3; ++c)
            q[i][c] = static_cast<double>(vertices[i][c]) - static_cast<double>(centre[c]);
        size = std::max(size, std::sqrt(dot(q[i], q[i])));
    }
    // A vertex within `in_plane` of a plane lies in it (farther beyond it, it
    // rejects the plane): above the rounding of 32-bit coordinates, so that a
    // face stored in them stays one face.  A triangle whose least height is
    // below `flat` spans no plane.  A plane within `through_centre` of the
    // centre passes through it: only the rounding of the 64-bit distance,
    // since the pyramid of a face close to the centre still counts in a flat
    // polyhedron.
    const double in_plane = 1.0e-6 * size, flat = 1.0e-5 * size, through_centre = 1.0e-12 * size;
    std::vector<Face> faces;
    for (int i = 0; i < n - 2; ++i)
        for (int j = i + 1; j < n - 1; ++j)
            for (int k = j + 1; k < n; ++k) {
                const Vec3d& qi = q[static_cast<std::size_t>(i)];
                const Vec3d normal = cross_product(minus(q[static_cast<std::size_t>(j)], qi),
                                                   minus(q[static_cast<std::size_t>(k)], qi));
                const double twice_area = std::sqrt(dot(normal, normal));
                if (!spans_plane(q, i, j, k, flat)) continue;
                const Vec3d unit{normal[0] / twice_area, normal[1] / twice_area, normal[2] / twice_area};
                const double h = dot(unit, qi);
                if (!(std::fabs(h) >= through_centre)) continue;
                std::vector<int> face{i, j, k};
                bool rejected = false;
                for (int m = 0; m < n && !rejected; ++m) {
                    if (m == i || m == j || m == k) continue;
                    // distance of vertex m from the plane, positive on the centre's side
                    const double s = dot(minus(qi, q[static_cast<std::size_t>(m)]), unit) * (h > 0.0 ? 1.0 : -1.0);
                    if (s < -in_plane)
                        rejected = true;
                    else if (s < in_plane)
                        face.push_back(m);
                }
                if (rejected) continue;
                std::sort(face.begin(), face.end());
                if (std::none_of(faces.begin(), faces.end(), [&](const Face& f) { return f.vertices == face; }))
                    faces.push_back({face, unit, h, twice_area});
            }
    // Join the parts of each face, until no two faces share a plane; the
    // plane of a joined face is that of its largest triangle.
    for (bool joined = true; joined;) {
        joined = false;
        for (std::size_t a = 0; a < faces.size(); ++a)
            for (std::size_t b = a + 1; b < faces.size();) {
                if (!share_plane(q, faces[a].vertices, faces[b].vertices, flat)) {
                    ++b;
                    continue;
                }
                Face& f = faces[a];
                const Face& g = faces[b];
                std::vector<int> both;
                std::set_union(f.vertices.begin(), f.vertices.end(), g.vertices.begin(), g.vertices.end(),
                               std::back_inserter(both));
                f.vertices = both;
                if (g.twice_area > f.twice_area) {
                    f.unit = g.unit;
                    f.h = g.h;
                    f.twice_area = g.twice_area;
                }
                faces.erase(faces.begin() + static_cast<std::ptrdiff_t>(b));
                joined = true;
            }
    }
    double volume = 0.0;
    for (const Face& f : faces) volume += face_area(q, f.vertices, f.unit) * std::fabs(f.h) / 3.0;
    return static_cast<float>(volume);
}

void get_centroid_coord(std::int32_t vertex_count, std::span<const Vec3f> vertices, Vec3f& centroid,
                        Vec3f& barycentre) {
    init_err_math3d();
    centroid = Vec3f{0, 0, 0};
    barycentre = Vec3f{0, 0, 0};
    if (vertex_count < 3) {
        err_math3d = true;
        err_math3d_mess = "Centroid calculation needs 3 vertives as minimum";
        return;
    }
    if (!count_fits(vertex_count, vertices)) return;
    const int n = vertex_count;
    Mat3f m{};
    Vec3f rhs{};
    if (n == 3) {
        const Vec3f &p1 = vertices[0], &p2 = vertices[1], &p3 = vertices[2];
        float a, b, c, d;
        get_plane_from_points(p1, p2, p3, a, b, c, d);
        if (length(Vec3f{a, b, c}) <= 1.0e-4f) {
            err_math3d = true;
            err_math3d_mess = "Imposible to define a Plane with the three given points";
            return;
        }
        const Vec3f u = minus(p2, p1), w = minus(p3, p1);
        const float lu = length(u), lw = length(w);
        if (lu <= 1.0e-4f || lw <= 1.0e-4f) {
            err_math3d = true;
            err_math3d_mess = "Check your points! Seems that two of them are equal";
            return;
        }
        const Vec3f uh{u[0] / lu, u[1] / lu, u[2] / lu}, wh{w[0] / lw, w[1] / lw, w[2] / lw};
        const Vec3f mid_u{p1[0] + u[0] / 2, p1[1] + u[1] / 2, p1[2] + u[2] / 2};
        const Vec3f mid_w{p1[0] + w[0] / 2, p1[1] + w[1] / 2, p1[2] + w[2] / 2};
        m = Mat3f{{{a, b, c}, uh, wh}};
        rhs = Vec3f{-d, dot(uh, mid_u), dot(wh, mid_w)};
    } else {
        // centre of the least-squares sphere: sums held in double, the
        // normal-equation entries stored as 32-bit reals
        double sx = 0, sy = 0, sz = 0, sxx = 0, syy = 0, szz = 0, sxy = 0, sxz = 0, syz = 0;
        double sxxx = 0, syyy = 0, szzz = 0, sxyy = 0, sxzz = 0, sxxy = 0, sxxz = 0, syzz = 0, syyz = 0;
        for (int i = 0; i < n; ++i) {
            const double x = vertices[static_cast<std::size_t>(i)][0];
            const double y = vertices[static_cast<std::size_t>(i)][1];
            const double z = vertices[static_cast<std::size_t>(i)][2];
            sx += x; sy += y; sz += z;
            sxx += x * x; syy += y * y; szz += z * z;
            sxy += x * y; sxz += x * z; syz += y * z;
            sxxx += x * x * x; syyy += y * y * y; szzz += z * z * z;
            sxyy += x * y * y; sxzz += x * z * z; sxxy += x * x * y;
            sxxz += x * x * z; syzz += y * z * z; syyz += y * y * z;
        }
        const double dn = n;
        const double s2 = sxx + syy + szz;
        const float m11 = static_cast<float>(sxx - sx * sx / dn), m22 = static_cast<float>(syy - sy * sy / dn);
        const float m33 = static_cast<float>(szz - sz * sz / dn), m12 = static_cast<float>(sxy - sx * sy / dn);
        const float m13 = static_cast<float>(sxz - sx * sz / dn), m23 = static_cast<float>(syz - sy * sz / dn);
        m = Mat3f{{{m11, m12, m13}, {m12, m22, m23}, {m13, m23, m33}}};
        rhs = Vec3f{static_cast<float>((sxxx + sxyy + sxzz - sx * s2 / dn) / 2),
                    static_cast<float>((syyy + sxxy + syzz - sy * s2 / dn) / 2),
                    static_cast<float>((szzz + sxxz + syyz - sz * s2 / dn) / 2)};
    }
    const float det = determ_a_r(m);
    if (!(std::fabs(det) > 1.0e-4f)) {
        err_math3d = true;
        err_math3d_mess = "Determinant is singular to calculate Centroid point";
        return;
    }
    for (int j = 0; j < 3; ++j) {
        Mat3f mj = m;
        for (int i = 0; i < 3; ++i) mj[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = rhs[static_cast<std::size_t>(i)];
        centroid[static_cast<std::size_t>(j)] = determ_a_r(mj) / det;
    }
    double bx = 0, by = 0, bz = 0;
    for (int i = 0; i < n; ++i) {
        bx += vertices[static_cast<std::size_t>(i)][0];
        by += vertices[static_cast<std::size_t>(i)][1];
        bz += vertices[static_cast<std::size_t>(i)][2];
    }
    barycentre = Vec3f{static_cast<float>(bx / n), static_cast<float>(by / n), static_cast<float>(bz / n)};
}

}  // namespace vorn_math_3d
