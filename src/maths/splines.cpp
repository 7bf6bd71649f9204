// Tabulated functions of one variable (e.g. scattering factors against
// sin(theta)/lambda): the cubic interpolating spline, its evaluation and
// first derivatives, seven-point binomial smoothing, and equally spaced
// points on a segment in the plane.
#include <algorithm>
#include <cmath>

#include "maths/math_gen.hpp"

namespace vorn_math_general {

namespace {

constexpr float natural_end = 1.0e30f;  // an end slope above this: zero second derivative
constexpr float tolerance_2d = 1.0e-4f;

// The spline procedures need n >= 2 knots and arrays of at least n entries.
bool table_fits(std::int32_t n, std::initializer_list<std::size_t> sizes, const char* who) {
    bool fits = n >= 2;
    for (std::size_t s : sizes) fits = fits && s >= static_cast<std::size_t>(n);
    if (!fits) {
        err_mathgen = true;
        err_mathgen_mess = std::string(" ") + who + ": fewer than 2 knots or arrays shorter than n";
    }
    return fits;
}

}  // namespace

void spline(std::span<const float> x, std::span<const float> y, std::int32_t n, float slope_1, float slope_n,
            std::span<float> second_derivs) {
    if (!table_fits(n, {x.size(), y.size(), second_derivs.size()}, "SPLINE")) return;
    auto X = [&](std::int32_t i) { return x[static_cast<std::size_t>(i - 1)]; };
    auto Y = [&](std::int32_t i) { return y[static_cast<std::size_t>(i - 1)]; };
    auto D2 = [&](std::int32_t i) -> float& { return second_derivs[static_cast<std::size_t>(i - 1)]; };
    std::vector<float> u(static_cast<std::size_t>(n));
    auto U = [&](std::int32_t i) -> float& { return u[static_cast<std::size_t>(i - 1)]; };
    auto slope = [&](std::int32_t i) { return (Y(i + 1) - Y(i)) / (X(i + 1) - X(i)); };

    if (slope_1 > natural_end) {
        D2(1) = 0.0f;
        U(1) = 0.0f;
    } else {
        D2(1) = -0.5f;
        U(1) = (3.0f / (X(2) - X(1))) * (slope(1) - slope_1);
    }
    for (std::int32_t i = 2; i <= n - 1; ++i) {
        const float sig = (X(i) - X(i - 1)) / (X(i + 1) - X(i - 1));
        const float p = sig * D2(i - 1) + 2.0f;
        D2(i) = (sig - 1.0f) / p;
        U(i) = (6.0f * (slope(i) - slope(i - 1)) / (X(i + 1) - X(i - 1)) - sig * U(i - 1)) / p;
    }
    float qn = 0.0f;
    float un = 0.0f;
    if (!(slope_n > natural_end)) {
        qn = 0.5f;
        un = (3.0f / (X(n) - X(n - 1))) * (slope_n - slope(n - 1));
    }
    D2(n) = (un - qn * U(n - 1)) / (qn * D2(n - 1) + 1.0f);
    for (std::int32_t k = n - 1; k >= 1; --k) D2(k) = D2(k) * D2(k + 1) + U(k);
}

void second_derivative(std::span<const float> x, std::span<const float> y, std::int32_t n,
                       std::span<float> second_derivs) {
    if (!table_fits(n, {x.size(), y.size(), second_derivs.size()}, "SECOND_DERIVATIVE")) return;
    // Clamped to the slopes of the first and last intervals.
    const float first = (y[1] - y[0]) / (x[1] - x[0]);
    const std::size_t k = static_cast<std::size_t>(n - 1);
    const float last = (y[k] - y[k - 1]) / (x[k] - x[k - 1]);
    spline(x, y, n, first, last, second_derivs);
}

void splint(std::span<const float> x, std::span<const float> y, std::span<const float> second_derivs, std::int32_t n,
            float x_at, float& y_at) {
    if (!table_fits(n, {x.size(), y.size(), second_derivs.size()}, "SPLINT")) {
        y_at = 0.0f;
        return;
    }
    auto X = [&](std::int32_t i) { return x[static_cast<std::size_t>(i - 1)]; };
    auto Y = [&](std::int32_t i) { return y[static_cast<std::size_t>(i - 1)]; };
    auto D2 = [&](std::int32_t i) { return second_derivs[static_cast<std::size_t>(i - 1)]; };
    std::int32_t klo = 1;
    std::int32_t khi = n;
    while (khi - klo > 1) {
        const std::int32_t k = (khi + klo) / 2;
        if (X(k) > x_at) {
            khi = k;
        } else {
            klo = k;
        }
    }
    const float hh = X(khi) - X(klo);
    const float a = (X(khi) - x_at) / hh;
    const float b = (x_at - X(klo)) / hh;
    y_at = a * Y(klo) + b * Y(khi) +
           ((a * a * a - a) * D2(klo) + (b * b * b - b) * D2(khi)) * (hh * hh) / 6.0f;
}

void first_derivative(std::span<const float> x, std::span<const float> y, std::int32_t n,
                      std::span<const float> second_derivs, std::span<float> first_derivs) {
    if (!table_fits(n, {x.size(), y.size(), second_derivs.size(), first_derivs.size()}, "FIRST_DERIVATIVE")) return;
    for (std::int32_t i = 1; i <= n; ++i) {
        const std::size_t k = static_cast<std::size_t>(i - 1);
        const float step = i < n ? x[k + 1] - x[k] : x[k] - x[k - 1];
        float above = 0.0f;
        float below = 0.0f;
        splint(x, y, second_derivs, n, x[k] + step / 2.0f, above);
        splint(x, y, second_derivs, n, x[k] - step / 2.0f, below);
        first_derivs[k] = (above - below) / step;
    }
}

void smoothingvec(std::span<float> y, std::int32_t n, std::int32_t passes, std::span<float> smoothed) {
    if (passes < 1) return;
    const bool separate = !smoothed.empty();
    if (n < 6 || y.size() < static_cast<std::size_t>(n) ||
        (separate && smoothed.size() < static_cast<std::size_t>(n))) {
        err_mathgen = true;
        err_mathgen_mess = " SMOOTHINGVEC: fewer than 6 values or arrays shorter than n";
        return;
    }
    std::vector<float> v(y.begin(), y.begin() + n);
    std::vector<float> t(static_cast<std::size_t>(n));
    auto V = [&](std::int32_t i) { return v[static_cast<std::size_t>(i - 1)]; };
    auto T = [&](std::int32_t i) -> float& { return t[static_cast<std::size_t>(i - 1)]; };
    for (std::int32_t pass = 1; pass <= passes; ++pass) {
        // Binomial weights 1, 5, 10 on three neighbours at each side; near the
        // ends the missing ones are dropped from the weights and divisor.
        T(1) = (10.0f * V(2) + 5.0f * V(3) + V(4)) / 16.0f;
        T(2) = (10.0f * (V(1) + V(3)) + 5.0f * V(4) + V(5)) / 26.0f;
        T(3) = (10.0f * (V(2) + V(4)) + 5.0f * (V(1) + V(5)) + V(6)) / 31.0f;
        for (std::int32_t i = 4; i <= n - 3; ++i)
            T(i) = (V(i - 3) + V(i + 3) + 5.0f * (V(i - 2) + V(i + 2)) + 10.0f * (V(i - 1) + V(i + 1))) / 32.0f;
        T(n - 2) = (10.0f * (V(n - 3) + V(n - 1)) + 5.0f * (V(n - 4) + V(n)) + V(n - 5)) / 31.0f;
        T(n - 1) = (10.0f * (V(n - 2) + V(n)) + 5.0f * V(n - 3) + V(n - 4)) / 26.0f;
        T(n) = (10.0f * V(n - 1) + 5.0f * V(n - 2) + V(n - 3)) / 16.0f;
        v = t;
    }
    std::span<float> target = separate ? smoothed : y;
    std::copy(v.begin(), v.end(), target.begin());
}

void points_in_line2d(std::span<const float, 2> start_point, std::span<const float, 2> end_point, std::int32_t n,
                      Matrix<float>& points) {
    points = Matrix<float>(2, n < 0 ? 0 : n, 0.0f);
    if (n < 2) return;
    const float s1 = start_point[0], s2 = start_point[1];
    const float e1 = end_point[0], e2 = end_point[1];
    const float length = std::sqrt((e1 - s1) * (e1 - s1) + (e2 - s2) * (e2 - s2));
    if (length <= tolerance_2d) return;
    points.at1(1, 1) = s1;
    points.at1(2, 1) = s2;
    points.at1(1, n) = e1;
    points.at1(2, n) = e2;
    if (n == 2) return;
    if (std::fabs(e2 - s2) <= tolerance_2d) {  // horizontal
        const float step = std::fabs(e1 - s1) / static_cast<float>(n - 1);
        for (std::int32_t i = 2; i <= n - 1; ++i) {
            points.at1(1, i) = e1 > s1 ? points.at1(1, i - 1) + step : points.at1(1, i - 1) - step;
            points.at1(2, i) = points.at1(2, 1);
        }
    } else if (std::fabs(e1 - s1) <= tolerance_2d) {  // vertical
        const float step = std::fabs(e2 - s2) / static_cast<float>(n - 1);
        for (std::int32_t i = 2; i <= n - 1; ++i) {
            points.at1(1, i) = points.at1(1, 1);
            points.at1(2, i) = e2 > s2 ? points.at1(2, i - 1) + step : points.at1(2, i - 1) - step;
        }
    } else {
        // Start + f (end - start): the point at the fraction f of the length,
        // without the cancellation of the quadratic for the line.
        for (std::int32_t i = 2; i <= n - 1; ++i) {
            const float f = static_cast<float>(i - 1) / static_cast<float>(n - 1);
            points.at1(1, i) = s1 + f * (e1 - s1);
            points.at1(2, i) = s2 + f * (e2 - s2);
        }
    }
}

}  // namespace vorn_math_general
