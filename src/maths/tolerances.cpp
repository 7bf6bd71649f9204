// Tolerance tests, exact comparisons of integer matrices and vectors, traces
// and the reduction of translations into the unit cell: the small tests that
// space-group construction applies to rotation matrices and translations.
#include <cmath>

#include "maths/math_gen.hpp"
#include "text/fortran_int.hpp"

namespace vorn_math_general {

namespace {

// A magnitude passes when it is not greater than epss (so NaN passes).  The
// magnitude is formed in double, so the difference of two floats is exact.
bool within_epss(double magnitude) { return !(magnitude > static_cast<double>(epss)); }

bool real_close(float a, float b) {
    return within_epss(std::fabs(static_cast<double>(a) - static_cast<double>(b)));
}

}  // namespace

bool negligibler(float value) { return within_epss(std::fabs(static_cast<double>(value))); }

bool negligiblec(std::complex<float> value) {
    // In double the squares of 32-bit parts can neither overflow nor underflow.
    return within_epss(std::hypot(static_cast<double>(value.real()), static_cast<double>(value.imag())));
}

bool zbelongn(float value) {
    // A NaN finds no magnitude above epss; every float of magnitude 2^23 or
    // more is an integer, and nint must not be asked for values beyond 32 bits.
    if (std::isnan(value)) return true;
    if (std::fabs(value) >= 8388608.0f) return true;
    const double k = static_cast<double>(vorn_string_utilities::nint(static_cast<double>(value)));
    return within_epss(std::fabs(k - static_cast<double>(value)));
}

bool zbelongv(std::span<const float> v) {
    for (float x : v)
        if (!zbelongn(x)) return false;
    return true;
}

bool zbelongm(MatrixView<float> a) {
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!zbelongn(a.data[k])) return false;
    return true;
}

namespace {

// A size beyond the arrays is answered "not equal" instead of reading past them.
bool vector_size_fits(std::size_t a, std::size_t b, std::int32_t n) {
    return n <= 0 || (static_cast<std::size_t>(n) <= a && static_cast<std::size_t>(n) <= b);
}

template <class T>
bool matrix_size_fits(MatrixView<T> a, MatrixView<T> b, std::int32_t n) {
    return n <= 0 || (n <= a.rows && n <= a.cols && n <= b.rows && n <= b.cols);
}

}  // namespace

bool equal_vector_i(std::span<const std::int32_t> a, std::span<const std::int32_t> b, std::int32_t n) {
    if (!vector_size_fits(a.size(), b.size(), n)) return false;
    for (std::int32_t i = 0; i < n; ++i)
        if (a[static_cast<std::size_t>(i)] != b[static_cast<std::size_t>(i)]) return false;
    return true;
}

bool equal_vector_r(std::span<const float> a, std::span<const float> b, std::int32_t n) {
    if (!vector_size_fits(a.size(), b.size(), n)) return false;
    for (std::int32_t i = 0; i < n; ++i)
        if (!real_close(a[static_cast<std::size_t>(i)], b[static_cast<std::size_t>(i)])) return false;
    return true;
}

bool equal_matrix_i(MatrixView<std::int32_t> a, MatrixView<std::int32_t> b, std::int32_t n) {
    if (!matrix_size_fits(a, b, n)) return false;
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j)
            if (a.at1(i, j) != b.at1(i, j)) return false;
    return true;
}

bool equal_matrix_r(MatrixView<float> a, MatrixView<float> b, std::int32_t n) {
    if (!matrix_size_fits(a, b, n)) return false;
    for (std::int32_t i = 1; i <= n; ++i)
        for (std::int32_t j = 1; j <= n; ++j)
            if (!real_close(a.at1(i, j), b.at1(i, j))) return false;
    return true;
}

namespace {

// limits(1,i) <= point(i) <= limits(2,i), written as two "not below / not
// above" tests so that a NaN component fails.
template <class T>
bool in_limits(std::int32_t n, MatrixView<T> limits, std::span<const T> point) {
    if (n >= 1 && (limits.rows < 2 || n > limits.cols || static_cast<std::size_t>(n) > point.size())) return false;
    for (std::int32_t i = 1; i <= n; ++i) {
        const T p = point[static_cast<std::size_t>(i - 1)];
        if (!(p >= limits.at1(1, i) && limits.at1(2, i) >= p)) return false;
    }
    return true;
}

}  // namespace

bool in_limits_int(std::int32_t n, MatrixView<std::int32_t> limits, std::span<const std::int32_t> point) {
    return in_limits(n, limits, point);
}
bool in_limits_sp(std::int32_t n, MatrixView<float> limits, std::span<const float> point) {
    return in_limits(n, limits, point);
}
bool in_limits_dp(std::int32_t n, MatrixView<double> limits, std::span<const double> point) {
    return in_limits(n, limits, point);
}

std::int32_t trace_i(MatrixView<std::int32_t> a) {
    const std::int32_t m = a.rows < a.cols ? a.rows : a.cols;
    std::int32_t sum = 0;
    for (std::int32_t i = 1; i <= m; ++i) sum = vorn_string_utilities::wrap_add(sum, a.at1(i, i));
    return sum;
}

float trace_r(MatrixView<float> a) {
    const std::int32_t m = a.rows < a.cols ? a.rows : a.cols;
    double sum = 0.0;
    for (std::int32_t i = 1; i <= m; ++i) sum += static_cast<double>(a.at1(i, i));
    return static_cast<float>(sum);
}

std::complex<float> trace_c(MatrixView<std::complex<float>> a) {
    const std::int32_t m = a.rows < a.cols ? a.rows : a.cols;
    double re = 0.0;
    double im = 0.0;
    for (std::int32_t i = 1; i <= m; ++i) {
        re += static_cast<double>(a.at1(i, i).real());
        im += static_cast<double>(a.at1(i, i).imag());
    }
    return {static_cast<float>(re), static_cast<float>(im)};
}

namespace {

// t = u + 10 is rounded to 32 bits first: translations then carry about six
// decimals, and a component within ~4.8e-7 of an integer reduces to 0.
float reduce_into_cell(float u) {
    const float t = u + 10.0f;
    const float r = t - std::trunc(t);
    return r;
}

}  // namespace

std::vector<float> modulo_lat(std::span<const float> u) {
    std::vector<float> r(u.size());
    for (std::size_t i = 0; i < u.size(); ++i) r[i] = reduce_into_cell(u[i]);
    return r;
}

std::array<float, 3> modulo_lat(const std::array<float, 3>& u) {
    return {reduce_into_cell(u[0]), reduce_into_cell(u[1]), reduce_into_cell(u[2])};
}

}  // namespace vorn_math_general
