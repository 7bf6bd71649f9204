// Exact case analysis of small linear systems with integer coefficients and
// real right-hand sides, as they arise from W - I of a symmetry operator: the
// answer is a particular solution plus, for each unknown, the free parameter
// it depends on, so that fixed points on lines and planes come out in
// parametric form.
#include <cmath>
#include <cstdlib>
#include <utility>

#include "maths/math_3D.hpp"
#include "text/fortran_int.hpp"

namespace vorn_math_3d {

namespace {

namespace fi = vorn_string_utilities;

inline float f32(double x) { return static_cast<float>(x); }

// Every solver starts from: all unknowns fixed at 0, coefficient 1.
template <std::size_t N>
void initialise(std::array<float, N>& part_sol, std::array<float, N>& free_coef,
                std::array<std::int32_t, N>& free_code) {
    part_sol.fill(0.0f);
    free_coef.fill(1.0f);
    free_code.fill(0);
    init_err_math3d();
}

// Unknown j free in its own right.
inline void set_free(Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code, int j) {
    at1(part_sol, j) = 0.0f;
    at1(free_coef, j) = 1.0f;
    at1(free_code, j) = j;
}

// Unknown j fixed at value.
inline void set_fixed(Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code, int j, double value) {
    at1(part_sol, j) = f32(value);
    at1(free_coef, j) = 0.0f;
    at1(free_code, j) = 0;
}

// Unknown j = c0 + c1·p1.
inline void set_on_p1(Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code, int j, double c0, double c1) {
    at1(part_sol, j) = f32(c0);
    at1(free_coef, j) = f32(c1);
    at1(free_code, j) = 1;
}

// a1·x + a2·y = t.  The coefficients are the integers of the public solver,
// or the real elimination coefficients formed inside resolv_sist_2x3.
template <class C>
void solve_1x2(C a1, C a2, double t, Vec2f& part_sol, Vec2f& free_coef, Vec2i& free_code) {
    initialise(part_sol, free_coef, free_code);
    const double d1 = static_cast<double>(a1), d2 = static_cast<double>(a2);
    if (a1 != C{} && a2 != C{}) {
        part_sol = {0.0f, f32(t / d2)};
        free_coef = {1.0f, f32(-d1 / d2)};
        free_code = {1, 1};
    } else if (a1 != C{}) {
        part_sol = {f32(t / d1), 0.0f};
        free_coef = {0.0f, 1.0f};
        free_code = {0, 2};
    } else if (a2 != C{}) {
        part_sol = {0.0f, f32(t / d2)};
        free_coef = {1.0f, 0.0f};
        free_code = {1, 0};
    } else if (std::fabs(t) < eps) {
        free_code = {1, 2};
    } else {
        err_math3d = true;
        err_math3d_mess = "Inconsistent solution (1x2)";
    }
}

// Copy a two-unknown solution into unknowns u < v of a three-unknown one:
// code 1 becomes u, code 2 becomes v, 0 stays 0.
void place_pair(const Vec2f& ps, const Vec2f& fc, const Vec2i& code, int u, int v,
                Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code) {
    auto translate = [&](std::int32_t k) { return k == 1 ? u : (k == 2 ? v : 0); };
    at1(part_sol, u) = ps[0];
    at1(part_sol, v) = ps[1];
    at1(free_coef, u) = fc[0];
    at1(free_coef, v) = fc[1];
    at1(free_code, u) = translate(code[0]);
    at1(free_code, v) = translate(code[1]);
}

// The two unknowns other than j, in increasing order.
void other_pair(int j, int& u, int& v) {
    u = (j == 1) ? 2 : 1;
    v = (j == 3) ? 2 : 3;
}

int zero_count(const Vec3i& w) {
    return (w[0] == 0 ? 1 : 0) + (w[1] == 0 ? 1 : 0) + (w[2] == 0 ? 1 : 0);
}

// Two non-zero equations with proportional coefficients: every 2x2 minor of
// the pair vanishes, the products formed in 64 bits so that none wraps.
bool proportional(const Vec3i& a, const Vec3i& b) {
    auto minor = [&](std::size_t i, std::size_t j) {
        return static_cast<std::int64_t>(a[i]) * b[j] - static_cast<std::int64_t>(a[j]) * b[i];
    };
    return minor(0, 1) == 0 && minor(0, 2) == 0 && minor(1, 2) == 0;
}

// Truncated integer quotient; m / -1 is formed as a wrapped negation so that
// INT32_MIN / -1 keeps its 32-bit value instead of trapping.
std::int32_t int_quotient(std::int32_t m, std::int32_t n) {
    if (n == -1) return fi::wrap_neg(m);
    return m / n;
}

}  // namespace

void resolv_sist_1x2(const Vec2i& coef, float rhs, Vec2f& part_sol, Vec2f& free_coef, Vec2i& free_code) {
    solve_1x2(coef[0], coef[1], rhs, part_sol, free_coef, free_code);
}

void resolv_sist_1x3(const Vec3i& coef, float rhs, Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code) {
    initialise(part_sol, free_coef, free_code);
    const int zeros = zero_count(coef);
    if (zeros == 0) {
        err_math3d = true;
        err_math3d_mess = "Inconsistent case ax+by+cz=t (1x3)";
    } else if (zeros == 1) {
        int j = coef[0] == 0 ? 1 : (coef[1] == 0 ? 2 : 3);
        int u, v;
        other_pair(j, u, v);
        Vec2f ps, fc;
        Vec2i cd;
        solve_1x2(at1(coef, u), at1(coef, v), rhs, ps, fc, cd);
        place_pair(ps, fc, cd, u, v, part_sol, free_coef, free_code);
        set_free(part_sol, free_coef, free_code, j);
    } else if (zeros == 2) {
        for (int j = 1; j <= 3; ++j) {
            if (at1(coef, j) != 0)
                set_fixed(part_sol, free_coef, free_code, j, static_cast<double>(rhs) / at1(coef, j));
            else
                set_free(part_sol, free_coef, free_code, j);
        }
    } else if (std::fabs(rhs) < eps) {
        free_code = {1, 2, 3};
    } else {
        err_math3d = true;
        err_math3d_mess = "Inconsistent solution (1 x 3)";
    }
}

void resolv_sist_2x2(const Mat2i& coef, const Vec2f& rhs, Vec2f& part_sol, Vec2f& free_coef, Vec2i& free_code) {
    initialise(part_sol, free_coef, free_code);
    const std::int32_t w11 = coef[0][0], w12 = coef[0][1], w21 = coef[1][0], w22 = coef[1][1];
    const double t1 = rhs[0], t2 = rhs[1];
    const std::int32_t det = fi::wrap_sub(fi::wrap_mul(w11, w22), fi::wrap_mul(w12, w21));
    if (det != 0) {
        part_sol = {f32((t1 * w22 - t2 * w12) / det), f32((t2 * w11 - t1 * w21) / det)};
        free_coef = {0.0f, 0.0f};
        free_code = {0, 0};
        return;
    }
    const bool zero_row1 = (w11 == 0 && w12 == 0), zero_row2 = (w21 == 0 && w22 == 0);
    if (zero_row1 && zero_row2) {
        if (std::fabs(t1) <= eps && std::fabs(t2) <= eps) {
            free_code = {1, 2};
        } else {
            err_math3d = true;
            err_math3d_mess = "Inconsistent solution (2x2)";
        }
        return;
    }
    if (zero_row1) {
        solve_1x2(w21, w22, t2, part_sol, free_coef, free_code);
        return;
    }
    if (zero_row2) {
        solve_1x2(w11, w12, t1, part_sol, free_coef, free_code);
        return;
    }
    const bool zero_col1 = (w11 == 0 && w21 == 0), zero_col2 = (w12 == 0 && w22 == 0);
    if (!zero_col1 && !zero_col2) {
        // proportional equations: the first one stands for both
        solve_1x2(w11, w12, t1, part_sol, free_coef, free_code);
        return;
    }
    const int k = zero_col1 ? 2 : 1;  // the unknown with the non-zero column
    const int other = 3 - k;
    const std::int32_t first = coef[0][k - 1], second = coef[1][k - 1];
    at1(part_sol, k) = first != 0 ? f32(t1 / first) : f32(t2 / second);
    at1(free_coef, k) = 0.0f;
    at1(free_code, k) = 0;
    at1(part_sol, other) = 0.0f;
    at1(free_coef, other) = 1.0f;
    at1(free_code, other) = other;
}

// Two equations in x, y, z.  Where the elimination divides one coefficient by
// another, the quotient is the real one: a truncated integer quotient would
// give silently wrong solutions for general integer systems, and the two agree
// whenever the division is exact, as for every W - I of a crystallographic
// rotation.
void resolv_sist_2x3(const Mat23i& coef, const Vec2f& rhs, Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code) {
    initialise(part_sol, free_coef, free_code);
    auto w = [&](int i, int j) { return at1(coef, i, j); };

    // 1. zero columns
    int zero_columns = 0, zero_column = 0, live_column = 0;
    for (int j = 1; j <= 3; ++j) {
        if (w(1, j) == 0 && w(2, j) == 0) {
            ++zero_columns;
            zero_column = j;
        } else {
            live_column = j;
        }
    }
    if (zero_columns == 1) {
        int u, v;
        other_pair(zero_column, u, v);
        Mat2i sub{{{w(1, u), w(1, v)}, {w(2, u), w(2, v)}}};
        Vec2f ps, fc;
        Vec2i cd;
        resolv_sist_2x2(sub, rhs, ps, fc, cd);
        place_pair(ps, fc, cd, u, v, part_sol, free_coef, free_code);
        set_free(part_sol, free_coef, free_code, zero_column);
        return;
    }
    if (zero_columns == 2) {
        const int k = live_column;
        const double value = w(1, k) != 0 ? static_cast<double>(rhs[0]) / w(1, k)
                                          : static_cast<double>(rhs[1]) / w(2, k);
        for (int j = 1; j <= 3; ++j) {
            if (j == k)
                set_fixed(part_sol, free_coef, free_code, j, value);
            else
                set_free(part_sol, free_coef, free_code, j);
        }
        return;
    }
    if (zero_columns == 3) {
        if (std::fabs(rhs[0]) <= eps && std::fabs(rhs[1]) <= eps) {
            free_code = {1, 2, 3};
        } else {
            err_math3d = true;
            err_math3d_mess = "Inconsistent solution in (2x3)";
        }
        return;
    }

    // 2. one zero row: the other equation alone
    Vec3i eq_a = coef[0], eq_b = coef[1];
    double ta = rhs[0], tb = rhs[1];
    if (zero_count(eq_a) == 3) {
        resolv_sist_1x3(eq_b, rhs[1], part_sol, free_coef, free_code);
        return;
    }
    if (zero_count(eq_b) == 3) {
        resolv_sist_1x3(eq_a, rhs[0], part_sol, free_coef, free_code);
        return;
    }

    // 3. A is the equation with more zeros
    if (zero_count(eq_b) > zero_count(eq_a)) {
        std::swap(eq_a, eq_b);
        std::swap(ta, tb);
    }
    const int zeros_a = zero_count(eq_a);
    if (zeros_a == 0) {
        resolv_sist_1x3(eq_a, f32(ta), part_sol, free_coef, free_code);
        return;
    }
    const std::int32_t A1 = eq_a[0], A2 = eq_a[1], A3 = eq_a[2];
    const std::int32_t B1 = eq_b[0], B2 = eq_b[1], B3 = eq_b[2];
    const double a1 = A1, a2 = A2, a3 = A3, b1 = B1, b2 = B2, b3 = B3;
    Vec2f ps, fc;
    Vec2i cd;

    if (zeros_a == 2) {
        const int j = A1 != 0 ? 1 : (A2 != 0 ? 2 : 3);
        set_fixed(part_sol, free_coef, free_code, j, ta / at1(eq_a, j));
        int u, v;
        other_pair(j, u, v);
        const double r = f32(tb - static_cast<double>(at1(part_sol, j)) * at1(eq_b, j));
        solve_1x2(at1(eq_b, u), at1(eq_b, v), r, ps, fc, cd);
        place_pair(ps, fc, cd, u, v, part_sol, free_coef, free_code);
        return;
    }

    // A has exactly one zero; B has one zero elsewhere or none.
    auto fixed = [&](int j) { return at1(free_code, j) == 0; };
    auto ps_of = [&](int j) { return static_cast<double>(at1(part_sol, j)); };
    auto solve_pair = [&](double c1, double c2, double r, int u, int v) {
        solve_1x2(c1, c2, r, ps, fc, cd);
        place_pair(ps, fc, cd, u, v, part_sol, free_coef, free_code);
    };

    if (A3 == 0 && B1 == 0) {  // 1
        const double c1 = a1 / a2, c2 = -(b3 / b2), r = f32(ta / a2 - tb / b2);
        solve_pair(c1, c2, r, 1, 3);
        if (fixed(1)) set_fixed(part_sol, free_coef, free_code, 2, ta / a2 - ps_of(1) * a1 / a2);
        else if (fixed(3)) set_fixed(part_sol, free_coef, free_code, 2, tb / b2 - ps_of(3) * b3 / b2);
        else {
            set_on_p1(part_sol, free_coef, free_code, 2, ta / a2, -(a1 / a2));
            set_on_p1(part_sol, free_coef, free_code, 3, r / c2, -(c1 / c2));
        }
    } else if (A3 == 0 && B2 == 0) {  // 2
        const double c1 = a2 / a1, c2 = -(b3 / b1), r = f32(ta / a1 - tb / b1);
        solve_pair(c1, c2, r, 2, 3);
        if (fixed(2)) set_fixed(part_sol, free_coef, free_code, 1, ta / a1 - ps_of(2) * a2 / a1);
        else if (fixed(3)) set_fixed(part_sol, free_coef, free_code, 1, tb / b1 - ps_of(3) * b3 / b1);
        else {
            set_free(part_sol, free_coef, free_code, 1);
            set_on_p1(part_sol, free_coef, free_code, 2, ta / a2, -(a1 / a2));
            set_on_p1(part_sol, free_coef, free_code, 3, tb / b3, -(b1 / b3));
        }
    } else if (A1 == 0 && B3 == 0) {  // 3
        const double c1 = -(b1 / b2), c2 = a3 / a2, r = f32(ta / a2 - tb / b2);
        solve_pair(c1, c2, r, 1, 3);
        if (fixed(1)) set_fixed(part_sol, free_coef, free_code, 2, tb / b2 - ps_of(1) * b1 / b2);
        else if (fixed(3)) set_fixed(part_sol, free_coef, free_code, 2, ta / a2 - ps_of(3) * a3 / a2);
        else {
            set_on_p1(part_sol, free_coef, free_code, 2, tb / b2, -(b1 / b2));
            set_on_p1(part_sol, free_coef, free_code, 3, r / c2, -(c1 / c2));
        }
    } else if (A1 == 0 && B2 == 0) {  // 4
        const double c1 = -(b1 / b3), c2 = a2 / a3, r = f32(ta / a3 - tb / b3);
        solve_pair(c1, c2, r, 1, 2);
        if (fixed(1)) set_fixed(part_sol, free_coef, free_code, 3, tb / b3 - ps_of(1) * b1 / b3);
        else if (fixed(2)) set_fixed(part_sol, free_coef, free_code, 3, ta / a3 - ps_of(2) * a2 / a3);
        else {
            set_on_p1(part_sol, free_coef, free_code, 3, tb / b3, -(b1 / b3));
            set_on_p1(part_sol, free_coef, free_code, 2, r / c2, -(c1 / c2));
        }
    } else if (A2 == 0 && B3 == 0) {  // 5
        const double c1 = -(b2 / b1), c2 = a3 / a1, r = f32(ta / a1 - tb / b1);
        solve_pair(c1, c2, r, 2, 3);
        if (fixed(2)) set_fixed(part_sol, free_coef, free_code, 1, tb / b1 - ps_of(2) * b2 / b1);
        else if (fixed(3)) set_fixed(part_sol, free_coef, free_code, 1, ta / a1 - ps_of(3) * a3 / a1);
        else {
            set_free(part_sol, free_coef, free_code, 1);
            set_on_p1(part_sol, free_coef, free_code, 2, tb / b2, -(b1 / b2));
            set_on_p1(part_sol, free_coef, free_code, 3, ta / a3, -(a1 / a3));
        }
    } else if (A2 == 0 && B1 == 0) {  // 6
        const double c1 = a1 / a3, c2 = -(b2 / b3), r = f32(ta / a3 - tb / b3);
        solve_pair(c1, c2, r, 1, 2);
        if (fixed(1)) set_fixed(part_sol, free_coef, free_code, 3, ta / a3 - ps_of(1) * a1 / a3);
        else if (fixed(2)) set_fixed(part_sol, free_coef, free_code, 3, tb / b3 - ps_of(2) * b2 / b3);
        else {
            set_on_p1(part_sol, free_coef, free_code, 3, ta / a3, -(a1 / a3));
            set_on_p1(part_sol, free_coef, free_code, 2, r / c2, -(c1 / c2));
        }
    } else if (A2 == 0) {  // 7: B without zero
        const double a1b3 = fi::wrap_mul(A1, B3);
        const double c1 = b1 - a1b3 / a3, r = f32(tb - ta * b3 / a3);
        solve_pair(c1, b2, r, 1, 2);
        if (fixed(1)) set_fixed(part_sol, free_coef, free_code, 3, ta / a3 - ps_of(1) * a1 / a3);
        else {
            set_free(part_sol, free_coef, free_code, 1);
            set_on_p1(part_sol, free_coef, free_code, 2, r / b2, (a1b3 / a3 - b1) / b2);
            set_on_p1(part_sol, free_coef, free_code, 3, ta / a3, -(a1 / a3));
        }
    } else if (A1 == 0) {  // 8: B without zero
        const double b3a2 = fi::wrap_mul(B3, A2);
        const double d = b2 - b3a2 / a3, r = f32(tb - ta * b3 / a3);
        solve_pair(b1, d, r, 1, 2);
        if (fixed(2)) {
            set_fixed(part_sol, free_coef, free_code, 3, ta / a3 - ps_of(2) * a2 / a3);
        } else if (d == 0.0) {
            // x is fixed and y free in its own right: z follows y through A
            set_on_p1(part_sol, free_coef, free_code, 3, ta / a3, -(a2 / a3));
            at1(free_code, 3) = 2;
        } else {
            set_free(part_sol, free_coef, free_code, 1);
            set_on_p1(part_sol, free_coef, free_code, 2, r / d, -(b1 / d));
            const double y0 = at1(part_sol, 2), y1 = at1(free_coef, 2);
            set_on_p1(part_sol, free_coef, free_code, 3, ta / a3 - (a2 / a3) * y0, -(a2 / a3) * y1);
        }
    } else {  // 9: A3 == 0, B without zero
        const double a1b2 = fi::wrap_mul(A1, B2);
        const double c1 = b1 - a1b2 / a2, r = f32(tb - ta * b2 / a2);
        solve_pair(c1, b3, r, 1, 3);
        if (fixed(1)) set_fixed(part_sol, free_coef, free_code, 2, ta / a2 - ps_of(1) * a1 / a2);
        else {
            set_free(part_sol, free_coef, free_code, 1);
            set_on_p1(part_sol, free_coef, free_code, 2, ta / a2, -(a1 / a2));
            set_on_p1(part_sol, free_coef, free_code, 3, r / b3, (a1b2 / a2 - b1) / b3);
        }
    }
}

// Three equations: Cramer's rule when the integer determinant is non-zero;
// otherwise zero equations are dropped and proportional ones merged, and the
// rest goes to the smaller solvers.
void resolv_sist_3x3(const Mat3i& coef, const Vec3f& rhs, Vec3f& part_sol, Vec3f& free_coef, Vec3i& free_code) {
    initialise(part_sol, free_coef, free_code);
    const std::int32_t det = determ_a_i(coef);
    if (det != 0) {
        for (int j = 1; j <= 3; ++j) {
            Mat3f m{};
            for (int i = 1; i <= 3; ++i)
                for (int k = 1; k <= 3; ++k)
                    at1(m, i, k) = (k == j) ? at1(rhs, i) : static_cast<float>(at1(coef, i, k));
            at1(part_sol, j) = f32(static_cast<double>(determ_a_r(m)) / det);
        }
        free_coef = {0.0f, 0.0f, 0.0f};
        free_code = {0, 0, 0};
        return;
    }

    int zero_rows = 0;
    for (int i = 0; i < 3; ++i) zero_rows += zero_count(coef[static_cast<std::size_t>(i)]) == 3 ? 1 : 0;
    if (zero_rows == 1) {
        Mat23i two{};
        Vec2f t2{};
        int n = 0;
        for (int i = 0; i < 3; ++i) {
            if (zero_count(coef[static_cast<std::size_t>(i)]) == 3) continue;
            two[static_cast<std::size_t>(n)] = coef[static_cast<std::size_t>(i)];
            t2[static_cast<std::size_t>(n)] = rhs[static_cast<std::size_t>(i)];
            ++n;
        }
        resolv_sist_2x3(two, t2, part_sol, free_coef, free_code);
        return;
    }
    if (zero_rows == 2) {
        for (int i = 0; i < 3; ++i) {
            if (zero_count(coef[static_cast<std::size_t>(i)]) == 3) continue;
            resolv_sist_1x3(coef[static_cast<std::size_t>(i)], rhs[static_cast<std::size_t>(i)], part_sol,
                            free_coef, free_code);
            return;
        }
    }
    if (zero_rows == 3) {
        if (std::fabs(rhs[0]) < eps && std::fabs(rhs[1]) < eps && std::fabs(rhs[2]) < eps) {
            free_code = {1, 2, 3};
        } else {
            err_math3d = true;
            err_math3d_mess = "Inconsistent system (3 x 3)";
        }
        return;
    }

    // A singular system of three non-zero equations: make proportional
    // equations equal, pair by pair, each on the equations as left before.
    // An equation that is a whole multiple of the other is found by the
    // quotient of one column; a rational multiple (3x = 3 against -2x = -2)
    // by its vanishing cross products, and there too the equation with the
    // larger leading coefficient gives way, so that no equation of a
    // consistent system is lost.
    Mat3i w = coef;
    Vec3f t = rhs;
    const int pairs[3][2] = {{0, 1}, {0, 2}, {1, 2}};
    for (const auto& pair : pairs) {
        const std::size_t r = static_cast<std::size_t>(pair[0]), s = static_cast<std::size_t>(pair[1]);
        // The equation with the larger entry in column j (s on equal
        // magnitudes), then the other; the larger gives way to the other.
        const auto by_entry = [&](std::size_t j) {
            return std::llabs(w[s][j]) >= std::llabs(w[r][j]) ? std::pair{s, r} : std::pair{r, s};
        };
        const auto give_way = [&](std::size_t big, std::size_t small) {
            w[big] = w[small];
            t[big] = t[small];
        };
        bool settled = false;
        for (std::size_t j = 0; j < 3 && !settled; ++j) {
            const auto [big, small] = by_entry(j);
            const std::int32_t divisor = w[small][j];
            if (divisor == 0) continue;
            const std::int32_t m = int_quotient(w[big][j], divisor);
            if (m == 0) continue;
            bool multiple = true;
            for (std::size_t k = 0; k < 3; ++k)
                if (w[big][k] != fi::wrap_mul(m, w[small][k])) multiple = false;
            if (!multiple) continue;
            give_way(big, small);
            settled = true;
        }
        if (settled || !proportional(w[r], w[s])) continue;
        std::size_t lead = 0;
        while (w[r][lead] == 0) ++lead;
        const auto [big, small] = by_entry(lead);
        give_way(big, small);
    }
    Mat23i two{};
    Vec2f t2{};
    if (w[0] == w[1] && w[1] == w[2]) {
        resolv_sist_1x3(w[0], t[0], part_sol, free_coef, free_code);
        return;
    }
    if (w[0] == w[1]) {
        two = {w[1], w[2]};
        t2 = {t[1], t[2]};
    } else {
        two = {w[0], w[1]};
        t2 = {t[0], t[1]};
    }
    resolv_sist_2x3(two, t2, part_sol, free_coef, free_code);
}

}  // namespace vorn_math_3d
