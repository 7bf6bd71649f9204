// Dense linear algebra on 32-bit real matrices: LU decomposition with
// row-scaled partial pivoting, substitution, inversion through the factors,
// determinants of real and complex matrices, and Gauss-Jordan inversion in
// place with full pivoting.
#include <algorithm>
#include <cmath>
#include <utility>

#include "maths/math_gen.hpp"

namespace vorn_math_general {

namespace {

constexpr float tiny_pivot = 1.0e-20f;         // singular row scale or pivot
constexpr float tiny_determinant = 1.0e-30f;   // inverse refused below this

// Determinant from LU factors: the sign from the parity and the diagonal,
// the magnitude as exp of the sum of ln|u(i,i)| (float throughout).
float determinant_from_factors(const Matrix<float>& w, float parity) {
    float sum = 0.0f;
    for (std::int32_t i = 1; i <= w.rows; ++i) {
        const float u = w.at1(i, i);
        if (u < 0.0f) parity = -parity;
        sum += std::log(std::fabs(u));
    }
    return std::exp(sum) * parity;
}

}  // namespace

void lu_decomp(Matrix<float>& a, float& parity, bool& singular, std::vector<std::int32_t>* pivots) {
    parity = 1.0f;
    singular = false;
    const std::int32_t n = a.rows;
    if (a.cols < n) {  // not square: outside the contract, refused without reading past the rows
        singular = true;
        return;
    }
    if (pivots != nullptr) pivots->resize(static_cast<std::size_t>(n), 0);
    std::vector<float> scale(static_cast<std::size_t>(n));
    for (std::int32_t i = 1; i <= n; ++i) {
        float s = 0.0f;
        for (std::int32_t j = 1; j <= a.cols; ++j) s = std::fmax(s, std::fabs(a.at1(i, j)));
        scale[static_cast<std::size_t>(i - 1)] = s;
    }
    for (float s : scale)
        if (s <= tiny_pivot) {
            singular = true;
            return;
        }
    for (float& s : scale) s = 1.0f / s;

    std::vector<float> weighted;
    for (std::int32_t j = 1; j <= n; ++j) {
        weighted.assign(static_cast<std::size_t>(n - j + 1), 0.0f);
        for (std::int32_t i = j; i <= n; ++i)
            weighted[static_cast<std::size_t>(i - j)] = scale[static_cast<std::size_t>(i - 1)] * std::fabs(a.at1(i, j));
        const std::int32_t imax = j - 1 + imaxloc_r(weighted);
        if (imax != j) {
            swap_rv(std::span<float>(&a.at1(imax, 1), static_cast<std::size_t>(a.cols)),
                    std::span<float>(&a.at1(j, 1), static_cast<std::size_t>(a.cols)));
            parity = -parity;
            scale[static_cast<std::size_t>(imax - 1)] = scale[static_cast<std::size_t>(j - 1)];
        }
        if (pivots != nullptr) (*pivots)[static_cast<std::size_t>(j - 1)] = imax;
        if (std::fabs(a.at1(j, j)) <= tiny_pivot) {
            a.at1(j, j) = tiny_pivot;
            singular = true;
            return;
        }
        for (std::int32_t i = j + 1; i <= n; ++i) a.at1(i, j) /= a.at1(j, j);
        for (std::int32_t i = j + 1; i <= n; ++i)
            for (std::int32_t k = j + 1; k <= n; ++k) a.at1(i, k) -= a.at1(i, j) * a.at1(j, k);
    }
}

void lu_backsub(const Matrix<float>& a, std::span<const std::int32_t> pivots, std::span<float> b) {
    const std::int32_t n = a.rows;
    if (n < 1 || a.cols < n || pivots.size() < static_cast<std::size_t>(n) || b.size() < static_cast<std::size_t>(n))
        return;
    for (std::int32_t i = 0; i < n; ++i)
        if (pivots[static_cast<std::size_t>(i)] < 1 || pivots[static_cast<std::size_t>(i)] > n) return;
    auto bb = [&](std::int32_t i) -> float& { return b[static_cast<std::size_t>(i - 1)]; };
    std::int32_t ii = 0;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::int32_t r = pivots[static_cast<std::size_t>(i - 1)];
        float sum = bb(r);
        bb(r) = bb(i);
        if (ii != 0) {
            for (std::int32_t j = ii; j <= i - 1; ++j) sum -= a.at1(i, j) * bb(j);
        } else if (sum != 0.0f) {
            ii = i;
        }
        bb(i) = sum;
    }
    for (std::int32_t i = n; i >= 1; --i) {
        float sum = bb(i);
        for (std::int32_t j = i + 1; j <= n; ++j) sum -= a.at1(i, j) * bb(j);
        bb(i) = sum / a.at1(i, i);
    }
}

void matinv(Matrix<float>& a, std::int32_t n) {
    if (n < 1 || n > a.rows || n > a.cols) return;
    std::vector<std::int32_t> pivot_row(static_cast<std::size_t>(n) + 1, 0);
    std::vector<std::int32_t> pivot_col(static_cast<std::size_t>(n) + 1, 0);
    for (std::int32_t k = 1; k <= n; ++k) {
        float amax = 0.0f;
        for (std::int32_t i = k; i <= n; ++i)
            for (std::int32_t j = k; j <= n; ++j)
                if (!(std::fabs(amax) - std::fabs(a.at1(i, j)) > 0.0f)) {
                    amax = a.at1(i, j);
                    pivot_row[static_cast<std::size_t>(k)] = i;
                    pivot_col[static_cast<std::size_t>(k)] = j;
                }
        const std::int32_t pr = pivot_row[static_cast<std::size_t>(k)];
        if (pr > k)
            for (std::int32_t j = 1; j <= n; ++j) {
                const float t = a.at1(k, j);
                a.at1(k, j) = a.at1(pr, j);
                a.at1(pr, j) = -t;
            }
        const std::int32_t pc = pivot_col[static_cast<std::size_t>(k)];
        if (pc > k)
            for (std::int32_t i = 1; i <= n; ++i) {
                const float t = a.at1(i, k);
                a.at1(i, k) = a.at1(i, pc);
                a.at1(i, pc) = -t;
            }
        for (std::int32_t i = 1; i <= n; ++i)
            if (i != k) a.at1(i, k) = -a.at1(i, k) / amax;
        for (std::int32_t i = 1; i <= n; ++i)
            for (std::int32_t j = 1; j <= n; ++j)
                if (i != k && j != k) a.at1(i, j) = a.at1(i, j) + a.at1(i, k) * a.at1(k, j);
        for (std::int32_t j = 1; j <= n; ++j)
            if (j != k) a.at1(k, j) = a.at1(k, j) / amax;
        a.at1(k, k) = 1.0f / amax;
    }
    for (std::int32_t k = n; k >= 1; --k) {
        const std::int32_t j = pivot_row[static_cast<std::size_t>(k)];
        if (j > k)
            for (std::int32_t i = 1; i <= n; ++i) {
                const float t = a.at1(i, k);
                a.at1(i, k) = -a.at1(i, j);
                a.at1(i, j) = t;
            }
        const std::int32_t i = pivot_col[static_cast<std::size_t>(k)];
        if (i > k)
            for (std::int32_t jj = 1; jj <= n; ++jj) {
                const float t = a.at1(k, jj);
                a.at1(k, jj) = -a.at1(i, jj);
                a.at1(i, jj) = t;
            }
    }
}

void invert_matrix(const Matrix<float>& a, Matrix<float>& inverse, bool& singular,
                   std::vector<std::int32_t>* permutation) {
    Matrix<float> w = a;
    const std::int32_t n = a.rows;
    // The pivot record is filled (no interchange) before the decomposition,
    // so a record copied after an early stop holds defined values.
    std::vector<std::int32_t> record(static_cast<std::size_t>(n < 0 ? 0 : n));
    for (std::int32_t j = 1; j <= n; ++j) record[static_cast<std::size_t>(j - 1)] = j;
    std::vector<std::int32_t> decomposed;
    float parity = 1.0f;
    lu_decomp(w, parity, singular, &decomposed);
    for (std::size_t j = 0; j < decomposed.size() && j < record.size(); ++j)
        if (decomposed[j] != 0) record[j] = decomposed[j];
    if (permutation != nullptr) *permutation = record;
    if (singular) {
        inverse = w;
        return;
    }
    const float det = determinant_from_factors(w, parity);
    if (std::fabs(det) <= tiny_determinant) {
        singular = true;
        inverse = w;
        return;
    }
    inverse = Matrix<float>(n, n, 0.0f);
    std::vector<float> column(static_cast<std::size_t>(n));
    for (std::int32_t i = 1; i <= n; ++i) {
        std::fill(column.begin(), column.end(), 0.0f);
        column[static_cast<std::size_t>(i - 1)] = 1.0f;
        lu_backsub(w, record, column);
        for (std::int32_t k = 1; k <= n; ++k) inverse.at1(k, i) = column[static_cast<std::size_t>(k - 1)];
    }
}

void determinant_r(MatrixView<float> a, std::int32_t n, float& determinant) {
    if (n > a.rows || n > a.cols) {  // beyond the matrix: outside the contract
        determinant = 0.0f;
        return;
    }
    const std::int32_t m = n < 0 ? 0 : n;
    Matrix<float> w(m, m);
    for (std::int32_t i = 1; i <= m; ++i)
        for (std::int32_t j = 1; j <= m; ++j) w.at1(i, j) = a.at1(i, j);
    float parity = 1.0f;
    bool singular = false;
    lu_decomp(w, parity, singular, nullptr);
    determinant = singular ? 0.0f : determinant_from_factors(w, parity);
}

void determinant_c(MatrixView<std::complex<float>> a, std::int32_t n, float& determinant) {
    if (n > a.rows || n > a.cols) {
        determinant = 0.0f;
        return;
    }
    const std::int32_t m = n < 0 ? 0 : n;
    // Each complex element x+iy becomes the real 2x2 pattern (x, -y; y, x)
    // spread over four blocks; the real determinant is |det|^2.
    Matrix<float> w(2 * m, 2 * m);
    for (std::int32_t i = 1; i <= m; ++i)
        for (std::int32_t j = 1; j <= m; ++j) {
            const std::complex<float> z = a.at1(i, j);
            w.at1(i, j) = z.real();
            w.at1(m + i, j) = z.imag();
            w.at1(m + i, m + j) = z.real();
            w.at1(i, m + j) = -z.imag();
        }
    float parity = 1.0f;
    bool singular = false;
    lu_decomp(w, parity, singular, nullptr);
    determinant = singular ? 0.0f : determinant_from_factors(w, parity);
}

}  // namespace vorn_math_general
