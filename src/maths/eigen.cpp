// Eigen-decomposition of real symmetric and complex Hermitian matrices
// (e.g. metric tensors, displacement tensors): Householder reduction to
// tridiagonal form, QL iteration with implicit shifts, and a sort into
// decreasing eigenvalues.  A Hermitian matrix of order n is solved as the
// real symmetric matrix of order 2n, (R, -S; S, R).
#include <algorithm>
#include <cmath>
#include <utility>

#include "maths/math_gen.hpp"

namespace vorn_math_general {

namespace {

constexpr float negligible = 1.0e-12f;  // threshold of the kernels, not epss
constexpr std::int32_t max_iterations = 40;

// |x| with the sign bit of y (a negative zero counts as negative).
float sign_of(float x, float y) { return std::copysign(std::fabs(x), y); }

bool vectors_hold(std::span<float> d, std::span<float> e, std::int32_t n) {
    return n >= 1 && d.size() >= static_cast<std::size_t>(n) && e.size() >= static_cast<std::size_t>(n);
}

void householder(Matrix<float>& a, std::int32_t n, std::span<float> d, std::span<float> e, bool vectors) {
    if (!vectors_hold(d, e, n) || a.rows < n || a.cols < n) return;
    auto D = [&](std::int32_t i) -> float& { return d[static_cast<std::size_t>(i - 1)]; };
    auto E = [&](std::int32_t i) -> float& { return e[static_cast<std::size_t>(i - 1)]; };
    for (std::int32_t i = n; i >= 2; --i) {
        const std::int32_t l = i - 1;
        float h = 0.0f;
        if (l > 1) {
            float scale = 0.0f;
            for (std::int32_t k = 1; k <= l; ++k) scale += std::fabs(a.at1(i, k));
            if (scale <= negligible) {
                E(i) = a.at1(i, l);
            } else {
                for (std::int32_t k = 1; k <= l; ++k) {
                    a.at1(i, k) = a.at1(i, k) / scale;
                    h += a.at1(i, k) * a.at1(i, k);
                }
                float f = a.at1(i, l);
                float g = -sign_of(std::sqrt(h), f);
                E(i) = scale * g;
                h = h - f * g;
                a.at1(i, l) = f - g;
                f = 0.0f;
                for (std::int32_t j = 1; j <= l; ++j) {
                    if (vectors) a.at1(j, i) = a.at1(i, j) / h;
                    g = 0.0f;
                    for (std::int32_t k = 1; k <= j; ++k) g += a.at1(j, k) * a.at1(i, k);
                    for (std::int32_t k = j + 1; k <= l; ++k) g += a.at1(k, j) * a.at1(i, k);
                    E(j) = g / h;
                    f += E(j) * a.at1(i, j);
                }
                const float hh = f / (h + h);
                for (std::int32_t j = 1; j <= l; ++j) {
                    f = a.at1(i, j);
                    g = E(j) - hh * f;
                    E(j) = g;
                    for (std::int32_t k = 1; k <= j; ++k) a.at1(j, k) = a.at1(j, k) - f * E(k) - g * a.at1(i, k);
                }
            }
        } else {
            E(i) = a.at1(i, l);
        }
        D(i) = h;
    }
    if (!vectors) {
        E(1) = 0.0f;
        for (std::int32_t i = 1; i <= n; ++i) D(i) = a.at1(i, i);
        return;
    }
    D(1) = 0.0f;
    E(1) = 0.0f;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t l = i - 1;
        if (std::fabs(D(i)) > negligible) {
            for (std::int32_t j = 1; j <= l; ++j) {
                float g = 0.0f;
                for (std::int32_t k = 1; k <= l; ++k) g += a.at1(i, k) * a.at1(k, j);
                for (std::int32_t k = 1; k <= l; ++k) a.at1(k, j) -= g * a.at1(k, i);
            }
        }
        D(i) = a.at1(i, i);
        a.at1(i, i) = 1.0f;
        for (std::int32_t j = 1; j <= l; ++j) {
            a.at1(i, j) = 0.0f;
            a.at1(j, i) = 0.0f;
        }
    }
}

void ql_implicit(std::span<float> d, std::span<float> e, std::int32_t n, Matrix<float>* z, const char* message) {
    init_err_mathgen();
    if (!vectors_hold(d, e, n)) return;
    if (z != nullptr && (z->rows < n || z->cols < n)) return;
    auto D = [&](std::int32_t i) -> float& { return d[static_cast<std::size_t>(i - 1)]; };
    auto E = [&](std::int32_t i) -> float& { return e[static_cast<std::size_t>(i - 1)]; };
    for (std::int32_t i = 2; i <= n; ++i) E(i - 1) = E(i);
    E(n) = 0.0f;
    for (std::int32_t l = 1; l <= n; ++l) {
        std::int32_t iterations = 0;
        for (;;) {
            std::int32_t m = l;
            for (; m <= n - 1; ++m) {
                // Held in double: for ordinary scales the absolute test |e| <= 1e-12.
                const double dd = std::fabs(static_cast<double>(D(m))) + std::fabs(static_cast<double>(D(m + 1)));
                if (std::fabs((std::fabs(static_cast<double>(E(m))) + dd) - dd) <= static_cast<double>(negligible)) break;
            }
            if (m == l) break;
            if (iterations == max_iterations) {
                err_mathgen = true;
                err_mathgen_mess = message;
                break;
            }
            ++iterations;
            float g = (D(l + 1) - D(l)) / (2.0f * E(l));
            float r = std::sqrt(g * g + 1.0f);
            g = D(m) - D(l) + E(l) / (g + sign_of(r, g));
            float s = 1.0f;
            float c = 1.0f;
            float p = 0.0f;
            bool restarted = false;
            for (std::int32_t i = m - 1; i >= l; --i) {
                float f = s * E(i);
                const float b = c * E(i);
                r = std::sqrt(f * f + g * g);
                E(i + 1) = r;
                if (std::fabs(r) <= negligible) {
                    D(i + 1) -= p;
                    E(m) = 0.0f;
                    restarted = true;
                    break;
                }
                s = f / r;
                c = g / r;
                g = D(i + 1) - p;
                r = (D(i) - g) * s + 2.0f * c * b;
                p = s * r;
                D(i + 1) = g + p;
                g = c * r - b;
                if (z != nullptr)
                    for (std::int32_t k = 1; k <= n; ++k) {
                        f = z->at1(k, i + 1);
                        z->at1(k, i + 1) = s * z->at1(k, i) + c * f;
                        z->at1(k, i) = c * z->at1(k, i) - s * f;
                    }
            }
            if (restarted) continue;
            D(l) -= p;
            E(l) = g;
            E(m) = 0.0f;
        }
    }
}

// Shared driver checks: clears eigenvalues and the error pair; false (with
// the message) when n does not fit the matrix or the eigenvalue array.
bool driver_sizes_fit(std::int32_t n, std::int32_t rows, std::int32_t cols, std::span<float> eigenvalues,
                      const char* dimension_message, const char* order_message) {
    std::fill(eigenvalues.begin(), eigenvalues.end(), 0.0f);
    init_err_mathgen();
    if (n > rows || n > cols) {
        err_mathgen = true;
        err_mathgen_mess = dimension_message;
        return false;
    }
    if (n < 1 || eigenvalues.size() < static_cast<std::size_t>(n)) {
        err_mathgen = true;
        err_mathgen_mess = order_message;
        return false;
    }
    return true;
}

}  // namespace

void tred1(Matrix<float>& a, std::int32_t n, std::span<float> d, std::span<float> e) { householder(a, n, d, e, false); }
void tred2(Matrix<float>& a, std::int32_t n, std::span<float> d, std::span<float> e) { householder(a, n, d, e, true); }

void tqli1(std::span<float> d, std::span<float> e, std::int32_t n) {
    ql_implicit(d, e, n, nullptr, " Too many iterations in TQLI1");
}
void tqli2(std::span<float> d, std::span<float> e, std::int32_t n, Matrix<float>& z) {
    ql_implicit(d, e, n, &z, " Too many iterations in TQLI2");
}

void eigsrt(std::span<float> d, Matrix<float>& v, std::int32_t n, std::int32_t vector_mode) {
    if (n <= 1 || d.size() < static_cast<std::size_t>(n)) return;
    const bool move_vectors = vector_mode == 1 && v.rows >= n && v.cols >= n;
    auto D = [&](std::int32_t i) -> float& { return d[static_cast<std::size_t>(i - 1)]; };
    for (std::int32_t i = 1; i <= n - 1; ++i) {
        std::int32_t k = i;
        float p = D(i);
        // ">=": among equal values the last is taken, so equal eigenvalues
        // change places along with their vectors.
        for (std::int32_t j = i + 1; j <= n; ++j)
            if (D(j) >= p) {
                k = j;
                p = D(j);
            }
        if (k != i) {
            D(k) = D(i);
            D(i) = p;
            if (move_vectors)
                for (std::int32_t r = 1; r <= n; ++r) std::swap(v.at1(r, i), v.at1(r, k));
        }
    }
}

void diagonalize_symm(MatrixView<float> a, std::int32_t n, std::span<float> eigenvalues, Matrix<float>* eigenvectors) {
    if (!driver_sizes_fit(n, a.rows, a.cols, eigenvalues,
                          " Diagonalize_SYMM: Error in dimension of input matrix: A(m,m) with m < n ",
                          " Diagonalize_SYMM: Order n < 1 or eigenvalue array shorter than n "))
        return;
    Matrix<float> w(n, n);
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j) w.at1(i, j) = a.at1(i, j);
    std::vector<float> sub(static_cast<std::size_t>(n));
    if (eigenvectors == nullptr) {
        tred1(w, n, eigenvalues, sub);
        tqli1(eigenvalues, sub, n);
        eigsrt(eigenvalues, w, n, 0);
        return;
    }
    tred2(w, n, eigenvalues, sub);
    tqli2(eigenvalues, sub, n, w);
    eigsrt(eigenvalues, w, n, 1);
    *eigenvectors = w;
}

void diagonalize_herm(MatrixView<std::complex<float>> a, std::int32_t n, std::span<float> eigenvalues,
                      Matrix<std::complex<float>>* eigenvectors) {
    if (!driver_sizes_fit(n, a.rows, a.cols, eigenvalues,
                          " Diagonalize_HERM: Error in dimension of input matrix: A(m,m) with m < n ",
                          " Diagonalize_HERM: Order n < 1 or eigenvalue array shorter than n "))
        return;
    const std::int32_t n2 = 2 * n;
    Matrix<float> w(n2, n2);
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j) {
            const std::complex<float> x = a.at1(i, j);
            w.at1(i, j) = x.real();
            w.at1(n + i, n + j) = x.real();
            w.at1(n + i, j) = x.imag();
            w.at1(i, n + j) = -x.imag();
        }
    std::vector<float> lambda(static_cast<std::size_t>(n2));
    std::vector<float> sub(static_cast<std::size_t>(n2));
    if (eigenvectors == nullptr) {
        tred1(w, n2, lambda, sub);
        tqli1(lambda, sub, n2);
        eigsrt(lambda, w, n2, 0);
    } else {
        tred2(w, n2, lambda, sub);
        tqli2(lambda, sub, n2, w);
        eigsrt(lambda, w, n2, 1);
        *eigenvectors = Matrix<std::complex<float>>(n, n);
        for (std::int32_t j = 1; j <= n; ++j)
            for (std::int32_t i = 1; i <= n; ++i)
                eigenvectors->at1(i, j) = {w.at1(i, 2 * j - 1), w.at1(n + i, 2 * j - 1)};
    }
    // After the decreasing sort each eigenvalue stands twice in a row.
    for (std::int32_t i = 1; i <= n; ++i)
        eigenvalues[static_cast<std::size_t>(i - 1)] = lambda[static_cast<std::size_t>(2 * i - 2)];
}

}  // namespace vorn_math_general
