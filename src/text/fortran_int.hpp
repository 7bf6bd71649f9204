// 32-bit integer semantics of the library: two's-complement wrap-around on
// overflow (done in unsigned arithmetic, since signed overflow is undefined in
// C++) and rounding of reals to the nearest integer with halves away from zero.
#pragma once

#include <cmath>
#include <cstdint>

namespace vorn_string_utilities {

inline std::int32_t wrap_add(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
inline std::int32_t wrap_sub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
inline std::int32_t wrap_mul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}
inline std::int32_t wrap_neg(std::int32_t a) {
    return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(a));
}
// |a| with wrap-around: |INT32_MIN| stays INT32_MIN.
inline std::int32_t wrap_abs(std::int32_t a) { return a < 0 ? wrap_neg(a) : a; }

// True when nint(x) is defined on 32 bits.
inline bool fits_int32(double x) {
    return std::isfinite(x) && x > -2147483648.5 && x < 2147483647.5;
}

// Nearest integer, halves away from zero.  Callers make sure the value fits
// (fits_int32); out of range values saturate, NaN gives 0.
inline std::int32_t nint(double x) {
    if (std::isnan(x)) return 0;
    double r = std::round(x);
    if (r >= 2147483647.0) return 2147483647;
    if (r <= -2147483648.0) return static_cast<std::int32_t>(-2147483647 - 1);
    return static_cast<std::int32_t>(r);
}

// Integer part toward zero (Fortran int()), saturating like nint.
inline std::int32_t int_trunc(double x) {
    if (std::isnan(x)) return 0;
    double r = std::trunc(x);
    if (r >= 2147483647.0) return 2147483647;
    if (r <= -2147483648.0) return static_cast<std::int32_t>(-2147483647 - 1);
    return static_cast<std::int32_t>(r);
}

}  // namespace vorn_string_utilities
