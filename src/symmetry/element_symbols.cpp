// Geometric symbols of symmetry operations: the kind of element with its
// order and sense, the screw or glide vector, and where the element lies,
// in the notation of the International Tables ("2 (0,1/2,0) 1/4,y,0",
// "n (1/2,1/2,0) x,y,0", "-4+ 0,0,z; 0,0,0").  Nothing is reduced modulo
// the lattice: a screw part of a whole cell edge is shown as such.
#include <cmath>
#include <cstdlib>
#include <string>

#include "maths/math_3D.hpp"
#include "symmetry/route_operators.hpp"
#include "symmetry/symmetry.hpp"
#include "text/fortran_int.hpp"
#include "text/string_util.hpp"

namespace vorn_crystallographic_symmetry {

namespace su = vorn_string_utilities;
namespace m3 = vorn_math_3d;

namespace {

// Fixed tolerances of the element analysis: a screw or glide component and
// the sense construction, and the summed translation of the identity.
constexpr float component_tolerance = 0.0002f;
constexpr float identity_tolerance = 0.0006f;
// Width of every point, line, plane and vector text inside a symbol.
constexpr std::size_t location_width = 30;

// rot.v in single precision: the routes' helper.
using route_detail::rotate;

RotationMatrix int_product(const RotationMatrix& a, const RotationMatrix& b) {
    RotationMatrix p{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) p[i][j] = su::wrap_add(p[i][j], su::wrap_mul(a[i][k], b[k][j]));
    return p;
}

RotationMatrix minus_identity(const RotationMatrix& rot) {
    RotationMatrix m = rot;
    for (int i = 0; i < 3; ++i) m[i][i] = su::wrap_sub(m[i][i], 1);
    return m;
}

bool negligible(const Vector3& v) {
    return std::fabs(v[0]) <= component_tolerance && std::fabs(v[1]) <= component_tolerance &&
           std::fabs(v[2]) <= component_tolerance;
}

// The fixed points of x -> rot.x + t_loc: (rot - I).x = -t_loc, in the
// parametric form of the small-system solver (its error flag not examined).
struct Location {
    Vector3 point{};       // particular solution p
    Vector3 coefficient{}; // free-parameter coefficients c
    std::array<std::int32_t, 3> code{};  // 0 fixed, j: c(i) times coordinate j
};

Location located(const RotationMatrix& rot, const Vector3& t_loc) {
    Location s;
    m3::resolv_sist_3x3(minus_identity(rot), Vector3{-t_loc[0], -t_loc[1], -t_loc[2]}, s.point, s.coefficient,
                        s.code);
    return s;
}

std::string location_text(const Location& s) {
    std::string text(location_width, ' ');
    get_string_resolv(s.point, s.coefficient, s.code, text);
    return std::string(su::trim_right(text));
}

// Signed fraction text of a value without blanks: "+1/2", "-3", "0", "***/**".
std::string signed_fraction(float value) {
    std::string text(10, ' ');
    su::get_fraction_2dig(value, text);
    std::erase(text, ' ');
    return text;
}

// The plane of fixed points of a reflection, x -> rot.x + t_loc.  (rot - I)
// has rank 1, every row a multiple of the plane's normal.  When the normal
// has no null component, the solver's form (each coordinate on at most one
// free coordinate) cannot hold the plane: the solver refuses the single
// equation and names no coordinate (the text would read ",,").  The plane is
// then written with two free coordinates, the last coordinate of least
// coefficient following from them: x+y+z = 1/2 reads "x,y,-x-y+1/2".  The
// solver is called all the same, so its error flag stands as for any plane.
std::string plane_text(const RotationMatrix& rot, const Vector3& t_loc) {
    const Location solved = located(rot, t_loc);
    const RotationMatrix w = minus_identity(rot);
    int row = 0;
    while (row < 3 && w[row][0] == 0 && w[row][1] == 0 && w[row][2] == 0) ++row;
    if (row == 3 || w[row][0] == 0 || w[row][1] == 0 || w[row][2] == 0) return location_text(solved);
    const std::array<std::int32_t, 3>& a = w[row];
    int dependent = 0;
    for (int j = 1; j < 3; ++j)
        if (std::llabs(a[j]) <= std::llabs(a[dependent])) dependent = j;
    static constexpr char letters[3] = {'x', 'y', 'z'};
    std::string expression;
    for (int i = 0; i < 3; ++i) {
        if (i == dependent) continue;
        const double coefficient = -static_cast<double>(a[i]) / static_cast<double>(a[dependent]);
        std::string term = std::fabs(coefficient) == 1.0 ? (coefficient < 0.0 ? "-" : "+")
                                                          : signed_fraction(static_cast<float>(coefficient));
        if (expression.empty() && term.front() == '+') term.erase(0, 1);
        expression += term + letters[i];
    }
    const float constant = static_cast<float>(-static_cast<double>(t_loc[row]) / static_cast<double>(a[dependent]));
    if (constant != 0.0f) expression += signed_fraction(constant);
    std::string text;
    for (int i = 0; i < 3; ++i) {
        text += i == dependent ? expression : std::string(1, letters[i]);
        if (i < 2) text += ',';
    }
    return text.substr(0, location_width);
}

// The text of a single point or vector: "1/4,0,1/4".
std::string point_text(const Vector3& p) { return location_text(Location{p, {}, {}}); }

// The determinant that fixes the sense of rotation about the line s: the
// direction d of the line, a trial point v off the line and its image
// w = rot.v + t, all taken from the point p0 of the line at parameter 0.
float sense_determinant(const Location& s, const RotationMatrix& rot, const Vector3& t) {
    Vector3 p0{0.0f, 0.0f, 0.0f}, p1{1.0f, 1.0f, 1.0f};
    for (int i = 0; i < 3; ++i) {
        const std::int32_t k = s.code[i];
        if (k == 0) {
            p0[i] = s.point[i];
            p1[i] = s.point[i];
        } else if (k >= 1 && k <= 3) {
            p0[i] = s.coefficient[i] * p0[k - 1] + s.point[i];
            p1[i] = s.coefficient[i] * p1[k - 1] + s.point[i];
        }
    }
    // A point in the plane through the origin perpendicular to p1.
    Vector3 v{0.0f, 0.0f, 0.0f};
    if (p1[0] > 0.0f) {
        v[2] = 0.5f * p1[2];
        v[1] = 0.7f * p1[1];
        v[0] = -(p1[1] * v[1] + p1[2] * v[2]) / p1[0];
    } else if (p1[1] > 0.0f) {
        v[0] = 0.5f * p1[0];
        v[2] = 0.7f * p1[2];
        v[1] = -(p1[0] * v[0] + p1[2] * v[2]) / p1[1];
    } else if (p1[2] > 0.0f) {
        v[0] = 0.5f * p1[0];
        v[1] = 0.7f * p1[1];
        v[2] = -(p1[0] * v[0] + p1[1] * v[1]) / p1[2];
    }
    // Moved off the axis point, each component tested before its own move.
    static constexpr float shift[3] = {0.5f, 1.0f, 1.5f};
    for (int i = 0; i < 3; ++i)
        if (std::fabs(v[i] - p0[i]) <= component_tolerance) v[i] = v[i] * v[i] + shift[i];
    Vector3 w = rotate(rot, v);
    for (int i = 0; i < 3; ++i) w[i] += t[i];
    m3::Mat3f rows{};
    for (int j = 0; j < 3; ++j) {
        rows[0][j] = p1[j] - p0[j];
        rows[1][j] = v[j] - p0[j];
        rows[2][j] = w[j] - p0[j];
    }
    return m3::determ_a_r(rows);
}

// Appends text so that it begins in column `column` (1-based), blanks between.
void put(std::string& symbol, std::size_t column, std::string_view text) {
    symbol.resize(column - 1, ' ');
    symbol += text;
}

// Rotation and screw axes, determinant +1, order n >= 2.
std::string axis_symbol(std::int32_t n, const RotationMatrix& rot, const Vector3& tr) {
    // Intrinsic translation s = t + R.t + ... + R^(n-1).t, not reduced.
    Vector3 s = tr;
    RotationMatrix power{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (std::int32_t k = 1; k < n; ++k) {
        power = int_product(power, rot);
        const Vector3 image = rotate(power, tr);
        for (int i = 0; i < 3; ++i) s[i] += image[i];
    }
    const bool screw = !negligible(s);
    Vector3 screw_part{}, t_loc = tr;
    if (screw) {
        const float inverse_order = 1.0f / static_cast<float>(n);
        for (int i = 0; i < 3; ++i) {
            screw_part[i] = s[i] * inverse_order;
            t_loc[i] = tr[i] - screw_part[i];
        }
    }
    const Location line = located(rot, t_loc);
    const float d = sense_determinant(line, rot, tr);

    std::string symbol = std::to_string(n);
    // A twofold axis has no sense to show.
    if (n != 2) symbol += d > 0.0f ? '+' : '-';
    if (screw) put(symbol, symbol.size() + 2, "(" + point_text(screw_part) + ")");
    put(symbol, su::len_trim(symbol) + 2, location_text(line));
    return symbol;
}

// Inversion centre: half the translation, not reduced.
std::string inversion_symbol(const Vector3& tr) {
    return "-1 " + point_text(Vector3{0.5f * tr[0], 0.5f * tr[1], 0.5f * tr[2]});
}

// One row of the glide-letter table: the three components that the glide
// part (or, for "d", its reduced form) must match; `either_sign` marks the
// "d" components whose magnitude only is tested.
struct GlideRow {
    char letter;
    bool reduced;
    float g[3];
    bool either_sign[3];
};

constexpr float h = 0.5f, q = 0.25f;
constexpr GlideRow glide_rows[] = {
    {'a', false, {h, 0, 0}, {}}, {'b', false, {0, h, 0}, {}}, {'c', false, {0, 0, h}, {}},
    {'n', false, {h, h, 0}, {}}, {'n', false, {0, h, h}, {}}, {'n', false, {h, 0, h}, {}},
    {'n', false, {h, h, h}, {}}, {'n', false, {-h, h, h}, {}}, {'n', false, {h, -h, h}, {}},
    {'n', false, {h, h, -h}, {}},
    {'d', true, {q, q, 0}, {false, true, false}}, {'d', true, {0, q, q}, {false, false, true}},
    {'d', true, {q, 0, q}, {true, false, false}}, {'d', true, {q, q, q}, {false, false, true}},
    {'d', true, {q, q, q}, {true, false, false}}, {'d', true, {q, q, q}, {false, true, false}},
    {'d', true, {-q, q, q}, {false, false, true}}, {'d', true, {q, -q, q}, {true, false, false}},
    {'d', true, {q, q, -q}, {false, true, false}},
};

bool matches(const GlideRow& row, const Vector3& g, const Vector3& reduced) {
    for (int i = 0; i < 3; ++i) {
        const float value = row.reduced ? reduced[i] : g[i];
        const float off = row.either_sign[i] ? std::fabs(std::fabs(value) - row.g[i]) : std::fabs(value - row.g[i]);
        if (off > component_tolerance) return false;
    }
    return true;
}

// Mirror and glide planes, order -2.
std::string plane_symbol(const RotationMatrix& rot, const Vector3& tr) {
    const Vector3 image = rotate(rot, tr);
    Vector3 doubled{};
    for (int i = 0; i < 3; ++i) doubled[i] = tr[i] + image[i];
    if (negligible(doubled)) return "m " + plane_text(rot, tr);

    Vector3 g{}, t_loc{}, reduced{};
    for (int i = 0; i < 3; ++i) {
        g[i] = 0.5f * doubled[i];
        t_loc[i] = tr[i] - g[i];
        // Into (-1/2, 1/2]: the remainder of g + 10 on division by 1.
        const float s = g[i] + 10.0f;
        reduced[i] = s - std::trunc(s / 1.0f) * 1.0f;
        if (reduced[i] > 0.5f) reduced[i] -= 1.0f;
    }
    // Every row is tested; no glide part satisfies two letters.
    char letter = 'g';
    for (const GlideRow& row : glide_rows)
        if (matches(row, g, reduced)) letter = row.letter;

    std::string symbol{letter, ' '};
    const std::string plane = plane_text(rot, t_loc);
    if (letter == 'n' || letter == 'd' || letter == 'g') {
        symbol += "(" + point_text(g) + ")";
        put(symbol, su::len_trim(symbol) + 2, plane);
    } else {
        symbol += plane;
    }
    return symbol;
}

// Rotoinversion axes, order -3, -4, -6: the axis is the fixed line of the
// square of the operation, the centre its one fixed point.
std::string rotoinversion_symbol(std::int32_t n, const RotationMatrix& rot, const Vector3& tr) {
    const Location centre = located(rot, tr);
    const Vector3 image = rotate(rot, tr);
    Vector3 t2{};
    for (int i = 0; i < 3; ++i) t2[i] = tr[i] + image[i];
    const Location axis = located(int_product(rot, rot), t2);
    // The sense of the rotation part: the opposite assignment to a rotation's.
    const float d = sense_determinant(axis, rot, tr);

    std::string symbol = std::to_string(n);
    symbol += d <= 0.0f ? '+' : '-';
    put(symbol, 5, location_text(axis) + ";");
    put(symbol, su::len_trim(symbol) + 2, location_text(centre));
    return symbol;
}

}  // namespace

void symmetry_symbol_str(const RotationMatrix& rot, const Vector3& tr, std::string& symbol) {
    const std::size_t width = symbol.size();
    const std::int32_t n = axes_rotation(rot);
    std::string text;
    if (n >= 2) {
        text = axis_symbol(n, rot, tr);
    } else if (n == 1) {
        const float sum = std::fabs(tr[0]) + std::fabs(tr[1]) + std::fabs(tr[2]);
        text = sum <= identity_tolerance ? "1" : "t (" + point_text(tr) + ")";
    } else if (n == -1) {
        text = inversion_symbol(tr);
    } else if (n == -2) {
        text = plane_symbol(rot, tr);
    } else if (n <= -3) {
        text = rotoinversion_symbol(n, rot, tr);
    }
    // n = 0: no crystallographic rotation, the symbol stays blank.
    symbol = su::fixed(text, width);
}

void symmetry_symbol_xyz(std::string_view op_text, std::string& symbol) {
    RotationMatrix rot{};
    Vector3 tr{};
    read_xsym(op_text, 1, rot, tr);
    symmetry_symbol_str(rot, tr, symbol);
}

void symmetry_symbol_op(const SymmetryOperator& op, std::string& symbol) {
    symmetry_symbol_str(op.rot, op.tr, symbol);
}

}  // namespace vorn_crystallographic_symmetry
