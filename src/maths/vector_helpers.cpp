// Small vector and matrix helpers: exchanges, extreme positions, bisection
// in an ascending table, lengths and scalar products in a metric, and outer
// products (the LU and singular value decompositions build on them).
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "maths/math_gen.hpp"

namespace vorn_math_general {

namespace {

// Failure value of the metric functions: the smallest positive normal float.
constexpr float metric_failure = std::numeric_limits<float>::min();

template <class T>
void swap_whole(std::span<T> a, std::span<T> b) {
    if (a.size() != b.size()) return;
    std::vector<T> temp(a.begin(), a.end());
    std::copy(b.begin(), b.end(), a.begin());
    std::copy(temp.begin(), temp.end(), b.begin());
}

template <class T>
void swap_matrices(Matrix<T>& a, Matrix<T>& b) {
    if (a.rows != b.rows || a.cols != b.cols) return;
    swap_whole(std::span<T>(a.data), std::span<T>(b.data));
}

template <class T, class Less>
std::int32_t first_extreme(std::span<const T> array, Less better) {
    if (array.empty()) return 0;
    std::size_t best = 0;
    for (std::size_t k = 1; k < array.size(); ++k)
        if (better(array[k], array[best])) best = k;
    return static_cast<std::int32_t>(best + 1);
}

template <class T>
std::int32_t bisect(std::span<const T> table, std::int32_t n, T x) {
    if (n < 1 || static_cast<std::size_t>(n) > table.size()) {
        err_mathgen = true;
        err_mathgen_mess = " LOCATE: table size out of range";
        return 0;
    }
    auto at = [&](std::int32_t j) { return table[static_cast<std::size_t>(j - 1)]; };
    if (x <= at(1)) return 1;
    if (x >= at(n)) return n;
    std::int32_t jl = 0;
    std::int32_t ju = n + 1;
    while (ju - jl > 1) {
        const std::int32_t jm = jl + (ju - jl) / 2;
        if (x > at(jm)) {
            jl = jm;
        } else {
            ju = jm;
        }
    }
    return jl;
}

// x . (G y) in float, G given as an n x n matrix by its element count only.
template <class T>
float metric_product(std::span<const T> x, std::span<const T> y, MatrixView<float> g) {
    const std::size_t n = x.size();
    std::vector<float> gy(n, 0.0f);
    for (std::size_t i = 0; i < n; ++i) {
        float s = 0.0f;
        for (std::size_t j = 0; j < n; ++j) s += g.data[i * n + j] * static_cast<float>(y[j]);
        gy[i] = s;
    }
    float dot = 0.0f;
    for (std::size_t i = 0; i < n; ++i) dot += static_cast<float>(x[i]) * gy[i];
    return dot;
}

template <class T>
Matrix<T> outer(std::span<const T> a, std::span<const T> b) {
    Matrix<T> m(static_cast<std::int32_t>(a.size()), static_cast<std::int32_t>(b.size()));
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j) m.data[i * b.size() + j] = a[i] * b[j];
    return m;
}

}  // namespace

void swap_i(std::int32_t& a, std::int32_t& b) { std::swap(a, b); }
void swap_r(float& a, float& b) { std::swap(a, b); }
void swap_c(std::complex<float>& a, std::complex<float>& b) { std::swap(a, b); }
void masked_swap_r(float& a, float& b, bool mask) {
    if (mask) std::swap(a, b);
}

void swap_iv(std::span<std::int32_t> a, std::span<std::int32_t> b) { swap_whole(a, b); }
void swap_rv(std::span<float> a, std::span<float> b) { swap_whole(a, b); }
void swap_cv(std::span<std::complex<float>> a, std::span<std::complex<float>> b) { swap_whole(a, b); }
void swap_im(Matrix<std::int32_t>& a, Matrix<std::int32_t>& b) { swap_matrices(a, b); }
void swap_rm(Matrix<float>& a, Matrix<float>& b) { swap_matrices(a, b); }
void swap_cm(Matrix<std::complex<float>>& a, Matrix<std::complex<float>>& b) { swap_matrices(a, b); }

void masked_swap_rv(std::span<float> a, std::span<float> b, std::span<const bool> mask) {
    if (a.size() != b.size() || mask.size() != a.size()) return;
    const std::vector<bool> copy(mask.begin(), mask.end());
    for (std::size_t k = 0; k < a.size(); ++k)
        if (copy[k]) std::swap(a[k], b[k]);
}

void masked_swap_rm(Matrix<float>& a, Matrix<float>& b, MatrixView<bool> mask) {
    if (a.rows != b.rows || a.cols != b.cols || mask.rows != a.rows || mask.cols != a.cols) return;
    masked_swap_rv(a.data, b.data, std::span<const bool>(mask.data, mask.size()));
}

std::int32_t imaxloc_i(std::span<const std::int32_t> array) {
    return first_extreme(array, [](std::int32_t u, std::int32_t v) { return u > v; });
}
std::int32_t imaxloc_r(std::span<const float> array) {
    return first_extreme(array, [](float u, float v) { return u > v; });
}
std::int32_t iminloc_i(std::span<const std::int32_t> array) {
    return first_extreme(array, [](std::int32_t u, std::int32_t v) { return u < v; });
}
std::int32_t iminloc_r(std::span<const float> array) {
    return first_extreme(array, [](float u, float v) { return u < v; });
}

std::int32_t locate_i(std::span<const std::int32_t> table, std::int32_t n, std::int32_t x) {
    return bisect(table, n, x);
}
std::int32_t locate_r(std::span<const float> table, std::int32_t n, float x) { return bisect(table, n, x); }
std::int32_t locate_ib(std::span<const std::int32_t> table, std::int32_t x) {
    return bisect(table, static_cast<std::int32_t>(table.size()), x);
}
std::int32_t locate_rb(std::span<const float> table, float x) {
    return bisect(table, static_cast<std::int32_t>(table.size()), x);
}

float norm_i(std::span<const std::int32_t> x, MatrixView<float> metric) {
    if (x.size() * x.size() != metric.size()) return metric_failure;
    return std::sqrt(metric_product(x, x, metric));
}
float norm_r(std::span<const float> x, MatrixView<float> metric) {
    if (x.size() * x.size() != metric.size()) return metric_failure;
    return std::sqrt(metric_product(x, x, metric));
}
float scalar_i(std::span<const std::int32_t> x, std::span<const std::int32_t> y, MatrixView<float> metric) {
    if (x.size() != y.size() || x.size() * x.size() != metric.size()) return metric_failure;
    return metric_product(x, y, metric);
}
float scalar_r(std::span<const float> x, std::span<const float> y, MatrixView<float> metric) {
    if (x.size() != y.size() || x.size() * x.size() != metric.size()) return metric_failure;
    return metric_product(x, y, metric);
}

Matrix<float> outerprod_sp(std::span<const float> a, std::span<const float> b) { return outer(a, b); }
Matrix<double> outerprod_dp(std::span<const double> a, std::span<const double> b) { return outer(a, b); }

}  // namespace vorn_math_general
