// Singular value decomposition (Golub-Reinsch: Householder bidiagonalisation,
// accumulation of both transformations, implicitly shifted QR sweeps), the
// numerical rank from the singular values, and the tests whether a vector is
// linearly dependent on the rows or columns of a matrix.
#include <algorithm>
#include <cmath>
#include <limits>

#include "maths/math_gen.hpp"

namespace vorn_math_general {

namespace {

constexpr std::int32_t max_passes = 500;

template <class T>
T sign_of(T x, T y) { return std::copysign(std::fabs(x), y); }

double hypot_of(double a, double b) { return pythag_dp(a, b); }
float hypot_of(float a, float b) { return pythag_sp(a, b); }

template <class T>
void golub_reinsch(Matrix<T>& a, std::span<T> w, Matrix<T>& v, const char* dimension_message,
                   const char* convergence_message) {
    init_err_mathgen();
    const std::int32_t m = a.rows;
    const std::int32_t n = a.cols;
    if (v.rows != n || v.cols != n || w.size() != static_cast<std::size_t>(n)) {
        err_mathgen = true;
        err_mathgen_mess = dimension_message;
        return;
    }
    const T tiny = std::numeric_limits<T>::min();
    std::vector<T> e(static_cast<std::size_t>(n) + 1, T(0));        // superdiagonal, 1-based
    std::vector<T> tn(static_cast<std::size_t>(n) + 1, T(0));       // scratch of n
    std::vector<T> tm(static_cast<std::size_t>(m) + 1, T(0));       // scratch of m
    auto W = [&](std::int32_t i) -> T& { return w[static_cast<std::size_t>(i - 1)]; };
    auto A = [&](std::int32_t i, std::int32_t j) -> T& { return a.at1(i, j); };
    auto V = [&](std::int32_t i, std::int32_t j) -> T& { return v.at1(i, j); };

    // Householder reduction to upper bidiagonal form.
    T g = 0, scale = 0;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t l = i + 1;
        e[static_cast<std::size_t>(i)] = scale * g;
        g = 0;
        scale = 0;
        if (i <= m) {
            for (std::int32_t k = i; k <= m; ++k) scale += std::fabs(A(k, i));
            if (std::fabs(scale) > tiny) {
                T s = 0;
                for (std::int32_t k = i; k <= m; ++k) {
                    A(k, i) /= scale;
                    s += A(k, i) * A(k, i);
                }
                const T f = A(i, i);
                g = -sign_of(std::sqrt(s), f);
                const T h = f * g - s;
                A(i, i) = f - g;
                for (std::int32_t c = l; c <= n; ++c) {
                    T sum = 0;
                    for (std::int32_t k = i; k <= m; ++k) sum += A(k, i) * A(k, c);
                    tn[static_cast<std::size_t>(c)] = sum / h;
                }
                for (std::int32_t k = i; k <= m; ++k)
                    for (std::int32_t c = l; c <= n; ++c) A(k, c) += A(k, i) * tn[static_cast<std::size_t>(c)];
                for (std::int32_t k = i; k <= m; ++k) A(k, i) *= scale;
            }
        }
        W(i) = scale * g;
        g = 0;
        scale = 0;
        if (i <= m && i != n) {
            for (std::int32_t k = l; k <= n; ++k) scale += std::fabs(A(i, k));
            if (std::fabs(scale) > tiny) {
                T s = 0;
                for (std::int32_t k = l; k <= n; ++k) {
                    A(i, k) /= scale;
                    s += A(i, k) * A(i, k);
                }
                const T f = A(i, l);
                g = -sign_of(std::sqrt(s), f);
                const T h = f * g - s;
                A(i, l) = f - g;
                for (std::int32_t k = l; k <= n; ++k) e[static_cast<std::size_t>(k)] = A(i, k) / h;
                for (std::int32_t r = l; r <= m; ++r) {
                    T sum = 0;
                    for (std::int32_t k = l; k <= n; ++k) sum += A(r, k) * A(i, k);
                    tm[static_cast<std::size_t>(r)] = sum;
                }
                for (std::int32_t r = l; r <= m; ++r)
                    for (std::int32_t k = l; k <= n; ++k)
                        A(r, k) += tm[static_cast<std::size_t>(r)] * e[static_cast<std::size_t>(k)];
                for (std::int32_t k = l; k <= n; ++k) A(i, k) *= scale;
            }
        }
    }
    T anorm = 0;
    for (std::int32_t i = 1; i <= n; ++i) anorm = std::max(anorm, std::fabs(W(i)) + std::fabs(e[static_cast<std::size_t>(i)]));

    // Right-hand transformations into v.
    std::int32_t l = n + 1;
    for (std::int32_t i = n; i >= 1; --i) {
        if (i < n) {
            if (std::fabs(g) > tiny) {
                for (std::int32_t k = l; k <= n; ++k) V(k, i) = (A(i, k) / A(i, l)) / g;
                for (std::int32_t c = l; c <= n; ++c) {
                    T sum = 0;
                    for (std::int32_t k = l; k <= n; ++k) sum += A(i, k) * V(k, c);
                    tn[static_cast<std::size_t>(c)] = sum;
                }
                for (std::int32_t r = l; r <= n; ++r)
                    for (std::int32_t c = l; c <= n; ++c) V(r, c) += V(r, i) * tn[static_cast<std::size_t>(c)];
            }
            for (std::int32_t k = l; k <= n; ++k) {
                V(i, k) = 0;
                V(k, i) = 0;
            }
        }
        V(i, i) = 1;
        g = e[static_cast<std::size_t>(i)];
        l = i;
    }

    // Left-hand transformations into a.
    for (std::int32_t i = std::min(m, n); i >= 1; --i) {
        l = i + 1;
        g = W(i);
        for (std::int32_t k = l; k <= n; ++k) A(i, k) = 0;
        if (std::fabs(g) > tiny) {
            g = 1 / g;
            for (std::int32_t c = l; c <= n; ++c) {
                T sum = 0;
                for (std::int32_t k = l; k <= m; ++k) sum += A(k, i) * A(k, c);
                tn[static_cast<std::size_t>(c)] = (sum / A(i, i)) * g;
            }
            for (std::int32_t r = i; r <= m; ++r)
                for (std::int32_t c = l; c <= n; ++c) A(r, c) += A(r, i) * tn[static_cast<std::size_t>(c)];
            for (std::int32_t r = i; r <= m; ++r) A(r, i) *= g;
        } else {
            for (std::int32_t r = i; r <= m; ++r) A(r, i) = 0;
        }
        A(i, i) += 1;
    }

    // Diagonalisation of the bidiagonal form.
    auto E = [&](std::int32_t i) -> T& { return e[static_cast<std::size_t>(i)]; };
    for (std::int32_t k = n; k >= 1; --k) {
        for (std::int32_t pass = 1;; ++pass) {
            std::int32_t nm = 0;
            for (l = k; l >= 1; --l) {
                nm = l - 1;
                if (std::fabs(E(l)) + anorm == anorm) break;
                // e(1) is zero, but a NaN must not send the search to w(0).
                if (l == 1) break;
                if (std::fabs(W(nm)) + anorm == anorm) {
                    T c = 0, s = 1;
                    for (std::int32_t i = l; i <= k; ++i) {
                        const T f = s * E(i);
                        E(i) = c * E(i);
                        if (std::fabs(f) + anorm == anorm) break;
                        g = W(i);
                        T h = hypot_of(f, g);
                        W(i) = h;
                        h = 1 / h;
                        c = g * h;
                        s = -f * h;
                        for (std::int32_t r = 1; r <= m; ++r) {
                            const T y = A(r, nm);
                            const T z = A(r, i);
                            A(r, nm) = y * c + z * s;
                            A(r, i) = -y * s + z * c;
                        }
                    }
                    break;
                }
            }
            T z = W(k);
            if (l == k) {
                if (z < 0) {
                    W(k) = -z;
                    for (std::int32_t r = 1; r <= n; ++r) V(r, k) = -V(r, k);
                }
                break;
            }
            if (pass == max_passes) {
                err_mathgen = true;
                err_mathgen_mess = convergence_message;
                return;
            }
            T x = W(l);
            nm = k - 1;
            T y = W(nm);
            g = E(nm);
            T h = E(k);
            T f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2 * h * y);
            g = hypot_of(f, T(1));
            f = ((x - z) * (x + z) + h * ((y / (f + sign_of(g, f))) - h)) / x;
            T c = 1, s = 1;
            for (std::int32_t j = l; j <= nm; ++j) {
                const std::int32_t i = j + 1;
                g = E(i);
                y = W(i);
                h = s * g;
                g = c * g;
                z = hypot_of(f, h);
                E(j) = z;
                c = f / z;
                s = h / z;
                f = (x * c) + (g * s);
                g = -(x * s) + (g * c);
                h = y * s;
                y = y * c;
                for (std::int32_t r = 1; r <= n; ++r) {
                    const T vj = V(r, j);
                    const T vi = V(r, i);
                    V(r, j) = vj * c + vi * s;
                    V(r, i) = -vj * s + vi * c;
                }
                z = hypot_of(f, h);
                W(j) = z;
                if (std::fabs(z) > tiny) {
                    z = 1 / z;
                    c = f * z;
                    s = h * z;
                }
                f = (c * g) + (s * y);
                x = -(s * g) + (c * y);
                for (std::int32_t r = 1; r <= m; ++r) {
                    const T aj = A(r, j);
                    const T ai = A(r, i);
                    A(r, j) = aj * c + ai * s;
                    A(r, i) = -aj * s + ai * c;
                }
            }
            E(l) = 0;
            E(k) = f;
            W(k) = x;
        }
    }
}

template <class T>
void rank_by_svd(MatrixView<T> a, T tol, std::int32_t& rank, const char* dimension_message,
                 const char* convergence_message) {
    Matrix<T> work(a.rows, a.cols);
    std::copy(a.data, a.data + a.size(), work.data.begin());
    std::vector<T> w(static_cast<std::size_t>(a.cols));
    Matrix<T> v(a.cols, a.cols);
    golub_reinsch(work, std::span<T>(w), v, dimension_message, convergence_message);
    rank = 0;
    if (err_mathgen) return;
    for (T x : w)
        if (x > tol) ++rank;
}

// Shared frame of the linear-dependence tests: checks the sizes, picks the
// row or column case and decides from the rank of the work matrix that
// `fill` builds.  `factor` is 2 for the complex member (each entry a 2x2
// real pattern), 1 otherwise.
template <class Fill>
void dependence_test(std::int32_t na, std::size_t vector_size, std::int32_t mb, std::int32_t nb, std::int32_t matrix_rows,
                     std::int32_t matrix_cols, std::int32_t factor, bool& dependent, const std::string& name,
                     Fill fill) {
    init_err_mathgen();
    dependent = true;
    if (mb < 0 || nb < 0 || na < 0 || mb > matrix_rows || nb > matrix_cols || static_cast<std::size_t>(na) > vector_size) {
        err_mathgen = true;
        err_mathgen_mess = " " + name + ": Error in dimension of input matrix or vector";
        return;
    }
    const std::int32_t side = factor * (std::max(mb, nb) + 1);
    Matrix<double> x(side, side, 0.0);
    bool row_case;
    if (na == nb) {
        row_case = true;
        if (factor * (mb + 1) > factor * na) return;
    } else if (na == mb) {
        row_case = false;
        if (factor * (nb + 1) > factor * na) return;
    } else {
        err_mathgen = true;
        err_mathgen_mess = " " + name + ": input dimension of vector incompatible with matrix";
        return;
    }
    fill(x, row_case);
    std::int32_t r = 0;
    rank_dp(x, 1.0e-6, r);
    const std::int32_t full = row_case ? std::min(factor * (mb + 1), factor * nb) : std::min(factor * (nb + 1), factor * mb);
    if (r == full) dependent = false;
}

template <class V, class M>
void real_dependence(std::span<const V> vector, std::int32_t na, MatrixView<M> matrix, std::int32_t mb, std::int32_t nb,
                     bool& dependent, const std::string& name) {
    dependence_test(na, vector.size(), mb, nb, matrix.rows, matrix.cols, 1, dependent, name,
                    [&](Matrix<double>& x, bool row_case) {
                        for (std::int32_t i = 1; i <= mb; ++i)
                            for (std::int32_t j = 1; j <= nb; ++j) x.at1(i, j) = static_cast<double>(matrix.at1(i, j));
                        for (std::int32_t k = 1; k <= na; ++k) {
                            const double c = static_cast<double>(vector[static_cast<std::size_t>(k - 1)]);
                            if (row_case) {
                                x.at1(mb + 1, k) = c;
                            } else {
                                x.at1(k, nb + 1) = c;
                            }
                        }
                    });
}

}  // namespace

void svdcmp_dp(Matrix<double>& a, std::span<double> w, Matrix<double>& v) {
    golub_reinsch(a, w, v, " => Physical dimensions of arguments in SVDcmp_dp are not compatible ",
                  " => SVDcmp_dp: convergence not reached ! ");
}

void svdcmp_sp(Matrix<float>& a, std::span<float> w, Matrix<float>& v) {
    golub_reinsch(a, w, v, " => Physical dimensions of arguments in SVDcmp_sp are not compatible ",
                  " => SVDcmp_sp: convergence not reached ! ");
}

void rank_dp(MatrixView<double> a, double tol, std::int32_t& rank) {
    rank_by_svd(a, tol, rank, " => Physical dimensions of arguments in SVDcmp_dp are not compatible ",
                " => SVDcmp_dp: convergence not reached ! ");
}

void rank_sp(MatrixView<float> a, float tol, std::int32_t& rank) {
    rank_by_svd(a, tol, rank, " => Physical dimensions of arguments in SVDcmp_sp are not compatible ",
                " => SVDcmp_sp: convergence not reached ! ");
}

void linear_dependentr(std::span<const float> vector, std::int32_t vector_length, MatrixView<float> matrix,
                       std::int32_t rows, std::int32_t columns, bool& dependent) {
    real_dependence(vector, vector_length, matrix, rows, columns, dependent, "Linear_DependentR");
}

void linear_dependenti(std::span<const std::int32_t> vector, std::int32_t vector_length,
                       MatrixView<std::int32_t> matrix, std::int32_t rows, std::int32_t columns, bool& dependent) {
    real_dependence(vector, vector_length, matrix, rows, columns, dependent, "Linear_DependentI");
}

void linear_dependentc(std::span<const std::complex<float>> vector, std::int32_t vector_length,
                       MatrixView<std::complex<float>> matrix, std::int32_t rows, std::int32_t columns,
                       bool& dependent) {
    const std::int32_t na = vector_length, mb = rows, nb = columns;
    dependence_test(na, vector.size(), mb, nb, matrix.rows, matrix.cols, 2, dependent, "Linear_DependentC",
                    [&](Matrix<double>& x, bool row_case) {
                        for (std::int32_t i = 1; i <= mb; ++i)
                            for (std::int32_t j = 1; j <= nb; ++j) {
                                const double p = static_cast<double>(matrix.at1(i, j).real());
                                const double q = static_cast<double>(matrix.at1(i, j).imag());
                                if (row_case) {  // rows [P, Q] over [-Q, P]
                                    x.at1(i, j) = p;
                                    x.at1(i, nb + j) = q;
                                    x.at1(mb + i, j) = -q;
                                    x.at1(mb + i, nb + j) = p;
                                } else {  // columns [P; Q] beside [-Q; P]
                                    x.at1(i, j) = p;
                                    x.at1(mb + i, j) = q;
                                    x.at1(i, nb + j) = -q;
                                    x.at1(mb + i, nb + j) = p;
                                }
                            }
                        for (std::int32_t k = 1; k <= na; ++k) {
                            const double p = static_cast<double>(vector[static_cast<std::size_t>(k - 1)].real());
                            const double q = static_cast<double>(vector[static_cast<std::size_t>(k - 1)].imag());
                            if (row_case) {
                                x.at1(2 * mb + 1, k) = p;
                                x.at1(2 * mb + 1, nb + k) = q;
                                x.at1(2 * mb + 2, k) = -q;
                                x.at1(2 * mb + 2, nb + k) = p;
                            } else {
                                x.at1(k, 2 * nb + 1) = p;
                                x.at1(mb + k, 2 * nb + 1) = q;
                                x.at1(k, 2 * nb + 2) = -q;
                                x.at1(mb + k, 2 * nb + 2) = p;
                            }
                        }
                    });
}

}  // namespace vorn_math_general
