// Symmetry constraints on the anisotropic displacement coefficients
// b11, b22, b33, b12, b13, b23 (numbered 1..6), the exponent being
// -(b11.h^2 + ... + 2.b12.hk + ...).  A rotation R of the site symmetry maps
// beta to R.beta.R^T, so beta is invariant when beta = R.beta.R^T.
//
// The relations come first from four quick passes over the rows of the
// constraint matrix A (free, zero, proportional pairs); when their result
// does not solve A completely, A is solved exactly in rational arithmetic.
#include <cmath>
#include <cstdlib>
#include <numeric>

#include "maths/math_3D.hpp"
#include "symmetry/symmetry.hpp"
#include "text/fortran_int.hpp"

namespace vorn_crystallographic_symmetry {

namespace su = vorn_string_utilities;

namespace {

using Matrix6 = std::array<std::array<std::int32_t, 6>, 6>;
using Codes = std::array<std::int32_t, 6>;
using Factors = std::array<float, 6>;

constexpr std::string_view relations_wrong = "Symmetry relations in B Factors are wrong!";

// The pair of cell axes (0-based) of each coefficient.
constexpr int axis_pair[6][2] = {{0, 0}, {1, 1}, {2, 2}, {0, 1}, {0, 2}, {1, 2}};

// The matrix X with beta -> X^T.beta.X equivalent to beta -> R.beta.R^T
// under invariance: X = (R^-1)^T, the cofactor matrix over the determinant,
// integral for determinant +-1.  Any other rotation is used as it stands.
RotationMatrix coefficient_rotation(const RotationMatrix& r) {
    const std::int32_t det = vorn_math_3d::determ_a_i(r);
    if (det != 1 && det != -1) return r;
    RotationMatrix x{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            const std::int32_t cofactor =
                su::wrap_sub(su::wrap_mul(r[i1][j1], r[i2][j2]), su::wrap_mul(r[i1][j2], r[i2][j1]));
            x[i][j] = su::wrap_mul(cofactor, det);
        }
    return x;
}

// A = T - I, T writing beta -> X^T.beta.X on the six coefficients: row
// (a,b), column (i,j) holds X(i,a).X(j,b) + X(j,a).X(i,b), one term when i = j.
Matrix6 constraint_matrix(const RotationMatrix& x) {
    Matrix6 a{};
    for (int r = 0; r < 6; ++r) {
        const int pa = axis_pair[r][0], pb = axis_pair[r][1];
        for (int k = 0; k < 6; ++k) {
            const int i = axis_pair[k][0], j = axis_pair[k][1];
            std::int32_t t = su::wrap_mul(x[i][pa], x[j][pb]);
            if (i != j) t = su::wrap_add(t, su::wrap_mul(x[j][pa], x[i][pb]));
            a[r][k] = r == k ? su::wrap_sub(t, 1) : t;
        }
    }
    return a;
}

int nonzero_count(const Matrix6& a, int r) {
    int n = 0;
    for (int k = 0; k < 6; ++k) n += a[r][k] != 0;
    return n;
}

float quotient(std::int32_t numerator, std::int32_t denominator) {
    return static_cast<float>(su::wrap_neg(numerator)) / static_cast<float>(denominator);
}

// The quick derivation: free rows, free columns, single-entry rows (zero
// coefficients), then two-entry rows (proportional pairs, later rows
// overriding earlier ones).  Entries left -1 are undetermined.
void pass_relations(const Matrix6& a, Codes& codes, Factors& mult) {
    codes.fill(-1);
    mult.fill(0.0f);
    int count = 0;
    for (int r = 0; r < 6; ++r)
        if (nonzero_count(a, r) == 0) codes[r] = r + 1, mult[r] = 1.0f, ++count;
    for (int k = 0; k < 6; ++k) {
        bool zero_column = true;
        for (int r = 0; r < 6; ++r) zero_column = zero_column && a[r][k] == 0;
        if (zero_column && codes[k] == -1) codes[k] = k + 1, mult[k] = 1.0f, ++count;
    }
    if (count == 6) return;
    for (int r = 0; r < 6; ++r) {
        if (nonzero_count(a, r) != 1) continue;
        int k = 0;
        while (a[r][k] == 0) ++k;
        if (codes[k] == -1) codes[k] = k + 1, ++count;
    }
    if (count == 6) return;
    for (int r = 0; r < 6; ++r) {
        if (nonzero_count(a, r) != 2) continue;
        int j1 = 0;
        while (a[r][j1] == 0) ++j1;
        int j2 = j1 + 1;
        while (a[r][j2] == 0) ++j2;
        if (codes[j1] != -1) {
            codes[j2] = j1 + 1, mult[j2] = quotient(a[r][j1], a[r][j2]);
        } else if (codes[j2] == -1) {
            codes[j1] = j1 + 1, mult[j1] = 1.0f;
            codes[j2] = j1 + 1, mult[j2] = quotient(a[r][j1], a[r][j2]);
        } else {
            codes[j1] = j2 + 1, mult[j1] = quotient(a[r][j2], a[r][j1]);
        }
    }
}

// An exact fraction; any overflow of 64 bits marks the whole solve failed.
struct Fraction {
    std::int64_t num = 0, den = 1;
};

struct ExactSolver {
    bool overflow = false;

    std::int64_t checked_mul(std::int64_t a, std::int64_t b) {
        std::int64_t r = 0;
        overflow = overflow || __builtin_mul_overflow(a, b, &r);
        return r;
    }
    Fraction reduced(std::int64_t num, std::int64_t den) {
        if (den < 0) num = -num, den = -den;  // den never INT64_MIN: products are checked
        const std::int64_t g = std::gcd(num, den);
        return g > 1 ? Fraction{num / g, den / g} : Fraction{num, den};
    }
    Fraction minus(const Fraction& a, const Fraction& b) {
        std::int64_t r = 0;
        overflow = overflow ||
                   __builtin_sub_overflow(checked_mul(a.num, b.den), checked_mul(b.num, a.den), &r);
        return overflow ? Fraction{} : reduced(r, checked_mul(a.den, b.den));
    }
    Fraction times(const Fraction& a, const Fraction& b) {
        const std::int64_t n = checked_mul(a.num, b.num), d = checked_mul(a.den, b.den);
        return overflow ? Fraction{} : reduced(n, d);
    }
    Fraction over(const Fraction& a, const Fraction& b) {
        const std::int64_t n = checked_mul(a.num, b.den), d = checked_mul(a.den, b.num);
        return overflow ? Fraction{} : reduced(n, d);
    }
};

// Outcome of the exact solve of A.beta = 0.
struct ExactRelations {
    bool solved = false;        // every dependent coefficient tied to at most one free one
    bool overflow = false;
    int rank = 0;
    Codes codes{};
    Factors mult{};
};

// Reduced row echelon form with pivots taken from coefficient 6 down, so
// that the lowest-numbered coefficients stay free.
ExactRelations exact_relations(const Matrix6& a) {
    ExactSolver s;
    std::array<std::array<Fraction, 6>, 6> m{};
    for (int r = 0; r < 6; ++r)
        for (int k = 0; k < 6; ++k) m[r][k] = Fraction{a[r][k], 1};
    std::array<int, 6> pivot_row;
    pivot_row.fill(-1);
    int row = 0;
    for (int c = 5; c >= 0 && row < 6 && !s.overflow; --c) {
        int r = row;
        while (r < 6 && m[r][c].num == 0) ++r;
        if (r == 6) continue;
        std::swap(m[r], m[row]);
        const Fraction p = m[row][c];
        for (auto& e : m[row]) e = s.over(e, p);
        for (int o = 0; o < 6; ++o) {
            if (o == row || m[o][c].num == 0) continue;
            const Fraction f = m[o][c];
            for (int k = 0; k < 6; ++k) m[o][k] = s.minus(m[o][k], s.times(f, m[row][k]));
        }
        pivot_row[c] = row++;
    }
    ExactRelations out;
    out.overflow = s.overflow;
    out.rank = row;
    if (s.overflow) return out;
    out.solved = true;
    for (int k = 0; k < 6; ++k) {
        out.codes[k] = k + 1;
        out.mult[k] = pivot_row[k] < 0 ? 1.0f : 0.0f;
        if (pivot_row[k] < 0) continue;
        // b_k = -sum over the free coefficients j of m(row, j).b_j
        int terms = 0;
        for (int j = 0; j < 6; ++j) {
            const Fraction& e = m[pivot_row[k]][j];
            if (j == k || pivot_row[j] >= 0 || e.num == 0) continue;
            ++terms;
            out.codes[k] = j + 1;
            out.mult[k] = static_cast<float>(-static_cast<double>(e.num) / static_cast<double>(e.den));
        }
        out.solved = out.solved && terms <= 1;
    }
    return out;
}

// The pass result stands when it determines every coefficient, each chain of
// relations ends at a free or zero coefficient, the free coefficients number
// 6 - rank(A), and every invariant set it describes satisfies A.
bool solves(const Matrix6& a, int rank, const Codes& codes, const Factors& mult) {
    std::array<std::array<double, 6>, 6> basis{};  // basis[f][k]: b_k per unit of free b_f
    int free_count = 0;
    for (int k = 0; k < 6; ++k) {
        if (codes[k] < 1 || codes[k] > 6) return false;
        double factor = 1.0;
        int at = k, steps = 0;
        while (codes[at] != at + 1) {
            factor *= mult[at];
            at = codes[at] - 1;
            if (++steps > 6 || codes[at] < 1 || codes[at] > 6) return false;
        }
        basis[at][k] = factor * mult[at];
        free_count += (at == k && mult[k] == 1.0f);
    }
    if (free_count != 6 - rank) return false;
    for (int f = 0; f < 6; ++f)
        for (int r = 0; r < 6; ++r) {
            double sum = 0.0;
            for (int k = 0; k < 6; ++k) sum += a[r][k] * basis[f][k];
            if (std::fabs(sum) > 1.0e-4) return false;
        }
    return true;
}

}  // namespace

void sym_b_relations_op(const RotationMatrix& rot, std::array<std::int32_t, 6>& b_codes,
                        std::array<float, 6>& b_mult) {
    init_err_symm();
    const Matrix6 a = constraint_matrix(coefficient_rotation(rot));
    pass_relations(a, b_codes, b_mult);
    const ExactRelations exact = exact_relations(a);
    if (!exact.overflow && solves(a, exact.rank, b_codes, b_mult)) return;
    if (exact.solved) {
        b_codes = exact.codes;
        b_mult = exact.mult;
        return;
    }
    set_err_symm(relations_wrong);
}

void sym_b_relations_st(std::string_view op_text, std::array<std::int32_t, 6>& b_codes,
                        std::array<float, 6>& b_mult) {
    RotationMatrix rot{};
    Vector3 tr{};
    read_xsym(op_text, 1, rot, tr);
    const bool read_fault = err_symm;
    const std::string read_message = err_symm_mess;
    sym_b_relations_op(rot, b_codes, b_mult);
    // The reading fault is the one the caller must see.
    if (read_fault) {
        init_err_symm();
        set_err_symm(read_message);
    }
}

}  // namespace vorn_crystallographic_symmetry
