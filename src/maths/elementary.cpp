// Elementary functions: trigonometry in degrees (used for cell angles and
// rotations), the quadrant-correct angle of a point, overflow-safe
// hypotenuse and Euclidean norm, and Bessel functions of the first kind.
#include <cmath>
#include <limits>

#include "maths/math_gen.hpp"

namespace vorn_math_general {

namespace {

constexpr double to_deg = 57.29577951308232;
constexpr double to_rad = 0.017453292519943295;
constexpr double half_pi = 1.5707963267948966;
constexpr double pi = 3.141592653589793;
constexpr float small_value = 1.0e-5f;  // the origin test of the angle functions

// Inverse degree functions: arc-cosine and arc-sine have fixed answers
// outside [-1, 1]; the _sp members evaluate the inverse in float, multiply
// by the double constant and round once.
template <class T>
T acos_deg(T x) {
    if (std::fabs(x) <= T(1)) return static_cast<T>(static_cast<double>(std::acos(x)) * to_deg);
    return x > T(0) ? T(0) : T(180);
}
template <class T>
T asin_deg(T x) {
    if (std::fabs(x) <= T(1)) return static_cast<T>(static_cast<double>(std::asin(x)) * to_deg);
    return x > T(0) ? T(90) : T(-90);
}

template <class T>
void angle_of_point(T y, T x, T& angle, bool degrees) {
    const T small = static_cast<T>(small_value);
    const T ax = std::fabs(x);
    const T ay = std::fabs(y);
    if (ax < small && ay < small) {
        angle = T(0);
        return;
    }
    if (ax < small) {
        angle = static_cast<T>(half_pi);
    } else if (ax > ay) {
        angle = std::atan(ay / ax);
        if (x < T(0)) angle = static_cast<T>(pi) - angle;
    } else {
        angle = static_cast<T>(half_pi) - std::atan(ax / ay);
        if (x < T(0)) angle = static_cast<T>(pi) - angle;
    }
    if (y < T(0)) angle = -angle;
    if (degrees) angle = static_cast<T>(static_cast<double>(angle) * to_deg);
}

template <class T>
T hypotenuse(T a, T b) {
    const T p = std::fabs(a);
    const T q = std::fabs(b);
    if (p > q) {
        const T ratio = q / p;
        return p * std::sqrt(T(1) + ratio * ratio);
    }
    if (q < std::numeric_limits<T>::min()) return T(0);
    const T ratio = p / q;
    return q * std::sqrt(T(1) + ratio * ratio);
}

double horner(const double* c, int count, double y) {
    double s = c[count - 1];
    for (int k = count - 2; k >= 0; --k) s = s * y + c[k];
    return s;
}

constexpr double r0[] = {57568490574.0, -13362590354.0, 651619640.7, -11214424.18, 77392.33017, -184.9052456};
constexpr double s0[] = {57568490411.0, 1029532985.0, 9494680.718, 59272.64853, 267.8532712, 1.0};
constexpr double p0[] = {1.0, -0.1098628627e-2, 0.2734510407e-4, -0.2073370639e-5, 0.2093887211e-6};
constexpr double q0[] = {-0.1562499995e-1, 0.1430488765e-3, -0.6911147651e-5, 0.7621095161e-6, -0.934945152e-7};
constexpr double r1[] = {72362614232.0, -7895059235.0, 242396853.1, -2972611.439, 15704.4826, -30.16036606};
constexpr double s1[] = {144725228442.0, 2300535178.0, 18583304.74, 99447.43394, 376.9991397, 1.0};
constexpr double p1[] = {1.0, 0.183105e-2, -0.3516396496e-4, 0.2457520174e-5, -0.240337019e-6};
constexpr double q1[] = {0.04687499995, -0.2002690873e-3, 0.8449199096e-5, -0.88228987e-6, 0.105787412e-6};

}  // namespace

double acosd_dp(double x) { return acos_deg(x); }
float acosd_sp(float x) { return acos_deg(x); }
double asind_dp(double x) { return asin_deg(x); }
float asind_sp(float x) { return asin_deg(x); }
double atan2d_dp(double y, double x) { return std::atan2(y, x) * to_deg; }
float atan2d_sp(float y, float x) { return static_cast<float>(static_cast<double>(std::atan2(y, x)) * to_deg); }
double atand_dp(double x) { return std::atan(x) * to_deg; }
float atand_sp(float x) { return static_cast<float>(static_cast<double>(std::atan(x)) * to_deg); }
double cosd_dp(double x) { return std::cos(x * to_rad); }
float cosd_sp(float x) { return static_cast<float>(std::cos(static_cast<double>(x) * to_rad)); }
double sind_dp(double x) { return std::sin(x * to_rad); }
float sind_sp(float x) { return static_cast<float>(std::sin(static_cast<double>(x) * to_rad)); }
double tand_dp(double x) { return std::tan(x * to_rad); }
float tand_sp(float x) { return static_cast<float>(std::tan(static_cast<double>(x) * to_rad)); }

void rtan_dp(double y, double x, double& angle, bool degrees) { angle_of_point(y, x, angle, degrees); }
void rtan_sp(float y, float x, float& angle, bool degrees) { angle_of_point(y, x, angle, degrees); }

double pythag_dp(double a, double b) { return hypotenuse(a, b); }
float pythag_sp(float a, float b) { return hypotenuse(a, b); }

float euclidean_norm(std::int32_t n, std::span<const float> x) {
    if (n < 1) return 0.0f;
    if (static_cast<std::size_t>(n) > x.size()) n = static_cast<std::int32_t>(x.size());
    const float rdwarf = 3.834e-20f;
    const float rgiant = 1.304e19f;
    const float agiant = rgiant / static_cast<float>(n);
    float s1 = 0.0f, s2 = 0.0f, s3 = 0.0f, x1max = 0.0f, x3max = 0.0f;
    for (std::int32_t i = 0; i < n; ++i) {
        const float t = std::fabs(x[static_cast<std::size_t>(i)]);
        if (t > rdwarf && t < agiant) {
            s2 = s2 + t * t;
        } else if (t <= rdwarf) {
            if (t > x3max) {
                const float ratio = x3max / t;
                s3 = 1.0f + s3 * (ratio * ratio);
                x3max = t;
            } else if (t != 0.0f) {
                const float ratio = t / x3max;
                s3 = s3 + ratio * ratio;
            }
        } else {
            if (t > x1max) {
                const float ratio = x1max / t;
                s1 = 1.0f + s1 * (ratio * ratio);
                x1max = t;
            } else {
                const float ratio = t / x1max;
                s1 = s1 + ratio * ratio;
            }
        }
    }
    if (s1 != 0.0f) return x1max * std::sqrt(s1 + (s2 / x1max) / x1max);
    if (s2 != 0.0f) {
        if (s2 >= x3max) return std::sqrt(s2 * (1.0f + (x3max / s2) * (x3max * s3)));
        return std::sqrt(x3max * ((s2 / x3max) + (x3max * s3)));
    }
    return x3max * std::sqrt(s3);
}

float bessj0(float x) {
    if (std::fabs(x) < small_value) return 1.0f;
    if (std::fabs(x) < 8.0f) {
        const double y = static_cast<double>(x) * static_cast<double>(x);
        return static_cast<float>(horner(r0, 6, y) / horner(s0, 6, y));
    }
    const double a = std::fabs(static_cast<double>(x));
    const double z = 8.0 / a;
    const double y = z * z;
    const float shifted = static_cast<float>(a - static_cast<double>(0.78539819f));
    return static_cast<float>(std::sqrt(static_cast<double>(0.63661975f) / a) *
                              (static_cast<double>(std::cos(shifted)) * horner(p0, 5, y) -
                               z * static_cast<double>(std::sin(shifted)) * horner(q0, 5, y)));
}

float bessj1(float x) {
    if (std::fabs(x) < small_value) return 0.0f;
    if (std::fabs(x) < 8.0f) {
        const double y = static_cast<double>(x) * static_cast<double>(x);
        return static_cast<float>(static_cast<double>(x) * horner(r1, 6, y) / horner(s1, 6, y));
    }
    const double a = std::fabs(static_cast<double>(x));
    const double z = 8.0 / a;
    const double y = z * z;
    const float shifted = static_cast<float>(a - static_cast<double>(2.3561945f));
    const double v = std::sqrt(static_cast<double>(0.63661975f) / a) *
                     (static_cast<double>(std::cos(shifted)) * horner(p1, 5, y) -
                      z * static_cast<double>(std::sin(shifted)) * horner(q1, 5, y));
    return static_cast<float>(x < 0.0f ? -v : v);
}

float bessj(std::int32_t n, float x) {
    if (n == 0) return bessj0(x);
    if (n == 1) return bessj1(x);
    const float a = std::fabs(x);
    if (a == 0.0f) return 0.0f;
    float value;
    const float t = 2.0f / a;
    if (a > static_cast<float>(n)) {
        // Upward recurrence is stable above the order.
        float jm = bessj0(a);
        float j = bessj1(a);
        for (std::int32_t k = 1; k < n; ++k) {
            const float jp = static_cast<float>(k) * t * j - jm;
            jm = j;
            j = jp;
        }
        value = j;
    } else {
        // Miller's downward recurrence, normalised by J0 + 2 J2 + 2 J4 + ... = 1.
        // The start index lies above the order by about sqrt(40 n), so for an
        // order near 2^31 it no longer fits 32 bits: it and the running index
        // are held in 64 bits.
        const std::int64_t root = static_cast<std::int64_t>(std::sqrt(40.0f * static_cast<float>(n)));
        const std::int64_t m = 2 * ((static_cast<std::int64_t>(n) + root) / 2);
        float r = 0.0f, sum = 0.0f, jp = 0.0f, j = 1.0f;
        bool flag = false;
        for (std::int64_t k = m; k >= 1; --k) {
            const float jm = static_cast<float>(k) * t * j - jp;
            jp = j;
            j = jm;
            if (std::fabs(j) > 1.0e10f) {
                j *= 1.0e-10f;
                jp *= 1.0e-10f;
                r *= 1.0e-10f;
                sum *= 1.0e-10f;
            }
            if (flag) sum += j;
            flag = !flag;
            if (k == n) r = jp;
        }
        sum = 2.0f * sum - j;
        value = r / sum;
    }
    if (x < 0.0f && (n % 2 != 0)) value = -value;
    return value;
}

}  // namespace vorn_math_general
